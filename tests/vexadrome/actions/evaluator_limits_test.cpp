// Tests of the evaluator at its limits: trees as deep as the linker allows,
// trees too large to compile (evaluated node by node) and trees too large to
// evaluate at all.
#include <gtest/gtest.h>

#include <vector>

#include "tests/vexadrome/actions/expr_trees.h"
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

Expr* ones(int n)
{
    std::vector<Expr*> elements;
    for (int i = 0; i < n * n; ++i)
        elements.push_back(num(1));
    return mat(n, n, elements);
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
    UserCall* root = call(mul(new Magnitude(new MatrixMulM(ones(110), ones(110))), param(0)), {num(2)});
    ExprValueCalculator calculator;
    calculator.bindTo(root);
    EXPECT_FALSE(calculator.get$isCompiled());
    Error error;
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
    // vector of 2100 times its transpose: 2100 x 2100 values and more.
    std::vector<Expr*> column;
    for (int i = 0; i < 2100; ++i)
        column.push_back(num(i));
    Expr* tree = new MatrixMulM(mat(2100, 1, column), new Transpose(mat(2100, 1, std::vector<Expr*>(column.size()))));
    // The transposed literal gets its own elements.
    auto* second = static_cast<MatrixValue*>(static_cast<Transpose*>(static_cast<MatrixMulM*>(tree)->right)->operand);
    for (int i = 0; i < 2100; ++i)
        second->elements[i] = num(i);

    ExprValueCalculator calculator;
    calculator.bindTo(tree);
    Error error;
    calculator.calculate(&error);
    EXPECT_EQ(error.code, Vexadrome::Parsing::ErrorCode::TooComplex);
    EXPECT_EQ(calculator.get$rowCount(), 0);
    EXPECT_EQ(calculator.get$colCount(), 0);
    delete tree;
}
