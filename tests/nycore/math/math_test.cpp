// Tests of the numeric library: known values (bit for bit, so that the sign
// of a zero counts), the rounding functions' +0.0 results, and the
// pseudo-random sequence.
#include <gtest/gtest.h>

#include <bit>
#include <cmath>
#include <cstdint>

#include "nycore/math/math_functions.h"
#include "tests/support/child_process.h"

namespace Math = NyCore::Math;

namespace {

// The same bits, or both not-a-number.
void expectSame(char const* name, double actual, double expected)
{
    bool same = std::bit_cast<std::uint64_t>(actual) == std::bit_cast<std::uint64_t>(expected) ||
                (std::isnan(actual) && std::isnan(expected));
    EXPECT_TRUE(same) << name << " is " << actual << (std::signbit(actual) ? " (negative)" : "") << ", not "
                      << expected << (std::signbit(expected) ? " (negative)" : "");
}

double const Inf = HUGE_VAL, NaN = std::nan("");

}

TEST(MathTest, KnownValues)
{
    struct Case { char const* name; double actual; double expected; } const cases[] = {
        {"sin(-0)", Math::sin(-0.0), -0.0}, {"sin(1e300)", Math::sin(1e300), -0.8178819121159085},
        {"cos(pi)", Math::cos(Math::PI), -1.0}, {"tan(pi/4)", Math::tan(Math::PI / 4), 0.9999999999999999},
        {"pow(2, 0.5)", Math::pow(2.0, 0.5), 1.4142135623730951}, {"exp(1)", Math::exp(1.0), 2.718281828459045},
        {"ln(10)", Math::ln(10.0), 2.302585092994046}, {"sqrt(2)", Math::sqrt(2.0), 1.4142135623730951},
        {"asin(1)", Math::asin(1.0), 1.5707963267948966}, {"acos(-1)", Math::acos(-1.0), 3.141592653589793},
        {"atan(1)", Math::atan(1.0), 0.7853981633974483}, {"atan2(1, -1)", Math::atan2(1.0, -1.0), 2.356194490192345},
        {"sinh(1)", Math::sinh(1.0), 1.1752011936438014}, {"cosh(1)", Math::cosh(1.0), 1.5430806348152437},
        {"tanh(1)", Math::tanh(1.0), 0.7615941559557649},
        // The rounding functions and fmod never give -0.0.
        {"truncate(-2.7)", Math::truncate(-2.7), -2.0}, {"truncate(-0.5)", Math::truncate(-0.5), 0.0},
        {"truncate(1e300)", Math::truncate(1e300), 1e300}, {"floor(-inf)", Math::floor(-Inf), -Inf},
        {"floor(4503599627370497)", Math::floor(4503599627370497.0), 4503599627370497.0},
        {"floor(-0.5)", Math::floor(-0.5), -1.0}, {"floor(-0)", Math::floor(-0.0), 0.0},
        {"ceil(0.5)", Math::ceil(0.5), 1.0}, {"ceil(-0.5)", Math::ceil(-0.5), 0.0},
        {"fmod(-7, 3)", Math::fmod(-7.0, 3.0), -1.0}, {"fmod(-6, 3)", Math::fmod(-6.0, 3.0), 0.0},
        {"fmod(inf, 3)", Math::fmod(Inf, 3.0), NaN}, {"fmod(5.5, inf)", Math::fmod(5.5, Inf), 5.5},
        {"float truncate(-0.5)", Math::truncate(-0.5f), 0.0}, {"float floor(-0)", Math::floor(-0.0f), 0.0},
        {"float floor(-0.5)", Math::floor(-0.5f), -1.0}, {"float ceil(2.25)", Math::ceil(2.25f), 3.0},
        {"float ceil(-0.5)", Math::ceil(-0.5f), 0.0}, {"float fmod(-7, 3)", Math::fmod(-7.0f, 3.0f), -1.0},
        {"float fmod(-6, 3)", Math::fmod(-6.0f, 3.0f), 0.0},
    };
    for (auto const& c : cases)
        expectSame(c.name, c.actual, c.expected);
}

TEST(MathTest, RandomSequence)
{
    Math::randomize(0);
    EXPECT_EQ(Math::random(32767), 38);
    // seed 2531011 * 214013 + 2531011 = 505908858 (mod 2^32); 505908858 / 65536 = 7719
    EXPECT_EQ(Math::random(32767), 7719);
    Math::randomize(0);
    EXPECT_EQ(Math::random(10), 38 % 11);
    for (int i = 0; i < 20; ++i)
        EXPECT_EQ(Math::random(0), 0);
    for (int n : {32768, -1})
        TestSupport::expectReport([n] { Math::random(n); },
                                  "unhandeled exception: NyCore.InvalidParameterException\nInvalid paramiter.\n");
}
