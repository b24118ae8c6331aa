// Tests of the numeric library: agreement with the C library over the whole
// double range, the exact results the rest of the system relies on, and the
// pseudo-random sequence.
#include <gtest/gtest.h>

#include <cmath>
#include <string>
#include <vector>

#include "nycore/math/math_functions.h"
#include "nycore/system/runtime.h"
#include "tests/support/child_process.h"

namespace Math = NyCore::Math;

namespace {

std::vector<double> const Arguments = {
    0.0, 0.5, -0.5, 1.0, -1.0, 2.0, 2.5, -2.5, 3.0, 7.0, -7.0, 100.0, -100.0, 123.456, 1e9, -1e9,
    1e15 + 0.5, 1e300, -1e300, 3.141592653589793, -3.141592653589793, 6.283185307179586, 1.5707963267948966,
    4503599627370497.0, 1e-300,
};

}

TEST(MathTest, AgreesWithTheCLibrary)
{
    // Equal values, or both not-a-number (a remainder by 0 or of infinity).
    auto same = [](double actual, double expected) {
        return actual == expected || (std::isnan(actual) && std::isnan(expected));
    };
    for (double x : Arguments) {
        SCOPED_TRACE("x = " + std::to_string(x));
        EXPECT_EQ(Math::sin(x), std::sin(x));
        EXPECT_EQ(Math::cos(x), std::cos(x));
        EXPECT_EQ(Math::tan(x), std::tan(x));
        EXPECT_EQ(Math::truncate(x), std::trunc(x));
        EXPECT_EQ(Math::floor(x), std::floor(x));
        EXPECT_EQ(Math::ceil(x), std::ceil(x));
        EXPECT_EQ(Math::fmod(x, 3.0), std::fmod(x, 3.0));
        EXPECT_EQ(Math::fmod(x, -0.7), std::fmod(x, -0.7));
        EXPECT_TRUE(same(Math::fmod(1e300, x), std::fmod(1e300, x)));
        auto f = static_cast<float>(x);
        EXPECT_TRUE(same(Math::truncate(f), std::trunc(f)));
        EXPECT_TRUE(same(Math::floor(f), std::floor(f)));
        EXPECT_TRUE(same(Math::ceil(f), std::ceil(f)));
        EXPECT_TRUE(same(Math::fmod(f, 3.0f), std::fmod(f, 3.0f)));
    }
    EXPECT_EQ(Math::pow(2.0, 10.0), 1024.0);
    EXPECT_EQ(Math::exp(1.0), std::exp(1.0));
    EXPECT_EQ(Math::ln(std::exp(2.0)), std::log(std::exp(2.0)));
    EXPECT_EQ(Math::sqrt(2.0), std::sqrt(2.0));
    EXPECT_EQ(Math::atan2(1.0, -1.0), std::atan2(1.0, -1.0));
    EXPECT_EQ(Math::asin(1.0), Math::PI / 2);
    EXPECT_EQ(Math::acos(-1.0), Math::PI);
    EXPECT_EQ(Math::tanh(1.0), std::tanh(1.0));
    EXPECT_TRUE(std::isnan(Math::sqrt(-1.0)));
    EXPECT_EQ(Math::ln(0.0), -HUGE_VAL);
}

TEST(MathTest, ExactResults)
{
    struct Case {
        char const* name;
        double actual;
        double expected;
    };
    Case const cases[] = {
        {"sin(0)", Math::sin(0.0), 0.0},
        {"cos(0)", Math::cos(0.0), 1.0},
        {"cos(pi)", Math::cos(Math::PI), -1.0},
        {"sin(pi)", Math::sin(Math::PI), 1.2246467991473532e-16},
        {"truncate(-0.5)", Math::truncate(-0.5), 0.0},
        {"truncate(-2.7)", Math::truncate(-2.7), -2.0},
        {"floor(-0.5)", Math::floor(-0.5), -1.0},
        {"floor(2.0)", Math::floor(2.0), 2.0},
        {"ceil(0.5)", Math::ceil(0.5), 1.0},
        {"ceil(-0.5)", Math::ceil(-0.5), 0.0},
        {"fmod(7, 3)", Math::fmod(7.0, 3.0), 1.0},
        {"fmod(-7, 3)", Math::fmod(-7.0, 3.0), -1.0},
        {"fmod(-6, 3)", Math::fmod(-6.0, 3.0), 0.0},
        {"floor(-0.5f)", Math::floor(-0.5f), -1.0},
        {"fmod(-7f, 3f)", Math::fmod(-7.0f, 3.0f), -1.0},
        {"PI", Math::PI, 3.141592653589793},
    };
    for (auto const& c : cases) {
        SCOPED_TRACE(c.name);
        EXPECT_EQ(c.actual, c.expected);
        EXPECT_EQ(std::signbit(c.actual), std::signbit(c.expected)) << "sign of zero";
    }
    EXPECT_FALSE(std::signbit(Math::truncate(-0.5f)));
    EXPECT_FALSE(std::signbit(Math::ceil(-0.5f)));
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

    auto result = TestSupport::runInChild([] { Math::random(32768); });
    EXPECT_EQ(result.exitCode, NyCore::System::FatalExitCode);
    EXPECT_EQ(result.output, "unhandeled exception: NyCore.InvalidParameterException\nInvalid paramiter.\n");
    result = TestSupport::runInChild([] { Math::random(-1); });
    EXPECT_EQ(result.exitCode, NyCore::System::FatalExitCode);
    EXPECT_EQ(result.output, "unhandeled exception: NyCore.InvalidParameterException\nInvalid paramiter.\n");
}
