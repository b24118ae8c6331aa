// The process's connection to the X server. It is opened on first use, so
// that programs that never show a window (the terminal calculator, batch
// runs) need no display. Only platform code in nycore/system and
// nycore/graphics includes this header.
#pragma once

#include <X11/Xlib.h>

namespace NyCore::System {

class XConnection {
public:
    // Opens the display named by DISPLAY if it is not open yet; false when
    // there is none to be had.
    static bool tryOpen();
    // The open display; no display at all is a fatal report.
    static Display* get$display();
    static int get$screen();
    static ::Window get$root();
    static Visual* get$visual();
    static Colormap get$colormap();
    static int get$depth();
    static bool get$isOpen();
    // Closes the connection (at the runtime's shut-down), after running the close hooks.
    static void close();
    // A function run just before the connection closes, once per close; adding it again changes nothing.
    static void addCloseHook(void (*hook)());
};

}
