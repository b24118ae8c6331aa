// The tab strip and the multi-view on a real X server: tab geometry from the
// font, clicks, drags, the close and scroll buttons, and closing children,
// watched by an owner that keeps a document list in tab order.
#include <gtest/gtest.h>

#include <X11/extensions/XTest.h>

#include <algorithm>
#include <map>
#include <memory>
#include <string>
#include <tuple>
#include <vector>

#include "nycore/system/event_loop.h"
#include "nycore/system/method_thunk.h"
#include "nytoolkit/widgets/label.h"
#include "nyuser/views/h_splitter.h"
#include "nyuser/views/multi_view.h"
#include "nyuser/views/view_tabs.h"
#include "tests/support/run_until.h"
#include "tests/support/screenshots.h"
#include "tests/support/strings.h"
#include "tests/support/windows.h"

using namespace TestSupport;
using NyCore::System::Widget;
using NyCore::System::WidgetRect;
using NyUser::Views::MultiView;
using NyUser::Views::ViewTabs;
namespace WidgetFlags = NyCore::System::WidgetFlags;

namespace {

// An owner as an application is one: a document per tab, in tab order, and
// the active document looked up when a view is activated.
class ViewOwner : public NyCore::Extenders::LinkableObject {
    NY_REFLECTIVE(ViewOwner)
public:
    explicit ViewOwner(MultiView* watched) : view(watched)
    {
        Object::link(view, this, u"viewActivated", NY_METHOD(ViewOwner::onViewActivated));
        Object::link(view, this, u"viewClosed", NY_METHOD(ViewOwner::onViewClosed));
        Object::link(view, this, u"viewSwapped", NY_METHOD(ViewOwner::onViewSwapped));
        Object::link(view, this, u"closeClicked", NY_METHOD(ViewOwner::onCloseClicked));
    }
    void note(std::string const& line) { log += (log.empty() ? "" : ", ") + line; }
    void onViewActivated(int index)
    {
        active = index >= 0 && index < static_cast<int>(documents.size()) ? documents[index] : "<none>";
        note("activated " + active);
    }
    void onViewClosed(int index)
    {
        note("closed " + std::to_string(index));
        documents.erase(documents.begin() + index);
    }
    // The same move as the tabs: out at `from`, in at `to`.
    void onViewSwapped(int from, int to)
    {
        note("moved " + std::to_string(from) + " " + std::to_string(to));
        std::string moved = documents[from];
        documents.erase(documents.begin() + from);
        documents.insert(documents.begin() + to, moved);
    }
    void onCloseClicked(int index)
    {
        note("close clicked " + std::to_string(index));
        view->closeChild(index);
    }
    // The document first, as an application adds it, then its view.
    Widget* open(std::string const& name, char16_t const* className = u"NyToolkit.NytkWidget")
    {
        documents.push_back(name);
        OwnedString label(std::u16string(name.begin(), name.end()));
        Widget* child = view->addChild(OwnedString(className), label, 0);
        names[child] = name;
        return child;
    }

