// Icon strips on X pixmaps, and drawing their icons with the three bitwise
// transfers (XOR, AND through the mask, XOR) that leave the target untouched
// where the mask is white.
#include "nycore/graphics/icon_strip.h"

#include <cstdlib>

#include "nycore/graphics/x_gc.h"
#include "nycore/graphics/x_surface.h"
#include "nycore/system/console.h"
#include "nycore/system/error.h"
#include "nycore/system/x_connection.h"

namespace G = NyCore::Graphics;
using NyCore::System::XConnection;

namespace {

constexpr char const* SourceName = "graphics/icon_strip.cpp";
constexpr unsigned long TouchedValues = GCFunction | GCForeground | GCFillStyle;

[[noreturn]] void reportFile(NyCore::String const* path, ErrorCode code, int line)
{
    print(u"name = %s\n", path ? path->units() : u"");
    error_throw_dbg(code, SourceName, line);
}

// The grey pattern of an opacity: black for 999, white for 0.
std::uint32_t shadeOf(int opacity)
{
    unsigned clamped = opacity < 0 ? 0u : opacity > G::IconOpaque ? static_cast<unsigned>(G::IconOpaque) : static_cast<unsigned>(opacity);
    unsigned s = ((999u - clamped) * 256u) / 1000u;
    return (s << 16) | (s << 8) | s;
}

::GC scratchContext(Drawable surface)
{
    XGCValues values {};
    values.graphics_exposures = False;
    return XCreateGC(XConnection::get$display(), surface, GCGraphicsExposures, &values);
}

// A w × h copy of a cell, scaled to the nearest pixel.
::Pixmap scaledCell(Drawable source, int sx, int sy, int sw, int sh, int w, int h)
{
    Display* display = XConnection::get$display();
    ::Pixmap cell = G::x_surface_create(w, h);
    XImage* from = XGetImage(display, source, sx, sy, static_cast<unsigned>(sw), static_cast<unsigned>(sh), AllPlanes, ZPixmap);
    if (!from)
        return cell;
    auto* data = static_cast<char*>(std::calloc(static_cast<std::size_t>(w) * h, 4));
    XImage* to = XCreateImage(display, XConnection::get$visual(), static_cast<unsigned>(XConnection::get$depth()),
        ZPixmap, 0, data, static_cast<unsigned>(w), static_cast<unsigned>(h), 32, 0);
    if (!to) {
        std::free(data);
        XDestroyImage(from);
        return cell;
    }
    for (int y = 0; y < h; y++) {
        int fromY = static_cast<int>(static_cast<long long>(y) * sh / h);
        for (int x = 0; x < w; x++)
            XPutPixel(to, x, y, XGetPixel(from, static_cast<int>(static_cast<long long>(x) * sw / w), fromY));
    }
    ::GC context = scratchContext(cell);
    XPutImage(display, cell, context, to, 0, 0, 0, 0, static_cast<unsigned>(w), static_cast<unsigned>(h));
    XFreeGC(display, context);
    XDestroyImage(to);
    XDestroyImage(from);
    return cell;
}

struct Cells {
    Drawable icon;
    int iconX;
    int iconY;
    // None for a strip without masks.
    Drawable mask;
    int maskX;
    int maskY;
};

// The transfers onto the w × h area at (x, y) of the target, through the
// target context's own clip. P is the opacity's grey pattern.
void blend(G::GC* gc, int x, int y, int w, int h, Cells const& cells, std::uint32_t pattern)
{
    Display* display = XConnection::get$display();
    ::GC target = gc->platform->xgc;
    Drawable surface = gc->surface;
    unsigned width = static_cast<unsigned>(w);
    unsigned height = static_cast<unsigned>(h);
    unsigned long patternPixel = G::x_pixel_of(gc->platform->visual, pattern);
    XGCValues saved {};
    XGetGCValues(display, target, TouchedValues, &saved);
    XSetFillStyle(display, target, FillSolid);

    XSetFunction(display, target, GXxor);
    XCopyArea(display, cells.icon, surface, target, cells.iconX, cells.iconY, width, height, x, y);
    if (cells.mask != None && pattern == 0) {
        XSetFunction(display, target, GXand);
        XCopyArea(display, cells.mask, surface, target, cells.maskX, cells.maskY, width, height, x, y);
    } else if (cells.mask != None) {
        // D AND (P OR S): the mask is ORed with the pattern in a scratch pixmap first.
        ::Pixmap combined = G::x_surface_create(w, h);
        ::GC scratch = scratchContext(combined);
        XCopyArea(display, cells.mask, combined, scratch, cells.maskX, cells.maskY, width, height, 0, 0);
        XSetFunction(display, scratch, GXor);
        XSetForeground(display, scratch, patternPixel);
        XFillRectangle(display, combined, scratch, 0, 0, width, height);
        XSetFunction(display, target, GXand);
        XCopyArea(display, combined, surface, target, 0, 0, width, height, x, y);
        XFreeGC(display, scratch);
        XFreePixmap(display, combined);
    } else {
        // Without a mask: S XOR (P AND (D XOR S)).
        XSetFunction(display, target, GXand);
        XSetForeground(display, target, patternPixel);
        XFillRectangle(display, surface, target, x, y, width, height);
    }
    XSetFunction(display, target, GXxor);
    XCopyArea(display, cells.icon, surface, target, cells.iconX, cells.iconY, width, height, x, y);
    XChangeGC(display, target, TouchedValues, &saved);
}

void checkIndex(G::IconStrip const* strip, int index, int line)
{
    if (index < 0 || index >= strip->count)
        error_throw_dbg(ERROR_BADINDEX, SourceName, line);
}

bool hasMask(G::IconStrip const* strip)
{
    return (strip->flags & G::IconsNoMask) == 0;
}

}

