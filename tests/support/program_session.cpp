// The program in a child process of its own group, its windows read from
// the X server's tree, input through XTest on the test's connection.
#include <gtest/gtest.h>

#include "tests/support/program_session.h"

#include <X11/Xatom.h>
#include <X11/Xutil.h>
#include <X11/extensions/XTest.h>
#include <fcntl.h>
#include <sys/prctl.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <csignal>
#include <fstream>
#include <sstream>
#include <thread>

#include "nycore/system/x_connection.h"
#include "tests/support/child_process.h"
#include "tests/support/clipboard_peer.h"
#include "tests/support/windows.h"

namespace TestSupport {

namespace {

using Clock = std::chrono::steady_clock;

// Generous, since the program may run under the sanitizers; only a fault waits this long.
constexpr auto Patience = std::chrono::seconds(10);

long cardinal(::Window window, char const* name)
{
    Atom type;
    int format = 0;
    unsigned long count = 0, remaining = 0;
    unsigned char* data = nullptr;
    XGetWindowProperty(display(), window, XInternAtom(display(), name, False), 0, 1, False, XA_CARDINAL, &type,
                       &format, &count, &remaining, &data);
    long value = data && count == 1 && format == 32 ? *reinterpret_cast<long*>(data) : -1;
    if (data)
        XFree(data);
    return value;
}

// Windows of the program may vanish while they are looked at.
int ignoreErrors(Display*, XErrorEvent*)
{
    return 0;
}

// A window manager's WM_PROTOCOLS message to a window of the program; a
// window that has gone meanwhile (the program ended) is no fault of the test's.
void sendProtocol(Display* d, ::Window window, char const* protocol, long argument)
{
    XEvent event = {};
    event.xclient.type = ClientMessage;
    event.xclient.window = window;
    event.xclient.message_type = XInternAtom(d, "WM_PROTOCOLS", False);
    event.xclient.format = 32;
    event.xclient.data.l[0] = static_cast<long>(XInternAtom(d, protocol, False));
    event.xclient.data.l[1] = argument;
    event.xclient.data.l[2] = static_cast<long>(window);
    XErrorHandler const previous = XSetErrorHandler(&ignoreErrors);
    XSendEvent(d, window, False, NoEventMask, &event);
    XSync(d, False);
    XSetErrorHandler(previous);
}

bool isTransient(::Window window)
{
    ::Window owner = 0;
    return XGetTransientForHint(display(), window, &owner) && owner;
}

}

ProgramSession::ProgramSession(std::string folder, std::vector<std::string> const& arguments)
    : home(std::move(folder))
{
    EXPECT_TRUE(ensureDisplay());
    std::string const program = programBesideTests("vexadrome");
    std::fflush(stdout);
    pid_t const parent = ::getpid();
    child = ::fork();
    if (child == 0) {
        // The program goes with the test, also when the test crashes.
        ::prctl(PR_SET_PDEATHSIG, SIGKILL);
        if (::getppid() != parent)
            ::_exit(1);
        ::setpgid(0, 0);
        if (::chdir(home.c_str()) != 0)
            ::_exit(126);
        ::setenv("HOME", home.c_str(), 1);
        int out = ::open("stdout.log", O_WRONLY | O_CREAT | O_TRUNC, 0644);
        int err = ::open("stderr.log", O_WRONLY | O_CREAT | O_TRUNC, 0644);
        ::dup2(out, 1);
        ::dup2(err, 2);
        std::vector<char*> argv{const_cast<char*>(program.c_str())};
        for (std::string const& argument : arguments)
            argv.push_back(const_cast<char*>(argument.c_str()));
        argv.push_back(nullptr);
        ::execv(program.c_str(), argv.data());
        ::_exit(127);
    }
    ::setpgid(child, child);
    eventually([&] {
        for (Shown const& shown : windows())
            if (!isTransient(shown.window))
                main = shown.window;
        return main != 0 || !running();
    });
    EXPECT_NE(main, 0u) << "the workbench's window never appeared; it wrote:\n" << errors();
}

ProgramSession::~ProgramSession()
{
    if (pings)
        XCloseDisplay(pings);
    if (running()) {
        ::kill(-child, SIGKILL);
        ::waitpid(child, nullptr, 0);
    }
}

std::vector<ProgramSession::Shown> ProgramSession::windows()
{
    XSync(display(), False);
    XErrorHandler const previous = XSetErrorHandler(&ignoreErrors);
    ::Window root = 0, parent = 0, *children = nullptr;
    unsigned count = 0;
    std::vector<Shown> found;
    XQueryTree(display(), NyCore::System::XConnection::get$root(), &root, &parent, &children, &count);
    for (unsigned i = 0; i < count; ++i) {
        XWindowAttributes attributes;
        if (cardinal(children[i], "_NET_WM_PID") == child && XGetWindowAttributes(display(), children[i], &attributes) &&
            attributes.map_state == IsViewable)
            found.push_back({children[i], windowProperty(children[i], "_NET_WM_NAME")});
    }
    if (children)
        XFree(children);
    XSync(display(), False);
    XSetErrorHandler(previous);
    return found;
}

::Window ProgramSession::waitForDialog(char const* title)
{
    ::Window dialog = 0;
    eventually([&] {
        dialog = 0;
        for (Shown const& shown : windows())
            if (shown.window != main && shown.title == title)
                dialog = shown.window;
        return dialog != 0 && focusInside(dialog);
    });
    return dialog;
}

::Window ProgramSession::focusedWindow()
{
    ::Window focused = 0;
    int revert = 0;
    XGetInputFocus(display(), &focused, &revert);
    return focused;
}

bool ProgramSession::pressMovingFocus(KeySym sym, unsigned modifiers)
{
    ::Window const before = focusedWindow();
    press(sym, modifiers);
    return eventually([&] { return focusedWindow() != before; });
}

bool ProgramSession::focusInside(::Window top)
{
    XErrorHandler const previous = XSetErrorHandler(&ignoreErrors);
    ::Window const focused = focusedWindow();
    bool inside = focused == top;
    // Up from the focused window to the root: a control of `top` has it.
    for (::Window window = focused; window && window != PointerRoot && !inside;) {
        ::Window root = 0, parent = 0, *children = nullptr;
        unsigned count = 0;
        if (!XQueryTree(display(), window, &root, &parent, &children, &count))
            break;
        if (children)
            XFree(children);
        inside = parent == top;
        window = parent == root ? 0 : parent;
    }
    XSync(display(), False);
    XSetErrorHandler(previous);
    return inside;
}

bool ProgramSession::waitForFocus(::Window top)
{
    return eventually([&] { return focusInside(top); });
}

bool ProgramSession::waitUntilNoDialog()
{
    return eventually([&] {
        std::vector<Shown> const shown = windows();
        return shown.size() == 1 && shown[0].window == main;
    });
}

bool ProgramSession::waitUntilGone(::Window window)
{
    return eventually([&] {
        std::vector<Shown> const shown = windows();
        return std::none_of(shown.begin(), shown.end(), [&](Shown const& s) { return s.window == window; });
    });
}

bool ProgramSession::running()
{
    if (child <= 0)
        return false;
    int status = 0;
    if (::waitpid(child, &status, WNOHANG) != child)
        return true;
    exitCode = WIFEXITED(status) ? WEXITSTATUS(status) : 128 + WTERMSIG(status);
    child = -child;
    return false;
}

bool ProgramSession::waitForExit(int* code)
{
    bool ended = eventually([&] { return !running(); });
    if (code)
        *code = exitCode;
    return ended;
}

void ProgramSession::type(std::string const& text)
{
    typeKeys(text);
    sync();
}

void ProgramSession::press(KeySym sym, unsigned modifiers)
{
    std::pair<unsigned, KeySym> const held[] = {{ControlMask, XK_Control_L}, {ShiftMask, XK_Shift_L},
                                                {Mod1Mask, XK_Alt_L}};
    for (auto const& [mask, modifier] : held)
        if (modifiers & mask)
            key(modifier, true);
    tap(sym);
    for (auto const& [mask, modifier] : held)
        if (modifiers & mask)
            key(modifier, false);
    sync();
}

bool ProgramSession::sync()
{
    if (!main || !running())
        return false;
    if (!pings) {
        pings = XOpenDisplay(nullptr);
        if (!pings)
            return false;
        XSelectInput(pings, DefaultRootWindow(pings), SubstructureNotifyMask);
        XSync(pings, False);
    }
    // The input sent on the test's own connection reaches the server first.
    XSync(display(), False);
    long const stamp = ++pingCount;
    sendProtocol(pings, main, "_NET_WM_PING", stamp);
    return eventually([&] {
        XEvent event;
        while (XPending(pings) > 0) {
            XNextEvent(pings, &event);
            if (event.type == ClientMessage && event.xclient.data.l[1] == stamp)
                return true;
        }
        return !running();
    }) && running();
}

void ProgramSession::clickAt(::Window window, int x, int y, unsigned button)
{
    int screenX = 0, screenY = 0;
    ::Window under = 0;
    XTranslateCoordinates(display(), window, NyCore::System::XConnection::get$root(), x, y, &screenX, &screenY,
                          &under);
    XTestFakeMotionEvent(display(), -1, screenX, screenY, CurrentTime);
    click(button);
    sync();
}

void ProgramSession::requestClose(::Window window)
{
    XSync(display(), False);
    sendProtocol(display(), window, "WM_DELETE_WINDOW", CurrentTime);
}

void ProgramSession::dragIn(::Window window, int x0, int y0, int x1, int y1)
{
    int sx = 0, sy = 0, ex = 0, ey = 0;
    ::Window under = 0;
    ::Window const root = NyCore::System::XConnection::get$root();
    XTranslateCoordinates(display(), window, root, x0, y0, &sx, &sy, &under);
    XTranslateCoordinates(display(), window, root, x1, y1, &ex, &ey, &under);
    XTestFakeMotionEvent(display(), -1, sx, sy, CurrentTime);
    XTestFakeButtonEvent(display(), 1, True, CurrentTime);
    // A few steps between, as a hand moves, so that the drag is seen as one.
    for (int step = 1; step <= 4; ++step)
        XTestFakeMotionEvent(display(), -1, sx + (ex - sx) * step / 4, sy + (ey - sy) * step / 4, CurrentTime);
    XTestFakeButtonEvent(display(), 1, False, CurrentTime);
    sync();
}

std::string ProgramSession::copiedText(std::function<void()> const& copy,
                                       std::function<bool(std::string const&)> const& accept)
{
    std::string last;
    eventually([&] {
        // A reader of its own each time: a late answer to an earlier request
        // is never taken for this one's.
        ClipboardReader reader;
        copy();
        Atom type = 0;
        bool answered = false;
        last = reader.tryRead("UTF8_STRING", &type, &answered);
        return answered && accept(last);
    });
    return last;
}

bool ProgramSession::eventually(std::function<bool()> const& done)
{
    auto const deadline = Clock::now() + Patience;
    while (!done()) {
        if (Clock::now() > deadline)
            return false;
        std::this_thread::sleep_for(std::chrono::milliseconds(20));
    }
    return true;
}

std::string ProgramSession::errors() const
{
    std::ifstream file(home + "/stderr.log");
    std::stringstream text;
    text << file.rdbuf();
    return text.str();
}

}
