// Sampling in blocks: the variables' values of a block of samples are laid
// out one array per variable, evaluated by one calculateBatch, and mapped
// into points. The normals are computed afterwards from the points alone.
#include "vexadrome/documents/graph_sampler.h"

#include <algorithm>
#include <cmath>
#include <vector>

namespace Vexadrome::Documents {

namespace {

// Results of one block stay below this many values, however large one result is.
constexpr int MaxBlockValues = 1 << 16;

inline void difference(double const* a, double const* b, double* d)
{
    d[0] = b[0] - a[0];
    d[1] = b[1] - a[1];
    d[2] = b[2] - a[2];
}

// The difference along one grid direction at index i of n (n >= 2) samples
// `step` points apart: central inside, one-sided at the two ends.
inline void gridDifference(double const* points, std::int64_t k, int i, int n, std::int64_t step, double* d)
{
    std::int64_t before = i > 0 ? k - step : k;
    std::int64_t after = i < n - 1 ? k + step : k;
    difference(points + 3 * before, points + 3 * after, d);
}

// +1 or -1: the sign of a range's step, which turns a difference between
// neighbouring samples into the direction of the derivative.
double stepSign(VarRange const& range)
{
    return range.max < range.min ? -1.0 : 1.0;
}

template <GraphMode::Enum Mode>
inline void mapScalarAs(double u0, double u1, double f, double* point)
{
    if constexpr (Mode == GraphMode::Polar) {
        point[0] = f * std::cos(u0);
        point[1] = f * std::sin(u0);
        point[2] = u1;
    } else if constexpr (Mode == GraphMode::Spherical) {
        point[0] = f * std::cos(u1) * std::cos(u0);
        point[1] = f * std::sin(u1);
        point[2] = f * std::cos(u1) * std::sin(u0);
    } else {
        point[0] = u0;
        point[1] = f;
        point[2] = u1;
    }
}

// Polar and spherical read a vector as (r, angle, angle): the scalar mapping of r at the two angles.
template <GraphMode::Enum Mode>
inline void mapVectorAs(double a, double b, double c, double* point)
{
    if constexpr (Mode == GraphMode::Euclidian) {
        point[0] = a;
        point[1] = b;
        point[2] = c;
    } else {
        mapScalarAs<Mode>(b, c, a, point);
    }
}

// One block of results into points, the mode chosen once for the whole block.
template <GraphMode::Enum Mode>
void mapBlock(int count, double const* u0, double const* u1, double const* results, int resultSize, double* point)
{
    if (resultSize == 1) {
        for (int b = 0; b < count; ++b, point += 3)
            mapScalarAs<Mode>(u0[b], u1 ? u1[b] : 0.0, results[b], point);
        return;
    }
    for (int b = 0; b < count; ++b, point += 3) {
        double const* r = results + static_cast<std::size_t>(b) * resultSize;
        mapVectorAs<Mode>(r[0], r[1], resultSize > 2 ? r[2] : 0.0, point);
    }
}

// The unit vector, or zero. The plain way is exact while the squares neither
// overflow nor underflow; otherwise scaling by the largest component first
// keeps them in range.
inline void storeUnitVector(double x, double y, double z, double* out)
{
    double squared = x * x + y * y + z * z;
    if (squared > 1e-280 && squared < 1e280) {
        double inverse = 1.0 / std::sqrt(squared);
        out[0] = x * inverse;
        out[1] = y * inverse;
        out[2] = z * inverse;
        return;
    }
    double scale = std::max({std::fabs(x), std::fabs(y), std::fabs(z)});
    if (!std::isfinite(x) || !std::isfinite(y) || !std::isfinite(z) || scale == 0.0) {
        out[0] = out[1] = out[2] = 0.0;
        return;
    }
    x /= scale;
    y /= scale;
    z /= scale;
    double length = std::sqrt(x * x + y * y + z * z);
    out[0] = x / length;
    out[1] = y / length;
    out[2] = z / length;
}

void curveNormals(double const* points, int count, double sign, double* normals)
{
    double d[3];
    for (int i = 0; i < count; ++i) {
        gridDifference(points, i, i, count, 1, d);
        storeUnitVector(-sign * d[1], sign * d[0], 0.0, normals + 3 * i);
    }
}

// Only the signs of the two steps matter: positive factors do not turn the
// cross product. Row by row, with the neighbouring rows and columns clamped
// at the edges, which makes those differences one-sided.
void surfaceNormals(double const* points, int columns, int rows, std::int64_t layers, double sign, double* normals)
{
    std::int64_t const layerSize = std::int64_t{columns} * rows;
    std::int64_t const rowSize = 3 * std::int64_t{columns};
    for (std::int64_t layer = 0; layer < layers; ++layer) {
        double const* layerPoints = points + 3 * layer * layerSize;
        double* layerNormals = normals + 3 * layer * layerSize;
        for (int j = 0; j < rows; ++j) {
            double const* below = layerPoints + (j > 0 ? j - 1 : j) * rowSize;
            double const* above = layerPoints + (j < rows - 1 ? j + 1 : j) * rowSize;
            double const* row = layerPoints + j * rowSize;
            double* out = layerNormals + j * rowSize;
            for (int i = 0; i < columns; ++i) {
                int const left = 3 * (i > 0 ? i - 1 : i);
                int const right = 3 * (i < columns - 1 ? i + 1 : i);
                int const at = 3 * i;
                double const d0x = row[right] - row[left];
                double const d0y = row[right + 1] - row[left + 1];
                double const d0z = row[right + 2] - row[left + 2];
                double const d1x = above[at] - below[at];
                double const d1y = above[at + 1] - below[at + 1];
                double const d1z = above[at + 2] - below[at + 2];
                storeUnitVector(sign * (d1y * d0z - d1z * d0y), sign * (d1z * d0x - d1x * d0z),
                                sign * (d1x * d0y - d1y * d0x), out + at);
            }
        }
    }
}

}

void GraphSampler::samplePoints(Actions::ExprValueCalculator* calculator, int resultSize, VarRange const* ranges,
                                int varCount, GraphMode::Enum mode, double* points)
{
    if (varCount <= 0 || resultSize <= 0)
        return;
    std::int64_t pointCount = 1;
    std::vector<std::vector<double>> values(static_cast<std::size_t>(varCount));
    for (int v = 0; v < varCount; ++v) {
        int res = ranges[v].res;
        pointCount *= res + 1;
        values[v].resize(static_cast<std::size_t>(res) + 1);
        for (int s = 0; s <= res; ++s)
            values[v][s] = sampleValue(ranges[v], s);
    }

    int const block = std::clamp(MaxBlockValues / resultSize, 1, BlockSize);
    std::vector<double> inputStore(static_cast<std::size_t>(varCount) * block);
    std::vector<double const*> inputs(static_cast<std::size_t>(varCount));
    for (int v = 0; v < varCount; ++v)
        inputs[v] = inputStore.data() + static_cast<std::size_t>(v) * block;
    std::vector<double> results(static_cast<std::size_t>(block) * resultSize);
    // The grid position of the next sample, first variable fastest.
    std::vector<int> position(static_cast<std::size_t>(varCount), 0);

    for (std::int64_t first = 0; first < pointCount; first += block) {
        int count = static_cast<int>(std::min<std::int64_t>(block, pointCount - first));
        // Runs along the first variable, over which the others stay fixed.
        for (int b = 0; b < count;) {
            int run = std::min(count - b, ranges[0].res + 1 - position[0]);
            std::copy_n(values[0].data() + position[0], run, inputStore.data() + b);
            for (int v = 1; v < varCount; ++v)
                std::fill_n(inputStore.data() + static_cast<std::size_t>(v) * block + b, run, values[v][position[v]]);
            b += run;
            position[0] += run;
            for (int v = 0; v < varCount && position[v] > ranges[v].res; ++v) {
                position[v] = 0;
                if (v + 1 < varCount)
                    ++position[v + 1];
            }
        }
        calculator->calculateBatch(count, inputs.data(), results.data(), resultSize);

        double const* u1 = varCount > 1 ? inputs[1] : nullptr;
        double* point = points + 3 * first;
        switch (mode) {
        case GraphMode::Polar:
            mapBlock<GraphMode::Polar>(count, inputs[0], u1, results.data(), resultSize, point);
            break;
        case GraphMode::Spherical:
            mapBlock<GraphMode::Spherical>(count, inputs[0], u1, results.data(), resultSize, point);
            break;
        default:
            mapBlock<GraphMode::Euclidian>(count, inputs[0], u1, results.data(), resultSize, point);
            break;
        }
    }
}

void GraphSampler::computeNormals(double const* points, VarRange const* ranges, int varCount, double* normals)
{
    if (varCount == 1) {
        curveNormals(points, ranges[0].res + 1, stepSign(ranges[0]), normals);
    } else if (varCount == 2 || varCount == 3) {
        std::int64_t layers = varCount == 3 ? ranges[2].res + 1 : 1;
        surfaceNormals(points, ranges[0].res + 1, ranges[1].res + 1, layers, stepSign(ranges[0]) * stepSign(ranges[1]),
                       normals);
    }
}

void GraphSampler::storeUnit(double x, double y, double z, double* out)
{
    storeUnitVector(x, y, z, out);
}

}
