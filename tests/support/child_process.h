// Runs a piece of code in a forked child and reports what it printed on
// standard output and how it ended, for tests of fatal reports.
#pragma once

#include <functional>
#include <string>
#include <vector>

namespace TestSupport {

struct ChildResult {
    bool exited = false;   // ended through exit/_exit (not a signal)
    int exitCode = -1;     // valid when exited
    int signal = 0;        // the terminating signal otherwise
    std::string output;    // everything written to standard output
    std::string errors;    // everything written to standard error (runProgram only)
};

// Runs `body` in a child process; a body that returns normally exits with 0.
ChildResult runInChild(std::function<void()> const& body);

// Runs a program with the arguments (the program's path first), feeding
// `input` to its standard input; captures both output streams.
ChildResult runProgram(std::vector<std::string> const& arguments, std::string const& input);

// A program built beside the running test program (same folder).
std::string programBesideTests(char const* name);

}
