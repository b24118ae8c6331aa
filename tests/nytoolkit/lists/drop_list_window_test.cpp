// Drop lists on a real display: choosing by mouse, keys and wheel, the
// pop-up's size, dismissing it, and drop lists that share one item list.
// The pop-up runs a nested event loop, so input is given from inside it by
// steps that each wait for the state the previous one leads to.
#include <gtest/gtest.h>

#include <X11/keysym.h>

#include <functional>
#include <string>
#include <vector>

#include "nycore/graphics/font.h"
#include "nytoolkit/lists/drop_list.h"
#include "nytoolkit/lists/simple_list.h"
#include "tests/support/event_log.h"
#include "tests/support/forms.h"
#include "tests/support/strings.h"

using namespace NyToolkit;
using TestSupport::child;

namespace {

struct Step {
    std::function<bool()> ready;
    std::function<void()> act;
};

// Plays the steps in order from the event loop (also inside nested loops)
// until all are done and `done` holds.
bool play(std::vector<Step> const& steps, std::function<bool()> const& done)
{
    std::size_t next = 0;
    return TestSupport::runUntil([&] {
        while (next < steps.size() && steps[next].ready()) {
            steps[next++].act();
            XSync(TestSupport::display(), False);
        }
        return next == steps.size() && done();
    });
}

class DropListTest : public TestSupport::WindowTest {
protected:
    void SetUp() override
    {
        WindowTest::SetUp();
        std::u16string items;
        for (int i = 0; i < 12; ++i)
            items += u"<item label=\"Item " + std::u16string(1, u'A' + i) + u"\"/>";
        form = TestSupport::formFromText(
            u"<NyToolkit.Form w=\"320\" h=\"240\">"
            u"<NyToolkit.DropList id=\"a\" x=\"10\" y=\"10\" w=\"150\" h=\"22\" display=\"5\" flags=\"TabStop\">" +
            items +
            u"</NyToolkit.DropList>"
            u"<NyToolkit.DropList id=\"b\" x=\"170\" y=\"10\" w=\"120\" h=\"22\" display=\"1\" flags=\"TabStop\" "
            u"iconsFile=\"icons/colors.icons\"><item label=\"red\" icon=\"0\"/><item label=\"green\" icon=\"1\"/>"
            u"<item label=\"none\"/></NyToolkit.DropList></NyToolkit.Form>");
        a = child<DropList>(form, u"a");
        b = child<DropList>(form, u"b");
        ASSERT_TRUE(a && b);
        ASSERT_TRUE(logA.listen(a, u"change") && logB.listen(b, u"change"));
    }
    void TearDown() override { form->close(); }

    int lineHeight() const { return a->get$style()->get$font()->get$height() * 4 / 3; }
    int gap() const { return a->get$style()->get$gap(); }
    static bool isOpen(DropList* list) { return list->get$popUp() && TestSupport::mapped(list->get$popUp()); }
    static bool popUpAt(DropList* list, int index) { return isOpen(list) && list->get$popUp()->get$selectedIndex() == index; }
    // A step that opens the list with a click.
    static Step clickOpen(DropList* list)
    {
        return {[] { return true; }, [list] { TestSupport::pointerTo(list, 20, 10); TestSupport::click(); }};
    }

