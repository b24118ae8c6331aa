// Code in a forked child, or another program, with what it printed and how it
// ended (past its time limit it is killed and the test fails); fatal-report checks.
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

// A body that returns normally exits with 0.
ChildResult runInChild(std::function<void()> const& body, int seconds = 60);

// The program's path first; `input` is fed to its standard input.
ChildResult runProgram(std::vector<std::string> const& arguments, std::string const& input, int seconds = 60);

std::string programBesideTests(char const* name);
ChildResult runVexadrome(std::vector<std::string> options, std::string const& input = "");

// `body` in a child must end with the fatal exit code (70) after printing a
// report that starts with `reportStart` (expectFatal) or is exactly `report`.
void expectFatal(std::function<void()> const& body, std::string const& reportStart);
void expectReport(std::function<void()> const& body, std::string const& report);
// An unhandled exception's report, with or without its source location line.
void expectException(std::function<void()> const& body, std::string const& typeName, std::string const& message);

}
