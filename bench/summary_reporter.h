// SummaryReporter: the console report of Google Benchmark, in the order the
// benchmarks were registered however their repetitions were interleaved,
// followed by a table of nanoseconds per point for every expression and its
// ratios to C++ and to muparser, as the README shows it. Of repeated runs it
// shows and uses the fastest only.
#pragma once

#include <map>
#include <string>
#include <utility>
#include <vector>

#include <benchmark/benchmark.h>

namespace Bench {

// The counter every point benchmark sets: seconds per evaluated point.
inline constexpr char const* PointTimeCounter = "ns_per_point";
// The aggregate of repeated runs that the summary uses.
inline constexpr char const* FastestAggregate = "min";
// The counter of the per-point benchmarks: instructions the compiled program runs per point.
inline constexpr char const* ProgramSizeCounter = "ops";

class SummaryReporter : public benchmark::ConsoleReporter {
public:
    SummaryReporter(std::vector<std::string> expressionNames, std::vector<std::string> benchmarkNames)
        : expressionNames(std::move(expressionNames)), benchmarkNames(std::move(benchmarkNames))
    {
    }

    void ReportRuns(std::vector<Run> const& reports) override;
    void Finalize() override;

private:
    // Nanoseconds per point of a benchmark ("bound/trig"), or a negative
    // number when it did not run.
    double pointTime(std::string const& name) const;

    void record(Run const& run);
    void printSummary() const;

    std::vector<std::string> expressionNames;
    std::vector<std::string> benchmarkNames;
    // The runs to show, by benchmark name, until Finalize prints them in order.
    std::map<std::string, std::vector<Run>> shownRuns;
    std::map<std::string, double> pointTimes;
    std::map<std::string, int> programSizes;
    // Microseconds per iteration of the benchmarks that do not count points.
    std::map<std::string, double> otherTimes;
};

}
