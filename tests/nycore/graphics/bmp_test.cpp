// Tests of the BMP reader: every depth and row order from files written here
// from known pixels, and damaged files that must come back as a status.
#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <tuple>
#include <utility>
#include <vector>

#include "nycore/graphics/bmp_reader.h"
#include "tests/support/bmp_builder.h"

using namespace NyCore::Graphics;
using TestSupport::BmpPicture;

namespace {

BmpStatus decode(std::string const& bytes, BitmapImage* image)
{
    return bmp_decode(reinterpret_cast<std::uint8_t const*>(bytes.data()), bytes.size(), image);
}

void overwrite32(std::string& bytes, std::size_t at, std::uint32_t value)
{
    std::string field;
    TestSupport::put32(field, value);
    bytes.replace(at, 4, field);
}

// How a picture is stored: last row first, first row first (negative height),
// or last row first with a 12-byte core header and 3-byte palette entries.
enum class Layout { BottomUp, TopDown, Core };

std::string build(BmpPicture picture, Layout layout)
{
    if (layout == Layout::TopDown) {
        // The builder writes the last row first, so it is given the rows in reverse.
        for (int y = 0; y < picture.height / 2; y++)
            std::swap_ranges(picture.values.begin() + y * picture.width, picture.values.begin() + (y + 1) * picture.width,
                             picture.values.end() - (y + 1) * picture.width);
    }
    std::string bytes = TestSupport::buildBmp(picture);
    if (layout == Layout::TopDown)
        overwrite32(bytes, 22, static_cast<std::uint32_t>(-picture.height));
    if (layout != Layout::Core)
        return bytes;
    std::string core;
    TestSupport::put32(core, 12);
    for (int field : {picture.width, picture.height, 1, picture.bitsPerPixel})
        TestSupport::put16(core, static_cast<std::uint32_t>(field));
    for (std::size_t i = 0; i < picture.palette.size(); i++)
        core += bytes.substr(54 + 4 * i, 3);
    bytes = bytes.substr(0, 14) + core + bytes.substr(54 + 4 * picture.palette.size());
    overwrite32(bytes, 2, static_cast<std::uint32_t>(bytes.size()));
    overwrite32(bytes, 10, static_cast<std::uint32_t>(14 + core.size()));
    return bytes;
}

}

TEST(BmpReaderTest, ReadsEveryDepthInBothRowOrders)
{
    std::vector<std::uint32_t> const palette16 = {0x000000, 0xFF0000, 0x00FF00, 0x0000FF, 0x123456, 0xFFFFFF, 0x808080,
        0xA0B0C0, 0x010203, 0x111111, 0x222222, 0x333333, 0x444444, 0x555555, 0x666666, 0xFEDCBA};
    // A name, the picture, how it is stored, and the pixels read back.
    std::vector<std::tuple<char const*, BmpPicture, Layout, std::vector<std::uint32_t>>> const cases = {
        {"1 bit, 9 wide (row padding)", {1, 9, 2, {0x00FF00, 0xFF00FF}, {1, 0, 1, 1, 0, 0, 0, 1, 1, 0, 0, 0, 0, 0, 0, 0, 0, 1}, {}}, Layout::BottomUp,
            {0xFF00FF, 0x00FF00, 0xFF00FF, 0xFF00FF, 0x00FF00, 0x00FF00, 0x00FF00, 0xFF00FF, 0xFF00FF, 0x00FF00, 0x00FF00,
                0x00FF00, 0x00FF00, 0x00FF00, 0x00FF00, 0x00FF00, 0x00FF00, 0xFF00FF}},
        {"4 bits, 3 wide", {4, 3, 2, palette16, {1, 2, 3, 15, 4, 7}, {}}, Layout::BottomUp,
            {0xFF0000, 0x00FF00, 0x0000FF, 0xFEDCBA, 0x123456, 0xA0B0C0}},
        {"8 bits, 3 palette entries", {8, 2, 3, {0x102030, 0x405060, 0x708090}, {0, 1, 2, 2, 1, 0}, {}}, Layout::BottomUp,
            {0x102030, 0x405060, 0x708090, 0x708090, 0x405060, 0x102030}},
        {"8 bits, index past the palette is black", {8, 2, 1, {0x102030}, {0, 200}, {}}, Layout::TopDown, {0x102030, 0x000000}},
        {"8 bits, core header", {8, 2, 2, {0xAABBCC, 0x112233}, {1, 0, 0, 1}, {}}, Layout::Core,
            {0x112233, 0xAABBCC, 0xAABBCC, 0x112233}},
        {"24 bits, 3 wide", {24, 3, 2, {}, {0xFF0000, 0x00FF00, 0x0000FF, 0x123456, 0xABCDEF, 0x000001}, {}}, Layout::BottomUp,
            {0xFF0000, 0x00FF00, 0x0000FF, 0x123456, 0xABCDEF, 0x000001}},
        {"32 bits", {32, 2, 2, {}, {0xFF123456, 0x00ABCDEF, 0x00FFFFFF, 0x80000000}, {}}, Layout::BottomUp,
            {0x123456, 0xABCDEF, 0xFFFFFF, 0x000000}},
        {"32 bits, bit fields blue-green-red", {32, 2, 1, {}, {0x000000FF, 0x00563412}, {0x000000FF, 0x0000FF00, 0x00FF0000}}, Layout::BottomUp,
            {0xFF0000, 0x123456}},
        {"16 bits, 5-5-5", {16, 3, 1, {}, {0x7C00, 0x03E0, 0x001F}, {}}, Layout::BottomUp, {0xFF0000, 0x00FF00, 0x0000FF}},
        {"16 bits, 5-6-5 bit fields", {16, 2, 1, {}, {0xF800, 0x07E0}, {0xF800, 0x07E0, 0x001F}}, Layout::TopDown,
            {0xFF0000, 0x00FF00}},
    };
    for (auto const& [name, picture, layout, expected] : cases) {
        SCOPED_TRACE(name);
        BitmapImage image;
        ASSERT_EQ(decode(build(picture, layout), &image), BmpStatus::Ok);
        EXPECT_EQ(std::tie(image.width, image.height, image.bitsPerPixel),
                  std::tie(picture.width, picture.height, picture.bitsPerPixel));
        EXPECT_EQ(std::vector(image.pixels, image.pixels + image.width * image.height), expected);
        bitmap_image_destroy(&image);
        EXPECT_EQ(image.pixels, nullptr);
    }
}

