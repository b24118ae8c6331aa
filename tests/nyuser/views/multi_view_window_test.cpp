// The tab strip and the multi-view on a real X server: tab geometry from the
// font, clicks, drags, the close and scroll buttons, and closing children,
// watched by an owner that keeps a document list in tab order.
#include <gtest/gtest.h>

#include <X11/extensions/XTest.h>

#include <memory>
#include <string>
#include <vector>

#include "nycore/system/event_loop.h"
#include "nycore/system/method_thunk.h"
#include "nytoolkit/widgets/label.h"
#include "nyuser/views/h_splitter.h"
#include "nyuser/views/multi_view.h"
#include "nyuser/views/view_tabs.h"
#include "tests/support/event_log.h"
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
    void onViewActivated(int index)
    {
        active = index >= 0 && index < static_cast<int>(documents.size()) ? documents[index] : "<none>";
        log.push_back("activated " + active);
    }
    void onViewClosed(int index)
    {
        log.push_back("closed " + std::to_string(index));
        documents.erase(documents.begin() + index);
    }
    // The same move as the tabs: out at `from`, in at `to`.
    void onViewSwapped(int from, int to)
    {
        log.push_back("moved " + std::to_string(from) + " " + std::to_string(to));
        std::string moved = documents[from];
        documents.erase(documents.begin() + from);
        documents.insert(documents.begin() + to, moved);
    }
    void onCloseClicked(int index)
    {
        log.push_back("close clicked " + std::to_string(index));
        view->closeChild(index);
    }
    void watch(MultiView* watched)
    {
        view = watched;
        Object::link(view, this, u"viewActivated", NY_METHOD(ViewOwner::onViewActivated));
        Object::link(view, this, u"viewClosed", NY_METHOD(ViewOwner::onViewClosed));
        Object::link(view, this, u"viewSwapped", NY_METHOD(ViewOwner::onViewSwapped));
        Object::link(view, this, u"closeClicked", NY_METHOD(ViewOwner::onCloseClicked));
    }
    // The document first, as an application adds it, then its view.
    Widget* open(std::string const& name, char16_t const* className = u"NyToolkit.NytkWidget")
    {
        documents.push_back(name);
        OwnedString label(std::u16string(name.begin(), name.end()));
        OwnedString type(className);
        return view->addChild(type, label, 0);
    }
    std::string joinedLog() const
    {
        std::string text;
        for (std::string const& line : log)
            text += (text.empty() ? "" : ", ") + line;
        return text;
    }

    MultiView* view = nullptr;
    std::vector<std::string> documents;
    std::vector<std::string> log;
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
    bool suggestClose() override
    {
        ++asked;
        return false;
    }
    static inline int asked = 0;
};

NyCore::TypeData StubbornView::MetaData = {&NyToolkit::NytkWidget::MetaData, nullptr, u"Tests.StubbornView"_str,
                                           NyCore::NoMethods, NyCore::NoEvents, &StubbornView::__create,
                                           sizeof(StubbornView), 0, nullptr};

std::uint32_t scaled70(std::uint32_t rgb)
{
    return (((rgb >> 16) & 0xFF) * 7 / 10) << 16 | (((rgb >> 8) & 0xFF) * 7 / 10) << 8 | (rgb & 0xFF) * 7 / 10;
}

// Lets the server turn the input sent so far into events and serves them all,
// for steps after which nothing may have changed.
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
        StubbornView::asked = 0;
    }
    void TearDown() override
    {
        button(false);
        closeWindow();
    }
    void closeWindow()
    {
        if (top)
            top->close();
        top = nullptr;
    }
    // A new view in a new window, watched by a new owner->
    MultiView* makeView(int w, int h)
    {
        closeWindow();
        top = topWindow(w + 20, h + 20, u"NyToolkit.NytkWidget");
        view = static_cast<MultiView*>(Widget::create(top, u"NyUser.Views.MultiView", 0, 10, 10, w, h));
        tabs = view->get$tabs();
        EXPECT_TRUE(runUntil([&] { return mapped(tabs); }));
        owner = std::make_unique<ViewOwner>();
        owner->watch(view);
        return view;
    }
    std::string labels() const
    {
        std::string text;
        for (int i = 0; i < tabs->get$count(); ++i)
            text += (i ? " " : "") + toUtf8(tabs->getLabel(i));
        return text;
    }
    // The tab's centre in the strip, as it stands now.
    int tabCentre(int index) const { return tabs->tabToX(index) - tabs->get$offset() + tabs->getTabWidth(index) / 2; }
    void clickTab(int index)
    {
        pointerTo(tabs, tabCentre(index), tabs->get$height() / 2);
        click();
    }
    bool shows(int index) const
    {
        for (int i = 0; i < view->get$childCount(); ++i)
            if ((i == index) == bool(view->getChild(i)->get$flags() & WidgetFlags::Hidden))
                return false;
        return true;
    }

    Widget* top = nullptr;
    MultiView* view = nullptr;
    ViewTabs* tabs = nullptr;
    std::unique_ptr<ViewOwner> owner;
};

