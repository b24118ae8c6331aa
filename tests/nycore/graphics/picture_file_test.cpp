// The PNG reader and picture files: RGBA rows blended over white, damaged and
// foreign data refused without a crash, and files read as BMP or PNG by their
// first bytes.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "nycore/graphics/picture_file.h"
#include "nycore/graphics/png_reader.h"
#include "nycore/system/memory.h"
#include "nycore/text/string_functions.h"
#include "tests/support/bmp_builder.h"
#include "tests/support/png_builder.h"
#include "tests/support/strings.h"
#include "tests/support/temp_folder.h"

using namespace TestSupport;

namespace {

std::vector<std::uint32_t> decoded(std::string const& bytes, bool* ok)
{
    NyCore::Graphics::BitmapImage image{};
    *ok = png_decode(reinterpret_cast<std::uint8_t const*>(bytes.data()), bytes.size(), &image);
    std::vector<std::uint32_t> pixels(image.pixels, image.pixels + image.width * image.height);
    bitmap_image_destroy(&image);
    return pixels;
}

}

TEST(PngReader, PixelsComeBackBlendedOverWhite)
{
    // Opaque red, opaque blue, half-transparent black, fully transparent green.
    std::vector<std::uint8_t> const rgba = {255, 0, 0, 255, 0, 0, 255, 255, 0, 0, 0, 128, 0, 255, 0, 0};
    bool ok = false;
    EXPECT_EQ(decoded(buildPng(2, 2, rgba), &ok), (std::vector<std::uint32_t>{0xFF0000, 0x0000FF, 0x7F7F7F, 0xFFFFFF}));
    EXPECT_TRUE(ok);
}

TEST(PngReader, DamagedAndForeignDataAreRefused)
{
    std::string const good = buildPng(3, 1, std::vector<std::uint8_t>(12, 200));
    struct Case {
        char const* name;
        std::string bytes;
    } const cases[] = {
        {"empty", ""},
        {"signature only", good.substr(0, 8)},
        {"cut in the pixel data", good.substr(0, good.size() - 20)},
        {"a BMP", buildBmp(BmpPicture{24, 1, 1, {}, {0x123456}, {}})},
        {"text", "not a picture at all"},
    };
    for (Case const& c : cases) {
        bool ok = true;
        EXPECT_TRUE(decoded(c.bytes, &ok).empty()) << c.name;
        EXPECT_FALSE(ok) << c.name;
    }
}

TEST(PictureFile, FilesAreReadByTheirFirstBytes)
{
    TempFolder folder;
    writeBytes(folder.at("red.png"), buildPng(1, 1, {255, 0, 0, 255}));
    BmpPicture blue;
    blue.values = {0x0000FF};
    writeBytes(folder.at("blue.bmp"), buildBmp(blue));
    writeBytes(folder.at("png-named.bmp"), buildPng(1, 1, {0, 255, 0, 255}));
    writeBytes(folder.at("broken.png"), "\x89PNG\r\n\x1a\n broken");
    struct Case {
        char const* file;
        bool ok;
        std::uint32_t pixel;
    } const cases[] = {
        {"red.png", true, 0xFF0000},  {"blue.bmp", true, 0x0000FF}, {"png-named.bmp", true, 0x00FF00},
        {"broken.png", false, 0},     {"missing.png", false, 0},
    };
    for (Case const& c : cases) {
        std::string const path = folder.at(c.file);
        OwnedString name(string_from_utf8(path.data(), static_cast<int>(path.size())));
        NyCore::Graphics::BitmapImage image{};
        EXPECT_EQ(picture_decode_file(name, &image), c.ok) << c.file;
        EXPECT_EQ(image.pixels ? image.pixels[0] : 0u, c.pixel) << c.file;
        bitmap_image_destroy(&image);
    }
}
