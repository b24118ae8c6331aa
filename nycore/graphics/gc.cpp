// The drawing context over Xlib: its life, its state and saved states, and
// the shapes. Text is in gc_text.cpp. Every context keeps its own X GC; the
// colour it needs is set before each request (Xlib caches unchanged values).
#include "nycore/graphics/gc.h"

#include <cmath>
#include <numbers>
#include <vector>

#include "nycore/graphics/font.h"
#include "nycore/system/error.h"
#include "nycore/system/memory.h"
#include "nycore/system/x_connection.h"
#include "nycore/graphics/x_gc.h"

namespace G = NyCore::Graphics;
using NyCore::System::XConnection;

namespace {

char const* const Source = "graphics/gc";

// The default font and the count of live contexts: the font is made with the
// first context and released with the last one.
int contextCount = 0;
G::Font* defaultFont = nullptr;

Display* display()
{
    return XConnection::get$display();
}

::GC xgc(G::GC* gc)
{
    return gc->platform->xgc;
}

void usePen(G::GC* gc)
{
    XSetForeground(display(), xgc(gc), G::x_pixel_of(gc->platform->visual, gc->foreground));
}

void useBrush(G::GC* gc)
{
    XSetForeground(display(), xgc(gc), G::x_pixel_of(gc->platform->visual, gc->background));
}

// Fills drawn with the tile when one is set, else solid in the background colour.
class FillScope {
public:
    explicit FillScope(G::GC* gc) : gc(gc)
    {
        useBrush(gc);
        if (gc->platform->tile)
            XSetFillStyle(display(), xgc(gc), FillTiled);
    }
    ~FillScope()
    {
        if (gc->platform->tile)
            XSetFillStyle(display(), xgc(gc), FillSolid);
    }

private:
    G::GC* gc;
};

// Width 1 is drawn as an X thin line, which covers both end points exactly.
void applyLineWidth(G::GC* gc)
{
    int width = gc->lineWidth <= 1 ? 0 : gc->lineWidth;
    XSetLineAttributes(display(), xgc(gc), static_cast<unsigned>(width), LineSolid, CapButt, JoinMiter);
}

void releaseFont(G::GC* gc)
{
    if (gc->font) {
        gc->font->release();
        gc->font = nullptr;
    }
}

void checkPoints(int n)
{
    if (n <= 0)
        ERROR_THROW(ERROR_BADPARA, Source);
}

std::vector<XPoint> toXPoints(G::Point const* points, int n, bool closed)
{
    std::vector<XPoint> result;
    result.reserve(static_cast<std::size_t>(n) + 1);
    for (int i = 0; i < n; ++i)
        result.push_back({static_cast<short>(points[i].x), static_cast<short>(points[i].y)});
    if (closed)
        result.push_back(result.front());
    return result;
}

// X measures arc angles in 64ths of a degree, counter-clockwise, in the
// ellipse's skewed coordinates. Our angle a (thousandths of a turn) names the
// direction (cos, sin)(a·π/500) from the centre in screen coordinates, which
// turn clockwise as a grows.
int skewedAngle(int a, int w, int h)
{
    double theta = -a * std::numbers::pi / 500.0;
    double skewed = std::atan2(std::sin(theta) * (w > 0 ? w : 1), std::cos(theta) * (h > 0 ? h : 1));
    return static_cast<int>(std::lround(skewed * 180.0 / std::numbers::pi * 64.0));
}

// The slice runs counter-clockwise on screen from a2's point to a1's point;
// equal points give the whole ellipse.
void arcAngles(int w, int h, int a1, int a2, int& start, int& extent)
{
    start = skewedAngle(a2, w, h);
    extent = skewedAngle(a1, w, h) - start;
    while (extent <= 0)
        extent += 360 * 64;
    if (extent > 360 * 64)
        extent = 360 * 64;
}

XPoint arcEnd(int x, int y, int w, int h, int a)
{
    double cx = x + w / 2.0;
    double cy = y + h / 2.0;
    double dx = std::cos(a * std::numbers::pi / 500.0);
    double dy = std::sin(a * std::numbers::pi / 500.0);
    // The radial line meets the ellipse of semi-axes rx, ry at this distance.
    double rx = w / 2.0;
    double ry = h / 2.0;
    double scale = (rx > 0 && ry > 0) ? 1.0 / std::sqrt(dx * dx / (rx * rx) + dy * dy / (ry * ry)) : 0.0;
    return {static_cast<short>(std::lround(cx + dx * scale)), static_cast<short>(std::lround(cy + dy * scale))};
}

void outlineRect(G::GC* gc, int x, int y, int w, int h)
{
    if (w < 1 || h < 1)
        return;
    usePen(gc);
    if (gc->lineWidth <= 1 && (w <= 2 || h <= 2)) {
        XFillRectangle(display(), gc->surface, xgc(gc), x, y, static_cast<unsigned>(w), static_cast<unsigned>(h));
        return;
    }
    XPoint corners[5] = {{static_cast<short>(x), static_cast<short>(y)},
        {static_cast<short>(x), static_cast<short>(y + h - 1)},
        {static_cast<short>(x + w - 1), static_cast<short>(y + h - 1)},
        {static_cast<short>(x + w - 1), static_cast<short>(y)},
        {static_cast<short>(x), static_cast<short>(y)}};
    XDrawLines(display(), gc->surface, xgc(gc), corners, 5, CoordModeOrigin);
}

void fillRect(G::GC* gc, int x, int y, int w, int h)
{
    if (w < 1 || h < 1)
        return;
    FillScope fill(gc);
    XFillRectangle(display(), gc->surface, xgc(gc), x, y, static_cast<unsigned>(w), static_cast<unsigned>(h));
}

void fillArc(G::GC* gc, int x, int y, int w, int h, int start, int extent)
{
    if (w < 1 || h < 1)
        return;
    FillScope fill(gc);
    XFillArc(display(), gc->surface, xgc(gc), x, y, static_cast<unsigned>(w), static_cast<unsigned>(h), start, extent);
}

void outlineArc(G::GC* gc, int x, int y, int w, int h, int start, int extent)
{
    if (w < 1 || h < 1)
        return;
    usePen(gc);
    XDrawArc(display(), gc->surface, xgc(gc), x, y, static_cast<unsigned>(w - 1), static_cast<unsigned>(h - 1), start,
        extent);
}

void createPlatform(G::GC* gc, Visual* visual, Colormap colormap)
{
    auto* platform = static_cast<G::GCPlatform*>(memory_alloc(sizeof(G::GCPlatform)));
    XGCValues values {};
    values.graphics_exposures = False;
    platform->xgc = XCreateGC(display(), gc->surface, GCGraphicsExposures, &values);
    platform->visual = visual;
    platform->colormap = colormap;
    platform->draw = XftDrawCreate(display(), gc->surface, visual, colormap);
    gc->platform = platform;
}

}

