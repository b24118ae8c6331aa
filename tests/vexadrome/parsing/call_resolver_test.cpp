// Tests of CallResolver through the parser: the built-in calls, vector and
// matrix literals (elements stored column-major), user calls, and the codes
// and locations of failing calls.
#include <gtest/gtest.h>

#include <string>

#include "nycore/text/string_functions.h"
#include "tests/support/strings.h"
#include "tests/vexadrome/parsing/prelink_printer.h"
#include "vexadrome/parsing/expr_parser.h"

namespace {

using Vexadrome::Expressions::Prelink;
using Vexadrome::Parsing::Error;
using Vexadrome::Parsing::ExprParser;

std::string parseToTree(char16_t const* source, Error* error)
{
    NyCore::String* text = TestSupport::makeString(source);
    Prelink* root = ExprParser::parse(text, error);
    std::string tree = TestSupport::printPrelink(root);
    delete root;
    string_free(text);
    return tree;
}

TEST(CallResolver, CallsBuildTheirNodes)
{
    struct Case {
        char16_t const* text;
        char const* tree;
    };
    Case const cases[] = {
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
    };
    for (Case const& c : cases) {
        SCOPED_TRACE(TestSupport::toUtf8(c.text));
        Error error;
        EXPECT_EQ(parseToTree(c.text, &error), c.tree);
        EXPECT_EQ(error.code, 0);
    }
}

TEST(CallResolver, FailingCallsRecordCodeAndLocation)
{
    struct Case {
        char16_t const* text;
        int code, start, length;
    };
    Case const cases[] = {
        {u"sin(1, 2)", 8, 0, 3}, {u"power(2)", 8, 0, 5}, {u"dot(1, 2, 3)", 8, 0, 3}, {u"sin()", 8, 0, 3},
        {u"sin(1+)", 8, 0, 3}, {u"2*sin(1,2)", 8, 2, 3}, {u"f(sin(1,2))", 8, 2, 3}, {u"sin(f())", 8, 4, 1},
        {u"matrix((1, 2), (3))", 7, 0, 6}, {u"matrix((1, 2), 3)", 7, 0, 6}, {u"1+matrix((1),(2),(3,4))", 7, 2, 6},
        {u"matrix(1, 2)", 6, 0, 6}, {u"matrix()", 6, 0, 6}, {u"matrix((1, 2) 3)", 6, 0, 6}, {u"vector()", 6, 0, 6},
        {u"vector(1 2)", 6, 0, 6}, {u"vector(1,", 6, 0, 6}, {u"f(,a)", 6, 0, 1}, {u"f(1;2)", 6, 0, 1},
        {u"f(g(1)", 6, 0, 1},
    };
    for (Case const& c : cases) {
        SCOPED_TRACE(TestSupport::toUtf8(c.text));
        Error error;
        EXPECT_EQ(parseToTree(c.text, &error), "<null>");
        EXPECT_EQ(error.code, c.code);
        EXPECT_EQ(error.start, c.start);
        EXPECT_EQ(error.length, c.length);
    }
}

}
