// The event loop: posted calls, nested loops and their exit codes, the
// nesting limit, timers, the clock, and painting a widget through its loop.
#include <gtest/gtest.h>

#include <X11/Xlib.h>

#include <cstdio>
#include <ctime>
#include <functional>
#include <string>
#include <vector>

#include "nycore/graphics/gc.h"
#include "nycore/graphics/pixel_io.h"
#include "nycore/system/boxed_values.h"
#include "nycore/system/event_loop.h"
#include "nycore/system/method_thunk.h"
#include "nycore/system/runtime.h"
#include "nycore/system/time.h"
#include "nycore/system/timer.h"
#include "nycore/system/widget.h"
#include "nycore/system/x_connection.h"
#include "nycore/text/string_functions.h"
#include "tests/support/child_process.h"
#include "tests/support/xvfb.h"

using namespace NyCore;
using namespace NyCore::System;

namespace {

// Runs its steps one posted call at a time, so each step runs inside whichever loop is current.
class Script : public Object {
public:
    void next()
    {
        if (steps.empty())
            return;
        auto step = steps.front();
        steps.erase(steps.begin());
        step();
    }
    void post() { EventLoop::postCall(this, NY_METHOD(Script::next)); }

    std::vector<std::function<void()>> steps;
    std::vector<std::string> log;
};

class Nester : public Object {
public:
    void nest()
    {
        if (EventLoop::get$depth() == EventLoop::MaximumDepth) {
            std::printf("depth %d\n", EventLoop::get$depth());
            std::fflush(stdout);
        }
        EventLoop::postCall(this, NY_METHOD(Nester::nest));
        EventLoop::execute(nullptr);
    }
};

// Paints a dark square in its middle.
class Painted : public Widget {
    NY_REFLECTIVE(Painted)
public:
    static Object* __create() { return new Painted(); }
    void onDraw(Graphics::GC* gc) override
    {
        ++paints;
        gc_set_background(gc, 0x203040);
        gc_rect_fill(gc, 10, 10, 20, 20);
    }
    int paints = 0;
};

TypeData Painted::MetaData = {&Widget::MetaData, nullptr, u"Tests.Painted"_str, NoMethods, NoEvents,
                              &Painted::__create, sizeof(Painted), 0, nullptr};

// Runs `first` from inside the next loop, where posted calls queue up instead of running at once.
std::function<void()> first;
Timer starter = {};

void startFirst(Widget*)
{
    timer_pause(&starter);
    first();
}

int startInLoop(std::function<void()> const& body, Widget* owner)
{
    first = body;
    timer_construct(&starter, nullptr, &startFirst, 1, 0);
    return EventLoop::execute(owner);
}

Painted* paintedWidget = nullptr;
std::uint32_t paintDeadline = 0;

// Ends the loop once the window has been painted; the deadline only guards against a hang.
void checkPainted(Widget*)
{
    if (!paintDeadline)
        paintDeadline = NyCore::System::Time::getTickCount() + 5000;
    if (paintedWidget->paints > 0)
        EventLoop::exit(nullptr, 0);
    else if (static_cast<std::int32_t>(NyCore::System::Time::getTickCount() - paintDeadline) > 0)
        EventLoop::exit(nullptr, -2);
}

int ticks = 0;
std::vector<std::string> tickLog;

void countTick(Widget*)
{
    tickLog.push_back("tick");
    if (++ticks == 3)
        EventLoop::exit(nullptr, 3);
}

void otherTick(Widget*)
{
    tickLog.push_back("other");
    EventLoop::exit(nullptr, 4);
}

}

TEST(EventLoopTest, PostedCallsRunAtOnceOutsideAndLaterInsideALoop)
{
    Script script;
    script.steps.push_back([&] { script.log.push_back("outside"); });
    script.post();
    EXPECT_EQ(script.log, std::vector<std::string>{"outside"}) << "no loop runs: the call is made at once";

    script.steps.push_back([&] {
        script.post();
        script.log.push_back("first ends");
    });
    script.steps.push_back([&] {
        script.log.push_back("second");
        EventLoop::exit(nullptr, 7);
    });
    EXPECT_EQ(startInLoop([&] { script.next(); }, nullptr), 7);
    EXPECT_EQ(script.log, (std::vector<std::string>{"outside", "first ends", "second"}));
    EXPECT_EQ(EventLoop::get$depth(), 0);
}

TEST(EventLoopTest, ServiceEventsReportsAnExitForItsOwner)
{
    Widget* owner = reinterpret_cast<Widget*>(&ticks);
    EXPECT_TRUE(EventLoop::serviceEvents(owner));
    EventLoop::exit(owner, 3);
    EXPECT_FALSE(EventLoop::serviceEvents(owner));
    EXPECT_TRUE(EventLoop::serviceEvents(owner)) << "the request was used up";
}

TEST(EventLoopTest, TheSixtyFifthNestedLoopIsFatal)
{
    auto result = TestSupport::runInChild([] {
        Nester nester;
        startInLoop([&] { nester.nest(); }, nullptr);
    });
    EXPECT_EQ(result.exitCode, FatalExitCode);
    EXPECT_EQ(result.output, "depth 64\nunhandeled exception: NyCore.System.TooManyEventLoopsException\n"
                             "Maximum number of event loops reached\n");
}