namespace {

// Where a visual's colour mask sits in a pixel: its lowest bit and its width.
struct MaskField {
    int shift = 0;
    int bits = 0;
};

MaskField fieldOf(unsigned long mask)
{
    MaskField field;
    if (!mask)
        return field;
    while (!((mask >> field.shift) & 1))
        ++field.shift;
    while ((mask >> (field.shift + field.bits)) & 1)
        ++field.bits;
    return field;
}

}

unsigned long G::x_pixel_of(Visual* visual, std::uint32_t color)
{
    auto channel = [](unsigned long mask, unsigned value) -> unsigned long {
        MaskField field = fieldOf(mask);
        if (field.bits == 0)
            return 0;
        unsigned long scaled = field.bits >= 8 ? static_cast<unsigned long>(value) << (field.bits - 8) : value >> (8 - field.bits);
        return (scaled << field.shift) & mask;
    };
    return channel(visual->red_mask, (color >> 16) & 0xFF) | channel(visual->green_mask, (color >> 8) & 0xFF)
        | channel(visual->blue_mask, color & 0xFF);
}

std::uint32_t G::x_color_of(Visual* visual, unsigned long pixel)
{
    auto channel = [pixel](unsigned long mask) -> std::uint32_t {
        MaskField field = fieldOf(mask);
        if (field.bits == 0)
            return 0;
        unsigned long value = (pixel & mask) >> field.shift;
        return static_cast<std::uint32_t>(field.bits >= 8 ? value >> (field.bits - 8) : value * 255 / ((1ul << field.bits) - 1));
    };
    return (channel(visual->red_mask) << 16) | (channel(visual->green_mask) << 8) | channel(visual->blue_mask);
}

