// Tests of colour parsing, scaling and channel access.
#include <gtest/gtest.h>

#include <string>
#include <tuple>
#include <utility>

#include "nycore/graphics/color.h"
#include "tests/support/child_process.h"
#include "tests/support/strings.h"

using NyCore::Graphics::Color;

TEST(ColorTest, CreateParsesHexadecimalText)
{
    std::pair<std::u16string, std::uint32_t> const cases[] = {
        {u"#00a0B0", 0x00A0B0},
        {u"0X123456", 0x123456},
        {u"1234567", 0x123456},  // six digits at most
        {u"12g4", 0x12},         // stops at the first non-digit
        {u"#", 0},
        {u"abc", 0xABC},
    };
    for (auto const& [text, expected] : cases)
        EXPECT_EQ(Color::create(TestSupport::OwnedString(text)), expected) << TestSupport::toUtf8(text);
    EXPECT_EQ(Color::create(nullptr), 0u);
}

TEST(ColorTest, ScaleCarriesOverflowIntoTheOtherChannels)
{
    // The colour, the percentage, and the scaled colour.
    std::tuple<std::uint32_t, int, std::uint32_t> const cases[] = {
        {0x808080, 200, 0xFFFFFF},
        {0xFF0000, 150, 0xFF7F7F},
        {0x646464, 93, 0x5D5D5D},
        {0x00FF00, 110, 0x19FF19},  // 280: 25 over, given to red and blue
        {0xFFFFFF, 0, 0x000000},
    };
    for (auto const& [color, percent, expected] : cases)
        EXPECT_EQ(Color::scale(color, percent), expected) << std::hex << color << " by " << std::dec << percent;
}

TEST(ColorTest, ComponentReadsEachByte)
{
    EXPECT_EQ(Color::component(0x7F123456, 0), 0x12);
    EXPECT_EQ(Color::component(0x7F123456, 2), 0x56);
    EXPECT_EQ(Color::component(0x7F123456, 3), 0x7F);
    TestSupport::expectFatal([] { Color::component(0xFFFFFF, 4); }, "unhandeled exception: NyCore.OutOfBoundsException\n");
}
