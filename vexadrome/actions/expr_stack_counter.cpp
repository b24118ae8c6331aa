// Stack sizing of linked trees: every node adds what it leaves on the stack
// and what it needs above its operands while it works.
#include "vexadrome/actions/expr_stack_counter.h"

#include <climits>

namespace Vexadrome::Actions {

using namespace Expressions;

namespace {

// Far beyond any stack that could be allocated, and far below overflow.
constexpr std::int64_t DepthCap = std::int64_t(1) << 62;

}

int ExprStackCounter::calculate(Expr* root)
{
    ExprStackCounter counter;
    root->accept(&counter);
    return counter.greatest > INT_MAX ? INT_MAX : static_cast<int>(counter.greatest);
}

void ExprStackCounter::add(std::int64_t count)
{
    depth = depth + count > DepthCap ? DepthCap : depth + count;
    if (depth > greatest)
        greatest = depth;
}

void ExprStackCounter::countBinaryLeavingOne(Expr* left, Expr* right)
{
    visitBoth(left, right);
    subtract(1);
}

// The sizes are the depth changes: asking a call for its shape asks its body.
// The arguments are counted last to first, in the order they are evaluated:
// the deepest point depends on the order.
void ExprStackCounter::handleUserCall(UserCall* call)
{
    std::int64_t start = depth;
    for (int i = call->count - 1; i >= 0; --i)
        visit(call->arguments[i]);
    std::int64_t argumentValues = depth - start;
    visit(call->body);
    // The body's values move down over the arguments.
    subtract(argumentValues);
}

void ExprStackCounter::handleVariable(Variable* variable) { add(valueCount(variable)); }
void ExprStackCounter::handleConstant(double) { add(1); }

void ExprStackCounter::handleMagnitude(Expr* operand)
{
    visit(operand);
    subtract(valueCount(operand));
    add(1);
}

void ExprStackCounter::handleDotProduct(Expr* left, Expr* right)
{
    visitBoth(left, right);
    subtract(valueCount(left) + valueCount(right));
    add(1);
}

void ExprStackCounter::handleSingleAdd(Expr* left, Expr* right) { countBinaryLeavingOne(left, right); }
void ExprStackCounter::handleSingleSub(Expr* left, Expr* right) { countBinaryLeavingOne(left, right); }
void ExprStackCounter::handleSingleMul(Expr* left, Expr* right) { countBinaryLeavingOne(left, right); }
void ExprStackCounter::handleSingleDiv(Expr* left, Expr* right) { countBinaryLeavingOne(left, right); }
void ExprStackCounter::handleSinglePow(Expr* left, Expr* right) { countBinaryLeavingOne(left, right); }

void ExprStackCounter::handleTranspose(Expr* operand)
{
    visit(operand);
    add(valueCount(operand));
    subtract(valueCount(operand));
}

void ExprStackCounter::handleNormalize(Expr* operand) { visit(operand); }

void ExprStackCounter::handleMatrixAdd(Expr* left, Expr* right)
{
    visitBoth(left, right);
    subtract(valueCount(right));
}

void ExprStackCounter::handleMatrixSub(Expr* left, Expr* right)
{
    visitBoth(left, right);
    subtract(valueCount(right));
}

void ExprStackCounter::handleMatrixMulS(Expr* left, Expr* right) { countBinaryLeavingOne(left, right); }

void ExprStackCounter::handleMatrixMulM(Expr* left, Expr* right)
{
    visitBoth(left, right);
    add(static_cast<std::int64_t>(left->get$rowCount()) * right->get$colCount());
    subtract(valueCount(left) + valueCount(right));
}

}
