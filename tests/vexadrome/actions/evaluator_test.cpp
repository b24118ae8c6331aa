// Tests of the evaluator: the values of built-ins, operators and user calls,
// each checked through the compiled program, the node-by-node walk and a
// one-point batch, which must agree to the bit. Cases are typed text linked
// against one store of definitions; trees the linker never builds, and
// numbers the syntax cannot write, are built by hand. Then the limits: long
// and deep texts, trees as deep as the linker allows, trees too large to
// compile (walked node by node) and too large to evaluate at all; batches
// over random points, which must agree with the point and the walk to the
// bit (any NaN matching any NaN), and batches of known values; and the two
// analyses of linked trees: the stack depth of evaluation and the use of time.
#include <gtest/gtest.h>

#include <algorithm>
#include <climits>
#include <cmath>
#include <cstdint>
#include <cstring>
#include <functional>
#include <limits>
#include <random>
#include <string>
#include <tuple>
#include <vector>

#include "nycore/math/math_functions.h"
#include "tests/support/child_process.h"
#include "tests/vexadrome/actions/expr_trees.h"
#include "tests/vexadrome/actions/link_test_support.h"
#include "vexadrome/actions/expr_calls_time.h"
#include "vexadrome/actions/expr_machine_code.h"
#include "vexadrome/actions/expr_stack_counter.h"
#include "vexadrome/actions/expr_value_calculator.h"
#include "vexadrome/expressions/limits.h"

using namespace ExprTrees;
using Vexadrome::Actions::ExprCallsTime;
using Vexadrome::Actions::ExprMachineCode;
using Vexadrome::Actions::ExprStackCounter;
using Vexadrome::Actions::ExprValueCalculator;
using Vexadrome::Expressions::MaxLinkDepth;
using Vexadrome::Parsing::Error;

