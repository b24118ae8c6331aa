// The Windows BMP reader behind pixmaps and icon strips. It decodes a file
// image in memory into 0xRRGGBB pixels, top row first, whatever the file's
// depth and row order; a damaged file is a result for the caller, never a crash.
#pragma once

#include <cstddef>
#include <cstdint>

namespace NyCore::IO {
struct File;
}

namespace NyCore::Graphics {

// The first 16-bit value of every BMP file: the bytes "BM".
constexpr std::uint16_t BmpSignature = 19778;
constexpr int BmpFileHeaderSize = 14;

enum class BmpStatus {
    Ok,
    // The data does not start with "BM".
    NotBitmap,
    // A header, the palette or the pixel rows reach past the end of the data.
    Truncated,
    // A BMP this reader does not decode (compressed rows, an odd depth).
    Unsupported,
    // Header fields that contradict each other or describe no picture.
    Invalid,
};

struct BitmapImage {
    std::int32_t width;
    std::int32_t height;
    // Of the file the image came from.
    std::int32_t bitsPerPixel;
    // width × height pixels 0xRRGGBB, row by row from the top; from memory_alloc.
    std::uint32_t* pixels;
};

}

// Decodes a whole BMP file image of `size` bytes into image (its fields are
// left zero unless the result is Ok).
NyCore::Graphics::BmpStatus bmp_decode(std::uint8_t const* data, std::size_t size, NyCore::Graphics::BitmapImage* image);
// Reads `size` bytes of a BMP file from the open file's current position and
// decodes them; a file whose first 16-bit value is not 19778 yields NotBitmap.
NyCore::Graphics::BmpStatus pixmap_load_winbmp(NyCore::IO::File* file, std::uint32_t size, NyCore::Graphics::BitmapImage* image);
// Frees the pixels and clears the record.
void bitmap_image_destroy(NyCore::Graphics::BitmapImage* image);
// A short English description of a result, for diagnostics.
char const* bmp_status_text(NyCore::Graphics::BmpStatus status);
