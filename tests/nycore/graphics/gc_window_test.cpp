// A window context: drawing on a mapped X window through wgc_construct, and
// copying a double-buffered picture onto it.
#include <gtest/gtest.h>

#include <X11/Xlib.h>

#include <vector>

#include "nycore/graphics/gc.h"
#include "nycore/graphics/offscreen_pixmap.h"
#include "nycore/graphics/pixel_io.h"
#include "nycore/system/x_connection.h"
#include "tests/support/xvfb.h"

using NyCore::Graphics::OffscreenPixmap;
using NyCore::System::XConnection;

TEST(GCWindowTest, DrawsOnAWindow)
{
    ASSERT_TRUE(TestSupport::ensureDisplay());
    Display* display = XConnection::get$display();
    ::Window window = XCreateSimpleWindow(display, XConnection::get$root(), 0, 0, 60, 40, 0, 0, 0xFFFFFF);
    XSetWindowAttributes attributes {};
    attributes.override_redirect = True;
    XChangeWindowAttributes(display, window, CWOverrideRedirect, &attributes);
    XSelectInput(display, window, ExposureMask);
    XMapRaised(display, window);
    XEvent event;
    XWindowEvent(display, window, ExposureMask, &event);  // blocks until the window can be drawn on

    OffscreenPixmap buffer(60, 40);
    gc_set_background(buffer.get$gc(), 0x3366CC);
    gc_rect_fill(buffer.get$gc(), 0, 0, 60, 40);

    NyCore::Graphics::GC gc;
    wgc_construct(&gc, window);
    EXPECT_EQ(gc.window, window);
    EXPECT_EQ(gc.surface, window);
    gc_copy_rect(&gc, 0, 0, buffer.get$gc(), 0, 0, 60, 40);
    gc_set_background(&gc, 0xFF0000);
    gc_rect_fill(&gc, 10, 10, 5, 5);
    gc_invert_rect(&gc, 40, 20, 4, 4);

    std::vector<std::uint32_t> pixels(60 * 40);
    pixels_read(window, 0, 0, 60, 40, pixels.data());
    EXPECT_EQ(pixels[0], 0x3366CCu);
    EXPECT_EQ(pixels[10 * 60 + 10], 0xFF0000u);
    EXPECT_EQ(pixels[14 * 60 + 14], 0xFF0000u);
    EXPECT_EQ(pixels[15 * 60 + 15], 0x3366CCu);
    EXPECT_EQ(pixels[21 * 60 + 41], 0xCC9933u);
    wgc_destroy(&gc);
    XDestroyWindow(display, window);
    XSync(display, False);
}
