// Widgets on a real X server: the tree and anchoring, show/hide/enable,
// focus and Tab order, key and mouse translation through XTest, and modal
// widgets that hold their parent disabled.
#include <gtest/gtest.h>

#include <X11/Xlib.h>
#include <X11/extensions/XTest.h>
#include <X11/keysym.h>

#include <algorithm>
#include <string>
#include <tuple>
#include <vector>

#include "nycore/system/widget.h"
#include "nycore/system/x_connection.h"
#include "tests/support/child_process.h"
#include "tests/support/run_until.h"
#include "tests/support/strings.h"
#include "tests/support/windows.h"

using namespace NyCore;
using namespace NyCore::System;

namespace {

using namespace TestSupport;

// A widget that writes every notification it receives into a shared log.
class Probe : public Widget {
    NY_REFLECTIVE(Probe)
public:
    static Object* __create() { return new Probe(); }
    ~Probe() override { ++deleted; }

    void note(std::string const& line) { log.push_back(line); }
    void onCreate() override { note("create"); }
    void onMouseOver(int x, int y, int) override { note("over " + xy(x, y)); }
    void onMouseOut(int, int, int) override { note("out"); }
    void onMouseDown(int x, int y, int button, int keys) override { note("down " + xy(x, y) + " " + n(button, keys)); }
    void onMouseUp(int x, int y, int button, int keys) override { note("up " + xy(x, y) + " " + n(button, keys)); }
    void onDoubleClick(int x, int y, int button, int) override { note("double " + xy(x, y) + " " + std::to_string(button)); }
    void onCharKeyDown(int code, int modifiers) override { note("char down " + n(code, modifiers)); }
    void onCharKeyUp(int code, int modifiers) override { note("char up " + n(code, modifiers)); }
    void onSystemKeyDown(int code, int modifiers) override { note("sys down " + n(code, modifiers)); }
    void onSystemKeyUp(int code, int modifiers) override { note("sys up " + n(code, modifiers)); }
    void onFocusGained() override { note("focus"); }
    void onFocusLost() override { note("blur"); }
    bool onResize(int dw, int dh) override { note("resize " + xy(dw, dh)); return true; }
    void onEnable() override { note("enable"); }
    void onDisable() override { note("disable"); }
    void onShow() override { note("show"); }
    void onHide() override { note("hide"); }
    void onScrollWheel(int steps) override { note("wheel " + std::to_string(steps)); }
    bool suggestClose() override { note("suggestClose"); return false; }

    static std::string xy(int a, int b) { return std::to_string(a) + "," + std::to_string(b); }
    static std::string n(int a, int b) { return std::to_string(a) + "/" + std::to_string(b); }

    std::vector<std::string> log;
    static int deleted;
};

int Probe::deleted = 0;
TypeData Probe::MetaData = {&Widget::MetaData, nullptr, u"Tests.Probe"_str, NoMethods, NoEvents, &Probe::__create,
                            sizeof(Probe), 0, nullptr};

bool logged(Probe* probe, std::string const& line)
{
    return std::ranges::find(probe->log, line) != probe->log.end();
}

Probe* probe(Widget* parent, std::uint32_t flags, int x, int y, int w, int h)
{
    return static_cast<Probe*>(Widget::create(parent, u"Tests.Probe", flags, x, y, w, h));
}

// Every test starts with a window, which registers the probe class first.
Probe* window(int w, int h)
{
    registerOnce(&Probe::MetaData);
    return static_cast<Probe*>(topWindow(w, h, u"Tests.Probe"));
}

using WidgetWindowTest = WindowTest;

}

