// Boxed values: parsing, comparison and rendering through their formatters.
#include <gtest/gtest.h>

#include <tuple>

#include "nycore/system/boxed_values.h"
#include "tests/support/strings.h"

using namespace NyCore;

namespace {

std::string render(Object const& value, String const* format = nullptr)
{
    return TestSupport::OwnedString(value.toString(format)).utf8();
}

}

TEST(BoxedValues, NumbersParseCompareAndRender)
{
    Integer32* parsed = Integer32::create(u"  -42x"_str);
    EXPECT_EQ(render(*parsed), "-42");
    Integer32 seven(7);
    EXPECT_EQ(parsed->compare(&seven), -1);
    EXPECT_EQ(seven.compare(parsed), 1);
    EXPECT_EQ(seven.compare(&seven), 0);
    delete parsed;

    // Doubles render the shortest text that reads back the same.
    Double* real = Double::create(u"0.3"_str);
    EXPECT_EQ(real->value, 0.3);
    EXPECT_EQ(render(*real), "0.3");
    EXPECT_EQ(render(Double(1234.5), u"0.00"_str), "1234.50");
    EXPECT_EQ(Double(1.0).compare(real), 1);
    delete real;
}

TEST(BoxedValues, DatesScanRenderAndKnowTheirWeekday)
{
    DateTime* date = DateTime::create(u"2024-3-5 14:7:9:250"_str);
    EXPECT_EQ(std::tuple(date->year, date->month, date->day, date->hour, date->millisecond),
              std::tuple(2024, 3, 5, 14, 250));
    EXPECT_EQ(render(*date), "03/05/2024 02:07:09 PM");
    EXPECT_EQ(render(*date, u"{DDDD}, {MMMM} {D}"_str), "Tuesday, March 5");

    struct Weekday {
        int year, month, day, weekday;
    } const weekdays[] = {{2024, 3, 5, 2}, {2000, 1, 1, 6}, {1970, 1, 1, 4}, {2026, 12, 6, 0}, {1900, 3, 1, 4}};
    for (auto const& w : weekdays)
        EXPECT_EQ(DateTime(w.year, w.month, w.day).get$dayOfWeek(), w.weekday) << w.year << "-" << w.month << "-" << w.day;

    DateTime later(2024, 3, 5, 14, 7, 10);
    EXPECT_EQ(date->compare(&later), -1);
    delete date;
}

TEST(BoxedValues, TimeSpansAndPlainObjectsRender)
{
    EXPECT_EQ(render(TimeSpan(0)), "00:00:00");
    EXPECT_EQ(render(TimeSpan(((26 * 60 + 3) * 60 + 4) * 1000LL + 5)), "1.02:03:04.005");
    EXPECT_EQ(render(TimeSpan(-61000)), "-00:01:01");
    // Object's own rendering: its type's name.
    struct Plain : Object {
        Type* getType() const override { return asType(&Double::MetaData); }
    } plain;
    EXPECT_EQ(render(static_cast<Object const&>(plain)), "NyCore.Double");
}
