// Tests of the evaluator: the values of built-ins, operators and user calls
// on hand-built linked trees, each checked through the compiled program, the
// node-by-node walk and a one-point batch, which must agree to the bit.
#include <gtest/gtest.h>

#include <bit>
#include <cmath>
#include <cstdint>
#include <functional>
#include <limits>
#include <string>
#include <vector>

#include "nycore/math/math_functions.h"
#include "nycore/system/runtime.h"
#include "tests/support/child_process.h"
#include "tests/vexadrome/actions/expr_trees.h"
#include "vexadrome/actions/expr_value_calculator.h"

using namespace ExprTrees;
using Vexadrome::Actions::ExprValueCalculator;
using Vexadrome::Parsing::Error;

namespace {

double const Inf = std::numeric_limits<double>::infinity();
double const NaN = std::numeric_limits<double>::quiet_NaN();

struct Result {
    int rows = 0;
    int cols = 0;
    std::vector<double> values;
    int errorCode = 0;
};

std::vector<double> resultValues(ExprValueCalculator const& calculator)
{
    int size = calculator.get$rowCount() * calculator.get$colCount();
    return std::vector<double>(calculator.get$values(), calculator.get$values() + size);
}

bool sameBits(std::vector<double> const& a, std::vector<double> const& b)
{
    if (a.size() != b.size())
        return false;
    for (std::size_t i = 0; i < a.size(); ++i) {
        bool bothNaN = std::isnan(a[i]) && std::isnan(b[i]);
        if (std::bit_cast<std::uint64_t>(a[i]) != std::bit_cast<std::uint64_t>(b[i]) && !bothNaN)
            return false;
    }
    return true;
}

// Evaluates through the program; checks that the walk and a one-point batch
// give the same bits.
Result evaluate(Expr* root, std::uint32_t tickCount = 0)
{
    ExprValueCalculator calculator;
    calculator.bindTo(root);
    calculator.set$tickCount(tickCount);
    Error error;
    calculator.calculate(&error);
    Result result{calculator.get$rowCount(), calculator.get$colCount(), resultValues(calculator), error.code};

    calculator.calculateByWalking(&error);
    EXPECT_TRUE(sameBits(resultValues(calculator), result.values)) << "walk differs";

    std::vector<double const*> inputs;
    if (auto* rootCall = dynamic_cast<UserCall*>(root)) {
        for (int i = 0; i < rootCall->count; ++i) {
            auto* constant = dynamic_cast<Constant*>(rootCall->arguments[i]);
            inputs.push_back(constant ? &constant->value : nullptr);
        }
    }
    std::vector<double> batch(result.values.size() + 1, -7.0);
    calculator.calculateBatch(1, inputs.data(), batch.data(), static_cast<int>(result.values.size()));
    EXPECT_EQ(batch.back(), -7.0) << "batch wrote past its point";
    batch.pop_back();
    EXPECT_TRUE(sameBits(batch, result.values)) << "batch differs";
    EXPECT_EQ(error.code, 0);
    delete root;
    return result;
}

bool close(double actual, double expected)
{
    if (std::isnan(expected))
        return std::isnan(actual);
    return actual == expected || std::fabs(actual - expected) <= 1e-12 * std::fmax(1.0, std::fabs(expected));
}

struct Case {
    char const* text;
    std::function<Expr*()> build;
    int rows;
    int cols;
    std::vector<double> expected;
};

void checkCases(std::vector<Case> const& cases, std::uint32_t tickCount = 0)
{
    for (Case const& c : cases) {
        SCOPED_TRACE(c.text);
        Result result = evaluate(c.build(), tickCount);
        EXPECT_EQ(result.rows, c.rows);
        EXPECT_EQ(result.cols, c.cols);
        ASSERT_EQ(result.values.size(), c.expected.size());
        for (std::size_t i = 0; i < c.expected.size(); ++i)
            EXPECT_PRED2(close, result.values[i], c.expected[i]) << "value " << i;
    }
}

}

