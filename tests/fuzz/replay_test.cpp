// Replays every saved fuzz input (tests/fuzz/corpus/<target>/*) through its
// fuzz target's entry function in a normal test run, so that an old
// finding cannot come back unnoticed. The entries are the fuzz sources
// compiled with LLVMFuzzerTestOneInput renamed, without libFuzzer.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include "tests/support/child_process.h"

extern "C" int replayParserEntry(std::uint8_t const* data, std::size_t size);
extern "C" int replayCalculatorEntry(std::uint8_t const* data, std::size_t size);
extern "C" int replayXmlEntry(std::uint8_t const* data, std::size_t size);

namespace {

std::vector<std::filesystem::path> corpus(std::string const& target)
{
    std::vector<std::filesystem::path> files;
    for (auto const& entry : std::filesystem::directory_iterator(std::filesystem::path(FUZZ_CORPUS_DIR) / target))
        if (entry.is_regular_file())
            files.push_back(entry.path());
    std::sort(files.begin(), files.end());
    return files;
}

}

TEST(FuzzReplay, EveryCorpusInputRunsCleanly)
{
    struct Target {
        char const* name;
        int (*entry)(std::uint8_t const*, std::size_t);
    } const targets[] = {
        {"parser", replayParserEntry},
        {"calculator", replayCalculatorEntry},
        {"xml", replayXmlEntry},
    };
    for (Target const& target : targets) {
        auto files = corpus(target.name);
        EXPECT_FALSE(files.empty()) << "no corpus for " << target.name;
        for (auto const& file : files) {
            SCOPED_TRACE(file.string());
            std::ifstream in(file, std::ios::binary);
            std::string bytes((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
            // In a child: a crash, abort or fatal report fails the case instead of the program.
            auto result = TestSupport::runInChild([&] {
                target.entry(reinterpret_cast<std::uint8_t const*>(bytes.data()), bytes.size());
            });
            EXPECT_TRUE(result.exited) << "ended by signal " << result.signal;
            EXPECT_EQ(result.exitCode, 0) << result.output;
        }
    }
}
