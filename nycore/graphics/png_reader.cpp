// PNG decoding through libpng's simplified reading interface: RGBA rows read
// straight into the picture's own pixel block, then blended over white into
// 0xRRGGBB pixels in place.
#include "nycore/graphics/png_reader.h"

#include <png.h>

#include <cstring>

#include "nycore/system/memory.h"

namespace G = NyCore::Graphics;

namespace {

// Pictures beyond what an X pixmap can hold are refused.
constexpr png_uint_32 MaxSide = 32767;
// 16 million pixels (64 MiB of pixels) is far more than a page or an icon
// shows; a bigger header is taken for a damaged or hostile file rather than
// a reason to set aside gigabytes.
constexpr std::size_t MaxPixels = std::size_t{1} << 24;
// Deflate never packs more than 1032 bytes into one, so a file whose rows
// could not fit in it even at one bit per pixel claims more than it holds.
constexpr std::size_t MaxInflation = 1032;

bool plausibleSize(png_image const& png, std::size_t size)
{
    if (png.width == 0 || png.height == 0 || png.width > MaxSide || png.height > MaxSide)
        return false;
    if (static_cast<std::size_t>(png.width) * png.height > MaxPixels)
        return false;
    // Each row starts with its filter byte.
    std::size_t const leastRows = static_cast<std::size_t>(png.height) * (1 + (png.width + 7) / 8);
    return leastRows / MaxInflation <= size;
}

}

bool png_is_signature(std::uint8_t const* data, std::size_t size)
{
    return data && size >= 8 && png_sig_cmp(data, 0, 8) == 0;
}

bool png_decode(std::uint8_t const* data, std::size_t size, G::BitmapImage* image)
{
    *image = G::BitmapImage{};
    if (!png_is_signature(data, size))
        return false;
    png_image png;
    std::memset(&png, 0, sizeof png);
    png.version = PNG_IMAGE_VERSION;
    if (!png_image_begin_read_from_memory(&png, data, size))
        return false;
    png.format = PNG_FORMAT_RGBA;
    // Checked before anything is allocated for the pixels.
    if (!plausibleSize(png, size)) {
        png_image_free(&png);
        return false;
    }
    auto const count = static_cast<std::size_t>(png.width) * png.height;
    // RGBA is four bytes a pixel, the size of the 0xRRGGBB pixels it becomes.
    static_assert(PNG_IMAGE_PIXEL_SIZE(PNG_FORMAT_RGBA) == sizeof(std::uint32_t));
    auto* pixels = static_cast<std::uint32_t*>(memory_alloc(count * sizeof(std::uint32_t)));
    if (!png_image_finish_read(&png, nullptr, pixels, 0, nullptr)) {
        png_image_free(&png);
        memory_free(pixels);
        return false;
    }
    // Each pixel's four bytes are read before its 32-bit value replaces them.
    auto const* rgba = reinterpret_cast<std::uint8_t const*>(pixels);
    for (std::size_t i = 0; i < count; ++i) {
        std::uint8_t const* p = &rgba[i * 4];
        unsigned const alpha = p[3];
        auto over = [alpha](unsigned channel) { return (channel * alpha + 255 * (255 - alpha) + 127) / 255; };
        pixels[i] = (over(p[0]) << 16) | (over(p[1]) << 8) | over(p[2]);
    }
    image->width = static_cast<std::int32_t>(png.width);
    image->height = static_cast<std::int32_t>(png.height);
    image->bitsPerPixel = 32;
    image->pixels = pixels;
    return true;
}
