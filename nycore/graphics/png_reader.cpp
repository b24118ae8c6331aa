// PNG decoding through libpng's simplified reading interface, into RGBA rows
// that are blended over white into 0xRRGGBB pixels.
#include "nycore/graphics/png_reader.h"

#include <png.h>

#include <cstring>
#include <vector>

#include "nycore/system/memory.h"

namespace G = NyCore::Graphics;

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
    // Pictures beyond what an X pixmap can hold are refused before any allocation.
    if (png.width == 0 || png.height == 0 || png.width > 32767 || png.height > 32767) {
        png_image_free(&png);
        return false;
    }
    std::vector<std::uint8_t> rgba(PNG_IMAGE_SIZE(png));
    if (!png_image_finish_read(&png, nullptr, rgba.data(), 0, nullptr)) {
        png_image_free(&png);
        return false;
    }
    auto const count = static_cast<std::size_t>(png.width) * png.height;
    auto* pixels = static_cast<std::uint32_t*>(memory_alloc(count * sizeof(std::uint32_t)));
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
