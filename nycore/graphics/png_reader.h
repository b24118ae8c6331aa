// The PNG reader beside the BMP reader: a PNG file image in memory decoded
// into the same 0xRRGGBB picture record, with any transparency blended over
// white, so that pages and pixmaps can show PNG pictures as well as BMP ones.
#pragma once

#include <cstddef>
#include <cstdint>

#include "nycore/graphics/bmp_reader.h"

// True when the data starts with the eight bytes of the PNG signature.
bool png_is_signature(std::uint8_t const* data, std::size_t size);
// Decodes a whole PNG file image into image (left zero on failure). False for
// data that is not a readable PNG; never a crash.
bool png_decode(std::uint8_t const* data, std::size_t size, NyCore::Graphics::BitmapImage* image);
