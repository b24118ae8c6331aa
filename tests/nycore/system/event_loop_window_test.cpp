// The event loop: posted calls (and those dropped for deleted objects),
// nested loops and their exit codes, the nesting limit, timers, the clock,
// and windows closed in the last loop.
#include <gtest/gtest.h>

#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <ctime>
#include <functional>
#include <string>
#include <vector>

#include "nycore/system/boxed_values.h"
#include "nycore/system/event_loop.h"
#include "nycore/system/method_thunk.h"
#include "nycore/system/time.h"
#include "nycore/system/timer.h"
#include "nycore/system/widget.h"
#include "tests/support/child_process.h"
#include "tests/support/run_until.h"
#include "tests/support/windows.h"

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

// Records the posted calls it receives and notes its own destruction.
class Recorder : public Widget {
    NY_REFLECTIVE(Recorder)
public:
    static Object* __create() { return new Recorder(); }
    ~Recorder() override { ++destroyed; }
    void record() { calls.push_back(label); }
    char const* label = "";
    static int destroyed;
    static std::vector<std::string> calls;
};

int Recorder::destroyed = 0;
std::vector<std::string> Recorder::calls;
TypeData Recorder::MetaData = {&Widget::MetaData, nullptr, u"Tests.Recorder"_str, NoMethods, NoEvents,
                              &Recorder::__create, sizeof(Recorder), 0, nullptr};

// Not a widget: the base class forgets its posted calls.
class PlainRecorder : public Object {
public:
    void record() { Recorder::calls.push_back("plain object"); }
};

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
    int code = EventLoop::execute(owner);
    timer_destroy(&starter);
    return code;
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

std::string text(DateTime const& t)
{
    char buffer[64];
    std::snprintf(buffer, sizeof buffer, "%04d-%02d-%02d %02d:%02d:%02d", t.year, t.month, t.day, t.hour, t.minute,
                  t.second);
    return buffer;
}

class EventLoopWindows : public TestSupport::WindowTest {
protected:
    void SetUp() override
    {
        TestSupport::WindowTest::SetUp();
        TestSupport::registerOnce(&Recorder::MetaData);
    }
};

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

    // Serving events by hand reports an exit asked for its owner once.
    Widget* owner = reinterpret_cast<Widget*>(&ticks);
    EXPECT_TRUE(EventLoop::serviceEvents(owner));
    EventLoop::exit(owner, 3);
    EXPECT_FALSE(EventLoop::serviceEvents(owner));
    EXPECT_TRUE(EventLoop::serviceEvents(owner)) << "the request was used up";
}

TEST(EventLoopTest, TheSixtyFifthNestedLoopIsFatal)
{
    TestSupport::expectReport(
        [] {
            // Every step queues the next one and runs a loop nested one deeper.
            Script script;
            std::function<void()> nest = [&] {
                if (EventLoop::get$depth() == EventLoop::MaximumDepth) {
                    std::printf("depth %d\n", EventLoop::get$depth());
                    std::fflush(stdout);
                }
                script.steps.push_back(nest);
                script.post();
                EventLoop::execute(nullptr);
            };
            startInLoop(nest, nullptr);
        },
        "depth 64\nunhandeled exception: NyCore.System.TooManyEventLoopsException\n"
        "Maximum number of event loops reached\n");
}

TEST(EventLoopTest, TimersTickInsideTheLoop)
{
    ticks = 0;
    tickLog.clear();
    Timer stopped = {};
    timer_construct(&stopped, nullptr, &otherTick, 1, TimerOptions::Stopped);
    Timer timer = {};
    timer_construct(&timer, nullptr, &countTick, 2, 0);
    EXPECT_EQ(EventLoop::execute(nullptr), 3);
    EXPECT_EQ(tickLog, (std::vector<std::string>{"tick", "tick", "tick"})) << "the stopped timer never ticks";

    timer_pause(&timer);
    // 0 keeps the interval: a reset can never reach the fatal interval check.
    timer_reset(&timer, &otherTick, 0);
    EXPECT_EQ(timer.interval, 2u);
    EXPECT_EQ(EventLoop::execute(nullptr), 4);
    EXPECT_EQ(tickLog.back(), "other");
    timer_destroy(&timer);
    timer_destroy(&stopped);

    TestSupport::expectFatal(
        [] {
            Timer broken = {};
            timer_construct(&broken, nullptr, &countTick, 0, 0);
        },
        "Error.InvalidParamiter: system/win32/timer");
}

