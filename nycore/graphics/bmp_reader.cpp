// The BMP decoder: the core (12-byte) and the info (40 bytes and longer)
// headers, palettes of 1, 4 and 8 bits, 16- and 32-bit pixels with or without
// bit fields, 24-bit pixels, rows stored bottom-up or top-down.
#include "nycore/graphics/bmp_reader.h"

#include <bit>
#include <cstdlib>

#include "nycore/io/file.h"
#include "nycore/system/memory.h"

using namespace NyCore::Graphics;

namespace {

// Larger pictures are refused rather than risking a huge allocation.
constexpr std::int64_t MaxSide = 32768;
constexpr std::uint32_t CompressionNone = 0;
constexpr std::uint32_t CompressionBitFields = 3;
constexpr std::uint32_t CompressionAlphaBitFields = 6;
constexpr int CoreHeaderSize = 12;
constexpr int InfoHeaderSize = 40;

std::uint16_t read16(std::uint8_t const* p)
{
    return static_cast<std::uint16_t>(p[0] | (p[1] << 8));
}

std::uint32_t read32(std::uint8_t const* p)
{
    return static_cast<std::uint32_t>(p[0]) | (static_cast<std::uint32_t>(p[1]) << 8) |
           (static_cast<std::uint32_t>(p[2]) << 16) | (static_cast<std::uint32_t>(p[3]) << 24);
}

// One colour channel described by a bit mask, widened to 8 bits.
struct Channel {
    std::uint32_t mask = 0;
    int shift = 0;
    std::uint32_t maximum = 0;

    explicit Channel(std::uint32_t m) : mask(m)
    {
        if (mask != 0) {
            shift = std::countr_zero(mask);
            maximum = mask >> shift;
        }
    }

    std::uint32_t extract(std::uint32_t value) const
    {
        if (maximum == 0)
            return 0;
        std::uint64_t v = (value & mask) >> shift;
        return static_cast<std::uint32_t>((v * 255 + maximum / 2) / maximum);
    }
};

struct Layout {
    std::int64_t width = 0;
    std::int64_t height = 0;
    bool topDown = false;
    int bitsPerPixel = 0;
    std::uint32_t compression = CompressionNone;
    std::uint32_t colorsUsed = 0;
    // Where the palette starts and how many bytes each entry takes.
    std::size_t paletteOffset = 0;
    int paletteEntrySize = 4;
    std::uint32_t masks[3] = {0, 0, 0};
};

BmpStatus readLayout(std::uint8_t const* data, std::size_t size, Layout& layout)
{
    if (size < 2 || read16(data) != BmpSignature)
        return BmpStatus::NotBitmap;
    if (size < BmpFileHeaderSize + 4)
        return BmpStatus::Truncated;
    std::uint32_t headerSize = read32(data + BmpFileHeaderSize);
    std::uint8_t const* header = data + BmpFileHeaderSize;
    if (headerSize == CoreHeaderSize) {
        if (size < BmpFileHeaderSize + CoreHeaderSize)
            return BmpStatus::Truncated;
        layout.width = read16(header + 4);
        layout.height = read16(header + 6);
        layout.bitsPerPixel = read16(header + 10);
        layout.paletteEntrySize = 3;
    } else if (headerSize >= InfoHeaderSize && headerSize <= 0x10000) {
        if (size < BmpFileHeaderSize + headerSize)
            return BmpStatus::Truncated;
        layout.width = static_cast<std::int32_t>(read32(header + 4));
        std::int64_t height = static_cast<std::int32_t>(read32(header + 8));
        layout.topDown = height < 0;
        layout.height = height < 0 ? -height : height;
        layout.bitsPerPixel = read16(header + 14);
        layout.compression = read32(header + 16);
        layout.colorsUsed = read32(header + 32);
    } else {
        return BmpStatus::Unsupported;
    }
    layout.paletteOffset = BmpFileHeaderSize + headerSize;

    if (layout.width <= 0 || layout.height <= 0)
        return BmpStatus::Invalid;
    if (layout.width > MaxSide || layout.height > MaxSide)
        return BmpStatus::Unsupported;

    switch (layout.bitsPerPixel) {
    case 1:
    case 4:
    case 8:
    case 24:
        if (layout.compression != CompressionNone)
            return BmpStatus::Unsupported;
        break;
    case 16:
    case 32:
        if (layout.compression == CompressionBitFields || layout.compression == CompressionAlphaBitFields) {
            // A 40-byte header is followed by the masks; longer headers hold them.
            std::size_t masksAt = headerSize == InfoHeaderSize ? layout.paletteOffset : BmpFileHeaderSize + InfoHeaderSize;
            if (masksAt + 12 > size)
                return BmpStatus::Truncated;
            for (int i = 0; i < 3; i++)
                layout.masks[i] = read32(data + masksAt + 4 * i);
            if (headerSize == InfoHeaderSize)
                layout.paletteOffset += layout.compression == CompressionAlphaBitFields ? 16 : 12;
        } else if (layout.compression == CompressionNone) {
            bool wide = layout.bitsPerPixel == 32;
            layout.masks[0] = wide ? 0xFF0000 : 0x7C00;
            layout.masks[1] = wide ? 0x00FF00 : 0x03E0;
            layout.masks[2] = wide ? 0x0000FF : 0x001F;
        } else {
            return BmpStatus::Unsupported;
        }
        break;
    default:
        return BmpStatus::Unsupported;
    }
    return BmpStatus::Ok;
}

}

