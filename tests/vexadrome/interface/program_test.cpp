// The vexadrome program as a user starts it: options, and the calculator on
// piped standard input writing the transcript a person would see.
#include <gtest/gtest.h>

#include "tests/support/child_process.h"

namespace {

TestSupport::ChildResult vexadrome(std::vector<std::string> options, std::string const& input = "")
{
    options.insert(options.begin(), TestSupport::programBesideTests("vexadrome"));
    return TestSupport::runProgram(options, input);
}

}

TEST(Program, CalculatorOnPipedInputWritesTheTranscript)
{
    auto run = vexadrome({"--calc"}, "1+2\nf(x) = x*x\n\nf(3)\r\nvector(1, f(2))\n2 3\nhistory\n");
    EXPECT_TRUE(run.exited);
    EXPECT_EQ(run.exitCode, 0);
    EXPECT_EQ(run.errors, "");
    EXPECT_EQ(run.output,
              "math> 1+2\n"
              "answ> 3\n"
              "math> f(x) = x*x\n"
              "math> f(3)\n"
              "answ> 9\n"
              "math> vector(1, f(2))\n"
              "answ> (1, 4)\n"
              "math> 2 3\n"
              "        *\n"
              "errr> malformed expression\n"
              "math> \n"
              "0 1+2\n"
              "1 f(x) = x*x\n"
              "2 f(3)\n"
              "3 vector(1, f(2))\n"
              "4 2 3\n"
              "math> \n");
}

TEST(Program, OptionsAndUsage)
{
    auto help = vexadrome({"--help"});
    EXPECT_EQ(help.exitCode, 0);
    EXPECT_EQ(help.output.rfind("Usage: vexadrome", 0), 0u) << help.output;

    auto unknown = vexadrome({"--calculator"});
    EXPECT_EQ(unknown.exitCode, 2);
    EXPECT_EQ(unknown.output, "");
    EXPECT_EQ(unknown.errors.rfind("vexadrome: unknown option '--calculator'\n", 0), 0u) << unknown.errors;
    EXPECT_NE(unknown.errors.find("--calc"), std::string::npos) << "the usage text follows";

    auto empty = vexadrome({"--calc"});
    EXPECT_EQ(empty.exitCode, 0);
    EXPECT_EQ(empty.output, "math> \n");
}