namespace {

double const Inf = std::numeric_limits<double>::infinity();
#if defined(__x86_64__) && defined(__linux__)
bool const MachineCodeExpected = true;
#else
bool const MachineCodeExpected = false;
#endif
double const NaN = std::numeric_limits<double>::quiet_NaN();

std::u16string repeat(std::u16string const& piece, int times)
{
    std::u16string text;
    for (int i = 0; i < times; ++i)
        text += piece;
    return text;
}

LinkTestSupport::Definitions& definitions()
{
    static LinkTestSupport::Definitions store{
        u"f(x, y) = x - y", u"two = 2", u"vs(v, s) = v*s", u"sv(s, v) = v*s", u"mv(m, v) = m*v - v",
        u"g(x) = h(x+1, x)", u"h(p, q) = p*q - q", u"nm(v) = normalize(v)*magnitude(v)", u"mid(a, b, c) = b",
        u"mag(a, b) = magnitude(vector(a, b))", u"norm(a, b) = normalize(vector(a, b))", u"sq(x) = x*x",
        u"tw(x) = sin(x) + sin(x)", u"cu(x) = power(x, 3) - 2*x + 1", u"pp(x) = x*x + x*3 - 2*x*x",
        u"tt(x) = x*(2+3) + time(1)", u"tp(x) = x + time(1)*2", u"first(a, b) = b", u"fg(x) = first(x*2, x)",
        // Long and deep bodies, called with arguments so that nothing folds and every operation runs.
        u"terms(x, y) = x" + repeat(u"+x", 99999), u"factors(x, y) = " + repeat(u"2*y*", 50000) + u"x",
        u"quotients(x, y) = x" + repeat(u"/y/2", 50000), u"products(x, y) = " + repeat(u"x*x*-x+", 25000) + u"0",
        u"nested(x, y) = " + repeat(u"x+(", 1000) + u"x" + repeat(u")", 1000)};
    return store;
}

// A tree of `levels` applications of `wrap` around `leaf`.
std::function<Expr*()> nested(int levels, std::function<Expr*()> leaf, std::function<Expr*(Expr*)> wrap)
{
    return [=] {
        Expr* tree = leaf();
        for (int i = 0; i < levels; ++i)
            tree = wrap(tree);
        return tree;
    };
}

// Sets how many runs come before machine code, for one scope.
class RunsBeforeMachineCode {
public:
    explicit RunsBeforeMachineCode(int runs) { ExprMachineCode::set$runsBefore(runs); }
    ~RunsBeforeMachineCode() { ExprMachineCode::set$runsBefore(ExprMachineCode::DefaultRunsBefore); }
};

std::vector<double> resultValues(ExprValueCalculator const& calculator)
{
    int size = calculator.get$rowCount() * calculator.get$colCount();
    return std::vector<double>(calculator.get$values(), calculator.get$values() + size);
}

bool sameBits(std::vector<double> const& a, std::vector<double> const& b)
{
    return std::equal(a.begin(), a.end(), b.begin(), b.end(), LinkTestSupport::sameBits);
}

bool close(double actual, double expected)
{
    if (std::isnan(expected))
        return std::isnan(actual);
    return actual == expected || std::fabs(actual - expected) <= 1e-12 * std::fabs(expected);
}

// A call of magnitude (or normalize) of vector(a, b) with a and b as arguments.
std::function<Expr*()> ofArguments(bool normalize, double a, double b)
{
    return [=] {
        Expr* v = vec({param(0), param(1)});
        return call(normalize ? static_cast<Expr*>(new Normalize(v)) : new Magnitude(v), {num(a), num(b)});
    };
}

struct Case {
    char const* text;
    int rows;
    int cols;
    std::vector<double> expected;
    std::function<Expr*()> build = nullptr;   // none: the text is linked
};

// Evaluates through the program and checks the values; the walk, a
// one-point batch and a second run (by machine code, where the program has
// it) must give the same bits.
void checkCases(std::vector<Case> const& cases, std::uint32_t tickCount = 0)
{
    RunsBeforeMachineCode firstRunBySteps(1);
    for (Case const& c : cases) {
        SCOPED_TRACE(c.text);
        Error error;
        std::u16string text(c.text, c.text + std::char_traits<char>::length(c.text));
        Expr* root = c.build ? c.build() : LinkTestSupport::linkText(text, definitions(), &error);
        ASSERT_NE(root, nullptr) << "code " << error.code;
        ExprValueCalculator calculator;
        calculator.bindTo(root);
        calculator.set$tickCount(tickCount);
        calculator.calculate(&error);
        std::vector<double> values = resultValues(calculator);
        EXPECT_EQ(std::pair(calculator.get$rowCount(), calculator.get$colCount()), std::pair(c.rows, c.cols));
        ASSERT_EQ(values.size(), c.expected.size());
        for (std::size_t i = 0; i < c.expected.size(); ++i)
            EXPECT_PRED2(close, values[i], c.expected[i]) << "value " << i;

        calculator.calculateByWalking(&error);
        EXPECT_TRUE(sameBits(resultValues(calculator), values)) << "walk differs";
        std::vector<double const*> inputs;
        if (auto* rootCall = dynamic_cast<UserCall*>(root)) {
            for (int i = 0; i < rootCall->count; ++i) {
                auto* constant = dynamic_cast<Constant*>(rootCall->arguments[i]);
                inputs.push_back(constant ? &constant->value : nullptr);
            }
        }
        std::vector<double> batch(values.size() + 1, -7.0);
        calculator.calculateBatch(1, inputs.data(), batch.data(), static_cast<int>(values.size()));
        EXPECT_EQ(batch.back(), -7.0) << "batch wrote past its point";
        batch.pop_back();
        EXPECT_TRUE(sameBits(batch, values)) << "batch differs";
        calculator.calculate(&error);
        EXPECT_TRUE(sameBits(resultValues(calculator), values)) << "second run differs";
        EXPECT_EQ(error.code, 0);
        // Every case that uses time calls it in its text.
        EXPECT_EQ(ExprCallsTime::search(root), std::strstr(c.text, "time(") != nullptr);
        delete root;
    }
}

}

