// Opening and closing the X connection.
#include "nycore/system/x_connection.h"

#include <algorithm>
#include <vector>

#include "nycore/system/exceptions.h"

namespace NyCore::System {

namespace {

Display* display = nullptr;
// What libraries release while the connection still stands (fonts, pixmaps).
std::vector<void (*)()> closeHooks;

}

void XConnection::addCloseHook(void (*hook)())
{
    if (std::find(closeHooks.begin(), closeHooks.end(), hook) == closeHooks.end())
        closeHooks.push_back(hook);
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
        for (auto hook : std::vector<void (*)()>(closeHooks))
            hook();
        XCloseDisplay(display);
        display = nullptr;
    }
}

}
