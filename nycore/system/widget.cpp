// The widget tree, creation and destruction of the native windows, geometry
// with anchored children, show/hide/enable/disable, focus traversal and the
// pointer. Event translation lives in widget_input.cpp.
#include "nycore/system/widget.h"

#include <X11/Xatom.h>
#include <X11/Xutil.h>

#include <unistd.h>

#include <algorithm>
#include <cctype>
#include <cerrno>
#include <string>
#include <vector>

#include "nycore/system/event_loop.h"
#include "nycore/system/exceptions.h"
#include "nycore/system/memory.h"
#include "nycore/system/timer.h"
#include "nycore/system/x_connection.h"
#include "nycore/system/x_widget_map.h"
#include "nycore/text/cstring.h"
#include "nycore/text/string_functions.h"

namespace NyCore::System {

namespace {

char16_t const* const WidgetEvents[] = {u"scrollWheel", u"focusGained", u"focusLost", nullptr};

int disableMethod(Object* receiver, std::intptr_t, std::intptr_t, std::intptr_t, std::intptr_t, std::intptr_t)
{
    static_cast<Widget*>(receiver)->disable();
    return 0;
}

int enableMethod(Object* receiver, std::intptr_t, std::intptr_t, std::intptr_t, std::intptr_t, std::intptr_t)
{
    static_cast<Widget*>(receiver)->enable();
    return 0;
}

int focusMethod(Object* receiver, std::intptr_t, std::intptr_t, std::intptr_t, std::intptr_t, std::intptr_t)
{
    return static_cast<Widget*>(receiver)->focus() ? 1 : 0;
}

MethodEntry const WidgetMethods[] = {
    {u"disable", &disableMethod}, {u"enable", &enableMethod}, {u"focus", &focusMethod}, {nullptr, nullptr}};

constexpr long WidgetEventMask = ExposureMask | StructureNotifyMask | FocusChangeMask | KeyPressMask |
                                 KeyReleaseMask | ButtonPressMask | ButtonReleaseMask | PointerMotionMask |
                                 EnterWindowMask | LeaveWindowMask;

Display* display()
{
    return XConnection::get$display();
}

// Windows of top-levels, pop-ups and roots are children of the screen's root window.
bool ownsScreenWindow(std::uint32_t flags, Widget const* parent)
{
    return !parent || (flags & (WidgetFlags::TopLevel | WidgetFlags::PopUp));
}

void setUtf8Property(::Window window, char const* name, char const* text, int length)
{
    Atom property = XInternAtom(display(), name, False);
    Atom utf8 = XInternAtom(display(), "UTF8_STRING", False);
    XChangeProperty(display(), window, property, utf8, 8, PropModeReplace,
                    reinterpret_cast<unsigned char const*>(text), length);
}

}

TypeData Widget::MetaData = {&Extenders::LinkableObject::MetaData, nullptr, u"NyCore.System.Widget"_str,
                             WidgetMethods, WidgetEvents, &Widget::__create, sizeof(Widget), 0, nullptr};

Object* Widget::__create()
{
    return new Widget();
}

Widget::~Widget()
{
    timer_forget_widget(this);
    EventLoop::forgetWidget(this);
    unwatchKeys(this);
    while (firstChild) {
        Widget* child = firstChild;
        child->unlinkFromParent();
    }
    unlinkFromParent();
    if (window) {
        // Deleted from code: the window goes with the object.
        ::Window native = static_cast<::Window>(window);
        WidgetNative::remove(native);
        window = 0;
        XDestroyWindow(display(), native);
    }
}

void Widget::linkAsLastChild(Widget* newParent)
{
    parent = newParent;
    nextSibling = this;
    prevSibling = this;
    if (!newParent)
        return;
    Widget* first = newParent->firstChild;
    if (!first) {
        newParent->firstChild = this;
        return;
    }
    Widget* last = first->prevSibling;
    prevSibling = last;
    nextSibling = first;
    last->nextSibling = this;
    first->prevSibling = this;
}

void Widget::unlinkFromParent()
{
    if (parent) {
        if (parent->firstChild == this)
            parent->firstChild = nextSibling != this ? nextSibling : nullptr;
        prevSibling->nextSibling = nextSibling;
        nextSibling->prevSibling = prevSibling;
    }
    parent = nullptr;
    nextSibling = this;
    prevSibling = this;
}

Widget* Widget::allocate(Widget* parent, char16_t const* className, std::uint32_t flags, int x, int y, int w, int h)
{
    String* name = String::create(className, 0, cstr_len(className));
    Type* type = Type::getType(name);
    if (!type)
        NY_THROW(ClassDoesNotExistException(name));
    string_free(name);
    auto* widget = static_cast<Widget*>(type->createObject());
    widget->flags = flags;
    widget->background = 0xFFFFFF;
    widget->x = x;
    widget->y = y;
    widget->width = w;
    widget->height = h;
    widget->firstChild = nullptr;
    widget->linkAsLastChild(parent);
    return widget;
}

Widget* Widget::create(Widget* parent, char16_t const* className, std::uint32_t flags, int x, int y, int w, int h)
{
    Widget* widget = allocate(parent, className, flags, x, y, w, h);
    widget->createNativeWindow();
    if ((flags & WidgetFlags::Modal) && parent)
        ++parent->modalDisableCount;
    widget->onCreate();
    if (!(flags & WidgetFlags::PopUp))
        XRaiseWindow(display(), static_cast<::Window>(widget->window));
    if (!(widget->flags & WidgetFlags::Hidden))
        XMapWindow(display(), static_cast<::Window>(widget->window));
    return widget;
}

void Widget::createNativeWindow()
{
    Display* d = display();
    ::Window root = XConnection::get$root();
    bool onScreen = ownsScreenWindow(flags, parent);
    int screenX = x;
    int screenY = y;
    if ((flags & WidgetFlags::PopUp) && parent && parent->window) {
        ::Window child;
        XTranslateCoordinates(d, static_cast<::Window>(parent->window), root, x, y, &screenX, &screenY, &child);
    }
    XSetWindowAttributes attributes = {};
    attributes.background_pixmap = None;
    attributes.event_mask = WidgetEventMask;
    attributes.override_redirect = (flags & WidgetFlags::PopUp) ? True : False;
    attributes.bit_gravity = NorthWestGravity;
    ::Window native = XCreateWindow(d, onScreen ? root : static_cast<::Window>(parent->window), screenX, screenY,
                                    static_cast<unsigned>(std::max(width, 1)), static_cast<unsigned>(std::max(height, 1)),
                                    0, CopyFromParent, InputOutput, CopyFromParent,
                                    CWBackPixmap | CWEventMask | CWOverrideRedirect | CWBitGravity, &attributes);
    window = native;
    WidgetNative::add(native, this);
    if (!onScreen || (flags & WidgetFlags::PopUp)) {
        if (flags & WidgetFlags::PopUp) {
            XWMHints hints = {};
            hints.flags = InputHint;
            hints.input = False;
            XSetWMHints(d, native, &hints);
        }
        return;
    }
    Atom protocols[] = {WidgetNative::get$deleteWindowAtom(), WidgetNative::get$pingAtom()};
    XSetWMProtocols(d, native, protocols, 2);
    XWMHints hints = {};
    hints.flags = InputHint;
    hints.input = True;
    XSetWMHints(d, native, &hints);
    XSizeHints size = {};
    size.flags = USPosition | USSize;
    size.x = x;
    size.y = y;
    size.width = width;
    size.height = height;
    if ((flags & WidgetFlags::TopLevel) && !(flags & WidgetFlags::Resizeable)) {
        size.flags |= PMinSize | PMaxSize;
        size.min_width = size.max_width = width;
        size.min_height = size.max_height = height;
    }
    XSetWMNormalHints(d, native, &size);
    // The process and the program's name, so that window managers (and
    // scripts driving the program) can tell whose window this is.
    long pid = static_cast<long>(::getpid());
    XChangeProperty(d, native, XInternAtom(d, "_NET_WM_PID", False), XA_CARDINAL, 32, PropModeReplace,
                    reinterpret_cast<unsigned char*>(&pid), 1);
    std::string instance = program_invocation_short_name;
    std::string className = instance;
    if (!className.empty())
        className[0] = static_cast<char>(std::toupper(static_cast<unsigned char>(className[0])));
    XClassHint classHint = {instance.data(), className.data()};
    XSetClassHint(d, native, &classHint);
    if (parent && parent->window)
        XSetTransientForHint(d, native, static_cast<::Window>(parent->window));
}

void Widget::close()
{
    if ((flags & WidgetFlags::Modal) && parent && parent->modalDisableCount > 0)
        --parent->modalDisableCount;
    if (EventLoop::isInLoop(this))
        EventLoop::exitOnClose(this);
    if (!window)
        return;
    if (EventLoop::get$depth() > 0)
        EventLoop::postDestroy(this);
    else
        destroyNativeWindow();
}

void Widget::destroyNativeWindow()
{
    if (!window)
        return;
    ::Window native = static_cast<::Window>(window);
    XDestroyWindow(display(), native);
    WidgetNative::windowDestroyed(this);
}

void Widget::setSize(int w, int h)
{
    setRect(x, y, w, h);
}

void Widget::setPosition(int newX, int newY)
{
    setRect(newX, newY, width, height);
}

void Widget::setRect(int newX, int newY, int w, int h)
{
    int dw = w - width;
    int dh = h - height;
    bool moved = newX != x || newY != y;
    x = newX;
    y = newY;
    width = w;
    height = h;
    flags |= WidgetFlags::GeometryChanging;
    if (window) {
        int nativeX = x;
        int nativeY = y;
        if ((flags & WidgetFlags::PopUp) && parent && parent->window) {
            ::Window child;
            XTranslateCoordinates(display(), static_cast<::Window>(parent->window), XConnection::get$root(), x, y,
                                  &nativeX, &nativeY, &child);
        }
        XMoveResizeWindow(display(), static_cast<::Window>(window), nativeX, nativeY,
                          static_cast<unsigned>(std::max(w, 1)), static_cast<unsigned>(std::max(h, 1)));
    }
    if (moved) {
        onReposition();
        send(u"move");
    }
    if (dw || dh) {
        moveAlignedChildren(dw, dh);
        updateResize(dw, dh);
    }
}

void Widget::align(std::uint32_t bits)
{
    flags |= bits & WidgetFlags::AnchorMask;
}

void Widget::moveAlignedChildren(int dw, int dh)
{
    if (!dw && !dh)
        return;
    // setRect may not change the ring, but collect first so a handler that does cannot derail the walk.
    std::vector<Widget*> anchored;
    if (Widget* child = firstChild) {
        do {
            if (child->flags & WidgetFlags::AnchorMask)
                anchored.push_back(child);
            child = child->nextSibling;
        } while (child != firstChild);
    }
    for (Widget* child : anchored) {
        int cx = child->x;
        int cy = child->y;
        int cw = child->width;
        int ch = child->height;
        if (child->flags & WidgetFlags::AnchorRight)
            cx += dw;
        if (child->flags & WidgetFlags::AnchorBottom)
            cy += dh;
        if (child->flags & WidgetFlags::AnchorWidth)
            cw += dw;
        if (child->flags & WidgetFlags::AnchorHeight)
            ch += dh;
        child->setRect(cx, cy, cw, ch);
    }
}

void Widget::updateResize(int dw, int dh)
{
    if (onResize(dw, dh))
        redraw();
    send(u"resize");
}

void Widget::updateHide()
{
    flags |= WidgetFlags::Hidden;
    onHide();
    send(u"hide");
}

void Widget::updateShow()
{
    flags &= ~WidgetFlags::Hidden;
    onShow();
    send(u"show");
}

void Widget::show()
{
    if (window)
        XMapWindow(display(), static_cast<::Window>(window));
    updateShow();
    redraw();
}

void Widget::hide()
{
    if (window)
        XUnmapWindow(display(), static_cast<::Window>(window));
    updateHide();
}

void Widget::enable()
{
    flags &= ~WidgetFlags::Disabled;
    redraw();
    onEnable();
    send(u"enable");
}

void Widget::disable()
{
    flags |= WidgetFlags::Disabled;
    redraw();
    onDisable();
    send(u"disable");
}

void Widget::redraw()
{
    flags &= ~WidgetFlags::DrawingSuppressed;
    if (window)
        XClearArea(display(), static_cast<::Window>(window), 0, 0, 0, 0, True);
}

bool Widget::acceptsInput() const
{
    for (Widget const* widget = this; widget; widget = widget->parent) {
        if ((widget->flags & WidgetFlags::Disabled) || widget->modalDisableCount > 0)
            return false;
        if (widget->flags & (WidgetFlags::TopLevel | WidgetFlags::PopUp))
            break;
    }
    return true;
}

bool Widget::isViewable() const
{
    if (!window)
        return false;
    XWindowAttributes attributes;
    return XGetWindowAttributes(display(), static_cast<::Window>(window), &attributes) &&
           attributes.map_state == IsViewable;
}

bool Widget::holdsServerFocus() const
{
    if (!window)
        return false;
    ::Window focused = None;
    int revert = 0;
    XGetInputFocus(display(), &focused, &revert);
    return focused == static_cast<::Window>(window);
}

bool Widget::focus()
{
    if (Widget* target = focusTarget(); target && target != this)
        return target->focus();
    if (flags & WidgetFlags::Disabled)
        return false;
    // Focusing a window that is not on screen is an X error; it gets the focus
    // when its window is mapped instead (a window manager maps new top-level
    // windows some time after the program asked).
    if (isViewable()) {
        WidgetNative::focusWhenMapped(nullptr);
        XSetInputFocus(display(), static_cast<::Window>(window), RevertToParent, CurrentTime);
    } else if (window) {
        WidgetNative::focusWhenMapped(this);
    }
    return true;
}

bool Widget::focusAdvance(Widget* start, bool forward)
{
    if (!start)
        return false;
    // Disabled or hidden widgets and their children are passed over, and so
    // are other windows (dialogs, pop-ups) that hang in the ring.
    std::uint32_t const passedOver =
        WidgetFlags::Disabled | WidgetFlags::Hidden | WidgetFlags::TopLevel | WidgetFlags::PopUp;
    Widget* widget = start;
    do {
        std::uint32_t state = widget->flags;
        if ((state & WidgetFlags::TabStop) && !(state & passedOver)) {
            widget->focus();
            return true;
        }
        if (widget->firstChild && !(state & passedOver) &&
            focusAdvance(forward ? widget->firstChild : widget->firstChild->prevSibling, forward))
            return true;
        widget = forward ? widget->nextSibling : widget->prevSibling;
    } while (widget != start);
    return false;
}

namespace {

// The widgets that Tab walks for `from`, in the order Tab visits them: the
// window that holds it (the nearest top-level or pop-up ancestor) and its
// descendants depth first, leaving out the subtrees of disabled and hidden
// widgets and of other windows that hang in the tree. `from` itself is always
// listed, so that the walk knows where it starts.
void collectTabRing(Widget* widget, Widget* from, std::vector<Widget*>& ring, bool isRoot)
{
    std::uint32_t const passedOver =
        WidgetFlags::Disabled | WidgetFlags::Hidden | WidgetFlags::TopLevel | WidgetFlags::PopUp;
    std::uint32_t const state = widget->get$flags();
    bool const skipped = !isRoot && (state & passedOver);
    if (widget == from || !skipped)
        ring.push_back(widget);
    if (skipped)
        return;
    if (Widget* first = widget->get$firstChild()) {
        Widget* child = first;
        do {
            collectTabRing(child, from, ring, false);
            child = child->get$nextSibling();
        } while (child != first);
    }
}

}

// Tab moves to the next tab stop of the whole window and wraps around at its
// end, so that the focus leaves a group after the group's last stop even when
// widgets that take no focus follow it there.
bool Widget::focusMove(bool forward)
{
    Widget* root = this;
    while (root->parent && !(root->flags & (WidgetFlags::TopLevel | WidgetFlags::PopUp)))
        root = root->parent;
    std::vector<Widget*> ring;
    collectTabRing(root, this, ring, true);
    std::size_t const count = ring.size();
    std::size_t const at = static_cast<std::size_t>(std::find(ring.begin(), ring.end(), this) - ring.begin());
    for (std::size_t step = 1; step < count; ++step) {
        Widget* widget = ring[forward ? (at + step) % count : (at + count - step) % count];
        if ((widget->flags & WidgetFlags::TabStop) && widget != root && !(widget->flags & WidgetFlags::Disabled) &&
            !(widget->flags & WidgetFlags::Hidden))
            return widget->focus();
    }
    return false;
}

bool Widget::focusNext()
{
    return focusMove(true);
}

bool Widget::focusPrev()
{
    return focusMove(false);
}

void Widget::setCaption(String const* caption)
{
    if (!window)
        return;
    int length = 0;
    char* text = string_to_utf8(caption, &length);
    setUtf8Property(static_cast<::Window>(window), "_NET_WM_NAME", text, length);
    XStoreName(display(), static_cast<::Window>(window), text);
    memory_free(text);
}

void Widget::setPointerIcon(int shape)
{
    if (shape < 0 || shape >= PointerShapes::Count)
        NY_THROW(InvalidParameterException());
    flags = (flags & ((1u << WidgetFlags::PointerShapeShift) - 1)) |
            (static_cast<std::uint32_t>(shape) << WidgetFlags::PointerShapeShift);
    if (window)
        XDefineCursor(display(), static_cast<::Window>(window), WidgetNative::cursorFor(shape));
}

void Widget::pointerCapture()
{
    flags |= WidgetFlags::PointerCaptured;
    if (window)
        XGrabPointer(display(), static_cast<::Window>(window), False,
                     ButtonPressMask | ButtonReleaseMask | PointerMotionMask | EnterWindowMask | LeaveWindowMask,
                     GrabModeAsync, GrabModeAsync, None, None, CurrentTime);
}

void Widget::pointerRelease()
{
    flags &= ~WidgetFlags::PointerCaptured;
    if (window)
        XUngrabPointer(display(), CurrentTime);
}

void Widget::moveToForeground()
{
    Widget* top = this;
    while (top->parent && !ownsScreenWindow(top->flags, top->parent))
        top = top->parent;
    if (!top->window)
        return;
    XRaiseWindow(display(), static_cast<::Window>(top->window));
    if (top->isViewable() && !(top->flags & WidgetFlags::PopUp))
        XSetInputFocus(display(), static_cast<::Window>(top->window), RevertToParent, CurrentTime);
}

void Widget::getMousePosition(WidgetPoint* point)
{
    ::Window rootReturn, child;
    int rootX, rootY, winX = 0, winY = 0;
    unsigned mask;
    if (window)
        XQueryPointer(display(), static_cast<::Window>(window), &rootReturn, &child, &rootX, &rootY, &winX, &winY,
                      &mask);
    point->x = winX;
    point->y = winY;
}

void Widget::toClient(WidgetPoint* point)
{
    ::Window child;
    int cx = point->x, cy = point->y;
    if (window)
        XTranslateCoordinates(display(), XConnection::get$root(), static_cast<::Window>(window), point->x, point->y,
                              &cx, &cy, &child);
    point->x = cx;
    point->y = cy;
}

void Widget::toScreen(WidgetPoint* point)
{
    ::Window child;
    int sx = point->x, sy = point->y;
    if (window)
        XTranslateCoordinates(display(), static_cast<::Window>(window), XConnection::get$root(), point->x, point->y,
                              &sx, &sy, &child);
    point->x = sx;
    point->y = sy;
}

void Widget::getClientRect(WidgetRect* rect)
{
    *rect = {0, 0, width, height};
}

void Widget::getScreenRect(WidgetRect* rect)
{
    WidgetPoint origin = {0, 0};
    toScreen(&origin);
    *rect = {origin.x, origin.y, width, height};
}

void Widget::screenSize(WidgetPoint* size)
{
    size->x = DisplayWidth(display(), XConnection::get$screen());
    size->y = DisplayHeight(display(), XConnection::get$screen());
}

void Widget::screenUsable(WidgetRect* rect)
{
    WidgetPoint size;
    screenSize(&size);
    *rect = {0, 0, size.x, size.y};
    Atom workArea = XInternAtom(display(), "_NET_WORKAREA", True);
    if (workArea == None)
        return;
    Atom type;
    int format;
    unsigned long count, remaining;
    unsigned char* data = nullptr;
    if (XGetWindowProperty(display(), XConnection::get$root(), workArea, 0, 4, False, XA_CARDINAL, &type, &format,
                           &count, &remaining, &data) == Success &&
        data && format == 32 && count >= 4) {
        auto const* values = reinterpret_cast<long const*>(data);
        *rect = {static_cast<int>(values[0]), static_cast<int>(values[1]), static_cast<int>(values[2]),
                 static_cast<int>(values[3])};
    }
    if (data)
        XFree(data);
}

void Widget::startup()
{
    // Window classes and leave tracking need nothing at start-up on X; the
    // display opens with the first window.
}

void Widget::shutdown()
{
    WidgetNative::release();
}

void Widget::atDisplayClose(void (*hook)())
{
    XConnection::addCloseHook(hook);
}

bool Widget::suggestClose()
{
    close();
    return true;
}

void Widget::setParameters(XML::Element*) {}
void Widget::onCreate() {}
void Widget::onDraw(Graphics::GC*) {}
void Widget::onMouseOver(int, int, int) {}
void Widget::onMouseOut(int, int, int) {}
void Widget::onMouseMove(int, int, int) {}
void Widget::onMouseDown(int, int, int, int) {}
void Widget::onMouseUp(int, int, int, int) {}
void Widget::onDoubleClick(int, int, int, int) {}
void Widget::onCharKeyUp(int, int) {}
void Widget::onCharKeyDown(int, int) {}
void Widget::onSystemKeyUp(int, int) {}
void Widget::onSystemKeyDown(int, int) {}
void Widget::onFocusLost() {}
void Widget::onFocusGained() {}
void Widget::onReposition() {}
bool Widget::onResize(int, int) { return true; }
void Widget::onEnable() {}
void Widget::onDisable() {}
void Widget::onShow() {}
void Widget::onHide() {}
void Widget::onScrollWheel(int) {}

}
