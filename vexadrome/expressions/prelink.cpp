// Unlinked nodes: ownership, heights and double dispatch into the visitor.
#include "vexadrome/expressions/prelink.h"

#include <algorithm>

#include "nycore/system/memory.h"
#include "vexadrome/expressions/chain_links.h"
#include "nycore/text/string_functions.h"

namespace Vexadrome::Expressions {

void PLConstant::accept(PrelinkHandler* handler) { handler->handleConstant(value); }

PLVariable::~PLVariable() { string_free(name); }
void PLVariable::accept(PrelinkHandler* handler) { handler->handleVariable(this); }

PLUnary::PLUnary(int start, Prelink* operand) : Prelink(start, 0), operand(operand)
{
    height = operand->height + 1;
}

PLUnary::~PLUnary() { delete operand; }

void PLMathCall::accept(PrelinkHandler* handler) { handler->handleMathCall(operand, index); }
void PLMagnitude::accept(PrelinkHandler* handler) { handler->handleMagnitude(operand); }
void PLNormalize::accept(PrelinkHandler* handler) { handler->handleNormalize(operand); }
void PLTranspose::accept(PrelinkHandler* handler) { handler->handleTranspose(operand); }

PLBinary::PLBinary(int start, int length, Prelink* left, Prelink* right) : Prelink(start, length), left(left), right(right)
{
    height = heightOver(left, right);
}

int PLBinary::heightOver(Prelink const* left, Prelink const* right)
{
    return std::max(left->height, right->height + 1);
}

// The left chain is taken apart link by link: a sum of a million terms must
// not be destroyed by a million nested destructors.
PLBinary::~PLBinary()
{
    delete right;
    Prelink* next = left;
    while (next && next->leftOperand()) {
        Prelink* link = next;
        next = *link->leftOperand();
        *link->leftOperand() = nullptr;
        delete link;
    }
    delete next;
}

void PrelinkAdd::accept(PrelinkHandler* handler) { handler->handleAdd(left, right); }
void PrelinkSub::accept(PrelinkHandler* handler) { handler->handleSub(left, right); }
void PrelinkMul::accept(PrelinkHandler* handler) { handler->handleMul(left, right); }
void PrelinkDiv::accept(PrelinkHandler* handler) { handler->handleDiv(left, right); }
void PrelinkPower::accept(PrelinkHandler* handler) { handler->handlePower(left, right); }
void PLDotProduct::accept(PrelinkHandler* handler) { handler->handleDotProduct(left, right); }

PLUserCall::PLUserCall(int start, NyCore::String* name, int count)
    : Prelink(start, 0), count(count), name(name),
      arguments(count > 0 ? static_cast<Prelink**>(memory_alloc(sizeof(Prelink*) * static_cast<std::size_t>(count))) : nullptr)
{
}

PLUserCall::~PLUserCall()
{
    for (int i = 0; i < count; ++i)
        delete arguments[i];
    memory_free(arguments);
    string_free(name);
}

void PLUserCall::accept(PrelinkHandler* handler) { handler->handleUserCall(this); }

void PLUserCall::setArgument(int i, Prelink* argument)
{
    arguments[i] = argument;
    height = std::max(height, argument->height + 1);
}

PLMatrixVal::PLMatrixVal(int start, int rows, int cols)
    : Prelink(start, 0), colCount(cols), rowCount(rows),
      elements(static_cast<Prelink**>(memory_alloc(sizeof(Prelink*) * static_cast<std::size_t>(rows) * static_cast<std::size_t>(cols))))
{
}

PLMatrixVal::~PLMatrixVal()
{
    for (int i = 0; i < rowCount * colCount; ++i)
        delete elements[i];
    memory_free(elements);
}

void PLMatrixVal::accept(PrelinkHandler* handler) { handler->handleMatrixVal(this); }

void PLMatrixVal::setElement(int r, int c, Prelink* element)
{
    elements[c * rowCount + r] = element;
    height = std::max(height, element->height + 1);
}

void PrelinkHandler::enter(Prelink* node)
{
    if (node == doneLeft) {
        doneLeft = nullptr;
        return;
    }
    Prelink** left = node->leftOperand();
    if (!left || !(*left)->leftOperand()) {
        node->accept(this);
        return;
    }
    ChainLinks<Prelink> chain(node);
    visit(*chain[chain.size() - 1]->leftOperand());
    for (std::size_t i = chain.size(); i-- > 0;) {
        doneLeft = *chain[i]->leftOperand();
        chain[i]->accept(this);
        doneLeft = nullptr;
        if (i > 0 && !continueChain(chain[i]))
            return;
    }
}

void PrelinkHandler::handleMathCall(Prelink* operand, int) { visit(operand); }
void PrelinkHandler::handleConstant(double) {}

void PrelinkHandler::handleMatrixVal(PLMatrixVal* node)
{
    for (int i = 0; i < node->rowCount * node->colCount; ++i)
        visit(node->elements[i]);
}

void PrelinkHandler::handleMagnitude(Prelink* operand) { visit(operand); }
void PrelinkHandler::handleNormalize(Prelink* operand) { visit(operand); }
void PrelinkHandler::handleTranspose(Prelink* operand) { visit(operand); }
void PrelinkHandler::handleInverse(Prelink* operand) { visit(operand); }
void PrelinkHandler::handleDeterminate(Prelink* operand) { visit(operand); }
void PrelinkHandler::handleDotProduct(Prelink* left, Prelink* right) { visitBoth(left, right); }
void PrelinkHandler::handleCrossProduct(Prelink* left, Prelink* right) { visitBoth(left, right); }
void PrelinkHandler::handlePower(Prelink* left, Prelink* right) { visitBoth(left, right); }
void PrelinkHandler::handleAdd(Prelink* left, Prelink* right) { visitBoth(left, right); }
void PrelinkHandler::handleSub(Prelink* left, Prelink* right) { visitBoth(left, right); }
void PrelinkHandler::handleMul(Prelink* left, Prelink* right) { visitBoth(left, right); }
void PrelinkHandler::handleDiv(Prelink* left, Prelink* right) { visitBoth(left, right); }

}