BmpStatus bmp_decode(std::uint8_t const* data, std::size_t size, BitmapImage* image)
{
    *image = BitmapImage{};
    if (!data)
        return BmpStatus::NotBitmap;
    Layout layout;
    BmpStatus status = readLayout(data, size, layout);
    if (status != BmpStatus::Ok)
        return status;

    std::uint64_t pixelOffset = read32(data + 10);
    if (pixelOffset < BmpFileHeaderSize)
        return BmpStatus::Invalid;
    std::uint32_t palette[256] = {};
    if (layout.bitsPerPixel <= 8) {
        std::uint32_t entries = 1u << layout.bitsPerPixel;
        if (layout.colorsUsed != 0 && layout.colorsUsed < entries)
            entries = layout.colorsUsed;
        // Writers that leave the count out often store a short palette: the
        // pixel rows start where it ends.
        if (pixelOffset > layout.paletteOffset) {
            std::uint64_t room = (pixelOffset - layout.paletteOffset) / layout.paletteEntrySize;
            if (room < entries)
                entries = static_cast<std::uint32_t>(room);
        }
        std::size_t end = layout.paletteOffset + static_cast<std::size_t>(entries) * layout.paletteEntrySize;
        if (end > size)
            return BmpStatus::Truncated;
        // Entries are blue, green, red (and a reserved byte); indexes past the
        // palette's end stay black.
        for (std::uint32_t i = 0; i < entries; i++) {
            std::uint8_t const* entry = data + layout.paletteOffset + i * layout.paletteEntrySize;
            palette[i] = (static_cast<std::uint32_t>(entry[2]) << 16) | (entry[1] << 8) | entry[0];
        }
    }

    std::uint64_t stride = ((static_cast<std::uint64_t>(layout.width) * layout.bitsPerPixel + 31) / 32) * 4;
    if (pixelOffset > size ||
        stride * static_cast<std::uint64_t>(layout.height) > size - pixelOffset)
        return BmpStatus::Truncated;

    Channel red(layout.masks[0]), green(layout.masks[1]), blue(layout.masks[2]);
    auto width = static_cast<std::int32_t>(layout.width);
    auto height = static_cast<std::int32_t>(layout.height);
    auto* pixels = static_cast<std::uint32_t*>(memory_alloc(static_cast<std::size_t>(width) * height * sizeof(std::uint32_t)));
    for (std::int32_t y = 0; y < height; y++) {
        std::int32_t storedRow = layout.topDown ? y : height - 1 - y;
        std::uint8_t const* row = data + pixelOffset + stride * storedRow;
        std::uint32_t* out = pixels + static_cast<std::size_t>(y) * width;
        for (std::int32_t x = 0; x < width; x++) {
            switch (layout.bitsPerPixel) {
            case 1:
                out[x] = palette[(row[x >> 3] >> (7 - (x & 7))) & 1];
                break;
            case 4:
                out[x] = palette[(row[x >> 1] >> ((x & 1) ? 0 : 4)) & 0xF];
                break;
            case 8:
                out[x] = palette[row[x]];
                break;
            case 24: {
                std::uint8_t const* p = row + 3 * x;
                out[x] = (static_cast<std::uint32_t>(p[2]) << 16) | (p[1] << 8) | p[0];
                break;
            }
            default: {
                std::uint32_t value = layout.bitsPerPixel == 16 ? read16(row + 2 * x) : read32(row + 4 * x);
                out[x] = (red.extract(value) << 16) | (green.extract(value) << 8) | blue.extract(value);
                break;
            }
            }
        }
    }
    image->width = width;
    image->height = height;
    image->bitsPerPixel = layout.bitsPerPixel;
    image->pixels = pixels;
    return BmpStatus::Ok;
}

BmpStatus pixmap_load_winbmp(NyCore::IO::File* file, std::uint32_t size, BitmapImage* image)
{
    *image = BitmapImage{};
    std::uint8_t fileHeader[BmpFileHeaderSize];
    if (size < BmpFileHeaderSize)
        return size < 2 ? BmpStatus::NotBitmap : BmpStatus::Truncated;
    if (file_read(file, fileHeader, BmpFileHeaderSize) != BmpFileHeaderSize)
        return BmpStatus::Truncated;
    if (read16(fileHeader) != BmpSignature)
        return BmpStatus::NotBitmap;
    auto* data = static_cast<std::uint8_t*>(memory_alloc(size));
    for (int i = 0; i < BmpFileHeaderSize; i++)
        data[i] = fileHeader[i];
    std::uint32_t rest = size - BmpFileHeaderSize;
    BmpStatus status = BmpStatus::Truncated;
    if (file_read(file, data + BmpFileHeaderSize, rest) == rest)
        status = bmp_decode(data, size, image);
    memory_free(data);
    return status;
}

void bitmap_image_destroy(BitmapImage* image)
{
    memory_free(image->pixels);
    *image = BitmapImage{};
}

char const* bmp_status_text(BmpStatus status)
{
    switch (status) {
    case BmpStatus::Ok:
        return "a bitmap";
    case BmpStatus::NotBitmap:
        return "not a BMP file";
    case BmpStatus::Truncated:
        return "the BMP file is cut short";
    case BmpStatus::Unsupported:
        return "a kind of BMP file that cannot be read";
    case BmpStatus::Invalid:
        return "the BMP file's header is damaged";
    }
    return "";
}
