// The element-wise built-in functions of the expression language: the table
// of math functions by math index, and "time", which the evaluator computes
// itself because it reads the tick count of the current evaluation.
#pragma once

#include <cstdint>

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

private:
    static MathFunction mathTable[MathCount];
};

}
