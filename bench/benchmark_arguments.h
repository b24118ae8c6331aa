// The command line of the benchmark programs: short runs by default, the
// repetitions in random order so that a burst of other work on the machine
// slows only some of them, and only aggregates shown. Flags given on the
// command line come later and win.
#pragma once

#include <benchmark/benchmark.h>

#include <string>
#include <vector>

// Initialises Google Benchmark; false when the command line has flags it does not know.
inline bool initializeBenchmarks(int argc, char** argv, char const* minTime)
{
    static std::vector<std::string> defaults = {std::string("--benchmark_min_time=") + minTime, "--benchmark_repetitions=5",
                                                "--benchmark_enable_random_interleaving=true",
                                                "--benchmark_display_aggregates_only=true"};
    static std::vector<char*> arguments;
    arguments = {argv[0]};
    for (std::string& flag : defaults)
        arguments.push_back(flag.data());
    for (int i = 1; i < argc; ++i)
        arguments.push_back(argv[i]);
    int count = static_cast<int>(arguments.size());
    benchmark::Initialize(&count, arguments.data());
    return !benchmark::ReportUnrecognizedArguments(count, arguments.data());
}
