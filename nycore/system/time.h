// The platform clock: a millisecond tick count for animation and timers, and
// the calendar date and time.
#pragma once

#include <cstdint>

namespace NyCore {
class DateTime;
}

namespace NyCore::System {

class Time {
public:
    // Milliseconds of the monotonic clock, as an unsigned 32-bit count that wraps.
    static std::uint32_t getTickCount();
    // The date and time, to the millisecond, of the local and the universal clock.
    static void getLocalTime(DateTime* time);
    static void getUniversalTime(DateTime* time);
};

}
