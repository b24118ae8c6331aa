// Prints an unlinked tree as compact text for the parser's test tables:
// "(+ 1 (* 2 3))", optionally with every node's location ("(+@1:1 1@0:0 ...)").
// Matrix literals print their elements in storage (column-major) order.
#pragma once

#include <charconv>
#include <string>
#include <typeinfo>

#include "tests/support/strings.h"
#include "vexadrome/expressions/prelink.h"

namespace TestSupport {

inline std::string printPrelink(Vexadrome::Expressions::Prelink* node, bool withLocations = false)
{
    using namespace Vexadrome::Expressions;
    if (!node)
        return "<null>";
    std::string at = withLocations ? "@" + std::to_string(node->start) + ":" + std::to_string(node->length) : "";
    auto list = [&](std::string head, Prelink* const* children, int count, char const* close) {
        for (int i = 0; i < count; ++i)
            head += " " + printPrelink(children[i], withLocations);
        return head + close;
    };
    if (auto* constant = dynamic_cast<PLConstant*>(node)) {
        char digits[32];
        return std::string(digits, std::to_chars(digits, digits + sizeof digits, constant->value).ptr) + at;
    }
    if (auto* variable = dynamic_cast<PLVariable*>(node))
        return toUtf8(variable->name) + at;
    if (auto* call = dynamic_cast<PLUserCall*>(node))
        return list("(call:" + toUtf8(call->name) + at, call->arguments, call->count, ")");
    if (auto* matrix = dynamic_cast<PLMatrixVal*>(node)) {
        std::string shape = std::to_string(matrix->rowCount) + "x" + std::to_string(matrix->colCount);
        return list("[" + shape + at, matrix->elements, matrix->rowCount * matrix->colCount, "]");
    }
    std::type_info const& type = typeid(*node);
    if (auto* unary = dynamic_cast<PLUnary*>(node)) {
        auto* math = dynamic_cast<PLMathCall*>(node);
        std::string name = math ? "math" + std::to_string(math->index)
            : type == typeid(PLMagnitude) ? "magnitude" : type == typeid(PLNormalize) ? "normalize" : "transpose";
        return list("(" + name + at, &unary->operand, 1, ")");
    }
    auto* binary = static_cast<PLBinary*>(node);
    char const* name = type == typeid(PrelinkAdd) ? "+" : type == typeid(PrelinkSub) ? "-" : type == typeid(PrelinkMul) ? "*"
        : type == typeid(PrelinkDiv) ? "/" : type == typeid(PrelinkPower) ? "power" : "dot";
    Prelink* operands[] = {binary->left, binary->right};
    return list(std::string("(") + name + at, operands, 2, ")");
}

}
