// Linked nodes: ownership and double dispatch into the visitor.
#include "vexadrome/expressions/expr.h"

#include <cstddef>

#include "nycore/system/memory.h"
#include "vexadrome/expressions/chain_links.h"

namespace Vexadrome::Expressions {

namespace {

Expr** allocateNodes(int count)
{
    return count > 0 ? static_cast<Expr**>(memory_alloc(sizeof(Expr*) * static_cast<std::size_t>(count))) : nullptr;
}

void deleteNodes(Expr** nodes, int count)
{
    for (int i = 0; i < count; ++i)
        delete nodes[i];
    memory_free(nodes);
}

// Destroys a left operand link by link: a sum of a million terms must not be
// destroyed by a million nested destructors.
void deleteLeftChain(Expr* next)
{
    while (next && next->leftOperand()) {
        Expr* link = next;
        next = *link->leftOperand();
        *link->leftOperand() = nullptr;
        delete link;
    }
    delete next;
}

}

SingleBinary::~SingleBinary()
{
    delete right;
    deleteLeftChain(left);
}

MatrixBinary::~MatrixBinary()
{
    delete right;
    deleteLeftChain(left);
}

void Constant::accept(ExprHandler* handler) { handler->handleConstant(value); }
void Magnitude::accept(ExprHandler* handler) { handler->handleMagnitude(operand); }
void SingleAdd::accept(ExprHandler* handler) { handler->handleSingleAdd(left, right); }
void SingleSub::accept(ExprHandler* handler) { handler->handleSingleSub(left, right); }
void SingleMul::accept(ExprHandler* handler) { handler->handleSingleMul(left, right); }
void SingleDiv::accept(ExprHandler* handler) { handler->handleSingleDiv(left, right); }
void SinglePower::accept(ExprHandler* handler) { handler->handleSinglePow(left, right); }
void DotProduct::accept(ExprHandler* handler) { handler->handleDotProduct(left, right); }

MatrixValue::MatrixValue(int rows, int cols) : Matrix(rows, cols), elements(allocateNodes(rows * cols)) {}
MatrixValue::~MatrixValue() { deleteNodes(elements, rowCount * colCount); }
void MatrixValue::accept(ExprHandler* handler) { handler->handleMatrixVal(this); }

void Transpose::accept(ExprHandler* handler) { handler->handleTranspose(operand); }
void Normalize::accept(ExprHandler* handler) { handler->handleNormalize(operand); }
void MatrixAdd::accept(ExprHandler* handler) { handler->handleMatrixAdd(left, right); }
void MatrixSub::accept(ExprHandler* handler) { handler->handleMatrixSub(left, right); }
void MatrixMulS::accept(ExprHandler* handler) { handler->handleMatrixMulS(left, right); }
void MatrixMulM::accept(ExprHandler* handler) { handler->handleMatrixMulM(left, right); }
void Variable::accept(ExprHandler* handler) { handler->handleVariable(this); }
void MathCall::accept(ExprHandler* handler) { handler->handleMathCall(operand, index); }

UserCall::UserCall(int count) : count(count), arguments(allocateNodes(count)) {}

UserCall::~UserCall()
{
    deleteNodes(arguments, count);
    delete body;
}

void UserCall::accept(ExprHandler* handler) { handler->handleUserCall(this); }

void ExprHandler::visitChain(Expr* node)
{
    ChainLinks<Expr> chain(node);
    visit(*chain[chain.size() - 1]->leftOperand());
    for (std::size_t i = chain.size(); i-- > 0;) {
        doneLeft = *chain[i]->leftOperand();
        chain[i]->accept(this);
        doneLeft = nullptr;
    }
}

void ExprHandler::handleMathCall(Expr* operand, int) { visit(operand); }

void ExprHandler::handleUserCall(UserCall* call)
{
    for (int i = 0; i < call->count; ++i)
        visit(call->arguments[i]);
    visit(call->body);
}

void ExprHandler::handleVariable(Variable*) {}
void ExprHandler::handleConstant(double) {}
void ExprHandler::handleMagnitude(Expr* operand) { visit(operand); }
void ExprHandler::handleDeterminate(Expr* operand) { visit(operand); }
void ExprHandler::handleDotProduct(Expr* left, Expr* right) { visitBoth(left, right); }
void ExprHandler::handleSingleAdd(Expr* left, Expr* right) { visitBoth(left, right); }
void ExprHandler::handleSingleSub(Expr* left, Expr* right) { visitBoth(left, right); }
void ExprHandler::handleSingleMul(Expr* left, Expr* right) { visitBoth(left, right); }
void ExprHandler::handleSingleDiv(Expr* left, Expr* right) { visitBoth(left, right); }
void ExprHandler::handleSinglePow(Expr* left, Expr* right) { visitBoth(left, right); }

void ExprHandler::handleMatrixVal(MatrixValue* value)
{
    for (int i = 0; i < value->rowCount * value->colCount; ++i)
        visit(value->elements[i]);
}

void ExprHandler::handleInverse(Expr* operand) { visit(operand); }
void ExprHandler::handleTranspose(Expr* operand) { visit(operand); }
void ExprHandler::handleNormalize(Expr* operand) { visit(operand); }
void ExprHandler::handleCross(Expr* left, Expr* right) { visitBoth(left, right); }
void ExprHandler::handleMatrixAdd(Expr* left, Expr* right) { visitBoth(left, right); }
void ExprHandler::handleMatrixSub(Expr* left, Expr* right) { visitBoth(left, right); }
void ExprHandler::handleMatrixMulS(Expr* left, Expr* right) { visitBoth(left, right); }
void ExprHandler::handleMatrixMulM(Expr* left, Expr* right) { visitBoth(left, right); }

}
