// expression_bench: the time per point of the expression engine, bound as a
// graph binds it and in batches, against the same functions compiled as C++
// and run by muparser; and the time to parse and link a one-line expression.
#include <dlfcn.h>

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <memory>
#include <string>
#include <utility>
#include <vector>

#include <benchmark/benchmark.h>

#include "bench/benchmark_arguments.h"
#include <muParser.h>

#include "bench/bound_expression.h"
#include "bench/expression_cases.h"
#include "bench/summary_reporter.h"
#include "nycore/system/runtime.h"
#include "nycore/text/string_functions.h"
#include "vexadrome/actions/prelink_expr_linker.h"
#include "vexadrome/parsing/expr_parser.h"

using namespace Bench;
using Vexadrome::Parsing::Error;

namespace {

constexpr int PointCount = PointGrid::PointCount;
constexpr char const* OneLineExpression = "sin(1)*cos(2)+sqrt(3*3+4*4)";

PointGrid const& grid()
{
    static PointGrid const points;
    return points;
}

void countPoints(benchmark::State& state)
{
    state.counters[PointTimeCounter] = benchmark::Counter(
        PointCount, benchmark::Counter::kIsIterationInvariantRate | benchmark::Counter::kInvert);
}

double sumOf(std::vector<double> const& values)
{
    double sum = 0.0;
    for (double value : values)
        sum += value;
    return sum;
}

std::unique_ptr<mu::Parser> makeMuparser(char const* text, double* x, double* y)
{
    auto parser = std::make_unique<mu::Parser>();
    parser->DefineVar("x", x);
    parser->DefineVar("y", y);
    parser->SetExpr(text);
    return parser;
}

void boundPerPoint(benchmark::State& state, ExpressionCase const* expression)
{
    BoundExpression bound(*expression);
    double const* xs = grid().get$xs();
    double const* ys = grid().get$ys();
    for (auto _ : state) {
        double sum = 0.0;
        for (int k = 0; k < PointCount; ++k)
            sum += bound.at(xs[k], ys[k]);
        benchmark::DoNotOptimize(sum);
    }
    countPoints(state);
    state.counters[ProgramSizeCounter] = bound.get$calculator()->get$program()->get$varyingCount();
}

void boundBatch(benchmark::State& state, int blockSize, ExpressionCase const* expression)
{
    BoundExpression bound(*expression);
    std::vector<double> results(PointCount);
    for (auto _ : state) {
        for (int first = 0; first < PointCount; first += blockSize)
            bound.batch(blockSize, grid().get$xs() + first, grid().get$ys() + first, results.data() + first);
        benchmark::DoNotOptimize(sumOf(results));
    }
    countPoints(state);
}

void nativeCall(benchmark::State& state, ExpressionCase const* expression)
{
    double const* xs = grid().get$xs();
    double const* ys = grid().get$ys();
    // Read through a volatile so that the C++ compiler cannot inline the call.
    NativeFunction volatile function = expression->native;
    for (auto _ : state) {
        NativeFunction f = function;
        double sum = 0.0;
        for (int k = 0; k < PointCount; ++k)
            sum += f(xs[k], ys[k]);
        benchmark::DoNotOptimize(sum);
    }
    countPoints(state);
}

void nativeLoop(benchmark::State& state, ExpressionCase const* expression)
{
    std::vector<double> results(PointCount);
    for (auto _ : state) {
        expression->fillNative(PointCount, grid().get$xs(), grid().get$ys(), results.data());
        benchmark::DoNotOptimize(sumOf(results));
    }
    countPoints(state);
}

void muparserPerPoint(benchmark::State& state, ExpressionCase const* expression)
{
    double x = 1.0;
    double y = 1.0;
    auto parser = makeMuparser(expression->muparserText, &x, &y);
    double const* xs = grid().get$xs();
    double const* ys = grid().get$ys();
    for (auto _ : state) {
        double sum = 0.0;
        for (int k = 0; k < PointCount; ++k) {
            x = xs[k];
            y = ys[k];
            sum += parser->Eval();
        }
        benchmark::DoNotOptimize(sum);
    }
    countPoints(state);
}

// muparser's bulk mode reads variable k of point k from the arrays given to
// DefineVar; it evaluates the whole grid in one call.
void muparserBulk(benchmark::State& state, ExpressionCase const* expression)
{
    std::vector<double> xs(grid().get$xs(), grid().get$xs() + PointCount);
    std::vector<double> ys(grid().get$ys(), grid().get$ys() + PointCount);
    auto parser = makeMuparser(expression->muparserText, xs.data(), ys.data());
    std::vector<double> results(PointCount);
    for (auto _ : state) {
        parser->Eval(results.data(), PointCount);
        benchmark::DoNotOptimize(sumOf(results));
    }
    countPoints(state);
}

void parseOnly(benchmark::State& state)
{
    NyCore::String* text = string_from_ascii(OneLineExpression);
    for (auto _ : state) {
        Error error;
        Vexadrome::Expressions::Prelink* tree = Vexadrome::Parsing::ExprParser::parse(text, &error);
        benchmark::DoNotOptimize(tree);
        delete tree;
    }
    string_free(text);
}

void parseAndLink(benchmark::State& state)
{
    NyCore::String* text = string_from_ascii(OneLineExpression);
    Vexadrome::Documents::ExprManager store;
    for (auto _ : state) {
        Error error;
        Vexadrome::Expressions::Prelink* tree = Vexadrome::Parsing::ExprParser::parse(text, &error);
        Vexadrome::Expressions::Expr* linked =
            Vexadrome::Actions::PrelinkExprLinker::link(tree, store.get$functions(), &error);
        benchmark::DoNotOptimize(linked);
        delete linked;
        delete tree;
    }
    string_free(text);
}

// Parse, link, bind (which compiles) and evaluate: a calculator line.
void evaulateExpr(benchmark::State& state)
{
    NyCore::String* text = string_from_ascii(OneLineExpression);
    Vexadrome::Documents::ExprManager store;
    Vexadrome::Actions::ExprValueCalculator calculator;
    for (auto _ : state) {
        Error error;
        store.evaulateExpr(text, &calculator, &error);
        benchmark::DoNotOptimize(calculator.get$values()[0]);
    }
    string_free(text);
}

// Everything a graph does before its first point: definitions, parse, link, bind.
void graphSetup(benchmark::State& state, ExpressionCase const* expression)
{
    for (auto _ : state) {
        BoundExpression bound(*expression);
        benchmark::DoNotOptimize(bound.get$calculator()->get$values());
    }
}

void muparserParse(benchmark::State& state)
{
    double x = 1.0;
    double y = 1.0;
    auto parser = makeMuparser("0", &x, &y);
    for (auto _ : state) {
        // muparser parses on the first Eval after SetExpr.
        parser->SetExpr(OneLineExpression);
        benchmark::DoNotOptimize(parser->Eval());
    }
}

// Every way of evaluating a case must give the same values before any is timed.
bool agreeOnEveryPoint(ExpressionCase const& expression)
{
    BoundExpression bound(expression);
    double const* xs = grid().get$xs();
    double const* ys = grid().get$ys();
    std::vector<double> batch(PointCount);
    std::vector<double> filled(PointCount);
    std::vector<double> bulk(PointCount);
    bound.batch(PointCount, xs, ys, batch.data());
    expression.fillNative(PointCount, xs, ys, filled.data());
    std::vector<double> bulkXs(xs, xs + PointCount);
    std::vector<double> bulkYs(ys, ys + PointCount);
    makeMuparser(expression.muparserText, bulkXs.data(), bulkYs.data())->Eval(bulk.data(), PointCount);
    double x = 0.0;
    double y = 0.0;
    auto parser = makeMuparser(expression.muparserText, &x, &y);
    for (int k = 0; k < PointCount; ++k) {
        x = xs[k];
        y = ys[k];
        double expected = expression.native(x, y);
        double const values[] = {bound.at(x, y), batch[k], filled[k], parser->Eval(), bulk[k]};
        for (double value : values) {
            if (!(std::fabs(value - expected) <= 1e-12 * std::fmax(1.0, std::fabs(expected)))) {
                std::fprintf(stderr, "%s at (%g, %g): %.17g instead of %.17g\n", expression.name, x, y, value,
                             expected);
                return false;
            }
        }
    }
    return true;
}

// Debian builds muparser with OpenMP, and its bulk mode then spreads each
// Eval over every core. The engine uses one, so muparser gets one too.
void keepMuparserToOneThread()
{
    using SetThreadCount = void (*)(int);
    if (auto setThreadCount = reinterpret_cast<SetThreadCount>(dlsym(RTLD_DEFAULT, "omp_set_num_threads")))
        setThreadCount(1);
}

// The machine is shared: of the repetitions, the fastest is the one least
// disturbed by other work, so every benchmark also reports its minimum.
double fastest(std::vector<double> const& times)
{
    return *std::min_element(times.begin(), times.end());
}

// Registers the benchmarks, each kind over all expressions in turn; answers their names in that order.
class Registry {
public:
    template<typename... Arguments>
    benchmark::internal::Benchmark* add(std::string const& name, Arguments&&... arguments)
    {
        names.push_back(name);
        return benchmark::RegisterBenchmark(name.c_str(), std::forward<Arguments>(arguments)...)
            ->ComputeStatistics(FastestAggregate, fastest);
    }