TEST(EvaluatorTest, OperatorsFunctionsAndCalls)
{
    checkCases({
        {"1/0", 1, 1, {Inf}}, {"0/0", 1, 1, {NaN}}, {"1-2-3", 1, 1, {-4}}, {"8/4/2", 1, 1, {1}},
        {"8/-2*4", 1, 1, {-16}}, {"8/-2/2", 1, 1, {-2}}, {"-2*3+1", 1, 1, {-5}}, {"power(2,10)", 1, 1, {1024}},
        {"matrix((1,2,3),(4,5,6))", 2, 3, {1, 4, 2, 5, 3, 6}},
        {"transpose(matrix((1,2,3),(4,5,6)))", 3, 2, {1, 2, 3, 4, 5, 6}},
        {"transpose(vector(1,2,3))", 1, 3, {1, 2, 3}},
        {"matrix((1,2),(3,4))*matrix((5,6),(7,8))", 2, 2, {19, 43, 22, 50}},
        {"matrix((1,2,3))*matrix((1,2),(3,4),(5,6))", 1, 2, {22, 28}},
        {"matrix((1,2),(3,4))*vector(1,2)", 2, 1, {5, 11}}, {"transpose(vector(1,2))*vector(3,4)", 1, 1, {11}},
        {"2*vector(1,2)", 2, 1, {2, 4}}, {"-vector(1,2)", 2, 1, {-1, -2}},
        {"vector(1,2)+vector(10,20)", 2, 1, {11, 22}}, {"matrix((1,2))-matrix((5,7))", 1, 2, {-4, -5}},
        {"magnitude(vector(3,4))", 1, 1, {5}}, {"magnitude(matrix((1,2),(2,4)))", 1, 1, {5}},
        {"dot(vector(1,2,3),vector(4,5,6))", 1, 1, {32}}, {"normalize(vector(3,4))", 2, 1, {0.6, 0.8}},
        {"normalize(matrix((0,3),(4,0)))", 2, 2, {0, 0.8, 0.6, 0}}, {"normalize(vector(0,0))", 2, 1, {0, 0}},
        {"vector(1, vector(7,8), 3): an element keeps its first value", 3, 1, {1, 7, 3},
         [] { return vec({num(1), vec({num(7), num(8)}), num(3)}); }},
        // Sums of squares that overflow or underflow are scaled; given as
        // arguments, the compiled program computes them at run time.
        {"magnitude(vector(1e200,1e200))", 1, 1, {1.4142135623730951e200},
         [] { return new Magnitude(vec({num(1e200), num(1e200)})); }},
        {"mag(1e200,-1e200)", 1, 1, {1.4142135623730951e200}, ofArguments(false, 1e200, -1e200)},
        {"mag(1e-200,1e-200)", 1, 1, {1.4142135623730951e-200}, ofArguments(false, 1e-200, 1e-200)},
        {"mag(5e-324,0)", 1, 1, {5e-324}, ofArguments(false, 5e-324, 0)},
        {"mag(1.5e308,1.5e308) is past the largest number", 1, 1, {Inf}, ofArguments(false, 1.5e308, 1.5e308)},
        {"mag(inf,1)", 1, 1, {Inf}, ofArguments(false, Inf, 1)},
        {"norm(1e200,1e200)", 2, 1, {0.7071067811865475, 0.7071067811865475}, ofArguments(true, 1e200, 1e200)},
        {"norm(-3e-200,4e-200)", 2, 1, {-0.6, 0.8}, ofArguments(true, -3e-200, 4e-200)},
        {"mag(3, 4)", 1, 1, {5}}, {"norm(0, 0)", 2, 1, {0, 0}},
        {"sin(vector(0,0))", 2, 1, {0, 0}}, {"abs(vector(-1,2))", 2, 1, {1, 2}},
        {"sqrt(matrix((4,9)))", 1, 2, {2, 3}}, {"sqrt(-1)", 1, 1, {NaN}}, {"ln(0)", 1, 1, {-Inf}},
        {"acos(2)", 1, 1, {NaN}}, {"dtor(180)", 1, 1, {NyCore::Math::PI}}, {"rtod(dtor(33))", 1, 1, {33}},
        {"exp(1)", 1, 1, {2.718281828459045}}, {"tanh(vector(0.5))", 1, 1, {0.46211715726000974}},
        {"cos(0)+asin(1)+atan(1)", 1, 1, {1 + NyCore::Math::PI / 2 + NyCore::Math::PI / 4}},
        {"cosh(0)+sinh(0)+tan(0)", 1, 1, {1}},
        // Parameter order survives the last-first evaluation of arguments (f);
        // arguments may use the caller's parameters (g).
        {"f(5, 2)", 1, 1, {3}}, {"two*3", 1, 1, {6}}, {"vs(vector(1,2,3), 2)", 3, 1, {2, 4, 6}},
        {"sv(2, vector(1,2,3))", 3, 1, {2, 4, 6}}, {"mv(matrix((1,2),(3,4)), vector(1,1))", 2, 1, {2, 6}},
        {"g(3)", 1, 1, {9}}, {"nm(vector(3,4))", 2, 1, {3, 4}}, {"mid(1, 2, 3)", 1, 1, {2}},
        // The walk evaluates the deep first argument last, on top of the second.
        {"f(1+(2+(3+4)), 5)", 1, 1, {5}},
    });
}

