// Tests of the two analyses of linked trees: the stack depth that evaluation
// needs and whether a tree depends on "time".
#include <gtest/gtest.h>

#include <climits>
#include <functional>
#include <vector>

#include "tests/vexadrome/actions/expr_trees.h"
#include "vexadrome/actions/expr_calls_time.h"
#include "vexadrome/actions/expr_stack_counter.h"

using namespace ExprTrees;
using Vexadrome::Actions::ExprCallsTime;
using Vexadrome::Actions::ExprStackCounter;

namespace {

struct Case {
    char const* text;
    std::function<Expr*()> build;
    int expected;
};

}

TEST(ExprStackCounterTest, GreatestDepth)
{
    std::vector<Case> cases = {
        {"7", [] { return num(7); }, 1},
        {"1+2", [] { return add(num(1), num(2)); }, 2},
        {"1+(2+(3+4))", [] { return add(num(1), add(num(2), add(num(3), num(4)))); }, 4},
        {"((1+2)+3)+4", [] { return add(add(add(num(1), num(2)), num(3)), num(4)); }, 2},
        {"vector(1,2,3)", [] { return vec({num(1), num(2), num(3)}); }, 3},
        {"magnitude(vector(1,2,3))+1", [] { return add(new Magnitude(vec({num(1), num(2), num(3)})), num(1)); }, 3},
        {"dot(vector(1,2,3),vector(4,5,6))",
         [] { return new DotProduct(vec({num(1), num(2), num(3)}), vec({num(4), num(5), num(6)})); }, 6},
        {"matrix 2x2 times matrix 2x2", [] { return new MatrixMulM(mat(2, 2, {1, 2, 3, 4}), mat(2, 2, {5, 6, 7, 8})); },
         12},
        {"transpose(vector(1,2,3))", [] { return new Transpose(vec({num(1), num(2), num(3)})); }, 6},
        {"normalize(vector(1,2))", [] { return new Normalize(vec({num(1), num(2)})); }, 2},
        {"2*vector(1,2)", [] { return new MatrixMulS(vec({num(1), num(2)}), num(2)); }, 3},
        {"vector(1,2)+vector(3,4)", [] { return new MatrixAdd(vec({num(1), num(2)}), vec({num(3), num(4)})); }, 4},
        {"sin(vector(1,2))", [] { return fn(Sin, vec({num(1), num(2)})); }, 2},
        {"f(5,2), f(x,y)=x-y", [] { return call(sub(param(0), param(1)), {num(5), num(2)}); }, 4},
        {"f(vector(1,2,3)), f(v)=v+v", [] { return call(new MatrixAdd(param(2, 3), param(2, 3)), {vec({num(1), num(2), num(3)})}); },
         9},
        // 50000 x 1 times 1 x 50000: more values than an int counts.
        {"huge outer product", [] { return new MatrixMulM(param(0, 50000, 1), param(0, 1, 50000)); }, INT_MAX},
    };
    for (Case const& c : cases) {
        Expr* tree = c.build();
        EXPECT_EQ(ExprStackCounter::calculate(tree), c.expected) << c.text;
        delete tree;
    }
}

TEST(ExprCallsTimeTest, FindsTimeAnywhere)
{
    std::vector<Case> cases = {
        {"time(1)", [] { return fn(Time, num(1)); }, 1},
        {"sin(1)", [] { return fn(Sin, num(1)); }, 0},
        {"1+2", [] { return add(num(1), num(2)); }, 0},
        {"f(time(1)), f(a)=a", [] { return call(param(0), {fn(Time, num(1))}); }, 1},
        {"f(1), f(a)=a*time(a)", [] { return call(mul(param(0), fn(Time, param(0))), {num(1)}); }, 1},
        {"vector(1, sin(time(2)))", [] { return vec({num(1), fn(Sin, fn(Time, num(2)))}); }, 1},
        {"dot(v, transpose(w)) without time",
         [] { return new DotProduct(vec({num(1)}), new Transpose(vec({num(2)}))); }, 0},
    };
    for (Case const& c : cases) {
        Expr* tree = c.build();
        EXPECT_EQ(ExprCallsTime::search(tree), c.expected != 0) << c.text;
        delete tree;
    }
}
