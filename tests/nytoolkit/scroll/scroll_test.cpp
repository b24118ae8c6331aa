// Scroll bars: range arithmetic and layout tables, then real pointer input on
// a scroll view and on standalone bars: arrows (repeated presses, auto-repeat
// with its pause), thumb drags, track pages, the wheel, and the change
// events and pixels each leaves behind.
#include <gtest/gtest.h>

#include <X11/extensions/XTest.h>

#include <string>
#include <vector>

#include "nycore/system/time.h"
#include "nytoolkit/scroll/scroll_bar.h"
#include "nytoolkit/scroll/scroll_view.h"
#include "tests/support/event_log.h"
#include "tests/support/forms.h"

using namespace NyToolkit;
using NyCore::System::WidgetRect;

namespace {

// A scroll view that records what its subclass hooks are told.
class Probe : public ScrollView {
    NY_REFLECTIVE(Probe)
public:
    static NyCore::Object* __create() { return new Probe(); }
    void onVScroll(int change) override { vChanges.push_back(change); }
    void onHScroll(int change) override { hChanges.push_back(change); }
    std::vector<int> vChanges, hChanges;
};

NyCore::TypeData Probe::MetaData = {&ScrollView::MetaData, nullptr, u"Tests.ScrollProbe"_str, NyCore::NoMethods,
                                    NyCore::NoEvents, &Probe::__create, sizeof(Probe), 0, nullptr};

constexpr std::uint32_t Track = 0xE0E0E0, Thumb = 0xA0A0A0, Arrow = 0xE4E4E4, Pressed = 0xB8B8B8;

std::string steps(int from, int to, int by)
{
    std::string text;
    for (int p = from; by > 0 ? p <= to : p >= to; p += by)
        text += (text.empty() ? "" : " ") + std::to_string(p);
    return text;
}

bool sameRect(WidgetRect a, WidgetRect b)
{
    return a.x == b.x && a.y == b.y && a.width == b.width && a.height == b.height;
}

class ScrollTest : public TestSupport::WindowTest {
protected:
    void SetUp() override
    {
        WindowTest::SetUp();
        TestSupport::registerOnce(&Probe::MetaData);
    }
    void TearDown() override
    {
        button(false);
        if (form)
            form->close();
    }
    // A 120 x 100 probe view at (10, 10): its vertical bar is x 103-118, arrows
    // y 1-16 and 67-82, track y 17-66 (50 pixels).
    Probe* makeView(int total, int page)
    {
        form = TestSupport::formFromText(u"<NyToolkit.Form w=\"200\" h=\"140\"><Tests.ScrollProbe id=\"v\" x=\"10\" "
                                         u"y=\"10\" w=\"120\" h=\"100\"/></NyToolkit.Form>");
        auto* view = TestSupport::child<Probe>(form, u"v");
        view->setVRange(total, page);
        log.listen(view, u"vscrollChange");
        return view;
    }
    ScrollBar* makeBar(std::u16string const& attributes)
    {
        form = TestSupport::formFromText(u"<NyToolkit.Form w=\"200\" h=\"140\"><NyToolkit.Scroll id=\"s\" x=\"10\" "
                                         u"y=\"10\" " + attributes + u"/></NyToolkit.Form>");
        auto* bar = TestSupport::child<ScrollBar>(form, u"s");
        log.listen(bar, u"scroll");
        return bar;
    }
    static void button(bool down, unsigned which = 1)
    {
        XTestFakeButtonEvent(TestSupport::display(), which, down, CurrentTime);
        XFlush(TestSupport::display());
    }
    static void pump(int ms)
    {
        std::uint32_t until = NyCore::System::Time::getTickCount() + static_cast<std::uint32_t>(ms);
        TestSupport::runUntil([&] { return NyCore::System::Time::getTickCount() - until < 0x80000000u; });
    }
    static std::uint32_t pixel(NyCore::System::Widget* w, int x, int y)
    {
        return TestSupport::pixelAt(w->get$nativeWindow(), x, y);
    }
    static bool waitPixel(NyCore::System::Widget* w, int x, int y, std::uint32_t rgb)
    {
        return TestSupport::runUntil([&] { return pixel(w, x, y) == rgb; });
    }

