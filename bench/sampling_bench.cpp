// sampling_bench: the time to compile and sample a graph expression with its
// normals, and to re-sample a time-dependent one as the animation timer does,
// against the same sampling written directly in C++.
#include <algorithm>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <map>
#include <string>
#include <vector>

#include <benchmark/benchmark.h>

#include "bench/benchmark_arguments.h"

#include "nycore/system/runtime.h"
#include "nycore/system/time.h"
#include "nycore/text/string_functions.h"
#include "vexadrome/documents/document_host.h"
#include "vexadrome/documents/graph_doc.h"

using Vexadrome::Documents::GraphDoc;
using Vexadrome::Documents::GraphExpr;

namespace {

constexpr char16_t const* SurfaceText = u"sin(x)*cos(y)+sqrt(x*x+y*y)";
constexpr int SurfaceSide = 200;
// The wave moves through one period every two seconds.
constexpr char16_t const* WaveText = u"sin(x + 6.283185307179586*time(2))*cos(y)";
constexpr int WaveSide = 100;
constexpr double RangeMin = -10.0;
constexpr double RangeMax = 10.0;

class BenchHost : public Vexadrome::Documents::DocumentHost {
public:
    Vexadrome::Documents::ExprManager* get$store() override { return &store; }

private:
    Vexadrome::Documents::ExprManager store;
};

// A graph over x and y, side samples each way, with one expression.
struct Graph {
    Graph(char16_t const* text, int side) : doc(new GraphDoc(&host))
    {
        doc->resetVariables(2);
        doc->updateVariable(0, u"x"_str, RangeMin, RangeMax, side - 1, 25);
        doc->updateVariable(1, u"y"_str, RangeMin, RangeMax, side - 1, 25);
        expr = new GraphExpr(doc);
        NyCore::String* s = string_from_cstr(text);
        expr->set$exprString(s);
        string_free(s);
        doc->appendExpr(expr);
    }
    ~Graph() { delete doc; }

    bool compile()
    {
        Vexadrome::Parsing::Error error;
        return expr->bindExprString(&error);
    }

    BenchHost host;
    GraphDoc* doc;
    GraphExpr* expr;
};

// The sampling as a C++ program would write it for one known function.
class NativeSurface {
public:
    explicit NativeSurface(int side) : side(side), points(3 * side * side), normals(3 * side * side) {}

    template <typename Function>
    void sample(Function f)
    {
        for (int j = 0; j < side; ++j) {
            double y = RangeMin + (RangeMax - RangeMin) * j / (side - 1);
            for (int i = 0; i < side; ++i) {
                double x = RangeMin + (RangeMax - RangeMin) * i / (side - 1);
                double* p = &points[3 * (j * side + i)];
                p[0] = x;
                p[1] = f(x, y);
                p[2] = y;
            }
        }
        for (int j = 0; j < side; ++j) {
            for (int i = 0; i < side; ++i) {
                double const* left = &points[3 * (j * side + std::max(i - 1, 0))];
                double const* right = &points[3 * (j * side + std::min(i + 1, side - 1))];
                double const* down = &points[3 * (std::max(j - 1, 0) * side + i)];
                double const* up = &points[3 * (std::min(j + 1, side - 1) * side + i)];
                double a[3] = {up[0] - down[0], up[1] - down[1], up[2] - down[2]};
                double b[3] = {right[0] - left[0], right[1] - left[1], right[2] - left[2]};
                double n[3] = {a[1] * b[2] - a[2] * b[1], a[2] * b[0] - a[0] * b[2], a[0] * b[1] - a[1] * b[0]};
                double length = std::sqrt(n[0] * n[0] + n[1] * n[1] + n[2] * n[2]);
                double* out = &normals[3 * (j * side + i)];
                for (int c = 0; c < 3; ++c)
                    out[c] = length > 0.0 ? n[c] / length : 0.0;
            }
        }
    }

