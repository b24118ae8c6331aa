// The selection protocol from the other side: ConvertSelection and
// SelectionNotify for the reader, SelectionRequest answers for the owner.
// GoogleTest comes before Xlib, whose macros (None, Bool) would break it.
#include <gtest/gtest.h>

#include "tests/support/clipboard_peer.h"

#include <X11/Xatom.h>
#include <poll.h>
#include <sys/wait.h>
#include <unistd.h>

#include "tests/support/run_until.h"

namespace TestSupport {

ClipboardReader::ClipboardReader()
{
    display = XOpenDisplay(nullptr);
    window = XCreateSimpleWindow(display, DefaultRootWindow(display), 0, 0, 1, 1, 0, 0, 0);
    clipboard = XInternAtom(display, "CLIPBOARD", False);
    property = XInternAtom(display, "OTHER_READER", False);
}

ClipboardReader::~ClipboardReader()
{
    XCloseDisplay(display);
}

std::string ClipboardReader::read(char const* targetName, Atom* type)
{
    bool answered = false;
    std::string text = tryRead(targetName, type, &answered);
    EXPECT_TRUE(answered) << targetName;
    return text;
}

std::string ClipboardReader::tryRead(char const* targetName, Atom* type, bool* answered)
{
    Atom target = XInternAtom(display, targetName, False);
    XConvertSelection(display, clipboard, target, property, window, CurrentTime);
    XFlush(display);
    XEvent reply = {};
    *answered = false;
    runUntil([&] {
        *answered = *answered || XCheckTypedWindowEvent(display, window, SelectionNotify, &reply);
        return *answered;
    });
    if (!*answered || reply.xselection.property == None)
        return "<refused>";
    int format = 0;
    unsigned long count = 0, remaining = 0;
    unsigned char* data = nullptr;
    XGetWindowProperty(display, window, property, 0, 1 << 20, True, AnyPropertyType, type, &format, &count,
                       &remaining, &data);
    std::string bytes;
    if (format == 8)
        bytes.assign(reinterpret_cast<char*>(data), count);
    else if (format == 32)
        for (unsigned long i = 0; i < count; ++i) {
            char* name = XGetAtomName(display, reinterpret_cast<Atom*>(data)[i]);
            bytes += std::string(name) + " ";
            XFree(name);
        }
    XFree(data);
    return bytes;
}

namespace {

void answer(Display* d, XSelectionRequestEvent const& request, std::string const& text, Offer offer)
{
    XEvent reply = {};
    reply.xselection = {SelectionNotify, 0, True, d, request.requestor, request.selection, request.target, None,
                        request.time};
    Atom utf8 = XInternAtom(d, "UTF8_STRING", False);
    bool utf8Wanted = request.target == utf8 && offer == Offer::Utf8;
    bool latin1Wanted = request.target == XA_STRING && offer == Offer::Latin1Only;
    if (request.target == utf8 && offer == Offer::InPieces) {
        long size = static_cast<long>(text.size());
        XChangeProperty(d, request.requestor, request.property, XInternAtom(d, "INCR", False), 32, PropModeReplace,
                        reinterpret_cast<unsigned char const*>(&size), 1);
        reply.xselection.property = request.property;
    } else if (utf8Wanted || latin1Wanted) {
        XChangeProperty(d, request.requestor, request.property, request.target, 8, PropModeReplace,
                        reinterpret_cast<unsigned char const*>(text.data()), static_cast<int>(text.size()));
        reply.xselection.property = request.property;
    }
    XSendEvent(d, request.requestor, False, NoEventMask, &reply);
    XFlush(d);
}

// The child: owns the selection, says "o" on `ready`, serves until `control` closes.
[[noreturn]] void serve(std::string const& text, Offer offer, int ready, int control)
{
    Display* d = XOpenDisplay(nullptr);
    if (!d)
        _exit(1);
    ::Window w = XCreateSimpleWindow(d, DefaultRootWindow(d), 0, 0, 1, 1, 0, 0, 0);
    Atom clipboard = XInternAtom(d, "CLIPBOARD", False);
    XSetSelectionOwner(d, clipboard, w, CurrentTime);
    if (XGetSelectionOwner(d, clipboard) == w && ::write(ready, "o", 1) == 1) {
        pollfd waits[2] = {{ConnectionNumber(d), POLLIN, 0}, {control, POLLIN, 0}};
        while (!(waits[1].revents & (POLLIN | POLLHUP))) {
            while (XPending(d)) {
                XEvent event;
                XNextEvent(d, &event);
                if (event.type == SelectionRequest)
                    answer(d, event.xselectionrequest, text, offer);
            }
            poll(waits, 2, 10000);
        }
    }
    XCloseDisplay(d);
    _exit(0);
}

}

ClipboardOwner::ClipboardOwner(std::string const& text, Offer offer)
{
    int ready[2];
    int control[2];
    EXPECT_EQ(pipe(ready), 0);
    EXPECT_EQ(pipe(control), 0);
    child = fork();
    if (child == 0) {
        close(ready[0]);
        close(control[1]);
        serve(text, offer, ready[1], control[0]);
    }
    close(ready[1]);
    close(control[0]);
    quit = control[1];
    pollfd signal = {ready[0], POLLIN, 0};
    char byte = 0;
    owning = poll(&signal, 1, 5000) == 1 && ::read(ready[0], &byte, 1) == 1 && byte == 'o';
    close(ready[0]);
}

ClipboardOwner::~ClipboardOwner()
{
    close(quit);
    int status = 0;
    waitpid(child, &status, 0);
}

}
