// Stack sizing for the linker: every handler mirrors what the linker pushes
// and pops for the same node (see PrelinkExprLinker).
#include "vexadrome/actions/prelink_stack_counter.h"

namespace Vexadrome::Actions {

using Expressions::Prelink;

int PrelinkStackCounter::calculate(Prelink* root)
{
    PrelinkStackCounter counter;
    counter.visit(root);
    return counter.greatestDepth;
}

void PrelinkStackCounter::add(int n)
{
    depth += n;
    if (depth > greatestDepth)
        greatestDepth = depth;
}

void PrelinkStackCounter::binary(Prelink* left, Prelink* right)
{
    visitBoth(left, right);
    depth -= 1;
}

void PrelinkStackCounter::handleVariable(Expressions::PLVariable*) { add(1); }

void PrelinkStackCounter::handleUserCall(Expressions::PLUserCall* node)
{
    for (int i = 0; i < node->count; ++i)
        visit(node->arguments[i]);
    depth -= node->count;
    add(1);
}

void PrelinkStackCounter::handleConstant(double) { add(1); }

// The linker moves each element into the literal as soon as it is linked.
void PrelinkStackCounter::handleMatrixVal(Expressions::PLMatrixVal* node)
{
    for (int i = 0; i < node->rowCount * node->colCount; ++i) {
        visit(node->elements[i]);
        depth -= 1;
    }
    add(1);
}

void PrelinkStackCounter::handleDotProduct(Prelink* left, Prelink* right) { binary(left, right); }
void PrelinkStackCounter::handlePower(Prelink* left, Prelink* right) { binary(left, right); }
void PrelinkStackCounter::handleAdd(Prelink* left, Prelink* right) { binary(left, right); }
void PrelinkStackCounter::handleSub(Prelink* left, Prelink* right) { binary(left, right); }
void PrelinkStackCounter::handleMul(Prelink* left, Prelink* right) { binary(left, right); }
void PrelinkStackCounter::handleDiv(Prelink* left, Prelink* right) { binary(left, right); }

}