TEST_F(MultiViewTest, TabGeometryFollowsTheFont)
{
    makeView(400, 200);
    for (char const* name : {"Calculator 1", "G", "", "A longer label here"})
        owner->open(name);
    NyCore::Graphics::Font* font = view->get$style()->get$font();
    int h = font->get$height();
    int g = view->get$style()->get$gap();
    EXPECT_EQ(tabs->get$height(), (4 * h) / 3);
    EXPECT_EQ(std::tuple(tabs->get$x(), tabs->get$y(), tabs->get$width()), std::tuple(g, g, 400 - 2 * g));
    WidgetRect childAt{view->getChild(0)->get$x(), view->getChild(0)->get$y(), view->getChild(0)->get$width(),
                       view->getChild(0)->get$height()};
    int stripH = (4 * h) / 3;
    EXPECT_EQ(std::tuple(childAt.x, childAt.y, childAt.width, childAt.height),
              std::tuple(g, stripH + 2 * g, 400 - 2 * g, 200 - stripH - 3 * g));
    int x = 0;
    for (int i = 0; i < tabs->get$count(); ++i) {
        int expected = font->measure(tabs->getLabel(i)) + g + 2 * ((3 * h) / 4);
        EXPECT_EQ(tabs->getTabWidth(i), expected) << labels() << " tab " << i;
        EXPECT_EQ(tabs->tabToX(i), x) << "tab " << i;
        EXPECT_EQ(tabs->pointToTab(x + expected / 2, stripH / 2), i) << "tab " << i;
        x += expected;
    }
    EXPECT_EQ(tabs->get$totalWidth(), x);
    EXPECT_EQ(tabs->pointToTab(x + 1, 1), -1) << "right of the last tab";
    EXPECT_EQ(tabs->get$areaWidth(), tabs->get$width()) << "no buttons";

    // Buttons from the right edge inwards, each centred by its own margin.
    tabs->enableButtons(true, false, true);
    auto* icons = view->get$style()->getIcons(NyToolkit::Style::Close);
    auto* arrows = view->get$style()->getIcons(NyToolkit::Style::HArrow);
    int closeMargin = (stripH - icons->get$height()) / 2;
    int arrowMargin = (stripH - arrows->get$height()) / 2;
    int closeX = tabs->get$width() - closeMargin - icons->get$width();
    int toLastX = closeX - arrowMargin - arrows->get$width();
    int toFirstX = toLastX - arrowMargin - arrows->get$width();
    struct ButtonCase {
        int position, x, y, w;
    } const placed[] = {{ViewTabs::CloseButton, closeX, closeMargin, icons->get$width()},
                        {ViewTabs::ScrollToLast, toLastX, arrowMargin, arrows->get$width()},
                        {ViewTabs::ScrollToFirst, toFirstX, arrowMargin, arrows->get$width()}};
    for (ButtonCase const& c : placed) {
        WidgetRect r{};
        ASSERT_TRUE(tabs->getButtonRect(c.position, &r)) << c.position;
        EXPECT_EQ(std::tuple(r.x, r.y, r.width), std::tuple(c.x, c.y, c.w)) << "button " << c.position;
    }
    EXPECT_FALSE(tabs->hasButton(ViewTabs::CollapseButton));
    EXPECT_EQ(tabs->get$areaWidth(), toFirstX - arrowMargin);
}

