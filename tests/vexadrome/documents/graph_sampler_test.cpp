// Sampling and normals: the points of small grids in the three coordinate
// systems, checked against values worked out by hand, and the normal field.
#include <gtest/gtest.h>

#include <array>
#include <cmath>
#include <limits>

#include "tests/vexadrome/documents/document_test_support.h"
#include "vexadrome/documents/graph_sampler.h"

using namespace Vexadrome::Documents;
using namespace DocumentTests;

namespace {

using Vec = std::array<double, 3>;

constexpr double Pi = 3.14159265358979323846;
double const R2 = 1.0 / std::sqrt(2.0);
double const R3 = 1.0 / std::sqrt(3.0);
double const R5 = 1.0 / std::sqrt(5.0);
double const R6 = 1.0 / std::sqrt(6.0);
double const Inf = std::numeric_limits<double>::infinity();

std::vector<Vec> repeat(Vec v, int n)
{
    return std::vector<Vec>(static_cast<std::size_t>(n), v);
}

struct SampleCase {
    char const* label;
    GraphMode::Enum mode;
    std::vector<DocumentTests::Variable> variables;
    std::u16string text;
    std::vector<Vec> points;
    std::vector<Vec> normals;  // empty: the graph has none
};

void expectNear(double const* actual, std::vector<Vec> const& expected, std::string const& what)
{
    for (std::size_t k = 0; k < expected.size(); ++k) {
        for (int a = 0; a < 3; ++a) {
            std::string const at = what + " " + std::to_string(k) + " axis " + "xyz"[a];
            if (std::isinf(expected[k][a]))
                EXPECT_EQ(actual[3 * k + a], expected[k][a]) << at;
            else
                EXPECT_NEAR(actual[3 * k + a], expected[k][a], 1e-12) << at;
        }
    }
}

void expectSamples(SampleCase const& c)
{
    SCOPED_TRACE(c.label);
    TestHost host;
    GraphDoc doc(&host);
    doc.mode = c.mode;
    setVariables(&doc, c.variables);
    GraphExpr* e = addExpr(&doc, c.text);
    Vexadrome::Parsing::Error error;
    ASSERT_TRUE(e->bindExprString(&error)) << "error " << error.code;
    ASSERT_EQ(doc.get$pointCount(), static_cast<std::int64_t>(c.points.size()));
    expectNear(e->points, c.points, "point");
    ASSERT_EQ(e->normals != nullptr, !c.normals.empty()) << "normals";
    expectNear(e->normals, c.normals, "normal");
}

}

