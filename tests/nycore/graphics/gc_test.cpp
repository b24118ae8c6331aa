// Tests of the drawing context's shapes, state, clipping and copies, checked
// pixel by pixel on an off-screen picture.
#include <gtest/gtest.h>

#include <string>
#include <tuple>

#include "nycore/graphics/gc.h"
#include "tests/support/canvas.h"
#include "tests/support/child_process.h"
#include "tests/support/xvfb.h"

using namespace NyCore::Graphics;
using TestSupport::Canvas;

namespace {

constexpr std::uint32_t White = 0xFFFFFF;
constexpr std::uint32_t Red = 0xFF0000;
constexpr std::uint32_t Blue = 0x0000FF;
constexpr std::uint32_t Green = 0x00C000;

class GCTest : public TestSupport::WindowTest {};

}

TEST_F(GCTest, RectanglesAndLinesCoverTheirPixels)
{
    Canvas canvas(60, 60);
    GC* gc = canvas.gc();
    gc_set_background(gc, Red);
    gc_set_foreground(gc, Blue);
    gc_rect_fill(gc, 2, 3, 5, 4);
    gc_rect_line(gc, 20, 20, 1, 1);
    gc_rect_line(gc, 30, 5, 6, 4);
    gc_rect(gc, 40, 20, 5, 5);
    gc_line(gc, 5, 10, 15, 10);
    gc_vector(gc, 20, 5, 0, 10);
    gc_line(gc, 30, 30, 40, 35);
    gc_set_line_width(gc, 3);
    gc_line(gc, 5, 50, 25, 50);
    canvas.expectPixels("rectangles and lines",
        {
            {2, 3, Red}, {6, 6, Red}, {7, 3, White}, {2, 7, White}, {1, 3, White},         // fill, end exclusive
            {20, 20, Blue}, {21, 20, White}, {20, 21, White}, {19, 19, White},             // 1 x 1 outline
            {30, 5, Blue}, {35, 5, Blue}, {30, 8, Blue}, {35, 8, Blue}, {33, 6, White},    // outline only
            {36, 5, White}, {30, 9, White},
            {40, 20, Blue}, {44, 24, Blue}, {42, 22, Red}, {45, 22, White}, {42, 25, White}, // outlined and filled
            {5, 10, Blue}, {15, 10, Blue}, {4, 10, White}, {16, 10, White},                // lines reach both ends
            {20, 5, Blue}, {20, 15, Blue}, {20, 4, White}, {20, 16, White},
            {30, 30, Blue}, {40, 35, Blue},
            {15, 49, Blue}, {15, 50, Blue}, {15, 51, Blue}, {15, 48, White}, {15, 52, White}, // three wide
        });
    EXPECT_EQ(canvas.ink(18, 18, 5, 5).count, 1) << "a 1 x 1 outline is one pixel";
}

TEST_F(GCTest, InvertingFlipsEveryBit)
{
    Canvas canvas(40, 20);
    GC* gc = canvas.gc();
    gc_set_background(gc, Red);
    gc_rect_fill(gc, 0, 0, 10, 20);
    gc_invert_rect(gc, 5, 5, 10, 5);
    gc_invert_line(gc, 20, 2, 30, 2, 1);
    canvas.expectPixels("inverted",
        {
            {6, 6, 0x00FFFF}, {12, 6, 0x000000}, {4, 6, Red}, {6, 10, Red}, {15, 6, White},
            {20, 2, 0x000000}, {30, 2, 0x000000}, {25, 3, White},
        });
}

TEST_F(GCTest, ClippingLimitsEveryOperation)
{
    Canvas canvas(40, 40);
    GC* gc = canvas.gc();
    gc_set_background(gc, Red);
    gc_set_foreground(gc, Blue);
    gc_set_clip(gc, 5, 5, 10, 10);
    gc_rect_fill(gc, 0, 0, 40, 40);
    gc_line(gc, 0, 20, 39, 20);
    gc_set_clip(gc, 0, 0, 0, 10);  // removes the clip
    gc_line(gc, 0, 30, 39, 30);
    canvas.expectPixels("clipped",
        {
            {5, 5, Red}, {14, 14, Red},
            {0, 30, Blue}, {39, 30, Blue},
        });
    TestSupport::InkBox box = canvas.ink(0, 0, 40, 25);
    EXPECT_EQ(std::tie(box.left, box.top, box.right, box.bottom), std::tuple(5, 5, 14, 14));
}

