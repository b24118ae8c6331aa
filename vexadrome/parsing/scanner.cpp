// The scanner's token loop: maximal munch over the three matchers.
#include "vexadrome/parsing/scanner.h"

#include "nycore/text/string_functions.h"

namespace Vexadrome::Parsing {

std::int16_t symbolOfKind(int kind)
{
    switch (kind) {
    case u'+':
    case u'-':
        return SymbolClass::AddOp;
    case u'*':
    case u'/':
        return SymbolClass::MulOp;
    default:
        return static_cast<std::int16_t>(kind);
    }
}

// Codes 1000 to 1013 are the token kinds and the parser's grammar symbols.
static bool isReservedCode(char16_t code)
{
    return code == 0 || (code >= 1000 && code <= 1013);
}

Scanner::Scanner(NyCore::String const* text) : text(text), matchers{&whiteSpace, &variable, &number} {}

int Scanner::getNextTokenWs()
{
    static std::int16_t const kindOfMatcher[] = {TokenKind::WhiteSpace, TokenKind::Name, TokenKind::Number};
    int const n = get$textLength();
    char16_t const* units = get$units();
    if (position < 0)
        position = 0;
    if (position >= n) {
        token = {n, 0, TokenKind::EndOfText, TokenKind::EndOfText};
        return token.kind;
    }
    int const start = position;
    // A character that cannot start a blank, a name or a number is a token of
    // its own: every matcher would refuse it at once.
    char16_t const first = units[position];
    bool const opensLexeme =
        WSMatcher::canStart(first) || NumberMatcher::canStart(first) || VariableMatcher::canStart(first);
    int matched = -1;
    bool alive[3] = {true, true, true};
    if (opensLexeme) {
        for (LexemeMatcher* matcher : matchers)
            matcher->restart();
    }
    while (opensLexeme && position < n) {
        char16_t ch = units[position];
        bool anyAlive = false;
        for (int i = 0; i < 3; ++i) {
            if (!alive[i])
                continue;
            if (matchers[i]->addchar(ch)) {
                matched = i;
                anyAlive = true;
            } else {
                alive[i] = false;
            }
        }
        if (!anyAlive)
            break;
        ++position;
    }
    if (matched >= 0) {
        token.start = start;
        token.length = position - start;
        token.kind = kindOfMatcher[matched];
    } else {
        token.start = position;
        token.length = 1;
        char16_t code = units[position];
        if (isReservedCode(code))
            token.kind = TokenKind::ReservedCharacter;
        else
            token.kind = static_cast<std::int16_t>(code);
        ++position;
    }
    token.symbol = symbolOfKind(token.kind);
    return token.kind;
}

int Scanner::getNextToken()
{
    while (getNextTokenWs() == TokenKind::WhiteSpace) {
    }
    return token.kind;
}

int Scanner::getNextToken(TokenData* out)
{
    int kind = getNextToken();
    *out = token;
    return kind;
}

NyCore::String* Scanner::tokenToString(TokenData const* t) const
{
    return NyCore::String::create(get$units(), t->start, t->length);
}

double Scanner::tokenToDouble(TokenData const* t) const
{
    NyCore::String* digits = tokenToString(t);
    double value = string_to_real(digits);
    string_free(digits);
    return value;
}

int Scanner::compareToken(TokenData const* t, NyCore::String const* s) const
{
    char16_t const* units = get$units() + t->start;
    int otherLength = s ? s->count : 0;
    int shorter = t->length < otherLength ? t->length : otherLength;
    for (int i = 0; i < shorter; ++i) {
        auto a = static_cast<std::int16_t>(units[i]);
        auto b = static_cast<std::int16_t>(s->units()[i]);
        if (a != b)
            return a < b ? -1 : 1;
    }
    if (t->length == otherLength)
        return 0;
    return t->length < otherLength ? -1 : 1;
}

}
