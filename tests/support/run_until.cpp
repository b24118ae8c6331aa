// A timer checks the condition every two milliseconds and ends the loop.
#include "tests/support/run_until.h"

#include <cstdint>

#include "nycore/system/event_loop.h"
#include "nycore/system/time.h"
#include "nycore/system/timer.h"
#include "nycore/system/x_connection.h"

namespace TestSupport {

namespace {

using NyCore::System::EventLoop;

std::function<bool()> const* waitCondition = nullptr;
std::uint32_t waitDeadline = 0;

void checkWait(NyCore::System::Widget*)
{
    if ((*waitCondition)() || static_cast<std::int32_t>(NyCore::System::Time::getTickCount() - waitDeadline) > 0)
        EventLoop::exit(nullptr, 0);
}

}

bool runUntil(std::function<bool()> const& done)
{
    XSync(NyCore::System::XConnection::get$display(), False);
    EventLoop::serviceEvents(nullptr);
    if (done())
        return true;
    waitCondition = &done;
    waitDeadline = NyCore::System::Time::getTickCount() + 5000;
    NyCore::System::Timer timer = {};
    timer_construct(&timer, nullptr, &checkWait, 2, 0);
    EventLoop::execute(nullptr);
    timer_destroy(&timer);
    return done();
}

}