TEST_F(MultiViewTest, ClickActivatesATabAndShowsItsChild)
{
    makeView(420, 160);
    for (char const* name : {"One", "Two", "Three"})
        owner->open(name);
    EventLog activated;
    ASSERT_TRUE(activated.listen(tabs, u"TabActivated"));
    EXPECT_EQ(owner->joinedLog(), "activated One, activated Two, activated Three") << "each new tab is activated";
    EXPECT_TRUE(shows(2));
    owner->log.clear();
    struct Step {
        int click;
        char const* events;
        char const* ownerLog;
    } const steps[] = {{0, "0", "activated One"}, {1, "0 1", "activated One, activated Two"},
                       {1, "0 1", "activated One, activated Two"}};
    for (Step const& s : steps) {
        clickTab(s.click);
        ASSERT_TRUE(runUntil([&] { return tabs->get$active() == s.click && activated.firstArguments() == s.events; }))
            << "click on " << s.click << ": " << activated.firstArguments();
        EXPECT_EQ(owner->joinedLog(), s.ownerLog);
        EXPECT_TRUE(shows(s.click)) << s.click;
        EXPECT_EQ(view->get$activeViewIndex(), s.click);
    }
    ASSERT_TRUE(runUntil([&] { return mapped(view->getChild(1)) && !mapped(view->getChild(0)); }));

    // The active tab: its colour and full-height frame bars; a normal tab: the
    // strip's colour and shorter bars at 70 percent of it.
    int stripH = tabs->get$height();
    int h = view->get$style()->get$font()->get$height();
    std::uint32_t frame = view->getColor(NyToolkit::Style::Frame);
    int activeX = tabs->tabToX(1);
    int normalX = tabs->tabToX(2);
    ASSERT_TRUE(runUntil([&] { return pixelAt(tabs->get$nativeWindow(), activeX + 2, 1) == ViewTabs::ActiveTabColor; }));
    expectPixels(tabs->get$nativeWindow(),
                 {{"active tab", activeX + 2, 1, ViewTabs::ActiveTabColor},
                  {"active left bar top", activeX, 0, frame},
                  {"active right bar bottom", tabs->tabToX(2) - 1, stripH - 1, frame},
                  {"normal tab", normalX + 2, 1, ViewTabs::StripColor},
                  {"normal bar middle", normalX, stripH / 2, scaled70(ViewTabs::StripColor)},
                  {"normal bar leaves the top", normalX, h / 4 - 1, ViewTabs::StripColor},
                  {"right of the last tab", tabs->get$totalWidth() + 3, 1, ViewTabs::StripColor}});
}

TEST_F(MultiViewTest, DraggingATabMovesItAndTheOwnerFollows)
{
    makeView(560, 160);
    std::vector<Widget*> created;
    for (char const* name : {"A", "B", "C", "D"})
        created.push_back(owner->open(name));
    EventLog moves;
    ASSERT_TRUE(moves.listen(tabs, u"TabMoved"));
    owner->log.clear();

    // A is pressed (and so activated), then dragged in one move over B and C
    // to the far end of D.
    int y = tabs->get$height() / 2;
    pointerTo(tabs, tabCentre(0), y);
    button(true);
    ASSERT_TRUE(runUntil([&] { return tabs->get$active() == 0; }));
    pointerTo(tabs, tabs->tabToX(3) + tabs->getTabWidth(3) - 2, y);
    ASSERT_TRUE(runUntil([&] { return moves.count() > 0; }));
    button(false);
    ASSERT_TRUE(runUntil([&] { return !(tabs->get$flags() & WidgetFlags::PointerCaptured); }));
    ASSERT_EQ(moves.count(), 1) << "one move, not a step per place";
    EXPECT_EQ(moves.last(), (EventLog::Call{0, 3}));
    EXPECT_EQ(owner->joinedLog(), "activated A, moved 0 3");
    EXPECT_EQ(labels(), "B C D A");
    EXPECT_EQ(owner->documents, (std::vector<std::string>{"B", "C", "D", "A"})) << "documents follow the tabs";
    std::vector<Widget*> const expectedChildren = {created[1], created[2], created[3], created[0]};
    for (int i = 0; i < 4; ++i)
        EXPECT_EQ(view->getChild(i), expectedChildren[i]) << "child " << i;
    EXPECT_EQ(tabs->get$active(), 3) << "the moved tab stays active";
    EXPECT_TRUE(shows(3));
    EXPECT_EQ(view->getIndex(created[0]), 3);

    // A narrow tab passing a wide one moves only once the pointer is where it
    // will stand, and does not jump back when the pointer returns a little.
    makeView(560, 160);
    for (char const* name : {"n", "A much wider tab", "z"})
        owner->open(name);
    owner->log.clear();
    moves.clear();
    ASSERT_TRUE(moves.listen(tabs, u"TabMoved"));
    int narrow = tabs->getTabWidth(0);
    int wide = tabs->getTabWidth(1);
    ASSERT_LT(narrow, wide);
    pointerTo(tabs, narrow / 2, y);
    button(true);
    ASSERT_TRUE(runUntil([&] { return tabs->get$active() == 0; }));
    struct DragStep {
        char const* what;
        int x;
        char const* labels;
        int moves;
    } const steps[] = {
        {"just into the wide tab", narrow + 2, "n A much wider tab z", 0},
        {"short of where it would stand", narrow + wide - narrow - 1, "n A much wider tab z", 0},
        {"where it will stand", narrow + wide - narrow + 1, "A much wider tab n z", 1},
        {"back a little, still in the wide tab", wide - 2, "A much wider tab n z", 1},
        {"back to the wide tab's start", narrow - 1, "n A much wider tab z", 2},
    };
    for (DragStep const& s : steps) {
        pointerTo(tabs, s.x, y);
        settle();
        EXPECT_EQ(labels(), s.labels) << s.what;
        EXPECT_EQ(moves.count(), s.moves) << s.what;
    }
    button(false);
    ASSERT_TRUE(runUntil([&] { return !(tabs->get$flags() & WidgetFlags::PointerCaptured); }));
    EXPECT_EQ(owner->documents, (std::vector<std::string>{"n", "A much wider tab", "z"}));
}