TEST(EvaluatorTest, LongAndDeepTreesEvaluate)
{
    checkCases({
        // 100,000 terms, factors and quotients, 25,000 products, 1,000 nested parentheses.
        {"terms(1, 0.5)", 1, 1, {100000}},
        {"factors(1, 0.5)", 1, 1, {1}},
        {"quotients(1, 0.5)", 1, 1, {1}},
        {"products(1, 0.5)", 1, 1, {-25000}},
        {"nested(1, 0.5)", 1, 1, {1001}},
        // As deep as the linker links.
        {"((0+1)+1)+...", 1, 1, {MaxLinkDepth},
         nested(MaxLinkDepth, [] { return num(0); }, [](Expr* tree) { return add(tree, num(1)); })},
        {"1-(1-(1-...))", 1, 1, {0}, nested(MaxLinkDepth, [] { return num(0); }, [](Expr* tree) { return sub(num(1), tree); })},
        {"abs(abs(...(-3)))", 1, 1, {3}, nested(MaxLinkDepth, [] { return num(-3); }, [](Expr* tree) { return fn(Abs, tree); })},
        // f1(a) = f2(a+1), f2(a) = f3(a+1), ...: nested calls, each body a call.
        {"nested calls", 1, 1, {5 + MaxLinkDepth / 3}, [] {
             auto body = nested(MaxLinkDepth / 3, [] { return param(0); },
                                [](Expr* tree) { return call(tree, {add(param(0), num(1))}); });
             return call(body(), {num(5)});
         }},
    });
}

TEST(EvaluatorTest, TreeTooLargeToCompileIsWalked)
{
    // f(s) = magnitude(m*m)*s with m a 110 x 110 matrix of ones: every element
    // of m*m is 110, the magnitude 110 * 110.
    std::u16string row = u"(1" + repeat(u",1", 109) + u")";
    LinkTestSupport::Definitions definitions{u"m = matrix(" + row + repeat(u"," + row, 109) + u")", u"f(s) = magnitude(m*m)*s"};
    Error error;
    auto* root = static_cast<UserCall*>(LinkTestSupport::linkText(u"f(2)", definitions, &error));
    ASSERT_NE(root, nullptr) << error.code;
    ExprValueCalculator calculator;
    calculator.bindTo(root);
    EXPECT_FALSE(calculator.get$isCompiled());
    calculator.calculate(&error);
    EXPECT_EQ(calculator.get$values()[0], 24200);

    double const points[] = {1, 3};
    double const* inputs[] = {points};
    double results[4] = {-7, -7, -7, -7};
    calculator.calculateBatch(2, inputs, results, 2);
    EXPECT_EQ(std::vector<double>(results, results + 4), (std::vector<double>{12100, -7, 36300, -7}));
    EXPECT_EQ(static_cast<Constant*>(root->arguments[0])->value, 2) << "the batch leaves the tree as it was";
    EXPECT_EQ(error.code, 0);
    delete root;
}

TEST(EvaluatorTest, TreeTooLargeToEvaluateIsReported)
{
    // A column of 2100 values times its transpose: 2100 x 2100 values and more.
    std::u16string column = u"v = vector(0";
    for (int i = 1; i < 2100; ++i)
        column += u"," + LinkTestSupport::numbered(u"", i);
    LinkTestSupport::Definitions definitions{column + u")"};
    Error error;
    Expr* tree = LinkTestSupport::linkText(u"v*transpose(v)", definitions, &error);
    ASSERT_NE(tree, nullptr) << error.code;
    ExprValueCalculator calculator;
    calculator.bindTo(tree);
    calculator.calculate(&error);
    EXPECT_EQ(error.code, Vexadrome::Parsing::ErrorCode::TooComplex);
    EXPECT_EQ(std::pair(calculator.get$rowCount(), calculator.get$colCount()), std::pair(0, 0));
    delete tree;
}

