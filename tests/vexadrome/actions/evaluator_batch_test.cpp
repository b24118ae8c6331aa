// Tests of batch evaluation: over random points, calculateBatch, calculate
// and the node-by-node walk give the same bits (NaNs aside: any NaN matches any
// NaN) for graph-like trees (a call of a function of the variables with one
// Constant argument per variable).
#include <gtest/gtest.h>

#include <bit>
#include <cmath>
#include <cstdint>
#include <functional>
#include <limits>
#include <random>
#include <vector>

#include "tests/vexadrome/actions/expr_trees.h"
#include "vexadrome/actions/expr_value_calculator.h"

using namespace ExprTrees;
using Vexadrome::Actions::ExprValueCalculator;
using Vexadrome::Parsing::Error;

namespace {

// The three graph variables as parameters of the body.
Expr* x() { return param(0); }
Expr* y() { return param(1); }
Expr* t() { return param(2); }

UserCall* graph(Expr* body) { return call(body, {num(1), num(1), num(1)}); }

// Sums the math functions 0 to 14 of a: every table entry in one tree.
Expr* everyMathFunction(Expr* (*a)())
{
    Expr* sum = fn(0, a());
    for (int index = 1; index < 15; ++index)
        sum = add(sum, fn(index, a()));
    return sum;
}

// A sum of the products of x by 17000 different constants, balanced so that it
// stays shallow: more constant lane blocks than the block program takes.
Expr* manyConstants(int first, int count)
{
    if (count == 1)
        return mul(x(), num(first + 0.5));
    return add(manyConstants(first, count / 2), manyConstants(first + count / 2, count - count / 2));
}

struct Case {
    char const* text;
    std::function<Expr*()> body;
    int points = 200;   // three full blocks and part of a fourth
};

std::vector<Case> const Cases = {
    {"sin(x)*cos(y)+x/y", [] { return add(mul(fn(Sin, x()), fn(Cos, y())), div(x(), y())); }},
    {"vector(x, y, x*y)", [] { return vec({x(), y(), mul(x(), y())}); }},
    {"matrix((cos(t),-sin(t)),(sin(t),cos(t)))*vector(x,y)",
     [] {
         Expr* rotation = mat(2, 2, {fn(Cos, t()), mul(num(-1), fn(Sin, t())), fn(Sin, t()), fn(Cos, t())});
         return new MatrixMulM(rotation, vec({x(), y()}));
     }},
    {"power(x,2)+magnitude(vector(x,y))-sqrt(abs(y))",
     [] { return sub(add(pow(x(), num(2)), new Magnitude(vec({x(), y()}))), fn(Sqrt, fn(Abs, y()))); }},
    {"x*time(2)+time(y)+time(0.5)",
     [] { return add(add(mul(x(), fn(Time, num(2))), fn(Time, y())), fn(Time, num(0.5))); }},
    {"normalize(vector(x,y,1))", [] { return new Normalize(vec({x(), y(), num(1)})); }},
    {"transpose(vector(x,y))*matrix((1,2),(3,4))*vector(y,t)",
     [] {
         return new MatrixMulM(new MatrixMulM(new Transpose(vec({x(), y()})), mat(2, 2, {1, 2, 3, 4})),
                               vec({y(), t()}));
     }},
    {"dot(vector(x,y,t),vector(t,x,y))", [] { return new DotProduct(vec({x(), y(), t()}), vec({t(), x(), y()})); }},
    {"g(vector(x,y,t), x*y), g(v,s)=v*s+v-transpose(transpose(v))",
     [] {
         Expr* body = new MatrixSub(new MatrixAdd(new MatrixMulS(param(2, 3), param(3)), param(2, 3)),
                                    new Transpose(new Transpose(param(2, 3))));
         return call(body, {vec({x(), y(), t()}), mul(x(), y())});
     }},
    {"3+time(1), no variable used", [] { return add(num(3), fn(Time, num(1))); }},
    {"y, a variable alone", [] { return y(); }},
    {"every math function of x/10", [] { return everyMathFunction([] { return div(x(), num(10)); }); }},
    {"(x+1)*(x+1)/(x-1)+(x+1)",
     [] { return add(div(mul(add(x(), num(1)), add(x(), num(1))), sub(x(), num(1))), add(x(), num(1))); }},
    {"x*0.5+x*1.5+... over 17000 constants", [] { return manyConstants(0, 17000); }, 5},
};

// The same bits, or both not a number: which of two NaN operands an addition
// hands on (and so the NaN's sign) is up to the C++ compiler, which may swap
// the operands of + and *.
bool sameBits(double a, double b)
{
    return std::bit_cast<std::uint64_t>(a) == std::bit_cast<std::uint64_t>(b) || (std::isnan(a) && std::isnan(b));
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

    for (Case const& c : Cases) {
        SCOPED_TRACE(c.text);
        UserCall* root = graph(c.body());
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
                if (!sameBits(point[v], walked) || !sameBits(point[v], batch[k * stride + v]))
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

TEST(EvaluatorBatchTest, BlocksAndTimeMatchKnownValues)
{
    // f(x, y) = x*y + time(2): uniform time with varying inputs, 130 points.
    UserCall* root = call(add(mul(x(), y()), fn(Time, num(2))), {num(0), num(0)});
    ExprValueCalculator calculator;
    calculator.bindTo(root);
    calculator.set$tickCount(3000);
    std::vector<double> xs, ys;
    for (int k = 0; k < 130; ++k) {
        xs.push_back(k);
        ys.push_back(0.5);
    }
    double const* inputs[2] = {xs.data(), ys.data()};
    std::vector<double> results(130);
    calculator.calculateBatch(130, inputs, results.data(), 1);
    for (int k = 0; k < 130; ++k)
        EXPECT_EQ(results[k], k * 0.5 + 0.5) << "point " << k;

    calculator.set$tickCount(3500);
    calculator.calculateBatch(2, inputs, results.data(), 1);
    EXPECT_EQ(results[0], 0.75);
    EXPECT_EQ(results[1], 1.25);

    results.assign(130, -7.0);
    calculator.calculateBatch(0, inputs, results.data(), 1);
    EXPECT_EQ(results[0], -7.0);
    delete root;
}