TEST(EvaluatorTest, OperatorsAndShapes)
{
    checkCases({
        {"1/0", [] { return div(num(1), num(0)); }, 1, 1, {Inf}},
        {"0/0", [] { return div(num(0), num(0)); }, 1, 1, {NaN}},
        {"1-2-3", [] { return sub(sub(num(1), num(2)), num(3)); }, 1, 1, {-4}},
        {"8/4/2", [] { return div(div(num(8), num(4)), num(2)); }, 1, 1, {1}},
        {"power(2,10)", [] { return pow(num(2), num(10)); }, 1, 1, {1024}},
        {"vector(1,2,3)", [] { return vec({num(1), num(2), num(3)}); }, 3, 1, {1, 2, 3}},
        {"matrix((1,2,3),(4,5,6))", [] { return mat(2, 3, {1, 2, 3, 4, 5, 6}); }, 2, 3, {1, 4, 2, 5, 3, 6}},
        {"transpose(matrix((1,2,3),(4,5,6)))", [] { return new Transpose(mat(2, 3, {1, 2, 3, 4, 5, 6})); }, 3, 2,
         {1, 2, 3, 4, 5, 6}},
        {"transpose(vector(1,2,3))", [] { return new Transpose(vec({num(1), num(2), num(3)})); }, 1, 3, {1, 2, 3}},
        {"matrix((1,2),(3,4))*matrix((5,6),(7,8))",
         [] { return new MatrixMulM(mat(2, 2, {1, 2, 3, 4}), mat(2, 2, {5, 6, 7, 8})); }, 2, 2, {19, 43, 22, 50}},
        {"matrix((1,2,3))*matrix((1,2),(3,4),(5,6))",
         [] { return new MatrixMulM(mat(1, 3, {1, 2, 3}), mat(3, 2, {1, 2, 3, 4, 5, 6})); }, 1, 2, {22, 28}},
        {"matrix((1,2),(3,4))*vector(1,2)",
         [] { return new MatrixMulM(mat(2, 2, {1, 2, 3, 4}), vec({num(1), num(2)})); }, 2, 1, {5, 11}},
        {"transpose(vector(1,2))*vector(3,4)",
         [] { return new MatrixMulM(new Transpose(vec({num(1), num(2)})), vec({num(3), num(4)})); }, 1, 1, {11}},
        {"2*vector(1,2)", [] { return new MatrixMulS(vec({num(1), num(2)}), num(2)); }, 2, 1, {2, 4}},
        {"-vector(1,2)", [] { return new MatrixMulS(vec({num(1), num(2)}), num(-1)); }, 2, 1, {-1, -2}},
        {"vector(1,2)+vector(10,20)", [] { return new MatrixAdd(vec({num(1), num(2)}), vec({num(10), num(20)})); },
         2, 1, {11, 22}},
        {"matrix((1,2))-matrix((5,7))", [] { return new MatrixSub(mat(1, 2, {1, 2}), mat(1, 2, {5, 7})); }, 1, 2,
         {-4, -5}},
        {"magnitude(vector(3,4))", [] { return new Magnitude(vec({num(3), num(4)})); }, 1, 1, {5}},
        {"magnitude(matrix((1,2),(2,4)))", [] { return new Magnitude(mat(2, 2, {1, 2, 2, 4})); }, 1, 1, {5}},
        {"dot(vector(1,2,3),vector(4,5,6))",
         [] { return new DotProduct(vec({num(1), num(2), num(3)}), vec({num(4), num(5), num(6)})); }, 1, 1, {32}},
        {"normalize(vector(3,4))", [] { return new Normalize(vec({num(3), num(4)})); }, 2, 1, {0.6, 0.8}},
        {"normalize(matrix((0,3),(4,0)))", [] { return new Normalize(mat(2, 2, {0, 3, 4, 0})); }, 2, 2,
         {0, 0.8, 0.6, 0}},
        {"normalize(vector(0,0))", [] { return new Normalize(vec({num(0), num(0)})); }, 2, 1, {0, 0}},
        // Sums of squares that overflow or underflow are scaled; given
        // through parameters, the compiled program computes them at run time.
        {"magnitude(vector(1e200,1e200))", [] { return new Magnitude(vec({num(1e200), num(1e200)})); }, 1, 1,
         {1.4142135623730951e200}},
        {"f(a,b) = magnitude(vector(a,b)); f(1e200,-1e200)",
         [] { return call(new Magnitude(vec({param(0), param(1)})), {num(1e200), num(-1e200)}); }, 1, 1,
         {1.4142135623730951e200}},
        {"f(1e-200,1e-200)", [] { return call(new Magnitude(vec({param(0), param(1)})), {num(1e-200), num(1e-200)}); },
         1, 1, {1.4142135623730951e-200}},
        {"f(5e-324,0)", [] { return call(new Magnitude(vec({param(0), param(1)})), {num(5e-324), num(0)}); }, 1, 1,
         {5e-324}},
        {"f(1.5e308,1.5e308) is past the largest number",
         [] { return call(new Magnitude(vec({param(0), param(1)})), {num(1.5e308), num(1.5e308)}); }, 1, 1, {Inf}},
        {"f(inf,1)", [] { return call(new Magnitude(vec({param(0), param(1)})), {num(Inf), num(1)}); }, 1, 1, {Inf}},
        {"g(a,b) = normalize(vector(a,b)); g(1e200,1e200)",
         [] { return call(new Normalize(vec({param(0), param(1)})), {num(1e200), num(1e200)}); }, 2, 1,
         {0.7071067811865475, 0.7071067811865475}},
        {"g(-3e-200,4e-200)", [] { return call(new Normalize(vec({param(0), param(1)})), {num(-3e-200), num(4e-200)}); },
         2, 1, {-0.6, 0.8}},
        {"vector(1, vector(7,8), 3): an element keeps its first value",
         [] { return vec({num(1), vec({num(7), num(8)}), num(3)}); }, 3, 1, {1, 7, 3}},
    });
}