TEST(EvaluatorTest, TimeIsASawtoothOfTheTickCount)
{
    checkCases({
        {"time(1)", 1, 1, {0.5}}, {"time(2)", 1, 1, {0.75}}, {"time(0.5)", 1, 1, {0.0}}, {"time(0.3)", 1, 1, {0.0}},
        {"time(0.7)", 1, 1, {100.0 / 700.0}}, {"time(0)", 1, 1, {0.0}}, {"time(0.0005)", 1, 1, {0.0}},
        {"time(-1)", 1, 1, {0.0}}, {"time(0/0)", 1, 1, {0.0}}, {"time(1/0)", 1, 1, {1500.0 / 2147483647.0}},
        {"time(1e300)", 1, 1, {1500.0 / 2147483647.0}, [] { return fn(Time, num(1e300)); }},
        {"time(vector(1, 2))", 2, 1, {0.5, 0.75}},
    }, 1500);

    // The tick count is read at every calculate, never folded into the program.
    Expr* tree = mul(fn(Time, num(1)), num(2));
    ExprValueCalculator calculator;
    calculator.bindTo(tree);
    Error error;
    for (std::uint32_t ticks : {250u, 250u, 100250u, 999u}) {
        calculator.set$tickCount(ticks);
        calculator.calculate(&error);
        EXPECT_EQ(calculator.get$values()[0], 2.0 * (ticks % 1000) / 1000.0) << ticks;
    }
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
    EXPECT_EQ(std::pair(calculator.get$rowCount(), calculator.get$colCount()), std::pair(3, 1));
    double out[5] = {-1, -1, -1, -1, -1};
    calculator.copyResult(out, 1);
    EXPECT_EQ(std::vector<double>(out, out + 5), (std::vector<double>{-1, 10, 20, 30, -1}));
    calculator.cleanup();
    EXPECT_EQ(calculator.get$values(), nullptr);
}

TEST(EvaluatorTest, FoldsConstantsAndMergesRepeatedWork)
{
    RunsBeforeMachineCode afterOneRun(1);
    struct Counts {
        char16_t const* text;
        int uniform;
        int varying;
    } const cases[] = {
        {u"1+2*3", 0, 0}, {u"magnitude(vector(3,4))", 0, 0}, {u"time(1)*2", 2, 0}, {u"time(1)+time(1)", 2, 0},
        {u"tw(0)", 0, 2}, {u"tt(0)", 1, 1}, {u"fg(0)", 0, 0}, {u"sq(2+1)", 0, 0}, {u"mag(1, 2)", 0, 3},
        // A cube, a product merged into the difference that reads it, a sum;
        // x*x is read twice and stays, x*3 and 2*x*x merge.
        {u"cu(0)", 0, 3}, {u"pp(0)", 0, 4},
        // A product of the tick alone stays in the part computed once per tick.
        {u"tp(0)", 2, 1},
    };
    for (Counts const& c : cases) {
        SCOPED_TRACE(TestSupport::toUtf8(c.text));
        Error error;
        Expr* tree = LinkTestSupport::linkText(c.text, definitions(), &error);
        ASSERT_NE(tree, nullptr);
        ExprValueCalculator calculator;
        calculator.bindTo(tree);
        ASSERT_TRUE(calculator.get$isCompiled());
        EXPECT_EQ(std::pair(calculator.get$program()->get$uniformCount(), calculator.get$program()->get$varyingCount()),
                  std::pair(c.uniform, c.varying));
        // Only a program with work per point is worth a page of machine code,
        // and only once it has run as often as runsBefore says.
        EXPECT_FALSE(calculator.get$program()->get$hasMachineCode());
        calculator.calculate(&error);
        EXPECT_EQ(calculator.get$program()->get$hasMachineCode(), c.varying > 0 && MachineCodeExpected);
        delete tree;
    }
}

TEST(EvaluatorTest, BadParameterOffsetIsFatal)
{
    TestSupport::expectException([] { ExprValueCalculator().bindTo(call(param(1, 2), {num(1)})); },
                                 "NyCore.OutOfBoundsException", "Index -1 is not within the range 0 to 0.");
}

