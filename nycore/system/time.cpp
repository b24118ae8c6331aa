// The tick count from CLOCK_MONOTONIC.
#include "nycore/system/time.h"

#include <ctime>

namespace NyCore::System {

std::uint32_t Time::getTickCount()
{
    timespec now = {};
    clock_gettime(CLOCK_MONOTONIC, &now);
    auto milliseconds = static_cast<std::uint64_t>(now.tv_sec) * 1000u + static_cast<std::uint64_t>(now.tv_nsec) / 1000000u;
    return static_cast<std::uint32_t>(milliseconds);
}

}
