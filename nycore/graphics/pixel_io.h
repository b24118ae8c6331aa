// Reading a drawable's pixels back as 0xRRGGBB values and writing them to a
// PNG file: how tests check what was drawn and how screenshots are taken.
#pragma once

#include <cstdint>

#include "nycore/graphics/gc.h"
#include "nycore/text/string.h"

// Fills out (w × h values, row by row) with the pixels of the rectangle; the
// rectangle must lie inside the drawable (out is left as it was otherwise).
void pixels_read(NyCore::Graphics::NativeDrawable drawable, int x, int y, int w, int h, std::uint32_t* out);
// Writes w × h pixels as an RGB PNG file; false when the file cannot be written.
bool pixels_save_png(std::uint32_t const* pixels, int w, int h, NyCore::String const* path);
