// Drop lists on a real display: choosing by mouse, keys and wheel, the
// pop-up's size, dismissing it, and drop lists that share one item list.
// The pop-up runs a nested event loop, so input is given from inside it by
// steps that each wait for the state the previous one leads to.
#include <gtest/gtest.h>

#include <X11/keysym.h>

#include <functional>
#include <tuple>
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

// The form on screen and focused (formFromText's placing of the root reads past its digits).
Form* readForm(std::u16string const& text)
{
    NyCore::XML::Document document;
    xml_doc_ctor(&document);
    xml_parse_buffer(&document, text.data(), static_cast<int>(text.size()), true);
    auto* form = static_cast<Form*>(Loader::read(&document, nullptr, 0));
    xml_node_dtor(&document);
    EXPECT_TRUE(TestSupport::runUntil([&] { return TestSupport::mapped(form); }));
    form->focus();
    return form;
}

class DropListTest : public TestSupport::WindowTest {
protected:
    void SetUp() override
    {
        WindowTest::SetUp();
        std::u16string items;
        for (int i = 0; i < 12; ++i)
            items += u"<item label=\"Item " + std::u16string(1, u'A' + i) + (i % 2 ? u"\"/>" : u"\" icon=\"2\"/>");
        form = readForm(
            u"<NyToolkit.Form x=\"40\" y=\"40\" w=\"320\" h=\"240\">"
            u"<NyToolkit.DropList id=\"a\" x=\"10\" y=\"10\" w=\"150\" h=\"22\" display=\"5\" flags=\"TabStop\">" +
            items +
            u"</NyToolkit.DropList>"
            u"<NyToolkit.DropList id=\"b\" x=\"170\" y=\"10\" w=\"120\" h=\"22\" display=\"1\" flags=\"TabStop\" "
            u"iconsFile=\"icons/colors.icons\"><item label=\"red\" icon=\"0\"/><item label=\"green\" icon=\"1\"/>"
            u"<item label=\"none\"/></NyToolkit.DropList>"
            u"<NyToolkit.SimpleList id=\"s\" x=\"10\" y=\"60\" w=\"150\" h=\"82\" lineHeight=\"20\" iconsFile=\"icons/colors.icons\">" +
            items + u"</NyToolkit.SimpleList></NyToolkit.Form>");
        a = child<DropList>(form, u"a"), b = child<DropList>(form, u"b"), list = child<SimpleList>(form, u"s");
        ASSERT_TRUE(a && b && list && logA.listen(a, u"change") && logB.listen(b, u"change"));
    }
    void TearDown() override { form->close(); }

    int lineHeight() const { return a->get$style()->get$font()->get$height() * 4 / 3; }
    int gap() const { return a->get$style()->get$gap(); }
    static bool isOpen(DropList* list) { return list->get$popUp() && TestSupport::mapped(list->get$popUp()); }
    static bool popUpAt(DropList* list, int index) { return isOpen(list) && list->get$popUp()->get$selectedIndex() == index; }
    static Step clickOpen(DropList* list) { return {always, [list] { TestSupport::pointerTo(list, 20, 10); TestSupport::click(); }}; }
    static bool always() { return true; }

    Form* form = nullptr;
    DropList *a = nullptr, *b = nullptr;
    SimpleList* list = nullptr;
    TestSupport::EventLog logA, logB;
};

