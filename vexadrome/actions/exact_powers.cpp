// The exact squares and cubes behind the evaluator's power(x, 2) and
// power(x, 3). pow is the rounding of a value within a few hundredths of a
// unit in the last place of the exact power (the error budget of the C
// library's pow before its last rounding); a product whose exact error (from
// fused multiply-adds) puts the exact power well inside the product's
// rounding interval is therefore the number pow answers, and every other
// argument is left to pow.
#include "vexadrome/actions/exact_powers.h"

#include <bit>
#include <cmath>
#include <cstdint>

#include "nycore/math/math_functions.h"

// The error terms below are exact only as separate roundings.
#ifdef __clang__
#pragma clang fp contract(off)
#endif

namespace Vexadrome::Actions {

namespace {

// Within this range every product below is a normal number far from
// overflow and underflow, so that the error terms are exact.
constexpr double SmallestArgument = 0x1p-200;
constexpr double LargestArgument = 0x1p200;
// How far from the product, in spacings of the numbers on that side, the
// exact power may lie: the rounding interval reaches 0.5, and pow's value
// before its last rounding stays within 0.04 of the exact power.
constexpr double CertainDistance = 0.45;

// The error terms need a fused multiply-add; without one, pow does the work.
bool const fusedMultiplyAdd = [] {
    __builtin_cpu_init();
    return __builtin_cpu_supports("fma") != 0;
}();

// Whether the exact value rounded + difference is certain to round to rounded
// under pow's error.
bool certain(double rounded, double difference)
{
    std::uint64_t bits = std::bit_cast<std::uint64_t>(rounded);
    std::uint64_t exponent = bits & 0x7ff0000000000000u;
    // Towards zero from a power of two the numbers are twice as dense. The
    // sign of the difference is random: computed without a branch.
    bool towardsZero = std::signbit(difference) != std::signbit(rounded);
    std::uint64_t denser = ((bits & 0x000fffffffffffffu) == 0) & towardsZero;
    double spacing = std::bit_cast<double>(exponent - ((52 + denser) << 52));
    return std::fabs(difference) <= CertainDistance * spacing;
}

bool inRange(double x)
{
    double magnitude = std::fabs(x);
    return magnitude >= SmallestArgument && magnitude <= LargestArgument;
}

// x^2 = square + e exactly.
[[gnu::target("fma")]] bool squareWithError(double x, double* result)
{
    double square = x * x;
    double e = __builtin_fma(x, x, -square);
    if (!certain(square, e))
        return false;
    *result = square;
    return true;
}

// x^3 = (square + e) * x = cube + f + e * x, with e and f the exact errors
// of the two products; the roundings of the correction and the difference
// add errors some fifty binary places below the last one of the cube, far
// inside the margin of certain.
[[gnu::target("fma")]] bool cubeWithError(double x, double* result)
{
    double square = x * x;
    double e = __builtin_fma(x, x, -square);
    double cube = square * x;
    double f = __builtin_fma(square, x, -cube);
    double correction = __builtin_fma(e, x, f);
    double rounded = cube + correction;
    double difference = (cube - rounded) + correction;
    if (!certain(rounded, difference))
        return false;
    *result = rounded;
    return true;
}

}

bool ExactPowers::isAvailable()
{
    return fusedMultiplyAdd;
}

bool ExactPowers::trySquare(double x, double* result)
{
    return fusedMultiplyAdd && inRange(x) && squareWithError(x, result);
}

bool ExactPowers::tryCube(double x, double* result)
{
    return fusedMultiplyAdd && inRange(x) && cubeWithError(x, result);
}

double ExactPowers::square(double x)
{
    double result;
    return trySquare(x, &result) ? result : NyCore::Math::pow(x, 2.0);
}

double ExactPowers::cube(double x)
{
    double result;
    return tryCube(x, &result) ? result : NyCore::Math::pow(x, 3.0);
}

}
