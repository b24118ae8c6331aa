// fork + pipes: the parent drains the child's output (and feeds its input)
// until the pipes close, then waits for its end, never past the deadline.
#include "tests/support/child_process.h"

#include <gtest/gtest.h>
#include <poll.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <climits>
#include <csignal>
#include <cstdio>
#include <regex>
#include <thread>

#include "nycore/system/runtime.h"

namespace TestSupport {

namespace {

using Clock = std::chrono::steady_clock;

int millisecondsLeft(Clock::time_point deadline)
{
    auto left = std::chrono::duration_cast<std::chrono::milliseconds>(deadline - Clock::now()).count();
    return left > 0 ? static_cast<int>(left) : 0;
}

// Moves the child's output into the result and `input` into the child,
// until both outputs are closed; false when the deadline came first.
bool pump(int out, int err, int in, std::string const& input, ChildResult& result, Clock::time_point deadline)
{
    std::size_t written = 0;
    if (in >= 0 && input.empty()) {
        ::close(in);
        in = -1;
    }
    while (out >= 0 || err >= 0) {
        pollfd fds[3] = {{out, POLLIN, 0}, {err, POLLIN, 0}, {in, POLLOUT, 0}};
        int ready = ::poll(fds, 3, millisecondsLeft(deadline));
        if (ready == 0)
            break;
        if (ready < 0)
            continue;
        char buffer[4096];
        for (int k = 0; k < 2; ++k) {
            if (!fds[k].revents)
                continue;
            ssize_t n = ::read(fds[k].fd, buffer, sizeof buffer);
            int& fd = k == 0 ? out : err;
            if (n <= 0) {
                ::close(fd);
                fd = -1;
            } else {
                (k == 0 ? result.output : result.errors).append(buffer, static_cast<std::size_t>(n));
            }
        }
        if (in >= 0 && fds[2].revents) {
            ssize_t n = ::write(in, input.data() + written, input.size() - written);
            if (n > 0)
                written += static_cast<std::size_t>(n);
            if (n <= 0 || written == input.size()) {
                ::close(in);
                in = -1;
            }
        }
    }
    for (int fd : {out, err, in})
        if (fd >= 0)
            ::close(fd);
    return out < 0 && err < 0;
}

// Past the deadline the child (with `group` its whole process group) is killed.
void finish(pid_t child, bool group, bool drained, ChildResult& result, Clock::time_point deadline)
{
    int status = 0;
    pid_t ended = 0;
    while (drained && (ended = ::waitpid(child, &status, WNOHANG)) == 0 && millisecondsLeft(deadline) > 0)
        std::this_thread::sleep_for(std::chrono::milliseconds(2));
    if (ended != child) {
        ::kill(group ? -child : child, SIGKILL);
        ::waitpid(child, &status, 0);
        result.timedOut = true;
        ADD_FAILURE() << "the child process did not end in time and was killed; its output so far:\n"
                      << result.output << result.errors;
        return;
    }
    if (WIFEXITED(status)) {
        result.exited = true;
        result.exitCode = WEXITSTATUS(status);
    } else if (WIFSIGNALED(status)) {
        result.signal = WTERMSIG(status);
    }
}


// A program also gets input and standard error pipes and its own process
// group, so that a hang is ended with everything it started.
ChildResult runChild(std::function<void()> const& run, bool program, std::string const& input, int seconds)
{
    ChildResult result;
    int in[2] = {-1, -1}, out[2] = {-1, -1}, err[2] = {-1, -1};
    if (::pipe(out) != 0 || (program && (::pipe(in) != 0 || ::pipe(err) != 0)))
        return result;
    std::fflush(stdout);
    auto deadline = Clock::now() + std::chrono::seconds(seconds);
    pid_t child = ::fork();
    if (child == 0) {
        if (program) {
            ::setpgid(0, 0);
            ::dup2(in[0], 0);
            ::dup2(err[1], 2);
        }
        ::dup2(out[1], 1);
        for (int fd : {in[0], in[1], out[0], out[1], err[0], err[1]})
            if (fd >= 0)
                ::close(fd);
        run();
        std::fflush(stdout);
        ::_exit(program ? 127 : 0);
    }
    if (program)
        ::setpgid(child, child);
    for (int fd : {in[0], out[1], err[1]})
        if (fd >= 0)
            ::close(fd);
    bool drained = pump(out[0], err[0], in[1], input, result, deadline);
    finish(child, program, drained, result, deadline);
    return result;
}

}

ChildResult runInChild(std::function<void()> const& body, int seconds)
{
    return runChild(body, false, "", seconds);
}

ChildResult runProgram(std::vector<std::string> const& arguments, std::string const& input, int seconds)
{
    // A program that stops reading early must not take the test down with SIGPIPE.
    ::signal(SIGPIPE, SIG_IGN);
    std::vector<char*> argv;
    for (auto const& argument : arguments)
        argv.push_back(const_cast<char*>(argument.c_str()));
    argv.push_back(nullptr);
    return runChild([&] { ::execv(argv[0], argv.data()); }, true, input, seconds);
}

std::string programBesideTests(char const* name)
{
    char path[PATH_MAX];
    ssize_t n = ::readlink("/proc/self/exe", path, sizeof path - 1);
    std::string folder(path, n > 0 ? static_cast<std::size_t>(n) : 0);
    return folder.substr(0, folder.find_last_of('/') + 1) + name;
}

ChildResult runVexadrome(std::vector<std::string> options, std::string const& input)
{
    options.insert(options.begin(), programBesideTests("vexadrome"));
    return runProgram(options, input);
}

// The output of `body` run in a child that must end with the fatal exit code.
static std::string fatalOutput(std::function<void()> const& body)
{
    ChildResult result = runInChild(body);
    EXPECT_TRUE(result.exited) << "signal " << result.signal << ", output:\n" << result.output;
    EXPECT_EQ(result.exitCode, NyCore::System::FatalExitCode) << result.output;
    return result.output;
}

void expectFatal(std::function<void()> const& body, std::string const& reportStart)
{
    std::string output = fatalOutput(body);
    EXPECT_EQ(output.compare(0, reportStart.size(), reportStart), 0)
        << "the report should start with:\n" << reportStart << "\nbut is:\n" << output;
}

void expectReport(std::function<void()> const& body, std::string const& report)
{
    EXPECT_EQ(fatalOutput(body), report);
}

void expectException(std::function<void()> const& body, std::string const& typeName, std::string const& message)
{
    std::string output = fatalOutput(body);
    std::string located = "unhandeled exception " + typeName + "\n" + message + "\n";
    static std::regex const location("[^\n]+\\([0-9]+\\)\n");
    bool matches = output == "unhandeled exception: " + typeName + "\n" + message + "\n" ||
                   (output.compare(0, located.size(), located) == 0 &&
                    std::regex_match(output.substr(located.size()), location));
    EXPECT_TRUE(matches) << "expected the report of " << typeName << " \"" << message << "\", got:\n" << output;
}

}
