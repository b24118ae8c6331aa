// The running timers, kept in due order by the event loop's polling: each
// record is listed while it runs and fired when its tick count is reached.
#include "nycore/system/timer.h"

#include <algorithm>
#include <vector>

#include "nycore/system/error.h"
#include "nycore/system/time.h"

using NyCore::System::Time;
using NyCore::System::Timer;

namespace {

std::vector<Timer*>& runningTimers()
{
    static std::vector<Timer*> timers;
    return timers;
}

// Wrapping tick counts compare through their signed difference.
int ticksUntil(std::uint32_t due, std::uint32_t now)
{
    return static_cast<std::int32_t>(due - now);
}

void stop(Timer* timer)
{
    auto& timers = runningTimers();
    timers.erase(std::remove(timers.begin(), timers.end(), timer), timers.end());
    timer->id = 0;
}

void start(Timer* timer)
{
    timer->id = reinterpret_cast<std::uintptr_t>(timer);
    timer->due = Time::getTickCount() + timer->interval;
    runningTimers().push_back(timer);
}

}

void timer_construct(Timer* timer, NyCore::System::Widget* widget, NyCore::System::TimerCallback callback,
                     std::uint32_t interval, std::uint32_t options)
{
    if (interval == 0)
        ERROR_THROW(ERROR_BADPARA, "system/win32/timer");
    if (timer->id)
        stop(timer);
    timer->callback = callback;
    timer->widget = widget;
    timer->interval = interval;
    timer->options = options;
    if (!(options & NyCore::System::TimerOptions::Stopped))
        start(timer);
}

void timer_reset(Timer* timer, NyCore::System::TimerCallback callback, std::uint32_t interval)
{
    if (timer->id)
        stop(timer);
    if (interval)
        timer->interval = interval;
    if (callback)
        timer->callback = callback;
    if (timer->interval == 0)
        ERROR_THROW(ERROR_BADPARA, "system/win32/timer");
    start(timer);
}

void timer_pause(Timer* timer)
{
    if (timer->id)
        stop(timer);
}

void timer_destroy(Timer* timer)
{
    timer_pause(timer);
}

int timer_next_delay()
{
    auto const& timers = runningTimers();
    if (timers.empty())
        return -1;
    std::uint32_t now = Time::getTickCount();
    int delay = ticksUntil(timers.front()->due, now);
    for (Timer* timer : timers)
        delay = std::min(delay, ticksUntil(timer->due, now));
    return std::max(delay, 0);
}

bool timer_fire_due()
{
    // A callback may stop, restart or construct timers, so the due ones are taken first.
    std::uint32_t now = Time::getTickCount();
    std::vector<Timer*> due;
    for (Timer* timer : runningTimers())
        if (ticksUntil(timer->due, now) <= 0)
            due.push_back(timer);
    for (Timer* timer : due) {
        auto const& timers = runningTimers();
        if (std::find(timers.begin(), timers.end(), timer) == timers.end())
            continue;
        timer->due = now + timer->interval;
        if (timer->callback)
            timer->callback(timer->widget);
    }
    return !due.empty();
}

void timer_forget_widget(NyCore::System::Widget* widget)
{
    auto& timers = runningTimers();
    for (Timer* timer : timers)
        if (timer->widget == widget)
            timer->id = 0;
    timers.erase(std::remove_if(timers.begin(), timers.end(), [](Timer* timer) { return timer->id == 0; }),
                 timers.end());
}
