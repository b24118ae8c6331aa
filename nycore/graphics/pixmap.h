// Pixmaps: plain off-screen bitmaps of the screen's format, loaded from a BMP
// file or created empty, each with its own drawing context so that the gc_*
// functions can draw into them and copy from them.
#pragma once

#include <cstdint>

#include "nycore/graphics/gc.h"
#include "nycore/text/string.h"

namespace NyCore::Graphics {

struct PixmapSurface {
    // The pixmap's own context; its surface is the pixmap.
    GC gc;
    std::int32_t width;
    std::int32_t height;
};

struct PixmapInfo {
    std::int32_t width;
    std::int32_t height;
    std::int32_t bitsPerPixel;
};

}

// Loads a BMP file. A file that cannot be opened is fatal with "name = " and
// the path, then Error.IO.InvalidFileName; one that is not a readable BMP
// likewise, then Error.Graphics.InvalidFile.
void pixmap_load(NyCore::Graphics::PixmapSurface* pixmap, NyCore::String const* path);
// An empty pixmap, white; a width or height below 1 is fatal (Error.InvalidParamiter).
void pixmap_construct(NyCore::Graphics::PixmapSurface* pixmap, int width, int height);
// Width, height and the bits per pixel of the surface (the screen's depth).
void pixmap_get_info(NyCore::Graphics::PixmapSurface const* pixmap, NyCore::Graphics::PixmapInfo* out);
void pixmap_destroy(NyCore::Graphics::PixmapSurface* pixmap);
