// The math table of the built-in functions, filled on the first bind of an
// evaluator and only read afterwards.
#include "vexadrome/actions/builtin_functions.h"

#include <cmath>

#include "nycore/math/math_functions.h"

namespace Vexadrome::Actions {

namespace {

double absoluteValue(double x) { return std::fabs(x); }
double degreesToRadians(double x) { return NyCore::Math::PI * x / 180.0; }
double radiansToDegrees(double x) { return 180.0 * x / NyCore::Math::PI; }

}

MathFunction BuiltinFunctions::mathTable[MathCount];

void BuiltinFunctions::fillMathTable()
{
    if (mathTable[0])
        return;
    mathTable[1] = NyCore::Math::acos;
    mathTable[2] = NyCore::Math::asin;
    mathTable[3] = NyCore::Math::atan;
    mathTable[4] = NyCore::Math::cos;
    mathTable[5] = NyCore::Math::cosh;
    mathTable[6] = degreesToRadians;
    mathTable[7] = NyCore::Math::exp;
    mathTable[8] = NyCore::Math::ln;
    mathTable[9] = radiansToDegrees;
    mathTable[10] = NyCore::Math::sin;
    mathTable[11] = NyCore::Math::sinh;
    mathTable[12] = NyCore::Math::sqrt;
    mathTable[13] = NyCore::Math::tan;
    mathTable[14] = NyCore::Math::tanh;
    // Entry 0 last: it marks the table as filled.
    mathTable[0] = absoluteValue;
}

}
