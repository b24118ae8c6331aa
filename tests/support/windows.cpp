// The windowed helpers over Xlib and XTest, on the core's X connection.
#include "tests/support/windows.h"

#include <X11/XKBlib.h>
#include <X11/keysym.h>

#include <X11/Xutil.h>
#include <X11/extensions/XTest.h>

#include <bit>
#include <set>

#include "nycore/system/x_connection.h"
#include "tests/support/run_until.h"

namespace TestSupport {

using NyCore::System::Widget;
using NyCore::System::XConnection;

Display* display()
{
    return XConnection::get$display();
}

void registerOnce(NyCore::TypeData* record)
{
    static std::set<NyCore::TypeData*> registered;
    if (registered.insert(record).second)
        NyCore::Type::registerType(record);
}

bool mapped(Widget* widget)
{
    XWindowAttributes attributes;
    return XGetWindowAttributes(display(), widget->get$nativeWindow(), &attributes) &&
           attributes.map_state == IsViewable;
}

Widget* topWindow(int w, int h, char16_t const* className, int x, int y)
{
    Widget* top = Widget::create(nullptr, className, NyCore::System::WidgetFlags::TopLevel, x, y, w, h);
    EXPECT_TRUE(runUntil([&] { return mapped(top); })) << "the window was never mapped";
    return top;
}

::Window bareWindow(int w, int h, std::uint32_t background)
{
    ::Window window = XCreateSimpleWindow(display(), XConnection::get$root(), 0, 0, static_cast<unsigned>(w),
                                          static_cast<unsigned>(h), 0, 0, background);
    XSetWindowAttributes attributes {};
    attributes.override_redirect = True;
    XChangeWindowAttributes(display(), window, CWOverrideRedirect, &attributes);
    XSelectInput(display(), window, ExposureMask);
    XMapRaised(display(), window);
    XEvent event;
    XWindowEvent(display(), window, ExposureMask, &event);
    return window;
}

std::string windowProperty(::Window window, char const* name)
{
    Atom type;
    int format = 0;
    unsigned long count = 0, remaining = 0;
    unsigned char* data = nullptr;
    XGetWindowProperty(display(), window, XInternAtom(display(), name, False), 0, 1 << 16, False, AnyPropertyType,
                       &type, &format, &count, &remaining, &data);
    if (!data)
        return "<none>";
    std::string text(reinterpret_cast<char*>(data), format == 8 ? count : 0);
    XFree(data);
    return text;
}

void pointerTo(Widget* widget, int x, int y)
{
    NyCore::System::WidgetPoint point = {x, y};
    widget->toScreen(&point);
    XTestFakeMotionEvent(display(), -1, point.x, point.y, CurrentTime);
}

void key(KeySym sym, bool down)
{
    XTestFakeKeyEvent(display(), XKeysymToKeycode(display(), sym), down, CurrentTime);
}

void tap(KeySym sym)
{
    key(sym, true);
    key(sym, false);
}

void typeKeys(std::string const& text)
{
    for (char c : text) {
        KeySym sym = c == '\n' ? XK_Return : c == '\t' ? XK_Tab : static_cast<KeySym>(static_cast<unsigned char>(c));
        KeyCode code = XKeysymToKeycode(display(), sym);
        bool const shifted =
            XkbKeycodeToKeysym(display(), code, 0, 0) != sym && XkbKeycodeToKeysym(display(), code, 0, 1) == sym;
        if (shifted)
            key(XK_Shift_L, true);
        tap(sym);
        if (shifted)
            key(XK_Shift_L, false);
    }
}

void click(unsigned button)
{
    XTestFakeButtonEvent(display(), button, True, CurrentTime);
    XTestFakeButtonEvent(display(), button, False, CurrentTime);
}

namespace {

// One channel of a pixel scaled to eight bits.
std::uint32_t channel(unsigned long pixel, unsigned long mask)
{
    if (!mask)
        return 0;
    int shift = std::countr_zero(mask);
    int bits = std::popcount(mask);
    unsigned long value = (pixel & mask) >> shift;
    if (bits >= 8)
        return static_cast<std::uint32_t>(value >> (bits - 8));
    unsigned long top = (1ul << bits) - 1;
    return static_cast<std::uint32_t>((value * 255 + top / 2) / top);
}

}

std::vector<std::uint32_t> readPixels(unsigned long drawable, int x, int y, int w, int h)
{
    XSync(display(), False);
    std::vector<std::uint32_t> pixels(static_cast<std::size_t>(w) * static_cast<std::size_t>(h), 0xDEADBEEF);
    XImage* image = XGetImage(display(), drawable, x, y, static_cast<unsigned>(w), static_cast<unsigned>(h),
                              AllPlanes, ZPixmap);
    EXPECT_NE(image, nullptr) << "the rectangle is not inside the drawable";
    if (!image)
        return pixels;
    Visual const* visual = XConnection::get$visual();
    for (int row = 0; row < h; ++row)
        for (int column = 0; column < w; ++column) {
            unsigned long pixel = XGetPixel(image, column, row);
            pixels[static_cast<std::size_t>(row) * w + column] = channel(pixel, visual->red_mask) << 16 |
                                                                  channel(pixel, visual->green_mask) << 8 |
                                                                  channel(pixel, visual->blue_mask);
        }
    XDestroyImage(image);
    return pixels;
}

std::uint32_t pixelAt(unsigned long drawable, int x, int y)
{
    return readPixels(drawable, x, y, 1, 1)[0];
}

void expectPixels(unsigned long drawable, std::vector<PixelCase> const& cases)
{
    for (PixelCase const& c : cases)
        EXPECT_EQ(pixelAt(drawable, c.x, c.y), c.rgb)
            << c.name << " at (" << c.x << ", " << c.y << ")" << std::hex << " expected 0x" << c.rgb;
}

}
