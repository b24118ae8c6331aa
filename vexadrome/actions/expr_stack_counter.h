// ExprStackCounter: how many value slots the evaluation of a linked tree
// needs at most, scratch blocks of products and transposes included.
#pragma once

#include <cstdint>

#include "vexadrome/expressions/expr.h"

namespace Vexadrome::Actions {

class ExprStackCounter : public Expressions::ExprHandler {
public:
    // The greatest depth of the value stack, saturated at the largest int.
    static int calculate(Expressions::Expr* root);

    void handleUserCall(Expressions::UserCall* call) override;
    void handleVariable(Expressions::Variable* variable) override;
    void handleConstant(double value) override;
    void handleMagnitude(Expressions::Expr* operand) override;
    void handleDotProduct(Expressions::Expr* left, Expressions::Expr* right) override;
    void handleSingleAdd(Expressions::Expr* left, Expressions::Expr* right) override;
    void handleSingleSub(Expressions::Expr* left, Expressions::Expr* right) override;
    void handleSingleMul(Expressions::Expr* left, Expressions::Expr* right) override;
    void handleSingleDiv(Expressions::Expr* left, Expressions::Expr* right) override;
    void handleSinglePow(Expressions::Expr* left, Expressions::Expr* right) override;
    void handleTranspose(Expressions::Expr* operand) override;
    void handleNormalize(Expressions::Expr* operand) override;
    void handleMatrixAdd(Expressions::Expr* left, Expressions::Expr* right) override;
    void handleMatrixSub(Expressions::Expr* left, Expressions::Expr* right) override;
    void handleMatrixMulS(Expressions::Expr* left, Expressions::Expr* right) override;
    void handleMatrixMulM(Expressions::Expr* left, Expressions::Expr* right) override;

private:
    void add(std::int64_t count);
    void subtract(std::int64_t count) { depth -= count; }
    void countBinaryLeavingOne(Expressions::Expr* left, Expressions::Expr* right);

    // 64-bit with a cap, so that absurd shapes cannot overflow the count.
    std::int64_t depth = 0;
    std::int64_t greatest = 0;
};

// The number of values of a node, in 64 bits (rows times columns may not fit in an int).
inline std::int64_t valueCount(Expressions::Expr const* node)
{
    return static_cast<std::int64_t>(node->get$rowCount()) * node->get$colCount();
}

}
