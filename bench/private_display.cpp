// A private Xvfb on a display number it picks itself (-displayfd). It ends
// with the benchmark however the benchmark ends: at exit, and with the
// benchmark's death when that comes first.
#include "bench/private_display.h"

#include <X11/Xlib.h>
#include <fcntl.h>
#include <signal.h>
#include <sys/prctl.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdlib>
#include <string>

namespace Bench {

namespace {

pid_t server = 0;

bool answers()
{
    Display* display = XOpenDisplay(nullptr);
    if (display)
        XCloseDisplay(display);
    return display != nullptr;
}

}

bool ensureDisplay()
{
    if (answers())
        return true;
    int pipeEnds[2];
    if (pipe(pipeEnds) != 0)
        return false;
    server = fork();
    if (server == 0) {
        ::prctl(PR_SET_PDEATHSIG, SIGTERM);
        close(pipeEnds[0]);
        std::string fd = std::to_string(pipeEnds[1]);
        int null = open("/dev/null", O_WRONLY);
        dup2(null, 1);
        dup2(null, 2);
        execlp("Xvfb", "Xvfb", "-displayfd", fd.c_str(), "-screen", "0", "1280x1024x24", "-nolisten", "tcp",
               "-noreset", static_cast<char*>(nullptr));
        _exit(127);
    }
    close(pipeEnds[1]);
    std::atexit(stopDisplay);
    // The whole line, up to its newline: the server may write the number and
    // the newline apart, and a pipe closed between them kills it.
    std::string number;
    char c;
    while (read(pipeEnds[0], &c, 1) == 1 && c != '\n')
        number += c;
    close(pipeEnds[0]);
    if (number.empty())
        return false;
    setenv("DISPLAY", (":" + number).c_str(), 1);
    return answers();
}

void stopDisplay()
{
    if (server > 0) {
        kill(server, SIGTERM);
        waitpid(server, nullptr, 0);
        server = 0;
    }
}

}
