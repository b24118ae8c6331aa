// Tests of the BMP reader: every depth and row order from files written here
// from known pixels, and damaged files that must come back as a status.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "nycore/graphics/bmp_reader.h"
#include "nycore/io/file.h"
#include "tests/support/bmp_builder.h"
#include "tests/support/strings.h"
#include "tests/support/temp_folder.h"

using namespace NyCore::Graphics;
using TestSupport::BmpPicture;

namespace {

BmpStatus decode(std::string const& bytes, BitmapImage* image)
{
    return bmp_decode(reinterpret_cast<std::uint8_t const*>(bytes.data()), bytes.size(), image);
}

std::vector<std::uint32_t> pixelsOf(BitmapImage const& image)
{
    return std::vector<std::uint32_t>(image.pixels, image.pixels + static_cast<std::size_t>(image.width) * image.height);
}

void overwrite32(std::string& bytes, std::size_t at, std::uint32_t value)
{
    std::string field;
    TestSupport::put32(field, value);
    bytes.replace(at, 4, field);
}

}

TEST(BmpReaderTest, ReadsEveryDepthInBothRowOrders)
{
    std::vector<std::uint32_t> const palette16 = {0x000000, 0xFF0000, 0x00FF00, 0x0000FF, 0x123456, 0xFFFFFF, 0x808080,
        0xA0B0C0, 0x010203, 0x111111, 0x222222, 0x333333, 0x444444, 0x555555, 0x666666, 0xFEDCBA};
    struct Case {
        char const* name;
        BmpPicture picture;
        std::vector<std::uint32_t> expected;
    };
    std::vector<Case> const cases = {
        {"1 bit, 9 wide (row padding)", {1, 9, 2, false, {0x00FF00, 0xFF00FF}, {1, 0, 1, 1, 0, 0, 0, 1, 1, 0, 0, 0, 0, 0, 0, 0, 0, 1}, {}, false},
            {0xFF00FF, 0x00FF00, 0xFF00FF, 0xFF00FF, 0x00FF00, 0x00FF00, 0x00FF00, 0xFF00FF, 0xFF00FF, 0x00FF00, 0x00FF00,
                0x00FF00, 0x00FF00, 0x00FF00, 0x00FF00, 0x00FF00, 0x00FF00, 0xFF00FF}},
        {"1 bit, top-down", {1, 2, 2, true, {0x000000, 0xFFFFFF}, {0, 1, 1, 0}, {}, false}, {0x000000, 0xFFFFFF, 0xFFFFFF, 0x000000}},
        {"4 bits, 3 wide", {4, 3, 2, false, palette16, {1, 2, 3, 15, 4, 7}, {}, false},
            {0xFF0000, 0x00FF00, 0x0000FF, 0xFEDCBA, 0x123456, 0xA0B0C0}},
        {"8 bits, 3 palette entries", {8, 2, 3, false, {0x102030, 0x405060, 0x708090}, {0, 1, 2, 2, 1, 0}, {}, false},
            {0x102030, 0x405060, 0x708090, 0x708090, 0x405060, 0x102030}},
        {"8 bits, index past the palette is black", {8, 2, 1, true, {0x102030}, {0, 200}, {}, false}, {0x102030, 0x000000}},
        {"8 bits, core header", {8, 2, 2, false, {0xAABBCC, 0x112233}, {1, 0, 0, 1}, {}, true},
            {0x112233, 0xAABBCC, 0xAABBCC, 0x112233}},
        {"24 bits, 3 wide", {24, 3, 2, false, {}, {0xFF0000, 0x00FF00, 0x0000FF, 0x123456, 0xABCDEF, 0x000001}, {}, false},
            {0xFF0000, 0x00FF00, 0x0000FF, 0x123456, 0xABCDEF, 0x000001}},
        {"32 bits", {32, 2, 2, false, {}, {0xFF123456, 0x00ABCDEF, 0x00FFFFFF, 0x80000000}, {}, false},
            {0x123456, 0xABCDEF, 0xFFFFFF, 0x000000}},
        {"32 bits, bit fields blue-green-red", {32, 2, 1, false, {}, {0x000000FF, 0x00563412}, {0x000000FF, 0x0000FF00, 0x00FF0000}, false},
            {0xFF0000, 0x123456}},
        {"16 bits, 5-5-5", {16, 3, 1, false, {}, {0x7C00, 0x03E0, 0x001F}, {}, false}, {0xFF0000, 0x00FF00, 0x0000FF}},
        {"16 bits, 5-6-5 bit fields", {16, 2, 1, true, {}, {0xF800, 0x07E0}, {0xF800, 0x07E0, 0x001F}, false},
            {0xFF0000, 0x00FF00}},
    };
    for (auto const& c : cases) {
        SCOPED_TRACE(c.name);
        BitmapImage image;
        ASSERT_EQ(decode(TestSupport::buildBmp(c.picture), &image), BmpStatus::Ok);
        EXPECT_EQ(image.width, c.picture.width);
        EXPECT_EQ(image.height, c.picture.height);
        EXPECT_EQ(image.bitsPerPixel, c.picture.bitsPerPixel);
        EXPECT_EQ(pixelsOf(image), c.expected);
        bitmap_image_destroy(&image);
        EXPECT_EQ(image.pixels, nullptr);
    }
}

