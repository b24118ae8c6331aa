// Tests of the exact squares and cubes: over millions of sampled arguments
// from every part of the number line, and over the special values, square
// and cube must give the bits of pow(x, 2) and pow(x, 3), and the products
// must be taken for most ordinary arguments (else the path proves nothing).
#include <gtest/gtest.h>

#include <bit>
#include <cmath>
#include <cstdint>
#include <functional>
#include <limits>
#include <random>
#include <vector>

#include "vexadrome/actions/exact_powers.h"

using Vexadrome::Actions::ExactPowers;

namespace {

bool identical(double a, double b)
{
    return std::bit_cast<std::uint64_t>(a) == std::bit_cast<std::uint64_t>(b);
}

struct Exponent {
    double exponent;
    double (*power)(double);
    bool (*attempt)(double, double*);
};

Exponent const Exponents[] = {
    {2.0, ExactPowers::square, ExactPowers::trySquare},
    {3.0, ExactPowers::cube, ExactPowers::tryCube},
};

struct Counts {
    long mismatches = 0;
    long products = 0;
    long samples = 0;
};

// Compares every sample of the generator with pow, for each exponent.
void compareSamples(long count, std::function<double(std::mt19937_64&)> const& sample, Counts* counts)
{
    std::mt19937_64 random(0x5eed0f9a11ull);
    for (long i = 0; i < count; ++i) {
        double x = sample(random);
        for (int e = 0; e < 2; ++e) {
            Exponent const& exponent = Exponents[e];
            double expected = std::pow(x, exponent.exponent);
            double product = 0.0;
            bool taken = exponent.attempt(x, &product);
            counts[e].products += taken;
            counts[e].mismatches += (taken && !identical(product, expected)) || !identical(exponent.power(x), expected);
            ++counts[e].samples;
        }
    }
}

double withExponent(std::mt19937_64& random, int low, int high)
{
    std::uint64_t bits = random();
    std::uint64_t exponent = static_cast<std::uint64_t>(1023 + low + static_cast<int>(random() % (high - low + 1)));
    return std::bit_cast<double>((bits & 0x800fffffffffffffull) | (exponent << 52));
}

}

TEST(ExactPowersTest, SampledArgumentsGivePowsBits)
{
    struct Range {
        char const* name;
        long count;
        std::function<double(std::mt19937_64&)> sample;
        double leastShareOfProducts;   // of the samples, when the products are available
    } const ranges[] = {
        {"any 64 bits", 4000000, [](std::mt19937_64& r) { return std::bit_cast<double>(r()); }, 0.0},
        {"binary exponents -200 to 200", 8000000, [](std::mt19937_64& r) { return withExponent(r, -200, 200); }, 0.85},
        {"binary exponents -3 to 3", 4000000, [](std::mt19937_64& r) { return withExponent(r, -3, 3); }, 0.85},
        {"near integers", 2000000,
         [](std::mt19937_64& r) {
             double k = static_cast<double>(static_cast<std::int64_t>(r() % 2000001) - 1000000);
             return std::nextafter(k, (r() & 1) ? HUGE_VAL : -HUGE_VAL);
         },
         0.5},
        {"the edges of the range", 1000000,
         [](std::mt19937_64& r) {
             double edge = (r() & 1) ? 0x1p200 : 0x1p-200;
             return edge * (1.0 + static_cast<double>(static_cast<std::int64_t>(r() % 2001) - 1000) * 0x1p-52);
         },
         0.0},
    };
    for (Range const& range : ranges) {
        SCOPED_TRACE(range.name);
        Counts counts[2];
        compareSamples(range.count, range.sample, counts);
        for (int e = 0; e < 2; ++e) {
            EXPECT_EQ(counts[e].mismatches, 0) << "exponent " << Exponents[e].exponent;
            if (ExactPowers::isAvailable()) {
                EXPECT_GE(counts[e].products, range.leastShareOfProducts * static_cast<double>(counts[e].samples))
                    << "exponent " << Exponents[e].exponent;
            }
        }
    }
    if (!ExactPowers::isAvailable())
        GTEST_SKIP() << "no fused multiply-add: the products were never tried, every power came from pow";
}

TEST(ExactPowersTest, SpecialValuesGivePowsBits)
{
    double const inf = std::numeric_limits<double>::infinity();
    double const specials[] = {0.0, -0.0, inf, -inf, std::numeric_limits<double>::quiet_NaN(),
                               -std::numeric_limits<double>::quiet_NaN(), std::numeric_limits<double>::denorm_min(),
                               -std::numeric_limits<double>::denorm_min(), std::numeric_limits<double>::min(),
                               std::numeric_limits<double>::max(), -std::numeric_limits<double>::max(), 1.0, -1.0, 2.0,
                               -2.0, 0.5, 0x1p200, -0x1p-200, std::nextafter(0x1p200, inf),
                               std::nextafter(0x1p-200, 0.0), 1e100, 1e103, 5.643e102, -1e-100, 3.0, 0.1,
                               1.4142135623730951, 1e-300, 1e300, 94906267.0, 94906265.62425156, 208063.8336};
    for (double x : specials) {
        SCOPED_TRACE(x);
        EXPECT_TRUE(identical(ExactPowers::square(x), std::pow(x, 2.0)));
        EXPECT_TRUE(identical(ExactPowers::cube(x), std::pow(x, 3.0)));
    }
    // Exact powers are certain: small integers take the products.
    double product = 0.0;
    if (ExactPowers::isAvailable()) {
        EXPECT_TRUE(ExactPowers::tryCube(-7.0, &product));
        EXPECT_EQ(product, -343.0);
        EXPECT_TRUE(ExactPowers::trySquare(0.75, &product));
        EXPECT_EQ(product, 0.5625);
    }
    EXPECT_FALSE(ExactPowers::tryCube(std::numeric_limits<double>::quiet_NaN(), &product));
    EXPECT_FALSE(ExactPowers::trySquare(inf, &product));
}
