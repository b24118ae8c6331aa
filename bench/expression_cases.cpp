// The benchmarked expressions and the grid of points. muparser has no user
// functions and no vectors, so those cases are expanded by hand to scalars;
// squares are written as products, which muparser runs twice as fast as ^2.
#include "bench/expression_cases.h"

namespace Bench {

ExpressionCase const Cases[] = {
    {"trig", "sin(x)*cos(y)+sqrt(x*x+y*y)", {}, "sin(x)*cos(y)+sqrt(x*x+y*y)", nativeTrig, fillNatively<nativeTrig>},
    {"product", "(x+y/x)*(x-y/x)", {}, "(x+y/x)*(x-y/x)", nativeProduct, fillNatively<nativeProduct>},
    {"fractions", "1/(x+1)+2/(x+2)+3/(x+3)", {}, "1/(x+1)+2/(x+2)+3/(x+3)", nativeFractions,
     fillNatively<nativeFractions>},
    {"cubic", "power(x, 3) - 2*x + 1", {}, "x^3 - 2*x + 1", nativeCubic, fillNatively<nativeCubic>},
    {"user_calls", "h(x, y) + g(x*y)", {"g(u) = u*u + 1", "h(u, v) = g(u) - g(v)"},
     "((x*x+1)-(y*y+1))+((x*y)*(x*y)+1)", nativeUserCalls, fillNatively<nativeUserCalls>},
    {"vector", "magnitude(vector(x, y, x*y) * 2 + vector(1, 2, 3))", {},
     "sqrt((x*2+1)*(x*2+1)+(y*2+2)*(y*2+2)+(x*y*2+3)*(x*y*2+3))", nativeVector, fillNatively<nativeVector>},
    {"sum", "x+y", {}, "x+y", nativeSum, fillNatively<nativeSum>},
    {"polynomial", "x*x*x*x - 3*x*x*y + 2*x*y*y - y*y*y + x - y", {},
     "x*x*x*x - 3*x*x*y + 2*x*y*y - y*y*y + x - y", nativePolynomial, fillNatively<nativePolynomial>},
    {"surface", "exp(-(x*x+y*y))*cos(x*y)", {}, "exp(-(x*x+y*y))*cos(x*y)", nativeSurface, fillNatively<nativeSurface>},
};

int const CaseCount = sizeof(Cases) / sizeof(Cases[0]);

PointGrid::PointGrid() : xs(PointCount), ys(PointCount)
{
    for (int i = 0; i < GridSide; ++i) {
        for (int j = 0; j < GridSide; ++j) {
            xs[i * GridSide + j] = 0.5 + 2.0 * i / (GridSide - 1);
            ys[i * GridSide + j] = -1.0 + 2.0 * j / (GridSide - 1);
        }
    }
}

}
