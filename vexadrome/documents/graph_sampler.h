// GraphSampler: the sampling of a graph expression over its variables' grid
// and the normal field of the sampled points. Sample k has the first
// variable varying fastest; points are mapped into euclidian, polar or
// spherical coordinates as the document's mode says.
#pragma once

#include <cstdint>

#include "vexadrome/actions/expr_value_calculator.h"
#include "vexadrome/documents/graph_doc.h"
#include "vexadrome/documents/var_range.h"

namespace Vexadrome::Documents {

class GraphSampler {
public:
    // Points handed to the calculator in one calculateBatch.
    static constexpr int BlockSize = 1024;

    // Value s (0 ... res) of a variable: min + (max - min) * s / res.
    static double sampleValue(VarRange const& range, int s)
    {
        return range.min + (range.max - range.min) * s / range.res;
    }
    // Evaluates the calculator, bound to a call with one Constant argument
    // per variable, at all pointCount samples of the grid and writes the
    // mapped points (3 values each). resultSize is the count of values of one
    // result. A scalar f at the first two variables' values u0, u1 (u1 = 0
    // without a second variable) maps to euclidian (u0, f, u1), polar
    // (f cos u0, f sin u0, u1) and spherical, with r = f, theta = u0, phi = u1,
    // (r cos phi cos theta, r sin phi, r cos phi sin theta). Any other result
    // gives (a, b, c) from its first three values (missing ones 0): euclidian
    // (a, b, c), polar (a cos b, a sin b, c), spherical r = a, theta = b, phi = c.
    static void samplePoints(Actions::ExprValueCalculator* calculator, int resultSize, VarRange const* ranges,
                             int varCount, GraphMode::Enum mode, double* points);

    // Unit normals of the sampled points of a graph of one to three
    // variables: the curve's in-plane perpendicular (-dy, dx, 0) for one
    // variable, dP/du1 x dP/du0 for two or three (per layer of the third).
    // Derivatives are central differences, one-sided at the edges, so that a
    // flat euclidian surface faces +Y whichever way its ranges run; a
    // degenerate or non-finite normal is the zero vector.
    static void computeNormals(double const* points, VarRange const* ranges, int varCount, double* normals);

    // (x, y, z) scaled to length 1, or zero when that is not possible.
    static void storeUnit(double x, double y, double z, double* out);
};

}
