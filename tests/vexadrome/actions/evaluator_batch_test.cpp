// Tests of batch evaluation: over random points, calculateBatch, calculate
// and the node-by-node walk give the same bits (NaNs aside: any NaN matches any
// NaN) for graph-like trees (a call of a function of the variables with one
// Constant argument per variable), and batches give known values.
#include <gtest/gtest.h>

#include <limits>
#include <random>
#include <vector>

#include "tests/vexadrome/actions/expr_trees.h"
#include "tests/vexadrome/actions/link_test_support.h"
#include "vexadrome/actions/expr_value_calculator.h"

using namespace ExprTrees;
using Vexadrome::Actions::ExprValueCalculator;
using Vexadrome::Parsing::Error;

namespace {

struct Case {
    std::u16string body;   // of b(x, y, t), linked as b(1, 1, 1)
    int points = 200;      // three full blocks and part of a fourth
};

std::vector<Case> cases()
{
    // Every math function of x/10, and a sum of x times 17000 different
    // constants: more constant lane blocks than the block program takes.
    std::u16string everyFunction = u"0";
    for (char16_t const* name : {u"abs", u"acos", u"asin", u"atan", u"cos", u"cosh", u"dtor", u"exp", u"ln", u"rtod",
                                 u"sin", u"sinh", u"sqrt", u"tan", u"tanh"})
        everyFunction += u"+" + std::u16string(name) + u"(x/10)";
    std::u16string manyConstants = u"0";
    for (int k = 0; k < 17000; ++k)
        manyConstants += u"+x*" + LinkTestSupport::numbered(u"", k) + u".5";
    return {
        {u"sin(x)*cos(y)+x/y"},
        {u"vector(x, y, x*y)"},
        {u"matrix((cos(t),-sin(t)),(sin(t),cos(t)))*vector(x,y)"},
        {u"power(x,2)+magnitude(vector(x,y))-sqrt(abs(y))"},
        {u"x*time(2)+time(y)+time(0.5)"},
        {u"normalize(vector(x,y,1))"},
        {u"transpose(vector(x,y))*matrix((1,2),(3,4))*vector(y,t)"},
        {u"dot(vector(x,y,t),vector(t,x,y))"},
        {u"g(vector(x,y,t), x*y)"},
        {u"3+time(1)"},
        {u"y"},
        {u"(x+1)*(x+1)/(x-1)+(x+1)"},
        {everyFunction},
        {manyConstants, 5},
    };
}


}

TEST(EvaluatorBatchTest, BatchPointAndWalkAgreeToTheBit)
{
    int const count = 200;
    std::mt19937_64 random(20240611);
    std::uniform_real_distribution<double> spread(-10.0, 10.0);
    double const specials[] = {0.0, -0.0, 1.0, -1.0, std::numeric_limits<double>::infinity(),
                               std::numeric_limits<double>::quiet_NaN(), 1e308, 5e-324};
    std::vector<double> inputs[3];
    for (auto& column : inputs) {
        for (int k = 0; k < count; ++k)
            column.push_back(k % 25 < 8 ? specials[k % 25] : spread(random));
    }
    double const* inputPointers[3] = {inputs[0].data(), inputs[1].data(), inputs[2].data()};

    for (Case const& c : cases()) {
        SCOPED_TRACE(TestSupport::toUtf8(c.body.substr(0, 60)));
        LinkTestSupport::Definitions definitions{u"b(x, y, t) = " + c.body, u"g(v, s) = v*s+v-transpose(transpose(v))"};
        Error linkError;
        auto* root = static_cast<UserCall*>(LinkTestSupport::linkText(u"b(1, 1, 1)", definitions, &linkError));
        ASSERT_NE(root, nullptr) << linkError.code;
        ExprValueCalculator calculator;
        calculator.bindTo(root);
        calculator.set$tickCount(1234567);
        EXPECT_TRUE(calculator.get$isCompiled());
        int size = calculator.get$rowCount() * calculator.get$colCount();
        int stride = size + 1;
        std::vector<double> batch(static_cast<std::size_t>(c.points * stride), -7.0);
        calculator.calculateBatch(c.points, inputPointers, batch.data(), stride);

        Error error;
        int mismatches = 0;
        for (int k = 0; k < c.points; ++k) {
            for (int i = 0; i < 3; ++i)
                static_cast<Constant*>(root->arguments[i])->value = inputs[i][k];
            calculator.calculate(&error);
            std::vector<double> point(calculator.get$values(), calculator.get$values() + size);
            calculator.calculateByWalking(&error);
            for (int v = 0; v < size; ++v) {
                double walked = calculator.get$values()[v];
                if (!LinkTestSupport::sameBits(point[v], walked) || !LinkTestSupport::sameBits(point[v], batch[k * stride + v]))
                    ++mismatches;
            }
            if (batch[k * stride + size] != -7.0)
                ++mismatches;
        }
        EXPECT_EQ(mismatches, 0);
        EXPECT_EQ(error.code, 0);
        delete root;
    }
}

// f(x, y) = x*y + time(2): uniform time with varying inputs, 130 points.
TEST(EvaluatorBatchTest, BlocksAndTimeMatchKnownValues)
{
    UserCall* root = call(add(mul(param(0), param(1)), fn(Time, num(2))), {num(0), num(0)});
    ExprValueCalculator calculator;
    calculator.bindTo(root);
    std::vector<double> xs, ys(130, 0.5), results(130, -7.0);
    for (int k = 0; k < 130; ++k)
        xs.push_back(k);
    double const* inputs[2] = {xs.data(), ys.data()};
    calculator.calculateBatch(0, inputs, results.data(), 1);
    EXPECT_EQ(results[0], -7.0);
    calculator.set$tickCount(3000);
    calculator.calculateBatch(130, inputs, results.data(), 1);
    for (int k = 0; k < 130; ++k)
        EXPECT_EQ(results[k], k * 0.5 + 0.5) << "point " << k;
    calculator.set$tickCount(3500);
    calculator.calculateBatch(2, inputs, results.data(), 1);
    EXPECT_EQ(results[0], 0.75);
    EXPECT_EQ(results[1], 1.25);
    delete root;
}