TEST(EventLoopTest, ClockGivesTheCLibrarysLocalAndUniversalTime)
{
    // Under a zone with a half-hour offset, so that a clock giving universal
    // time (or one off by whole hours) cannot pass.
    auto result = TestSupport::runInChild([] {
        setenv("TZ", "Asia/Kolkata", 1);
        tzset();
        std::time_t now;
        DateTime local, universal;
        do {  // sampled again when a second boundary passed in between
            now = std::time(nullptr);
            NyCore::System::Time::getLocalTime(&local);
            NyCore::System::Time::getUniversalTime(&universal);
        } while (std::time(nullptr) != now);
        std::tm l = {}, u = {};
        localtime_r(&now, &l);
        gmtime_r(&now, &u);
        DateTime cLocal(l.tm_year + 1900, l.tm_mon + 1, l.tm_mday, l.tm_hour, l.tm_min, l.tm_sec);
        DateTime cUniversal(u.tm_year + 1900, u.tm_mon + 1, u.tm_mday, u.tm_hour, u.tm_min, u.tm_sec);
        int offset = ((l.tm_hour - u.tm_hour) * 60 + l.tm_min - u.tm_min + 1440) % 1440;
        std::printf("offset %d; local %s, C library %s; universal %s, C library %s; %d ms", offset, text(local).c_str(),
                    text(cLocal).c_str(), text(universal).c_str(), text(cUniversal).c_str(), local.millisecond);
        std::fflush(stdout);
        ::_exit((offset == 330 ? 0 : 1) | (text(local) == text(cLocal) ? 0 : 2) |
                (text(universal) == text(cUniversal) ? 0 : 4) |
                (local.millisecond >= 0 && local.millisecond < 1000 ? 0 : 8));
    });
    EXPECT_TRUE(result.exited);
    EXPECT_EQ(result.exitCode, 0) << result.output << " (1: the zone data is missing, install tzdata; 2: local time; "
                                  << "4: universal time; 8: milliseconds)";
}

TEST_F(EventLoopWindows, NestedLoopsEndWithTheirCodes)
{
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

TEST_F(EventLoopWindows, WindowsClosedInTheLastLoopAreDestroyedWhenItEnds)
{
    auto* main = static_cast<Recorder*>(TestSupport::topWindow(60, 40, u"Tests.Recorder"));
    auto* other = static_cast<Recorder*>(TestSupport::topWindow(60, 40, u"Tests.Recorder", 120));
    int before = Recorder::destroyed;
    int code = startInLoop(
        [&] {
            other->close();
            EXPECT_EQ(Recorder::destroyed, before) << "inside a loop the destruction waits";
            main->close();
        },
        main);
    EXPECT_EQ(code, 0);
    EXPECT_EQ(Recorder::destroyed, before + 2) << "both widgets are gone once the last loop has ended";
}

TEST_F(EventLoopWindows, MessagesToAnObjectDeletedBeforeTheyRunAreDropped)
{
    Recorder::calls.clear();
    auto* shown = static_cast<Recorder*>(TestSupport::topWindow(60, 40, u"Tests.Recorder"));
    shown->label = "shown";
    auto* hidden = new Recorder();
    hidden->label = "hidden";
    auto* plain = new PlainRecorder();
    auto* kept = new Recorder();
    kept->label = "kept";
    int code = startInLoop(
        [&] {
            EventLoop::postCall(shown, NY_METHOD(Recorder::record));
            EventLoop::postCall(hidden, NY_METHOD(Recorder::record));
            EventLoop::postCall(plain, NY_METHOD(PlainRecorder::record));
            EventLoop::postCall(kept, NY_METHOD(Recorder::record));
            shown->close();  // queues the destruction of its window, dropped with the rest
            delete shown;
            delete hidden;
            delete plain;
            EventLoop::exit(nullptr, 5);
        },
        nullptr);
    EXPECT_EQ(code, 5);
    EXPECT_EQ(Recorder::calls, std::vector<std::string>{"kept"});
    delete kept;
}
