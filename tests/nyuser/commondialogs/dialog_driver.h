// Driving modal dialogs in windowed tests: the dialog's own loop runs inside
// the test's, and steps (each waiting for the state the one before leads to)
// give the real input from inside it. A run that gets stuck ends the open
// dialogs, so that a failure never hangs the program.
#pragma once

#include <X11/Xlib.h>
#include <X11/keysym.h>

#include <cstdio>
#include <functional>
#include <string>
#include <vector>

#include "nycore/system/time.h"
#include "nyuser/commondialogs/common_dialog.h"
#include "tests/support/run_until.h"
#include "tests/support/windows.h"

namespace TestSupport {

struct Step {
    std::function<bool()> ready;
    std::function<void()> act;
};

using NyUser::CommonDialogs::CommonDialog;

inline NyCore::System::Widget* topOf(NyCore::System::Widget* widget)
{
    namespace WF = NyCore::System::WidgetFlags;
    while (widget && widget->get$parent() && !(widget->get$flags() & (WF::TopLevel | WF::PopUp)))
        widget = widget->get$parent();
    return widget;
}

// The innermost dialog is on screen and one of its controls has the keyboard focus.
template <typename T = CommonDialog>
bool dialogReady()
{
    CommonDialog* dialog = CommonDialog::get$current();
    return dialog && dynamic_cast<T*>(dialog) && mapped(dialog) &&
           topOf(NyCore::System::Widget::get$focused()) == dialog;
}

// Calls `open` (which returns when its dialog has ended) from the event loop
// and plays the steps meanwhile; true when every step was played and the
// dialog ended. `stuck` tells which step was waiting when the run gave up.
inline bool runDialog(std::function<void()> const& open, std::vector<Step> const& steps, std::string* stuck = nullptr)
{
    bool looping = false, started = false, ended = false, gaveUp = false;
    std::size_t next = 0;
    std::uint32_t const limit = NyCore::System::Time::getTickCount() + 10000;
    runUntil([&] {
        // The first look comes before runUntil's loop runs; the dialog opens inside it.
        if (!looping) {
            looping = true;
            return false;
        }
        if (!started) {
            started = true;
            open();
            ended = true;
            return true;
        }
        while (!gaveUp && next < steps.size() && steps[next].ready()) {
            steps[next++].act();
            XSync(display(), False);
        }
        // Past the limit every open dialog is ended, and Escape closes any pop-up a step left open.
        if (static_cast<std::int32_t>(NyCore::System::Time::getTickCount() - limit) > 0) {
            if (!gaveUp)
                std::fprintf(stderr, "runDialog: gave up waiting for step %zu\n", next);
            gaveUp = true;
            CommonDialog* dialog = CommonDialog::get$current();
            if (dialog && !dialog->isEnding())
                dialog->endDialog(-99);
            tap(XK_Escape);
        }
        return ended;
    });
    if (gaveUp && stuck)
        *stuck = "gave up waiting for step " + std::to_string(next);
    return ended && !gaveUp && next == steps.size();
}

inline bool always()
{
    return true;
}

// The close box: the WM_DELETE_WINDOW message a window manager sends.
inline void sendDeleteWindow(NyCore::System::Widget* window)
{
    XEvent event = {};
    event.xclient.type = ClientMessage;
    event.xclient.window = window->get$nativeWindow();
    event.xclient.message_type = XInternAtom(display(), "WM_PROTOCOLS", False);
    event.xclient.format = 32;
    event.xclient.data.l[0] = static_cast<long>(XInternAtom(display(), "WM_DELETE_WINDOW", False));
    event.xclient.data.l[1] = CurrentTime;
    XSendEvent(display(), window->get$nativeWindow(), False, NoEventMask, &event);
}

// Types the text (plain ASCII) with real keys.
inline void typeText(std::string const& text)
{
    for (char c : text) {
        char name[2] = {c, 0};
        KeySym sym = c == '/' ? XK_slash : c == '.' ? XK_period : c == ' ' ? XK_space : c == '~' ? XK_asciitilde
                     : c == '_' ? XK_underscore : c == '-' ? XK_minus : XStringToKeysym(name);
        bool shifted = c == '~' || c == '_' || (c >= 'A' && c <= 'Z');
        if (shifted)
            key(XK_Shift_L, true);
        tap(sym);
        if (shifted)
            key(XK_Shift_L, false);
    }
}

}
