// Tests of DateTimeFormatter: the default pattern, each field name, the
// 12-hour fields around midnight and noon, and unknown names.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "nycore/system/boxed_values.h"
#include "nycore/text/date_time_formatter.h"
#include "nycore/text/string_functions.h"
#include "nycore/text/text_buffer.h"
#include "tests/support/child_process.h"
#include "tests/support/strings.h"

using NyCore::DateTime;
using NyCore::Text::DateTimeFormatter;
using NyCore::Text::TextBuffer;

namespace {

std::string formatDate(DateTime const& date, char const* pattern)
{
    TestSupport::OwnedString format(pattern ? string_from_ascii(pattern) : nullptr);
    TextBuffer buffer;
    DateTimeFormatter::applyFormat(&buffer, format, &date);
    return TestSupport::toUtf8(buffer.get$text());
}

}

TEST(DateTimeFormatter, Fields)
{
    DateTime const date(2024, 3, 5, 14, 7, 9);
    struct Case { char const* pattern; std::string expected; } const cases[] = {
        {nullptr, "03/05/2024 02:07:09 PM"}, {"{MMM} {D}, {YYYY}", "Mar 5, 2024"}, {"{MMMM}", "March"},
        {"{M}/{MM}", "3/03"}, {"{DDD} {DDDD}", "Tue Tuesday"}, {"{DD}", "05"}, {"{YY}", "24"},
        {"{H}:{HH} {h}:{hh}", "14:14 2:02"}, {"{m}:{mm}:{s}:{ss}", "7:07:9:09"},
        {"{AMPM} {AP} {ampm} {ap}", "PM P pm p"}, {"{DD|x} {YYYY|0}", "5 2024"}, {"at {HH}h}", "at 14h}"},
        // unknown names
        {"{YYY}{Y}{YYYYY}{DDDDD}{MMMMM}{mmm}{MD}{Am}{apm}{x}", "??????????"},
    };
    for (auto const& c : cases)
        EXPECT_EQ(formatDate(date, c.pattern), c.expected) << (c.pattern ? c.pattern : "default pattern");
}

TEST(DateTimeFormatter, TwelveHourClock)
{
    struct Case { int hour, minute; std::string expected; } const cases[] = {
        {0, 30, "00:30 AM a"}, {11, 59, "11:59 AM a"}, {12, 0, "00:00 PM p"}, {23, 59, "11:59 PM p"},
    };
    for (auto const& c : cases)
        EXPECT_EQ(formatDate(DateTime(2024, 1, 1, c.hour, c.minute), "{hh}:{mm} {AMPM} {ap}"), c.expected)
            << c.hour << ":" << c.minute;
}

TEST(DateTimeFormatter, NamesAndWidths)
{
    EXPECT_EQ(formatDate(DateTime(24, 12, 31), "{YYYY}-{MMMM}-{YY}"), "0024-December-24");
    EXPECT_EQ(formatDate(DateTime(2023, 1, 1), "{MMM} {DDD}"), "Jan Sun");
    EXPECT_EQ(formatDate(DateTime(2024, 6, 15), "{MMMM} {DDDD}"), "June Saturday");
}

TEST(DateTimeFormatter, EmptyFieldNameIsFatal)
{
    TestSupport::expectFatal([] { formatDate(DateTime(2024, 3, 5), "x{}"); }, "Error.InvalidIndex: ");
}