    MultiView* view;
    std::vector<std::string> documents;
    std::map<Widget*, std::string> names; // each view's document
    std::string log;
    std::string active = "<none>";
};

NyCore::TypeData ViewOwner::MetaData = {&NyCore::Extenders::LinkableObject::MetaData, nullptr,
                                        u"Tests.ViewOwner"_str, NyCore::NoMethods, NyCore::NoEvents, nullptr,
                                        sizeof(ViewOwner), 0, nullptr};

// A view that does not agree to close.
class StubbornView : public NyToolkit::NytkWidget {
    NY_REFLECTIVE(StubbornView)
public:
    static NyCore::Object* __create() { return new StubbornView(); }
    bool suggestClose() override { return false; }
};

NyCore::TypeData StubbornView::MetaData = {&NyToolkit::NytkWidget::MetaData, nullptr, u"Tests.StubbornView"_str,
                                           NyCore::NoMethods, NyCore::NoEvents, &StubbornView::__create,
                                           sizeof(StubbornView), 0, nullptr};

std::uint32_t scaled70(std::uint32_t rgb)
{
    return (((rgb >> 16) & 0xFF) * 7 / 10) << 16 | (((rgb >> 8) & 0xFF) * 7 / 10) << 8 | (rgb & 0xFF) * 7 / 10;
}

// Lets the server turn the input sent so far into events and serves them all,
// so that a step can be checked at once, also for what it must not change.
void settle()
{
    XSync(display(), False);
    NyCore::System::EventLoop::serviceEvents(nullptr);
}

void button(bool down)
{
    XTestFakeButtonEvent(display(), 1, down, CurrentTime);
    XFlush(display());
}

class MultiViewTest : public WindowTest {
protected:
    void SetUp() override
    {
        WindowTest::SetUp();
        registerOnce(&ViewOwner::MetaData);
        registerOnce(&StubbornView::MetaData);
    }
    void TearDown() override
    {
        button(false);
        if (top)
            top->close();
    }
    // A new view in a new window, watched by a new owner that opens these documents.
    void makeView(int w, int h, std::vector<std::string> const& names)
    {
        if (top)
            top->close();
        top = topWindow(w + 20, h + 20, u"NyToolkit.NytkWidget");
        view = static_cast<MultiView*>(Widget::create(top, u"NyUser.Views.MultiView", 0, 10, 10, w, h));
        tabs = view->get$tabs();
        EXPECT_TRUE(runUntil([&] { return mapped(tabs); }));
        owner = std::make_unique<ViewOwner>(view);
        for (std::string const& name : names)
            owner->open(name);
    }
    // The tab labels in order, the active one starred ("A *B C"). A document
    // or child out of step with its tab, a child shown or hidden wrongly, or
    // an owner with another document active is noted after the label.
    std::string state() const
    {
        std::string text;
        int n = std::max({tabs->get$count(), view->get$childCount(), static_cast<int>(owner->documents.size())});
        for (int i = 0; i < n; ++i) {
            bool active = i == tabs->get$active();
            std::string label = i < tabs->get$count() ? toUtf8(tabs->getLabel(i)) : "<no tab>";
            text += (i ? " " : "") + std::string(active ? "*" : "") + label;
            Widget* child = view->getChild(i);
            if (i >= static_cast<int>(owner->documents.size()) || owner->documents[i] != label)
                text += "(document?)";
            if (!child || owner->names[child] != label)
                text += "(child?)";
            else if (bool(child->get$flags() & WidgetFlags::Hidden) == active)
                text += active ? "(hidden)" : "(shown)";
            if (active && owner->active != label)
                text += "(owner has " + owner->active + ")";
        }
        return text;
    }
    void pointToButton(int position)
    {
        WidgetRect r{};
        ASSERT_TRUE(tabs->getButtonRect(position, &r)) << position;
        pointerTo(tabs, r.x + r.width / 2, r.y + r.height / 2);
    }