TEST(EventLoopTest, TimersTickInsideTheLoop)
{
    ticks = 0;
    tickLog.clear();
    Timer stopped = {};
    timer_construct(&stopped, nullptr, &otherTick, 1, TimerOptions::Stopped);
    EXPECT_EQ(stopped.id, 0u);
    Timer timer = {};
    timer_construct(&timer, nullptr, &countTick, 2, 0);
    EXPECT_EQ(timer.id, reinterpret_cast<std::uintptr_t>(&timer));
    EXPECT_EQ(EventLoop::execute(nullptr), 3);
    EXPECT_EQ(tickLog, (std::vector<std::string>{"tick", "tick", "tick"}));

    timer_pause(&timer);
    EXPECT_EQ(timer.id, 0u);
    // 0 keeps the interval: a reset can never reach the fatal interval check.
    timer_reset(&timer, &otherTick, 0);
    EXPECT_EQ(timer.interval, 2u);
    EXPECT_EQ(EventLoop::execute(nullptr), 4);
    EXPECT_EQ(tickLog.back(), "other");
    timer_destroy(&timer);
    timer_destroy(&stopped);

    auto fatal = TestSupport::runInChild([] {
        Timer broken = {};
        timer_construct(&broken, nullptr, &countTick, 0, 0);
    });
    EXPECT_EQ(fatal.exitCode, FatalExitCode);
    EXPECT_NE(fatal.output.find("system/win32/timer"), std::string::npos) << fatal.output;
}

TEST(EventLoopTest, ClockGivesLocalAndUniversalTime)
{
    DateTime universal;
    std::time_t before = std::time(nullptr);
    NyCore::System::Time::getUniversalTime(&universal);
    std::time_t after = std::time(nullptr);
    std::tm expected = {};
    gmtime_r(&before, &expected);
    if (before != after)
        gmtime_r(&after, &expected);
    EXPECT_EQ(universal.year, expected.tm_year + 1900);
    EXPECT_EQ(universal.month, expected.tm_mon + 1);
    EXPECT_EQ(universal.day, expected.tm_mday);
    EXPECT_EQ(universal.hour, expected.tm_hour);
    EXPECT_LT(universal.millisecond, 1000);

    DateTime local;
    NyCore::System::Time::getLocalTime(&local);
    std::tm localExpected = {};
    std::time_t now = std::time(nullptr);
    localtime_r(&now, &localExpected);
    EXPECT_EQ(local.year, localExpected.tm_year + 1900);
    EXPECT_EQ(local.minute / 10, localExpected.tm_min / 10);
}

TEST(EventLoopWindowTest, NestedLoopsEndWithTheirCodes)
{
    ASSERT_TRUE(TestSupport::ensureDisplay());
    Widget* main = Widget::create(nullptr, u"NyCore.System.Widget", WidgetFlags::TopLevel, 10, 10, 200, 100);
    Widget* dialog = nullptr;
    Script script;
    std::vector<int> codes;
    script.steps.push_back([&] {
        dialog = Widget::create(main, u"NyCore.System.Widget", WidgetFlags::TopLevel | WidgetFlags::Modal, 40, 40,
                                80, 40);
        script.post();
        codes.push_back(EventLoop::execute(dialog));
        script.post();
    });
    script.steps.push_back([&] {
        EXPECT_TRUE(EventLoop::isInLoop(dialog));
        EXPECT_TRUE(EventLoop::isInLoop(main));
        EXPECT_EQ(EventLoop::get$depth(), 2);
        EventLoop::exit(dialog, 1);
    });
    script.steps.push_back([&] {
        // Closing a dialog that runs its own loop ends it with -1.
        script.post();
        codes.push_back(EventLoop::execute(dialog));
        script.post();
    });
    script.steps.push_back([&] { dialog->close(); });
    script.steps.push_back([&] { main->close(); });
    int mainCode = startInLoop([&] { script.next(); }, main);
    EXPECT_EQ(codes, (std::vector<int>{1, -1}));
    EXPECT_EQ(mainCode, 0) << "closing the main window ends the main loop normally";
    EXPECT_EQ(EventLoop::get$depth(), 0);
}

TEST(EventLoopWindowTest, PaintingFillsTheBackgroundBeforeOnDraw)
{
    ASSERT_TRUE(TestSupport::ensureDisplay());
    static bool registered = false;
    if (!registered)
        Type::registerType(&Painted::MetaData);
    registered = true;
    auto* painted = static_cast<Painted*>(
        Widget::create(nullptr, u"Tests.Painted", WidgetFlags::TopLevel | WidgetFlags::Hidden, 20, 20, 40, 40));
    painted->set$background(0xC08020);
    painted->show();
    paintedWidget = painted;
    Timer poll = {};
    timer_construct(&poll, nullptr, &checkPainted, 2, 0);
    ASSERT_EQ(EventLoop::execute(nullptr), 0) << "the window was never painted";
    timer_destroy(&poll);
    XSync(XConnection::get$display(), False);

    std::uint32_t pixels[40 * 40];
    pixels_read(painted->get$nativeWindow(), 0, 0, 40, 40, pixels);
    EXPECT_EQ(pixels[2 * 40 + 2], 0xC08020u) << "background";
    EXPECT_EQ(pixels[20 * 40 + 20], 0x203040u) << "drawn by onDraw";
    EXPECT_EQ(pixels[35 * 40 + 35], 0xC08020u) << "background";
    if (char const* folder = std::getenv("VEXADROME_SCREENSHOTS")) {
        std::string path = std::string(folder) + "/widget_paint.png";
        String* name = string_from_utf8(path.c_str(), static_cast<int>(path.size()));
        EXPECT_TRUE(pixels_save_png(pixels, 40, 40, name));
        string_free(name);
    }
    painted->close();
}