TEST_F(DropListTest, MouseChoosesALineAndADismissedPopUpChangesNothing)
{
    // Open, hover the third line, click: item 2 and one "change" with 2. While
    // hovering, the pop-up's line is lit but the drop list's own selection stays.
    int hovered = -99;
    std::vector<std::uint32_t> pixels;
    int lit = gap() + 2 * lineHeight() + 1;
    ASSERT_TRUE(play({clickOpen(a),
                      {[&] { return isOpen(a); }, [&] { TestSupport::pointerTo(a->get$popUp(), 30, lit + 3); }},
                      {[&] { return popUpAt(a, 2); }, [&] {
                           hovered = a->get$selectedIndex();
                           pixels = {TestSupport::pixelAt(a->get$popUp()->get$nativeWindow(), gap() + 1, lit),
                                     TestSupport::pixelAt(a->get$popUp()->get$nativeWindow(), gap() + 1, gap() + 1)};
                           TestSupport::click();
                       }}},
                     [&] { return !a->get$popUp(); }));
    EXPECT_EQ(hovered, -1);
    EXPECT_EQ(pixels, (std::vector{a->getColor(Style::HighlightBackground), a->getColor(Style::Background)}));
    EXPECT_EQ(logA.firstArguments(), "2");
    EXPECT_EQ(TestSupport::toUtf8(a->get$selectedLabel()), "Item C");

    // Dismissed after hovering line 1: by a press outside, or by a press on the
    // bottom border (the pop-up stays and follows the pointer to line 0) and Escape.
    for (bool onBorder : {false, true}) {
        b->set$selectedIndex(0);
        logB.clear();
        bool openAfterBorder = false;
        SimpleList* popUp = nullptr;
        std::vector<Step> steps = {
            clickOpen(b),
            {[&] { return isOpen(b); }, [&] {
                 popUp = b->get$popUp();
                 TestSupport::pointerTo(popUp, 30, gap() + lineHeight() + 3);
             }},
            {[&] { return popUpAt(b, 1); }, [&] {
                 if (onBorder)
                     TestSupport::pointerTo(popUp, 30, popUp->get$height() - 1);
                 else
                     TestSupport::pointerTo(form, 250, 200);
                 TestSupport::click();
             }}};
        if (onBorder)
            steps.insert(steps.end(), {{always, [&] { TestSupport::pointerTo(popUp, 30, gap() + 3); }},
                                       {[&] { return popUpAt(b, 0); }, [&] { TestSupport::tap(XK_Escape); openAfterBorder = true; }}});
        ASSERT_TRUE(play(steps, [&] { return !b->get$popUp(); })) << onBorder;
        EXPECT_EQ(std::tuple(openAfterBorder, logB.count(), b->get$selectedIndex()), std::tuple(onBorder, 0, 0)) << onBorder;
    }
}

TEST_F(DropListTest, PopUpIsAsHighAsItsLinesAndScrollsBeyondThem)
{
    // 12 items with display 5 show 5 lines and scroll; 3 items with display 1
    // (raised to 2) show 2 lines; at the bottom of the screen the pop-up opens above.
    struct Case { DropList* list; int lines, scrollMax; bool atBottom; } const cases[] = {{a, 5, 7, false}, {b, 2, 1, false}, {a, 5, 7, true}};
    NyCore::System::WidgetPoint screen;
    NyCore::System::Widget::screenSize(&screen);
    for (Case const& c : cases) {
        form->setPosition(40, c.atBottom ? screen.y - 40 : 40);
        int height = 0, y = 0, max = 0;
        ASSERT_TRUE(play({clickOpen(c.list), {[&] { return isOpen(c.list); }, [&] {
                              SimpleList* popUp = c.list->get$popUp();
                              height = popUp->get$height(), y = popUp->get$y(), max = popUp->get$vbar().get$max();
                              TestSupport::tap(XK_Escape);
                          }}},
                         [&] { return !c.list->get$popUp(); }));
        int expectedY = c.atBottom ? gap() - height : c.list->get$height() - gap();
        EXPECT_EQ(std::tuple(height, y, max), std::tuple(c.lines * lineHeight() + 2 * gap(), expectedY, c.scrollMax))
            << c.lines << " " << c.atBottom;
    }
}

TEST_F(DropListTest, KeysOpenMoveChooseAndDismiss)
{
    // Rows: the selection before; keys, each with the pop-up's selection it
    // leads to (-2: closed); the drop list's selection, its "change" events,
    // and the pop-up's first line before the last key.
    struct Case { int start; std::vector<std::pair<KeySym, int>> presses; int selected; char const* events; int scroll; };
    Case const cases[] = {
        {-1, {{XK_Down, -1}, {XK_Down, 0}, {XK_Down, 1}, {XK_Return, -2}}, 1, "1", 0},
        {0, {{XK_Down, 0}, {XK_Down, 1}, {XK_Down, 2}, {XK_Down, 3}, {XK_Down, 4}, {XK_Down, 5}, {XK_Return, -2}}, 5, "5", 1},
        {10, {{XK_Up, 10}, {XK_Down, 11}, {XK_Down, 11}, {XK_Up, 10}, {XK_Down, 11}, {XK_Return, -2}}, 11, "11", 7},
        {4, {{XK_Down, 4}, {XK_Up, 3}, {XK_Escape, -2}}, 4, "", 3},
        {4, {{XK_Up, 4}, {XK_Down, 5}, {XK_Tab, -2}}, 4, "", 4},
    };
    for (Case const& c : cases) {
        a->set$selectedIndex(c.start);
        logA.clear();
        a->focus();
        int scroll = -1;
        std::vector<Step> steps = {{[&] { return (a->get$flags() & NyCore::System::WidgetFlags::HasFocus) != 0; }, [] {}}};
        for (std::size_t i = 0; i < c.presses.size(); ++i)
            steps.push_back({[&, before = i ? c.presses[i - 1].second : -3] { return before == -3 || popUpAt(a, before); },
                             [&, key = c.presses[i].first] {
                                 scroll = a->get$popUp() ? a->get$popUp()->get$vscroll() : scroll;
                                 TestSupport::tap(key);
                             }});
        ASSERT_TRUE(play(steps, [&] { return !a->get$popUp(); })) << c.start;
        EXPECT_EQ(std::tuple(a->get$selectedIndex(), logA.firstArguments(), scroll), std::tuple(c.selected, c.events, c.scroll))
            << c.start;
    }
}