namespace {

struct BatchCase {
    std::u16string body;   // of b(x, y, t), linked as b(1, 1, 1)
    int points = 200;      // three full blocks and part of a fourth
    // Whether the per-point part becomes machine code: not with a "time" of
    // the inputs, nor without any instruction per point.
    bool translatable = true;
};

std::vector<BatchCase> batchCases()
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
        {u"x*time(2)+time(y)+time(0.5)", 200, false},
        {u"normalize(vector(x,y,1))"},
        {u"transpose(vector(x,y))*matrix((1,2),(3,4))*vector(y,t)"},
        {u"dot(vector(x,y,t),vector(t,x,y))"},
        {u"g(vector(x,y,t), x*y)"},
        {u"3+time(1)", 200, false},
        {u"y", 200, false},
        {u"(x+1)*(x+1)/(x-1)+(x+1)"},
        // Squares and cubes, and products merged into sums and differences
        // on either side, chained through the register of the per-point steps.
        {u"power(x,3)-2*x+1+power(y,2)*power(t,3)"},
        {u"x*y-t*x+x*t-y-x*x*x*x+3*x*y*y"},
        {u"t-x*y+y*t*x-(x*t-y)/(y-x*t)"},
        {u"sqrt(x*x+y*y)*sin(t)-cos(power(x,2))"},
        // The previous result as the right operand of a difference, a
        // quotient and a power, and as both operands.
        {u"t/(x+y)-y/(x-t)+power(t,x+y)-power(x*y,t)"},
        {u"(x-y)*(x-y)-sqrt(sqrt(t*t))/(t*t)"},
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

    // Per point, by machine code where it can be built (after one run) and by the threaded steps.
    for (bool machineCode : {true, false})
    for (BatchCase const& c : batchCases()) {
        SCOPED_TRACE(TestSupport::toUtf8(c.body.substr(0, 60)) + (machineCode ? " (machine code)" : " (steps)"));
        RunsBeforeMachineCode runsBefore(machineCode ? 1 : 0);
        LinkTestSupport::Definitions definitions{u"b(x, y, t) = " + c.body, u"g(v, s) = v*s+v-transpose(transpose(v))"};
        Error linkError;
        auto* root = static_cast<UserCall*>(LinkTestSupport::linkText(u"b(1, 1, 1)", definitions, &linkError));
        ASSERT_NE(root, nullptr) << linkError.code;
        ExprValueCalculator calculator;
        calculator.bindTo(root);
        calculator.set$tickCount(1234567);
        EXPECT_TRUE(calculator.get$isCompiled());
        Error error;
        calculator.calculate(&error);
        EXPECT_EQ(calculator.get$program()->get$hasMachineCode(), machineCode && c.translatable && MachineCodeExpected);
        int size = calculator.get$rowCount() * calculator.get$colCount();
        int stride = size + 1;
        std::vector<double> batch(static_cast<std::size_t>(c.points * stride), -7.0);
        calculator.calculateBatch(c.points, inputPointers, batch.data(), stride);

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
    EXPECT_EQ(std::pair(results[0], results[1]), std::pair(0.75, 1.25));
    delete root;
}

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
        {u"f(1+(2+(3+4)),5)", 5, false},
        {u"g(vector(1,2,3))", 9, false}, {u"time(1)", 1, true}, {u"id(time(1))", 2, true}, {u"ft(1)", 3, true},
        {u"vector(1, sin(time(2)))", 2, true},
    };
    for (Case const& c : cases) {
        SCOPED_TRACE(TestSupport::toUtf8(c.text));
        Vexadrome::Parsing::Error error;
        LinkTestSupport::Expr* tree = LinkTestSupport::linkText(c.text, definitions, &error);
        ASSERT_NE(tree, nullptr) << error.code;
        EXPECT_EQ(std::pair(ExprStackCounter::calculate(tree), ExprCallsTime::search(tree)), std::pair(c.depth, c.callsTime));
        delete tree;
    }
}

// 50000 x 1 times 1 x 50000: more values than an int counts.
TEST(ExprAnalysisTest, HugeDepthSaturates)
{
    Expr* tree = new MatrixMulM(param(0, 50000, 1), param(0, 1, 50000));
    EXPECT_EQ(ExprStackCounter::calculate(tree), INT_MAX);
    delete tree;
}