TEST(GraphSampler, ResultsInTheThreeCoordinateSystems)
{
    SampleCase const cases[] = {
        {"euclidian plane y = x + z, first variable fastest", GraphMode::Euclidian,
         {{u"x", 0, 2, 2}, {u"y", 0, 1, 1}}, u"x+y",
         {{0, 0, 0}, {1, 1, 0}, {2, 2, 0}, {0, 1, 1}, {1, 2, 1}, {2, 3, 1}},
         repeat({-R3, R3, -R3}, 6)},
        {"a curve over a falling range keeps the normal (-dy, dx, 0) of dP/du", GraphMode::Euclidian, {{u"x", 1, 0, 1}}, u"2*x",
         {{1, 2, 0}, {0, 0, 0}}, repeat({-2 * R5, R5, 0}, 2)},
        {"polar half circle of radius f, central and one-sided differences", GraphMode::Polar, {{u"t", 0, Pi, 2}}, u"2",
         {{2, 0, 0}, {0, 2, 0}, {-2, 0, 0}}, {{-R2, -R2, 0}, {0, -1, 0}, {R2, -R2, 0}}},
        {"polar cylinder (f cos u0, f sin u0, u1)", GraphMode::Polar, {{u"t", 0, Pi / 2, 1}, {u"z", 0, 1, 1}}, u"1",
         {{1, 0, 0}, {0, 1, 0}, {1, 0, 1}, {0, 1, 1}}, repeat({-R2, -R2, 0}, 4)},
        {"spherical octant r = f (r cos phi cos theta, r sin phi, r cos phi sin theta)", GraphMode::Spherical,
         {{u"theta", 0, Pi / 2, 1}, {u"phi", 0, Pi / 2, 1}}, u"3",
         {{3, 0, 0}, {0, 0, 3}, {0, 3, 0}, {0, 3, 0}}, repeat({R3, R3, R3}, 4)},
        {"three variables: every sample computed, mapped (u0, f, u1)", GraphMode::Euclidian,
         {{u"x", 0, 1, 1}, {u"y", 0, 1, 1}, {u"z", 0, 1, 1}}, u"x+2*y+4*z",
         {{0, 0, 0}, {1, 1, 0}, {0, 2, 1}, {1, 3, 1}, {0, 4, 0}, {1, 5, 0}, {0, 6, 1}, {1, 7, 1}},
         repeat({-R6, R6, -2 * R6}, 8)},
        {"four variables: points only", GraphMode::Euclidian,
         {{u"a", 0, 1, 1}, {u"b", 0, 1, 1}, {u"c", 0, 1, 1}, {u"d", 0, 1, 1}}, u"8*d",
         {{0, 0, 0}, {1, 0, 0}, {0, 0, 1}, {1, 0, 1}, {0, 0, 0}, {1, 0, 0}, {0, 0, 1}, {1, 0, 1},
          {0, 8, 0}, {1, 8, 0}, {0, 8, 1}, {1, 8, 1}, {0, 8, 0}, {1, 8, 0}, {0, 8, 1}, {1, 8, 1}},
         {}},
        // Any other result gives (a, b, c) from its first three values.
        {"euclidian (a, b, c)", GraphMode::Euclidian, {{u"x", -1, 1, 2}}, u"vector(x, x*x, 3)",
         {{-1, 1, 3}, {0, 0, 3}, {1, 1, 3}}, {{R2, R2, 0}, {0, 1, 0}, {-R2, R2, 0}}},
        {"missing third value is 0", GraphMode::Euclidian, {{u"x", 0, 1, 1}}, u"vector(x, 7)",
         {{0, 7, 0}, {1, 7, 0}}, repeat({0, 1, 0}, 2)},
        {"a matrix gives its first three values, column by column", GraphMode::Euclidian, {{u"x", 0, 1, 1}},
         u"matrix((x, 2, 3), (4, 5, 6))", {{0, 4, 2}, {1, 4, 2}}, repeat({0, 1, 0}, 2)},
        {"spherical (as polar) vectors: r = a, theta = b, phi = c", GraphMode::Spherical, {{u"x", 0, Pi / 2, 1}, {u"y", 0, Pi / 2, 1}},
         u"vector(1, x, y)", {{1, 0, 0}, {0, 0, 1}, {0, 1, 0}, {0, 1, 0}}, repeat({R3, R3, R3}, 4)},
        {"a degenerate surface has zero normals", GraphMode::Euclidian, {{u"x", 0, 1, 1}, {u"y", 0, 1, 1}},
         u"vector(1, 2, 3)", repeat({1, 2, 3}, 4), repeat({0, 0, 0}, 4)},
        {"samples that are not finite are kept; their neighbours' normals are zero", GraphMode::Euclidian,
         {{u"x", -1, 1, 2}}, u"1/x", {{-1, -1, 0}, {0, Inf, 0}, {1, 1, 0}}, {{0, 0, 0}, {-R2, R2, 0}, {0, 0, 0}}},
    };
    for (auto const& c : cases)
        expectSamples(c);
}

TEST(GraphSampler, SamplesAcrossBlocks)
{
    // 2500 samples cross several blocks of the calculator; the grid position carries over.
    TestHost host;
    GraphDoc doc(&host);
    setVariables(&doc, {{u"x", 0, 49, 49}, {u"y", 0, 49, 49}});
    GraphExpr* e = addExpr(&doc, u"x + 100*y");
    Vexadrome::Parsing::Error error;
    ASSERT_TRUE(e->bindExprString(&error));
    int wrong = 0;
    for (int k = 0, i = 0, j = 0; k < 2500; ++k, i = k % 50, j = k / 50)
        wrong += e->points[3 * k] != i || e->points[3 * k + 1] != i + 100 * j || e->points[3 * k + 2] != j;
    EXPECT_EQ(wrong, 0) << "samples off their grid position";
}

TEST(GraphSampler, StoreUnit)
{
    // Squares that would overflow, and underflow.
    for (auto const& c : {std::pair<Vec, Vec>{{3e300, 4e300, 0}, {0.6, 0.8, 0}},
                          std::pair<Vec, Vec>{{1e-300, 0, 0}, {1, 0, 0}}}) {
        double out[3] = {9, 9, 9};
        GraphSampler::storeUnit(c.first[0], c.first[1], c.first[2], out);
        for (int a = 0; a < 3; ++a)
            EXPECT_NEAR(out[a], c.second[a], 1e-15) << c.first[0] << " " << c.first[1] << " axis " << a;
    }
}
