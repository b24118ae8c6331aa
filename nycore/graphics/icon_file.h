// Reading `.icons` files: a complete BMP file followed by a 20-byte trailer
// (icon width, height, count, flags, the magic "RIC1", all 32-bit
// little-endian). This is the data side of icon strips; it needs no display.
#pragma once

#include <cstdint>

#include "nycore/graphics/bmp_reader.h"
#include "nycore/text/string.h"

namespace NyCore::Graphics {

constexpr std::uint32_t IconFileMagic = 0x31434952;
constexpr int IconFileTrailerSize = 20;
// Strip flag bit 0: the strip has no mask row.
constexpr std::uint32_t IconsNoMask = 1;

// The four fields of a strip, in the order icons_get_info gives them.
struct IconInfo {
    std::int32_t width;
    std::int32_t height;
    std::int32_t count;
    std::uint32_t flags;
};

enum class IconFileStatus {
    Ok,
    CannotOpen,
    // Shorter than a trailer, or the trailer's magic is not "RIC1".
    NoTrailer,
    // The BMP part could not be read (see the bitmap status).
    BadBitmap,
    // Trailer fields that are not positive, or a picture of another size than
    // count × width by height (twice the height with a mask).
    WrongGeometry,
};

struct IconFile {
    IconInfo info;
    BitmapImage image;
    // Why the BMP part failed, when the status is BadBitmap.
    BmpStatus bitmapStatus;
};

}

// Reads and checks a whole icon file; on any status but Ok the record holds no image.
NyCore::Graphics::IconFileStatus icon_file_read(NyCore::String const* path, NyCore::Graphics::IconFile* file);
void icon_file_destroy(NyCore::Graphics::IconFile* file);
// The bitmap height a strip of this geometry needs: the height, or twice it with a mask.
std::int64_t icon_strip_bitmap_height(NyCore::Graphics::IconInfo const* info);
