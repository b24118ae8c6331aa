// Runs a piece of code in a forked child and reports what it printed on
// standard output and how it ended, for tests of fatal reports.
#pragma once

#include <functional>
#include <string>

namespace TestSupport {

struct ChildResult {
    bool exited = false;   // ended through exit/_exit (not a signal)
    int exitCode = -1;     // valid when exited
    int signal = 0;        // the terminating signal otherwise
    std::string output;    // everything written to standard output
};

// Runs `body` in a child process; a body that returns normally exits with 0.
ChildResult runInChild(std::function<void()> const& body);

}