TEST_F(MultiViewTest, ClosingRemovesTheDocumentBeforeTheNeighbourIsActivated)
{
    struct CloseCase {
        char const* what;
        int active, close;
        int result;
        char const* log;
        char const* labels;
        int activeAfter;
        char const* activeDocument;
    } const cases[] = {
        {"the active middle tab", 1, 1, 1, "closed 1, activated C", "A C D", 1, "C"},
        {"the active last tab", 3, 3, 1, "closed 3, activated C", "A B C", 2, "C"},
        {"an inactive tab before the active one", 2, 0, 1, "closed 0", "B C D", 1, "C"},
        {"an inactive tab after the active one", 0, 2, 1, "closed 2", "A B D", 0, "A"},
        {"outside the tabs", 0, 4, 0, "", "A B C D", 0, "A"},
    };
    for (CloseCase const& c : cases) {
        makeView(400, 120);
        for (char const* name : {"A", "B", "C", "D"})
            owner->open(name);
        view->activate(c.active);
        owner->log.clear();
        EXPECT_EQ(view->closeChild(c.close), c.result) << c.what;
        EXPECT_EQ(owner->joinedLog(), c.log) << c.what;
        EXPECT_EQ(labels(), c.labels) << c.what;
        EXPECT_EQ(tabs->get$active(), c.activeAfter) << c.what;
        EXPECT_EQ(owner->active, c.activeDocument) << c.what << ": the active document is the one shown";
        EXPECT_EQ(owner->documents[tabs->get$active()], c.activeDocument) << c.what;
        EXPECT_EQ(view->get$childCount(), tabs->get$count()) << c.what;
        EXPECT_TRUE(shows(c.activeAfter)) << c.what;
    }

    // A child that refuses: asked once, nothing changes and nothing is sent.
    makeView(400, 120);
    owner->open("A");
    owner->open("Stubborn", u"Tests.StubbornView");
    owner->open("C");
    view->activate(1);
    owner->log.clear();
    EXPECT_EQ(view->closeChild(1), 0);
    EXPECT_EQ(StubbornView::asked, 1);
    EXPECT_EQ(std::tuple(labels(), tabs->get$active(), owner->joinedLog()), std::tuple("A Stubborn C", 1, ""));
    EXPECT_EQ(owner->documents.size(), 3u);

    // The only tab closed leaves nothing active and activates nothing.
    makeView(400, 120);
    owner->open("Only");
    owner->log.clear();
    EXPECT_EQ(view->closeChild(0), 1);
    EXPECT_EQ(std::tuple(tabs->get$count(), tabs->get$active(), view->get$activeViewIndex(), owner->joinedLog()),
              std::tuple(0, -1, -1, std::string("closed 0")));
    EXPECT_EQ(view->getChild(0), nullptr);
}

