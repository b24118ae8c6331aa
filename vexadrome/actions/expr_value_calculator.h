// ExprValueCalculator: the value of a linked tree, computed as often as the
// caller likes. bindTo compiles the tree into a flat program (see
// ExprProgram) that calculate runs as machine code or threaded steps, and
// calculateBatch over blocks of points; the visitor operations below
// are the node-by-node evaluation on the value stack, used for trees too large
// to compile and as the plain statement of what every node computes.
#pragma once

#include <cstdint>

#include "vexadrome/actions/expr_program.h"
#include "vexadrome/expressions/expr.h"
#include "vexadrome/parsing/error.h"

namespace Vexadrome::Actions {

class ExprValueCalculator : public Expressions::ExprHandler {
public:
    // The most value slots an evaluation may use; a tree that needs more is
    // reported as too complex by calculate.
    static constexpr int MaxValueSlots = 1 << 22;

    ExprValueCalculator() = default;
    ~ExprValueCalculator() override;

    // Binds to a linked tree (borrowed) and allocates everything evaluation needs.
    void bindTo(Expressions::Expr* root);
    // Takes the platform clock's tick count for the "time" calls of the following evaluations.
    void updateTimeValue();
    // Evaluates; the result, rowCount * colCount values column-major, is at
    // get$values(). Records nothing except ErrorCode::TooComplex for a tree too
    // large to evaluate (its shape then reads 0 x 0).
    void calculate(Parsing::Error* error)
    {
        if (!compiled) {
            calculateByWalking(error);
            return;
        }
        program.run(tickCount, values);
        frameBase = 0;
        top = rowCount * colCount - 1;
    }
    // Evaluates count points at once: input i (the i-th argument of the root call) of point k is
    // inputs[i][k]; the result values of point k go to results[k * stride] ... results[k * stride + size - 1].
    // Only arguments that are Constant nodes are inputs; the entries of the others are not read.
    // get$values() is not defined afterwards until the next calculate.
    void calculateBatch(int count, double const* const* inputs, double* results, int stride);
    // The evaluation node by node, as calculate but without the compiled program.
    void calculateByWalking(Parsing::Error* error);
    // Copies the result values to out[at] upwards.
    void copyResult(double* out, int at) const;
    int get$rowCount() const { return rowCount; }
    int get$colCount() const { return colCount; }
    double const* get$values() const { return values; }
    std::uint32_t get$tickCount() const { return tickCount; }
    // Sets the tick count that "time" sees, as updateTimeValue does with the clock's.
    void set$tickCount(std::uint32_t ticks) { tickCount = ticks; }
    // Whether calculate runs a compiled program (false for trees too large to compile).
    bool get$isCompiled() const { return compiled; }
    ExprProgram const* get$program() const { return &program; }
    // Frees the value stack and the program; the calculator is unbound.
    void cleanup();

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
    void push(double value);
    // Index of the first of the top count values.
    int blockStart(std::int64_t count) const;
    // Makes sure count slots above the top are free for a scratch block.
    void reserveAbove(std::int64_t count) const;
    void walk();
    void walkSingleBinary(Expressions::Expr* left, Expressions::Expr* right);
    double sumOfProducts(int first, int second, int count) const;

    std::uint32_t tickCount = 0;
    int colCount = 0;
    int rowCount = 0;
    int frameBase = 0;
    int top = -1;
    Expressions::Expr* root = nullptr;
    double* values = nullptr;
    int slotCount = 0;
    bool tooComplex = false;
    bool compiled = false;
    ExprProgram program;
    // While calculateBatch walks the tree: the point whose inputs stand in
    // for the root call's Constant arguments.
    double const* const* walkInputs = nullptr;
    int walkPoint = 0;
};

}
