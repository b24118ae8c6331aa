// Creating screen pixmaps and filling them from decoded pictures: each pixel
// is converted once, through the visual's channel masks.
#include "nycore/graphics/x_surface.h"

#include <cstdlib>

#include "nycore/graphics/x_gc.h"
#include "nycore/system/x_connection.h"

using NyCore::System::XConnection;

namespace NyCore::Graphics {

namespace {

::GC scratchContext(::Pixmap surface)
{
    XGCValues values {};
    values.graphics_exposures = False;
    return XCreateGC(XConnection::get$display(), surface, GCGraphicsExposures, &values);
}

}

::Pixmap x_surface_create(int width, int height)
{
    return XCreatePixmap(XConnection::get$display(), XConnection::get$root(), static_cast<unsigned>(width),
        static_cast<unsigned>(height), static_cast<unsigned>(XConnection::get$depth()));
}

::Pixmap x_surface_from_image(BitmapImage const* image)
{
    Display* display = XConnection::get$display();
    Visual* visual = XConnection::get$visual();
    ::Pixmap surface = x_surface_create(image->width, image->height);
    // XDestroyImage frees the data with free().
    auto* data = static_cast<char*>(std::calloc(static_cast<std::size_t>(image->width) * image->height, 4));
    XImage* picture = XCreateImage(display, visual, static_cast<unsigned>(XConnection::get$depth()), ZPixmap, 0, data,
        static_cast<unsigned>(image->width), static_cast<unsigned>(image->height), 32, 0);
    if (!picture) {
        std::free(data);
        return surface;
    }
    for (int y = 0; y < image->height; y++)
        for (int x = 0; x < image->width; x++)
            XPutPixel(picture, x, y, x_pixel_of(visual, image->pixels[static_cast<std::size_t>(y) * image->width + x]));
    ::GC context = scratchContext(surface);
    XPutImage(display, surface, context, picture, 0, 0, 0, 0, static_cast<unsigned>(image->width),
        static_cast<unsigned>(image->height));
    XFreeGC(display, context);
    XDestroyImage(picture);
    return surface;
}

void x_surface_fill(::Pixmap surface, int x, int y, int width, int height, std::uint32_t color)
{
    Display* display = XConnection::get$display();
    ::GC context = scratchContext(surface);
    XSetForeground(display, context, x_pixel_of(XConnection::get$visual(), color));
    XFillRectangle(display, surface, context, x, y, static_cast<unsigned>(width), static_cast<unsigned>(height));
    XFreeGC(display, context);
}

}