void icons_load(G::IconStrip* strip, NyCore::String const* path)
{
    G::IconFile file;
    G::IconFileStatus status = icon_file_read(path, &file);
    if (status == G::IconFileStatus::CannotOpen)
        reportFile(path, ERROR_IO_BADNAME, __LINE__);
    if (status != G::IconFileStatus::Ok)
        reportFile(path, ERROR_GRFX_BADFILE, __LINE__);
    *strip = G::IconStrip{};
    strip->width = file.info.width;
    strip->height = file.info.height;
    strip->count = file.info.count;
    strip->flags = file.info.flags;
    ::Pixmap surface = G::x_surface_from_image(&file.image);
    icon_file_destroy(&file);
    gc_construct(&strip->gc, surface);
}

void icons_construct(G::IconStrip* strip, int width, int height, int count, std::uint32_t flags)
{
    if (width < 1 || height < 1 || count < 1)
        ERROR_THROW(ERROR_BADPARA, SourceName);
    G::IconInfo info{width, height, count, flags};
    std::int64_t stripWidth = static_cast<std::int64_t>(width) * count;
    std::int64_t stripHeight = icon_strip_bitmap_height(&info);
    if (stripWidth > 32767 || stripHeight > 32767)
        ERROR_THROW(ERROR_BADPARA, SourceName);
    *strip = G::IconStrip{};
    strip->width = width;
    strip->height = height;
    strip->count = count;
    strip->flags = flags;
    ::Pixmap surface = G::x_surface_create(static_cast<int>(stripWidth), static_cast<int>(stripHeight));
    G::x_surface_fill(surface, 0, 0, static_cast<int>(stripWidth), height, 0x000000);
    if (stripHeight > height)
        G::x_surface_fill(surface, 0, height, static_cast<int>(stripWidth), height, 0xFFFFFF);
    gc_construct(&strip->gc, surface);
}

void icons_get_info(G::IconStrip const* strip, G::IconInfo* out)
{
    *out = G::IconInfo{strip->width, strip->height, strip->count, strip->flags};
}

void icons_destroy(G::IconStrip* strip)
{
    G::NativeDrawable surface = strip->gc.surface;
    gc_destroy(&strip->gc);
    if (surface && XConnection::get$isOpen())
        XFreePixmap(XConnection::get$display(), static_cast<::Pixmap>(surface));
    *strip = G::IconStrip{};
}

void gc_copy_icon(G::GC* gc, int x, int y, G::IconStrip* strip, int index, int opacity)
{
    checkIndex(strip, index, __LINE__);
    Drawable source = strip->gc.surface;
    int cellX = index * strip->width;
    Cells cells{source, cellX, 0, hasMask(strip) ? source : None, cellX, strip->height};
    blend(gc, x, y, strip->width, strip->height, cells, shadeOf(opacity));
}

void gc_stretch_icon(G::GC* gc, int x, int y, int w, int h, G::IconStrip* strip, int index, int opacity)
{
    checkIndex(strip, index, __LINE__);
    if (w < 1 || h < 1)
        return;
    if (w == strip->width && h == strip->height) {
        gc_copy_icon(gc, x, y, strip, index, opacity);
        return;
    }
    Display* display = XConnection::get$display();
    Drawable source = strip->gc.surface;
    int cellX = index * strip->width;
    ::Pixmap icon = scaledCell(source, cellX, 0, strip->width, strip->height, w, h);
    ::Pixmap mask = hasMask(strip) ? scaledCell(source, cellX, strip->height, strip->width, strip->height, w, h) : None;
    blend(gc, x, y, w, h, Cells{icon, 0, 0, mask, 0, 0}, shadeOf(opacity));
    XFreePixmap(display, icon);
    if (mask != None)
        XFreePixmap(display, mask);
}