    template<typename... Arguments>
    void addForEveryCase(std::string const& kind, Arguments... arguments)
    {
        for (int c = 0; c < CaseCount; ++c)
            add(kind + "/" + Cases[c].name, arguments..., &Cases[c]);
    }

    std::vector<std::string> names;
};

std::vector<std::string> registerBenchmarks()
{
    Registry registry;
    registry.addForEveryCase("bound", boundPerPoint);
    registry.addForEveryCase("batch256", boundBatch, 256);
    registry.addForEveryCase("batch1024", boundBatch, 1024);
    registry.addForEveryCase("native_call", nativeCall);
    registry.addForEveryCase("native_loop", nativeLoop);
    registry.addForEveryCase("muparser", muparserPerPoint);
    registry.addForEveryCase("muparser_bulk", muparserBulk);
    registry.add("parse", parseOnly)->Unit(benchmark::kMicrosecond);
    registry.add("parse_link", parseAndLink)->Unit(benchmark::kMicrosecond);
    registry.add("evaulateExpr", evaulateExpr)->Unit(benchmark::kMicrosecond);
    registry.add("muparser_parse_eval", muparserParse)->Unit(benchmark::kMicrosecond);
    for (int c = 0; c < CaseCount; ++c) {
        registry.add(std::string("graph_setup/") + Cases[c].name, graphSetup, &Cases[c])
            ->Unit(benchmark::kMicrosecond);
    }
    return registry.names;
}

}

int main(int argc, char** argv)
{
    NyCore::System::Runtime::initilize();
    keepMuparserToOneThread();

    if (!initializeBenchmarks(argc, argv, "0.05"))
        return 2;

    std::vector<std::string> names;
    for (int c = 0; c < CaseCount; ++c) {
        try {
            if (!agreeOnEveryPoint(Cases[c]))
                return 1;
        } catch (mu::Parser::exception_type const& fault) {
            std::fprintf(stderr, "%s: muparser: %s\n", Cases[c].name, fault.GetMsg().c_str());
            return 1;
        }
        names.push_back(Cases[c].name);
    }
    std::printf("All %d expressions agree on all %d points: engine, batch, C++, muparser, muparser bulk.\n",
                CaseCount, PointCount);

    SummaryReporter reporter(names, registerBenchmarks());
    benchmark::RunSpecifiedBenchmarks(&reporter);
    benchmark::Shutdown();
    NyCore::System::Runtime::shutdown();
    return 0;
}
