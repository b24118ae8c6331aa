// The clipboard between two windows of this program, towards another program
// reading it (a second X connection), from another program owning it (a
// forked process with its own connection), and when nobody offers text.
#include <gtest/gtest.h>

#include <X11/Xatom.h>
#include <X11/Xlib.h>
#include <poll.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdint>
#include <functional>
#include <string>
#include <vector>

#include "nycore/system/clipboard.h"
#include "nycore/system/event_loop.h"
#include "nycore/system/runtime.h"
#include "nycore/system/time.h"
#include "nycore/system/timer.h"
#include "nycore/system/widget.h"
#include "nycore/text/string_functions.h"
#include "tests/support/child_process.h"
#include "tests/support/strings.h"
#include "tests/support/run_until.h"
#include "tests/support/xvfb.h"

using namespace NyCore;
using namespace NyCore::System;
using TestSupport::makeString;
using TestSupport::toUtf8;

namespace {

using TestSupport::runUntil;


Widget* window(int x)
{
    return Widget::create(nullptr, u"NyCore.System.Widget", WidgetFlags::TopLevel, x, 40, 120, 60);
}

// The clipboard's text as UTF-8, "<null>" for none.
std::string paste(Widget* requester)
{
    String* text = clipboard_get_text(requester);
    std::string result = text ? toUtf8(text) : "<null>";
    string_free(text);
    return result;
}

void copy(Widget* owner, std::u16string const& text)
{
    String* s = makeString(text);
    EXPECT_TRUE(clipboard_set_text(owner, s));
    string_free(s);
}

// Another program reading the clipboard over its own connection; the
// program's event loop answers while the test waits for the reply.
class OtherReader {
public:
    OtherReader()
    {
        display = XOpenDisplay(nullptr);
        window = XCreateSimpleWindow(display, DefaultRootWindow(display), 0, 0, 1, 1, 0, 0, 0);
        clipboard = XInternAtom(display, "CLIPBOARD", False);
        property = XInternAtom(display, "OTHER_READER", False);
    }
    ~OtherReader() { XCloseDisplay(display); }

    // The converted bytes, "<refused>" when the owner declined the target.
    std::string read(char const* targetName, Atom* type)
    {
        Atom target = XInternAtom(display, targetName, False);
        XConvertSelection(display, clipboard, target, property, window, CurrentTime);
        XFlush(display);
        XEvent reply = {};
        bool answered = false;
        runUntil([&] {
            answered = answered || XCheckTypedWindowEvent(display, window, SelectionNotify, &reply);
            return answered;
        });
        EXPECT_TRUE(answered) << targetName;
        if (!answered || reply.xselection.property == None)
            return "<refused>";
        int format = 0;
        unsigned long count = 0;
        unsigned long remaining = 0;
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

    Display* display;
    ::Window window;
    Atom clipboard;
    Atom property;
};

enum class Offer { Utf8, Latin1Only, Nothing, InPieces };

// Another program, in a forked process, that takes the clipboard with `text`
// and answers requests until it is told to quit.
class OtherOwner {
public:
    OtherOwner(std::string const& text, Offer offer)
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
    ~OtherOwner()
    {
        close(quit);
        int status = 0;
        waitpid(child, &status, 0);
    }

    bool owning = false;

private:
    [[noreturn]] static void serve(std::string const& text, Offer offer, int ready, int control)
    {
        Display* d = XOpenDisplay(nullptr);
        if (!d)
            _exit(1);
        ::Window w = XCreateSimpleWindow(d, DefaultRootWindow(d), 0, 0, 1, 1, 0, 0, 0);
        Atom clipboard = XInternAtom(d, "CLIPBOARD", False);
        Atom utf8 = XInternAtom(d, "UTF8_STRING", False);
        XSetSelectionOwner(d, clipboard, w, CurrentTime);
        if (XGetSelectionOwner(d, clipboard) == w && ::write(ready, "o", 1) == 1) {
            pollfd waits[2] = {{ConnectionNumber(d), POLLIN, 0}, {control, POLLIN, 0}};
            while (!(waits[1].revents & (POLLIN | POLLHUP))) {
                while (XPending(d)) {
                    XEvent event;
                    XNextEvent(d, &event);
                    if (event.type != SelectionRequest)
                        continue;
                    XSelectionRequestEvent const& request = event.xselectionrequest;
                    XEvent reply = {};
                    reply.xselection = {SelectionNotify, 0, True, d, request.requestor, request.selection,
                                        request.target, None, request.time};
                    bool utf8Wanted = request.target == utf8 && offer == Offer::Utf8;
                    bool latin1Wanted = request.target == XA_STRING && offer == Offer::Latin1Only;
                    if (request.target == utf8 && offer == Offer::InPieces) {
                        long size = static_cast<long>(text.size());
                        XChangeProperty(d, request.requestor, request.property, XInternAtom(d, "INCR", False), 32,
                                        PropModeReplace, reinterpret_cast<unsigned char const*>(&size), 1);
                        reply.xselection.property = request.property;
                    } else if (utf8Wanted || latin1Wanted) {
                        XChangeProperty(d, request.requestor, request.property, request.target, 8, PropModeReplace,
                                        reinterpret_cast<unsigned char const*>(text.data()),
                                        static_cast<int>(text.size()));
                        reply.xselection.property = request.property;
                    }
                    XSendEvent(d, request.requestor, False, NoEventMask, &reply);
                    XFlush(d);
                }
                poll(waits, 2, -1);
            }
        }
        XCloseDisplay(d);
        _exit(0);
    }

