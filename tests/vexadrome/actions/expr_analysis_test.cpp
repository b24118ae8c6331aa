// Tests of the two analyses of linked trees: the stack depth that evaluation
// needs and whether a tree depends on "time".
#include <gtest/gtest.h>

#include <climits>

#include "tests/vexadrome/actions/expr_trees.h"
#include "tests/vexadrome/actions/link_test_support.h"
#include "vexadrome/actions/expr_calls_time.h"
#include "vexadrome/actions/expr_stack_counter.h"

using Vexadrome::Actions::ExprCallsTime;
using Vexadrome::Actions::ExprStackCounter;

TEST(ExprAnalysisTest, StackDepthAndTimeDependency)
{
    LinkTestSupport::Definitions definitions{u"f(x, y) = x - y", u"g(v) = v + v", u"id(a) = a", u"ft(a) = a*time(a)"};
    struct Case {
        char16_t const* text;
        int depth;   // of the value stack
        bool callsTime;
    } const cases[] = {
        {u"7", 1, false}, {u"1+2", 2, false}, {u"1+(2+(3+4))", 4, false}, {u"((1+2)+3)+4", 2, false},
        {u"1+2+3+4+5+6+7+8", 2, false}, {u"vector(1,2,3)", 3, false}, {u"magnitude(vector(1,2,3))+1", 3, false},
        {u"dot(vector(1,2,3),vector(4,5,6))", 6, false}, {u"matrix((1,2),(3,4))*matrix((5,6),(7,8))", 12, false},
        {u"transpose(vector(1,2,3))", 6, false}, {u"normalize(vector(1,2))", 2, false}, {u"2*vector(1,2)", 3, false},
        {u"vector(1,2)+vector(3,4)", 4, false}, {u"sin(vector(1,2))", 2, false}, {u"f(5,2)", 4, false},
        {u"g(vector(1,2,3))", 9, false}, {u"time(1)", 1, true}, {u"id(time(1))", 2, true}, {u"ft(1)", 3, true},
        {u"vector(1, sin(time(2)))", 2, true},
    };
    for (Case const& c : cases) {
        SCOPED_TRACE(TestSupport::toUtf8(c.text));
        Vexadrome::Parsing::Error error;
        LinkTestSupport::Expr* tree = LinkTestSupport::linkText(c.text, definitions, &error);
        ASSERT_NE(tree, nullptr) << error.code;
        EXPECT_EQ(ExprStackCounter::calculate(tree), c.depth);
        EXPECT_EQ(ExprCallsTime::search(tree), c.callsTime);
        delete tree;
    }
}

// 50000 x 1 times 1 x 50000: more values than an int counts.
TEST(ExprAnalysisTest, HugeDepthSaturates)
{
    using namespace ExprTrees;
    Expr* tree = new MatrixMulM(param(0, 50000, 1), param(0, 1, 50000));
    EXPECT_EQ(ExprStackCounter::calculate(tree), INT_MAX);
    delete tree;
}
