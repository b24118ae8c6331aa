// A private Xvfb on a display number it picks itself (-displayfd).
#include "bench/private_display.h"

#include <X11/Xlib.h>
#include <fcntl.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdlib>
#include <cstring>
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
        close(pipeEnds[0]);
        std::string fd = std::to_string(pipeEnds[1]);
        int null = open("/dev/null", O_WRONLY);
        dup2(null, 2);
        execlp("Xvfb", "Xvfb", "-displayfd", fd.c_str(), "-screen", "0", "1280x1024x24", "-nolisten", "tcp",
               static_cast<char*>(nullptr));
        _exit(127);
    }
    close(pipeEnds[1]);
    char number[16] = {};
    ssize_t got = read(pipeEnds[0], number, sizeof number - 1);
    close(pipeEnds[0]);
    if (got <= 0)
        return false;
    std::string name = ":" + std::string(number, number + strcspn(number, "\n"));
    setenv("DISPLAY", name.c_str(), 1);
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
