// fork + pipe: the child's standard output goes into a pipe that the parent
// drains until the child ends.
#include "tests/support/child_process.h"

#include <sys/wait.h>
#include <unistd.h>

#include <climits>
#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <poll.h>

namespace TestSupport {

namespace {

// Waits for the child to end and records how it ended.
void waitForChild(pid_t child, ChildResult& result)
{
    int status = 0;
    ::waitpid(child, &status, 0);
    if (WIFEXITED(status)) {
        result.exited = true;
        result.exitCode = WEXITSTATUS(status);
    } else if (WIFSIGNALED(status)) {
        result.signal = WTERMSIG(status);
    }
}

}

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
    waitForChild(child, result);
    return result;
}

ChildResult runProgram(std::vector<std::string> const& arguments, std::string const& input)
{
    ChildResult result;
    // A program that stops reading early must not take the test down with SIGPIPE.
    ::signal(SIGPIPE, SIG_IGN);
    int in[2], out[2], err[2];
    if (::pipe(in) != 0 || ::pipe(out) != 0 || ::pipe(err) != 0)
        return result;
    std::fflush(stdout);
    pid_t child = ::fork();
    if (child == 0) {
        ::dup2(in[0], 0);
        ::dup2(out[1], 1);
        ::dup2(err[1], 2);
        for (int fd : {in[0], in[1], out[0], out[1], err[0], err[1]})
            ::close(fd);
        std::vector<char*> argv;
        for (auto const& argument : arguments)
            argv.push_back(const_cast<char*>(argument.c_str()));
        argv.push_back(nullptr);
        ::execv(argv[0], argv.data());
        ::_exit(127);
    }
    ::close(in[0]);
    ::close(out[1]);
    ::close(err[1]);
    // Feed the input while draining both outputs, so that no pipe fills up.
    std::size_t written = 0;
    if (input.empty())
        ::close(in[1]);
    bool inputOpen = !input.empty(), outOpen = true, errOpen = true;
    while (outOpen || errOpen) {
        pollfd fds[3] = {{outOpen ? out[0] : -1, POLLIN, 0}, {errOpen ? err[0] : -1, POLLIN, 0}, {inputOpen ? in[1] : -1, POLLOUT, 0}};
        if (::poll(fds, 3, -1) < 0)
            break;
        char buffer[4096];
        for (int k = 0; k < 2; ++k) {
            if (!fds[k].revents)
                continue;
            ssize_t n = ::read(fds[k].fd, buffer, sizeof buffer);
            if (n <= 0) {
                (k == 0 ? outOpen : errOpen) = false;
            } else {
                (k == 0 ? result.output : result.errors).append(buffer, static_cast<std::size_t>(n));
            }
        }
        if (inputOpen && fds[2].revents) {
            ssize_t n = ::write(in[1], input.data() + written, input.size() - written);
            if (n > 0)
                written += static_cast<std::size_t>(n);
            if (n <= 0 || written == input.size()) {
                ::close(in[1]);
                inputOpen = false;
            }
        }
    }
    if (inputOpen)
        ::close(in[1]);
    ::close(out[0]);
    ::close(err[0]);
    waitForChild(child, result);
    return result;
}

std::string programBesideTests(char const* name)
{
    char path[PATH_MAX];
    ssize_t n = ::readlink("/proc/self/exe", path, sizeof path - 1);
    std::string folder(path, n > 0 ? static_cast<std::size_t>(n) : 0);
    return folder.substr(0, folder.find_last_of('/') + 1) + name;
}

}
