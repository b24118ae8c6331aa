// The workbench as a person uses it: the real program started on the test
// display in a folder of its own, its windows found on the screen by their
// process id and title, keys and clicks sent through XTest, and text read
// back the way a person would take it away, through the clipboard. Include
// GoogleTest first: Xlib's macros would break it.
#pragma once

#include <X11/Xlib.h>
#include <sys/types.h>

#include <functional>
#include <string>
#include <vector>

namespace TestSupport {

class ProgramSession {
public:
    // Starts build/bin/vexadrome with `arguments` in `folder` (which is also
    // its HOME) and waits until its main window is mapped.
    explicit ProgramSession(std::string folder, std::vector<std::string> const& arguments = {});
    // A program still running is killed; its output is kept in the folder.
    ~ProgramSession();
    ProgramSession(ProgramSession const&) = delete;
    ProgramSession& operator=(ProgramSession const&) = delete;

    ::Window mainWindow() const { return main; }
    // The topmost mapped window of the program other than the main window
    // with this title, waited for until one of its controls has the keyboard
    // focus (keys typed before would go elsewhere); 0 when none came.
    ::Window waitForDialog(char const* title);
    // Whether the top-level window or one of its controls has the keyboard focus, and
    // waiting for that (after a dialog closes, before typing on).
    bool focusInside(::Window top);
    bool waitForFocus(::Window top);
    // True once the program shows no window but its main window.
    bool waitUntilNoDialog();
    // True once the program has ended; its exit status goes to *code.
    bool waitForExit(int* code = nullptr);
    bool running();
    // How many windows the program shows (its main window among them).
    int windowCount() { return static_cast<int>(windows().size()); }

    // Input, each waited for until the program has handled it (see sync).
    // ASCII text as key strokes ('\n' is Return); a chord of modifiers
    // (ShiftMask, ControlMask) and one key.
    void type(std::string const& text);
    void press(KeySym sym, unsigned modifiers = 0);
    // A key that moves the focus (to another tab, away from a closed one),
    // pressed and waited for: keys sent meanwhile would reach a window that is
    // about to go. False when the focus stayed.
    bool pressMovingFocus(KeySym sym, unsigned modifiers = 0);
    ::Window focusedWindow();
    void clickAt(::Window window, int x, int y, unsigned button = 1);
    void dragIn(::Window window, int x0, int y0, int x1, int y1);
    // A window manager's close request (its close button, Alt+F4) for one of the program's windows.
    void requestClose(::Window window);
    // Sends `copy` (a function that selects and copies in the program) until
    // the clipboard holds text that `accept` takes, or time runs out; returns
    // what it held last ("<refused>" when nobody offered text).
    std::string copiedText(std::function<void()> const& copy, std::function<bool(std::string const&)> const& accept);
    // A window of the program, waited for until it is gone.
    bool waitUntilGone(::Window window);
    // Waits until `done` holds (ten seconds at most), serving nothing but time.
    static bool eventually(std::function<bool()> const& done);

    // Waits until the program has handled every event sent before: it
    // answers a window manager's _NET_WM_PING only after them. False when no
    // answer came (the program ended or hangs).
    bool sync();

    // What the program wrote to standard error so far.
    std::string errors() const;
    std::string const& folder() const { return home; }

private:
    struct Shown {
        ::Window window;
        std::string title;
    };
    // The program's mapped top-level windows, bottom to top.
    std::vector<Shown> windows();

    std::string home;
    // A connection of its own that hears the program's ping answers on the root window.
    Display* pings = nullptr;
    long pingCount = 0;
    pid_t child = 0;
    int exitCode = -1;
    ::Window main = 0;
};

}