TEST_F(WidgetWindowTest, TreeStateAndCaptionAndDeletionWithTheWindow)
{
    Probe* top = window(120, 80);
    Probe* a = probe(top, 0, 0, 0, 10, 10);
    Probe* b = probe(top, 0, 10, 0, 10, 10);
    Probe* c = probe(top, 0, 20, 0, 10, 10);
    // The siblings form a ring: first, last, a's next, c's next, a's previous.
    EXPECT_EQ(std::tuple(top->get$firstChild(), top->get$lastChild(), a->get$nextSibling(), c->get$nextSibling(),
                         a->get$prevSibling()),
              std::tuple(a, c, b, a, c));
    EXPECT_EQ(a->log, std::vector<std::string>{"create"});

    int before = Probe::deleted;
    a->close();
    EXPECT_EQ(Probe::deleted, before + 1) << "outside any loop the window goes at once";
    EXPECT_EQ(std::tuple(top->get$firstChild(), b->get$prevSibling(), c->get$nextSibling()), std::tuple(b, c, b));

    // Showing, hiding, enabling and disabling notify the widget.
    Probe* child = probe(top, WidgetFlags::Hidden, 40, 0, 20, 20);
    EXPECT_FALSE(mapped(child));
    child->show();
    EXPECT_TRUE(mapped(child));
    child->hide();
    child->disable();
    child->enable();
    EXPECT_EQ(child->log, (std::vector<std::string>{"create", "show", "hide", "disable", "enable"}));

    child->setPointerIcon(PointerShapes::TextBeam);
    expectException([&] { child->setPointerIcon(9); }, "NyCore.InvalidParameterException", "Invalid paramiter.");

    OwnedString caption(u"Größe ∑");
    top->setCaption(caption);
    EXPECT_EQ(windowProperty(top->get$nativeWindow(), "_NET_WM_NAME"), "Größe ∑");

    // Destroying the window from outside deletes the widget and its children.
    XDestroyWindow(display(), top->get$nativeWindow());
    EXPECT_TRUE(runUntil([&] { return Probe::deleted == before + 5; }));
}

TEST_F(WidgetWindowTest, AnchoredChildrenFollowTheParent)
{
    struct Case {
        char const* name;
        std::uint32_t anchors;
        WidgetRect expected;
    };
    Case const cases[] = {
        {"right|bottom", WidgetFlags::AnchorRight | WidgetFlags::AnchorBottom, {60, 30, 80, 80}},
        {"none", 0, {10, 10, 80, 80}},
    };
    // Resized by the server (as a window manager would), not through setSize.
    for (Case const& c : cases) {
        SCOPED_TRACE(c.name);
        Probe* top = window(100, 100);
        Probe* child = probe(top, c.anchors, 10, 10, 80, 80);
        Probe* grandchild = probe(child, WidgetFlags::AnchorRight, 70, 0, 10, 10);
        XResizeWindow(display(), top->get$nativeWindow(), 150, 120);
        ASSERT_TRUE(runUntil([&] { return top->get$width() == 150; }));
        EXPECT_EQ(std::tuple(child->get$x(), child->get$y(), child->get$width(), child->get$height()),
                  std::tuple(c.expected.x, c.expected.y, c.expected.width, c.expected.height));
        EXPECT_EQ(grandchild->get$x(), 70 + c.expected.width - 80);
        XSync(display(), False);
        XWindowAttributes attributes;
        XGetWindowAttributes(display(), child->get$nativeWindow(), &attributes);
        EXPECT_EQ(std::tuple(attributes.x, attributes.width), std::tuple(c.expected.x, c.expected.width));
        EXPECT_TRUE(logged(top, "resize 50,20"));
        top->close();
    }
}

TEST_F(WidgetWindowTest, TabMovesFocusWithinTheTopLevelWindowAndPopUpsTakeNone)
{
    // a [group: b, c (disabled), d, label] e f (no TabStop); another window's field is never reached.
    std::uint32_t const stop = WidgetFlags::TabStop;
    Probe* top = window(200, 100);
    Probe* a = probe(top, stop, 0, 0, 20, 20);
    Probe* group = probe(top, 0, 20, 0, 100, 50);
    Probe* b = probe(group, stop, 0, 0, 20, 20);
    Probe* c = probe(group, stop, 20, 0, 20, 20);
    Probe* d = probe(group, stop, 40, 0, 20, 20);
    probe(group, 0, 60, 0, 20, 20);  // a label after the group's last stop must not hold the focus in the group
    Probe* e = probe(top, stop, 120, 0, 20, 20);
    probe(top, 0, 140, 0, 20, 20);  // f
    Probe* other = window(50, 50);
    probe(other, stop, 0, 0, 20, 20);
    c->disable();
    EXPECT_FALSE(c->focus()) << "a disabled widget refuses the focus";

    ASSERT_TRUE(a->focus());
    ASSERT_TRUE(runUntil([&] { return Widget::get$focused() == a; }));
    EXPECT_TRUE(a->get$flags() & WidgetFlags::HasFocus);

    struct Step {
        bool shift;
        Probe* expected;
        char const* name;
    };
    Step const steps[] = {
        {false, b, "into the group"}, {false, d, "over the disabled one"}, {false, e, "out of the group"},
        {false, a, "wrap to the first"}, {true, e, "back wraps to the last"}, {true, d, "back into the group"},
        {true, b, "back over the disabled one"}, {true, a, "back out of the group"},
    };
    for (Step const& step : steps) {
        SCOPED_TRACE(step.name);
        if (step.shift)
            key(XK_Shift_L, true);
        tap(XK_Tab);
        if (step.shift)
            key(XK_Shift_L, false);
        EXPECT_TRUE(runUntil([&] { return Widget::get$focused() == step.expected; }));
    }
    EXPECT_TRUE(logged(a, "blur"));

    // A pop-up sits on the screen, placed from its parent, and leaves the focus where it was.
    Probe* popUp = probe(top, WidgetFlags::PopUp, 10, 20, 60, 30);
    ASSERT_TRUE(runUntil([&] { return mapped(popUp); }));
    XWindowAttributes attributes;
    XGetWindowAttributes(display(), popUp->get$nativeWindow(), &attributes);
    EXPECT_TRUE(attributes.override_redirect);
    WidgetRect topRect, popUpRect;
    top->getScreenRect(&topRect);
    popUp->getScreenRect(&popUpRect);
    EXPECT_EQ(std::tuple(popUpRect.x, popUpRect.y), std::tuple(topRect.x + 10, topRect.y + 20));
    EXPECT_EQ(Widget::get$focused(), a);
    popUp->close();
    other->close();
    top->close();
}