    Form* form = nullptr;
    DropList* a = nullptr;
    DropList* b = nullptr;
    TestSupport::EventLog logA, logB;
};

TEST_F(DropListTest, MouseChoosesALineAndADismissedPopUpChangesNothing)
{
    // Open, hover the third line, click: item 2 and one "change" with 2.
    // While hovering, the pop-up's line is lit but the drop list's own
    // selection stays until the click.
    int hovered = -99;
    std::uint32_t lit = 0, unlit = 0;
    ASSERT_TRUE(play({clickOpen(a),
                      {[&] { return isOpen(a); },
                       [&] { TestSupport::pointerTo(a->get$popUp(), 30, gap() + 2 * lineHeight() + lineHeight() / 2); }},
                      {[&] { return popUpAt(a, 2); },
                       [&] {
                           hovered = a->get$selectedIndex();
                           auto window = a->get$popUp()->get$nativeWindow();
                           lit = TestSupport::pixelAt(window, gap() + 1, gap() + 2 * lineHeight() + 1);
                           unlit = TestSupport::pixelAt(window, gap() + 1, gap() + 1);
                           TestSupport::click();
                       }}},
                     [&] { return !a->get$popUp(); }));
    EXPECT_EQ(hovered, -1);
    EXPECT_EQ(lit, a->getColor(Style::HighlightBackground));
    EXPECT_EQ(unlit, a->getColor(Style::Background));
    EXPECT_EQ(logA.firstArguments(), "2");
    EXPECT_EQ(a->get$selectedIndex(), 2);
    EXPECT_EQ(std::string(TestSupport::toUtf8(a->get$selectedLabel())), "Item C");

    // Dismissals, each after hovering line 1: a press outside, and a press on
    // the bottom border (which leaves the pop-up open) followed by Escape.
    struct Dismissal {
        char const* name;
        bool onBorder;
    } const dismissals[] = {{"press outside", false}, {"bottom border, then Escape", true}};
    for (Dismissal const& d : dismissals) {
        b->set$selectedIndex(0);
        logB.clear();
        bool openAfterBorder = false;
        SimpleList* popUp = nullptr;
        std::vector<Step> steps = {
            clickOpen(b),
            {[&] { return isOpen(b); },
             [&] { popUp = b->get$popUp(); TestSupport::pointerTo(popUp, 30, gap() + lineHeight() + 3); }},
            {[&] { return popUpAt(b, 1); }, [&] {
                 if (d.onBorder)
                     TestSupport::pointerTo(popUp, 30, popUp->get$height() - 1);
                 else
                     TestSupport::pointerTo(form, 250, 200);
                 TestSupport::click();
             }}};
        // Still open after the border click: it then follows the pointer to line 0.
        if (d.onBorder)
            steps.insert(steps.end(), {{[] { return true; }, [&] { TestSupport::pointerTo(popUp, 30, gap() + 3); }},
                                       {[&] { return popUpAt(b, 0); }, [&] {
                                            openAfterBorder = true;
                                            TestSupport::tap(XK_Escape);
                                        }}});
        ASSERT_TRUE(play(steps, [&] { return !b->get$popUp(); }))
            << d.name;
        EXPECT_EQ(openAfterBorder, d.onBorder) << d.name;
        EXPECT_EQ(logB.count(), 0) << d.name;
        EXPECT_EQ(b->get$selectedIndex(), 0) << d.name;
    }
}

TEST_F(DropListTest, PopUpIsAsHighAsItsLinesAndScrollsBeyondThem)
{
    // 12 items with display 5 show 5 lines and scroll; 3 items with display
    // 1 (raised to 2) show 2 lines.
    struct Case {
        DropList* list;
        int lines;
        int scrollMax;
    } const cases[] = {{a, 5, 7}, {b, 2, 1}};
    for (Case const& c : cases) {
        int height = 0, y = 0, max = 0;
        ASSERT_TRUE(play({clickOpen(c.list), {[&] { return isOpen(c.list); }, [&] {
                              SimpleList* popUp = c.list->get$popUp();
                              height = popUp->get$height();
                              y = popUp->get$y();
                              max = popUp->get$vbar().get$max();
                              TestSupport::tap(XK_Escape);
                          }}},
                         [&] { return !c.list->get$popUp(); }));
        EXPECT_EQ(height, c.lines * lineHeight() + 2 * gap()) << c.lines;
        EXPECT_EQ(y, c.list->get$height() - gap()) << c.lines;
        EXPECT_EQ(max, c.scrollMax) << c.lines;
    }
}

TEST_F(DropListTest, KeysOpenMoveChooseAndDismiss)
{
    // Each row: the selection before, then keys with the pop-up's selection
    // each leads to (-2: the pop-up closed); then the drop list's selection and its "change" events.
    struct Press {
        KeySym key;
        int popUp;
    };
    struct Case {
        int start;
        std::vector<Press> presses;
        int selected;
        char const* events;
        int scroll;  // the pop-up's first line before the last key
    } const cases[] = {
        {-1, {{XK_Down, -1}, {XK_Down, 0}, {XK_Down, 1}, {XK_Return, -2}}, 1, "1", 0},
        {0, {{XK_Down, 0}, {XK_Down, 1}, {XK_Down, 2}, {XK_Down, 3}, {XK_Down, 4}, {XK_Down, 5}, {XK_Return, -2}},
         5, "5", 1},
        {10, {{XK_Up, 10}, {XK_Down, 11}, {XK_Down, 11}, {XK_Up, 10}, {XK_Down, 11}, {XK_Return, -2}}, 11, "11", 7},
        {4, {{XK_Down, 4}, {XK_Up, 3}, {XK_Escape, -2}}, 4, "", 3},
        {4, {{XK_Up, 4}, {XK_Down, 5}, {XK_Tab, -2}}, 4, "", 4},
    };
    for (Case const& c : cases) {
        a->set$selectedIndex(c.start);
        logA.clear();
        a->focus();
        std::vector<Step> steps = {{[&] { return (a->get$flags() & NyCore::System::WidgetFlags::HasFocus) != 0; }, [] {}}};
        int scroll = -1;
        for (std::size_t i = 0; i < c.presses.size(); ++i) {
            int before = i == 0 ? -3 : c.presses[i - 1].popUp;
            steps.push_back({[&, before] { return before == -3 || popUpAt(a, before); },
                             [&, key = c.presses[i].key] {
                                 if (a->get$popUp())
                                     scroll = a->get$popUp()->get$vscroll();
                                 TestSupport::tap(key);
                             }});
        }
        ASSERT_TRUE(play(steps, [&] { return !a->get$popUp(); })) << c.start;
        EXPECT_EQ(a->get$selectedIndex(), c.selected) << c.start;
        EXPECT_EQ(logA.firstArguments(), c.events) << c.start;
        EXPECT_EQ(scroll, c.scroll) << c.start;
    }
}

TEST_F(DropListTest, WheelStaysWithinTheItemsAndReportsWhatIsStored)
{
    // Rows: selection before, wheel button (4 up, 5 down), clicks, then the
    // selection and the "change" events. A wheel step on "a" afterwards
    // shows that every step on "b" has been handled.
    struct Case {
        int start;
        unsigned button;
        int clicks;
        int selected;
        char const* events;
    } const cases[] = {{1, 4, 3, 0, "0"}, {1, 5, 3, 2, "2"}, {-1, 5, 1, 0, "0"}, {-1, 4, 1, 0, "0"}, {2, 5, 2, 2, ""}};
    for (Case const& c : cases) {
        b->set$selectedIndex(c.start);
        a->set$selectedIndex(5);
        logA.clear();
        logB.clear();
        ASSERT_TRUE(play({{[] { return true; }, [&] {
                               TestSupport::pointerTo(b, 20, 10);
                               for (int i = 0; i < c.clicks; ++i)
                                   TestSupport::click(c.button);
                               TestSupport::pointerTo(a, 20, 10);
                               TestSupport::click(4);
                           }}},
                         [&] { return logA.count() == 1; }));
        EXPECT_EQ(b->get$selectedIndex(), c.selected) << c.start << " " << c.button;
        EXPECT_EQ(logB.firstArguments(), c.events) << c.start << " " << c.button;
    }
    // An index beyond the items is stored and reported as -1.
    b->set$selectedIndex(7);
    EXPECT_EQ(b->get$selectedIndex(), -1);
    EXPECT_EQ(logB.last()[0], -1);
}

TEST_F(DropListTest, SharedItemsKeepEachListsOwnSelection)
{
    b->set$contents(a->get$contents());
    EXPECT_EQ(a->get$contents()->get$referenceCount(), 2);
    a->set$selectedIndex(3);
    b->set$selectedIndex(7);
    // Hovering b's pop-up and dismissing it touches neither selection.
    ASSERT_TRUE(play({clickOpen(b),
                      {[&] { return isOpen(b); }, [&] { TestSupport::pointerTo(b->get$popUp(), 30, gap() + lineHeight() + 3); }},
                      {[&] { return isOpen(b) && b->get$popUp()->get$selectedIndex() != 7; },
                       [] { TestSupport::tap(XK_Escape); }}},
                     [&] { return !b->get$popUp(); }));
    EXPECT_EQ(a->get$selectedIndex(), 3);
    EXPECT_EQ(b->get$selectedIndex(), 7);
    EXPECT_EQ(std::string(TestSupport::toUtf8(a->get$selectedLabel())), "Item D");
    EXPECT_EQ(std::string(TestSupport::toUtf8(b->get$selectedLabel())), "Item H");
}

}
