// The CLIPBOARD selection. As owner the process keeps its own copy of the
// text and answers other programs' requests (TARGETS, UTF8_STRING, TEXT and
// Latin-1 STRING); as requester it asks the owner for UTF-8, then Latin-1.
#include "nycore/system/clipboard.h"

#include <X11/Xatom.h>
#include <poll.h>

#include <chrono>
#include <string>
#include <vector>

#include "nycore/system/error.h"
#include "nycore/system/memory.h"
#include "nycore/system/widget.h"
#include "nycore/system/x_clipboard.h"
#include "nycore/system/x_connection.h"
#include "nycore/text/string_functions.h"
#include "nycore/text/utf8_text.h"

namespace NyCore::System {

namespace {

// How long an owner may take to answer before the clipboard counts as unavailable.
constexpr int ReplyTimeoutMilliseconds = 3000;

struct Atoms {
    Display* display = nullptr;
    Atom clipboard = None;
    Atom targets = None;
    Atom utf8String = None;
    Atom text = None;
    Atom incr = None;
    Atom property = None;
};

Atoms atoms;
// The owned text and the window that answers for it; None when not owning.
String* ownText = nullptr;
::Window ownerWindow = None;

void dropOwnText()
{
    string_free(ownText);
    ownText = nullptr;
    ownerWindow = None;
}

Atoms const& getAtoms()
{
    Display* d = XConnection::get$display();
    if (atoms.display != d) {
        dropOwnText();
        atoms.display = d;
        atoms.clipboard = XInternAtom(d, "CLIPBOARD", False);
        atoms.targets = XInternAtom(d, "TARGETS", False);
        atoms.utf8String = XInternAtom(d, "UTF8_STRING", False);
        atoms.text = XInternAtom(d, "TEXT", False);
        atoms.incr = XInternAtom(d, "INCR", False);
        atoms.property = XInternAtom(d, "NYCORE_CLIPBOARD", False);
    }
    return atoms;
}

// The largest property a single request can store, less room for the request's own fields.
long maximumPropertyBytes(Display* d)
{
    long units = XExtendedMaxRequestSize(d);
    if (units == 0)
        units = XMaxRequestSize(d);
    return units * 4 - 256;
}

// False when a unit lies outside Latin-1.
bool latin1Of(String const* text, std::string* out)
{
    int length = text ? text->get$length() : 0;
    out->clear();
    for (int i = 0; i < length; ++i) {
        char16_t unit = text->units()[i];
        if (unit > 0xFF)
            return false;
        out->push_back(static_cast<char>(unit));
    }
    return true;
}

String* stringFromLatin1(unsigned char const* bytes, int length)
{
    String* s = string_alloc(length);
    for (int i = 0; i < length; ++i)
        s->units()[i] = bytes[i];
    s->units()[length] = 0;
    return s;
}

// Stores the converted text on the requestor's property; false refuses the conversion.
bool convertForRequest(XSelectionRequestEvent const& request, Atom property)
{
    Atoms const& a = getAtoms();
    Display* d = request.display;
    if (request.target == a.targets) {
        std::string latin1;
        std::vector<Atom> offered = {a.targets, a.utf8String, a.text};
        if (latin1Of(ownText, &latin1))
            offered.push_back(XA_STRING);
        XChangeProperty(d, request.requestor, property, XA_ATOM, 32, PropModeReplace,
                        reinterpret_cast<unsigned char const*>(offered.data()), static_cast<int>(offered.size()));
        return true;
    }
    std::string bytes;
    Atom type;
    if (request.target == a.utf8String || request.target == a.text) {
        bytes = string_to_std_utf8(ownText);
        type = a.utf8String;
    } else if (request.target == XA_STRING) {
        if (!latin1Of(ownText, &bytes))
            return false;
        type = XA_STRING;
    } else {
        return false;
    }
    // Texts too large for one request would need the INCR protocol, which is not offered.
    if (static_cast<long>(bytes.size()) > maximumPropertyBytes(d))
        return false;
    XChangeProperty(d, request.requestor, property, type, 8, PropModeReplace,
                    reinterpret_cast<unsigned char const*>(bytes.data()), static_cast<int>(bytes.size()));
    return true;
}

void answerRequest(XSelectionRequestEvent const& request)
{
    Atoms const& a = getAtoms();
    // Clients of old conventions name no property: the target's name serves.
    Atom property = request.property == None ? request.target : request.property;
    bool owning = ownText && request.owner == ownerWindow && request.selection == a.clipboard;
    if (!owning || !convertForRequest(request, property))
        property = None;
    XEvent reply = {};
    reply.xselection.type = SelectionNotify;
    reply.xselection.display = request.display;
    reply.xselection.requestor = request.requestor;
    reply.xselection.selection = request.selection;
    reply.xselection.target = request.target;
    reply.xselection.property = property;
    reply.xselection.time = request.time;
    XSendEvent(request.display, request.requestor, False, NoEventMask, &reply);
    XFlush(request.display);
}

// Waits for the owner's answer to a conversion request on `window`. Other
// programs' requests to this process are answered meanwhile, so two programs
// pasting from each other cannot wait on one another; all other events stay
// queued for the event loop.
bool waitForReply(Display* d, ::Window window, Atom target, XSelectionEvent* reply)
{
    auto deadline = std::chrono::steady_clock::now() + std::chrono::milliseconds(ReplyTimeoutMilliseconds);
    XEvent event;
    for (;;) {
        while (XCheckTypedEvent(d, SelectionRequest, &event))
            answerRequest(event.xselectionrequest);
        while (XCheckTypedWindowEvent(d, window, SelectionNotify, &event)) {
            if (event.xselection.selection == getAtoms().clipboard && event.xselection.target == target) {
                *reply = event.xselection;
                return true;
            }
            clipboard_handle_event(&event);
        }
        auto left = std::chrono::duration_cast<std::chrono::milliseconds>(deadline - std::chrono::steady_clock::now());
        if (left.count() <= 0)
            return false;
        pollfd connection = {ConnectionNumber(d), POLLIN, 0};
        ::poll(&connection, 1, static_cast<int>(left.count()) + 1);
    }
}

// Asks the owner for the text as `target`; null when refused or not text.
// *answered tells a refusal from an owner that did not answer in time.
String* requestAs(Display* d, ::Window window, Atom target, bool* answered)
{
    Atoms const& a = getAtoms();
    XConvertSelection(d, a.clipboard, target, a.property, window, CurrentTime);
    XFlush(d);
    XSelectionEvent reply;
    *answered = waitForReply(d, window, target, &reply);
    if (!*answered || reply.property == None)
        return nullptr;
    Atom type = None;
    int format = 0;
    unsigned long count = 0;
    unsigned long remaining = 0;
    unsigned char* data = nullptr;
    int status = XGetWindowProperty(d, window, reply.property, 0, maximumPropertyBytes(d) / 4, False,
                                    AnyPropertyType, &type, &format, &count, &remaining, &data);
    if (status != Success)
        return nullptr;
    String* text = nullptr;
    if (format == 8 && remaining == 0 && count > 0) {
        if (type == a.utf8String)
            text = string_from_utf8(reinterpret_cast<char const*>(data), static_cast<int>(count));
        else if (type == XA_STRING)
            text = stringFromLatin1(data, static_cast<int>(count));
    }
    if (data)
        XFree(data);
    // Deleting an INCR answer would ask its owner for the first piece of a
    // transfer this process does not take; left alone, the owner gives up.
    if (type != a.incr)
        XDeleteProperty(d, window, reply.property);
    return text;
}

}

bool clipboard_set_text(Widget* owner, String const* text)
{
    if (!owner || !owner->get$nativeWindow())
        ERROR_THROW(ERROR_CLIPBOARD_WRITE, __FILE__);
    Display* d = XConnection::get$display();
    Atoms const& a = getAtoms();
    auto window = static_cast<::Window>(owner->get$nativeWindow());
    dropOwnText();
    XSetSelectionOwner(d, a.clipboard, window, CurrentTime);
    if (XGetSelectionOwner(d, a.clipboard) != window)
        return false;
    ownText = text ? string_copy(text) : string_alloc(0);
    ownerWindow = window;
    return true;
}

String* clipboard_get_text(Widget* requester)
{
    if (!requester || !requester->get$nativeWindow())
        ERROR_THROW(ERROR_CLIPBOARD_READ, __FILE__);
    Display* d = XConnection::get$display();
    Atoms const& a = getAtoms();
    ::Window owner = XGetSelectionOwner(d, a.clipboard);
    // The owning window may have been destroyed without a SelectionClear.
    if (ownerWindow != None && owner != ownerWindow)
        dropOwnText();
    if (owner == None)
        return nullptr;
    if (owner == ownerWindow)
        return ownText->get$length() > 0 ? string_copy(ownText) : nullptr;
    auto window = static_cast<::Window>(requester->get$nativeWindow());
    bool answered = false;
    String* text = requestAs(d, window, a.utf8String, &answered);
    if (!text && answered)
        text = requestAs(d, window, XA_STRING, &answered);
    if (text && text->get$length() == 0) {
        string_free(text);
        text = nullptr;
    }
    return text;
}

void clipboard_handle_event(XEvent* event)
{
    switch (event->type) {
    case SelectionRequest:
        answerRequest(event->xselectionrequest);
        break;
    case SelectionClear:
        if (event->xselectionclear.window == ownerWindow && event->xselectionclear.selection == getAtoms().clipboard)
            dropOwnText();
        break;
    case SelectionNotify:
        // A late answer to a request that timed out: its data is not wanted.
        if (event->xselection.property != None)
            XDeleteProperty(event->xselection.display, event->xselection.requestor, event->xselection.property);
        break;
    default:
        break;
    }
}

}
