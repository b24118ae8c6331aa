// fork + pipe: the child's standard output goes into a pipe that the parent
// drains until the child ends.
#include "tests/support/child_process.h"

#include <sys/wait.h>
#include <unistd.h>

#include <cstdio>
#include <cstdlib>

namespace TestSupport {

ChildResult runInChild(std::function<void()> const& body)
{
    ChildResult result;
    int pipeEnds[2];
    if (::pipe(pipeEnds) != 0)
        return result;
    std::fflush(stdout);
    pid_t child = ::fork();
    if (child == 0) {
        ::close(pipeEnds[0]);
        ::dup2(pipeEnds[1], 1);
        ::close(pipeEnds[1]);
        body();
        std::fflush(stdout);
        ::_exit(0);
    }
    ::close(pipeEnds[1]);
    char buffer[4096];
    ssize_t n;
    while ((n = ::read(pipeEnds[0], buffer, sizeof buffer)) > 0)
        result.output.append(buffer, static_cast<std::size_t>(n));
    ::close(pipeEnds[0]);
    int status = 0;
    ::waitpid(child, &status, 0);
    if (WIFEXITED(status)) {
        result.exited = true;
        result.exitCode = WEXITSTATUS(status);
    } else if (WIFSIGNALED(status)) {
        result.signal = WTERMSIG(status);
    }
    return result;
}

}
