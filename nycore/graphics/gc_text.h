// Text output of the drawing context: strings and runs of code units placed
// in a box by the TextFlags bits (alignment, opaque background, clipping,
// word wrap), in the context's font and foreground colour.
#pragma once

#include "nycore/graphics/gc.h"
#include "nycore/text/string.h"

// A missing string draws nothing.
void gc_string(NyCore::Graphics::GC* gc, NyCore::String const* s, int x, int y, int w, int h, int flags);
void gc_characters(NyCore::Graphics::GC* gc, char16_t const* units, int start, int count, int x, int y, int w, int h,
    int flags);
// At a point instead of a box: the alignment flags place the text around (x, y); clipping and wrapping do not apply.
void gc_simple_string(NyCore::Graphics::GC* gc, NyCore::String const* s, int x, int y, int flags);