    Widget* top = nullptr;
    MultiView* view = nullptr;
    ViewTabs* tabs = nullptr;
    std::unique_ptr<ViewOwner> owner;
};

// The strip laid out from the font; then clicks, and one press that drags a
// narrow tab past a wide one and over several places at once each way. Each
// move is reported once, as a move, and the tabs, the documents and the
// children keep the same order.
TEST_F(MultiViewTest, TabsFollowTheFontAndAreClickedAndDragged)
{
    makeView(560, 160, {"n", "Wide tab", "c", "d"});
    NyCore::Graphics::Font* font = view->get$style()->get$font();
    int h = font->get$height();
    int g = view->get$style()->get$gap();
    int stripH = (4 * h) / 3;
    EXPECT_EQ(std::tuple(tabs->get$x(), tabs->get$y(), tabs->get$width(), tabs->get$height()),
              std::tuple(g, g, 560 - 2 * g, stripH));
    Widget* child = view->getChild(0);
    EXPECT_EQ(std::tuple(child->get$x(), child->get$y(), child->get$width(), child->get$height()),
              std::tuple(g, stripH + 2 * g, 560 - 2 * g, 160 - stripH - 3 * g));
    int x = 0;
    for (int i = 0; i < tabs->get$count(); x += tabs->getTabWidth(i), ++i) {
        int expected = font->measure(tabs->getLabel(i)) + g + 2 * ((3 * h) / 4);
        EXPECT_EQ(std::tuple(tabs->getTabWidth(i), tabs->tabToX(i)), std::tuple(expected, x)) << "tab " << i;
        EXPECT_EQ(tabs->pointToTab(x + expected / 2, stripH / 2), i) << "tab " << i;
    }
    EXPECT_EQ(std::tuple(tabs->get$totalWidth(), tabs->pointToTab(x + 1, 1)), std::tuple(x, -1));
    EXPECT_EQ(owner->log, "activated n, activated Wide tab, activated c, activated d") << "each new tab is activated";

    int narrow = tabs->getTabWidth(0);
    int wide = tabs->getTabWidth(1);
    ASSERT_LT(narrow, wide);
    enum Action { Click, Press, Move, Release };
    // Each step: what the pointer does where along the strip, the state after it and what the owner heard.
    struct Step {
        char const* what;
        Action action;
        int x;
        char const* state;
        char const* log;
    } const steps[] = {
        {"a click on the wide tab", Click, narrow + wide / 2, "n *Wide tab c d", "activated Wide tab"},
        {"a click on the active tab", Click, narrow + wide / 2, "n *Wide tab c d", ""},
        {"a press on the narrow tab", Press, narrow / 2, "*n Wide tab c d", "activated n"},
        {"short of where it would stand", Move, wide - 1, "*n Wide tab c d", ""},
        {"where it will stand", Move, wide + 1, "Wide tab *n c d", "moved 0 1"},
        {"back a little, still in the wide tab", Move, wide - 2, "Wide tab *n c d", ""},
        {"to the far end of d in one move", Move, x - 2, "Wide tab c d *n", "moved 1 3"},
        {"back to the first tab in one move", Move, 1, "*n Wide tab c d", "moved 3 0"},
        {"the release", Release, 1, "*n Wide tab c d", ""},
    };
    for (Step const& s : steps) {
        owner->log.clear();
        pointerTo(tabs, s.x, stripH / 2);
        if (s.action == Click || s.action == Press)
            button(true);
        if (s.action == Click || s.action == Release)
            button(false);
        settle();
        EXPECT_EQ(std::tuple(state(), owner->log), std::tuple(s.state, s.log)) << s.what;
    }
    EXPECT_FALSE(tabs->get$flags() & WidgetFlags::PointerCaptured);
    ASSERT_TRUE(runUntil([&] { return mapped(view->getChild(0)) && !mapped(view->getChild(1)); }));
}

// Closing asks the child first; viewClosed reaches the owner before the
// neighbour that takes the closed tab's place is activated.
TEST_F(MultiViewTest, ClosingRemovesTheDocumentBeforeTheNeighbourIsActivated)
{
    struct CloseCase {
        char const* what;
        int count;
        bool stubbornSecond;
        int active, close, result;
        char const* log;
        char const* state;
    } const cases[] = {
        {"the active middle tab", 4, false, 1, 1, 1, "closed 1, activated C", "A *C D"},
        {"the active last tab", 4, false, 3, 3, 1, "closed 3, activated C", "A B *C"},
        {"an inactive tab before the active one", 4, false, 2, 0, 1, "closed 0", "B *C D"},
        {"an inactive tab after the active one", 4, false, 0, 2, 1, "closed 2", "*A B D"},
        {"outside the tabs", 4, false, 0, 4, 0, "", "*A B C D"},
        {"a child that refuses", 3, true, 1, 1, 0, "", "A *B C"},
        {"the only tab", 1, false, 0, 0, 1, "closed 0", ""},
    };
    for (CloseCase const& c : cases) {
        makeView(400, 120, {});
        for (int i = 0; i < c.count; ++i)
            owner->open(std::string(1, char('A' + i)),
                        c.stubbornSecond && i == 1 ? u"Tests.StubbornView" : u"NyToolkit.NytkWidget");
        view->activate(c.active);
        owner->log.clear();
        EXPECT_EQ(view->closeChild(c.close), c.result) << c.what;
        EXPECT_EQ(std::tuple(state(), owner->log), std::tuple(c.state, c.log)) << c.what;
    }
}

// The buttons from the right edge inwards, each centred by its own margin;
// the scroll buttons follow the overflow and repeat while held; the close
// button asks the owner.
TEST_F(MultiViewTest, StripButtonsScrollWhileHeldAndCloseThroughTheOwner)
{
    makeView(300, 100, {});
    tabs->enableButtons(true, false, true);
    int stripH = tabs->get$height();
    int right = tabs->get$width();
    int margin = 0;
    for (int position : {ViewTabs::CloseButton, ViewTabs::ScrollToLast, ViewTabs::ScrollToFirst}) {
        auto* icons = view->get$style()->getIcons(position == ViewTabs::CloseButton ? NyToolkit::Style::Close
                                                                                      : NyToolkit::Style::HArrow);
        margin = (stripH - icons->get$height()) / 2;
        right -= margin + icons->get$width();
        WidgetRect r{};
        ASSERT_TRUE(tabs->getButtonRect(position, &r));
        EXPECT_EQ(std::tuple(r.x, r.y, r.width), std::tuple(right, margin, icons->get$width())) << position;
    }
    EXPECT_EQ(std::tuple(tabs->hasButton(ViewTabs::CollapseButton), tabs->get$areaWidth()),
              std::tuple(false, right - margin));

    // Tabs are added until they overflow, and two more so that holding a
    // button takes several steps; the scroll buttons come on exactly then,
    // both together ("on", "off", or "mixed" when they disagree).
    auto scrolls = [&] {
        bool toLast = tabs->isButtonEnabled(ViewTabs::ScrollToLast);
        return toLast != tabs->isButtonEnabled(ViewTabs::ScrollToFirst) ? "mixed" : toLast ? "on" : "off";
    };
    int added = 0;
    for (; tabs->get$totalWidth() <= tabs->get$areaWidth() && added < 40; ++added) {
        EXPECT_STREQ(scrolls(), "off") << added << " tabs fit";
        owner->open("Graph " + std::to_string(added + 1));
    }
    EXPECT_STREQ(scrolls(), "on");
    owner->open("Graph " + std::to_string(++added));
    owner->open("Graph " + std::to_string(++added));
    int range = tabs->get$totalWidth() - tabs->get$areaWidth();
    ASSERT_GT(range, 3 * ViewTabs::ScrollStep);
    EXPECT_EQ(tabs->get$offset(), range) << "the new active tab, the last, is scrolled into view";
    view->activate(0);
    EXPECT_EQ(tabs->get$offset(), 0) << "the first tab activated from code is scrolled into view";

    // One click: one step. Held: it repeats to the end of the range.
    pointToButton(ViewTabs::ScrollToLast);
    click();
    ASSERT_TRUE(runUntil([&] { return !tabs->get$scrolling() && tabs->get$offset() > 0; }));
    EXPECT_EQ(tabs->get$offset(), ViewTabs::ScrollStep);
    button(true);
    ASSERT_TRUE(runUntil([&] { return tabs->get$offset() == range; })) << tabs->get$offset();
    EXPECT_TRUE(tabs->get$scrolling());
    button(false);
    ASSERT_TRUE(runUntil([&] { return !tabs->get$scrolling(); }));
    pointToButton(ViewTabs::ScrollToFirst);
    button(true);
    ASSERT_TRUE(runUntil([&] { return tabs->get$offset() == 0; })) << tabs->get$offset();
    // Still held, so not drawn whole again: the steps copied the tabs still in
    // view sideways and drew the rest as a whole drawing does. The active tab:
    // its colour, full-height frame bars; a normal tab: the strip's colour,
    // shorter bars at 70 percent of it.
    std::uint32_t frame = view->getColor(NyToolkit::Style::Frame);
    int second = tabs->tabToX(1);
    int h = view->get$style()->get$font()->get$height();
    expectPixels(tabs->get$nativeWindow(),
                 {{"active left bar top", 0, 0, frame},
                  {"active tab", 2, 1, ViewTabs::ActiveTabColor},
                  {"active right bar bottom", second - 1, stripH - 1, frame},
                  {"normal tab", second + 2, 1, ViewTabs::StripColor},
                  {"normal bar middle", second, stripH / 2, scaled70(ViewTabs::StripColor)},
                  {"normal bar leaves the top", second, h / 4 - 1, ViewTabs::StripColor},
                  {"third tab's left bar", tabs->tabToX(2), stripH / 2, scaled70(ViewTabs::StripColor)}});
    button(false);
    ASSERT_TRUE(runUntil([&] { return !tabs->get$scrolling(); }));

    // The close picture's middle, in the icon set's stroke colour.
    WidgetRect close{};
    ASSERT_TRUE(tabs->getButtonRect(ViewTabs::CloseButton, &close));
    ASSERT_TRUE(runUntil([&] { return pixelAt(tabs->get$nativeWindow(), close.x + 5, close.y + 5) == 0x606060; }));
    // A press that leaves the button before the release is no click.
    owner->log.clear();
    pointToButton(ViewTabs::CloseButton);
    button(true);
    pointerTo(tabs, close.x - 30, close.y);
    button(false);
    settle();
    EXPECT_EQ(owner->log, "");
    // The last tab active, at the end of the range: the close button closes it
    // and the one before it until the rest fit; the offset stays within the
    // shrinking range, and is 0 with the scroll buttons off.
    view->activate(added - 1);
    owner->log.clear();
    pointToButton(ViewTabs::CloseButton);
    click();
    ASSERT_TRUE(runUntil([&] { return tabs->get$count() == added - 1; }));
    std::string last = std::to_string(added - 1);
    EXPECT_EQ(owner->log, "close clicked " + last + ", closed " + last + ", activated Graph " + last);
    while (tabs->get$totalWidth() > tabs->get$areaWidth()) {
        EXPECT_EQ(tabs->get$offset(), tabs->get$totalWidth() - tabs->get$areaWidth());
        int count = tabs->get$count();
        click();
        ASSERT_TRUE(runUntil([&] { return tabs->get$count() == count - 1; }));
    }
    EXPECT_EQ(tabs->get$offset(), 0);
    EXPECT_STREQ(scrolls(), "off");
}

TEST_F(MultiViewTest, PictureOfTabsInASplitter)
{
    top = topWindow(560, 240, u"NyToolkit.NytkWidget");
    auto* splitter =
        static_cast<NyUser::Views::HSplitter*>(Widget::create(top, u"NyUser.Views.HSplitter", 0, 0, 0, 560, 240));
    std::uint32_t const resizableShared = NyUser::Views::Splitter::ResizableFlag | 0x4;
    view = static_cast<MultiView*>(
        splitter->addChild(-1, OwnedString(u"NyUser.Views.MultiView"), resizableShared, 400));
    auto label = [](Widget* widget, std::string const& text) {
        static_cast<NyToolkit::Label*>(widget)->setText(OwnedString(std::u16string(text.begin(), text.end())));
        static_cast<NyToolkit::Label*>(widget)->set$textAlign(NyCore::Graphics::TextFlags::CenterHorizontal |
                                                              NyCore::Graphics::TextFlags::CenterVertical);
    };
    label(splitter->addChild(-1, OwnedString(u"NyToolkit.Label"), resizableShared, 160), "Definitions");
    tabs = view->get$tabs();
    owner = std::make_unique<ViewOwner>(view);
    tabs->enableButtons(true, false, true);
    for (std::string name : {"Calculator 1", "Surface graph", "Commands", "Lights", "Help", "Calculator 2"})
        label(owner->open(name, u"NyToolkit.Label"), "View of " + name);
    view->activate(1);
    ASSERT_TRUE(splitter->hasBarAfter(0));
    ASSERT_TRUE(tabs->isButtonEnabled(ViewTabs::ScrollToLast)) << "the tabs overflow";
    ASSERT_TRUE(runUntil([&] { return mapped(view->getChild(1)); }));
    EXPECT_TRUE(saveScreenshot(top, "tabs"));
}

}
