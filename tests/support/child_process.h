// Runs a piece of code in a forked child, or another program, and reports
// what it printed and how it ended; a child that outlives its time limit is
// killed and the running test fails. Also the checks of fatal reports.
#pragma once

#include <functional>
#include <string>
#include <vector>

namespace TestSupport {

struct ChildResult {
    bool exited = false;    // ended through exit/_exit (not a signal)
    int exitCode = -1;      // valid when exited
    int signal = 0;         // the terminating signal otherwise
    bool timedOut = false;  // killed after its time limit (the test has failed)
    std::string output;     // everything written to standard output
    std::string errors;     // everything written to standard error (runProgram only)
};

// Runs `body` in a child process; a body that returns normally exits with 0.
ChildResult runInChild(std::function<void()> const& body, int seconds = 60);

// Runs a program with the arguments (the program's path first), feeding
// `input` to its standard input; captures both output streams.
ChildResult runProgram(std::vector<std::string> const& arguments, std::string const& input, int seconds = 60);

// A program built beside the running test program (same folder).
std::string programBesideTests(char const* name);

// The vexadrome program built beside the tests, run with `options`.
ChildResult runVexadrome(std::vector<std::string> options, std::string const& input = "");

// Fatal reports: `body` runs in a child that must end with the fatal exit
// code (70) after printing, on standard output, a report that starts with
// `reportStart` (expectFatal) or is exactly `report` (expectReport).
void expectFatal(std::function<void()> const& body, std::string const& reportStart);
void expectReport(std::function<void()> const& body, std::string const& report);
// The report of an unhandled exception of type `typeName` (for example
// "NyCore.OutOfBoundsException") with `message`, with or without the
// source location line.
void expectException(std::function<void()> const& body, std::string const& typeName, std::string const& message);

}
