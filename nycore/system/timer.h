// Timers: periodic callbacks on a caller-owned record, usually a member of a
// widget. The event loop serves them while it waits for input.
#pragma once

#include <cstdint>

namespace NyCore::System {

class Widget;

using TimerCallback = void (*)(Widget* widget);

namespace TimerOptions {
enum : std::uint32_t { Stopped = 0x1 };
}

struct Timer {
    TimerCallback callback;
    Widget* widget;
    std::uint32_t interval;
    std::uint32_t options;
    // Non-zero while the timer runs (the record's address).
    std::uintptr_t id;
    // The tick count of the next call.
    std::uint32_t due;
};

}

// An interval of 0 is a programming error (fatal ERROR_BADPARA); callers that
// take intervals from user input keep them at 1 or more. Starts the timer
// unless options has TimerOptions::Stopped.
void timer_construct(NyCore::System::Timer* timer, NyCore::System::Widget* widget,
                     NyCore::System::TimerCallback callback, std::uint32_t interval, std::uint32_t options);
// Stops the timer, takes the interval and callback that are non-zero, and starts it again.
void timer_reset(NyCore::System::Timer* timer, NyCore::System::TimerCallback callback, std::uint32_t interval);
void timer_pause(NyCore::System::Timer* timer);
void timer_destroy(NyCore::System::Timer* timer);

// For the event loop: milliseconds until the next running timer is due (-1
// when none runs), and the calls of every due timer (true when there were any).
int timer_next_delay();
bool timer_fire_due();
// Stops every timer of a widget that is going away.
void timer_forget_widget(NyCore::System::Widget* widget);