    Form* form = nullptr;
    TestSupport::EventLog log;
};

TEST(InlineScroll, RangesAndThumbGeometry)
{
    InlineScroll bar;
    bar.setup(0, 0, 1, 1);
    // Each step: the call, then max, position, page.
    struct Step {
        char const* what;
        int total, page, position;
        int max, expectPosition, expectPage;
    } const stepsTable[] = {{"range 10/4", 10, 4, -1, 6, 0, 4},     {"position 9 stops at max", -1, 0, 9, 6, 6, 4},
                            {"range 3/4 empties", 3, 4, -1, -1, 0, 4}, {"position 2 with nothing", -1, 0, 2, -1, 0, 4},
                            {"page 0 ignored", 5, 0, -1, -1, 0, 4},    {"total -1 ignored", -1, 3, -1, -1, 0, 4},
                            {"range 20/5 then 7", 20, 5, 7, 15, 7, 5}, {"range 9/5 pulls back", 9, 5, -1, 4, 4, 5}};
    for (Step const& s : stepsTable) {
        if (s.total != -1 || s.page != 0)
            bar.setRange(s.total, s.page);
        if (s.position != -1)
            bar.setPosition(nullptr, s.position);
        EXPECT_EQ(bar.get$max(), s.max) << s.what;
        EXPECT_EQ(bar.get$position(), s.expectPosition) << s.what;
        EXPECT_EQ(bar.get$page(), s.expectPage) << s.what;
    }
    bar.setup(-3, 8, 0, 0);
    EXPECT_EQ(bar.get$page(), 1);
    EXPECT_EQ(bar.get$speed(), 1);
    EXPECT_EQ(bar.get$position(), 0);

    // Thumbs of a 16-pixel bar: proportional, never thinner than the bar,
    // never longer than the track, and only draggable with room to move.
    struct Geometry {
        int length, total, page;
        bool horizontal;
        int track, thumb, offsetAtEnd;
        bool draggable;
    } const shapes[] = {{132, 1000, 10, false, 100, 16, 84, true}, {132, 100, 50, true, 100, 50, 50, true},
                        {48, 100, 10, false, 16, 16, 0, false},    {40, 100, 10, true, 8, 8, 0, false},
                        {20, 100, 10, false, 0, 0, 0, false}};
    for (Geometry const& g : shapes) {
        if (g.horizontal)
            bar.reposition(5, 7, g.length, 16);
        else
            bar.reposition(7, 5, 16, g.length);
        bar.setup(1 << 30, g.total, g.page, 1);
        EXPECT_EQ(bar.isHorizontal(), g.horizontal) << g.length;
        EXPECT_EQ(bar.trackLength(), g.track) << g.length;
        EXPECT_EQ(bar.thumbLength(), g.thumb) << g.length;
        EXPECT_EQ(bar.thumbOffset(), g.offsetAtEnd) << g.length;
        EXPECT_EQ(bar.canDrag(), g.draggable) << g.length;
        EXPECT_LE(2 * bar.arrowLength() + bar.trackLength(), g.length) << g.length;
    }
}

TEST_F(ScrollTest, LayoutFollowsBordersBarsAndPadding)
{
    Probe* view = makeView(100, 10);
    struct Case {
        char const* what;
        bool hbar, vbar, border;
        int padding;
        WidgetRect client, h, v;
    } const cases[] = {
        {"everything", true, true, true, 0, {1, 1, 102, 82}, {1, 83, 102, 16}, {103, 1, 16, 82}},
        {"no horizontal bar", false, true, true, 0, {1, 1, 102, 98}, {1, 99, 102, 0}, {103, 1, 16, 98}},
        {"no vertical bar, padding 3", true, false, true, 3, {4, 4, 112, 76}, {1, 83, 118, 16}, {119, 1, 0, 82}},
        {"no border", true, true, false, 0, {0, 0, 104, 84}, {0, 84, 104, 16}, {104, 0, 16, 84}},
    };
    for (Case const& c : cases) {
        view->set$hvisible(c.hbar);
        view->set$vvisible(c.vbar);
        view->set$borderVisible(c.border);
        view->set$padding(c.padding);
        EXPECT_TRUE(sameRect(view->get$client(), c.client)) << c.what;
        EXPECT_TRUE(sameRect(view->get$hbar().getRect(), c.h)) << c.what;
        EXPECT_TRUE(sameRect(view->get$vbar().getRect(), c.v)) << c.what;
        EXPECT_TRUE(view->isPointInClient(c.client.x, c.client.y)) << c.what;
        EXPECT_FALSE(view->isPointInClient(c.client.x + c.client.width, c.client.y)) << c.what;
        EXPECT_TRUE(waitPixel(view, 0, 0, c.border ? 0x808080 : view->get$background())) << c.what;
    }

    // Unchanged positions still reach the subclass and the listeners.
    view->set$vscroll(0);
    view->set$vscroll(95);
    view->vPageUp();
    EXPECT_EQ(view->vChanges, (std::vector<int>{0, 90, -10}));
    EXPECT_EQ(log.firstArguments(), "0 90 80");
}

TEST_F(ScrollTest, ArrowsStepOnEveryPressAndRepeatWhileHeld)
{
    Probe* view = makeView(100, 10);
    ASSERT_TRUE(waitPixel(view, 106, 70, Arrow));
    TestSupport::pointerTo(view, 111, 75);
    TestSupport::click();
    EXPECT_TRUE(TestSupport::runUntil([&] { return view->get$vscroll() == 1; }));
    // The second press with the pointer still in place scrolls as well.
    TestSupport::click();
    EXPECT_TRUE(TestSupport::runUntil([&] { return view->get$vscroll() == 2; }));
    pump(600);
    TestSupport::click();
    EXPECT_TRUE(TestSupport::runUntil([&] { return view->get$vscroll() == 3; }));

    button(true);
    EXPECT_TRUE(TestSupport::runUntil([&] { return view->get$vscroll() >= 6; })) << "repeats while held";
    EXPECT_EQ(pixel(view, 106, 70), Pressed);
    TestSupport::pointerTo(view, 50, 50);
    EXPECT_TRUE(waitPixel(view, 106, 70, Arrow)) << "off the arrow it looks released";
    int paused = view->get$vscroll();
    pump(300);
    EXPECT_EQ(view->get$vscroll(), paused) << "off the arrow the repeat pauses";
    TestSupport::pointerTo(view, 111, 75);
    EXPECT_TRUE(TestSupport::runUntil([&] { return view->get$vscroll() > paused + 1; })) << "and resumes";
    button(false);
    TestSupport::runUntil([&] { return pixel(view, 106, 70) != Pressed; });
    int released = view->get$vscroll();
    pump(300);
    EXPECT_EQ(view->get$vscroll(), released) << "releasing stops";
    EXPECT_EQ(log.firstArguments(), steps(1, released, 1));
    EXPECT_EQ(view->vChanges, std::vector<int>(static_cast<std::size_t>(released), 1));

    // The up arrow, and the horizontal bar's right arrow (x 87-102, y 83-98).
    TestSupport::pointerTo(view, 111, 8);
    TestSupport::click();
    EXPECT_TRUE(TestSupport::runUntil([&] { return view->get$vscroll() == released - 1; }));
    TestSupport::EventLog hlog;
    hlog.listen(view, u"hscrollChange");
    view->setHRange(300, 100);
    TestSupport::pointerTo(view, 95, 91);
    TestSupport::click();
    EXPECT_TRUE(TestSupport::runUntil([&] { return view->get$hscroll() == 1; }));
    EXPECT_EQ(hlog.firstArguments(), "1");
    EXPECT_EQ(view->hChanges, std::vector<int>{1});

    // With nothing left to scroll the bar is all track and ignores the mouse.
    log.clear();
    view->setVRange(3, 4);
    EXPECT_EQ(log.firstArguments(), "0");
    EXPECT_TRUE(waitPixel(view, 106, 20, Track));
    TestSupport::pointerTo(view, 111, 75);
    TestSupport::click();
    pump(100);
    EXPECT_EQ(log.count(), 1);
}

TEST_F(ScrollTest, ThumbDragsPagesAndTheWheel)
{
    Probe* view = makeView(100, 10);
    // max 90; the thumb is 16 pixels with 34 to move in, first at y 17-32.
    ASSERT_TRUE(waitPixel(view, 106, 32, Thumb));
    EXPECT_EQ(pixel(view, 106, 33), Track);
    TestSupport::pointerTo(view, 111, 24);
    button(true);
    TestSupport::pointerTo(view, 111, 24 + 17);
    EXPECT_TRUE(TestSupport::runUntil([&] { return view->get$vscroll() == 45; })) << "half the room, half the range";
    TestSupport::pointerTo(view, 111, 130);
    EXPECT_TRUE(TestSupport::runUntil([&] { return view->get$vscroll() == 90; }));
    EXPECT_TRUE(waitPixel(view, 106, 66, Thumb)) << "the thumb ends at the track's end";
    EXPECT_EQ(pixel(view, 106, 50), Track);
    EXPECT_EQ(pixel(view, 106, 70), Arrow);
    TestSupport::pointerTo(view, 111, -40);
    EXPECT_TRUE(TestSupport::runUntil([&] { return view->get$vscroll() == 0; }));
    button(false);
    EXPECT_TRUE(TestSupport::runUntil([&] { return !view->isScrolling(); }));
    EXPECT_TRUE(waitPixel(view, 106, 17, Thumb));
    EXPECT_EQ(log.last()[0], 0);

    // Track clicks page: below the thumb down, above it up.
    log.clear();
    TestSupport::pointerTo(view, 111, 60);
    TestSupport::click();
    EXPECT_TRUE(TestSupport::runUntil([&] { return view->get$vscroll() == 10; }));
    TestSupport::pointerTo(view, 111, 18);
    TestSupport::click();
    EXPECT_TRUE(TestSupport::runUntil([&] { return view->get$vscroll() == 0; }));
    // A held track pages until the thumb reaches the pointer, and stays.
    TestSupport::pointerTo(view, 111, 50);
    button(true);
    EXPECT_TRUE(TestSupport::runUntil([&] { return pixel(view, 106, 50) == Thumb; }));
    int reached = view->get$vscroll();
    pump(300);
    button(false);
    pump(100);
    EXPECT_EQ(view->get$vscroll(), reached);
    EXPECT_GT(reached, 20);
    EXPECT_LT(reached, 90) << "not to the end";
    EXPECT_EQ(log.firstArguments(), "10 0 " + steps(10, reached, 10));

    // The wheel: one step down moves one unit on, one step up back.
    log.clear();
    TestSupport::pointerTo(view, 50, 50);
    TestSupport::click(5);
    EXPECT_TRUE(TestSupport::runUntil([&] { return view->get$vscroll() == reached + 1; }));
    TestSupport::click(4);
    TestSupport::click(4);
    EXPECT_TRUE(TestSupport::runUntil([&] { return view->get$vscroll() == reached - 1; }));
    EXPECT_EQ(log.firstArguments(), steps(reached + 1, reached - 1, -1));
}

TEST_F(ScrollTest, StandaloneBarsKeepTheirThumbInsideTheTrack)
{
    // Three times as long as thick: the thumb fills the track and cannot move.
    ScrollBar* bar = makeBar(u"w=\"16\" h=\"48\" range=\"100\" visibleRange=\"10\" speed=\"5\"");
    ASSERT_TRUE(waitPixel(bar, 3, 24, Thumb));
    TestSupport::pointerTo(bar, 8, 24);
    button(true);
    TestSupport::pointerTo(bar, 8, 40);
    TestSupport::pointerTo(bar, 8, 90);
    pump(100);
    button(false);
    pump(50);
    EXPECT_EQ(bar->get$position(), 0);
    EXPECT_EQ(log.count(), 0);
    TestSupport::pointerTo(bar, 8, 40);
    TestSupport::click();
    EXPECT_TRUE(TestSupport::runUntil([&] { return bar->get$position() == 5; })) << "the arrows still work";
    EXPECT_EQ(log.firstArguments(), "5");
    form->close();

    // Shorter: the thumb shrinks to the 8-pixel track between the arrows.
    log.clear();
    bar = makeBar(u"w=\"16\" h=\"40\" range=\"100\" position=\"95\" visibleRange=\"10\"");
    EXPECT_EQ(bar->get$position(), 90);
    ASSERT_TRUE(waitPixel(bar, 3, 20, Thumb));
    TestSupport::expectPixels(bar->get$nativeWindow(), {{"first arrow", 3, 14, Arrow},
                                                        {"thumb start", 3, 16, Thumb},
                                                        {"thumb end", 3, 23, Thumb},
                                                        {"second arrow", 3, 25, Arrow}});
    form->close();

    // Horizontal from its shape, set up from the form; the wheel moves by the speed.
    log.clear();
    bar = makeBar(u"w=\"100\" h=\"16\" range=\"100\" position=\"95\" visibleRange=\"10\" speed=\"5\"");
    ASSERT_TRUE(waitPixel(bar, 83, 3, Thumb));
    TestSupport::pointerTo(bar, 92, 8);
    TestSupport::click();
    pump(50);
    EXPECT_EQ(bar->get$position(), 90) << "already at the end";
    TestSupport::pointerTo(bar, 8, 8);
    TestSupport::click();
    EXPECT_TRUE(TestSupport::runUntil([&] { return bar->get$position() == 85; }));
    TestSupport::click(5);
    EXPECT_TRUE(TestSupport::runUntil([&] { return bar->get$position() == 90; }));
    EXPECT_EQ(log.firstArguments(), "85 90");
}

}
