// The nested loops and the core's own message queue. A loop takes internal
// messages, due timers and X events in turn, and otherwise sleeps in
// poll on the X connection until the next timer is due.
#include "nycore/system/event_loop.h"

#include <poll.h>

#include <algorithm>
#include <deque>

#include "nycore/system/exceptions.h"
#include "nycore/system/timer.h"
#include "nycore/system/widget.h"
#include "nycore/system/x_connection.h"
#include "nycore/system/x_widget_map.h"

namespace NyCore::System {

namespace {

struct Level {
    Widget* owner;
    bool exitFlag;
    int exitCode;
};

enum class MessageKind { Destroy, Exit, ExitOnClose, Call };

struct Message {
    MessageKind kind;
    Widget* widget;
    int code;
    Object* receiver;
    Method method;
};

Level levels[EventLoop::MaximumDepth] = {};
int depth = 0;

// Never destroyed: objects that go away during the process's own exit still
// look through it.
std::deque<Message>& queue()
{
    static auto* messages = new std::deque<Message>;
    return *messages;
}

// Handles one message; `serviceOwner`'s exit requests only set *ownerExit.
void handleMessage(Message const& message, Widget* serviceOwner, bool* ownerExit)
{
    switch (message.kind) {
    case MessageKind::Call:
        message.receiver->invokeMethod(message.method, nullptr);
        return;
    case MessageKind::Destroy:
        if (std::uintptr_t window = message.widget->get$nativeWindow()) {
            XDestroyWindow(XConnection::get$display(), static_cast<::Window>(window));
            WidgetNative::windowDestroyed(message.widget);
        }
        return;
    case MessageKind::Exit:
    case MessageKind::ExitOnClose:
        if (ownerExit && message.widget == serviceOwner) {
            *ownerExit = true;
            return;
        }
        for (int i = depth - 1; i >= 0; --i) {
            if (levels[i].owner != message.widget)
                continue;
            levels[i].exitFlag = true;
            if (message.kind == MessageKind::Exit)
                levels[i].exitCode = message.code;
            else
                levels[i].exitCode = i == 0 ? 0 : -1;
        }
        return;
    }
}

// Windows closed while the last loop ran are destroyed once it has ended,
// so their widgets are not left behind.
void destroyPendingWindows()
{
    // Destroying a widget may post further messages, so the search starts
    // over after each one.
    auto& messages = queue();
    for (;;) {
        auto pending = std::find_if(messages.begin(), messages.end(),
                                    [](Message const& m) { return m.kind == MessageKind::Destroy; });
        if (pending == messages.end())
            return;
        Message message = *pending;
        messages.erase(pending);
        handleMessage(message, nullptr, nullptr);
    }
}

// Handles the next message of any kind; blocking waits for one. False when
// nothing was waiting and blocking is off.
bool handleNext(bool blocking, Widget* serviceOwner, bool* ownerExit)
{
    // After an internal message, timers and X events go first once, so that
    // calls that keep posting calls cannot starve input and painting.
    static bool lastWasInternal = false;
    for (;;) {
        // Without windows there is nothing to read: the connection stays untouched.
        bool connected = XConnection::get$isOpen() && WidgetNative::hasWindows();
        if (!queue().empty() && !lastWasInternal) {
            Message message = queue().front();
            queue().pop_front();
            lastWasInternal = true;
            handleMessage(message, serviceOwner, ownerExit);
            return true;
        }
        lastWasInternal = false;
        if (timer_fire_due())
            return true;
        if (connected && XPending(XConnection::get$display())) {
            XEvent event;
            XNextEvent(XConnection::get$display(), &event);
            WidgetNative::dispatch(&event);
            return true;
        }
        if (!queue().empty())
            continue;
        if (!blocking)
            return false;
        pollfd connection = {};
        if (connected) {
            XFlush(XConnection::get$display());
            connection.fd = ConnectionNumber(XConnection::get$display());
            connection.events = POLLIN;
        }
        ::poll(&connection, connected ? 1 : 0, timer_next_delay());
    }
}

}

int EventLoop::execute(Widget* owner)
{
    if (depth >= MaximumDepth)
        NY_THROW(System::TooManyEventLoopsException());
    int index = depth++;
    levels[index] = Level{owner, false, -1};
    while (!levels[index].exitFlag)
        handleNext(true, nullptr, nullptr);
    int code = levels[index].exitCode;
    levels[index] = Level{nullptr, false, -1};
    --depth;
    if (depth == 0)
        destroyPendingWindows();
    return code;
}

void EventLoop::exit(Widget* owner, int code)
{
    queue().push_back(Message{MessageKind::Exit, owner, code, nullptr, nullptr});
}

void EventLoop::exitOnClose(Widget* owner)
{
    queue().push_back(Message{MessageKind::ExitOnClose, owner, -1, nullptr, nullptr});
}

bool EventLoop::isInLoop(Widget* owner)
{
    for (int i = 0; i < depth; ++i)
        if (levels[i].owner == owner)
            return true;
    return false;
}

bool EventLoop::serviceEvents(Widget* owner)
{
    bool ownerExit = false;
    while (handleNext(false, owner, &ownerExit)) {
    }
    return !ownerExit;
}

void EventLoop::postCall(Object* receiver, Method method)
{
    if (depth == 0) {
        receiver->invokeMethod(method, nullptr);
        return;
    }
    queue().push_back(Message{MessageKind::Call, nullptr, 0, receiver, method});
}

int EventLoop::get$depth()
{
    return depth;
}

void EventLoop::postDestroy(Widget* widget)
{
    queue().push_back(Message{MessageKind::Destroy, widget, 0, nullptr, nullptr});
}

void EventLoop::forgetObject(Object* object)
{
    // Compared as pointers only: the object may be half destroyed already.
    auto aimsAtGone = [object](Message const& m) { return m.receiver == object || m.widget == object; };
    auto& messages = queue();
    if (messages.empty())
        return;
    messages.erase(std::remove_if(messages.begin(), messages.end(), aimsAtGone), messages.end());
}

void EventLoop::forgetWidget(Widget* widget)
{
    forgetObject(widget);
}

}
