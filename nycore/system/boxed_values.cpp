// Records and behaviour of the boxed values.
#include "nycore/system/boxed_values.h"

#include <ctime>

#include "nycore/text/date_time_formatter.h"
#include "nycore/text/double_formatter.h"
#include "nycore/text/integer_formatter.h"
#include "nycore/text/string_functions.h"

namespace NyCore {

TypeData Integer32::MetaData = {&Object::MetaData, nullptr, u"NyCore.Integer32"_str, NoMethods, NoEvents, &Integer32::__create, sizeof(Integer32), 0, nullptr};
TypeData Double::MetaData = {&Object::MetaData, nullptr, u"NyCore.Double"_str, NoMethods, NoEvents, &Double::__create, sizeof(Double), 0, nullptr};
TypeData DateTime::MetaData = {&Object::MetaData, nullptr, u"NyCore.DateTime"_str, NoMethods, NoEvents, &DateTime::__create, sizeof(DateTime), 0, nullptr};
TypeData TimeSpan::MetaData = {&Object::MetaData, nullptr, u"NyCore.TimeSpan"_str, NoMethods, NoEvents, &TimeSpan::__create, sizeof(TimeSpan), 0, nullptr};

namespace {

template <typename T>
int threeWay(T a, T b)
{
    return a < b ? -1 : (b < a ? 1 : 0);
}

// Boxed values compare with values of their own class only; anything else is equal.
template <typename Boxed>
Boxed const* sameClass(Object const* other)
{
    return other && other->getType() == asType(&Boxed::MetaData) ? static_cast<Boxed const*>(other) : nullptr;
}

}

Object* Integer32::__create()
{
    return new Integer32();
}

Integer32* Integer32::create(String const* text)
{
    return new Integer32(string_to_int(text, 10));
}

int Integer32::compare(Object const* other) const
{
    auto const* that = sameClass<Integer32>(other);
    return that ? threeWay(value, that->value) : 0;
}

void Integer32::appendTo(Text::CharWriter* writer, String const* format) const
{
    Text::IntegerFormatter::applyFormat(writer, value, format);
}

Object* Double::__create()
{
    return new Double();
}

Double* Double::create(String const* text)
{
    return new Double(string_to_real(text));
}

int Double::compare(Object const* other) const
{
    auto const* that = sameClass<Double>(other);
    return that ? threeWay(value, that->value) : 0;
}

void Double::appendTo(Text::CharWriter* writer, String const* format) const
{
    Text::DoubleFormatter::applyFormat(writer, value, format);
}

DateTime::DateTime(int year, int month, int day, int hour, int minute, int second, int millisecond)
    : year(static_cast<std::int16_t>(year)), month(static_cast<std::uint8_t>(month)), day(static_cast<std::uint8_t>(day)),
      hour(static_cast<std::uint8_t>(hour)), minute(static_cast<std::uint8_t>(minute)),
      second(static_cast<std::uint8_t>(second)), millisecond(static_cast<std::int16_t>(millisecond))
{
}

Object* DateTime::__create()
{
    return new DateTime();
}

DateTime* DateTime::create(String const* text)
{
    int fields[7] = {1, 1, 1, 0, 0, 0, 0};
    if (text)
        text->scan(u"%d-%d-%d %d:%d:%d:%d", &fields[0], &fields[1], &fields[2], &fields[3], &fields[4], &fields[5], &fields[6]);
    return new DateTime(fields[0], fields[1], fields[2], fields[3], fields[4], fields[5], fields[6]);
}

DateTime* DateTime::now()
{
    timespec clock = {};
    clock_gettime(CLOCK_REALTIME, &clock);
    tm local = {};
    localtime_r(&clock.tv_sec, &local);
    return new DateTime(local.tm_year + 1900, local.tm_mon + 1, local.tm_mday, local.tm_hour, local.tm_min, local.tm_sec,
                        static_cast<int>(clock.tv_nsec / 1000000));
}

int DateTime::get$dayOfWeek() const
{
    // Sakamoto's method on the proleptic Gregorian calendar.
    static int const monthOffsets[] = {0, 3, 2, 5, 0, 3, 5, 1, 4, 6, 2, 4};
    int y = year;
    int m = month >= 1 && month <= 12 ? month : 1;
    if (m < 3)
        y -= 1;
    int weekday = (y + y / 4 - y / 100 + y / 400 + monthOffsets[m - 1] + day) % 7;
    return weekday < 0 ? weekday + 7 : weekday;
}

int DateTime::compare(Object const* other) const
{
    auto const* that = sameClass<DateTime>(other);
    if (!that)
        return 0;
    int const mine[] = {year, month, day, hour, minute, second, millisecond};
    int const theirs[] = {that->year, that->month, that->day, that->hour, that->minute, that->second, that->millisecond};
    for (int i = 0; i < 7; ++i) {
        if (mine[i] != theirs[i])
            return threeWay(mine[i], theirs[i]);
    }
    return 0;
}

void DateTime::appendTo(Text::CharWriter* writer, String const* format) const
{
    Text::DateTimeFormatter::applyFormat(writer, format, this);
}

Object* TimeSpan::__create()
{
    return new TimeSpan();
}

int TimeSpan::compare(Object const* other) const
{
    auto const* that = sameClass<TimeSpan>(other);
    return that ? threeWay(milliseconds, that->milliseconds) : 0;
}

void TimeSpan::appendTo(Text::CharWriter* writer, String const*) const
{
    std::uint64_t rest = milliseconds < 0 ? 0 - static_cast<std::uint64_t>(milliseconds) : static_cast<std::uint64_t>(milliseconds);
    if (milliseconds < 0)
        writer->append(u'-');
    auto digits = [writer](std::uint64_t value, int minDigits) {
        char16_t text[24];
        int n = 0;
        do {
            text[n++] = static_cast<char16_t>(u'0' + value % 10);
            value /= 10;
        } while (value != 0 || n < minDigits);
        while (n > 0)
            writer->append(text[--n]);
    };
    std::uint64_t fraction = rest % 1000;
    rest /= 1000;
    std::uint64_t seconds = rest % 60, minutes = rest / 60 % 60, hours = rest / 3600 % 24, days = rest / 86400;
    if (days != 0) {
        digits(days, 1);
        writer->append(u'.');
    }
    digits(hours, 2);
    writer->append(u':');
    digits(minutes, 2);
    writer->append(u':');
    digits(seconds, 2);
    if (fraction != 0) {
        writer->append(u'.');
        digits(fraction, 3);
    }
}

}
