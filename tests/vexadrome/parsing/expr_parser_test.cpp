// Tests of ExprParser and its CallResolver: trees for precedence,
// associativity, unary minus, parentheses, calls and literals, node
// locations, failures and their locations, the scanner left at the
// terminator, and inputs deep or long enough to have crashed it.
#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <tuple>

#include "tests/support/strings.h"
#include "tests/vexadrome/parsing/prelink_printer.h"
#include "vexadrome/expressions/limits.h"
#include "vexadrome/parsing/expr_parser.h"

namespace {

using Vexadrome::Expressions::MaxCallNesting;
using Vexadrome::Expressions::MaxExpressionHeight;
using Vexadrome::Expressions::Prelink;
using Vexadrome::Parsing::Error;
using Vexadrome::Parsing::ExprParser;
using Vexadrome::Parsing::Scanner;

struct Outcome {
    std::string tree;   // "<null>" on failure
    Error error;
    int height = 0;
};

Outcome parseText(std::u16string const& text, bool withLocations = false)
{
    TestSupport::OwnedString source(text);
    Outcome outcome;
    Prelink* root = ExprParser::parse(source, &outcome.error);
    // The printer recurses down every operand: long sums are only counted.
    outcome.tree = text.size() > 100000 && root ? "<long>" : TestSupport::printPrelink(root, withLocations);
    outcome.height = root ? root->height : 0;
    delete root;
    return outcome;
}

std::u16string repeat(std::u16string const& piece, int times)
{
    std::u16string text;
    for (int i = 0; i < times; ++i)
        text += piece;
    return text;
}

// Trees with a '@' show every node's location (start:length).
TEST(ExprParser, TreesOfOperatorsCallsAndLiterals)
{
    struct Case {
        char16_t const* text;
        char const* tree;
    } const cases[] = {
        {u"1+2*3", "(+ 1 (* 2 3))"}, {u"1*2+3", "(+ (* 1 2) 3)"}, {u"1-2-3", "(- (- 1 2) 3)"},
        {u"8/4/2", "(/ (/ 8 4) 2)"}, {u"a/b*c", "(* (/ a b) c)"}, {u"a+b*c-d", "(- (+ a (* b c)) d)"},
        {u"1-(2-3)", "(- 1 (- 2 3))"}, {u"((x))", "x"}, {u"2*(3+4)/5", "(/ (* 2 (+ 3 4)) 5)"},
        {u" \t1 +\n2 ", "(+ 1 2)"}, {u"1\r\n+\r2\r\n", "(+ 1 2)"}, {u".5", "0.5"}, {u"5.", "5"}, {u".", "0"},
        {u"100000000000000000000", "1e+20"},
        {u"1000000000000000000000000000000000000000000000000000000000000000000000", "1e+69"},
        // A minus takes the product after it, but after * or / only the next factor.
        {u"-a*b", "(* -1 (* a b))"}, {u"-a+b", "(+ (* -1 a) b)"}, {u"2--3", "(- 2 (* -1 3))"},
        {u"1+-2*3", "(+ 1 (* -1 (* 2 3)))"}, {u"--2", "(* -1 (* -1 2))"}, {u"-(1+2)", "(* -1 (+ 1 2))"},
        {u"(-a*b)", "(* -1 (* a b))"}, {u"2*-3", "(* 2 (* -1 3))"}, {u"2*-3*4", "(* (* 2 (* -1 3)) 4)"},
        {u"8/-2*4", "(* (/ 8 (* -1 2)) 4)"}, {u"8/-2/2", "(/ (/ 8 (* -1 2)) 2)"},
        {u"2*--3*4", "(* (* 2 (* -1 (* -1 3))) 4)"}, {u"2*-(3+4)*5", "(* (* 2 (* -1 (+ 3 4))) 5)"},
        {u"2*-f(3)/4", "(/ (* 2 (* -1 (call:f 3))) 4)"}, {u"2*(-3*4)", "(* 2 (* -1 (* 3 4)))"},
        // Calls go to the call resolver: the built-ins by name (case matters), user
        // calls for any other name, vector and matrix literals stored column-major.
        {u"abs(x)", "(math0 x)"}, {u"acos(x)", "(math1 x)"}, {u"asin(x)", "(math2 x)"}, {u"atan(x)", "(math3 x)"},
        {u"cos(x)", "(math4 x)"}, {u"cosh(x)", "(math5 x)"}, {u"dtor(x)", "(math6 x)"}, {u"exp(x)", "(math7 x)"},
        {u"ln(x)", "(math8 x)"}, {u"rtod(x)", "(math9 x)"}, {u"sinh(x)", "(math11 x)"}, {u"sqrt(x)", "(math12 x)"},
        {u"tan(x)", "(math13 x)"}, {u"tanh(x)", "(math14 x)"}, {u"time(x)", "(math15 x)"},
        {u"normalize(v)", "(normalize v)"}, {u"transpose(m)", "(transpose m)"}, {u"power(a, b)", "(power a b)"},
        {u"sin(1+2*x)", "(math10 (+ 1 (* 2 x)))"}, {u"SIN(1)", "(call:SIN 1)"}, {u"sine(1)", "(call:sine 1)"},
        {u"inverse(m)", "(call:inverse m)"}, {u"cross(a, b)", "(call:cross a b)"},
        {u"determinate(m)", "(call:determinate m)"}, {u"f(1, x+1, g(2))", "(call:f 1 (+ x 1) (call:g 2))"},
        {u"f((1), (2))", "(call:f 1 2)"}, {u"2*f(3)+1", "(+ (* 2 (call:f 3)) 1)"},
        {u"power(sin((1)), vector(1, 2))", "(power (math10 1) [2x1 1 2])"},
        {u"vector (a-b, -c)", "[2x1 (- a b) (* -1 c)]"}, {u"matrix((1, 2, 3), (4, 5, 6))", "[2x3 1 4 2 5 3 6]"},
        {u"matrix((1, 2), (3, 4), (5, 6))", "[3x2 1 3 5 2 4 6]"}, {u"matrix((1), (2), (3))", "[3x1 1 2 3]"},
        {u"matrix ( ( a ) )", "[1x1 a]"}, {u"matrix((vector(1), 2))", "[1x2 [1x1 1] 2]"},
        {u"1 + 2*x", "(+@2:1 1@0:0 (*@5:1 2@4:0 x@6:1))"}, {u"ab - cd/e", "(-@3:1 ab@0:2 (/@7:1 cd@5:2 e@8:1))"},
        {u"-a", "(*@-1:1 -1@-1:0 a@1:1)"}, {u"( b )", "b@2:1"}, {u"sin (x)", "(math10@0:0 x@5:1)"},
        {u"f(x, 2)", "(call:f@0:0 x@2:1 2@5:0)"}, {u" power(a,b)", "(power@1:0 a@7:1 b@9:1)"},
        {u"2*vector(1)", "(*@1:1 2@0:0 [1x1@2:0 1@9:0])"}, {u"magnitude(v)", "(magnitude@0:0 v@10:1)"},
        {u"x+dot(a,b)", "(+@1:1 x@0:1 (dot@2:0 a@6:1 b@8:1))"}, {u"  matrix((a),(b))", "[2x1@2:0 a@10:1 b@14:1]"},
    };
    for (Case const& c : cases) {
        SCOPED_TRACE(TestSupport::toUtf8(c.text));
        Outcome outcome = parseText(c.text, std::strchr(c.tree, '@') != nullptr);
        EXPECT_EQ(outcome.tree, c.tree);
        EXPECT_EQ(outcome.error.code, 0);
    }
}

TEST(ExprParser, FailuresRecordCodeAndLocation)
{
    struct Case {
        std::u16string text;
        int code, start, length;
    };
    Case const cases[] = {
        {u"", 6, -1, 0}, {u"()", 6, -1, 0}, {u"(2 3)", 6, -1, 0}, {u"(a", 6, -1, 0}, {u"1+", 6, -1, 0},
        {u"1+*2", 6, -1, 0}, {u")", 6, -1, 0},
        // Text left after a complete expression is reported at its first token.
        {u"2 3", 6, 2, 1}, {u"2^3", 6, 1, 1}, {u"1e5", 6, 1, 2}, {u"a)", 6, 1, 1}, {u"(1))", 6, 3, 1},
        {u"sin x", 6, 4, 1}, {u"1,2", 6, 1, 1}, {u"1 \u00e9", 6, 2, 1},
        // Characters whose codes equal token kinds or grammar symbols are plain
        // characters: no end of text, white space, operator or operand.
        {std::u16string(u"1\0+2", 4), 6, 1, 1}, {u"1\u03e82", 6, 1, 1}, {u"\u03f1*2", 6, -1, 0},
        {u"-\u03f0", 6, -1, 0}, {u"\u03e9", 6, -1, 0}, {u"2*\uffff", 6, -1, 0}, {u"1\uffff", 6, 1, 1},
        // A failing call is located at the called name; the call resolver
        // records the code: 8 for a wrong argument count, 7 for ragged matrix rows.
        {u"f()", 6, 0, 1}, {u"1 + f()", 6, 4, 1}, {u"f(a,)", 6, 0, 1}, {u"f(1))", 6, 4, 1},
        {u"sin(1, 2)", 8, 0, 3}, {u"power(2)", 8, 0, 5}, {u"dot(1, 2, 3)", 8, 0, 3}, {u"sin()", 8, 0, 3},
        {u"sin(1+)", 8, 0, 3}, {u"2*sin(1,2)", 8, 2, 3}, {u"f(sin(1,2))", 8, 2, 3}, {u"sin(f())", 8, 4, 1},
        {u"matrix((1, 2), (3))", 7, 0, 6}, {u"matrix((1, 2), 3)", 7, 0, 6}, {u"1+matrix((1),(2),(3,4))", 7, 2, 6},
        {u"matrix(1, 2)", 6, 0, 6}, {u"matrix()", 6, 0, 6}, {u"matrix((1, 2) 3)", 6, 0, 6}, {u"vector()", 6, 0, 6},
        {u"vector(1 2)", 6, 0, 6}, {u"vector(1,", 6, 0, 6}, {u"f(,a)", 6, 0, 1}, {u"f(1;2)", 6, 0, 1},
        {u"f(g(1)", 6, 0, 1},
    };
    for (Case const& c : cases) {
        SCOPED_TRACE(TestSupport::toUtf8(c.text));
        Outcome outcome = parseText(c.text);
        EXPECT_EQ(outcome.tree, "<null>");
        EXPECT_EQ(std::tuple(outcome.error.code, outcome.error.start, outcome.error.length),
                  std::tuple(c.code, c.start, c.length));
    }
}

// parse from a position leaves the scanner at the terminator; parseComplete
// (complete = true) needs the end of the text after the expression.
TEST(ExprParser, ScannerParseStopsAtTheTerminator)
{
    struct Case {
        char16_t const* text;
        int from;
        bool complete;
        char const* tree;
        int position, code, start;   // scanner position afterwards (not checked for a failure)
    } const cases[] = {
        {u"2 3", 0, false, "2", 2, 0, -1}, {u"2^3", 0, false, "2", 1, 0, -1}, {u"a) + 1", 0, false, "a", 1, 0, -1},
        {u"1+2 , 5", 0, false, "(+ 1 2)", 4, 0, -1}, {u"f(x) = (x) + 1 ; g", 6, false, "(+ x 1)", 15, 0, -1},
        {u"sin x", 0, false, "sin", 4, 0, -1}, {u"f(x) = x*2", 7, true, "(* x 2)", 10, 0, -1},
        {u"y = 1 ", 4, true, "1", 6, 0, -1}, {u"y = 1 2", 4, true, "<null>", 0, 6, 6},
        {u"y = (1)) ", 4, true, "<null>", 0, 6, 7}, {u"y = ", 4, true, "<null>", 0, 6, -1},
    };
    for (Case const& c : cases) {
        SCOPED_TRACE(TestSupport::toUtf8(c.text));
        TestSupport::OwnedString text(c.text);
        Scanner scanner(text);
        scanner.position = c.from;
        Error error;
        Prelink* root = c.complete ? ExprParser::parseComplete(&scanner, &error) : ExprParser::parse(&scanner, &error);
        EXPECT_EQ(TestSupport::printPrelink(root), c.tree);
        EXPECT_EQ(std::pair(error.code, error.start), std::pair(c.code, c.start));
        EXPECT_TRUE(!root || scanner.position == c.position) << scanner.position;
        delete root;
    }
}

// Code 0: the text parses to a tree of that height (the nodes on the longest
// path, where a left operand counts as one level with its node); any other
// code is the failure, located at (start, length).
TEST(ExprParser, HeightsAndDeepOrLongInputs)
{
    int const tooHigh = MaxExpressionHeight;   // operators that make a node one too high
    struct Case {
        char const* name;
        std::u16string text;
        int code, start, length, height;
    };
    Case const cases[] = {
        {"1", u"1", 0, -1, 0, 1}, {"1+2*3", u"1+2*3", 0, -1, 0, 3}, {"1*2*3*4+5", u"1*2*3*4+5", 0, -1, 0, 2},
        {"1-(2-3)", u"1-(2-3)", 0, -1, 0, 3}, {"-1", u"-1", 0, -1, 0, 2}, {"f(1, g(2))", u"f(1, g(2))", 0, -1, 0, 3},
        {"sin(vector(1, 2+3))", u"sin(vector(1, 2+3))", 0, -1, 0, 4},
        {"deep parentheses", repeat(u"(", 20000) + u"7" + repeat(u")", 20000), 0, -1, 0, 1},
        {"long sum", repeat(u"1+", 100000) + u"1", 0, -1, 0, 2},
        {"long product", repeat(u"2*", 100000) + u"2", 0, -1, 0, 2},
        {"long sum of products", repeat(u"a*b-", 100000) + u"1", 0, -1, 0, 3},
        {"parentheses nested 1,000 deep", repeat(u"1+(", 1000) + u"1" + repeat(u")", 1000), 0, -1, 0, 1001},
        {"long sum inside a call", u"f(" + repeat(u"1+", 100000) + u"1)", 0, -1, 0, 3},
        {"most minus signs", repeat(u"-", tooHigh - 1) + u"1", 0, -1, 0, tooHigh},
        {"deepest calls", repeat(u"f(", MaxCallNesting) + u"1" + repeat(u")", MaxCallNesting), 0, -1, 0, MaxCallNesting + 1},
        {"long argument list", u"vector(" + repeat(u"1,", 20000) + u"1)", 0, -1, 0, 2},
        {"open parentheses", repeat(u"(", 100000), 6, -1, 0, 0}, {"1+ repeated", repeat(u"1+", 100000), 6, -1, 0, 0},
        {"nested sums", repeat(u"1+(", 20000) + u"1", 6, -1, 0, 0},
        {"parentheses nested too deep", repeat(u"1+(", tooHigh) + u"1" + repeat(u")", tooHigh), 12, 1, 1, 0},
        {"closed nested sums", repeat(u"1+(", 2000) + u"1" + repeat(u")", 2000), 12, 3 * (2000 - tooHigh) + 1, 1, 0},
        {"minus repeated", repeat(u"-", 100000) + u"1", 12, 100000 - tooHigh, 1, 0},
        {"f( nested", repeat(u"f(", 100000) + u"1" + repeat(u")", 100000), 12, 2 * MaxCallNesting, 1, 0},
        {"f( unclosed", repeat(u"f(", 100000), 12, 2 * MaxCallNesting, 1, 0},
        {"sin( nested", repeat(u"sin(", 100000), 12, 4 * MaxCallNesting, 3, 0},
        {"vector( nested", repeat(u"vector(", 100000), 12, 7 * MaxCallNesting, 6, 0},
        {"matrix(( nested", repeat(u"matrix((", 100000), 12, 8 * MaxCallNesting, 6, 0},
        {"argument too high", u"sin(" + repeat(u"-", tooHigh - 1) + u"1)", 12, 0, 3, 0},
        {"vector element too high", u"vector(1, " + repeat(u"-", tooHigh - 1) + u"1)", 12, 0, 6, 0},
        {"matrix element too high", u"matrix((1), (" + repeat(u"-", tooHigh - 1) + u"1))", 12, 0, 6, 0},
        {"user argument too high", u"g(1, " + repeat(u"-", tooHigh - 1) + u"1)", 12, 0, 1, 0},
        {"power operand too high", u" power(" + repeat(u"-", tooHigh - 1) + u"1, 2)", 12, 1, 5, 0},
    };
    for (Case const& c : cases) {
        SCOPED_TRACE(c.name);
        Outcome outcome = parseText(c.text);
        EXPECT_EQ(outcome.tree == "<null>", c.code != 0);
        EXPECT_EQ(std::tuple(outcome.error.code, outcome.error.start, outcome.error.length, outcome.height),
                  std::tuple(c.code, c.start, c.length, c.height));
    }
}

}
