// The shift-reduce loop of ExprParser: tokens are shifted onto the stack and
// the rule table reduces the top of it while the lookahead allows. Every node
// built is bounded in height so that later recursive passes stay shallow.
#include "vexadrome/parsing/expr_parser.h"

#include <charconv>

#include "vexadrome/expressions/limits.h"
#include "vexadrome/parsing/call_resolver.h"

namespace Vexadrome::Parsing {

using Expressions::Prelink;

ExprParser::GrammarRule const ExprParser::gRules[RuleCount] = {
    {{GrammarSymbol::Term, GrammarSymbol::AddOp, GrammarSymbol::Sum}, GrammarSymbol::MulOp, GrammarSymbol::None,
     GrammarSymbol::Sum, &ExprParser::ruleAdd},
    {{GrammarSymbol::Sum, GrammarSymbol::UnaryMinus, GrammarSymbol::None}, GrammarSymbol::None, GrammarSymbol::None,
     GrammarSymbol::Primary, &ExprParser::ruleUminus},
    {{GrammarSymbol::Sum, GrammarSymbol::None, GrammarSymbol::None}, GrammarSymbol::AddOp, GrammarSymbol::None,
     GrammarSymbol::Expression, &ExprParser::ruleReduce},
    {{GrammarSymbol::Expression, GrammarSymbol::None, GrammarSymbol::None}, GrammarSymbol::CloseParen, 0,
     GrammarSymbol::Accept, &ExprParser::ruleReduce},
    {{GrammarSymbol::Primary, GrammarSymbol::MulOp, GrammarSymbol::Term}, GrammarSymbol::None, GrammarSymbol::None,
     GrammarSymbol::Term, &ExprParser::ruleMul},
    {{GrammarSymbol::Primary, GrammarSymbol::FactorMinus, GrammarSymbol::None}, GrammarSymbol::None, GrammarSymbol::None,
     GrammarSymbol::Primary, &ExprParser::ruleUminus},
    {{GrammarSymbol::Term, GrammarSymbol::None, GrammarSymbol::None}, GrammarSymbol::MulOp, GrammarSymbol::None,
     GrammarSymbol::Sum, &ExprParser::ruleReduce},
    {{GrammarSymbol::Primary, GrammarSymbol::None, GrammarSymbol::None}, GrammarSymbol::None, GrammarSymbol::None,
     GrammarSymbol::Term, &ExprParser::ruleReduce},
    {{GrammarSymbol::CloseParen, GrammarSymbol::Expression, GrammarSymbol::OpenParen}, GrammarSymbol::None,
     GrammarSymbol::None, GrammarSymbol::Primary, &ExprParser::ruleParen},
    {{GrammarSymbol::Number, GrammarSymbol::None, GrammarSymbol::None}, GrammarSymbol::None, GrammarSymbol::None,
     GrammarSymbol::Primary, &ExprParser::ruleReduce},
    {{GrammarSymbol::Name, GrammarSymbol::None, GrammarSymbol::None}, GrammarSymbol::None, GrammarSymbol::None,
     GrammarSymbol::Primary, &ExprParser::ruleReduce},
    {{GrammarSymbol::CallValue, GrammarSymbol::None, GrammarSymbol::None}, GrammarSymbol::None, GrammarSymbol::None,
     GrammarSymbol::Primary, &ExprParser::ruleReduce},
};

Prelink* ExprParser::parse(NyCore::String const* text, Error* error)
{
    Scanner scanner(text);
    return parseComplete(&scanner, error);
}

Prelink* ExprParser::parse(Scanner* scanner, Error* error)
{
    ExprParser parser(scanner, error);
    TokenData terminator;
    Prelink* root = parser.resolveExpression(&terminator);
    if (root && parser.top == -1) {
        scanner->position = terminator.start;
        return root;
    }
    delete root;
    error->setCode(ErrorCode::MalformedExpression);
    return nullptr;
}

Prelink* ExprParser::parseComplete(Scanner* scanner, Error* error)
{
    Prelink* root = parse(scanner, error);
    if (!root)
        return nullptr;
    if (scanner->getNextToken() == TokenKind::EndOfText)
        return root;
    error->setCode(ErrorCode::MalformedExpression);
    error->setLocation(scanner->token.start, scanner->token.length);
    delete root;
    return nullptr;
}

ExprParser::ExprParser(Scanner* scanner, Error* error) : stack(16, 16), scanner(scanner), error(error)
{
    entries = &stack.get(0);
}

ExprParser::~ExprParser()
{
    for (int i = 0; i <= top; ++i)
        delete entries[i].node;
}

bool ExprParser::admitHeight(int height, int start, int length)
{
    if (height <= Expressions::MaxExpressionHeight)
        return true;
    error->setCode(ErrorCode::TooComplex);
    error->setLocation(start, length);
    return false;
}

bool ExprParser::enterCall(TokenData const* name)
{
    if (callNesting >= Expressions::MaxCallNesting) {
        error->setCode(ErrorCode::TooComplex);
        error->setLocation(name->start, name->length);
        return false;
    }
    ++callNesting;
    return true;
}

void ExprParser::pushSymbol(Prelink* node, int symbol, int location)
{
    if (top + 1 == stack.get$count()) {
        stack.resize(2 * stack.get$count());
        entries = &stack.get(0);
    }
    entries[++top] = StackEntry{node, symbol, location};
}

Prelink* ExprParser::popSymbol()
{
    StackEntry& entry = entries[top--];
    Prelink* node = entry.node;
    entry.node = nullptr;
    return node;
}

int ExprParser::findGrammarMatch(int lookahead, int depth) const
{
    int onStack[3];
    for (int i = 0; i < 3; ++i)
        onStack[i] = top - i >= 0 ? entries[top - i].symbol : GrammarSymbol::None;
    for (int r = 0; r < RuleCount; ++r) {
        GrammarRule const& rule = gRules[r];
        if (rule.pattern[0] != onStack[0])
            continue;
        bool blocked = rule.blockedBy != GrammarSymbol::None && rule.blockedBy == lookahead
            && (rule.exemptDepth == GrammarSymbol::None || rule.exemptDepth != depth);
        if (blocked)
            continue;
        bool matches = true;
        for (int i = 1; i < 3 && rule.pattern[i] != GrammarSymbol::None && matches; ++i)
            matches = rule.pattern[i] == onStack[i];
        if (matches)
            return r;
    }
    return -1;
}

bool ExprParser::reduceUsing(int rule)
{
    GrammarRule const& grammarRule = gRules[rule];
    Prelink* node = (this->*grammarRule.action)();
    if (!node)
        return false;
    for (int i = 0; i < 3 && grammarRule.pattern[i] != GrammarSymbol::None; ++i)
        popSymbol();
    pushSymbol(node, grammarRule.result, -1);
    return true;
}

int ExprParser::resolveRealSymbol(TokenData const* token, int previous)
{
    if (token->kind != u'-')
        return token->symbol;
    if (previous == GrammarSymbol::Term || previous == GrammarSymbol::Sum || previous == GrammarSymbol::Primary)
        return token->symbol;
    // 8/-2*4 is 8/(-2)*4: after '*' or '/' the minus takes the next factor only.
    if (previous == GrammarSymbol::MulOp || previous == GrammarSymbol::FactorMinus)
        return GrammarSymbol::FactorMinus;
    return GrammarSymbol::UnaryMinus;
}

Prelink* ExprParser::resolveSymbolExpr(TokenData const* token)
{
    if (token->kind == TokenKind::Number)
        return new Expressions::PLConstant(token->start, numberValue(token));
    if (token->kind == TokenKind::Name)
        return new Expressions::PLVariable(token->start, token->length, scanner->tokenToString(token));
    return nullptr;
}

// The scanner's conversion builds a String per number; short numbers are
// converted here in place, with the same correctly rounded result.
double ExprParser::numberValue(TokenData const* token) const
{
    char digits[64];
    if (token->length < static_cast<int>(sizeof digits)) {
        char16_t const* units = scanner->get$units() + token->start;
        for (int i = 0; i < token->length; ++i)
            digits[i] = static_cast<char>(units[i]);
        double value = 0.0;
        auto result = std::from_chars(digits, digits + token->length, value, std::chars_format::fixed);
        if (result.ec == std::errc() && result.ptr == digits + token->length)
            return value;
    }
    return scanner->tokenToDouble(token);
}

Prelink* ExprParser::resolveExpression(TokenData* terminator)
{
    int const base = top;
    pushSymbol(nullptr, GrammarSymbol::Bottom, -1);
    int depth = 0;
    int previous = GrammarSymbol::None;
    TokenData cur;
    TokenData next;
    scanner->getNextToken(&cur);
    scanner->getNextToken(&next);
    for (;;) {
        if (cur.kind == TokenKind::Name && next.kind == u'(') {
            Prelink* call = CallResolver::resolveFunction(this, scanner, &cur, error);
            if (!call) {
                error->setLocation(cur.start, cur.length);
                return nullptr;
            }
            pushSymbol(call, GrammarSymbol::CallValue, -1);
            scanner->getNextToken(&next);
        } else {
            if (cur.kind == u'(')
                ++depth;
            else if (cur.kind == u')')
                --depth;
            pushSymbol(resolveSymbolExpr(&cur), resolveRealSymbol(&cur, previous), cur.start);
        }

        for (int rule = findGrammarMatch(next.symbol, depth); rule >= 0; rule = findGrammarMatch(next.symbol, depth)) {
            if (!reduceUsing(rule))
                return nullptr;
        }

        int const reached = entries[top].symbol;
        if (reached == GrammarSymbol::Accept || next.kind == TokenKind::EndOfText) {
            // The frame must hold exactly its marker and the result.
            if (reached != GrammarSymbol::Accept || top != base + 2)
                return nullptr;
            Prelink* result = popSymbol();
            popSymbol();
            *terminator = next;
            return result;
        }
        previous = reached;
        cur = next;
        scanner->getNextToken(&next);
    }
}

Prelink* ExprParser::ruleReduce()
{
    return entryBelowTop(0).node;
}

Prelink* ExprParser::ruleParen()
{
    return entryBelowTop(1).node;
}

Prelink* ExprParser::ruleAdd()
{
    Prelink* left = entryBelowTop(2).node;
    Prelink* right = entryBelowTop(0).node;
    int const at = entryBelowTop(1).location;
    if (!left || !right || !admitHeight(Expressions::PLBinary::heightOver(left, right), at, 1))
        return nullptr;
    if (at >= 0 && at < scanner->get$textLength() && scanner->get$units()[at] == u'+')
        return new Expressions::PrelinkAdd(at, left, right);
    return new Expressions::PrelinkSub(at, left, right);
}

Prelink* ExprParser::ruleMul()
{
    Prelink* left = entryBelowTop(2).node;
    Prelink* right = entryBelowTop(0).node;
    int const at = entryBelowTop(1).location;
    if (!left || !right || !admitHeight(Expressions::PLBinary::heightOver(left, right), at, 1))
        return nullptr;
    if (at >= 0 && at < scanner->get$textLength() && scanner->get$units()[at] == u'*')
        return new Expressions::PrelinkMul(at, left, right);
    return new Expressions::PrelinkDiv(at, left, right);
}

// -x is (-1) * x; both new nodes have no text of their own.
Prelink* ExprParser::ruleUminus()
{
    Prelink* operand = entryBelowTop(0).node;
    if (!operand || !admitHeight(operand->height + 1, entryBelowTop(1).location, 1))
        return nullptr;
    return new Expressions::PrelinkMul(-1, new Expressions::PLConstant(-1, -1.0), operand);
}

}