void gc_construct(G::GC* gc, G::NativeDrawable drawable)
{
    *gc = {};
    gc->surface = drawable;
    createPlatform(gc, XConnection::get$visual(), XConnection::get$colormap());
    gc_initialize(gc);
}

void wgc_construct(G::GC* gc, G::NativeDrawable window)
{
    *gc = {};
    gc->surface = window;
    gc->window = window;
    // A window may have its own visual (an OpenGL child, for one).
    XWindowAttributes attributes {};
    XGetWindowAttributes(display(), window, &attributes);
    createPlatform(gc, attributes.visual, attributes.colormap);
    gc_initialize(gc);
}

void wgc_destroy(G::GC* gc)
{
    gc_finalize(gc, gc->window);
}

void gc_destroy(G::GC* gc)
{
    gc_finalize(gc, 0);
}

void gc_initialize(G::GC* gc)
{
    if (contextCount++ == 0)
        defaultFont = G::Font::create(u"arial"_str, 12, G::Font::Regular);
    gc->referenceCount = 1;
    gc->stateTop = nullptr;
    gc->font = nullptr;
    gc_set_font(gc, defaultFont);
    gc->background = 0xFFFFFF;
    gc->foreground = 0x000000;
    gc->lineWidth = 1;
    applyLineWidth(gc);
}

void gc_finalize(G::GC* gc, G::NativeDrawable window)
{
    // Window contexts draw on the window itself; nothing of it is freed here.
    (void)window;
    if (!gc->platform)
        return;
    while (gc->stateTop) {
        G::GCState* state = gc->stateTop;
        gc->stateTop = state->previous;
        if (state->font)
            state->font->release();
        memory_free(state);
    }
    releaseFont(gc);
    // Once the connection is closed the server has freed the context with it
    // (a library that outlives the connection frees its records at unload).
    if (XConnection::get$isOpen()) {
        if (gc->platform->draw)
            XftDrawDestroy(gc->platform->draw);
        XFreeGC(display(), gc->platform->xgc);
    }
    memory_free(gc->platform);
    gc->platform = nullptr;
    if (--contextCount == 0 && defaultFont) {
        defaultFont->release();
        defaultFont = nullptr;
    }
}

void gc_add_ref(G::GC* gc)
{
    ++gc->referenceCount;
}

void gc_release(G::GC* gc)
{
    if (--gc->referenceCount <= 0)
        gc_finalize(gc, gc->window);
}

void gc_flush(G::GC*)
{
    XFlush(display());
}

void gc_set_foreground(G::GC* gc, std::uint32_t color)
{
    gc->foreground = color & 0xFFFFFF;
}

void gc_set_background(G::GC* gc, std::uint32_t color)
{
    gc->background = color & 0xFFFFFF;
}

void gc_set_line_width(G::GC* gc, int width)
{
    gc->lineWidth = width;
    applyLineWidth(gc);
}

void gc_set_font(G::GC* gc, G::Font* font)
{
    if (!font || font == gc->font)
        return;
    font->addRef();
    releaseFont(gc);
    gc->font = font;
}

void gc_set_clip(G::GC* gc, int x, int y, int w, int h)
{
    G::GCPlatform* platform = gc->platform;
    if (w < 1 || h < 1) {
        platform->clipped = false;
        XSetClipMask(display(), platform->xgc, None);
        XftDrawSetClip(platform->draw, nullptr);
        return;
    }
    platform->clipped = true;
    platform->clip = {static_cast<short>(x), static_cast<short>(y), static_cast<unsigned short>(w),
        static_cast<unsigned short>(h)};
    XSetClipRectangles(display(), platform->xgc, 0, 0, &platform->clip, 1, Unsorted);
    XftDrawSetClipRectangles(platform->draw, 0, 0, &platform->clip, 1);
}

