// Icon strips: one bitmap holding a row of equally sized icons and, unless
// flag bit 0 is set, their masks in a second row below (white = see-through).
// A strip is a drawing surface with its own drawing context; gc_copy_icon and
// gc_stretch_icon draw its icons onto any other context.
#pragma once

#include <cstdint>

#include "nycore/graphics/gc.h"
#include "nycore/graphics/icon_file.h"
#include "nycore/text/string.h"

namespace NyCore::Graphics {

struct IconStrip {
    // The strip's own context; its surface is the strip's bitmap.
    GC gc;
    std::int32_t width;
    std::int32_t height;
    std::int32_t count;
    std::uint32_t flags;
};

// Callers in the system draw fully opaque.
constexpr int IconOpaque = 999;

}

// Loads an icon file. A file that cannot be opened is fatal with "name = " and
// the path, then Error.IO.InvalidFileName; a file that is not a valid icon file
// is fatal with "name = " and the path, then Error.Graphics.InvalidFile.
void icons_load(NyCore::Graphics::IconStrip* strip, NyCore::String const* path);
// An empty strip (icons black, masks white: nothing shows until drawn into);
// a width, height or count below 1 is fatal (Error.InvalidParamiter).
void icons_construct(NyCore::Graphics::IconStrip* strip, int width, int height, int count, std::uint32_t flags);
void icons_get_info(NyCore::Graphics::IconStrip const* strip, NyCore::Graphics::IconInfo* out);
void icons_destroy(NyCore::Graphics::IconStrip* strip);

// Draws icon `index` with its top-left corner at (x, y). opacity runs from 0
// (the target stays as it was) to 999 (the icon alone); the blend is bitwise.
// An index outside the strip is fatal (Error.InvalidIndex).
void gc_copy_icon(NyCore::Graphics::GC* gc, int x, int y, NyCore::Graphics::IconStrip* strip, int index, int opacity);
// The same, scaled into the rectangle (x, y, w, h); an empty rectangle draws nothing.
void gc_stretch_icon(NyCore::Graphics::GC* gc, int x, int y, int w, int h, NyCore::Graphics::IconStrip* strip,
    int index, int opacity);
