// Tests of the field parser, "{0}" parameter formatting (String::format), the
// integer formatter and the date formatter (fields, 12-hour clock, unknown names).
#include <gtest/gtest.h>

#include <string>

#include "nycore/system/boxed_values.h"
#include "nycore/text/date_time_formatter.h"
#include "nycore/text/integer_formatter.h"
#include "nycore/text/parameter_list_formatter.h"
#include "nycore/text/string_functions.h"
#include "nycore/text/text_buffer.h"
#include "tests/support/child_process.h"
#include "tests/support/strings.h"

using NyCore::DateTime;
using NyCore::String;
using NyCore::Text::CharWriter;
using NyCore::Text::DateTimeFormatter;
using NyCore::Text::TextBuffer;
using TestSupport::toU16;

namespace {

// Writes each field as "<name|format>", or "<name>" when the format is null.
class FieldRecorder : public NyCore::Text::TextFormatter {
public:
    void appendField(CharWriter* writer, String const* name, String const* format) override
    {
        writer->append(u'<');
        writer->append(name);
        if (format)
            writer->append(u'|'), writer->append(format);
        writer->append(u'>');
    }
};

// An argument that shows the format it was handed.
class FormatEcho : public NyCore::Object {
public:
    void appendTo(CharWriter* writer, String const* format) const override
    {
        writer->append(format ? format : u"null"_str);
    }
};

std::u16string formatted(String* text)
{
    return TestSupport::OwnedString(text).text();
}

std::string formatDate(DateTime const& date, char const* pattern)
{
    TestSupport::OwnedString format(pattern ? string_from_ascii(pattern) : nullptr);
    TextBuffer buffer;
    DateTimeFormatter::applyFormat(&buffer, format, &date);
    return TestSupport::toUtf8(buffer.get$text());
}

}

TEST(TextFormatter, ParsesFields)
{
    struct Case { std::u16string text; std::u16string expected; } const cases[] = {
        {u"plain text", u"plain text"}, {u"a}b", u"a}b"}, {u"x{0", u"x<0>"}, {u"{0|}", u"<0>"},
        {u"{0|0.00}", u"<0|0.00>"}, {u"{0|{###,}###.00}", u"<0|{###,}###.00>"}, {u"{0|{#{#}}}!", u"<0|{#{#}}>!"},
        {u"{a}-{b|c}", u"<a>-<b|c>"}, {u"{}", u"<>"}, {u"{|f}", u"<|f>"}, {u"{0|ab", u"<0|ab>"}, {u"", u""},
    };
    for (auto const& c : cases) {
        SCOPED_TRACE(TestSupport::toUtf8(c.text));
        TextBuffer buffer;
        FieldRecorder recorder;
        recorder.parseFields(&buffer, TestSupport::OwnedString(c.text));
        EXPECT_EQ(toU16(buffer.get$text()), c.expected);
    }

    TextBuffer buffer;
    FieldRecorder recorder;
    recorder.parseFields(&buffer, nullptr);
    EXPECT_EQ(buffer.get$length(), 0);
}

TEST(ParameterListFormatter, FormatsArgumentsByIndex)
{
    NyCore::Integer32 seven(7), three(3);
    EXPECT_EQ(formatted(String::format(u"Index {1}{0}{1}."_str, &seven, &three)), u"Index 373.");

    NyCore::Double half(2.5);
    EXPECT_EQ(formatted(String::format(u"{0} and {0|0.00}"_str, &half)), u"2.5 and 2.50");

    FormatEcho echo;
    EXPECT_EQ(formatted(String::format(u"[{0|}] [{0|{###,}###.00}] [{0}]"_str, &echo)),
              u"[null] [{###,}###.00] [null]");

    EXPECT_EQ(formatted(String::format(u""_str, &seven)), u"");
}

TEST(ParameterListFormatter, IndexOutsideTheArgumentsIsFatal)
{
    for (std::string index : {"2", "-1"}) {
        TestSupport::expectException([&] {
            NyCore::Integer32 a(1), b(2);
            String::format(string_from_ascii(("{" + index + "}").c_str()), &a, &b);
        }, "NyCore.OutOfBoundsException", "Index " + index + " is not within the range 0 to 1.");
    }
}

TEST(IntegerFormatter, RadixAndPadding)
{
    struct Case { int value, radix, minDigits; std::u16string expected; } const cases[] = {
        {0, 10, 0, u"0"},       {0, 10, 3, u"000"},        {42, 10, 1, u"42"},
        {42, 10, 5, u"00042"},  {-42, 10, 5, u"-0042"},    {255, 16, 0, u"ff"},
        {5, 2, 8, u"00000101"}, {-1, 16, 0, u"ffffffff"},  {35, 36, 2, u"0z"},
        {-2147483647 - 1, 10, 0, u"-2147483648"},
    };
    for (auto const& c : cases) {
        SCOPED_TRACE(testing::Message() << c.value << " radix " << c.radix << " width " << c.minDigits);
        TextBuffer buffer;
        NyCore::Text::IntegerFormatter::applyFormat(&buffer, c.value, c.radix, c.minDigits);
        EXPECT_EQ(toU16(buffer.get$text()), c.expected);
    }

    TextBuffer buffer;
    NyCore::Text::IntegerFormatter::applyFormat(&buffer, -1234, u"0.00"_str);
    EXPECT_EQ(toU16(buffer.get$text()), u"-1234") << "the format is not interpreted";
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
}

TEST(DateTimeFormatter, EmptyFieldNameIsFatal)
{
    TestSupport::expectFatal([] { formatDate(DateTime(2024, 3, 5), "x{}"); }, "Error.InvalidIndex: ");
}