TEST_F(WidgetWindowTest, KeysArriveWithCodesAndModifiers)
{
    Probe* top = window(100, 60);
    Probe* field = probe(top, WidgetFlags::TabStop, 0, 0, 50, 20);
    field->focus();
    ASSERT_TRUE(runUntil([&] { return Widget::get$focused() == field; }));

    struct Case {
        char const* name;
        std::vector<std::pair<KeySym, bool>> keys;
        std::vector<std::string> expected;
    };
    Case const cases[] = {
        {"enter", {{XK_Return, true}, {XK_Return, false}}, {"char down 10/19", "char up 10/16"}},
        {"F1 and F12", {{XK_F1, true}, {XK_F12, true}, {XK_F12, false}, {XK_F1, false}},
         {"sys down -101/3", "sys down -112/3", "sys up -112/0", "sys up -101/0"}},
        {"arrows", {{XK_Left, true}, {XK_Down, true}, {XK_Down, false}, {XK_Left, false}},
         {"sys down -16/3", "sys down -13/3", "sys up -13/0", "sys up -16/0"}},
        {"escape", {{XK_Escape, true}, {XK_Escape, false}}, {"char down 27/3", "char up 27/0"}},
        {"letter", {{XK_a, true}, {XK_a, false}}, {"char down 97/19", "char up 97/16"}},
        {"shift letter", {{XK_Shift_L, true}, {XK_a, true}, {XK_a, false}, {XK_Shift_L, false}},
         {"sys down -24/3", "char down 65/23", "char up 65/20", "sys up -24/4"}},
        {"ctrl letter", {{XK_Control_L, true}, {XK_a, true}, {XK_a, false}, {XK_Control_L, false}},
         {"sys down -23/3", "char down 1/27", "char up 1/24", "sys up -23/8"}},
    };
    for (Case const& c : cases) {
        SCOPED_TRACE(c.name);
        field->log.clear();
        for (auto const& [sym, down] : c.keys)
            key(sym, down);
        EXPECT_TRUE(runUntil([&] { return field->log.size() >= c.expected.size(); }));
        EXPECT_EQ(field->log, c.expected);
    }

    // A held key repeats as further presses without a release between them;
    // XTest cannot press a key twice, so the repeat is sent as the server would send it.
    field->log.clear();
    key(XK_Return, true);
    ASSERT_TRUE(runUntil([&] { return field->log.size() == 1; }));
    XEvent repeat = {};
    repeat.xkey.type = KeyPress;
    repeat.xkey.display = display();
    repeat.xkey.window = field->get$nativeWindow();
    repeat.xkey.root = XConnection::get$root();
    repeat.xkey.keycode = XKeysymToKeycode(display(), XK_Return);
    repeat.xkey.same_screen = True;
    XSendEvent(display(), field->get$nativeWindow(), False, KeyPressMask, &repeat);
    key(XK_Return, false);
    EXPECT_TRUE(runUntil([&] { return field->log.size() >= 3; }));
    EXPECT_EQ(field->log, (std::vector<std::string>{"char down 10/19", "char down 10/17", "char up 10/16"}));

    // A key watcher takes the key before the field; deleted, it watches no more.
    Probe* watcher = probe(top, 0, 60, 0, 20, 20);
    Widget::watchKeys(watcher, [](Widget* w, int code, int) {
        static_cast<Probe*>(w)->note("watched " + std::to_string(code));
        return true;
    });
    field->log.clear();
    key(XK_a, true);
    key(XK_a, false);
    EXPECT_TRUE(runUntil([&] { return logged(watcher, "watched 97"); }));
    EXPECT_FALSE(logged(field, "char down 97/19"));
    delete watcher;
    field->log.clear();
    key(XK_a, true);
    key(XK_a, false);
    EXPECT_TRUE(runUntil([&] { return field->log.size() >= 2; }));
    EXPECT_EQ(field->log, (std::vector<std::string>{"char down 97/19", "char up 97/16"}));
    top->close();
}

