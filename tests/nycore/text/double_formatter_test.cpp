// Tests of DoubleFormatter: the round-trip default rendering and the
// picture formats with sections, rounding, literals and loops.
#include <gtest/gtest.h>

#include <bit>
#include <cmath>
#include <cstdint>
#include <limits>
#include <random>
#include <string>

#include "nycore/text/double_formatter.h"
#include "nycore/text/string_functions.h"
#include "nycore/text/text_buffer.h"
#include "tests/support/child_process.h"
#include "tests/support/strings.h"

using NyCore::Text::DoubleFormatter;
using NyCore::Text::TextBuffer;

namespace {

std::string defaultText(double value)
{
    TextBuffer buffer;
    DoubleFormatter::appendTo(&buffer, value);
    return TestSupport::toUtf8(buffer.get$text());
}

std::string pictureText(double value, char const* format)
{
    TextBuffer buffer;
    DoubleFormatter::applyFormat(&buffer, value, TestSupport::OwnedString(string_from_ascii(format)));
    return TestSupport::toUtf8(buffer.get$text());
}

}


TEST(DoubleFormatter, DefaultRendering)
{
    double const inf = std::numeric_limits<double>::infinity();
    struct Case { double value; std::string expected; } const cases[] = {
        {-0.0, "0"}, {0.1 + 0.2, "0.30000000000000004"}, {1e-6, "0.000001"}, {1e21, "1000000000000000000000"},
        // whole numbers with all their digits, exactly
        {std::ldexp(1.0, 70), "1180591620717411303424"},
        {-std::numeric_limits<double>::denorm_min(), "-0." + std::string(323, '0') + "5"},
        {inf, "inf"}, {-inf, "-inf"}, {std::nan(""), "nan"},
    };
    for (auto const& c : cases)
        EXPECT_EQ(defaultText(c.value), c.expected) << c.expected.substr(0, 30);

    // A null or empty picture is the default rendering.
    EXPECT_EQ(pictureText(2.5, ""), "2.5");
    TextBuffer buffer;
    DoubleFormatter::applyFormat(&buffer, -0.75, nullptr);
    EXPECT_EQ(TestSupport::toUtf8(buffer.get$text()), "-0.75");
}

// The default rendering is the positional text of string_from_real, and that
// text reads back to the very same double.
TEST(DoubleFormatter, DefaultRenderingRoundTripsThroughText)
{
    std::mt19937_64 random(0x5eed);
    for (int tested = 0; tested < 10000;) {
        double value = std::bit_cast<double>(random());
        if (!std::isfinite(value))
            continue;
        ++tested;
        TestSupport::OwnedString text(string_from_real(value, -1));
        ASSERT_EQ(defaultText(value), text.utf8());
        double back = string_to_real(text);
        ASSERT_EQ(std::bit_cast<std::uint64_t>(back), std::bit_cast<std::uint64_t>(value)) << text.utf8();
    }
}

TEST(DoubleFormatter, PictureRendering)
{
    double const inf = std::numeric_limits<double>::infinity();
    struct Case { char const* format; double value; std::string expected; } const cases[] = {
        // sections: positive, negative, zero, unused
        {"0.00;(0.00);zero", 1.5, "1.50"}, {"0.00;(0.00);zero", -1.5, "(1.50)"}, {"0.00;(0.00);zero", 0, "zero"},
        {"0.00;(0.00);zero", -0.0, "zero"}, {"0.00;(0.00);zero", 0.001, "0.00"}, {"0;(0)", 0, "0"},
        {"0;(0)", -5, "(5)"}, {"0;;nothing;ignored", -2, "2"}, {"0.00;(0.00);zero;ignored", -2, "(2.00)"},
        // rounding half away from zero at the last digit written
        {"0.0", -0.04, "-0.0"}, {"0.0", -0.06, "-0.1"}, {"0.00", 2.345, "2.35"}, {"0.00", 2.344, "2.34"},
        {"0.00", 1.005, "1.01"}, {"0.00", 9.996, "10.00"}, {"0", 0.5, "1"}, {"0", -0.5, "-1"},
        {"0", 2.4999, "2"},
        // placeholders and literals
        {"000", 5, "005"}, {"#", 1234, "1234"}, {"#", 0, "0"}, {"##", 7, "07"}, {"#,##0", 1234567, "1234,567"},
        {".00", 12.345, "12.35"}, {".00", 0.5, ".50"}, {"$0.00", 3.14159, "$3.14"}, {"0.00 m", 2, "2.00 m"},
        {"0.0x0", 1.26, "1.2x6"}, {"0.#", 1.26, "1.#"}, {"0", 1e22, "10000000000000000000000"},
        // loops
        {"{###,}###", 1234567, "1,234,567"}, {"{###,}###", 123, "123"}, {"{###,}###", 123456, "123,456"},
        {"{###,}###", 1234, "1,234"}, {"{###,}###", 5, "005"}, {"{###,}###.00", 1234.5, "1,234.50"},
        {"{###,}###.00", -9876543.215, "-9,876,543.22"}, {"{#-}#", 1234, "1-2-3-4"},
        // a placeholder left of the loop: the loop takes the digits, the rest is written once
        {"0{#,}##", 12345, "01,2,3,45"}, {"0{#,}##", 5, "005"}, {"#{###,}###", 1234567, "01,234,567"},
        {"x{###,}###", 1234567, "x1,234,567"},
        // values without digits
        {"0.00", inf, "inf"}, {"0.00", -inf, "-inf"}, {"0.00", std::nan(""), "nan"},
    };
    for (auto const& c : cases)
        EXPECT_EQ(pictureText(c.value, c.format), c.expected) << "'" << c.format << "' with " << c.value;
}

TEST(DoubleFormatter, BadLoopsAreFatal)
{
    std::string const noDigits = "NoDigitsInLoopException\nNo digits were found in the NyCore.Double formatting loop.\n";
    std::string const nesting = "NestingNotAloudException\nNesting is not alouad in NyCore.Double formatting loops.\n";
    std::string const unterminated = "UnterminatedLoopException\nUnterminated NyCore.Double formatting loop.\n";
    struct Case {
        char const* format;
        std::string const& report;
    } const cases[] = {{"{,00}###", noDigits}, {"{#{#}}", nesting}, {"{#}{#}", nesting},
                       {"#}", unterminated},   {"{##", unterminated}, {"0.00;{#{#}}", nesting}};
    for (auto const& c : cases) {
        SCOPED_TRACE(c.format);
        TestSupport::expectReport([&] { pictureText(-1234, c.format); },
                                  "unhandeled exception: NyCore.Text.DoubleFormatter." + c.report);
    }
}
