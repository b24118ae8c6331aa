// The calculator examples of README.md, run through the program: each block
// of indented "math> " lines with the "answ> " lines after them must be the
// transcript that vexadrome --calc prints for those lines.
#include <gtest/gtest.h>

#include <fstream>
#include <sstream>

#include "tests/support/child_process.h"

TEST(Readme, CalculatorExamplesAreWhatTheProgramPrints)
{
    // The tests run from build/bin, two folders below the source tree.
    std::string path = TestSupport::programBesideTests("../../README.md");
    std::ifstream file(path);
    ASSERT_TRUE(file) << path;
    std::vector<std::string> blocks(1);
    std::string line;
    while (std::getline(file, line)) {
        std::size_t start = line.find_first_not_of(' ');
        bool example = start != std::string::npos && start > 0 &&
                       (line.compare(start, 6, "math> ") == 0 || line.compare(start, 6, "answ> ") == 0);
        if (example)
            blocks.back() += line.substr(start) + "\n";
        else if (!blocks.back().empty())
            blocks.emplace_back();
    }
    int examples = 0;
    for (auto const& block : blocks) {
        if (block.empty())
            continue;
        std::string input;
        std::istringstream lines(block);
        while (std::getline(lines, line))
            if (line.starts_with("math> "))
                input += line.substr(6) + "\n", ++examples;
        auto run = TestSupport::runVexadrome({"--calc"}, input);
        EXPECT_EQ(run.exitCode, 0);
        EXPECT_EQ(run.output, block + "math> \n") << "the README example:\n" << block;
    }
    EXPECT_GE(examples, 3) << "the README's calculator examples were not found in " << path;
}
