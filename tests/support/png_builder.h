// Writes PNG file images from pixel bytes (RGBA, four per pixel, unless
// format says otherwise; top row first) with libpng, for the tests of the PNG
// reader and of pages that show pictures.
#pragma once

#include <png.h>

#include <cstdint>
#include <cstring>
#include <string>
#include <vector>

namespace TestSupport {

inline std::string buildPng(int width, int height, std::vector<std::uint8_t> const& rgba,
                            png_uint_32 format = PNG_FORMAT_RGBA)
{
    png_image image;
    std::memset(&image, 0, sizeof image);
    image.version = PNG_IMAGE_VERSION;
    image.width = static_cast<png_uint_32>(width);
    image.height = static_cast<png_uint_32>(height);
    image.format = format;
    png_alloc_size_t size = 0;
    png_image_write_to_memory(&image, nullptr, &size, 0, rgba.data(), 0, nullptr);
    std::string bytes(size, '\0');
    if (!png_image_write_to_memory(&image, bytes.data(), &size, 0, rgba.data(), 0, nullptr))
        return {};
    bytes.resize(size);
    return bytes;
}

}
