// The boxed values of the core: Integer32, Double, DateTime and TimeSpan.
// They let numbers and dates travel as Object arguments ("{0}" formatting,
// data tables) and render themselves through the formatters.
#pragma once

#include <cstdint>

#include "nycore/system/object.h"

namespace NyCore {

class Integer32 : public Object {
    NY_REFLECTIVE(Integer32)
public:
    explicit Integer32(std::int32_t value = 0) : value(value) {}
    static Object* __create();
    // Parses decimal text into a new Integer32.
    static Integer32* create(String const* text);

    int compare(Object const* other) const override;
    int hashcode() const override { return value; }
    void appendTo(Text::CharWriter* writer, String const* format) const override;

    std::int32_t value;
};

class Double : public Object {
    NY_REFLECTIVE(Double)
public:
    explicit Double(double value = 0) : value(value) {}
    static Object* __create();
    static Double* create(String const* text);

    int compare(Object const* other) const override;
    void appendTo(Text::CharWriter* writer, String const* format) const override;

    double value;
};

// A calendar date and time of day, local time, to the millisecond.
class DateTime : public Object {
    NY_REFLECTIVE(DateTime)
public:
    DateTime() = default;
    DateTime(int year, int month, int day, int hour = 0, int minute = 0, int second = 0, int millisecond = 0);
    static Object* __create();
    // Scans "%d-%d-%d %d:%d:%d:%d" (year-month-day hour:minute:second:millisecond).
    static DateTime* create(String const* text);
    static DateTime* now();

    // 0 = Sunday.
    int get$dayOfWeek() const;
    int compare(Object const* other) const override;
    void appendTo(Text::CharWriter* writer, String const* format) const override;

    std::int16_t year = 1;
    std::uint8_t month = 1;
    std::uint8_t day = 1;
    std::uint8_t hour = 0;
    std::uint8_t minute = 0;
    std::uint8_t second = 0;
    std::int16_t millisecond = 0;
};

// A signed length of time in milliseconds.
class TimeSpan : public Object {
    NY_REFLECTIVE(TimeSpan)
public:
    explicit TimeSpan(std::int64_t milliseconds = 0) : milliseconds(milliseconds) {}
    static Object* __create();

    int compare(Object const* other) const override;
    // Renders "[-][d.]hh:mm:ss[.fff]".
    void appendTo(Text::CharWriter* writer, String const* format) const override;

    std::int64_t milliseconds;
};

}
