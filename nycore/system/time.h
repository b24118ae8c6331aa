// The platform clock: a millisecond tick count for animation and timers.
#pragma once

#include <cstdint>

namespace NyCore::System {

class Time {
public:
    // Milliseconds of the monotonic clock, as an unsigned 32-bit count that wraps.
    static std::uint32_t getTickCount();
};

}