TEST_F(MultiViewTest, CloseButtonAsksTheOwner)
{
    makeView(400, 120);
    for (char const* name : {"A", "B", "C"})
        owner->open(name);
    tabs->enableButtons(true, false, false);
    clickTab(1);
    ASSERT_TRUE(runUntil([&] { return tabs->get$active() == 1; }));
    owner->log.clear();
    WidgetRect close{};
    ASSERT_TRUE(tabs->getButtonRect(ViewTabs::CloseButton, &close));
    // The close picture's middle, in the icon set's stroke colour.
    ASSERT_TRUE(runUntil([&] { return pixelAt(tabs->get$nativeWindow(), close.x + 5, close.y + 5) == 0x606060; }));

    // A press that leaves the button before the release is no click.
    pointerTo(tabs, close.x + close.width / 2, close.y + close.height / 2);
    button(true);
    ASSERT_TRUE(runUntil([&] { return tabs->get$flags() & WidgetFlags::PointerCaptured; }));
    pointerTo(tabs, close.x - 30, close.y);
    button(false);
    ASSERT_TRUE(runUntil([&] { return !(tabs->get$flags() & WidgetFlags::PointerCaptured); }));
    EXPECT_EQ(owner->joinedLog(), "");

    pointerTo(tabs, close.x + close.width / 2, close.y + close.height / 2);
    click();
    ASSERT_TRUE(runUntil([&] { return tabs->get$count() == 2; }));
    EXPECT_EQ(owner->joinedLog(), "close clicked 1, closed 1, activated C");
    EXPECT_EQ(labels(), "A C");
    EXPECT_EQ(owner->documents, (std::vector<std::string>{"A", "C"}));
    EXPECT_TRUE(shows(1));
}

TEST_F(MultiViewTest, ScrollButtonsFollowTheOverflowAndRepeatWhileHeld)
{
    makeView(300, 100);
    tabs->enableButtons(true, false, true);
    // Tabs are added until they overflow; the scroll buttons come on exactly then.
    int added = 0;
    while (tabs->get$totalWidth() <= tabs->get$areaWidth()) {
        EXPECT_FALSE(tabs->isButtonEnabled(ViewTabs::ScrollToLast)) << added << " tabs fit";
        EXPECT_FALSE(tabs->isButtonEnabled(ViewTabs::ScrollToFirst)) << added << " tabs fit";
        owner->open("Graph " + std::to_string(++added));
        ASSERT_LT(added, 40);
    }
    EXPECT_TRUE(tabs->isButtonEnabled(ViewTabs::ScrollToLast));
    EXPECT_TRUE(tabs->isButtonEnabled(ViewTabs::ScrollToFirst));
    // Two more, so that holding a button takes several steps.
    owner->open("Graph " + std::to_string(++added));
    owner->open("Graph " + std::to_string(++added));
    int range = tabs->get$totalWidth() - tabs->get$areaWidth();
    ASSERT_GT(range, 3 * ViewTabs::ScrollStep);
    EXPECT_EQ(tabs->get$offset(), range) << "the new active tab, the last, is scrolled into view";
    view->activate(0);
    EXPECT_EQ(tabs->get$offset(), 0) << "the first tab activated from code is scrolled into view";

    WidgetRect toLast{}, toFirst{};
    ASSERT_TRUE(tabs->getButtonRect(ViewTabs::ScrollToLast, &toLast));
    ASSERT_TRUE(tabs->getButtonRect(ViewTabs::ScrollToFirst, &toFirst));
    // One click: one step.
    pointerTo(tabs, toLast.x + toLast.width / 2, toLast.y + toLast.height / 2);
    click();
    ASSERT_TRUE(runUntil([&] { return !tabs->get$scrolling() && tabs->get$offset() > 0; }));
    EXPECT_EQ(tabs->get$offset(), std::min(ViewTabs::ScrollStep, range));
    // Held: it repeats until the end of the range, and stops on the release.
    button(true);
    ASSERT_TRUE(runUntil([&] { return tabs->get$offset() == range; })) << tabs->get$offset();
    EXPECT_TRUE(tabs->get$scrolling());
    button(false);
    ASSERT_TRUE(runUntil([&] { return !tabs->get$scrolling(); }));
    pointerTo(tabs, toFirst.x + toFirst.width / 2, toFirst.y + toFirst.height / 2);
    button(true);
    ASSERT_TRUE(runUntil([&] { return tabs->get$offset() == 0; })) << tabs->get$offset();
    // The steps copied the tabs still in view sideways and drew the rest:
    // the strip is as a whole drawing leaves it.
    int stripH = tabs->get$height();
    expectPixels(tabs->get$nativeWindow(),
                 {{"active first tab's left bar", 0, 0, view->getColor(NyToolkit::Style::Frame)},
                  {"active first tab", 2, 1, ViewTabs::ActiveTabColor},
                  {"second tab's left bar", tabs->tabToX(1), stripH / 2, scaled70(ViewTabs::StripColor)},
                  {"second tab", tabs->tabToX(1) + 2, 1, ViewTabs::StripColor},
                  {"third tab's left bar", tabs->tabToX(2), stripH / 2, scaled70(ViewTabs::StripColor)}});
    button(false);
    ASSERT_TRUE(runUntil([&] { return !tabs->get$scrolling(); }));

    // The strip drawn after steps is the strip drawn whole: the first tab's
    // left bar at x 0 again.
    tabs->set$offset(range);
    EXPECT_EQ(tabs->get$offset(), range);
    tabs->set$offset(range + 50);
    EXPECT_EQ(tabs->get$offset(), range) << "kept within the range";

    // Removing tabs until they fit: the offset never exceeds the new range,
    // and is 0 with the buttons off once everything fits.
    while (tabs->get$count() > 1 && tabs->get$totalWidth() > tabs->get$areaWidth()) {
        EXPECT_EQ(view->closeChild(tabs->get$count() - 1), 1);
        EXPECT_LE(tabs->get$offset(), std::max(tabs->get$totalWidth() - tabs->get$areaWidth(), 0));
    }
    EXPECT_EQ(tabs->get$offset(), 0);
    EXPECT_FALSE(tabs->isButtonEnabled(ViewTabs::ScrollToLast));
    EXPECT_FALSE(tabs->isButtonEnabled(ViewTabs::ScrollToFirst));
    // A disabled button takes no press.
    pointerTo(tabs, toLast.x + toLast.width / 2, toLast.y + toLast.height / 2);
    click();
    settle();
    EXPECT_EQ(tabs->get$offset(), 0);
    EXPECT_FALSE(tabs->get$scrolling());
}

