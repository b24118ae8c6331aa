// Tests of text output: where the ink of a string lands in its box for each
// text flag, opaque cells, word wrapping, clipping, runs and points.
#include <gtest/gtest.h>

#include <string>

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

InkBox inkOf(Canvas& canvas, NyCore::String const* text, int flags)
{
    canvas.clear();
    gc_string(canvas.gc(), text, BoxX, BoxY, BoxW, BoxH, flags);
    canvas.snap();
    return canvas.ink();
}

}

TEST_F(GCTextTest, FlagsPlaceTheTextInItsBox)
{
    Canvas canvas(200, 60);
    int height = canvas.gc()->font->get$height();
    NyCore::String const* text = u"Hi there"_str;
    InkBox topLeft = inkOf(canvas, text, 0);
    ASSERT_GT(topLeft.count, 0);
    EXPECT_GE(topLeft.left, BoxX);
    EXPECT_LE(topLeft.left, BoxX + 2);
    EXPECT_GE(topLeft.top, BoxY);
    EXPECT_LT(topLeft.bottom, BoxY + height);
    int inkWidth = topLeft.right - topLeft.left;

    struct Case {
        int flags;
        int left;  // expected left edge of the ink, relative to the top-left case
        int top;   // expected top edge of the ink, likewise
    } const cases[] = {
        {1, (BoxW - (inkWidth + 1)) / 2, 0},
        {2, BoxW - (inkWidth + 1), 0},
        {3, (BoxW - (inkWidth + 1)) / 2, 0},  // centring wins over right alignment
        {4, 0, (BoxH - height) / 2},
        {8, 0, BoxH - height},
        {12, 0, (BoxH - height) / 2},         // centring wins over bottom alignment
        {2 | 8, BoxW - (inkWidth + 1), BoxH - height},
    };
    for (auto const& c : cases) {
        InkBox box = inkOf(canvas, text, c.flags);
        // Side bearings make the ink a pixel or two narrower than the advance.
        EXPECT_NEAR(box.left - topLeft.left, c.left, 2) << "flags " << c.flags;
        EXPECT_EQ(box.top - topLeft.top, c.top) << "flags " << c.flags;
        EXPECT_EQ(box.right - box.left, inkWidth) << "flags " << c.flags;
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
    for (int flags : {0, 16}) {
        canvas.clear();
        gc_string(gc, u"Cell"_str, BoxX, BoxY, BoxW, BoxH, flags);
        canvas.snap();
        int green = 0;
        int red = 0;
        for (std::uint32_t pixel : canvas.pixels) {
            green += pixel == 0x00FF00;
            red += (pixel >> 16) >= 0xC0 && ((pixel >> 8) & 0xFF) < 0x40 && (pixel & 0xFF) < 0x40;
        }
        EXPECT_GT(red, 0) << "flags " << flags;
        if (flags == 0) {
            EXPECT_EQ(green, 0);
            EXPECT_EQ(canvas.at(BoxX, BoxY), 0xFFFFFFu);
        } else {
            EXPECT_GT(green, width * height / 2);
            EXPECT_EQ(canvas.at(BoxX, BoxY), 0x00FF00u);
            EXPECT_EQ(canvas.at(BoxX + width - 1, BoxY + height - 1), 0x00FF00u);
            EXPECT_EQ(canvas.at(BoxX + width, BoxY), 0xFFFFFFu);
            EXPECT_EQ(canvas.at(BoxX, BoxY + height), 0xFFFFFFu);
        }
    }
}

TEST_F(GCTextTest, ClippingKeepsTheTextInsideTheBox)
{
    Canvas canvas(200, 60);
    GC* gc = canvas.gc();
    NyCore::String const* text = u"Clipped text runs far beyond its box"_str;
    gc_string(gc, text, 10, 10, 40, 6, 0);
    canvas.snap();
    InkBox free = canvas.ink();
    EXPECT_GT(free.right, 60);
    EXPECT_GT(free.bottom, 15);

    canvas.clear();
    gc_set_clip(gc, 0, 0, 30, 60);  // an outer clip narrows the box further
    gc_string(gc, text, 10, 10, 40, 6, 32);
    gc_string(gc, text, 10, 40, 100, 20, 0);  // the outer clip is back afterwards
    gc_set_clip(gc, 0, 0, 0, 0);
    canvas.snap();
    InkBox clipped = canvas.ink(0, 0, 200, 30);
    EXPECT_GT(clipped.count, 0);
    EXPECT_GE(clipped.left, 10);
    EXPECT_LE(clipped.right, 29);
    EXPECT_GE(clipped.top, 10);
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

    struct Case {
        char16_t const* text;
        int w;
        int h;
        int flags;
        int lines;
    } const cases[] = {
        {u"aaa bbb ccc ddd eee", twoWords, 100, 64, 3},
        {u"aaa bbb ccc ddd eee", twoWords - 1, 100, 64, 5},
        {u"aaa bbb ccc ddd eee", twoWords, 2 * lineHeight, 64, 2},      // the third line would start at the bottom
        {u"aaa bbb ccc ddd eee", twoWords, 2 * lineHeight + 1, 64, 3},
        {u"aaa bbb ccc ddd eee", twoWords, 100, 64 | 4 | 8, 3},         // vertical flags are ignored
        {u"a verylongword b", twoWords, 100, 64, 3},                  // a too-wide word stands alone
        {u"aaa\nbbb", 250, 100, 64, 2},
        {u"aaa\r\nbbb", 250, 100, 64, 2},
        {u"aaa\tbbb", twoWords - 1, 100, 64, 2},
        {u"aaa bbb ccc", 250, 100, 64, 1},
    };
    for (auto const& c : cases) {
        TestSupport::OwnedString text(c.text);
        canvas.clear();
        gc_string(gc, text, 10, 5, c.w, c.h, c.flags);
        canvas.snap();
        EXPECT_EQ(canvas.inkBands(), c.lines) << text.utf8() << " in " << c.w << " x " << c.h;
        EXPECT_LT(canvas.ink().top, 5 + lineHeight) << text.utf8();
    }

    // An empty line between two line feeds keeps its place.
    canvas.clear();
    gc_string(gc, u"aaa\n\nbbb"_str, 10, 5, 250, 100, 64);
    canvas.snap();
    EXPECT_EQ(canvas.ink(0, 5 + lineHeight, 300, lineHeight).count, 0);
    EXPECT_GT(canvas.ink(0, 5 + 2 * lineHeight, 300, lineHeight).count, 0);

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
    EXPECT_EQ(run.left, whole.left);
    EXPECT_EQ(run.right, whole.right);
    EXPECT_EQ(run.count, whole.count);

    // At a point: right alignment ends the text at x, centring straddles it.
    int width = gc->font->measure(u"Hi"_str);
    struct Case {
        int flags;
        int x;
    } const cases[] = {{0, 100}, {2, 100 - width}, {1, 100 - width / 2}};
    for (auto const& c : cases) {
        canvas.clear();
        gc_simple_string(gc, u"Hi"_str, 100, 10, c.flags);
        canvas.snap();
        EXPECT_NEAR(canvas.ink().left, c.x + (whole.left - 10), 1) << "flags " << c.flags;
    }
}
