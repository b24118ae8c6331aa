// Tests of the evaluator at its limits: long and deep texts through parser,
// linker and evaluator, trees as deep as the linker allows, trees too large
// to compile (evaluated node by node) and trees too large to evaluate at all.
#include <gtest/gtest.h>

#include "tests/vexadrome/actions/expr_trees.h"
#include "tests/vexadrome/actions/link_test_support.h"
#include "vexadrome/actions/expr_calls_time.h"
#include "vexadrome/actions/expr_value_calculator.h"
#include "vexadrome/expressions/limits.h"

using namespace ExprTrees;
using Vexadrome::Actions::ExprValueCalculator;
using Vexadrome::Expressions::MaxLinkDepth;
using Vexadrome::Parsing::Error;

namespace {

// Binds, evaluates compiled and walked; both must give expected.
void expectValue(Expr* tree, double expected, char const* text)
{
    SCOPED_TRACE(text);
    ExprValueCalculator calculator;
    calculator.bindTo(tree);
    Error error;
    calculator.calculate(&error);
    EXPECT_EQ(calculator.get$values()[0], expected);
    calculator.calculateByWalking(&error);
    EXPECT_EQ(calculator.get$values()[0], expected);
    EXPECT_EQ(error.code, 0);
    delete tree;
}

std::u16string repeat(std::u16string const& piece, int times)
{
    std::u16string text;
    for (int i = 0; i < times; ++i)
        text += piece;
    return text;
}

}

// Each text is the body of f(x, y), called as f(1, 0.5): the arguments are
// inputs of the program, so nothing folds and every operation runs.
TEST(EvaluatorLimitsTest, LongAndDeepTextsEvaluate)
{
    struct Case {
        char const* name;
        std::u16string body;
        double value;
    } const cases[] = {
        {"sum of 100,000 terms", u"x" + repeat(u"+x", 99999), 100000},
        {"product of 100,000 terms", repeat(u"2*y*", 50000) + u"x", 1},
        {"100,000 quotients", u"x" + repeat(u"/y/2", 50000), 1},
        {"sum of 25,000 products", repeat(u"x*x*-x+", 25000) + u"0", -25000},
        {"parentheses nested 1,000 deep", repeat(u"x+(", 1000) + u"x" + repeat(u")", 1000), 1001},
    };
    for (Case const& c : cases) {
        LinkTestSupport::Definitions definitions{u"f(x, y) = " + c.body};
        Error error;
        Expr* linked = LinkTestSupport::linkText(u"f(1, 0.5)", definitions, &error);
        ASSERT_NE(linked, nullptr) << c.name << ": code " << error.code;
        EXPECT_FALSE(Vexadrome::Actions::ExprCallsTime::search(linked)) << c.name;
        expectValue(linked, c.value, c.name);
    }
}

TEST(EvaluatorLimitsTest, DeepTrees)
{
    Expr* leftDeep = num(0);
    Expr* rightDeep = num(0);
    Expr* functions = num(-3);
    for (int i = 0; i < MaxLinkDepth; ++i) {
        leftDeep = add(leftDeep, num(1));
        rightDeep = sub(num(1), rightDeep);
        functions = fn(Abs, functions);
    }
    expectValue(leftDeep, MaxLinkDepth, "((0+1)+1)+...");
    expectValue(rightDeep, 0, "1-(1-(1-...))");
    expectValue(functions, 3, "abs(abs(...(-3)))");

    // f1(a) = f2(a+1), f2(a) = f3(a+1), ...: nested calls, each body a call.
    Expr* body = param(0);
    for (int i = 0; i < MaxLinkDepth / 3; ++i)
        body = call(body, {add(param(0), num(1))});
    expectValue(call(body, {num(5)}), 5 + MaxLinkDepth / 3, "nested calls");
}

TEST(EvaluatorLimitsTest, TreeTooLargeToCompileIsWalked)
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
    EXPECT_EQ(results[0], 12100);
    EXPECT_EQ(results[1], -7);
    EXPECT_EQ(results[2], 36300);
    EXPECT_EQ(results[3], -7);
    EXPECT_EQ(static_cast<Constant*>(root->arguments[0])->value, 2) << "the batch leaves the tree as it was";
    EXPECT_EQ(error.code, 0);
    delete root;
}

TEST(EvaluatorLimitsTest, TreeTooLargeToEvaluateIsReported)
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
    EXPECT_EQ(calculator.get$rowCount(), 0);
    EXPECT_EQ(calculator.get$colCount(), 0);
    delete tree;
}