TEST_F(MultiViewTest, PictureOfTabsInASplitter)
{
    top = topWindow(560, 240, u"NyToolkit.NytkWidget");
    auto* splitter =
        static_cast<NyUser::Views::HSplitter*>(Widget::create(top, u"NyUser.Views.HSplitter", 0, 0, 0, 560, 240));
    OwnedString multiClass(u"NyUser.Views.MultiView"), labelClass(u"NyToolkit.Label");
    std::uint32_t const resizableShared = NyUser::Views::Splitter::ResizableFlag | 0x4;
    view = static_cast<MultiView*>(splitter->addChild(-1, multiClass, resizableShared, 400));
    auto* side = static_cast<NyToolkit::Label*>(splitter->addChild(-1, labelClass, resizableShared, 160));
    side->setText(OwnedString(u"Definitions"));
    side->set$textAlign(NyCore::Graphics::TextFlags::CenterHorizontal | NyCore::Graphics::TextFlags::CenterVertical);
    tabs = view->get$tabs();
    owner = std::make_unique<ViewOwner>();
    owner->watch(view);
    tabs->enableButtons(true, false, true);
    for (char const* name : {"Calculator 1", "Surface graph", "Commands", "Lights", "Help", "Calculator 2"}) {
        auto* page = static_cast<NyToolkit::Label*>(owner->open(name, u"NyToolkit.Label"));
        page->setText(OwnedString(u"View of " + std::u16string(name, name + std::string(name).size())));
        page->set$textAlign(NyCore::Graphics::TextFlags::CenterHorizontal | NyCore::Graphics::TextFlags::CenterVertical);
    }
    view->activate(1);
    ASSERT_TRUE(splitter->hasBarAfter(0));
    ASSERT_TRUE(tabs->isButtonEnabled(ViewTabs::ScrollToLast)) << "the tabs overflow";
    ASSERT_TRUE(runUntil([&] { return mapped(view->getChild(1)); }));
    EXPECT_TRUE(saveScreenshot(top, "tabs"));
}

}