TEST_F(WidgetWindowTest, MouseButtonsWheelDoubleClicksAndCrossing)
{
    Probe* top = window(200, 100);
    Probe* area = probe(top, 0, 20, 20, 100, 50);
    pointerTo(top, 5, 5);
    ASSERT_TRUE(runUntil([&] { return top->get$flags() & WidgetFlags::PointerInside; }));
    pointerTo(area, 5, 6);
    ASSERT_TRUE(runUntil([&] { return logged(area, "over 5,6"); }));
    EXPECT_TRUE(area->get$flags() & WidgetFlags::PointerInside);

    struct Case {
        char const* name;
        std::vector<std::pair<unsigned, bool>> buttons;
        std::vector<std::string> expected;
    };
    Case const cases[] = {
        {"left", {{1, true}, {1, false}}, {"down 5,6 0/1", "up 5,6 0/0"}},
        {"middle", {{2, true}, {2, false}}, {"down 5,6 2/16", "up 5,6 2/0"}},
        {"double", {{1, true}, {1, false}, {1, true}, {1, false}, {1, true}, {1, false}},
         {"down 5,6 0/1", "up 5,6 0/0", "double 5,6 0", "up 5,6 0/0", "down 5,6 0/1", "up 5,6 0/0"}},
        {"wheel", {{4, true}, {4, false}, {5, true}, {5, false}}, {"wheel 1", "wheel -1"}},
    };
    for (Case const& c : cases) {
        SCOPED_TRACE(c.name);
        area->log.clear();
        for (auto const& [button, down] : c.buttons)
            XTestFakeButtonEvent(display(), button, down, CurrentTime);
        EXPECT_TRUE(runUntil([&] { return area->log.size() >= c.expected.size(); }));
        EXPECT_EQ(area->log, c.expected);
    }

    pointerTo(top, 150, 90);
    EXPECT_TRUE(runUntil([&] { return logged(area, "out"); }));
    EXPECT_FALSE(area->get$flags() & WidgetFlags::PointerInside);
    top->close();
}

TEST_F(WidgetWindowTest, ModalWidgetDisablesItsParentUntilClosed)
{
    // Close requests of the window system stand for all input: they reach suggestClose only where input is allowed.
    Probe* top = window(200, 100);
    Probe* dialog = probe(top, WidgetFlags::TopLevel | WidgetFlags::Modal, 300, 300, 80, 60);
    ASSERT_TRUE(runUntil([&] { return mapped(dialog); }));
    XEvent request = {};
    request.xclient.type = ClientMessage;
    request.xclient.window = top->get$nativeWindow();
    request.xclient.message_type = XInternAtom(display(), "WM_PROTOCOLS", False);
    request.xclient.format = 32;
    request.xclient.data.l[0] = static_cast<long>(XInternAtom(display(), "WM_DELETE_WINDOW", False));
    XSendEvent(display(), top->get$nativeWindow(), False, NoEventMask, &request);
    request.xclient.window = dialog->get$nativeWindow();
    XSendEvent(display(), dialog->get$nativeWindow(), False, NoEventMask, &request);
    ASSERT_TRUE(runUntil([&] { return logged(dialog, "suggestClose"); }));
    EXPECT_FALSE(logged(top, "suggestClose")) << "the parent takes no input while the dialog lives";

    dialog->close();
    pointerTo(top, 10, 10);
    click();
    EXPECT_TRUE(runUntil([&] { return logged(top, "down 10,10 0/1"); }));
    top->close();
}