TEST_F(GCTest, SavedStatesComeBackInReverseOrder)
{
    Canvas canvas(30, 10);
    GC* gc = canvas.gc();
    gc_set_foreground(gc, Red);
    gc_set_background(gc, Green);
    gc_save_state(gc);
    gc_set_foreground(gc, Blue);
    gc_set_line_width(gc, 5);
    gc_save_state(gc);
    gc_set_foreground(gc, 0x123456);
    gc_set_background(gc, 0x654321);
    gc_restore_state(gc);
    EXPECT_EQ(std::tie(gc->foreground, gc->background, gc->lineWidth), std::tuple(Blue, Green, 5));
    gc_restore_state(gc);
    EXPECT_EQ(std::tie(gc->foreground, gc->lineWidth), std::tuple(Red, 1));
    EXPECT_EQ(gc->stateTop, nullptr);
    gc_line(gc, 0, 5, 29, 5);
    canvas.expectPixels("restored pen", {{10, 5, Red}, {10, 4, White}, {10, 6, White}});
}

TEST_F(GCTest, FaultsAreFatal)
{
    // A name, the fault, and the start of its report.
    std::tuple<char const*, void (*)(GC*), char const*> const cases[] = {
        {"restore with an empty stack", [](GC* gc) { gc_restore_state(gc); }, "Error.Graphics.StackIsEmpty: graphics/gc("},
        {"empty polygon outline", [](GC* gc) { gc_polygon_line(gc, nullptr, 0); }, "Error.InvalidParamiter"},
        {"empty polygon fill", [](GC* gc) { gc_polygon_fill(gc, nullptr, 0); }, "Error.InvalidParamiter"},
    };
    // The picture is made before the fork: the child must not talk to the X
    // server over the connection it shares with this process.
    Canvas canvas(4, 4);
    for (auto const& [name, body, report] : cases) {
        SCOPED_TRACE(name);
        TestSupport::expectFatal([body = body, &canvas] { body(canvas.gc()); }, report);
    }
}

TEST_F(GCTest, EllipsesArcsAndPolygons)
{
    Canvas canvas(120, 60);
    GC* gc = canvas.gc();
    gc_set_background(gc, Red);
    gc_set_foreground(gc, Blue);
    gc_ellipse_fill(gc, 0, 0, 20, 20);
    gc_ellipse_line(gc, 30, 0, 20, 20);
    gc_ellipse(gc, 60, 0, 20, 20);
    gc_arc_fill(gc, 0, 30, 20, 20, 0, 250);    // from straight down, counter-clockwise to the right
    gc_arc_fill(gc, 30, 30, 20, 20, 250, 0);   // the other three quarters
    Point triangle[] = {{90, 30}, {110, 30}, {90, 50}};
    gc_polygon(gc, triangle, 3);
    canvas.expectPixels("curves",
        {
            {10, 10, Red}, {20, 10, Red}, {10, 20, Red}, {21, 10, White}, {1, 1, White},  // fill one pixel larger
            {30, 10, Blue}, {49, 10, Blue}, {40, 0, Blue}, {40, 19, Blue}, {40, 10, White}, {50, 10, White},
            {70, 10, Red}, {60, 10, Blue}, {79, 10, Blue}, {80, 10, White},
            {15, 45, Red}, {5, 35, White}, {15, 35, White}, {5, 45, White},
            {35, 35, Red}, {45, 35, Red}, {35, 45, Red}, {45, 45, White},
            {90, 30, Blue}, {110, 30, Blue}, {90, 50, Blue}, {94, 34, Red}, {108, 48, White},
        });
}

TEST_F(GCTest, CopiesAndStretchesBetweenSurfaces)
{
    Canvas source(4, 4);
    gc_set_background(source.gc(), Red);
    gc_rect_fill(source.gc(), 0, 0, 2, 2);
    gc_set_background(source.gc(), Blue);
    gc_rect_fill(source.gc(), 2, 2, 2, 2);

    Canvas target(30, 20);
    gc_copy_rect(target.gc(), 1, 1, source.gc(), 0, 0, 4, 4);
    Rect to = {10, 2, 8, 8};
    Rect from = {0, 0, 4, 4};
    gc_stretch_rect(target.gc(), &to, source.gc(), &from);
    gc_copy_rect(target.gc(), 20, 10, target.gc(), 10, 2, 8, 8);  // within one surface
    target.expectPixels("copies",
        {
            {1, 1, Red}, {2, 2, Red}, {3, 3, Blue}, {4, 4, Blue}, {3, 1, White}, {0, 0, White}, {5, 5, White},
            {10, 2, Red}, {13, 5, Red}, {14, 6, Blue}, {17, 9, Blue}, {14, 2, White}, {18, 9, White},
            {20, 10, Red}, {27, 17, Blue}, {27, 10, White},
        });
}
