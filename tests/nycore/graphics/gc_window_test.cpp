// A window context: drawing on a mapped X window through wgc_construct and
// copying a double-buffered picture onto it; the core's own pixel read-back
// and PNG writer against pixels decoded in the test.
#include <gtest/gtest.h>

#include <png.h>

#include <string>
#include <tuple>
#include <vector>

#include "nycore/graphics/gc.h"
#include "nycore/graphics/offscreen_pixmap.h"
#include "nycore/graphics/pixel_io.h"
#include "tests/support/strings.h"
#include "tests/support/temp_folder.h"
#include "tests/support/windows.h"

using NyCore::Graphics::OffscreenPixmap;

using GCWindowTest = TestSupport::WindowTest;

TEST_F(GCWindowTest, DrawsOnAWindow)
{
    ::Window window = TestSupport::bareWindow(60, 40, 0xFFFFFF);
    OffscreenPixmap buffer(60, 40);
    gc_set_background(buffer.get$gc(), 0x3366CC);
    gc_rect_fill(buffer.get$gc(), 0, 0, 60, 40);

    NyCore::Graphics::GC gc;
    wgc_construct(&gc, window);
    gc_copy_rect(&gc, 0, 0, buffer.get$gc(), 0, 0, 60, 40);
    gc_set_background(&gc, 0xFF0000);
    gc_rect_fill(&gc, 10, 10, 5, 5);
    gc_invert_rect(&gc, 40, 20, 4, 4);
    TestSupport::expectPixels(window, {
                                          {"copied", 0, 0, 0x3366CC},
                                          {"filled corner", 10, 10, 0xFF0000},
                                          {"filled far corner", 14, 14, 0xFF0000},
                                          {"past the fill", 15, 15, 0x3366CC},
                                          {"inverted", 41, 21, 0xCC9933},
                                      });
    wgc_destroy(&gc);
    XDestroyWindow(TestSupport::display(), window);
    XSync(TestSupport::display(), False);
}

TEST_F(GCWindowTest, PixelsReadAndSavedAsPngKeepEveryChannel)
{
    // Colours with distinct red, green and blue, so that a swap of channels shows.
    std::vector<std::uint32_t> const colours = {0xFF0000, 0x00FF00, 0x0000FF, 0x123456, 0xFEDCBA, 0x000000};
    OffscreenPixmap pixmap(3, 2);
    for (std::size_t i = 0; i < colours.size(); ++i) {
        gc_set_background(pixmap.get$gc(), colours[i]);
        gc_rect_fill(pixmap.get$gc(), static_cast<int>(i % 3), static_cast<int>(i / 3), 1, 1);
    }
    std::vector<std::uint32_t> read(6, 0xDEADBEEF);
    pixels_read(pixmap.get$drawable(), 0, 0, 3, 2, read.data());
    EXPECT_EQ(read, colours) << "pixels_read";

    TestSupport::TempFolder folder;
    std::string path = folder.at("picture.png");
    EXPECT_TRUE(pixels_save_png(colours.data(), 3, 2, TestSupport::OwnedString(folder.string("picture.png"))));
    png_image image = {};
    image.version = PNG_IMAGE_VERSION;
    ASSERT_TRUE(png_image_begin_read_from_file(&image, path.c_str())) << image.message;
    EXPECT_EQ(std::tie(image.width, image.height), std::tuple(3u, 2u));
    image.format = PNG_FORMAT_RGB;
    std::vector<png_byte> rgb(PNG_IMAGE_SIZE(image));
    ASSERT_TRUE(png_image_finish_read(&image, nullptr, rgb.data(), 0, nullptr)) << image.message;
    std::vector<std::uint32_t> saved;
    for (std::size_t i = 0; i + 2 < rgb.size(); i += 3)
        saved.push_back(std::uint32_t(rgb[i]) << 16 | std::uint32_t(rgb[i + 1]) << 8 | rgb[i + 2]);
    EXPECT_EQ(saved, colours) << "the PNG file";
    EXPECT_FALSE(pixels_save_png(colours.data(), 3, 2, TestSupport::OwnedString(folder.string("no/such/x.png"))));
}
