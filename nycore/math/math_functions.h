// NyCore::Math: the numeric library behind the expression engine's built-in
// functions, the graph renderer and the drawing context's arcs. Results agree
// with the platform's C library; rounding functions never answer -0.0.
#pragma once

#include <cstdint>

namespace NyCore::Math {

inline constexpr double PI = 3.141592653589793;

double pow(double x, double y);
double exp(double x);
// The natural logarithm.
double ln(double x);
double sqrt(double x);
double asin(double x);
double acos(double x);
double atan(double x);
double atan2(double y, double x);
double sinh(double x);
double cosh(double x);
double tanh(double x);
double sin(double x);
double cos(double x);
double tan(double x);

// The integer part towards zero; a zero result is +0.0 (truncate(-0.5) is 0.0).
double truncate(double x);
float truncate(float x);
// The largest integer not above x; a zero result is +0.0.
double floor(double x);
float floor(float x);
// The smallest integer not below x; a zero result is +0.0.
double ceil(double x);
float ceil(float x);
// The remainder of a / b with the sign of a (fmod(-7, 3) is -1); a zero result is +0.0.
double fmod(double a, double b);
float fmod(float a, float b);

// A pseudo-random number from 0 to n (n from 0 to 32767, otherwise
// InvalidParameterException). The generator is linear congruential over one
// process-wide 32-bit seed, 0 at start.
int random(int n);
void randomize(std::uint32_t seed);

}
