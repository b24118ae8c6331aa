// ExprParser: the table-driven shift-reduce parser that turns the tokens of one
// expression into an unlinked Prelink tree. Precedence, associativity and
// parentheses live in the rule table; calls and the vector and matrix literals
// go to the CallResolver, which parses each argument back through this parser.
#pragma once

#include <cstdint>

#include "nycore/collection/inline_vector.h"
#include "nycore/text/string.h"
#include "vexadrome/expressions/prelink.h"
#include "vexadrome/parsing/error.h"
#include "vexadrome/parsing/scanner.h"

namespace Vexadrome::Parsing {

// The token kinds and symbol classes of the scanner plus the nonterminals.
namespace GrammarSymbol {
enum : std::int32_t {
    None = -1,
    Bottom = 0,
    OpenParen = u'(',
    CloseParen = u')',
    Accept = 1001,
    Primary = 1002,
    Number = 1003,
    Name = 1004,
    // A '-' after '*' or '/' (or after another such '-'): it negates only the factor after it.
    FactorMinus = 1005,
    UnaryMinus = 1007,
    Sum = 1008,
    Term = 1009,
    AddOp = 1010,
    MulOp = 1011,
    CallValue = 1012,
    Expression = 1013,
};
}

class ExprParser {
public:
    // The whole text must be one expression. The result belongs to the
    // caller; null on failure with the error recorded.
    static Expressions::Prelink* parse(NyCore::String const* text, Error* error);
    // One expression from the scanner's position; on success the scanner is
    // left at the start of the token that ended it.
    static Expressions::Prelink* parse(Scanner* scanner, Error* error);
    // As parse (scanner, error), and the text must end after the expression.
    static Expressions::Prelink* parseComplete(Scanner* scanner, Error* error);

    // Parses one expression in a frame of its own on the stack and stores the
    // token that ended it; the scanner is then past that token. On failure the
    // frame stays on the stack for the outermost parse to destroy.
    Expressions::Prelink* resolveExpression(TokenData* terminator);

    // False, with TooComplex recorded at (start, length), when a node of this
    // height may not be built.
    bool admitHeight(int height, int start, int length);
    // Every call being parsed enters before its arguments and leaves after
    // them; entering too deep records TooComplex at the name and fails.
    bool enterCall(TokenData const* name);
    void leaveCall() { --callNesting; }

private:
    struct StackEntry {
        Expressions::Prelink* node;   // absent for operators and parentheses
        std::int32_t symbol;
        std::int32_t location;        // the token's start; -1 after a reduction
    };

    using RuleAction = Expressions::Prelink* (ExprParser::*)();

    struct GrammarRule {
        std::int32_t pattern[3];   // top of the stack first; None ends a shorter one
        std::int32_t blockedBy;    // lookahead that blocks the rule, or None
        std::int32_t exemptDepth;  // depth at which the block does not hold, or None
        std::int32_t result;
        RuleAction action;
    };

    static constexpr int RuleCount = 12;
    static GrammarRule const gRules[RuleCount];

    ExprParser(Scanner* scanner, Error* error);
    // Destroys every node still held by a stack entry.
    ~ExprParser();
    ExprParser(ExprParser const&) = delete;
    ExprParser& operator=(ExprParser const&) = delete;

    void pushSymbol(Expressions::Prelink* node, int symbol, int location);
    Expressions::Prelink* popSymbol();
    StackEntry& entryBelowTop(int distance) { return entries[top - distance]; }
    int findGrammarMatch(int lookahead, int depth) const;
    bool reduceUsing(int rule);
    static int resolveRealSymbol(TokenData const* token, int previous);
    Expressions::Prelink* resolveSymbolExpr(TokenData const* token);
    double numberValue(TokenData const* token) const;

    Expressions::Prelink* ruleReduce();
    Expressions::Prelink* ruleParen();
    Expressions::Prelink* ruleAdd();
    Expressions::Prelink* ruleMul();
    Expressions::Prelink* ruleUminus();

    NyCore::Collections::InlineVector<StackEntry> stack;
    // The stack's storage, taken again whenever the stack grows: entries are
    // read on every token and this keeps those reads in line.
    StackEntry* entries;
    std::int32_t top = -1;
    Scanner* scanner;
    Error* error;
    std::int32_t callNesting = 0;
};

}