TEST(EvaluatorTest, MathFunctions)
{
    checkCases({
        {"sin(vector(0,0))", [] { return fn(Sin, vec({num(0), num(0)})); }, 2, 1, {0, 0}},
        {"abs(vector(-1,2))", [] { return fn(Abs, vec({num(-1), num(2)})); }, 2, 1, {1, 2}},
        {"sqrt(matrix((4,9)))", [] { return fn(Sqrt, mat(1, 2, {4, 9})); }, 1, 2, {2, 3}},
        {"sqrt(-1)", [] { return fn(Sqrt, num(-1)); }, 1, 1, {NaN}},
        {"ln(0)", [] { return fn(Ln, num(0)); }, 1, 1, {-Inf}},
        {"acos(2)", [] { return fn(1, num(2)); }, 1, 1, {NaN}},
        {"dtor(180)", [] { return fn(Dtor, num(180)); }, 1, 1, {NyCore::Math::PI}},
        {"rtod(dtor(33))", [] { return fn(Rtod, fn(Dtor, num(33))); }, 1, 1, {33}},
        {"exp(1)", [] { return fn(Exp, num(1)); }, 1, 1, {std::exp(1.0)}},
        {"tanh(vector(0.5))", [] { return fn(Tanh, vec({num(0.5)})); }, 1, 1, {std::tanh(0.5)}},
    });
}

