// Documentation pictures taken from the screen (see screenshots.h).
#include "tests/support/screenshots.h"

#include <X11/Xlib.h>

#include <algorithm>
#include <cstdlib>
#include <string>
#include <vector>

#include "nycore/graphics/pixel_io.h"
#include "nycore/system/event_loop.h"
#include "nycore/system/x_connection.h"
#include "tests/support/strings.h"

namespace TestSupport {

namespace {

// The screen's rectangle, clipped to the screen: XGetImage fails on a rectangle that leaves the root window.
bool saveScreenRect(Display* display, char const* folder, char const* name, int x, int y, int w, int h)
{
    int const screenWidth = DisplayWidth(display, DefaultScreen(display));
    int const screenHeight = DisplayHeight(display, DefaultScreen(display));
    w = std::min(w, screenWidth - std::max(0, x));
    h = std::min(h, screenHeight - std::max(0, y));
    x = std::max(0, x);
    y = std::max(0, y);
    if (w <= 0 || h <= 0)
        return false;
    std::vector<std::uint32_t> pixels(static_cast<std::size_t>(w) * static_cast<std::size_t>(h));
    pixels_read(DefaultRootWindow(display), x, y, w, h, pixels.data());
    std::string const path = std::string(folder) + "/" + name + ".png";
    OwnedString file(std::u16string(path.begin(), path.end()));
    return pixels_save_png(pixels.data(), w, h, file);
}

}

bool saveScreenshot(NyCore::System::Widget* widget, char const* name, int extraWidth, int extraHeight)
{
    char const* folder = std::getenv("VEXADROME_SCREENSHOTS");
    if (!folder || !*folder)
        return true;
    Display* display = NyCore::System::XConnection::get$display();
    XSync(display, False);
    NyCore::System::EventLoop::serviceEvents(nullptr);
    XSync(display, False);
    NyCore::System::WidgetRect rect;
    widget->getScreenRect(&rect);
    return saveScreenRect(display, folder, name, rect.x, rect.y, rect.width + extraWidth, rect.height + extraHeight);
}

bool saveScreenshot(unsigned long window, char const* name)
{
    char const* folder = std::getenv("VEXADROME_SCREENSHOTS");
    if (!folder || !*folder)
        return true;
    Display* display = NyCore::System::XConnection::get$display();
    XSync(display, False);
    XWindowAttributes attributes;
    if (!XGetWindowAttributes(display, window, &attributes))
        return false;
    int x = 0, y = 0;
    ::Window child = 0;
    XTranslateCoordinates(display, window, DefaultRootWindow(display), 0, 0, &x, &y, &child);
    return saveScreenRect(display, folder, name, x, y, attributes.width, attributes.height);
}

}
