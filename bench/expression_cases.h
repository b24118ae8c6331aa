// The expressions the benchmarks time: each in the engine's language (with
// the user definitions it calls), in muparser's, and as plain C++, plus the
// grid of points every benchmark evaluates them over.
#pragma once

#include <cmath>
#include <vector>

namespace Bench {

using NativeFunction = double (*)(double, double);

// The C++ counterparts, inline so that a loop over points can inline them.
inline double nativeTrig(double x, double y) { return std::sin(x) * std::cos(y) + std::sqrt(x * x + y * y); }
inline double nativeProduct(double x, double y) { return (x + y / x) * (x - y / x); }
inline double nativeFractions(double x, double) { return 1 / (x + 1) + 2 / (x + 2) + 3 / (x + 3); }
inline double nativeCubic(double x, double) { return std::pow(x, 3.0) - 2 * x + 1; }
inline double nativeG(double u) { return u * u + 1; }
inline double nativeH(double u, double v) { return nativeG(u) - nativeG(v); }
inline double nativeUserCalls(double x, double y) { return nativeH(x, y) + nativeG(x * y); }
inline double nativeVector(double x, double y)
{
    double a = x * 2 + 1;
    double b = y * 2 + 2;
    double c = x * y * 2 + 3;
    return std::sqrt(a * a + b * b + c * c);
}
inline double nativeSum(double x, double y) { return x + y; }
inline double nativePolynomial(double x, double y)
{
    return x * x * x * x - 3 * x * x * y + 2 * x * y * y - y * y * y + x - y;
}
inline double nativeSurface(double x, double y) { return std::exp(-(x * x + y * y)) * std::cos(x * y); }

// Fills results[k] with f(xs[k], ys[k]): f is inlined into the loop, which the
// C++ compiler may vectorize, as it would in a program that does this in C++.
template<NativeFunction F>
void fillNatively(int count, double const* xs, double const* ys, double* results)
{
    for (int k = 0; k < count; ++k)
        results[k] = F(xs[k], ys[k]);
}

struct ExpressionCase {
    char const* name;            // short name of the benchmarks
    char const* text;            // in the engine's language, over x and y
    char const* definitions[2];  // user definitions the text calls, or null
    char const* muparserText;    // the same in muparser's syntax
    NativeFunction native;       // called through this pointer: never inlined
    void (*fillNative)(int count, double const* xs, double const* ys, double* results);
};

extern ExpressionCase const Cases[];
extern int const CaseCount;

// The points: x from 0.5 to 2.5 and y from -1 to 1, GridSide steps each.
class PointGrid {
public:
    static constexpr int GridSide = 64;
    static constexpr int PointCount = GridSide * GridSide;

    PointGrid();
    double const* get$xs() const { return xs.data(); }
    double const* get$ys() const { return ys.data(); }

private:
    std::vector<double> xs;
    std::vector<double> ys;
};

}
