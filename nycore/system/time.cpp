// The tick count from CLOCK_MONOTONIC; the date and time from CLOCK_REALTIME.
#include "nycore/system/time.h"

#include <ctime>

#include "nycore/system/boxed_values.h"

namespace NyCore::System {

std::uint32_t Time::getTickCount()
{
    timespec now = {};
    clock_gettime(CLOCK_MONOTONIC, &now);
    auto milliseconds = static_cast<std::uint64_t>(now.tv_sec) * 1000u + static_cast<std::uint64_t>(now.tv_nsec) / 1000000u;
    return static_cast<std::uint32_t>(milliseconds);
}

namespace {

void fillDateTime(DateTime* time, bool local)
{
    timespec now = {};
    clock_gettime(CLOCK_REALTIME, &now);
    tm parts = {};
    if (local)
        localtime_r(&now.tv_sec, &parts);
    else
        gmtime_r(&now.tv_sec, &parts);
    time->year = static_cast<std::int16_t>(parts.tm_year + 1900);
    time->month = static_cast<std::uint8_t>(parts.tm_mon + 1);
    time->day = static_cast<std::uint8_t>(parts.tm_mday);
    time->hour = static_cast<std::uint8_t>(parts.tm_hour);
    time->minute = static_cast<std::uint8_t>(parts.tm_min);
    time->second = static_cast<std::uint8_t>(parts.tm_sec);
    time->millisecond = static_cast<std::int16_t>(now.tv_nsec / 1000000);
}

}

void Time::getLocalTime(DateTime* time)
{
    fillDateTime(time, true);
}

void Time::getUniversalTime(DateTime* time)
{
    fillDateTime(time, false);
}

}
