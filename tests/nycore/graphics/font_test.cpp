// Tests of font resolution through fontconfig and of text measurement.
#include <gtest/gtest.h>

#include <string>

#include "nycore/graphics/font.h"
#include "tests/support/strings.h"
#include "tests/support/xvfb.h"

using NyCore::Graphics::Font;

using FontTest = TestSupport::WindowTest;

TEST_F(FontTest, NamesResolveToMetricCompatibleFacesMeasuredInPixels)
{
    struct Case {
        char16_t const* face;
        int style;
        char const* family;
    } const cases[] = {
        {u"arial", Font::Regular, "Liberation Sans"},
        {u"Arial", Font::Bold, "Liberation Sans"},
        {u"courier new", Font::Regular, "Liberation Mono"},
        {u"courier new", Font::Italic, "Liberation Mono"},
    };
    for (auto const& c : cases) {
        TestSupport::OwnedString face(c.face);
        SCOPED_TRACE(face.utf8());
        Font* font = Font::create(face, 14, c.style);
        ASSERT_NE(font, nullptr);
        EXPECT_EQ(TestSupport::OwnedString(font->getFamilyName()).utf8(), c.family);
        EXPECT_EQ(font->get$size(), 14);
        EXPECT_EQ(font->get$style(), c.style);
        font->release();
    }

    // Sizes are pixels; widths are measured.
    Font* small = Font::create(u"arial"_str, 12, Font::Regular);
    Font* large = Font::create(u"arial"_str, 24, Font::Regular);
    Font* mono = Font::create(u"courier new"_str, 14, Font::Regular);
    EXPECT_GE(small->get$height(), 12);
    EXPECT_LE(small->get$height(), 16);
    EXPECT_GE(large->get$height(), 2 * small->get$height() - 2);
    EXPECT_EQ(small->get$height(), small->get$ascent() + small->get$descent());

    EXPECT_LT(small->measure(u"iii"_str), small->measure(u"WWW"_str));
    EXPECT_GT(large->measure(u"WWW"_str), small->measure(u"WWW"_str));
    EXPECT_EQ(mono->measure(u"iii"_str), mono->measure(u"WWW"_str));
    EXPECT_EQ(mono->measure(u"WWW"_str), 3 * mono->measure(u"W"_str));
    EXPECT_EQ(mono->measure(nullptr), 0);
    EXPECT_EQ(mono->measureUnits(u"W", 0), 0);
    small->release();
    large->release();
    mono->release();
}
