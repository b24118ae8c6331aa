// Text output of the drawing context: strings and runs of code units placed
// in a box by the TextFlags bits (alignment, opaque background, clipping,
// word wrap), in the context's font and foreground colour.
#pragma once

#include "nycore/graphics/gc.h"
#include "nycore/text/string.h"

namespace NyCore::Graphics {
class Font;
}

// A missing string draws nothing.
void gc_string(NyCore::Graphics::GC* gc, NyCore::String const* s, int x, int y, int w, int h, int flags);
void gc_characters(NyCore::Graphics::GC* gc, char16_t const* units, int start, int count, int x, int y, int w, int h,
    int flags);
// At a point instead of a box: the alignment flags place the text around (x, y); clipping and wrapping do not apply.
void gc_simple_string(NyCore::Graphics::GC* gc, NyCore::String const* s, int x, int y, int flags);
// The number of lines the text takes when drawn with WordWrap in a box `width`
// pixels wide (0 for a missing or empty text), so that boxes can be sized to it.
int gc_wrapped_line_count(NyCore::Graphics::Font* font, NyCore::String const* s, int width);