    pid_t child = 0;
    int quit = -1;
};

class ClipboardWindowTest : public testing::Test {
protected:
    void SetUp() override { ASSERT_TRUE(TestSupport::ensureDisplay()); }
};

TEST_F(ClipboardWindowTest, TextCopiedInOneWindowIsPastedInAnother)
{
    Widget* first = window(40);
    Widget* second = window(200);
    struct Case {
        std::u16string text;
        std::string utf8;
        std::string latin1;  // as another program reads it as STRING
    };
    Case const cases[] = {
        {u"Hello, clipboard", "Hello, clipboard", "Hello, clipboard"},
        {u"Zeile 1\nZeile 2: \u00E4\u00F6\u00FC", "Zeile 1\nZeile 2: \xC3\xA4\xC3\xB6\xC3\xBC",
         "Zeile 1\nZeile 2: \xE4\xF6\xFC"},
        {u"\u03A9\u03BC\u03AD\u03B3\u03B1 \u2211 \U0001D538", "\xCE\xA9\xCE\xBC\xCE\xAD\xCE\xB3\xCE\xB1 \xE2\x88\x91 \xF0\x9D\x94\xB8",
         "<refused>"},
    };
    OtherReader other;
    for (Case const& c : cases) {
        SCOPED_TRACE(c.utf8);
        copy(first, c.text);
        EXPECT_EQ(paste(second), c.utf8);
        EXPECT_EQ(paste(first), c.utf8) << "the owner reads its own text";

        Atom type = None;
        EXPECT_EQ(other.read("UTF8_STRING", &type), c.utf8);
        EXPECT_EQ(type, XInternAtom(other.display, "UTF8_STRING", False));
        EXPECT_EQ(other.read("STRING", &type), c.latin1);
        std::string targets = other.read("TARGETS", &type);
        EXPECT_NE(targets.find("UTF8_STRING "), std::string::npos) << targets;
        EXPECT_EQ(targets.find("STRING ") == 0 || targets.find(" STRING ") != std::string::npos,
                  c.latin1 != "<refused>")
            << targets;
        EXPECT_EQ(other.read("image/png", &type), "<refused>");
    }
    first->close();
    second->close();
}

TEST_F(ClipboardWindowTest, AnotherProgramTakesTheClipboard)
{
    Widget* first = window(40);
    copy(first, u"mine");
    std::string const theirs = "\xD0\x9F\xD1\x80\xD0\xB8\xD0\xB2\xD0\xB5\xD1\x82 \xE2\x88\x9A\xCF\x80";
    {
        OtherOwner other(theirs, Offer::Utf8);
        ASSERT_TRUE(other.owning);
        EXPECT_EQ(paste(first), theirs);
        EXPECT_EQ(paste(first), theirs) << "asked again, the other program answers again";
    }
    // The other program has gone; the text this program had lost stays lost.
    EXPECT_EQ(paste(first), "<null>");
    {
        OtherOwner other("Gr\xFC\xDF" "e", Offer::Latin1Only);
        ASSERT_TRUE(other.owning);
        EXPECT_EQ(paste(first), "Gr\xC3\xBC\xC3\x9F" "e") << "an owner offering only STRING is read as Latin-1";
    }
    first->close();
}

TEST_F(ClipboardWindowTest, EmptyClipboardGivesNull)
{
    Widget* first = window(40);
    Widget* second = window(200);
    {
        OtherOwner other("unused", Offer::Nothing);
        ASSERT_TRUE(other.owning);
        EXPECT_EQ(paste(first), "<null>") << "an owner without text";
    }
    {
        OtherOwner other(std::string(100, 'x'), Offer::InPieces);
        ASSERT_TRUE(other.owning);
        EXPECT_EQ(paste(first), "<null>") << "transfers in pieces are refused";
    }
    EXPECT_EQ(paste(first), "<null>") << "no owner";
    copy(first, u"");
    EXPECT_EQ(paste(second), "<null>") << "an empty copy";
    EXPECT_TRUE(clipboard_set_text(first, nullptr));
    EXPECT_EQ(paste(second), "<null>") << "a null copy";
    copy(first, u"kept");
    first->close();
    EXPECT_EQ(paste(second), "<null>") << "the owning window was closed";
    second->close();

    for (bool reading : {false, true}) {
        auto result = TestSupport::runInChild([&] {
            if (reading)
                clipboard_get_text(nullptr);
            else
                clipboard_set_text(nullptr, nullptr);
        });
        EXPECT_EQ(result.exitCode, FatalExitCode) << reading;
        EXPECT_NE(result.output.find(reading ? "Error.Clipboard.Read" : "Error.Clipboard.Write"), std::string::npos)
            << result.output;
    }
}

}
