// The summary table after the benchmark runs. With repetitions it takes the
// fastest run of each benchmark, otherwise its single run.
#include "bench/summary_reporter.h"

#include <cstdio>

namespace Bench {

void SummaryReporter::ReportRuns(std::vector<Run> const& reports)
{
    for (Run const& run : reports) {
        if (run.run_type == Run::RT_Aggregate && run.aggregate_name != FastestAggregate)
            continue;
        shownRuns[run.run_name.function_name].push_back(run);
        if (!run.error_occurred)
            record(run);
    }
}

void SummaryReporter::record(Run const& run)
{
    std::string const& name = run.run_name.function_name;
    auto size = run.counters.find(ProgramSizeCounter);
    if (size != run.counters.end())
        programSizes[name] = static_cast<int>(size->second.value);
    auto counter = run.counters.find(PointTimeCounter);
    if (counter != run.counters.end())
        pointTimes[name] = counter->second.value * 1e9;
    else
        otherTimes[name] = run.GetAdjustedCPUTime() * 1e6 / benchmark::GetTimeUnitMultiplier(run.time_unit);
}

double SummaryReporter::pointTime(std::string const& name) const
{
    auto found = pointTimes.find(name);
    return found == pointTimes.end() ? -1.0 : found->second;
}

namespace {

void printTime(double ns)
{
    if (ns < 0)
        std::printf(" - |");
    else
        std::printf(" %.2f |", ns);
}

void printRatio(double ns, double reference)
{
    if (ns < 0 || reference <= 0)
        std::printf(" - |");
    else
        std::printf(" %.2fx |", ns / reference);
}

}

void SummaryReporter::Finalize()
{
    for (std::string const& name : benchmarkNames) {
        auto runs = shownRuns.find(name);
        if (runs != shownRuns.end())
            ConsoleReporter::ReportRuns(runs->second);
    }
    ConsoleReporter::Finalize();
    printSummary();
}

void SummaryReporter::printSummary() const
{
    std::printf("\nNanoseconds per point (fastest of the repetitions), ratios (below 1 is faster),\n"
                "and the instructions the compiled program runs per point (ops):\n\n");
    std::printf("| expression | ops | engine per point | engine batch 256 | engine batch 1024 | C++ call | C++ loop "
                "| muparser Eval | muparser bulk | per point / C++ call | batch 1024 / C++ loop "
                "| per point / muparser Eval | batch 1024 / muparser bulk |\n");
    std::printf("|---|---:|---:|---:|---:|---:|---:|---:|---:|---:|---:|---:|---:|\n");
    for (std::string const& name : expressionNames) {
        double bound = pointTime("bound/" + name);
        double batch = pointTime("batch1024/" + name);
        double nativeCall = pointTime("native_call/" + name);
        double nativeLoop = pointTime("native_loop/" + name);
        double muparser = pointTime("muparser/" + name);
        double muparserBulk = pointTime("muparser_bulk/" + name);
        if (bound < 0 && batch < 0 && nativeCall < 0 && nativeLoop < 0 && muparser < 0 && muparserBulk < 0)
            continue;
        auto size = programSizes.find("bound/" + name);
        std::printf("| %s | %s |", name.c_str(),
                    size == programSizes.end() ? "-" : std::to_string(size->second).c_str());
        printTime(bound);
        printTime(pointTime("batch256/" + name));
        printTime(batch);
        printTime(nativeCall);
        printTime(nativeLoop);
        printTime(muparser);
        printTime(muparserBulk);
        printRatio(bound, nativeCall);
        printRatio(batch, nativeLoop);
        printRatio(bound, muparser);
        printRatio(batch, muparserBulk);
        std::printf("\n");
    }
    if (!otherTimes.empty()) {
        std::printf("\nMicroseconds per operation (fastest of the repetitions):\n\n| benchmark | us |\n|---|---:|\n");
        for (auto const& [name, us] : otherTimes)
            std::printf("| %s | %.2f |\n", name.c_str(), us);
    }
    std::fflush(stdout);
}

}