void gc_set_tile(G::GC* gc, G::NativeDrawable tile)
{
    gc->platform->tile = tile;
    if (tile)
        XSetTile(display(), xgc(gc), tile);
}

void gc_save_state(G::GC* gc)
{
    auto* state = static_cast<G::GCState*>(memory_alloc(sizeof(G::GCState)));
    state->previous = gc->stateTop;
    state->font = gc->font;
    if (state->font)
        state->font->addRef();
    state->background = gc->background;
    state->foreground = gc->foreground;
    state->lineWidth = gc->lineWidth;
    gc->stateTop = state;
}

void gc_restore_state(G::GC* gc)
{
    G::GCState* state = gc->stateTop;
    if (!state)
        ERROR_THROW(ERROR_GRFX_BADSTACK, Source);
    gc->stateTop = state->previous;
    if (state->font) {
        gc_set_font(gc, state->font);
        state->font->release();
    }
    gc->background = state->background;
    gc->foreground = state->foreground;
    gc_set_line_width(gc, state->lineWidth);
    memory_free(state);
}

void gc_line(G::GC* gc, int x1, int y1, int x2, int y2)
{
    usePen(gc);
    XDrawLine(display(), gc->surface, xgc(gc), x1, y1, x2, y2);
}

void gc_vector(G::GC* gc, int x, int y, int dx, int dy)
{
    gc_line(gc, x, y, x + dx, y + dy);
}

void gc_rect(G::GC* gc, int x, int y, int w, int h)
{
    fillRect(gc, x, y, w, h);
    outlineRect(gc, x, y, w, h);
}

void gc_rect_line(G::GC* gc, int x, int y, int w, int h)
{
    outlineRect(gc, x, y, w, h);
}

void gc_rect_fill(G::GC* gc, int x, int y, int w, int h)
{
    fillRect(gc, x, y, w, h);
}

void gc_ellipse(G::GC* gc, int x, int y, int w, int h)
{
    fillArc(gc, x, y, w - 1, h - 1, 0, 360 * 64);
    outlineArc(gc, x, y, w, h, 0, 360 * 64);
}

void gc_ellipse_line(G::GC* gc, int x, int y, int w, int h)
{
    outlineArc(gc, x, y, w, h, 0, 360 * 64);
}

void gc_ellipse_fill(G::GC* gc, int x, int y, int w, int h)
{
    fillArc(gc, x, y, w + 1, h + 1, 0, 360 * 64);
}

void gc_arc(G::GC* gc, int x, int y, int w, int h, int a1, int a2)
{
    int start = 0;
    int extent = 0;
    arcAngles(w, h, a1, a2, start, extent);
    XSetArcMode(display(), xgc(gc), ArcPieSlice);
    fillArc(gc, x, y, w - 1, h - 1, start, extent);
    outlineArc(gc, x, y, w, h, start, extent);
    if (extent < 360 * 64 && w > 0 && h > 0) {
        XPoint centre = {static_cast<short>(x + (w - 1) / 2), static_cast<short>(y + (h - 1) / 2)};
        XPoint spokes[3] = {arcEnd(x, y, w - 1, h - 1, a1), centre, arcEnd(x, y, w - 1, h - 1, a2)};
        XDrawLines(display(), gc->surface, xgc(gc), spokes, 3, CoordModeOrigin);
    }
}

void gc_arc_line(G::GC* gc, int x, int y, int w, int h, int a1, int a2)
{
    int start = 0;
    int extent = 0;
    arcAngles(w, h, a1, a2, start, extent);
    outlineArc(gc, x, y, w, h, start, extent);
}

