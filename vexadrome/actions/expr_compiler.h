// ExprCompiler: turns a linked tree into an ExprProgram. It follows the
// evaluation of the tree step by step on a stack of value ids instead of
// numbers, so parameters, user calls and matrices resolve at compile time;
// operations on constants are folded and repeated operations merged.
#pragma once

#include <cstdint>
#include <vector>

#include "vexadrome/actions/expr_id_table.h"
#include "vexadrome/actions/expr_program.h"
#include "vexadrome/expressions/expr.h"

namespace Vexadrome::Actions {

class ExprCompiler : public Expressions::ExprHandler {
public:
    // The most element steps one compilation may take; a larger tree is left
    // to the tree walk of the evaluator.
    static constexpr std::int64_t MaxCompileSteps = 1 << 20;

    // Compiles the tree into the (cleared) program. The Constant arguments of
    // a user call at the root become the program's inputs, read at every run.
    // False, and the program left empty, when the tree is too large. depth is
    // the tree's ExprStackCounter depth, which the caller has already counted.
    static bool compile(Expressions::Expr* root, int depth, ExprProgram* program);

    void handleMathCall(Expressions::Expr* operand, int index) override;
    void handleUserCall(Expressions::UserCall* call) override;
    void handleVariable(Expressions::Variable* variable) override;
    void handleConstant(double value) override;
    void handleMagnitude(Expressions::Expr* operand) override;
    void handleDeterminate(Expressions::Expr* operand) override;
    void handleDotProduct(Expressions::Expr* left, Expressions::Expr* right) override;
    void handleSingleAdd(Expressions::Expr* left, Expressions::Expr* right) override;
    void handleSingleSub(Expressions::Expr* left, Expressions::Expr* right) override;
    void handleSingleMul(Expressions::Expr* left, Expressions::Expr* right) override;
    void handleSingleDiv(Expressions::Expr* left, Expressions::Expr* right) override;
    void handleSinglePow(Expressions::Expr* left, Expressions::Expr* right) override;
    void handleMatrixVal(Expressions::MatrixValue* value) override;
    void handleInverse(Expressions::Expr* operand) override;
    void handleTranspose(Expressions::Expr* operand) override;
    void handleNormalize(Expressions::Expr* operand) override;
    void handleCross(Expressions::Expr* left, Expressions::Expr* right) override;
    void handleMatrixAdd(Expressions::Expr* left, Expressions::Expr* right) override;
    void handleMatrixSub(Expressions::Expr* left, Expressions::Expr* right) override;
    void handleMatrixMulS(Expressions::Expr* left, Expressions::Expr* right) override;
    void handleMatrixMulM(Expressions::Expr* left, Expressions::Expr* right) override;

private:
    struct InstructionKey {
        std::int32_t op, a, b, c;
        bool operator==(InstructionKey const&) const = default;
    };
    struct KeyHash {
        std::size_t operator()(InstructionKey const& key) const;
    };
    // Doubles' low bits are mostly zero: the bits are mixed before use.
    struct ConstantHash {
        std::size_t operator()(std::uint64_t bits) const;
    };

    ExprCompiler(Expressions::Expr* root, ExprProgram* program) : root(root), program(program) {}

    // Counts steps; false once the budget is spent (every handler then unwinds).
    bool spend(std::int64_t steps);
    void compileNode(Expressions::Expr* node)
    {
        if (!abandoned)
            visit(node);
    }
    int constant(double value);
    int emit(ExprOp::Enum op, int a, int b, int c);
    void push(int value) { stack.push_back(value); }
    int pop();
    // Index of the first of the top count values.
    int blockStart(std::int64_t count) const;
    void drop(std::int64_t count);
    void compileSingleBinary(ExprOp::Enum op, Expressions::Expr* left, Expressions::Expr* right);
    void compileElementwise(ExprOp::Enum op, Expressions::Expr* left, Expressions::Expr* right);
    // The sum of squares (or of products) of the top blocks, from 0 upwards.
    int sumOfProducts(int first, int second, int count);
    // The magnitude of the count values from stack index start.
    int magnitude(int start, int count);

    Expressions::Expr* root;
    ExprProgram* program;
    std::vector<int> stack;
    std::vector<int> scratch;
    int frameBase = 0;
    std::int64_t steps = 0;
    bool abandoned = false;
    ExprIdTable<std::uint64_t, ConstantHash> constantIds;
    ExprIdTable<InstructionKey, KeyHash> instructionIds;
};

}
