// The child runners and fatal-report checks themselves: a hang is killed
// and fails the test, a wrong report fails, a right one passes. Input and
// error capture are read back by every test of the vexadrome program.
#include <gtest/gtest.h>
#include <gtest/gtest-spi.h>

#include <unistd.h>

#include <chrono>
#include <cstdio>

#include "tests/support/child_process.h"

namespace {

TestSupport::ChildResult result;

void fatal(char const* report)
{
    std::printf("%s", report);
    std::fflush(stdout);
    ::_exit(70);
}

}

TEST(ChildProcess, AHangIsKilledAndFailsTheTest)
{
    auto start = std::chrono::steady_clock::now();
    EXPECT_NONFATAL_FAILURE(result = TestSupport::runInChild([] { ::sleep(30); }, 1), "did not end in time");
    EXPECT_TRUE(result.timedOut);
    // A program that leaves a process behind holding its output open.
    EXPECT_NONFATAL_FAILURE(result = TestSupport::runProgram({"/bin/sh", "-c", "sleep 30 & sleep 30"}, "", 1),
                            "did not end in time");
    EXPECT_TRUE(result.timedOut);
    EXPECT_LT(std::chrono::steady_clock::now() - start, std::chrono::seconds(10));
}

TEST(ChildProcess, FatalChecksPassOnlyTheRightReport)
{
    TestSupport::expectFatal([] { fatal("Error.X: a/b.cpp(3)\n"); }, "Error.X: a/b.cpp(");
    TestSupport::expectException([] { fatal("unhandeled exception: T.E\nBroken.\n"); }, "T.E", "Broken.");
    TestSupport::expectException([] { fatal("unhandeled exception T.E\nBroken.\na/b.cpp(42)\n"); }, "T.E", "Broken.");
    EXPECT_NONFATAL_FAILURE(TestSupport::expectFatal([] { fatal("Error.Y: a/b.cpp(3)\n"); }, "Error.X"), "Error.Y");
    EXPECT_NONFATAL_FAILURE(TestSupport::expectFatal([] { std::printf("Error.X\n"); }, "Error.X"), "70");
    EXPECT_NONFATAL_FAILURE(TestSupport::expectReport([] { fatal("a\nb\n"); }, "a\n"), "a\\nb\\n");
    EXPECT_NONFATAL_FAILURE(TestSupport::expectException([] { fatal("unhandeled exception: T.E\nOther.\n"); }, "T.E",
                                                         "Broken."),
                            "Other.");
}
