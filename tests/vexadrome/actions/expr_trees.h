// Builders of linked trees for the evaluator tests, so that they do not
// depend on the parser and linker. Every builder hands ownership to its caller.
#pragma once

#include <initializer_list>
#include <vector>

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

// Elements written row by row, stored column-major.
inline Expr* mat(int rows, int cols, std::vector<Expr*> const& rowMajor)
{
    auto* value = new MatrixValue(rows, cols);
    for (int r = 0; r < rows; ++r) {
        for (int c = 0; c < cols; ++c)
            value->elements[c * rows + r] = rowMajor[static_cast<std::size_t>(r * cols + c)];
    }
    return value;
}

inline Expr* mat(int rows, int cols, std::initializer_list<double> rowMajor)
{
    std::vector<Expr*> elements;
    for (double v : rowMajor)
        elements.push_back(num(v));
    return mat(rows, cols, elements);
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
inline Expr* div(Expr* a, Expr* b) { return new SingleDiv(a, b); }
inline Expr* pow(Expr* a, Expr* b) { return new SinglePower(a, b); }

// Math indexes used by the tests.
constexpr int Abs = 0, Cos = 4, Dtor = 6, Exp = 7, Ln = 8, Rtod = 9, Sin = 10, Sqrt = 12, Tanh = 14, Time = 15;

}
