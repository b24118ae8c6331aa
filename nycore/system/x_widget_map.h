// The X side of widgets, for platform code only: the map from window ids to
// widgets, the atoms widgets use, and the translation of X events into widget
// notifications (widget_input.cpp).
#pragma once

#include <X11/Xlib.h>

#include "nycore/system/widget.h"

namespace NyCore::System {

class WidgetNative {
public:
    static Widget* find(::Window window);
    static void add(::Window window, Widget* widget);
    static void remove(::Window window);
    static bool hasWindows();

    // Hands one X event to the widget of its window; events of windows without
    // a widget are dropped.
    static void dispatch(XEvent* event);
    // The window is gone: the widget and its descendants are deleted.
    static void windowDestroyed(Widget* widget);
    static void paint(Widget* widget);

    // The widget that asked for the focus before its window was on screen
    // (null forgets it); it gets the focus once a map makes it viewable.
    static void focusWhenMapped(Widget* widget);

    static Atom get$deleteWindowAtom();
    // _NET_WM_PING, which top-level windows answer.
    static Atom get$pingAtom();
    static Cursor cursorFor(int shape);
    // Called from Widget::shutdown: frees cursors and forgets per-display state.
    static void release();
};

}
