// ExprOperations: the arithmetic of the compiled program's instructions,
// one inline function each. The per-point steps, the machine code, the block
// kernels, constant folding and the tree walk all compute through these, so
// that every path gives the same bits; the fused forms round the product and the sum separately, as
// the two operations they replace do.
#pragma once

#include "nycore/math/math_functions.h"
#include "vexadrome/actions/exact_powers.h"

// A contracted multiply-add would round once and differ from the tree walk.
#ifdef __clang__
#pragma clang fp contract(off)
#endif

namespace Vexadrome::Actions::ExprOperations {

inline double add(double a, double b) { return a + b; }
inline double sub(double a, double b) { return a - b; }
inline double mul(double a, double b) { return a * b; }
inline double div(double a, double b) { return a / b; }
inline double square(double a) { return ExactPowers::square(a); }
inline double cube(double a) { return ExactPowers::cube(a); }
// An exponent of 2 or 3 takes the exact powers whether it is known when the
// program is compiled or only when it runs, so no path depends on those
// agreeing with pow.
inline double power(double a, double b)
{
    if (b == 2.0)
        return square(a);
    if (b == 3.0)
        return cube(a);
    return NyCore::Math::pow(a, b);
}
// c + a * b: a step of a sum of products, or a sum whose right term is a product.
inline double mulAdd(double a, double b, double c)
{
    double product = a * b;
    return c + product;
}
// a * b + c
inline double productPlus(double a, double b, double c)
{
    double product = a * b;
    return product + c;
}
// c - a * b
inline double mulSub(double a, double b, double c)
{
    double product = a * b;
    return c - product;
}
// a * b - c
inline double productMinus(double a, double b, double c)
{
    double product = a * b;
    return product - c;
}

}