    int side;
    std::vector<double> points;
    std::vector<double> normals;
};

double surface(double x, double y)
{
    return std::sin(x) * std::cos(y) + std::sqrt(x * x + y * y);
}

// The built-in "time" with a period of two seconds.
double waveAt(double x, double y, std::uint32_t ticks)
{
    double phase = static_cast<double>(ticks % 2000u) / 2000.0;
    return std::sin(x + 6.283185307179586 * phase) * std::cos(y);
}

// Compiling an expression again, as an accepted options dialog does.
void compileAndSample(benchmark::State& state)
{
    Graph graph(SurfaceText, SurfaceSide);
    for (auto _ : state) {
        bool compiled = graph.compile();
        benchmark::DoNotOptimize(compiled);
        benchmark::DoNotOptimize(graph.expr->normals[0]);
    }
}

// A new expression each time: its arrays are new memory, which the system
// maps in page by page as the samples are first written.
void firstCompile(benchmark::State& state)
{
    Graph graph(SurfaceText, SurfaceSide);
    for (auto _ : state) {
        GraphExpr fresh(graph.doc);
        fresh.set$exprString(graph.expr->get$exprString());
        Vexadrome::Parsing::Error error;
        bool compiled = fresh.bindExprString(&error);
        benchmark::DoNotOptimize(compiled);
        benchmark::DoNotOptimize(fresh.normals[0]);
    }
}

void resampleSurface(benchmark::State& state)
{
    Graph graph(SurfaceText, SurfaceSide);
    graph.compile();
    for (auto _ : state) {
        graph.expr->resample();
        benchmark::DoNotOptimize(graph.expr->normals[0]);
    }
}

void nativeSurface(benchmark::State& state)
{
    NativeSurface native(SurfaceSide);
    for (auto _ : state) {
        native.sample(surface);
        benchmark::DoNotOptimize(native.normals[0]);
    }
}

// The function called through a pointer the compiler cannot see through, so
// that, like the engine, it computes cos(y) at every point instead of once a row.
double (*volatile surfaceCall)(double, double) = surface;

void nativeSurfaceCall(benchmark::State& state)
{
    NativeSurface native(SurfaceSide);
    for (auto _ : state) {
        auto f = surfaceCall;
        native.sample(f);
        benchmark::DoNotOptimize(native.normals[0]);
    }
}

void animationTick(benchmark::State& state)
{
    Graph graph(WaveText, WaveSide);
    graph.compile();
    for (auto _ : state) {
        graph.doc->refreshExprs();
        benchmark::DoNotOptimize(graph.expr->normals[0]);
    }
}

void nativeAnimationTick(benchmark::State& state)
{
    NativeSurface native(WaveSide);
    for (auto _ : state) {
        std::uint32_t ticks = NyCore::System::Time::getTickCount();
        native.sample([ticks](double x, double y) { return waveAt(x, y, ticks); });
        benchmark::DoNotOptimize(native.normals[0]);
    }
}

// The engine's points and normals must be the C++ ones before anything is timed.
bool agrees(char const* name, GraphExpr const* expr, NativeSurface const& native)
{
    std::size_t count = native.points.size();
    for (std::size_t k = 0; k < count; ++k) {
        double const pairs[2][2] = {{expr->points[k], native.points[k]}, {expr->normals[k], native.normals[k]}};
        for (auto const& pair : pairs) {
            if (!(std::fabs(pair[0] - pair[1]) <= 1e-12 * std::fmax(1.0, std::fabs(pair[1])))) {
                std::fprintf(stderr, "%s: value %zu is %.17g instead of %.17g\n", name, k, pair[0], pair[1]);
                return false;
            }
        }
    }
    return true;
}

bool checkAgreement()
{
    Graph surfaceGraph(SurfaceText, SurfaceSide);
    NativeSurface nativeSurfaceSamples(SurfaceSide);
    nativeSurfaceSamples.sample(surface);
    if (!surfaceGraph.compile() || !agrees("surface", surfaceGraph.expr, nativeSurfaceSamples))
        return false;

    Graph waveGraph(WaveText, WaveSide);
    NativeSurface nativeWave(WaveSide);
    if (!waveGraph.compile())
        return false;
    waveGraph.expr->calculator.set$tickCount(1234);
    waveGraph.expr->resample();
    nativeWave.sample([](double x, double y) { return waveAt(x, y, 1234); });
    return agrees("wave", waveGraph.expr, nativeWave);
}

double fastest(std::vector<double> const& times)
{
    return *std::min_element(times.begin(), times.end());
}

// The console report, then the engine's times against C++ from the fastest repetitions.
class SamplingReporter : public benchmark::ConsoleReporter {
public:
    void ReportRuns(std::vector<Run> const& reports) override
    {
        ConsoleReporter::ReportRuns(reports);
        for (Run const& run : reports) {
            if (run.run_type == Run::RT_Aggregate && run.aggregate_name == "min")
                milliseconds[run.run_name.function_name] = run.GetAdjustedRealTime() * 1e3 /
                                                           benchmark::GetTimeUnitMultiplier(run.time_unit);
        }
    }

