// The element-wise built-in functions of the expression language: the table
// of math functions by math index, and "time", which the evaluator computes
// itself because it reads the tick count of the current evaluation.
#pragma once

#include <cmath>
#include <cstdint>
#include <limits>

#include "nycore/math/math_functions.h"

namespace Vexadrome::Actions {

using MathFunction = double (*)(double);

class BuiltinFunctions {
public:
    static constexpr int MathCount = 16;
    static constexpr int TimeIndex = 15;

    // Fills the process-wide table; only the first call does anything.
    static void fillMathTable();
    // The function of math index 0 to 14, after fillMathTable. Index 15
    // ("time") has no entry.
    static MathFunction getMathFunction(int index) { return mathTable[index]; }
    // Whether math index index is the square root, which is one machine instruction.
    static bool isSqrt(int index) { return mathTable[index] == static_cast<MathFunction>(NyCore::Math::sqrt); }

    // The sawtooth of "time": (tickCount mod P) / P for a period of P = the
    // argument in seconds as whole milliseconds, saturated to 32 bits; a
    // period below one millisecond (or not a number) gives 0.
    static double time(double seconds, std::uint32_t tickCount)
    {
        double period = seconds * 1000.0;
        if (!(period >= 1.0))
            return 0.0;
        std::uint32_t p = period >= 2147483647.0 ? 2147483647u : static_cast<std::uint32_t>(period);
        return static_cast<double>(tickCount % p) / static_cast<double>(p);
    }

    // One element of "normalize": the element over the magnitude of all
    // elements; a zero operand stays zero.
    static double normalizeElement(double x, double magnitude) { return magnitude == 0.0 ? 0.0 : x / magnitude; }

    // "magnitude" from the plain sum of squares of its count elements, where
    // element(k) reads element k. A sum that overflowed, or fell below the
    // normal numbers (so that squares may have been lost), is computed again
    // over the elements scaled by a power of two near the largest, as hypot
    // does; every other sum keeps its plain square root.
    template <typename Element>
    static double magnitude(double sumOfSquares, int count, Element element)
    {
        if (!(sumOfSquares < std::numeric_limits<double>::min()) && sumOfSquares != HUGE_VAL)
            return NyCore::Math::sqrt(sumOfSquares);
        return rescaledMagnitude(sumOfSquares, count, element);
    }

private:
    // Out of line and cold: the evaluation loops inline magnitude and should
    // carry only its common path.
    template <typename Element>
    [[gnu::noinline, gnu::cold]] static double rescaledMagnitude(double sumOfSquares, int count, Element element)
    {
        double largest = 0.0;
        for (int k = 0; k < count; ++k)
            largest = std::fmax(largest, std::fabs(element(k)));
        if (largest == 0.0 || largest == HUGE_VAL)
            return largest == 0.0 ? NyCore::Math::sqrt(sumOfSquares) : largest;
        int exponent = std::ilogb(largest);
        double scaled = 0.0;
        for (int k = 0; k < count; ++k) {
            double x = std::ldexp(element(k), -exponent);
            scaled = scaled + x * x;
        }
        return std::ldexp(NyCore::Math::sqrt(scaled), exponent);
    }

    static MathFunction mathTable[MathCount];
};

}
