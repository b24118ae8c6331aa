// The numeric library hands its work to the C library, which is accurate
// over the whole double range, and only settles the sign of zero results and
// the system's own pseudo-random sequence.
#include "nycore/math/math_functions.h"

#include <cmath>

#include "nycore/system/exceptions.h"
#include "nycore/system/runtime.h"

namespace NyCore::Math {

namespace {

std::uint32_t randomSeed = 0;

// Adding +0.0 turns -0.0 into +0.0 and leaves every other value as it is.
double positiveZero(double x)
{
    return x + 0.0;
}

float positiveZero(float x)
{
    return x + 0.0f;
}

}

double pow(double x, double y) { return std::pow(x, y); }
double exp(double x) { return std::exp(x); }
double ln(double x) { return std::log(x); }
double sqrt(double x) { return std::sqrt(x); }
double asin(double x) { return std::asin(x); }
double acos(double x) { return std::acos(x); }
double atan(double x) { return std::atan(x); }
double atan2(double y, double x) { return std::atan2(y, x); }
double sinh(double x) { return std::sinh(x); }
double cosh(double x) { return std::cosh(x); }
double tanh(double x) { return std::tanh(x); }
double sin(double x) { return std::sin(x); }
double cos(double x) { return std::cos(x); }
double tan(double x) { return std::tan(x); }

double truncate(double x) { return positiveZero(std::trunc(x)); }
float truncate(float x) { return positiveZero(std::trunc(x)); }
double floor(double x) { return positiveZero(std::floor(x)); }
float floor(float x) { return positiveZero(std::floor(x)); }
double ceil(double x) { return positiveZero(std::ceil(x)); }
float ceil(float x) { return positiveZero(std::ceil(x)); }
double fmod(double a, double b) { return positiveZero(std::fmod(a, b)); }
float fmod(float a, float b) { return positiveZero(std::fmod(a, b)); }

int random(int n)
{
    if (n < 0 || n > 32767)
        NY_THROW(InvalidParameterException());
    randomSeed = randomSeed * 214013u + 2531011u;
    return static_cast<int>(((randomSeed >> 16) & 0x7FFFu) % static_cast<std::uint32_t>(n + 1));
}

void randomize(std::uint32_t seed)
{
    randomSeed = seed;
}

}
