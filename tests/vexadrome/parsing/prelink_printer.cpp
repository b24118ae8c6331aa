// The tree printer of the parser tests.
#include "tests/vexadrome/parsing/prelink_printer.h"

#include <charconv>

#include "tests/support/strings.h"

namespace TestSupport {

using namespace Vexadrome::Expressions;

std::string PrelinkPrinter::print(Prelink* root, bool withLocations)
{
    if (!root)
        return "<null>";
    PrelinkPrinter printer(withLocations);
    printer.printNode(root);
    return printer.out;
}

void PrelinkPrinter::printNode(Prelink* node)
{
    current = node;
    node->accept(this);
}

void PrelinkPrinter::head(std::string const& text)
{
    out += text;
    if (withLocations)
        out += "@" + std::to_string(current->start) + ":" + std::to_string(current->length);
}

void PrelinkPrinter::unary(char const* name, Prelink* operand)
{
    out += "(";
    head(name);
    out += " ";
    printNode(operand);
    out += ")";
}

void PrelinkPrinter::binary(char const* name, Prelink* left, Prelink* right)
{
    out += "(";
    head(name);
    out += " ";
    printNode(left);
    out += " ";
    printNode(right);
    out += ")";
}

void PrelinkPrinter::handleVariable(PLVariable* node) { head(toUtf8(node->name)); }

void PrelinkPrinter::handleUserCall(PLUserCall* node)
{
    out += "(";
    head("call:" + toUtf8(node->name));
    for (int i = 0; i < node->count; ++i) {
        out += " ";
        printNode(node->arguments[i]);
    }
    out += ")";
}

void PrelinkPrinter::handleMathCall(Prelink* operand, int index) { unary(("math" + std::to_string(index)).c_str(), operand); }

void PrelinkPrinter::handleConstant(double value)
{
    char digits[32];
    auto result = std::to_chars(digits, digits + sizeof digits, value);
    head(std::string(digits, result.ptr));
}

void PrelinkPrinter::handleMatrixVal(PLMatrixVal* node)
{
    out += "[";
    head(std::to_string(node->rowCount) + "x" + std::to_string(node->colCount));
    for (int i = 0; i < node->rowCount * node->colCount; ++i) {
        out += " ";
        printNode(node->elements[i]);
    }
    out += "]";
}

void PrelinkPrinter::handleMagnitude(Prelink* operand) { unary("magnitude", operand); }
void PrelinkPrinter::handleNormalize(Prelink* operand) { unary("normalize", operand); }
void PrelinkPrinter::handleTranspose(Prelink* operand) { unary("transpose", operand); }
void PrelinkPrinter::handleDotProduct(Prelink* left, Prelink* right) { binary("dot", left, right); }
void PrelinkPrinter::handlePower(Prelink* left, Prelink* right) { binary("power", left, right); }
void PrelinkPrinter::handleAdd(Prelink* left, Prelink* right) { binary("+", left, right); }
void PrelinkPrinter::handleSub(Prelink* left, Prelink* right) { binary("-", left, right); }
void PrelinkPrinter::handleMul(Prelink* left, Prelink* right) { binary("*", left, right); }
void PrelinkPrinter::handleDiv(Prelink* left, Prelink* right) { binary("/", left, right); }

}