TEST(EvaluatorTest, UserCallsAndParameters)
{
    checkCases({
        // f(x, y) = x - y: parameter order survives the last-first evaluation.
        {"f(5, 2), f(x,y)=x-y", [] { return call(sub(param(0), param(1)), {num(5), num(2)}); }, 1, 1, {3}},
        {"x*3, x=2", [] { return mul(call(num(2), {}), num(3)); }, 1, 1, {6}},
        // f(v, s) = v*s: v's block is the topmost, s lies below it.
        {"f(vector(1,2,3), 2), f(v,s)=v*s",
         [] { return call(new MatrixMulS(param(2, 3), param(3)), {vec({num(1), num(2), num(3)}), num(2)}); }, 3, 1,
         {2, 4, 6}},
        {"f(2, vector(1,2,3)), f(s,v)=v*s",
         [] { return call(new MatrixMulS(param(3, 3), param(0)), {num(2), vec({num(1), num(2), num(3)})}); }, 3, 1,
         {2, 4, 6}},
        {"f(matrix((1,2),(3,4)), vector(1,1)), f(m,v)=m*v-v",
         [] {
             return call(new MatrixSub(new MatrixMulM(param(3, 2, 2), param(5, 2, 1)), param(5, 2, 1)),
                         {mat(2, 2, {1, 2, 3, 4}), vec({num(1), num(1)})});
         },
         2, 1, {2, 6}},
        // g(x) = h(x+1, x), h(p, q) = p*q - q: arguments use the caller's parameters.
        {"g(3)",
         [] {
             Expr* h = call(sub(mul(param(0), param(1)), param(1)), {add(param(0), num(1)), param(0)});
             return call(h, {num(3)});
         },
         1, 1, {9}},
        {"f(vector(3,4)) with a vector body, f(v)=normalize(v)*magnitude(v)",
         [] {
             return call(new MatrixMulS(new Normalize(param(1, 2)), new Magnitude(param(1, 2))),
                         {vec({num(3), num(4)})});
         },
         2, 1, {3, 4}},
        {"f(1, 2, 3) unused parameters, f(a,b,c)=b", [] { return call(param(1), {num(1), num(2), num(3)}); }, 1, 1,
         {2}},
    });
}

TEST(EvaluatorTest, TimeIsASawtoothOfTheTickCount)
{
    double const maxPeriod = 2147483647.0;
    checkCases({
        {"time(1)", [] { return fn(Time, num(1)); }, 1, 1, {0.5}},
        {"time(2)", [] { return fn(Time, num(2)); }, 1, 1, {0.75}},
        {"time(0.5)", [] { return fn(Time, num(0.5)); }, 1, 1, {0.0}},
        {"time(0.3)", [] { return fn(Time, num(0.3)); }, 1, 1, {0.0}},
        {"time(0.7)", [] { return fn(Time, num(0.7)); }, 1, 1, {100.0 / 700.0}},
        {"time(0)", [] { return fn(Time, num(0)); }, 1, 1, {0.0}},
        {"time(0.0005)", [] { return fn(Time, num(0.0005)); }, 1, 1, {0.0}},
        {"time(-1)", [] { return fn(Time, num(-1)); }, 1, 1, {0.0}},
        {"time(0/0)", [] { return fn(Time, div(num(0), num(0))); }, 1, 1, {0.0}},
        {"time(1/0)", [] { return fn(Time, div(num(1), num(0))); }, 1, 1, {1500.0 / maxPeriod}},
        {"time(1e300)", [] { return fn(Time, num(1e300)); }, 1, 1, {1500.0 / maxPeriod}},
        {"time(vector(1, 2))", [] { return fn(Time, vec({num(1), num(2)})); }, 2, 1, {0.5, 0.75}},
    }, 1500);

    // The tick count is read at every calculate, never folded into the program.
    Expr* tree = mul(fn(Time, num(1)), num(2));
    ExprValueCalculator calculator;
    calculator.bindTo(tree);
    Error error;
    calculator.set$tickCount(250);
    calculator.calculate(&error);
    EXPECT_EQ(calculator.get$values()[0], 0.5);
    calculator.calculate(&error);
    EXPECT_EQ(calculator.get$values()[0], 0.5) << "twice without a new tick count";
    calculator.set$tickCount(100250);
    calculator.calculate(&error);
    EXPECT_EQ(calculator.get$values()[0], 0.5);
    calculator.set$tickCount(999);
    calculator.calculate(&error);
    EXPECT_EQ(calculator.get$values()[0], 1.998);
    delete tree;
}

