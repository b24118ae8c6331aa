// Prints an unlinked tree as compact text for the parser's test tables:
// "(+ 1 (* 2 3))", optionally with every node's location ("(+@1:1 1@0:0 ...)").
// Matrix literals print their elements in storage (column-major) order.
#pragma once

#include <string>

#include "vexadrome/expressions/prelink.h"

namespace TestSupport {

class PrelinkPrinter : public Vexadrome::Expressions::PrelinkHandler {
public:
    static std::string print(Vexadrome::Expressions::Prelink* root, bool withLocations = false);

    void handleVariable(Vexadrome::Expressions::PLVariable* node) override;
    void handleUserCall(Vexadrome::Expressions::PLUserCall* node) override;
    void handleMathCall(Vexadrome::Expressions::Prelink* operand, int index) override;
    void handleConstant(double value) override;
    void handleMatrixVal(Vexadrome::Expressions::PLMatrixVal* node) override;
    void handleMagnitude(Vexadrome::Expressions::Prelink* operand) override;
    void handleNormalize(Vexadrome::Expressions::Prelink* operand) override;
    void handleTranspose(Vexadrome::Expressions::Prelink* operand) override;
    void handleDotProduct(Vexadrome::Expressions::Prelink* left, Vexadrome::Expressions::Prelink* right) override;
    void handlePower(Vexadrome::Expressions::Prelink* left, Vexadrome::Expressions::Prelink* right) override;
    void handleAdd(Vexadrome::Expressions::Prelink* left, Vexadrome::Expressions::Prelink* right) override;
    void handleSub(Vexadrome::Expressions::Prelink* left, Vexadrome::Expressions::Prelink* right) override;
    void handleMul(Vexadrome::Expressions::Prelink* left, Vexadrome::Expressions::Prelink* right) override;
    void handleDiv(Vexadrome::Expressions::Prelink* left, Vexadrome::Expressions::Prelink* right) override;

private:
    explicit PrelinkPrinter(bool withLocations) : withLocations(withLocations) {}
    void printNode(Vexadrome::Expressions::Prelink* node);
    // The head of the node being printed, with its location when asked for.
    void head(std::string const& text);
    void unary(char const* name, Vexadrome::Expressions::Prelink* operand);
    void binary(char const* name, Vexadrome::Expressions::Prelink* left, Vexadrome::Expressions::Prelink* right);

    bool withLocations;
    Vexadrome::Expressions::Prelink* current = nullptr;
    std::string out;
};

}