void gc_arc_fill(G::GC* gc, int x, int y, int w, int h, int a1, int a2)
{
    int start = 0;
    int extent = 0;
    arcAngles(w, h, a1, a2, start, extent);
    XSetArcMode(display(), xgc(gc), ArcPieSlice);
    fillArc(gc, x, y, w + 1, h + 1, start, extent);
}

void gc_polygon(G::GC* gc, G::Point const* points, int n)
{
    gc_polygon_fill(gc, points, n);
    gc_polygon_line(gc, points, n);
}

void gc_polygon_line(G::GC* gc, G::Point const* points, int n)
{
    checkPoints(n);
    std::vector<XPoint> outline = toXPoints(points, n, true);
    usePen(gc);
    XDrawLines(display(), gc->surface, xgc(gc), outline.data(), static_cast<int>(outline.size()), CoordModeOrigin);
}

void gc_polygon_fill(G::GC* gc, G::Point const* points, int n)
{
    checkPoints(n);
    std::vector<XPoint> area = toXPoints(points, n, false);
    FillScope fill(gc);
    XFillPolygon(display(), gc->surface, xgc(gc), area.data(), n, Complex, CoordModeOrigin);
}

void gc_invert_line(G::GC* gc, int x1, int y1, int x2, int y2, int width)
{
    XSetFunction(display(), xgc(gc), GXinvert);
    XSetLineAttributes(display(), xgc(gc), static_cast<unsigned>(width <= 1 ? 0 : width), LineSolid, CapButt,
        JoinMiter);
    XDrawLine(display(), gc->surface, xgc(gc), x1, y1, x2, y2);
    applyLineWidth(gc);
    XSetFunction(display(), xgc(gc), GXcopy);
}

void gc_invert_rect(G::GC* gc, int x, int y, int w, int h)
{
    if (w < 1 || h < 1)
        return;
    XSetFunction(display(), xgc(gc), GXinvert);
    XFillRectangle(display(), gc->surface, xgc(gc), x, y, static_cast<unsigned>(w), static_cast<unsigned>(h));
    XSetFunction(display(), xgc(gc), GXcopy);
}

void gc_copy_rect(G::GC* gc, int x, int y, G::GC* source, int sx, int sy, int w, int h)
{
    if (w < 1 || h < 1)
        return;
    XCopyArea(display(), source->surface, gc->surface, xgc(gc), sx, sy, static_cast<unsigned>(w),
        static_cast<unsigned>(h), x, y);
}

// Scaled copies go through the Render extension: the source picture's
// transform maps each target pixel back to its nearest source pixel.
void gc_stretch_rect(G::GC* gc, G::Rect const* target, G::GC* source, G::Rect const* sourceRect)
{
    if (target->width < 1 || target->height < 1 || sourceRect->width < 1 || sourceRect->height < 1)
        return;
    if (target->width == sourceRect->width && target->height == sourceRect->height) {
        gc_copy_rect(gc, target->x, target->y, source, sourceRect->x, sourceRect->y, target->width, target->height);
        return;
    }
    Picture from = XRenderCreatePicture(display(), source->surface,
        XRenderFindVisualFormat(display(), source->platform->visual), 0, nullptr);
    Picture to = XRenderCreatePicture(display(), gc->surface, XRenderFindVisualFormat(display(), gc->platform->visual),
        0, nullptr);
    if (gc->platform->clipped)
        XRenderSetPictureClipRectangles(display(), to, 0, 0, &gc->platform->clip, 1);
    XTransform transform = {{
        {XDoubleToFixed(static_cast<double>(sourceRect->width) / target->width), 0, XDoubleToFixed(sourceRect->x)},
        {0, XDoubleToFixed(static_cast<double>(sourceRect->height) / target->height), XDoubleToFixed(sourceRect->y)},
        {0, 0, XDoubleToFixed(1)},
    }};
    XRenderSetPictureTransform(display(), from, &transform);
    XRenderComposite(display(), PictOpSrc, from, None, to, 0, 0, 0, 0, target->x, target->y,
        static_cast<unsigned>(target->width), static_cast<unsigned>(target->height));
    XRenderFreePicture(display(), from);
    XRenderFreePicture(display(), to);
}
