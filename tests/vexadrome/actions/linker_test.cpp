// Tests of PrelinkExprLinker: typed expressions against a store of
// definitions, linked trees printed compactly, and the code and location of
// every failure.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "tests/vexadrome/actions/link_test_support.h"
#include "vexadrome/actions/prelink_cycle_finder.h"
#include "vexadrome/actions/prelink_expr_linker.h"
#include "vexadrome/expressions/limits.h"

namespace {

using namespace LinkTestSupport;
using Vexadrome::Actions::PrelinkCycleFinder;
using Vexadrome::Actions::PrelinkExprLinker;
using Vexadrome::Expressions::Constant;
using Vexadrome::Expressions::UserCall;
using Vexadrome::Parsing::ErrorCode::TooComplex;

struct Outcome {
    std::string tree;
    int code;
    int start;
    int length;
};

Outcome linkText(std::u16string const& text, Definitions& definitions, int* nodeCount = nullptr)
{
    Prelink* tree = parseText(text);
    if (!tree)
        return {"<no parse>", -1, -1, 0};
    Error error;
    Expr* linked = PrelinkExprLinker::link(tree, definitions.get(), &error);
    Outcome outcome{ExprPrinter::print(linked, nodeCount), error.code, error.start, error.length};
    delete linked;
    delete tree;
    return outcome;
}

struct TreeCase {
    std::u16string text;
    std::string tree;
};

void expectTrees(std::vector<TreeCase> const& cases, Definitions& definitions)
{
    for (auto const& c : cases) {
        SCOPED_TRACE(TestSupport::toUtf8(c.text));
        Outcome outcome = linkText(c.text, definitions);
        EXPECT_EQ(outcome.code, 0);
        EXPECT_EQ(outcome.tree, c.tree);
    }
}

struct ErrorCase {
    std::u16string text;
    int code;
    int start;
    int length;
};

void expectErrors(std::vector<ErrorCase> const& cases, Definitions& definitions)
{
    for (auto const& c : cases) {
        SCOPED_TRACE(TestSupport::toUtf8(c.text));
        Outcome outcome = linkText(c.text, definitions);
        EXPECT_EQ(outcome.tree, "<null>");
        EXPECT_EQ(outcome.code, c.code);
        EXPECT_EQ(outcome.start, c.start);
        EXPECT_EQ(outcome.length, c.length);
    }
}

TEST(PrelinkExprLinkerTest, ChoosesScalarAndMatrixForms)
{
    Definitions definitions{u"x = 2"};
    expectTrees({
        {u"x*3", "(smul (call [] 2) 3)"},
        {u"1-2/4", "(ssub 1 (sdiv 2 4))"},
        {u"-2*3", "(smul -1 (smul 2 3))"},
        {u"power(2, 10)", "(spow 2 10)"},
        {u"vector(1,2,3)", "(mat 3x1 1 2 3)"},
        {u"matrix((1,2,3),(4,5,6))", "(mat 2x3 1 4 2 5 3 6)"},
        {u"2*vector(1,2)", "(mmuls:2x1 (mat 2x1 1 2) 2)"},
        {u"vector(1,2)*2", "(mmuls:2x1 (mat 2x1 1 2) 2)"},
        {u"-vector(1,2)", "(mmuls:2x1 (mat 2x1 1 2) -1)"},
        {u"matrix((1,2),(3,4))*vector(1,2)", "(mmulm:2x1 (mat 2x2 1 3 2 4) (mat 2x1 1 2))"},
        {u"transpose(vector(1,2))*vector(3,4)", "(mmulm:1x1 (tr:1x2 (mat 2x1 1 2)) (mat 2x1 3 4))"},
        {u"vector(1,2)+vector(3,4)", "(madd:2x1 (mat 2x1 1 2) (mat 2x1 3 4))"},
        {u"vector(1,2)-vector(3,4)", "(msub:2x1 (mat 2x1 1 2) (mat 2x1 3 4))"},
        {u"magnitude(vector(3,4))", "(mag (mat 2x1 3 4))"},
        {u"normalize(vector(3,4))", "(norm:2x1 (mat 2x1 3 4))"},
        {u"dot(vector(1,2),vector(3,4))", "(dot (mat 2x1 1 2) (mat 2x1 3 4))"},
        {u"sin(vector(0,0))", "(f10:2x1 (mat 2x1 0 0))"},
        {u"sqrt(x)", "(f12 (call [] 2))"},
        {u"time(2)", "(f15 2)"},
    }, definitions);
}

TEST(PrelinkExprLinkerTest, TypesFollowShapes)
{
    Definitions definitions{u"v(t) = vector(t, 2*t)", u"s(t) = t*t", u"sc(t) = t*2", u"w = v(3)"};
    expectTrees({
        {u"v(1)*2", "(mmuls:2x1 (call [1] (mat 2x1 $0 (smul 2 $0))) 2)"},
        {u"2*v(1)", "(mmuls:2x1 (call [1] (mat 2x1 $0 (smul 2 $0))) 2)"},
        {u"sin(v(1))*3", "(mmuls:2x1 (f10:2x1 (call [1] (mat 2x1 $0 (smul 2 $0)))) 3)"},
        {u"magnitude(w)", "(mag (call [] (call [3] (mat 2x1 $0 (smul 2 $0)))))"},
        {u"sc(vector(1,2))", "(call [(mat 2x1 1 2)] (mmuls:2x1 $1:2x1 2))"},
    }, definitions);
    expectErrors({
        {u"v(1)+1", 1, -1, 0},
        {u"v(1)/2", 1, -1, 0},
        {u"power(w, 2)", 1, -1, 0},
        {u"s(vector(1,2)) + 0", 5, 0, 0},
        {u"s(1) + v(1)", 1, -1, 0},
    }, definitions);
}

// Arguments are evaluated last-first, so parameter i starts
// (size of arguments 0..i) - 1 values below the frame base.
TEST(PrelinkExprLinkerTest, ParameterOffsetsCountArgumentSizes)
{
    Definitions definitions{u"f(x, y) = x - y", u"third(a, b, c) = c", u"second(a, b) = b", u"first(a, b) = a",
                            u"x = 10", u"g(x) = x + 1", u"h(t) = f(t, 1)"};
    expectTrees({
        {u"f(5, 2)", "(call [5 2] (ssub $0 $1))"},
        {u"third(1, 2, 3)", "(call [1 2 3] $2)"},
        {u"third(vector(1,2), vector(3,4,5), 6)", "(call [(mat 2x1 1 2) (mat 3x1 3 4 5) 6] $5)"},
        {u"second(vector(1,2), vector(3,4,5))", "(call [(mat 2x1 1 2) (mat 3x1 3 4 5)] $4:3x1)"},
        {u"first(matrix((1,2),(3,4)), 7)", "(call [(mat 2x2 1 3 2 4) 7] $3:2x2)"},
        // Parameters shadow globals; arguments may use the caller's parameters.
        {u"g(5)", "(call [5] (sadd $0 1))"},
        {u"h(7)", "(call [7] (call [$0 1] (ssub $0 $1)))"},
        {u"x + g(x)", "(sadd (call [] 10) (call [(call [] 10)] (sadd $0 1)))"},
    }, definitions);
}

TEST(PrelinkExprLinkerTest, ReportsTypeShapeAndNameErrors)
{
    Definitions definitions{u"f(x, y) = x - y", u"z = 1"};
    expectErrors({
        {u"vector(1,2)+vector(1,2,3)", 5, -1, 0},
        {u"vector(1,2)+1", 1, -1, 0},
        {u"1-vector(1,2)", 1, -1, 0},
        {u"vector(1,2)/2", 1, -1, 0},
        {u"2/vector(1,2)", 1, -1, 0},
        {u"power(vector(1,2),2)", 1, -1, 0},
        {u"power(vector(1),2)", 1, -1, 0},
        {u"magnitude(3)", 1, -1, 0},
        {u"transpose(z)", 1, -1, 0},
        {u"normalize(2)", 1, -1, 0},
        {u"vector(5)+1", 1, -1, 0},
        {u"vector(1,2)*vector(1,2)", 5, -1, 0},
        {u"matrix((1,2,3))*matrix((1,2))", 5, -1, 0},
        {u"dot(vector(1,2),vector(1,2,3))", 5, -1, 0},
        {u"dot(2,3)", 1, -1, 0},
        {u"dot(vector(1,2),transpose(vector(1,2)))", 5, -1, 0},
        // The enclosing node marks the operand that failed.
        {u"2*(vector(1,2)+1)", 1, 14, 1},
        {u"1+magnitude(2)", 1, 2, 0},
        {u"f(1)", 8, 0, 0},
        {u"1 + f(1, 2, 3)", 8, 4, 0},
        {u"z(1)", 8, 0, 0},
        {u"f", 8, 0, 1},
        {u"g(1)", 2, 0, 0},
        {u"1+y", 2, 2, 1},
        {u"f(1, yy) * 2", 2, 5, 2},
        {u"inverse(vector(1,2))", 2, 0, 0},
        {u"Sin(1)", 2, 0, 0},
    }, definitions);
}

TEST(PrelinkExprLinkerTest, RejectsLiteralElementsThatAreNotScalars)
{
    Definitions definitions{u"v(t) = vector(t, t)", u"bad = vector(1, vector(2, 3))"};
    expectErrors({
        {u"vector(vector(1,2), 3)", 4, 7, 0},
        {u"vector(1, sin(vector(1,2)))", 4, 10, 0},
        {u"matrix((1, v(2)), (3, 4))", 4, 11, 0},
        {u"vector(1, 2) + bad", 4, 15, 3},
    }, definitions);
    expectTrees({
        {u"vector(magnitude(v(1)), dot(v(1), v(2)))", "(mat 2x1 (mag (call [1] (mat 2x1 $0 $0))) (dot (call [1] (mat 2x1 $0 $0)) (call [2] (mat 2x1 $0 $0))))"},
        {u"vector(transpose(vector(1))*2)", "(mat 1x1 (mmuls:1x1 (tr:1x1 (mat 1x1 1)) 2))"},
    }, definitions);
}

// Errors inside stored definitions are shown at the outermost use in the
// typed text, never at an offset into the definition's own text.
TEST(PrelinkExprLinkerTest, LocatesDefinitionErrorsAtTheirUse)
{
    Definitions definitions{u"a = vector(1,2) + 1", u"b = c + 1", u"d = b * 2", u"k(t) = t + vector(1, 2)",
                            u"f(x, y) = x - y", u"x = y + 1", u"y = x * 2", u"m = 2 * magnitude(1)"};
    expectErrors({
        {u"2 * a", 1, 4, 1},
        {u"5+b", 2, 2, 1},
        {u"  d", 2, 2, 1},
        {u"k(3)", 1, 0, 0},
        {u"f(1, a)", 1, 5, 1},
        {u"f(d, 1)", 2, 2, 1},
        {u"1+x", 3, 2, 1},
        {u"m", 1, 0, 1},
    }, definitions);
}

TEST(PrelinkExprLinkerTest, BindsDefinitionsLateAndLeavesInputsUnchanged)
{
    Definitions definitions{u"x = 2"};
    Prelink* tree = parseText(u"x*3");
    ASSERT_NE(tree, nullptr);
    Error error;
    Expr* first = PrelinkExprLinker::link(tree, definitions.get(), &error);
    ASSERT_EQ(error.code, 0);

    definitions.define(u"x = vector(1, 2)");
    Expr* second = PrelinkExprLinker::link(tree, definitions.get(), &error);
    EXPECT_EQ(ExprPrinter::print(first), "(smul (call [] 2) 3)");
    EXPECT_EQ(ExprPrinter::print(second), "(mmuls:2x1 (call [] (mat 2x1 1 2)) 3)");

    definitions.define(u"x = vector(1, 2) + 1");
    Expr* third = PrelinkExprLinker::link(tree, definitions.get(), &error);
    EXPECT_EQ(third, nullptr);
    EXPECT_EQ(error.code, 1);
    EXPECT_EQ(error.start, 0);
    error.reset();
    definitions.define(u"x = 4");
    Expr* fourth = PrelinkExprLinker::link(tree, definitions.get(), &error);
    EXPECT_EQ(ExprPrinter::print(fourth), "(smul (call [] 4) 3)");
    EXPECT_EQ(error.code, 0);
    delete first;
    delete second;
    delete fourth;
    delete tree;
}

TEST(PrelinkExprLinkerTest, AnEarlierCodeStopsLinking)
{
    Definitions definitions;
    Prelink* tree = parseText(u"1+2");
    Error error;
    error.setCode(6);
    EXPECT_EQ(PrelinkExprLinker::link(tree, definitions.get(), &error), nullptr);
    EXPECT_EQ(error.code, 6);
    delete tree;
}

// A graph expression: the body of a function of the graph's variables,
// called with one constant per variable. Its body is the typed text.
TEST(PrelinkExprLinkerTest, LinksAFunctionBodyForACall)
{
    Definitions definitions{u"z = 3", u"x = x + 1", u"v(t) = vector(t, 1) + 1"};
    struct Case {
        std::u16string body;
        std::string tree;
        int code;
        int start;
    } const cases[] = {
        {u"x*y + z", "(sadd (smul $0 $1) (call [] 3))", 0, -1},
        {u"vector(x, y, 0)", "(mat 3x1 $0 $1 0)", 0, -1},
        {u"x + q(1)", "<null>", 2, 4},
        {u"y + v(x)", "<null>", 1, 4},
    };
    for (auto const& c : cases) {
        SCOPED_TRACE(TestSupport::toUtf8(c.body));
        auto* function = new Function();
        for (char16_t const* name : {u"x", u"y"}) {
            NyCore::String* param = TestSupport::makeString(name);
            function->addParam(param);
            string_free(param);
        }
        function->setBody(parseText(c.body));
        auto* call = new UserCall(2);
        call->arguments[0] = new Constant(1.0);
        call->arguments[1] = new Constant(1.0);
        Error error;
        call->body = PrelinkExprLinker::link(function, call, definitions.get(), &error);
        EXPECT_EQ(ExprPrinter::print(call->body), c.tree);
        EXPECT_EQ(error.code, c.code);
        EXPECT_EQ(error.start, c.start);
        delete call;
        delete function;
    }

    auto* function = new Function();
    function->setBody(parseText(u"1"));
    auto* call = new UserCall(1);
    call->arguments[0] = new Constant(1.0);
    Error error;
    EXPECT_EQ(PrelinkExprLinker::link(function, call, definitions.get(), &error), nullptr);
    EXPECT_EQ(error.code, 8);
    delete call;
    delete function;
}

// Each use links its own copy of the body: a(k) = a(k-1) + a(k-1) doubles.
TEST(PrelinkExprLinkerTest, BoundsTheNodesOfOneLink)
{
    Definitions definitions{u"a0 = 1"};
    for (int k = 1; k <= 40; ++k)
        definitions.define(numbered(u"a", k) + u" = " + numbered(u"a", k - 1) + u" + " + numbered(u"a", k - 1));
    // a15 makes 2^17 - 2 nodes, a16 2^18 - 2, which is past the bound.
    int nodes = 0;
    Outcome fits = linkText(u"a15", definitions, &nodes);
    EXPECT_EQ(fits.code, 0);
    EXPECT_EQ(nodes, 131070);
    EXPECT_LT(131070, Vexadrome::Expressions::MaxLinkedNodes);
    EXPECT_GT(262142, Vexadrome::Expressions::MaxLinkedNodes);

    Outcome cases[] = {linkText(u"a16", definitions), linkText(u"1 + a40", definitions)};
    EXPECT_EQ(cases[0].code, TooComplex);
    EXPECT_EQ(cases[0].start, 0);
    EXPECT_EQ(cases[0].length, 3);
    EXPECT_EQ(cases[1].code, TooComplex);
    EXPECT_EQ(cases[1].start, 4);
    EXPECT_EQ(cases[1].tree, "<null>");
}

// p(i) = n1 + p(i+1) nests 2 levels per definition while the cycle search
// meets n1 early: the search stays within the depth bound, the link does not.
TEST(PrelinkExprLinkerTest, BoundsTheDepthOfOneLink)
{
    for (int last : {1998, 1999}) {
        SCOPED_TRACE(last);
        Definitions definitions{u"n0 = 1", u"n1 = n0 + 1"};
        definitions.define(numbered(u"p", last) + u" = n1");
        for (int i = last - 1; i >= 1; --i)
            definitions.define(numbered(u"p", i) + u" = n1 + " + numbered(u"p", i + 1));
        Prelink* tree = parseText(u"p1");
        Error error;
        EXPECT_FALSE(PrelinkCycleFinder::findCycle(tree, &error, definitions.get()));
        EXPECT_EQ(error.code, 0);
        Expr* linked = PrelinkExprLinker::link(tree, definitions.get(), &error);
        if (last == 1998) {
            EXPECT_NE(linked, nullptr);
            EXPECT_EQ(error.code, 0);
        } else {
            EXPECT_EQ(linked, nullptr);
            EXPECT_EQ(error.code, TooComplex);
            EXPECT_EQ(error.start, 0);
            EXPECT_EQ(error.length, 2);
        }
        delete linked;
        delete tree;
    }

    // The search enters the c chain from the top and meets c1500 again at the
    // end of the e chain; the link goes through all e and then all c.
    Definitions split{u"c0 = 1", u"e0 = c1500 + 1"};
    for (int k = 1; k <= 1500; ++k)
        split.define(numbered(u"c", k) + u" = " + numbered(u"c", k - 1) + u" + 1");
    for (int k = 1; k <= 1000; ++k)
        split.define(numbered(u"e", k) + u" = " + numbered(u"e", k - 1) + u" + 1");
    Prelink* tree = parseText(u"c1500 + e1000");
    Error error;
    EXPECT_FALSE(PrelinkCycleFinder::findCycle(tree, &error, split.get()));
    EXPECT_EQ(PrelinkExprLinker::link(tree, split.get(), &error), nullptr);
    EXPECT_EQ(error.code, TooComplex);
    EXPECT_EQ(error.start, 8);
    EXPECT_EQ(error.length, 5);
    delete tree;
}

}
