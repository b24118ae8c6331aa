// Opening and closing the X connection.
#include "nycore/system/x_connection.h"

#include "nycore/system/exceptions.h"

namespace NyCore::System {

namespace {

Display* display = nullptr;

}

bool XConnection::tryOpen()
{
    if (!display)
        display = XOpenDisplay(nullptr);
    return display != nullptr;
}

Display* XConnection::get$display()
{
    if (!tryOpen())
        NY_THROW(Exception(u"Cannot open the X display: no X server, or DISPLAY is not set."_str));
    return display;
}

int XConnection::get$screen()
{
    return DefaultScreen(get$display());
}

::Window XConnection::get$root()
{
    return RootWindow(get$display(), get$screen());
}

Visual* XConnection::get$visual()
{
    return DefaultVisual(get$display(), get$screen());
}

Colormap XConnection::get$colormap()
{
    return DefaultColormap(get$display(), get$screen());
}

int XConnection::get$depth()
{
    return DefaultDepth(get$display(), get$screen());
}

bool XConnection::get$isOpen()
{
    return display != nullptr;
}

void XConnection::close()
{
    if (display) {
        XCloseDisplay(display);
        display = nullptr;
    }
}

}