TEST_F(DropListTest, WheelStaysWithinTheItemsAndReportsWhatIsStored)
{
    // Rows: selection before, wheel button (4 up, 5 down), clicks, then the
    // selection and the "change" events. A wheel step on "a" afterwards
    // shows that every step on "b" has been handled.
    struct Case { int start; unsigned button; int clicks, selected; char const* events; } const cases[] = {{1, 4, 3, 0, "0"}, {1, 5, 3, 2, "2"}, {-1, 5, 1, 0, "0"}, {-1, 4, 1, 0, "0"}, {2, 5, 2, 2, ""}};
    for (Case const& c : cases) {
        b->set$selectedIndex(c.start);
        a->set$selectedIndex(5);
        logA.clear();
        logB.clear();
        ASSERT_TRUE(play({{always, [&] {
                               TestSupport::pointerTo(b, 20, 10);
                               for (int i = 0; i < c.clicks; ++i)
                                   TestSupport::click(c.button);
                               TestSupport::pointerTo(a, 20, 10);
                               TestSupport::click(4);
                           }}},
                         [&] { return logA.count() == 1; }));
        EXPECT_EQ(std::tuple(b->get$selectedIndex(), logB.firstArguments()), std::tuple(c.selected, c.events))
            << c.start << " " << c.button;
    }
    b->set$selectedIndex(7);
    EXPECT_EQ(std::tuple(b->get$selectedIndex(), logB.last()[0]), std::tuple(-1, -1)) << "beyond the items";
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
                      {[&] { return isOpen(b) && b->get$popUp()->get$selectedIndex() != 7; }, [] { TestSupport::tap(XK_Escape); }}},
                     [&] { return !b->get$popUp(); }));
    EXPECT_EQ(std::tuple(TestSupport::toUtf8(a->get$selectedLabel()), TestSupport::toUtf8(b->get$selectedLabel())),
              std::tuple("Item D", "Item H"));
}

TEST_F(DropListTest, SimpleListSelectsByClickAndKeysAndDrawsItsLines)
{
    // Four 20-pixel lines fit. A click on the third line selects item 2 and
    // takes the focus; each key then leads to a selection and a first line.
    TestSupport::EventLog log;
    ASSERT_TRUE(log.listen(list, u"selectionChange"));
    NyCore::System::WidgetRect client = list->get$client();
    TestSupport::pointerTo(list, 30, client.y + 2 * 20 + 3);
    TestSupport::click();
    ASSERT_TRUE(TestSupport::runUntil(
        [&] { return list->get$selectedIndex() == 2 && (list->get$flags() & NyCore::System::WidgetFlags::HasFocus); }));
    struct Case { KeySym key; int selected, first; } const cases[] = {{XK_Down, 3, 0}, {XK_Down, 4, 1}, {XK_Next, 4, 5}, {XK_Up, 3, 3}, {XK_Prior, 3, 0}};
    for (Case const& c : cases) {
        TestSupport::tap(c.key);
        EXPECT_TRUE(TestSupport::runUntil(
            [&] { return list->get$selectedIndex() == c.selected && list->get$vscroll() == c.first; }))
            << c.selected << " " << c.first;
    }
    list->set$selectedIndex(20);
    EXPECT_EQ(std::tuple(log.firstArguments(), list->get$selectedIndex()), std::tuple("2 3 4 3 -1", -1));

    // Line 3 lit; item 0 shows icon 2, item 1 (no icon) only the indent.
    list->set$selectedIndex(3);
    int iconX = client.x + list->get$style()->get$font()->get$height() / 3 + 4;
    unsigned long window = list->get$nativeWindow();
    TestSupport::expectPixels(window, {{"line 3", client.x + 1, client.y + 61, list->getColor(Style::HighlightBackground)},
                                       {"line 0", client.x + 1, client.y + 1, list->getColor(Style::Background)},
                                       {"no icon on line 1", iconX, client.y + 30, list->getColor(Style::Background)}});
    EXPECT_NE(TestSupport::pixelAt(window, iconX, client.y + 10), list->getColor(Style::Background));
}

}