    void Finalize() override
    {
        ConsoleReporter::Finalize();
        auto time = [this](char const* name) { return milliseconds.count(name) ? milliseconds[name] : -1.0; };
        double compiled = time("surface200/compile_sample");
        double first = time("surface200/first_compile");
        double resampled = time("surface200/resample");
        double native = time("surface200/native");
        double nativeCall = time("surface200/native_call");
        double tick = time("wave100/refresh");
        double nativeTick = time("wave100/native");
        std::printf("\nMilliseconds (fastest repetition):\n\n");
        std::printf("| case | engine | C++ | engine / C++ |\n|---|---:|---:|---:|\n");
        if (compiled > 0 && native > 0)
            std::printf("| 200 x 200 surface, compile and sample | %.3f | %.3f | %.2fx |\n", compiled, native,
                        compiled / native);
        if (first > 0 && native > 0)
            std::printf("| 200 x 200 surface, first compile of a new expression | %.3f | %.3f | %.2fx |\n", first,
                        native, first / native);
        if (resampled > 0 && native > 0)
            std::printf("| 200 x 200 surface, sample only | %.3f | %.3f | %.2fx |\n", resampled, native,
                        resampled / native);
        if (resampled > 0 && nativeCall > 0)
            std::printf("| 200 x 200 surface, sample only, against C++ calling f at every point "
                        "| %.3f | %.3f | %.2fx |\n",
                        resampled, nativeCall, resampled / nativeCall);
        if (tick > 0 && nativeTick > 0)
            std::printf("| 100 x 100 animated re-sample | %.3f | %.3f | %.2fx |\n", tick, nativeTick,
                        tick / nativeTick);
    }

private:
    std::map<std::string, double> milliseconds;
};

}

int main(int argc, char** argv)
{
    NyCore::System::Runtime::initilize();
    if (!initializeBenchmarks(argc, argv, "0.1"))
        return 2;
    if (!checkAgreement())
        return 1;

    auto add = [](char const* name, void (*function)(benchmark::State&)) {
        benchmark::RegisterBenchmark(name, function)->ComputeStatistics("min", fastest)->Unit(benchmark::kMillisecond);
    };
    add("surface200/compile_sample", compileAndSample);
    add("surface200/first_compile", firstCompile);
    add("surface200/resample", resampleSurface);
    add("surface200/native", nativeSurface);
    add("surface200/native_call", nativeSurfaceCall);
    add("wave100/refresh", animationTick);
    add("wave100/native", nativeAnimationTick);

    SamplingReporter reporter;
    benchmark::RunSpecifiedBenchmarks(&reporter);
    benchmark::Shutdown();
    NyCore::System::Runtime::shutdown();
    return 0;
}
