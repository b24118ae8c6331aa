// GC: the drawing context through which every widget, pixmap and icon strip
// is painted, and the flat gc_* functions that work on it. Colours are
// 0xRRGGBB; the platform surface stays behind an opaque handle.
#pragma once

#include <cstdint>

namespace NyCore::Graphics {

class Font;
struct GCPlatform;

// The platform's id of a drawable surface (an X window or pixmap id).
using NativeDrawable = std::uintptr_t;

struct Point {
    std::int32_t x;
    std::int32_t y;
};

struct Rect {
    std::int32_t x;
    std::int32_t y;
    std::int32_t width;
    std::int32_t height;
};

struct GCState {
    GCState* previous;
    Font* font;
    std::uint32_t background;
    std::uint32_t foreground;
    std::int32_t lineWidth;
};

struct GC {
    // Set to 1 by the creator; gc_release ends the context when it drops to 0.
    std::int32_t referenceCount;
    NativeDrawable surface;
    GCState* stateTop;
    // The current font (a counted reference).
    Font* font;
    std::uint32_t background;
    std::uint32_t foreground;
    std::int32_t lineWidth;
    // The window of a window context, 0 otherwise.
    NativeDrawable window;
    GCPlatform* platform;
};

namespace TextFlags {
enum : int {
    CenterHorizontal = 1,
    AlignRight = 2,
    CenterVertical = 4,
    AlignBottom = 8,
    Opaque = 16,
    Clip = 32,
    WordWrap = 64,
};
}

}

// Context life. gc_construct makes a context on any drawable (a pixmap, an
// icon strip or a window); wgc_construct makes a window context on a native
// window. Both need the X display and leave the initial state: background
// 0xFFFFFF, foreground 0, line width 1, the default font "arial" 12 pixels.
void gc_construct(NyCore::Graphics::GC* gc, NyCore::Graphics::NativeDrawable drawable);
void wgc_construct(NyCore::Graphics::GC* gc, NyCore::Graphics::NativeDrawable window);
void wgc_destroy(NyCore::Graphics::GC* gc);
void gc_destroy(NyCore::Graphics::GC* gc);
// The common part of construction: counts the context, selects the default
// font and sets the initial state (gc->surface must be set).
void gc_initialize(NyCore::Graphics::GC* gc);
// Releases the surface's drawing resources, the saved states and the font, and uncounts.
void gc_finalize(NyCore::Graphics::GC* gc, NyCore::Graphics::NativeDrawable window);
void gc_add_ref(NyCore::Graphics::GC* gc);
// Lowers the count; at 0 the context is finalized (the record itself belongs to the caller).
void gc_release(NyCore::Graphics::GC* gc);
// Sends waiting drawing requests to the server.
void gc_flush(NyCore::Graphics::GC* gc);

// State.
void gc_set_foreground(NyCore::Graphics::GC* gc, std::uint32_t color);
void gc_set_background(NyCore::Graphics::GC* gc, std::uint32_t color);
void gc_set_line_width(NyCore::Graphics::GC* gc, int width);
// Takes a counted reference to the font; null keeps the current one.
void gc_set_font(NyCore::Graphics::GC* gc, NyCore::Graphics::Font* font);
// A width or height below 1 removes the clip.
void gc_set_clip(NyCore::Graphics::GC* gc, int x, int y, int w, int h);
// Fills with the tile drawable instead of the background colour; 0 goes back to solid fills.
void gc_set_tile(NyCore::Graphics::GC* gc, NyCore::Graphics::NativeDrawable tile);
void gc_save_state(NyCore::Graphics::GC* gc);
// Pops the last saved state; an empty stack is fatal (Error.Graphics.StackIsEmpty).
void gc_restore_state(NyCore::Graphics::GC* gc);

// Lines in the foreground colour and line width; fills in the background colour.
void gc_line(NyCore::Graphics::GC* gc, int x1, int y1, int x2, int y2);
void gc_vector(NyCore::Graphics::GC* gc, int x, int y, int dx, int dy);
void gc_rect(NyCore::Graphics::GC* gc, int x, int y, int w, int h);
void gc_rect_line(NyCore::Graphics::GC* gc, int x, int y, int w, int h);
void gc_rect_fill(NyCore::Graphics::GC* gc, int x, int y, int w, int h);
void gc_ellipse(NyCore::Graphics::GC* gc, int x, int y, int w, int h);
void gc_ellipse_line(NyCore::Graphics::GC* gc, int x, int y, int w, int h);
void gc_ellipse_fill(NyCore::Graphics::GC* gc, int x, int y, int w, int h);
// Angles in thousandths of a full turn; the slice runs counter-clockwise from a2 to a1.
void gc_arc(NyCore::Graphics::GC* gc, int x, int y, int w, int h, int a1, int a2);
void gc_arc_line(NyCore::Graphics::GC* gc, int x, int y, int w, int h, int a1, int a2);
void gc_arc_fill(NyCore::Graphics::GC* gc, int x, int y, int w, int h, int a1, int a2);
// n = 0 is fatal (Error.InvalidParamiter).
void gc_polygon(NyCore::Graphics::GC* gc, NyCore::Graphics::Point const* points, int n);
void gc_polygon_line(NyCore::Graphics::GC* gc, NyCore::Graphics::Point const* points, int n);
void gc_polygon_fill(NyCore::Graphics::GC* gc, NyCore::Graphics::Point const* points, int n);
// Invert the pixels under a line or a rectangle (carets, rubber bands).
void gc_invert_line(NyCore::Graphics::GC* gc, int x1, int y1, int x2, int y2, int width);
void gc_invert_rect(NyCore::Graphics::GC* gc, int x, int y, int w, int h);
// Copies from another context's surface (or the same one: overlapping moves are safe).
void gc_copy_rect(NyCore::Graphics::GC* gc, int x, int y, NyCore::Graphics::GC* source, int sx, int sy, int w, int h);
void gc_stretch_rect(NyCore::Graphics::GC* gc, NyCore::Graphics::Rect const* target, NyCore::Graphics::GC* source,
    NyCore::Graphics::Rect const* sourceRect);
