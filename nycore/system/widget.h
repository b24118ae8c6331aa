// Widget: the base of every visible thing (top-level windows, dialogs,
// pop-ups, controls). One native window per widget; the widget keeps the tree,
// geometry and flag word, and turns window-system input into its notifications.
#pragma once

#include <cstdint>

#include "nycore/system/linkable_object.h"

namespace NyCore::XML {
class Element;
}

namespace NyCore::Graphics {
struct GC;
}

namespace NyCore::System {

class WidgetNative;

namespace WidgetFlags {
enum : std::uint32_t {
    AnchorRight = 0x1,
    AnchorBottom = 0x2,
    AnchorWidth = 0x4,
    AnchorHeight = 0x8,
    AnchorMask = 0xF,
    GeometryChanging = 0x2000,
    PointerInside = 0x8000,
    PointerCaptured = 0x10000,
    DrawingSuppressed = 0x20000,
    WantTab = 0x40000,
    TabStop = 0x80000,
    Resizeable = 0x100000,
    Modal = 0x200000,
    TopLevel = 0x400000,
    PopUp = 0x800000,
    HasFocus = 0x1000000,
    Hidden = 0x2000000,
    Disabled = 0x4000000,
    PointerShapeShift = 27,
};
}

// Codes of the keys that have no character; they reach onSystemKeyDown/Up.
namespace SystemKeys {
enum : int {
    PageUp = -20,
    PageDown = -19,
    End = -18,
    Home = -17,
    Left = -16,
    Up = -15,
    Right = -14,
    Down = -13,
    Insert = -12,
    Delete = -11,
    Help = -10,
    Shift = -24,
    Ctrl = -23,
    // Seen by key watchers only (Widget::watchKeys), never by widgets.
    Alt = -25,
    F1 = -101,
    F12 = -112,
};
}

// The modifier bits of key notifications.
namespace KeyModifiers {
enum : int {
    Down = 1,
    FirstPress = 2,
    Shift = 4,
    Ctrl = 8,
    Character = 16,
};
}

// The key-state word of mouse notifications.
namespace MouseKeys {
enum : int {
    Left = 0x1,
    Right = 0x2,
    Shift = 0x4,
    Ctrl = 0x8,
    Middle = 0x10,
};
}

namespace PointerShapes {
enum : int { Arrow, NoPointer, TextBeam, Wait, SizeNS, SizeWE, SizeNWSE, SizeNESW, Move, Count };
}

struct WidgetPoint {
    std::int32_t x;
    std::int32_t y;
};

struct WidgetRect {
    std::int32_t x;
    std::int32_t y;
    std::int32_t width;
    std::int32_t height;
};

class Widget : public Extenders::LinkableObject {
    NY_REFLECTIVE(Widget)
public:
    Widget() = default;
    // Detaches the children (they become roots) and leaves the parent's ring.
    ~Widget() override;
    static Object* __create();

    // The object of the registered class, linked in as the last child of
    // `parent`; no native window yet.
    static Widget* allocate(Widget* parent, char16_t const* className, std::uint32_t flags, int x, int y, int w,
                            int h);
    // allocate, the native window, onCreate, then shown unless Hidden.
    static Widget* create(Widget* parent, char16_t const* className, std::uint32_t flags, int x, int y, int w,
                          int h);
    // Registers the widget record's run-time needs; opens no display.
    static void startup();
    static void shutdown();
    // Runs `hook` just before the display connection closes, so that libraries
    // free what they hold on the server (styles, fonts, icons) while they can.
    static void atDisplayClose(void (*hook)());

    virtual bool suggestClose();
    virtual void setParameters(XML::Element* element);
    virtual void onCreate();
    virtual void onDraw(Graphics::GC* gc);
    virtual void onMouseOver(int x, int y, int keys);
    virtual void onMouseOut(int x, int y, int keys);
    virtual void onMouseMove(int x, int y, int keys);
    virtual void onMouseDown(int x, int y, int button, int keys);
    virtual void onMouseUp(int x, int y, int button, int keys);
    virtual void onDoubleClick(int x, int y, int button, int keys);
    virtual void onCharKeyUp(int code, int modifiers);
    virtual void onCharKeyDown(int code, int modifiers);
    virtual void onSystemKeyUp(int code, int modifiers);
    virtual void onSystemKeyDown(int code, int modifiers);
    virtual void onFocusLost();
    virtual void onFocusGained();
    virtual void onReposition();
    // True asks for a redraw.
    virtual bool onResize(int dw, int dh);
    virtual void onEnable();
    virtual void onDisable();
    virtual void onShow();
    virtual void onHide();
    virtual void onScrollWheel(int steps);