TEST(BmpReaderTest, ReportsDamagedFiles)
{
    std::string const good = TestSupport::buildBmp({8, 3, 2, {0x102030, 0x405060}, {0, 1, 0, 1, 0, 1}, {}});
    auto damaged = [&](std::size_t at, std::uint32_t value) {
        std::string bytes = good;
        overwrite32(bytes, at, value);
        return bytes;
    };
    // A name, the damaged bytes, and the status.
    std::vector<std::tuple<char const*, std::string, BmpStatus>> const cases = {
        {"empty", "", BmpStatus::NotBitmap},
        {"wrong signature", "MB" + good.substr(2), BmpStatus::NotBitmap},
        {"header cut short", good.substr(0, 30), BmpStatus::Truncated},
        {"last row cut short", good.substr(0, good.size() - 1), BmpStatus::Truncated},
        {"pixel offset past the end", damaged(10, 0x10000), BmpStatus::Truncated},
        {"pixel offset inside the file header", damaged(10, 3), BmpStatus::Invalid},
        {"zero width", damaged(18, 0), BmpStatus::Invalid},
        {"most negative height", damaged(22, 0x80000000), BmpStatus::Unsupported},
        {"huge width", damaged(18, 0x7FFFFFFF), BmpStatus::Unsupported},
        {"header size 20", damaged(14, 20), BmpStatus::Unsupported},
        {"7 bits per pixel", damaged(28, 7), BmpStatus::Unsupported},
        {"run-length compression", damaged(30, 1), BmpStatus::Unsupported},
    };
    for (auto const& [name, bytes, expected] : cases) {
        SCOPED_TRACE(name);
        BitmapImage image;
        EXPECT_EQ(decode(bytes, &image), expected);
        EXPECT_EQ(std::tuple(image.pixels, image.width), std::tuple(nullptr, 0));
    }
    BitmapImage image;
    EXPECT_EQ(bmp_decode(nullptr, 0, &image), BmpStatus::NotBitmap);
}

TEST(BmpReaderTest, EveryShorterPrefixOfAFileFails)
{
    std::vector<std::pair<BmpPicture, Layout>> const pictures = {
        {{1, 9, 2, {0, 0xFFFFFF}, std::vector<std::uint32_t>(18, 1), {}}, Layout::BottomUp},
        {{24, 3, 3, {}, std::vector<std::uint32_t>(9, 0x123456), {}}, Layout::TopDown},
        {{8, 2, 2, {1, 2, 3}, {0, 1, 2, 0}, {}}, Layout::Core},
    };
    for (auto const& [picture, layout] : pictures) {
        std::string const bytes = build(picture, layout);
        for (std::size_t length = 0; length < bytes.size(); length++) {
            SCOPED_TRACE(std::to_string(picture.bitsPerPixel) + " bits, prefix of " + std::to_string(length));
            BitmapImage image;
            EXPECT_NE(decode(bytes.substr(0, length), &image), BmpStatus::Ok);
        }
    }
}
