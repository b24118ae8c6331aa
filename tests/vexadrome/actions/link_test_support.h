// Helpers for the tests of the linker and the evaluator: definitions stored
// from text by the engine's own store, parsing and linking of typed
// expressions, and a compact printer of linked trees ("(smul (call [] 2) 3)").
#pragma once

#include <bit>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <string>
#include <typeinfo>

#include <gtest/gtest.h>

#include "nycore/text/string_functions.h"
#include "tests/support/strings.h"
#include "vexadrome/actions/prelink_expr_linker.h"
#include "vexadrome/documents/expr_manager.h"
#include "vexadrome/expressions/expr.h"
#include "vexadrome/parsing/expr_parser.h"

namespace LinkTestSupport {

using Vexadrome::Expressions::Expr;
using Vexadrome::Expressions::Function;
using Vexadrome::Expressions::Prelink;
using Vexadrome::Parsing::Error;

// Parses text as one expression; null (with a test failure) when it does not parse.
inline Prelink* parseText(std::u16string const& text)
{
    Error error;
    Prelink* tree = Vexadrome::Parsing::ExprParser::parse(TestSupport::OwnedString(text), &error);
    EXPECT_NE(tree, nullptr) << "does not parse: " << TestSupport::toUtf8(text) << " code " << error.code;
    return tree;
}

// The same bits, or both not a number: which of two NaN operands an operation
// hands on (and so the NaN's sign) is up to the C++ compiler, which may swap
// the operands of + and *.
inline bool sameBits(double a, double b)
{
    return std::bit_cast<std::uint64_t>(a) == std::bit_cast<std::uint64_t>(b) || (std::isnan(a) && std::isnan(b));
}

// prefix followed by the decimal digits of n: numbered(u"d", 12) is d12.
inline std::u16string numbered(char16_t const* prefix, int n)
{
    std::string digits = std::to_string(n);
    return prefix + std::u16string(digits.begin(), digits.end());
}

// A store of definitions written "name = body" or "name(p, q) = body".
class Definitions {
public:
    Definitions(std::initializer_list<std::u16string> texts = {})
    {
        for (auto const& text : texts)
            define(text);
    }
    void define(std::u16string const& text)
    {
        Error error;
        EXPECT_TRUE(store.setFunction(TestSupport::OwnedString(text), &error)) << TestSupport::toUtf8(text) << " code " << error.code;
    }
    Vexadrome::Documents::Definitions* get() { return store.get$functions(); }

private:
    Vexadrome::Documents::ExprManager store;
};

// The linked tree of text (the caller's), or null with the error recorded.
inline Expr* linkText(std::u16string const& text, Definitions& definitions, Error* error)
{
    Prelink* tree = parseText(text);
    Expr* linked = tree ? Vexadrome::Actions::PrelinkExprLinker::link(tree, definitions.get(), error) : nullptr;
    delete tree;
    return linked;
}

// Prints a linked tree; matrix-typed nodes show their shape after the name.
inline std::string printExpr(Expr* node, int* nodeCount = nullptr)
{
    using namespace Vexadrome::Expressions;
    if (!node)
        return "<null>";
    if (nodeCount)
        ++*nodeCount;
    auto shape = [](Expr const* e) { return std::to_string(e->get$rowCount()) + "x" + std::to_string(e->get$colCount()); };
    auto list = [&](std::string head, Expr* const* children, int count) {
        for (int i = 0; i < count; ++i)
            head += " " + printExpr(children[i], nodeCount);
        return head + ")";
    };
    if (auto* constant = dynamic_cast<Constant*>(node)) {
        char text[32];
        std::snprintf(text, sizeof text, "%g", constant->value);
        return text;
    }
    if (auto* variable = dynamic_cast<Variable*>(node))
        return "$" + std::to_string(variable->offset) + (variable->get$size() == 1 ? "" : ":" + shape(variable));
    if (auto* call = dynamic_cast<UserCall*>(node)) {
        std::string arguments;
        for (int i = 0; i < call->count; ++i)
            arguments += (i ? " " : "") + printExpr(call->arguments[i], nodeCount);
        return "(call [" + arguments + "] " + printExpr(call->body, nodeCount) + ")";
    }
    if (auto* value = dynamic_cast<MatrixValue*>(node))
        return list("(mat " + shape(value), value->elements, value->rowCount * value->colCount);
    std::string suffix = node->get$type() == ExprType::Matrix ? ":" + shape(node) : "";
    if (auto* math = dynamic_cast<MathCall*>(node))
        return list("(f" + std::to_string(math->index) + suffix, &math->operand, 1);
    std::type_info const& type = typeid(*node);
    std::string name = type == typeid(Magnitude) ? "mag" : type == typeid(Transpose) ? "tr" : type == typeid(Normalize) ? "norm"
        : type == typeid(DotProduct) ? "dot" : type == typeid(SingleAdd) ? "sadd" : type == typeid(SingleSub) ? "ssub"
        : type == typeid(SingleMul) ? "smul" : type == typeid(SingleDiv) ? "sdiv" : type == typeid(SinglePower) ? "spow"
        : type == typeid(MatrixAdd) ? "madd" : type == typeid(MatrixSub) ? "msub" : type == typeid(MatrixMulS) ? "mmuls"
        : type == typeid(MatrixMulM) ? "mmulm" : "?";
    name = "(" + name + suffix;
    if (auto* single = dynamic_cast<SingleUnary*>(node))
        return list(name, &single->operand, 1);
    if (auto* matrix = dynamic_cast<MatrixUnary*>(node))
        return list(name, &matrix->operand, 1);
    auto* single = dynamic_cast<SingleBinary*>(node);
    Expr* operands[] = {*node->leftOperand(), single ? single->right : static_cast<MatrixBinary*>(node)->right};
    return list(name, operands, 2);
}

}
