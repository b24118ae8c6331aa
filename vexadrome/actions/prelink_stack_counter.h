// PrelinkStackCounter: how many linked nodes the linker holds on its work
// stack at once while linking one unlinked tree, so that the stack can be
// allocated once at its full size.
#pragma once

#include "vexadrome/expressions/prelink.h"

namespace Vexadrome::Actions {

class PrelinkStackCounter : public Expressions::PrelinkHandler {
public:
    // The greatest number of entries on the linker's stack while it links root.
    static int calculate(Expressions::Prelink* root);

    void handleVariable(Expressions::PLVariable* node) override;
    void handleUserCall(Expressions::PLUserCall* node) override;
    void handleConstant(double value) override;
    void handleMatrixVal(Expressions::PLMatrixVal* node) override;
    void handleDotProduct(Expressions::Prelink* left, Expressions::Prelink* right) override;
    void handlePower(Expressions::Prelink* left, Expressions::Prelink* right) override;
    void handleAdd(Expressions::Prelink* left, Expressions::Prelink* right) override;
    void handleSub(Expressions::Prelink* left, Expressions::Prelink* right) override;
    void handleMul(Expressions::Prelink* left, Expressions::Prelink* right) override;
    void handleDiv(Expressions::Prelink* left, Expressions::Prelink* right) override;

private:
    void add(int n);
    void binary(Expressions::Prelink* left, Expressions::Prelink* right);

    int depth = 0;
    int greatestDepth = 0;
};

}
