// Writes BMP file images byte by byte from known pixels, for the reader's
// tests: any depth, bottom row first, with or without palette and bit fields.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace TestSupport {

struct BmpPicture {
    int bitsPerPixel = 24;
    int width = 1;
    int height = 1;
    // 0xRRGGBB entries, written as blue, green, red, 0.
    std::vector<std::uint32_t> palette;
    // Per pixel, top row first: a palette index (up to 8 bits), 0xRRGGBB (24) or the stored value (16, 32).
    std::vector<std::uint32_t> values;
    // Compression 3 with these three masks (16 and 32 bits) when set.
    std::vector<std::uint32_t> masks;
};

inline void put16(std::string& out, std::uint32_t v)
{
    out += static_cast<char>(v & 0xFF);
    out += static_cast<char>((v >> 8) & 0xFF);
}

inline void put32(std::string& out, std::uint32_t v)
{
    put16(out, v & 0xFFFF);
    put16(out, v >> 16);
}

inline std::string buildBmp(BmpPicture const& picture)
{
    std::string header;
    put32(header, 40);
    put32(header, static_cast<std::uint32_t>(picture.width));
    put32(header, static_cast<std::uint32_t>(picture.height));
    put16(header, 1);
    put16(header, static_cast<std::uint32_t>(picture.bitsPerPixel));
    put32(header, picture.masks.empty() ? 0 : 3);
    put32(header, 0);
    put32(header, 2835);
    put32(header, 2835);
    put32(header, static_cast<std::uint32_t>(picture.palette.size()));
    put32(header, 0);
    for (std::uint32_t mask : picture.masks)
        put32(header, mask);
    for (std::uint32_t color : picture.palette)
        put32(header, color);

    std::string rows;
    std::size_t stride = ((static_cast<std::size_t>(picture.width) * picture.bitsPerPixel + 31) / 32) * 4;
    for (int r = 0; r < picture.height; r++) {
        int y = picture.height - 1 - r;
        std::string row(stride, '\0');
        for (int x = 0; x < picture.width; x++) {
            std::uint32_t v = picture.values[static_cast<std::size_t>(y) * picture.width + x];
            std::size_t bit = static_cast<std::size_t>(x) * picture.bitsPerPixel;
            switch (picture.bitsPerPixel) {
            case 1:
            case 4:
                row[bit / 8] = static_cast<char>(row[bit / 8] | (v << (8 - picture.bitsPerPixel - bit % 8)));
                break;
            default:
                for (int b = 0; b < picture.bitsPerPixel / 8; b++)
                    row[bit / 8 + b] = static_cast<char>((v >> (8 * b)) & 0xFF);
            }
        }
        rows += row;
    }

    std::string file = "BM";
    std::uint32_t offset = static_cast<std::uint32_t>(14 + header.size());
    put32(file, static_cast<std::uint32_t>(offset + rows.size()));
    put32(file, 0);
    put32(file, offset);
    return file + header + rows;
}

}
