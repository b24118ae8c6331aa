// Builders of linked trees for the evaluator tests, for trees that typed text
// cannot give: deeper than the linker links, numbers the syntax cannot write,
// shapes the linker refuses. Every builder hands ownership to its caller.
#pragma once

#include <initializer_list>

#include "vexadrome/expressions/expr.h"

namespace ExprTrees {

using namespace Vexadrome::Expressions;

inline Expr* num(double value) { return new Constant(value); }

// A parameter reference; offset as the linker gives it.
inline Expr* param(int offset, int rows = 1, int cols = 1) { return new Variable(offset, rows, cols); }

inline Expr* vec(std::initializer_list<Expr*> elements)
{
    auto* value = new MatrixValue(static_cast<int>(elements.size()), 1);
    int i = 0;
    for (Expr* element : elements)
        value->elements[i++] = element;
    return value;
}

inline UserCall* call(Expr* body, std::initializer_list<Expr*> arguments)
{
    auto* node = new UserCall(static_cast<int>(arguments.size()));
    int i = 0;
    for (Expr* argument : arguments)
        node->arguments[i++] = argument;
    node->body = body;
    return node;
}

inline Expr* fn(int index, Expr* operand) { return new MathCall(operand, index); }
inline Expr* add(Expr* a, Expr* b) { return new SingleAdd(a, b); }
inline Expr* sub(Expr* a, Expr* b) { return new SingleSub(a, b); }
inline Expr* mul(Expr* a, Expr* b) { return new SingleMul(a, b); }

// Math indexes used by the tests.
constexpr int Abs = 0, Time = 15;

}
