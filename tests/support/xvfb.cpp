// Starts Xvfb with -displayfd, which picks a free display number and writes
// it to a pipe once the server accepts connections, so no sleep is needed.
#include "tests/support/xvfb.h"

#include <fcntl.h>
#include <signal.h>
#include <sys/prctl.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdlib>
#include <string>

#include "nycore/system/x_connection.h"

namespace TestSupport {

namespace {

pid_t server = 0;
// Forked test children inherit the exit handler; only the process that
// started the server may stop it.
pid_t starter = 0;

void stopServer()
{
    if (server > 0 && ::getpid() == starter) {
        NyCore::System::XConnection::close();
        ::kill(server, SIGTERM);
        ::waitpid(server, nullptr, 0);
        server = 0;
    }
}

bool startServer()
{
    int ready[2];
    if (::pipe(ready) != 0)
        return false;
    pid_t const parent = ::getpid();
    server = ::fork();
    if (server == 0) {
        // The server goes with the test program, also when that one crashes or
        // is killed, and keeps none of its output open: otherwise the test
        // runner would wait for it forever.
        ::prctl(PR_SET_PDEATHSIG, SIGTERM);
        if (::getppid() != parent)
            ::_exit(1);
        int const null = ::open("/dev/null", O_WRONLY);
        ::dup2(null, STDOUT_FILENO);
        ::dup2(null, STDERR_FILENO);
        ::close(ready[0]);
        std::string fd = std::to_string(ready[1]);
        ::execlp("Xvfb", "Xvfb", "-displayfd", fd.c_str(), "-screen", "0", "1280x1024x24", "-nolisten", "tcp",
                 "-noreset", static_cast<char*>(nullptr));
        ::_exit(127);
    }
    ::close(ready[1]);
    std::string number;
    char c;
    while (::read(ready[0], &c, 1) == 1 && c != '\n')
        number += c;
    ::close(ready[0]);
    if (number.empty()) {
        stopServer();
        return false;
    }
    ::setenv("DISPLAY", (":" + number).c_str(), 1);
    starter = ::getpid();
    std::atexit(stopServer);
    return true;
}

}

bool ensureDisplay()
{
    if (NyCore::System::XConnection::get$isOpen())
        return true;
    if (std::getenv("DISPLAY") && NyCore::System::XConnection::tryOpen())
        return true;
    return startServer() && NyCore::System::XConnection::tryOpen();
}

}
