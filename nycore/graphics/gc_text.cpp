// Text output of the drawing context through Xft: placement in a box by the
// text flags, the opaque background, clipping to the box and word wrapping.
#include "nycore/graphics/gc_text.h"

#include <algorithm>

#include "nycore/graphics/font.h"
#include "nycore/system/x_connection.h"
#include "nycore/graphics/x_gc.h"

namespace G = NyCore::Graphics;
using NyCore::System::XConnection;

namespace {

bool endsRun(char16_t c)
{
    return c == u' ' || c == u'\r' || c == u'\t' || c == u'\n';
}

XftColor xftColor(G::GC* gc, std::uint32_t color)
{
    XftColor result {};
    result.pixel = G::x_pixel_of(gc->platform->visual, color);
    result.color.red = static_cast<unsigned short>(((color >> 16) & 0xFF) * 257);
    result.color.green = static_cast<unsigned short>(((color >> 8) & 0xFF) * 257);
    result.color.blue = static_cast<unsigned short>((color & 0xFF) * 257);
    result.color.alpha = 0xFFFF;
    return result;
}

// One line of text with its top-left corner at (x, y).
void drawRun(G::GC* gc, char16_t const* units, int count, int x, int y, int width, bool opaque)
{
    G::Font* font = gc->font;
    if (opaque && width > 0) {
        XSetForeground(XConnection::get$display(), gc->platform->xgc,
            G::x_pixel_of(gc->platform->visual, gc->background));
        XFillRectangle(XConnection::get$display(), gc->surface, gc->platform->xgc, x, y, static_cast<unsigned>(width),
            static_cast<unsigned>(font->get$height()));
    }
    if (count <= 0)
        return;
    XftColor color = xftColor(gc, gc->foreground);
    XftDrawString16(gc->platform->draw, &color, static_cast<XftFont*>(font->get$handle()), x, y + font->get$ascent(),
        reinterpret_cast<FcChar16 const*>(units), count);
}

int alignedX(int flags, int x, int w, int width)
{
    if (flags & G::TextFlags::CenterHorizontal)
        return x + (w - width) / 2;
    if (flags & G::TextFlags::AlignRight)
        return x + w - width;
    return x;
}

// Clips to the box (within any clip already set) for the life of the scope.
class BoxClip {
public:
    BoxClip(G::GC* gc, int x, int y, int w, int h, bool active) : gc(gc), active(active)
    {
        if (!active)
            return;
        G::GCPlatform* platform = gc->platform;
        int left = x;
        int top = y;
        int right = x + w;
        int bottom = y + h;
        if (platform->clipped) {
            left = std::max(left, static_cast<int>(platform->clip.x));
            top = std::max(top, static_cast<int>(platform->clip.y));
            right = std::min(right, platform->clip.x + static_cast<int>(platform->clip.width));
            bottom = std::min(bottom, platform->clip.y + static_cast<int>(platform->clip.height));
        }
        XRectangle box = {static_cast<short>(left), static_cast<short>(top),
            static_cast<unsigned short>(std::max(0, right - left)), static_cast<unsigned short>(std::max(0, bottom - top))};
        XSetClipRectangles(XConnection::get$display(), platform->xgc, 0, 0, &box, 1, Unsorted);
        XftDrawSetClipRectangles(platform->draw, 0, 0, &box, 1);
    }
    ~BoxClip()
    {
        if (!active)
            return;
        G::GCPlatform* platform = gc->platform;
        if (platform->clipped) {
            XSetClipRectangles(XConnection::get$display(), platform->xgc, 0, 0, &platform->clip, 1, Unsorted);
            XftDrawSetClipRectangles(platform->draw, 0, 0, &platform->clip, 1);
        } else {
            XSetClipMask(XConnection::get$display(), platform->xgc, None);
            XftDrawSetClip(platform->draw, nullptr);
        }
    }

private:
    G::GC* gc;
    bool active;
};

// The end of the line that starts at `start`: the longest run of whole words
// that fits in `width`, or the first word alone when even that does not fit.
int wrapLineEnd(G::Font* font, char16_t const* units, int start, int count, int width)
{
    int end = -1;
    int i = start;
    for (;;) {
        int wordEnd = i;
        while (wordEnd < count && !endsRun(units[wordEnd]))
            ++wordEnd;
        if (font->measureUnits(units + start, wordEnd - start) > width && end >= 0)
            return end;
        end = wordEnd;
        if (font->measureUnits(units + start, wordEnd - start) > width)
            return end;
        if (wordEnd >= count || units[wordEnd] == u'\n')
            return end;
        i = wordEnd + 1;
    }
}

// Where the line after the one that ends at `end` starts: a line feed ends
// exactly one line, other separators are dropped at the start of the next line.
int nextLineStart(char16_t const* units, int end, int count)
{
    if (end < count && units[end] == u'\n')
        return end + 1;
    while (end < count && endsRun(units[end]) && units[end] != u'\n')
        ++end;
    return end;
}

void drawWrapped(G::GC* gc, char16_t const* units, int count, int x, int y, int w, int h, int flags)
{
    G::Font* font = gc->font;
    int lineHeight = font->get$height();
    bool opaque = flags & G::TextFlags::Opaque;
    int lineStart = 0;
    int top = y;
    while (lineStart < count && top < y + h) {
        int end = wrapLineEnd(font, units, lineStart, count, w);
        int width = font->measureUnits(units + lineStart, end - lineStart);
        drawRun(gc, units + lineStart, end - lineStart, alignedX(flags, x, w, width), top, width, opaque);
        top += lineHeight;
        lineStart = nextLineStart(units, end, count);
    }
}

}

void gc_string(G::GC* gc, NyCore::String const* s, int x, int y, int w, int h, int flags)
{
    if (!s)
        return;
    gc_characters(gc, s->units(), 0, s->count, x, y, w, h, flags);
}

void gc_characters(G::GC* gc, char16_t const* units, int start, int count, int x, int y, int w, int h, int flags)
{
    if (!units || count <= 0 || !gc->font)
        return;
    units += start;
    BoxClip clip(gc, x, y, w, h, flags & G::TextFlags::Clip);
    if (flags & G::TextFlags::WordWrap) {
        drawWrapped(gc, units, count, x, y, w, h, flags);
        return;
    }
    int width = gc->font->measureUnits(units, count);
    int top = y;
    if (flags & G::TextFlags::CenterVertical)
        top = y + (h - gc->font->get$height()) / 2;
    else if (flags & G::TextFlags::AlignBottom)
        top = y + h - gc->font->get$height();
    drawRun(gc, units, count, alignedX(flags, x, w, width), top, width, flags & G::TextFlags::Opaque);
}

void gc_simple_string(G::GC* gc, NyCore::String const* s, int x, int y, int flags)
{
    gc_string(gc, s, x, y, 0, 0, flags & ~(G::TextFlags::Clip | G::TextFlags::WordWrap));
}

int gc_wrapped_line_count(G::Font* font, NyCore::String const* s, int width)
{
    if (!s || !font)
        return 0;
    char16_t const* units = s->units();
    int lines = 0;
    for (int lineStart = 0; lineStart < s->count; ++lines)
        lineStart = nextLineStart(units, wrapLineEnd(font, units, lineStart, s->count, width), s->count);
    return lines;
}
