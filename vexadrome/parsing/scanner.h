// Scanner: cuts an expression text into tokens. Three lexeme matchers run
// side by side over the characters; a token ends where all of them reject the
// next character, and a character that none accepts is a token of its own
// whose kind is its code. The scanner never fails.
#pragma once

#include <cstdint>

#include "nycore/text/string.h"
#include "vexadrome/parsing/lexeme_matchers.h"

namespace Vexadrome::Parsing {

// Token kinds; any other kind is the code of a single character.
namespace TokenKind {
enum : std::int16_t {
    EndOfText = 0,
    WhiteSpace = 1000,
    Number = 1003,
    Name = 1004,
    // A single character whose code is one of the values kept for token kinds
    // and grammar symbols (0 and 1000 to 1013): read as its code it would pass
    // for the end of the text, white space, a number, a name or an operator.
    ReservedCharacter = -2,
};
}

// Symbol classes shared by several token kinds.
namespace SymbolClass {
enum : std::int16_t {
    AddOp = 1010,  // '+' and '-'
    MulOp = 1011,  // '*' and '/'
};
}

struct TokenData {
    std::int32_t start = 0;
    std::int32_t length = 0;
    std::int16_t kind = TokenKind::EndOfText;
    std::int16_t symbol = TokenKind::EndOfText;
};

class Scanner {
public:
    // The text is borrowed; a null text reads as empty.
    explicit Scanner(NyCore::String const* text);

    // Reads the next token, white space included; returns its kind.
    int getNextTokenWs();
    // Reads the next token that is not white space; returns its kind.
    int getNextToken();
    int getNextToken(TokenData* out);

    // A new String with the token's characters (the caller frees it).
    NyCore::String* tokenToString(TokenData const* token) const;
    double tokenToDouble(TokenData const* token) const;
    // -1, 0 or 1: the token's characters against s (an absent s is empty).
    int compareToken(TokenData const* token, NyCore::String const* s) const;

    int get$textLength() const { return text ? text->count : 0; }
    char16_t const* get$units() const { return text ? text->units() : u""; }

    NyCore::String const* text;
    std::int32_t position = 0;
    TokenData token;

private:
    WSMatcher whiteSpace;
    VariableMatcher variable;
    NumberMatcher number;
    LexemeMatcher* matchers[3];
};

// The symbol class of a token kind.
std::int16_t symbolOfKind(int kind);

}