TEST(BmpReaderTest, ReportsDamagedFiles)
{
    std::string const good = TestSupport::buildBmp({8, 3, 2, false, {0x102030, 0x405060}, {0, 1, 0, 1, 0, 1}, {}, false});
    auto damaged = [&](std::size_t at, std::uint32_t value) {
        std::string bytes = good;
        overwrite32(bytes, at, value);
        return bytes;
    };
    auto withDepth = [&](std::uint32_t bits) {
        std::string bytes = good;
        bytes[28] = static_cast<char>(bits);
        return bytes;
    };
    struct Case {
        char const* name;
        std::string bytes;
        BmpStatus expected;
    };
    std::vector<Case> const cases = {
        {"empty", "", BmpStatus::NotBitmap},
        {"wrong signature", "MB" + good.substr(2), BmpStatus::NotBitmap},
        {"file header only", good.substr(0, 14), BmpStatus::Truncated},
        {"header cut short", good.substr(0, 30), BmpStatus::Truncated},
        {"palette cut short", good.substr(0, 14 + 40 + 5), BmpStatus::Truncated},
        {"last row cut short", good.substr(0, good.size() - 1), BmpStatus::Truncated},
        {"pixel offset past the end", damaged(10, 0x10000), BmpStatus::Truncated},
        {"pixel offset inside the file header", damaged(10, 3), BmpStatus::Invalid},
        {"zero width", damaged(18, 0), BmpStatus::Invalid},
        {"zero height", damaged(22, 0), BmpStatus::Invalid},
        {"most negative height", damaged(22, 0x80000000), BmpStatus::Unsupported},
        {"huge width", damaged(18, 0x7FFFFFFF), BmpStatus::Unsupported},
        {"header size 20", damaged(14, 20), BmpStatus::Unsupported},
        {"7 bits per pixel", withDepth(7), BmpStatus::Unsupported},
        {"run-length compression", damaged(30, 1), BmpStatus::Unsupported},
    };
    for (auto const& c : cases) {
        SCOPED_TRACE(c.name);
        BitmapImage image;
        EXPECT_EQ(decode(c.bytes, &image), c.expected);
        EXPECT_EQ(image.pixels, nullptr);
        EXPECT_EQ(image.width, 0);
    }
    BitmapImage image;
    EXPECT_EQ(bmp_decode(nullptr, 0, &image), BmpStatus::NotBitmap);
}

TEST(BmpReaderTest, EveryShorterPrefixOfAFileFails)
{
    std::vector<BmpPicture> const pictures = {
        {1, 9, 2, false, {0, 0xFFFFFF}, std::vector<std::uint32_t>(18, 1), {}, false},
        {24, 3, 3, true, {}, std::vector<std::uint32_t>(9, 0x123456), {}, false},
        {32, 2, 2, false, {}, std::vector<std::uint32_t>(4, 7), {0xFF, 0xFF00, 0xFF0000}, false},
        {8, 2, 2, false, {1, 2, 3}, {0, 1, 2, 0}, {}, true},
    };
    for (auto const& picture : pictures) {
        std::string const bytes = TestSupport::buildBmp(picture);
        for (std::size_t length = 0; length < bytes.size(); length++) {
            SCOPED_TRACE(std::to_string(picture.bitsPerPixel) + " bits, prefix of " + std::to_string(length));
            BitmapImage image;
            EXPECT_NE(decode(bytes.substr(0, length), &image), BmpStatus::Ok);
        }
    }
}

TEST(BmpReaderTest, ReadsFromAnOpenFile)
{
    TestSupport::TempFolder folder;
    std::string const bytes = TestSupport::buildBmp({24, 2, 1, false, {}, {0xFF8000, 0x0080FF}, {}, false});
    struct Case {
        char const* name;
        std::string contents;
        std::uint32_t size;
        BmpStatus expected;
    };
    std::vector<Case> const cases = {
        {"a whole BMP", bytes, static_cast<std::uint32_t>(bytes.size()), BmpStatus::Ok},
        {"a text file", std::string("hello, this is not a picture"), 28, BmpStatus::NotBitmap},
        {"a size past the file's end", bytes, static_cast<std::uint32_t>(bytes.size() + 10), BmpStatus::Truncated},
        {"a size shorter than the file header", bytes, 10, BmpStatus::Truncated},
    };
    for (auto const& c : cases) {
        SCOPED_TRACE(c.name);
        TestSupport::writeBytes(folder.at("picture.bmp"), c.contents);
        TestSupport::OwnedString path(folder.string("picture.bmp"));
        NyCore::IO::File file{file_open(path, NyCore::IO::FileRead)};
        ASSERT_NE(file.handle, NyCore::IO::NoFile);
        BitmapImage image;
        EXPECT_EQ(pixmap_load_winbmp(&file, c.size, &image), c.expected);
        if (c.expected == BmpStatus::Ok) {
            EXPECT_EQ(pixelsOf(image), (std::vector<std::uint32_t>{0xFF8000, 0x0080FF}));
        }
        bitmap_image_destroy(&image);
        file_close(&file);
    }
}
