// An off-screen X pixmap of the screen's depth with its own drawing context.
#include "nycore/graphics/offscreen_pixmap.h"

#include "nycore/system/error.h"
#include "nycore/system/x_connection.h"

namespace NyCore::Graphics {

OffscreenPixmap::OffscreenPixmap(int width, int height) : width(width), height(height)
{
    if (width < 1 || height < 1)
        ERROR_THROW(ERROR_BADPARA, "graphics/offscreen_pixmap");
    drawable = XCreatePixmap(System::XConnection::get$display(), System::XConnection::get$root(),
        static_cast<unsigned>(width), static_cast<unsigned>(height),
        static_cast<unsigned>(System::XConnection::get$depth()));
    gc_construct(&gc, drawable);
}

OffscreenPixmap::~OffscreenPixmap()
{
    gc_destroy(&gc);
    XFreePixmap(System::XConnection::get$display(), drawable);
}

}
