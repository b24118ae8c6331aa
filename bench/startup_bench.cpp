// startup_bench: how long the workbench takes from process start until its
// main window shows its final picture, alone and with a command script open,
// and how much memory it holds when idle with a script and a calculator tab.
//
// The program runs as a person starts it. This observer finds its window by
// process id and compares the window's pixels with a reference picture taken
// once the window had settled; the time is up when they first agree. Without
// a display answering, a private Xvfb is started.
//
// Usage: startup_bench [RUNS]   (from the source folder, where samples/ is)
#include <X11/Xatom.h>
#include <X11/Xlib.h>
#include <X11/Xutil.h>
#include <X11/extensions/XTest.h>
#include <X11/keysym.h>
#include <fcntl.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <string>
#include <thread>
#include <vector>

#include "bench/private_display.h"

namespace {

using Clock = std::chrono::steady_clock;
using Pixels = std::vector<unsigned long>;

Display* display = nullptr;

int ignoreErrors(Display*, XErrorEvent*)
{
    return 0;
}

long windowPid(::Window window)
{
    Atom type = None;
    int format = 0;
    unsigned long count = 0, after = 0;
    unsigned char* data = nullptr;
    long pid = -1;
    if (XGetWindowProperty(display, window, XInternAtom(display, "_NET_WM_PID", False), 0, 1, False, XA_CARDINAL,
                           &type, &format, &count, &after, &data) == Success &&
        data && count == 1)
        pid = *reinterpret_cast<long*>(data);
    if (data)
        XFree(data);
    return pid;
}

// The mapped top-level window of the process without a transient owner, or 0.
::Window mainWindowOf(pid_t pid)
{
    ::Window root = 0, parent = 0, *children = nullptr, found = 0;
    unsigned count = 0;
    XQueryTree(display, DefaultRootWindow(display), &root, &parent, &children, &count);
    for (unsigned i = 0; i < count && !found; ++i) {
        XWindowAttributes attributes;
        ::Window owner = 0;
        if (windowPid(children[i]) == pid && XGetWindowAttributes(display, children[i], &attributes) &&
            attributes.map_state == IsViewable && !XGetTransientForHint(display, children[i], &owner))
            found = children[i];
    }
    if (children)
        XFree(children);
    return found;
}

Pixels readWindow(::Window window)
{
    XWindowAttributes attributes;
    if (!XGetWindowAttributes(display, window, &attributes))
        return {};
    XImage* image = XGetImage(display, window, 0, 0, attributes.width, attributes.height, AllPlanes, ZPixmap);
    if (!image)
        return {};
    Pixels pixels;
    pixels.reserve(static_cast<size_t>(attributes.width) * attributes.height);
    for (int y = 0; y < attributes.height; ++y)
        for (int x = 0; x < attributes.width; ++x)
            pixels.push_back(XGetPixel(image, x, y));
    XDestroyImage(image);
    return pixels;
}

pid_t launch(std::string const& program, std::vector<std::string> const& files)
{
    pid_t child = fork();
    if (child == 0) {
        std::vector<char*> argv{const_cast<char*>(program.c_str())};
        for (std::string const& file : files)
            argv.push_back(const_cast<char*>(file.c_str()));
        argv.push_back(nullptr);
        int null = open("/dev/null", O_WRONLY);
        dup2(null, 1);
        dup2(null, 2);
        execv(program.c_str(), argv.data());
        _exit(127);
    }
    return child;
}

void stop(pid_t child)
{
    kill(child, SIGKILL);
    waitpid(child, nullptr, 0);
}

// Polls the program's main window until `done` holds for its pixels (or ten
// seconds pass); returns the window, 0 on time-out.
template <typename Done> ::Window waitForPicture(pid_t child, Done done)
{
    Clock::time_point const limit = Clock::now() + std::chrono::seconds(10);
    ::Window window = 0;
    while (Clock::now() < limit) {
        if (!window)
            window = mainWindowOf(child);
        if (window && done(readWindow(window)))
            return window;
        std::this_thread::sleep_for(std::chrono::microseconds(200));
    }
    return 0;
}

// The picture the window settles on: not one colour, and unchanged for half a second.
Pixels settledPicture(pid_t child)
{
    Pixels last;
    Clock::time_point since = Clock::now();
    waitForPicture(child, [&](Pixels const& pixels) {
        bool const uniform = std::adjacent_find(pixels.begin(), pixels.end(), std::not_equal_to<>()) == pixels.end();
        if (pixels != last || uniform) {
            last = pixels;
            since = Clock::now();
            return false;
        }
        return Clock::now() - since > std::chrono::milliseconds(500);
    });
    return last;
}

struct Timing {
    double fastest = 0, median = 0;
    int failed = 0;
};

// Milliseconds from fork to the settled picture, over `runs` starts.
Timing timeStart(std::string const& program, std::vector<std::string> const& files, int runs)
{
    pid_t child = launch(program, files);
    Pixels const reference = settledPicture(child);
    stop(child);
    Timing timing;
    std::vector<double> times;
    for (int i = 0; i < runs; ++i) {
        Clock::time_point const start = Clock::now();
        child = launch(program, files);
        bool const shown = waitForPicture(child, [&](Pixels const& pixels) { return pixels == reference; }) != 0;
        double const ms = std::chrono::duration<double, std::milli>(Clock::now() - start).count();
        stop(child);
        if (shown)
            times.push_back(ms);
        else
            ++timing.failed;
    }
    std::sort(times.begin(), times.end());
    if (!times.empty()) {
        timing.fastest = times.front();
        timing.median = times[times.size() / 2];
    }
    return timing;
}

long residentKiB(pid_t pid)
{
    std::ifstream status("/proc/" + std::to_string(pid) + "/status");
    std::string line;
    while (std::getline(status, line))
        if (line.rfind("VmRSS:", 0) == 0)
            return std::atol(line.c_str() + 6);
    return -1;
}

void press(KeySym sym, KeySym modifier = NoSymbol)
{
    if (modifier != NoSymbol)
        XTestFakeKeyEvent(display, XKeysymToKeycode(display, modifier), True, CurrentTime);
    XTestFakeKeyEvent(display, XKeysymToKeycode(display, sym), True, CurrentTime);
    XTestFakeKeyEvent(display, XKeysymToKeycode(display, sym), False, CurrentTime);
    if (modifier != NoSymbol)
        XTestFakeKeyEvent(display, XKeysymToKeycode(display, modifier), False, CurrentTime);
    XSync(display, False);
}

// Resident memory, idle: the bare workbench, then with the script, then with
// a calculator added through Ctrl+N and its name prompt.
void measureMemory(std::string const& program, std::string const& script)
{
    pid_t child = launch(program, {});
    settledPicture(child);
    long const bare = residentKiB(child);
    stop(child);
    child = launch(program, {script});
    settledPicture(child);
    long const withScript = residentKiB(child);
    press(XK_n, XK_Control_L);
    std::this_thread::sleep_for(std::chrono::milliseconds(500));
    press(XK_Return);
    settledPicture(child);
    long const withBoth = residentKiB(child);
    stop(child);
    std::printf("idle resident memory: %.1f MiB alone, %.1f MiB with a script tab, %.1f MiB with a script and "
                "a calculator tab\n",
                bare / 1024.0, withScript / 1024.0, withBoth / 1024.0);
}

}