TEST(EvaluatorTest, ResultOutlivesTheTree)
{
    ExprValueCalculator calculator;
    Expr* tree = new MatrixMulS(vec({num(1), num(2), num(3)}), num(10));
    calculator.bindTo(tree);
    Error error;
    calculator.calculate(&error);
    delete tree;
    EXPECT_EQ(calculator.get$rowCount(), 3);
    EXPECT_EQ(calculator.get$colCount(), 1);
    double out[5] = {-1, -1, -1, -1, -1};
    calculator.copyResult(out, 1);
    EXPECT_EQ(std::vector<double>(out, out + 5), (std::vector<double>{-1, 10, 20, 30, -1}));

    calculator.cleanup();
    EXPECT_EQ(calculator.get$values(), nullptr);
    EXPECT_EQ(calculator.get$rowCount() * calculator.get$colCount(), 0);
}

TEST(EvaluatorTest, GraphInputsAreReadAtEveryCalculate)
{
    // f(x, y) = x*x + y, bound once, evaluated at several points.
    UserCall* root = call(add(mul(param(0), param(0)), param(1)), {num(1), num(1)});
    ExprValueCalculator calculator;
    calculator.bindTo(root);
    EXPECT_TRUE(calculator.get$isCompiled());
    Error error;
    struct Point {
        double x, y, expected;
    };
    for (Point p : {Point{1, 1, 2}, Point{3, -1, 8}, Point{-2, 0.5, 4.5}}) {
        static_cast<Constant*>(root->arguments[0])->value = p.x;
        static_cast<Constant*>(root->arguments[1])->value = p.y;
        calculator.calculate(&error);
        EXPECT_EQ(calculator.get$values()[0], p.expected) << p.x << ", " << p.y;
    }
    delete root;
}

TEST(EvaluatorTest, FoldsConstantsAndMergesRepeatedWork)
{
    struct Counts {
        char const* text;
        std::function<Expr*()> build;
        int uniform;
        int varying;
    };
    std::vector<Counts> cases = {
        {"1+2*3", [] { return add(num(1), mul(num(2), num(3))); }, 0, 0},
        {"magnitude(vector(3,4))", [] { return new Magnitude(vec({num(3), num(4)})); }, 0, 0},
        {"time(1)*2", [] { return mul(fn(Time, num(1)), num(2)); }, 2, 0},
        {"time(1)+time(1)", [] { return add(fn(Time, num(1)), fn(Time, num(1))); }, 2, 0},
        {"f(x)=sin(x)+sin(x)", [] { return call(add(fn(Sin, param(0)), fn(Sin, param(0))), {num(0)}); }, 0, 2},
        {"f(x)=x*(2+3)+time(1)", [] { return call(add(mul(param(0), add(num(2), num(3))), fn(Time, num(1))), {num(0)}); },
         1, 2},
        {"f(x)=g(x*2, x), g(a,b)=b", [] { return call(call(param(1), {mul(param(0), num(2)), param(0)}), {num(0)}); }, 0,
         0},
        {"f(2+1) folds a computed argument", [] { return call(mul(param(0), param(0)), {add(num(2), num(1))}); }, 0, 0},
    };
    for (Counts const& c : cases) {
        SCOPED_TRACE(c.text);
        Expr* tree = c.build();
        ExprValueCalculator calculator;
        calculator.bindTo(tree);
        ASSERT_TRUE(calculator.get$isCompiled());
        EXPECT_EQ(calculator.get$program()->get$uniformCount(), c.uniform);
        EXPECT_EQ(calculator.get$program()->get$varyingCount(), c.varying);
        delete tree;
    }
}

TEST(EvaluatorTest, BadParameterOffsetIsFatal)
{
    auto result = TestSupport::runInChild([] {
        Expr* tree = call(param(1, 2), {num(1)});
        ExprValueCalculator calculator;
        calculator.bindTo(tree);
    });
    EXPECT_TRUE(result.exited);
    EXPECT_EQ(result.exitCode, NyCore::System::FatalExitCode);
    EXPECT_NE(result.output.find("OutOfBoundsException"), std::string::npos) << result.output;
}
