// EventLoop: the nested modal loops of the user-interface thread. They serve
// X events, timers and the core's own queue of internal messages (window
// destruction, loop exits and posted calls). At most 64 loops nest.
#pragma once

#include "nycore/system/object.h"

namespace NyCore::System {

class Widget;

class EventLoop {
public:
    static constexpr int MaximumDepth = 64;

    // Runs a loop owned by `owner` until exit reaches it; returns its exit
    // code (-1 unless one was given). The 65th nested loop is a fatal
    // TooManyEventLoopsException.
    static int execute(Widget* owner);
    // Posts the exit request: every running loop owned by `owner` ends with `code`.
    static void exit(Widget* owner, int code);
    static bool isInLoop(Widget* owner);
    // Handles every waiting message without blocking; false when an exit
    // request for `owner` was among them.
    static bool serviceEvents(Widget* owner);
    // Calls the method at once outside any loop; inside, after the current message.
    static void postCall(Object* receiver, Method method);
    // Drops every queued message aimed at `object` (posted calls to it, and
    // for a widget its destruction and exit requests). Every object does it
    // when it is deleted.
    static void forgetObject(Object* object);
    static int get$depth();

private:
    friend class Widget;

    // Asks for the destruction of a widget's window once the current message is done.
    static void postDestroy(Widget* widget);
    // The exit request of a closing owner: its outermost loop (the main
    // loop) ends normally with 0, nested ones with -1.
    static void exitOnClose(Widget* owner);
    // Drops every queued message aimed at a deleted widget.
    static void forgetWidget(Widget* widget);
};

}