int main(int argc, char** argv)
{
    int const runs = argc > 1 ? std::max(1, std::atoi(argv[1])) : 20;
    char self[4096] = {};
    ssize_t length = readlink("/proc/self/exe", self, sizeof self - 1);
    std::string program = std::string(self, length > 0 ? length : 0);
    program = program.substr(0, program.rfind('/') + 1) + "vexadrome";
    std::string const script = "samples/vector_basics.vexscr";
    if (access(program.c_str(), X_OK) != 0 || access(script.c_str(), R_OK) != 0) {
        std::fprintf(stderr, "startup_bench: needs %s and, in the current folder, %s\n", program.c_str(),
                     script.c_str());
        return 1;
    }
    if (!Bench::ensureDisplay() || !(display = XOpenDisplay(nullptr))) {
        std::fprintf(stderr, "startup_bench: no X display and no Xvfb could be started\n");
        return 1;
    }
    XSetErrorHandler(&ignoreErrors);

    std::printf("start until the main window shows its final picture, %d runs (ms):\n", runs);
    std::printf("| case | fastest | median |\n|---|---:|---:|\n");
    struct Case {
        char const* name;
        std::vector<std::string> files;
    } const cases[] = {{"workbench alone", {}}, {"with one command script", {script}}};
    int status = 0;
    for (Case const& c : cases) {
        Timing const timing = timeStart(program, c.files, runs);
        std::printf("| %s | %.1f | %.1f |\n", c.name, timing.fastest, timing.median);
        if (timing.failed) {
            std::fprintf(stderr, "startup_bench: %d runs of '%s' never showed the settled picture\n", timing.failed,
                         c.name);
            status = 1;
        }
    }
    measureMemory(program, script);
    XCloseDisplay(display);
    Bench::stopDisplay();
    return status;
}
