// Translation of X events into widget notifications and named events: keys
// with their modifier bits and system-key codes, buttons, wheel and double
// clicks, pointer enter/leave, focus, resizing, painting, destruction, and the
// selection events the clipboard answers.
#include <X11/XKBlib.h>
#include <X11/Xutil.h>
#include <X11/cursorfont.h>
#include <X11/keysym.h>

#include <algorithm>
#include <array>
#include <cstdlib>
#include <unordered_map>
#include <vector>

#include "nycore/graphics/gc.h"
#include "nycore/system/x_clipboard.h"
#include "nycore/system/x_connection.h"
#include "nycore/system/x_widget_map.h"

namespace NyCore::System {

namespace {

std::unordered_map<::Window, Widget*>& windows()
{
    static std::unordered_map<::Window, Widget*> map;
    return map;
}

Widget* focusedWidget = nullptr;
Widget* focusOnMap = nullptr;
// Keys held down, by key code, to tell a first press from an auto-repeat.
std::array<bool, 256> keysDown = {};
Atom protocolsAtom = None;
Atom deleteWindowAtom = None;
Atom pingAtom = None;
std::array<Cursor, PointerShapes::Count> cursors = {};
bool firstWindowSetUp = false;
XErrorHandler previousErrorHandler = nullptr;

// The previous button press, for double clicks.
struct Click {
    ::Window window;
    unsigned button;
    ::Time time;
    int x;
    int y;
};
Click lastClick = {};

constexpr ::Time DoubleClickTime = 500;
constexpr int DoubleClickDistance = 4;

Display* display()
{
    return XConnection::get$display();
}

// A window can vanish under us (destroyed from outside while its events are
// still queued); requests on it then fail harmlessly. Other errors keep their handling.
int ignoreVanishedWindows(Display* d, XErrorEvent* error)
{
    if (error->error_code == BadWindow || error->error_code == BadDrawable)
        return 0;
    return previousErrorHandler ? previousErrorHandler(d, error) : 0;
}

bool ownsScreenWindow(Widget const* widget)
{
    return !widget->get$parent() || (widget->get$flags() & (WidgetFlags::TopLevel | WidgetFlags::PopUp));
}

Object::CallbackParams params(int count, std::intptr_t a = 0, std::intptr_t b = 0, std::intptr_t c = 0)
{
    return Object::CallbackParams{count, {a, b, c, 0, 0}};
}

int mouseKeys(unsigned state)
{
    int keys = 0;
    if (state & Button1Mask)
        keys |= MouseKeys::Left;
    if (state & Button3Mask)
        keys |= MouseKeys::Right;
    if (state & Button2Mask)
        keys |= MouseKeys::Middle;
    if (state & ShiftMask)
        keys |= MouseKeys::Shift;
    if (state & ControlMask)
        keys |= MouseKeys::Ctrl;
    return keys;
}

int systemKeyCode(KeySym sym)
{
    if (sym >= XK_F1 && sym <= XK_F12)
        return SystemKeys::F1 - static_cast<int>(sym - XK_F1);
    switch (sym) {
    case XK_Prior: case XK_KP_Prior: return SystemKeys::PageUp;
    case XK_Next: case XK_KP_Next: return SystemKeys::PageDown;
    case XK_End: case XK_KP_End: return SystemKeys::End;
    case XK_Home: case XK_KP_Home: return SystemKeys::Home;
    case XK_Left: case XK_KP_Left: return SystemKeys::Left;
    case XK_Up: case XK_KP_Up: return SystemKeys::Up;
    case XK_Right: case XK_KP_Right: return SystemKeys::Right;
    case XK_Down: case XK_KP_Down: return SystemKeys::Down;
    case XK_Insert: case XK_KP_Insert: return SystemKeys::Insert;
    case XK_Delete: case XK_KP_Delete: return SystemKeys::Delete;
    case XK_Help: return SystemKeys::Help;
    case XK_Shift_L: case XK_Shift_R: return SystemKeys::Shift;
    case XK_Control_L: case XK_Control_R: return SystemKeys::Ctrl;
    default: return 0;
    }
}

struct KeyWatcher {
    Widget* watcher;
    Widget::KeyWatch watch;
};
std::vector<KeyWatcher> keyWatchers;

// The window a key belongs to for its watchers: the nearest top-level
// ancestor; pop-ups belong to the window they were opened from.
Widget* keyWindowOf(Widget* widget)
{
    while (widget->get$parent() && !(widget->get$flags() & WidgetFlags::TopLevel))
        widget = widget->get$parent();
    return widget;
}

// The character of a key as the keyboard state gives it, 0 for none.
int characterOf(KeySym sym, char const* text, int count)
{
    if (count == 1)
        return static_cast<unsigned char>(text[0]);
    if (sym >= 0x1000100 && sym <= 0x110FFFF)
        return static_cast<int>(sym - 0x1000000);
    if (sym >= 0x20 && sym <= 0xFF)
        return static_cast<int>(sym);
    return 0;
}

// Gives the key to the watchers of the widget's window; true when one took it.
bool offerToWatchers(Widget* widget, KeySym sym, char const* text, int count, int modifiers)
{
    if (keyWatchers.empty())
        return false;
    int code;
    if (sym == XK_Alt_L || sym == XK_Alt_R || sym == XK_Meta_L || sym == XK_Meta_R) {
        code = SystemKeys::Alt;
    } else if (int systemCode = systemKeyCode(sym)) {
        code = systemCode;
    } else if (sym == XK_Escape) {
        code = 27;
    } else {
        modifiers |= KeyModifiers::Character;
        code = characterOf(sym, text, count);
        if (sym == XK_Tab || sym == XK_ISO_Left_Tab || sym == XK_KP_Tab)
            code = 9;
        if (code == 13)
            code = 10;
        if (code == 0)
            return false;
    }
    Widget* window = keyWindowOf(widget);
    // A watch may add or remove watchers: the list is walked as it stood.
    std::vector<KeyWatcher> const watchers = keyWatchers;
    for (KeyWatcher const& entry : watchers) {
        bool stillWatching = std::any_of(keyWatchers.begin(), keyWatchers.end(),
                                         [&](KeyWatcher const& w) { return w.watcher == entry.watcher; });
        if (stillWatching && keyWindowOf(entry.watcher) == window && entry.watch(entry.watcher, code, modifiers))
            return true;
    }
    return false;
}

void translateKey(Widget* widget, XKeyEvent* key, bool down, bool accepted)
{
    bool firstPress = false;
    if (key->keycode < keysDown.size()) {
        firstPress = down && !keysDown[key->keycode];
        keysDown[key->keycode] = down;
    }
    if (!accepted)
        return;
    char text[8];
    KeySym sym = NoSymbol;
    int count = XLookupString(key, text, sizeof text, &sym, nullptr);
    int modifiers = (down ? KeyModifiers::Down : 0) | (firstPress ? KeyModifiers::FirstPress : 0) |
                    ((key->state & ShiftMask) ? KeyModifiers::Shift : 0) |
                    ((key->state & ControlMask) ? KeyModifiers::Ctrl : 0);
    if (offerToWatchers(widget, sym, text, count, modifiers))
        return;
    if (int code = systemKeyCode(sym)) {
        if (down)
            widget->onSystemKeyDown(code, modifiers);
        else
            widget->onSystemKeyUp(code, modifiers);
        return;
    }
    int character;
    if (sym == XK_Escape) {
        character = 27;
    } else if ((sym == XK_Tab || sym == XK_ISO_Left_Tab || sym == XK_KP_Tab) &&
               !(widget->get$flags() & WidgetFlags::WantTab)) {
        if (down) {
            if (key->state & ShiftMask)
                widget->focusPrev();
            else
                widget->focusNext();
        }
        return;
    } else {
        modifiers |= KeyModifiers::Character;
        character = characterOf(sym, text, count);
        if (sym == XK_Tab || sym == XK_ISO_Left_Tab || sym == XK_KP_Tab)
            character = 9;
        if (character == 0)
            return;
        if (character == 13)
            character = 10;
    }
    if (down)
        widget->onCharKeyDown(character, modifiers);
    else
        widget->onCharKeyUp(character, modifiers);
}

}

Widget* Widget::get$focused()
{
    return focusedWidget;
}

void Widget::watchKeys(Widget* watcher, KeyWatch watch)
{
    unwatchKeys(watcher);
    keyWatchers.push_back({watcher, watch});
}

void Widget::unwatchKeys(Widget* watcher)
{
    std::erase_if(keyWatchers, [watcher](KeyWatcher const& entry) { return entry.watcher == watcher; });
}

Widget* WidgetNative::find(::Window window)
{
    auto found = windows().find(window);
    return found == windows().end() ? nullptr : found->second;
}

void WidgetNative::add(::Window window, Widget* widget)
{
    if (!firstWindowSetUp) {
        firstWindowSetUp = true;
        // Held keys then repeat as presses only, which tells repeats from first presses.
        Bool supported = False;
        XkbSetDetectableAutoRepeat(display(), True, &supported);
        XErrorHandler previous = XSetErrorHandler(&ignoreVanishedWindows);
        if (previous != &ignoreVanishedWindows)
            previousErrorHandler = previous;
    }
    windows()[window] = widget;
}

void WidgetNative::remove(::Window window)
{
    auto found = windows().find(window);
    if (found == windows().end())
        return;
    if (focusedWidget == found->second)
        focusedWidget = nullptr;
    if (focusOnMap == found->second)
        focusOnMap = nullptr;
    windows().erase(found);
}

bool WidgetNative::hasWindows()
{
    return !windows().empty();
}

void WidgetNative::focusWhenMapped(Widget* widget)
{
    focusOnMap = widget;
}

Atom WidgetNative::get$deleteWindowAtom()
{
    if (deleteWindowAtom == None) {
        protocolsAtom = XInternAtom(display(), "WM_PROTOCOLS", False);
        deleteWindowAtom = XInternAtom(display(), "WM_DELETE_WINDOW", False);
        pingAtom = XInternAtom(display(), "_NET_WM_PING", False);
    }
    return deleteWindowAtom;
}

Atom WidgetNative::get$pingAtom()
{
    get$deleteWindowAtom();
    return pingAtom;
}

Cursor WidgetNative::cursorFor(int shape)
{
    static unsigned const fontShapes[PointerShapes::Count] = {
        XC_left_ptr, 0, XC_xterm, XC_watch, XC_sb_v_double_arrow, XC_sb_h_double_arrow,
        XC_bottom_right_corner, XC_bottom_left_corner, XC_fleur};
    Cursor& cursor = cursors[static_cast<std::size_t>(shape)];
    if (cursor)
        return cursor;
    if (shape == PointerShapes::NoPointer) {
        char const bits[1] = {0};
        Pixmap blank = XCreateBitmapFromData(display(), XConnection::get$root(), bits, 1, 1);
        XColor black = {};
        cursor = XCreatePixmapCursor(display(), blank, blank, &black, &black, 0, 0);
        XFreePixmap(display(), blank);
    } else {
        cursor = XCreateFontCursor(display(), fontShapes[shape]);
    }
    return cursor;
}

void WidgetNative::release()
{
    if (XConnection::get$isOpen())
        for (Cursor& cursor : cursors)
            if (cursor)
                XFreeCursor(XConnection::get$display(), cursor);
    cursors = {};
    protocolsAtom = None;
    deleteWindowAtom = None;
    pingAtom = None;
    firstWindowSetUp = false;
}

void WidgetNative::windowDestroyed(Widget* widget)
{
    std::vector<Widget*> children;
    if (Widget* child = widget->firstChild) {
        do {
            children.push_back(child);
            child = child->nextSibling;
        } while (child != widget->firstChild);
    }
    remove(static_cast<::Window>(widget->window));
    widget->window = 0;
    delete widget;
    for (Widget* child : children) {
        if (!child->window)
            continue;
        // Windows on the screen's root are not inside the parent's window, so X leaves them standing.
        if (ownsScreenWindow(child))
            XDestroyWindow(display(), static_cast<::Window>(child->window));
        windowDestroyed(child);
    }
}

void WidgetNative::paint(Widget* widget)
{
    if (!widget->window || widget->width <= 0 || widget->height <= 0)
        return;
    Display* d = display();
    auto native = static_cast<::Window>(widget->window);
    auto w = static_cast<unsigned>(widget->width);
    auto h = static_cast<unsigned>(widget->height);
    XWindowAttributes attributes;
    if (!XGetWindowAttributes(d, native, &attributes))
        return;
    // Painting goes to an off-screen pixmap copied in one go, so nothing flickers.
    Pixmap buffer = XCreatePixmap(d, native, w, h, static_cast<unsigned>(XConnection::get$depth()));
    Graphics::GC gc = {};
    gc_construct(&gc, buffer);
    gc_set_background(&gc, widget->background);
    gc_rect_fill(&gc, 0, 0, widget->width, widget->height);
    if (!(widget->flags & WidgetFlags::DrawingSuppressed))
        widget->onDraw(&gc);
    gc_flush(&gc);
    XCopyArea(d, buffer, native, DefaultGC(d, XConnection::get$screen()), 0, 0, w, h, 0, 0);
    gc_release(&gc);
    XFreePixmap(d, buffer);
}

void WidgetNative::dispatch(XEvent* event)
{
    Widget* widget = find(event->xany.window);
    if (!widget)
        return;
    switch (event->type) {
    case Expose:
        if (event->xexpose.count == 0)
            paint(widget);
        break;
    case ConfigureNotify: {
        XConfigureEvent const& configure = event->xconfigure;
        int newX = configure.x;
        int newY = configure.y;
        if (ownsScreenWindow(widget) && !configure.send_event) {
            ::Window child;
            XTranslateCoordinates(display(), configure.window, XConnection::get$root(), 0, 0, &newX, &newY, &child);
        }
        if ((widget->flags & WidgetFlags::PopUp) && widget->parent && widget->parent->window) {
            ::Window child;
            XTranslateCoordinates(display(), XConnection::get$root(), static_cast<::Window>(widget->parent->window),
                                  newX, newY, &newX, &newY, &child);
        }
        widget->flags &= ~WidgetFlags::GeometryChanging;
        // A program's own change was stored when it was asked for; only differences are news.
        int dw = configure.width - std::max(widget->width, 1);
        int dh = configure.height - std::max(widget->height, 1);
        bool moved = newX != widget->x || newY != widget->y;
        if (!dw && !dh && !moved)
            break;
        widget->x = newX;
        widget->y = newY;
        if (moved) {
            widget->onReposition();
            widget->send(u"move");
        }
        if (dw || dh) {
            widget->width += dw;
            widget->height += dh;
            widget->moveAlignedChildren(dw, dh);
            widget->updateResize(dw, dh);
        }
        break;
    }
    case MapNotify:
        if (focusOnMap && focusOnMap->isViewable()) {
            Widget* waiting = focusOnMap;
            focusOnMap = nullptr;
            XSetInputFocus(display(), static_cast<::Window>(waiting->window), RevertToParent, CurrentTime);
        }
        if (ownsScreenWindow(widget) && (widget->flags & WidgetFlags::Hidden))
            widget->updateShow();
        break;
    case UnmapNotify:
        if (ownsScreenWindow(widget) && !(widget->flags & WidgetFlags::Hidden))
            widget->updateHide();
        break;
    case DestroyNotify:
        if (event->xdestroywindow.window == static_cast<::Window>(widget->window))
            windowDestroyed(widget);
        break;
    case FocusIn:
    case FocusOut: {
        XFocusChangeEvent const& change = event->xfocus;
        if (change.mode == NotifyGrab || change.mode == NotifyUngrab)
            break;
        if (change.detail != NotifyAncestor && change.detail != NotifyInferior && change.detail != NotifyNonlinear)
            break;
        if (event->type == FocusIn) {
            widget->flags |= WidgetFlags::HasFocus;
            focusedWidget = widget;
            widget->onFocusGained();
            widget->send(u"focusGained");
        } else {
            widget->flags &= ~WidgetFlags::HasFocus;
            if (focusedWidget == widget)
                focusedWidget = nullptr;
            widget->onFocusLost();
            widget->send(u"focusLost");
        }
        break;
    }
    case SelectionRequest:
    case SelectionNotify:
    case SelectionClear:
        clipboard_handle_event(event);
        break;
    case ClientMessage:
        if (event->xclient.message_type == protocolsAtom && protocolsAtom != None &&
            static_cast<Atom>(event->xclient.data.l[0]) == deleteWindowAtom && widget->acceptsInput())
            widget->suggestClose();
        // A window manager (or a test) asks whether the program still serves
        // its events: the answer goes back to the root window, after every
        // event that came before the question has been handled.
        if (event->xclient.message_type == protocolsAtom && protocolsAtom != None &&
            static_cast<Atom>(event->xclient.data.l[0]) == pingAtom) {
            XEvent reply = *event;
            reply.xclient.window = XConnection::get$root();
            XSendEvent(display(), XConnection::get$root(), False, SubstructureNotifyMask | SubstructureRedirectMask,
                       &reply);
            XFlush(display());
        }
        break;
    case KeyPress:
    case KeyRelease:
        if (focusedWidget)
            widget = focusedWidget;
        translateKey(widget, &event->xkey, event->type == KeyPress, widget->acceptsInput());
        break;
    case ButtonPress:
    case ButtonRelease: {
        XButtonEvent const& press = event->xbutton;
        if (!widget->acceptsInput())
            break;
        bool down = event->type == ButtonPress;
        if (press.button == Button4 || press.button == Button5) {
            if (!down)
                break;
            int steps = press.button == Button4 ? 1 : -1;
            widget->onScrollWheel(steps);
            auto p = params(1, steps);
            widget->send(u"scrollWheel", &p);
            break;
        }
        int button;
        int buttonKey;
        switch (press.button) {
        case Button1: button = 0; buttonKey = MouseKeys::Left; break;
        case Button3: button = 1; buttonKey = MouseKeys::Right; break;
        case Button2: button = 2; buttonKey = MouseKeys::Middle; break;
        // The side buttons (back and forward) come as 3 and 4; no key bit is held for them.
        case 8: button = 3; buttonKey = 0; break;
        case 9: button = 4; buttonKey = 0; break;
        default: return;
        }
        int keys = mouseKeys(press.state);
        keys = down ? keys | buttonKey : keys & ~buttonKey;
        int px = static_cast<std::int16_t>(press.x);
        int py = static_cast<std::int16_t>(press.y);
        auto p = params(3, px, py, button);
        if (!down) {
            widget->onMouseUp(px, py, button, keys);
            widget->send(u"mouseUp", &p);
            break;
        }
        bool isDouble = lastClick.window == press.window && lastClick.button == press.button &&
                        press.time - lastClick.time <= DoubleClickTime &&
                        std::abs(press.x - lastClick.x) <= DoubleClickDistance &&
                        std::abs(press.y - lastClick.y) <= DoubleClickDistance;
        if (isDouble) {
            lastClick = {};
            widget->onDoubleClick(px, py, button, keys);
            widget->send(u"doubleClick", &p);
        } else {
            lastClick = {press.window, press.button, press.time, press.x, press.y};
            widget->onMouseDown(px, py, button, keys);
            widget->send(u"mouseDown", &p);
        }
        break;
    }
    case EnterNotify:
    case MotionNotify: {
        if (!widget->acceptsInput())
            break;
        int px = event->type == MotionNotify ? event->xmotion.x : event->xcrossing.x;
        int py = event->type == MotionNotify ? event->xmotion.y : event->xcrossing.y;
        unsigned state = event->type == MotionNotify ? event->xmotion.state : event->xcrossing.state;
        bool inside = px >= 0 && px < widget->width && py >= 0 && py < widget->height;
        bool wasInside = widget->flags & WidgetFlags::PointerInside;
        if (inside)
            widget->flags |= WidgetFlags::PointerInside;
        else
            widget->flags &= ~WidgetFlags::PointerInside;
        if (inside && !wasInside) {
            widget->onMouseOver(px, py, 0);
            widget->send(u"mouseIn");
        }
        widget->onMouseMove(px, py, mouseKeys(state));
        auto p = params(2, px, py);
        widget->send(u"mouseMove", &p);
        if (!inside && wasInside) {
            widget->onMouseOut(px, py, 0);
            widget->send(u"mouseOut");
        }
        break;
    }
    case LeaveNotify: {
        if (!(widget->flags & WidgetFlags::PointerInside) || (widget->flags & WidgetFlags::PointerCaptured))
            break;
        if (event->xcrossing.mode == NotifyGrab || event->xcrossing.mode == NotifyUngrab)
            break;
        WidgetPoint point;
        widget->getMousePosition(&point);
        widget->flags &= ~WidgetFlags::PointerInside;
        widget->onMouseMove(point.x, point.y, 0);
        auto p = params(2, point.x, point.y);
        widget->send(u"mouseMove", &p);
        widget->onMouseOut(point.x, point.y, 0);
        widget->send(u"mouseOut");
        break;
    }
    default:
        break;
    }
}

}
