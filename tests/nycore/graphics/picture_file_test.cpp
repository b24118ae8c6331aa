// The PNG reader and picture files: RGBA rows blended over white, damaged and
// foreign data refused without a crash, and files read as BMP or PNG by their
// first bytes.
#include <gtest/gtest.h>

#include <cstdint>
#include <cstring>
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

// An 8-bit grey PNG of one shade: pictures of millions of pixels in a few kilobytes.
std::string greyPng(int width, int height, std::uint8_t shade)
{
    std::vector<std::uint8_t> const grey(static_cast<std::size_t>(width) * static_cast<std::size_t>(height), shade);
    return buildPng(width, height, grey, PNG_FORMAT_GRAY);
}

// The CRC-32 that closes every PNG chunk, over its type and data.
std::uint32_t chunkCrc(std::string const& bytes)
{
    std::uint32_t crc = 0xFFFFFFFFu;
    for (char c : bytes) {
        crc ^= static_cast<std::uint8_t>(c);
        for (int bit = 0; bit < 8; ++bit)
            crc = (crc >> 1) ^ (0xEDB88320u & (0u - (crc & 1u)));
    }
    return crc ^ 0xFFFFFFFFu;
}

std::string bigEndian(std::uint32_t value)
{
    return {static_cast<char>(value >> 24), static_cast<char>(value >> 16), static_cast<char>(value >> 8),
            static_cast<char>(value)};
}

std::string chunk(std::string const& type, std::string const& data)
{
    return bigEndian(static_cast<std::uint32_t>(data.size())) + type + data + bigEndian(chunkCrc(type + data));
}

// A well-formed signature and header for an 8-bit RGBA picture of the given size.
std::string pngHeader(std::uint32_t width, std::uint32_t height)
{
    std::string const fields = bigEndian(width) + bigEndian(height) + std::string("\x08\x06\0\0\0", 5);
    return std::string("\x89PNG\r\n\x1a\n", 8) + chunk("IHDR", fields);
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
    // The made-up headers below are the very bytes libpng writes, so only the sizes they claim are wrong.
    ASSERT_EQ(pngHeader(3, 1), good.substr(0, 33));
    struct Case {
        char const* name;
        std::string bytes;
    } const cases[] = {
        {"empty", ""},
        {"signature only", good.substr(0, 8)},
        {"cut in the pixel data", good.substr(0, good.size() - 20)},
        {"a BMP", buildBmp(BmpPicture{24, 1, 1, {}, {0x123456}, {}})},
        {"text", "not a picture at all"},
        // Headers that would have the reader set aside gigabytes for a few bytes of file.
        {"a 32767 x 32767 header without pixel data", pngHeader(32767, 32767) + chunk("IEND", "")},
        {"a 32767 x 32767 header over 256 KiB of pixel data",
         pngHeader(32767, 32767) + chunk("IDAT", std::string(256 * 1024, '\0')) + chunk("IEND", "")},
    };
    for (Case const& c : cases) {
        bool ok = true;
        EXPECT_TRUE(decoded(c.bytes, &ok).empty()) << c.name;
        EXPECT_FALSE(ok) << c.name;
    }
}

TEST(PngReader, PicturesOfMoreThanSixteenMillionPixelsAreRefused)
{
    std::string const largest = greyPng(4096, 4096, 0x80), tooLarge = greyPng(4097, 4096, 0x80);
    ASSERT_FALSE(largest.empty());
    ASSERT_FALSE(tooLarge.empty());
    bool ok = false;
    std::vector<std::uint32_t> const pixels = decoded(largest, &ok);
    EXPECT_TRUE(ok);
    ASSERT_EQ(pixels.size(), std::size_t{4096} * 4096);
    EXPECT_EQ(pixels.front(), 0x808080u);
    EXPECT_EQ(pixels.back(), 0x808080u);
    // A whole, undamaged file: only its size is held against it.
    ok = true;
    EXPECT_TRUE(decoded(tooLarge, &ok).empty());
    EXPECT_FALSE(ok);
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
