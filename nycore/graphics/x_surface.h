// Screen-compatible X pixmaps for icon strips and loaded pixmaps, and the
// one-time conversion of a decoded BMP picture into one. Platform code only.
#pragma once

#include <X11/Xlib.h>

#include "nycore/graphics/bmp_reader.h"

namespace NyCore::Graphics {

// A pixmap of the screen's depth; sizes must be positive.
::Pixmap x_surface_create(int width, int height);
// A new screen pixmap holding the picture.
::Pixmap x_surface_from_image(BitmapImage const* image);
void x_surface_fill(::Pixmap surface, int x, int y, int width, int height, std::uint32_t color);

}