    // Ends a loop the widget owns and destroys the native window (posted
    // while any event loop runs, at once otherwise); the object follows.
    void close();

    void setSize(int w, int h);
    void setPosition(int x, int y);
    void setRect(int x, int y, int w, int h);
    void align(std::uint32_t bits);
    void show();
    void hide();
    void enable();
    void disable();
    void redraw();
    // False when Disabled. The focus goes to focusTarget().
    bool focus();
    // The widget that takes the keyboard when this one is focused: itself,
    // or a child it hands the focus to directly (no key is lost on the way).
    virtual Widget* focusTarget() { return this; }
    // Tab and Shift+Tab: the next or previous tab stop of the window, wrapping.
    bool focusNext();
    bool focusPrev();
    static bool focusAdvance(Widget* start, bool forward);
    void setCaption(String const* caption);
    // Shapes above 8 are a fatal InvalidParameterException.
    void setPointerIcon(int shape);
    void pointerCapture();
    void pointerRelease();
    void moveToForeground();
    void getMousePosition(WidgetPoint* point);
    void toClient(WidgetPoint* point);
    void toScreen(WidgetPoint* point);
    void getClientRect(WidgetRect* rect);
    void getScreenRect(WidgetRect* rect);
    static void screenSize(WidgetPoint* size);
    static void screenUsable(WidgetRect* rect);

    Widget* get$parent() const { return parent; }
    Widget* get$firstChild() const { return firstChild; }
    Widget* get$lastChild() const { return firstChild ? firstChild->prevSibling : nullptr; }
    Widget* get$nextSibling() const { return nextSibling; }
    Widget* get$prevSibling() const { return prevSibling; }
    std::uint32_t get$flags() const { return flags; }
    // An owner that fills a widget in several steps suppresses its drawing
    // meanwhile; clearing the flag asks for no redraw.
    void setDrawingSuppressed(bool suppressed)
    {
        flags = suppressed ? flags | WidgetFlags::DrawingSuppressed : flags & ~WidgetFlags::DrawingSuppressed;
    }
    std::uint32_t get$background() const { return background; }
    void set$background(std::uint32_t color) { background = color; }
    int get$x() const { return x; }
    int get$y() const { return y; }
    int get$width() const { return width; }
    int get$height() const { return height; }
    int get$pointerShape() const { return static_cast<int>(flags >> WidgetFlags::PointerShapeShift); }
    // The platform's id of the widget's window, 0 before creation and after destruction.
    std::uintptr_t get$nativeWindow() const { return window; }
    // The widget whose window has the keyboard focus, or 0.
    static Widget* get$focused();
    // Whether the X server's focus is on this widget's window right now. A
    // focus notification may be stale, the focus having moved on meanwhile
    // (to a dialog opened since): a widget that hands its focus on asks first.
    bool holdsServerFocus() const;

    // A key watcher sees every key meant for a widget of the watcher's window
    // (its top-level window and the pop-ups opened from it) before that
    // widget does, with the code and modifiers the widget would get, and Alt
    // too; returning true takes the key. A menu bar answers F10 and Alt this
    // way wherever the focus is. A deleted widget watches no more.
    using KeyWatch = bool (*)(Widget* watcher, int code, int modifiers);
    static void watchKeys(Widget* watcher, KeyWatch watch);
    static void unwatchKeys(Widget* watcher);

protected:
    void moveAlignedChildren(int dw, int dh);
    void updateResize(int dw, int dh);
    void updateHide();
    void updateShow();

    std::uintptr_t window = 0;
    Widget* parent = nullptr;
    Widget* firstChild = nullptr;
    Widget* nextSibling = nullptr;
    Widget* prevSibling = nullptr;
    std::uint32_t flags = 0;
    std::uint32_t background = 0xFFFFFF;
    std::int32_t x = 0;
    std::int32_t y = 0;
    std::int32_t width = 0;
    std::int32_t height = 0;

private:
    bool focusMove(bool forward);
    friend class WidgetNative;

    void linkAsLastChild(Widget* newParent);
    void unlinkFromParent();
    void createNativeWindow();
    void destroyNativeWindow();
    // Input reaches neither a widget that is disabled nor one inside a window a modal widget has disabled.
    bool acceptsInput() const;
    bool isViewable() const;

    // Counts modal widgets that hold this widget's window disabled.
    std::int32_t modalDisableCount = 0;
};

}
