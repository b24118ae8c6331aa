// The X side of a drawing context, for the platform code of nycore/graphics
// only: the Xlib GC, the Xft surface for text and the clip rectangle.
#pragma once

#include <X11/Xft/Xft.h>
#include <X11/Xlib.h>

#include <cstdint>

#include "nycore/graphics/gc.h"

namespace NyCore::Graphics {

struct GCPlatform {
    ::GC xgc;
    XftDraw* draw;
    Visual* visual;
    Colormap colormap;
    bool clipped;
    XRectangle clip;
    ::Pixmap tile;
};

// The pixel value of a 0xRRGGBB colour in the visual, and the reverse.
unsigned long x_pixel_of(Visual* visual, std::uint32_t color);
std::uint32_t x_color_of(Visual* visual, unsigned long pixel);

}
