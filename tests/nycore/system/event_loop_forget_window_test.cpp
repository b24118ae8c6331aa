// Messages queued for an object that is deleted before the loop reaches them
// (posted calls, the destruction of its window) are dropped; the others run.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "nycore/system/event_loop.h"
#include "nycore/system/method_thunk.h"
#include "nycore/system/timer.h"
#include "nycore/system/widget.h"
#include "tests/support/windows.h"
#include "tests/support/xvfb.h"

using namespace NyCore;
using namespace NyCore::System;

namespace {

std::vector<std::string> calls;

class Recorder : public Widget {
    NY_REFLECTIVE(Recorder)
public:
    static Object* __create() { return new Recorder(); }
    void record() { calls.push_back(label); }
    char const* label = "";
};

TypeData Recorder::MetaData = {&Widget::MetaData, nullptr, u"Tests.ForgetRecorder"_str, NoMethods, NoEvents,
                               &Recorder::__create, sizeof(Recorder), 0, nullptr};

// An object that is not a widget forgets its messages itself.
class PlainRecorder : public Object {
public:
    ~PlainRecorder() override { EventLoop::forgetObject(this); }
    void record() { calls.push_back("plain object"); }
};

Recorder* shown = nullptr;
Recorder* hidden = nullptr;
PlainRecorder* plain = nullptr;
Timer starter = {};

// Runs inside the loop, where posted calls queue up instead of running at once.
void postThenDelete(Widget* kept)
{
    timer_pause(&starter);
    EventLoop::postCall(shown, NY_METHOD(Recorder::record));
    EventLoop::postCall(hidden, NY_METHOD(Recorder::record));
    EventLoop::postCall(plain, NY_METHOD(PlainRecorder::record));
    EventLoop::postCall(kept, NY_METHOD(Recorder::record));
    shown->close();
    delete shown;
    delete hidden;
    delete plain;
    EventLoop::exit(nullptr, 5);
}

}

TEST(EventLoopWindowTest, MessagesToAnObjectDeletedBeforeTheyRunAreDropped)
{
    ASSERT_TRUE(TestSupport::ensureDisplay());
    TestSupport::registerOnce(&Recorder::MetaData);
    calls.clear();
    shown = static_cast<Recorder*>(Widget::create(nullptr, u"Tests.ForgetRecorder", WidgetFlags::TopLevel, 10, 10, 60, 40));
    ASSERT_NE(shown, nullptr);
    ASSERT_NE(shown->get$nativeWindow(), 0u);
    shown->label = "shown";
    hidden = new Recorder();
    hidden->label = "hidden";
    plain = new PlainRecorder();
    auto* kept = new Recorder();
    kept->label = "kept";

    timer_construct(&starter, kept, &postThenDelete, 1, 0);
    EXPECT_EQ(EventLoop::execute(nullptr), 5);
    EXPECT_EQ(calls, std::vector<std::string>{"kept"});
    EXPECT_EQ(EventLoop::get$depth(), 0);
    timer_destroy(&starter);
    delete kept;
}
