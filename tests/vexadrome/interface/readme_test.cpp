// The calculator examples of README.md, run through the program: each block
// of indented "math> " lines with the "answ> " lines after them must be the
// transcript that vexadrome --calc prints for those lines.
#include <gtest/gtest.h>

#include <fstream>

#include "tests/support/child_process.h"

TEST(Readme, CalculatorExamplesAreWhatTheProgramPrints)
{
    // The tests run from build/bin, two folders below the source tree.
    std::string path = TestSupport::programBesideTests("../../README.md");
    std::ifstream file(path);
    ASSERT_TRUE(file) << path;
    std::vector<std::pair<std::string, std::string>> blocks(1);  // the typed lines, the transcript
    int examples = 0;
    for (std::string line; std::getline(file, line);) {
        std::size_t start = line.find_first_not_of(' ');
        bool typed = start != std::string::npos && start > 0 && line.compare(start, 6, "math> ") == 0;
        if (typed || (start != std::string::npos && start > 0 && line.compare(start, 6, "answ> ") == 0)) {
            blocks.back().first += typed ? line.substr(start + 6) + "\n" : "";
            blocks.back().second += line.substr(start) + "\n";
            examples += typed;
        } else if (!blocks.back().first.empty()) {
            blocks.emplace_back();
        }
    }
    for (auto const& [input, transcript] : blocks) {
        if (input.empty())
            continue;
        auto run = TestSupport::runVexadrome({"--calc"}, input);
        EXPECT_EQ(run.exitCode, 0);
        EXPECT_EQ(run.output, transcript + "math> \n") << "the README example:\n" << transcript;
    }
    EXPECT_GE(examples, 3) << "the README's calculator examples were not found in " << path;
}
