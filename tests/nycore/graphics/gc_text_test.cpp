// Tests of fonts and text output: font resolution and measurement, where the
// ink of a string lands in its box for each text flag, opaque cells, word
// wrapping, clipping, runs and points.
#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <tuple>
#include <utility>

#include "nycore/graphics/font.h"
#include "nycore/graphics/gc_text.h"
#include "nycore/text/string_functions.h"
#include "tests/support/canvas.h"
#include "tests/support/strings.h"
#include "tests/support/xvfb.h"

using namespace NyCore::Graphics;
using TestSupport::Canvas;
using TestSupport::InkBox;

namespace {

// The box every placement case draws in.
constexpr int BoxX = 20;
constexpr int BoxY = 10;
constexpr int BoxW = 160;
constexpr int BoxH = 40;

class GCTextTest : public TestSupport::WindowTest {};
using FontTest = TestSupport::WindowTest;

InkBox inkOf(Canvas& canvas, NyCore::String const* text, int flags)
{
    canvas.clear();
    gc_string(canvas.gc(), text, BoxX, BoxY, BoxW, BoxH, flags);
    canvas.snap();
    return canvas.ink();
}

}

TEST_F(FontTest, NamesResolveToMetricCompatibleFacesMeasuredInPixels)
{
    // The face asked for, the style, and the family it resolves to.
    std::tuple<char16_t const*, int, char const*> const cases[] = {
        {u"arial", Font::Regular, "Liberation Sans"},
        {u"Courier New", Font::Bold | Font::Italic, "Liberation Mono"},
    };
    for (auto const& [name, style, family] : cases) {
        TestSupport::OwnedString face(name);
        Font* font = Font::create(face, 14, style);
        ASSERT_NE(font, nullptr) << face.utf8();
        EXPECT_EQ(TestSupport::OwnedString(font->getFamilyName()).utf8(), family) << face.utf8();
        EXPECT_EQ(std::tuple(font->get$size(), font->get$style()), std::tuple(14, style)) << face.utf8();
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
    EXPECT_EQ(mono->measure(u"iii"_str), mono->measure(u"WWW"_str));
    EXPECT_EQ(mono->measure(u"WWW"_str), 3 * mono->measure(u"W"_str));
    EXPECT_EQ(mono->measure(nullptr), 0);
    EXPECT_EQ(mono->measureUnits(u"W", 0), 0);
    small->release();
    large->release();
    mono->release();
}

TEST_F(GCTextTest, FlagsPlaceTheTextInItsBox)
{
    Canvas canvas(200, 60);
    int height = canvas.gc()->font->get$height();
    NyCore::String const* text = u"Hi there"_str;
    InkBox topLeft = inkOf(canvas, text, 0);
    ASSERT_GT(topLeft.count, 0);
    EXPECT_NEAR(topLeft.left, BoxX + 1, 1);
    EXPECT_GE(topLeft.top, BoxY);
    EXPECT_LT(topLeft.bottom, BoxY + height);
    int inkWidth = topLeft.right - topLeft.left;

    // The flags, and the left and top edges of the ink relative to the top-left case.
    std::tuple<int, int, int> const cases[] = {
        {1, (BoxW - (inkWidth + 1)) / 2, 0},
        {2, BoxW - (inkWidth + 1), 0},
        {3, (BoxW - (inkWidth + 1)) / 2, 0},  // centring wins over right alignment
        {4, 0, (BoxH - height) / 2},
        {8, 0, BoxH - height},
        {12, 0, (BoxH - height) / 2},         // centring wins over bottom alignment
    };
    for (auto const& [flags, left, top] : cases) {
        InkBox box = inkOf(canvas, text, flags);
        // Side bearings make the ink a pixel or two narrower than the advance.
        EXPECT_NEAR(box.left - topLeft.left, left, 2) << "flags " << flags;
        EXPECT_EQ(box.top - topLeft.top, top) << "flags " << flags;
        EXPECT_EQ(box.right - box.left, inkWidth) << "flags " << flags;
    }
}

TEST_F(GCTextTest, OpaqueTextFillsItsCell)
{
    Canvas canvas(200, 60);
    GC* gc = canvas.gc();
    gc_set_background(gc, 0x00FF00);
    gc_set_foreground(gc, 0xFF0000);
    int width = gc->font->measure(u"Cell"_str);
    int height = gc->font->get$height();
    gc_string(gc, u"Cell"_str, BoxX, BoxY, BoxW, BoxH, 16);
    gc_string(gc, u"Cell"_str, BoxX, BoxY + 25, BoxW, BoxH, 0);  // without the flag the cell stays white
    canvas.snap();
    int red = 0;
    for (std::uint32_t pixel : canvas.pixels)
        red += (pixel >> 16) >= 0xC0 && ((pixel >> 8) & 0xFF) < 0x40 && (pixel & 0xFF) < 0x40;
    EXPECT_GT(red, 0) << "the text is drawn over its cell";
    canvas.expectPixels("opaque cell",
        {{BoxX, BoxY, 0x00FF00}, {BoxX + width - 1, BoxY + height - 1, 0x00FF00}, {BoxX + width, BoxY, 0xFFFFFF},
            {BoxX, BoxY + height, 0xFFFFFF}, {BoxX, BoxY + 25, 0xFFFFFF}});
}

TEST_F(GCTextTest, ClippingKeepsTheTextInsideTheBox)
{
    Canvas canvas(200, 60);
    GC* gc = canvas.gc();
    NyCore::String const* text = u"Clipped text runs far beyond its box"_str;
    gc_set_clip(gc, 0, 0, 30, 60);  // an outer clip narrows the box further
    gc_string(gc, text, 10, 10, 40, 6, 32);
    gc_string(gc, text, 10, 40, 100, 20, 0);  // the outer clip is back afterwards
    gc_set_clip(gc, 0, 0, 0, 0);
    canvas.snap();
    InkBox clipped = canvas.ink(0, 0, 200, 30);
    EXPECT_GT(clipped.count, 0);
    EXPECT_GE(std::min(clipped.left, clipped.top), 10);
    EXPECT_LE(clipped.right, 29);
    EXPECT_LE(clipped.bottom, 15);
    EXPECT_LE(canvas.ink(0, 30, 200, 30).right, 29);
}

TEST_F(GCTextTest, WordWrapBreaksBetweenWords)
{
    Canvas canvas(300, 120);
    GC* gc = canvas.gc();
    Font* mono = Font::create(u"courier new"_str, 12, Font::Regular);
    gc_set_font(gc, mono);
    int lineHeight = mono->get$height();
    int twoWords = mono->measure(u"aaa bbb"_str);

    // The text, the box's width and height, the flags, and the lines drawn.
    std::tuple<char16_t const*, int, int, int, int> const cases[] = {
        {u"aaa bbb ccc ddd eee", twoWords, 100, 64, 3},
        {u"aaa bbb ccc ddd eee", twoWords - 1, 100, 64, 5},
        {u"aaa bbb ccc ddd eee", twoWords, 2 * lineHeight, 64, 2},      // the third line would start at the bottom
        {u"a verylongword b", twoWords, 100, 64, 3},                  // a too-wide word stands alone
        {u"aaa\nbbb", 250, 100, 64, 2},
        {u"aaa\r\nbbb", 250, 100, 64, 2},
        {u"aaa\tbbb", twoWords - 1, 100, 64, 2},
    };
    for (auto const& [chars, w, h, flags, lines] : cases) {
        TestSupport::OwnedString text(chars);
        canvas.clear();
        gc_string(gc, text, 10, 5, w, h, flags);
        canvas.snap();
        EXPECT_EQ(canvas.inkBands(), lines) << text.utf8() << " in " << w << " x " << h;
        EXPECT_LT(canvas.ink().top, 5 + lineHeight) << text.utf8();
    }

    // Each wrapped line is aligned on its own.
    canvas.clear();
    gc_string(gc, u"aaa bbb ccc"_str, 10, 5, twoWords + 10, 100, 64 | 2);
    canvas.snap();
    InkBox first = canvas.ink(0, 5, 300, lineHeight);
    InkBox second = canvas.ink(0, 5 + lineHeight, 300, lineHeight);
    EXPECT_NEAR(first.right, 10 + twoWords + 10 - 1, 2);
    EXPECT_NEAR(second.right, first.right, 1);
    EXPECT_GT(second.left, first.left + 10);
    gc_set_font(gc, nullptr);
    mono->release();
}

TEST_F(GCTextTest, RunsPointsAndMissingStrings)
{
    Canvas canvas(200, 40);
    GC* gc = canvas.gc();
    gc_string(gc, nullptr, 0, 0, 200, 40, 16);
    gc_characters(gc, u"xxHixx", 2, 0, 0, 0, 200, 40, 16);
    canvas.snap();
    EXPECT_EQ(canvas.ink().count, 0);

    gc_characters(gc, u"xxHixx", 2, 2, 10, 5, 100, 20, 0);
    canvas.snap();
    InkBox run = canvas.ink();
    canvas.clear();
    gc_string(gc, u"Hi"_str, 10, 5, 100, 20, 0);
    canvas.snap();
    InkBox whole = canvas.ink();
    EXPECT_EQ(std::tie(run.left, run.right, run.count), std::tie(whole.left, whole.right, whole.count));

    // At a point: right alignment ends the text at x, centring straddles it.
    int width = gc->font->measure(u"Hi"_str);
    // The flags and where the text starts.
    std::pair<int, int> const cases[] = {{0, 100}, {2, 100 - width}, {1, 100 - width / 2}};
    for (auto const& [flags, x] : cases) {
        canvas.clear();
        gc_simple_string(gc, u"Hi"_str, 100, 10, flags);
        canvas.snap();
        EXPECT_NEAR(canvas.ink().left, x + (whole.left - 10), 1) << "flags " << flags;
    }
}
