// Splitters on a real X server: how fixed and sharing panes divide the
// space (rounding handed round in turn, a splitter that had no room), the
// bars, the resize pointer, and bars dragged with the mouse.
#include <gtest/gtest.h>

#include <X11/extensions/XTest.h>

#include <tuple>
#include <vector>

#include "nycore/system/event_loop.h"
#include "nyuser/views/h_splitter.h"
#include "nyuser/views/v_splitter.h"
#include "tests/support/run_until.h"
#include "tests/support/strings.h"
#include "tests/support/windows.h"

using namespace TestSupport;
using NyCore::System::Widget;
using NyUser::Views::Splitter;
namespace PointerShapes = NyCore::System::PointerShapes;
namespace WidgetFlags = NyCore::System::WidgetFlags;

namespace {

constexpr std::uint32_t Resizable = Splitter::ResizableFlag;

class SplitterTest : public WindowTest {
protected:
    void TearDown() override
    {
        XTestFakeButtonEvent(display(), 1, False, CurrentTime);
        if (top)
            top->close();
    }
    Splitter* make(char16_t const* className, int w, int h)
    {
        if (top)
            top->close();
        top = topWindow(w + 20, h + 20, u"NyToolkit.NytkWidget");
        auto* splitter = static_cast<Splitter*>(Widget::create(top, className, 0, 10, 10, w, h));
        EXPECT_TRUE(runUntil([&] { return mapped(splitter); }));
        return splitter;
    }
    static Widget* add(Splitter* splitter, std::uint32_t flags, int size)
    {
        OwnedString type(u"NyToolkit.NytkWidget");
        return splitter->addChild(-1, type, flags, size);
    }
    static std::vector<int> sizes(Splitter* splitter)
    {
        std::vector<int> result;
        for (int i = 0; i < splitter->get$childCount(); ++i)
            result.push_back(splitter->getPaneSize(i));
        return result;
    }
    Widget* top = nullptr;
};

TEST_F(SplitterTest, SharingPanesDivideTheRestWithTheRemainderInTurn)
{
    Splitter* v = make(u"NyUser.Views.VSplitter", 100, 300);
    std::uint32_t const shares = v->get$shareFlag();
    EXPECT_EQ(shares, 8u);
    add(v, shares, 100);
    EXPECT_EQ(sizes(v), (std::vector<int>{300})) << "the only sharing pane takes everything";
    add(v, shares, 200);
    EXPECT_EQ(sizes(v), (std::vector<int>{100, 200})) << "the new pane takes its size, the other the rest";
    EXPECT_EQ(std::tuple(v->getChild(1)->get$y(), v->getChild(1)->get$height(), v->getChild(1)->get$width()),
              std::tuple(100, 200, 100));
    // Each new height shares out in proportion (new x size / old); the pixel
    // that rounding leaves goes to one pane, the next time to the other.
    struct ResizeCase {
        int height;
        std::vector<int> sizes;
    } const resizes[] = {{301, {101, 200}}, {302, {101, 201}}, {303, {102, 201}}, {300, {100, 200}}, {600, {200, 400}}};
    for (ResizeCase const& c : resizes) {
        v->setSize(100, c.height);
        EXPECT_EQ(sizes(v), c.sizes) << "height " << c.height;
        EXPECT_EQ(v->get$sharedSpace(), c.height) << "height " << c.height;
    }

    // A fixed pane keeps its size and takes it from the shared space.
    Splitter* h = make(u"NyUser.Views.HSplitter", 400, 100);
    EXPECT_EQ(h->get$shareFlag(), 4u);
    add(h, 0, 90);
    add(h, 4, 0);
    add(h, 4, 0);
    EXPECT_EQ(sizes(h), (std::vector<int>{90, 155, 155})) << "a size of 0 asks for an equal share";
    h->setSize(500, 100);
    EXPECT_EQ(sizes(h), (std::vector<int>{90, 205, 205}));
    EXPECT_EQ(std::tuple(h->getChild(2)->get$x(), h->getChild(2)->get$width()), std::tuple(295, 205));
    OwnedString type(u"NyToolkit.NytkWidget");
    h->addChild(0, type, 0, 60);
    EXPECT_EQ(sizes(h), (std::vector<int>{60, 90, 175, 175})) << "inserted first, taken from the shared space";
    EXPECT_EQ(h->closeChild(0), 0);
    EXPECT_EQ(h->get$childCount(), 4);
}

TEST_F(SplitterTest, SpaceAfterNoneIsSharedEqually)
{
    Splitter* v = make(u"NyUser.Views.VSplitter", 100, 350);
    add(v, 0, 50);
    add(v, 8, 100);
    add(v, 8, 200);
    EXPECT_EQ(sizes(v), (std::vector<int>{50, 100, 200}));
    struct Step {
        int height;
        std::vector<int> sizes;
    } const steps[] = {{50, {50, 0, 0}}, {20, {50, 0, 0}}, {351, {50, 151, 150}}, {352, {50, 151, 151}}};
    for (Step const& s : steps) {
        v->setSize(100, s.height);
        EXPECT_EQ(sizes(v), s.sizes) << "height " << s.height;
    }
}

TEST_F(SplitterTest, BarsAreDraggedWithinTheMinimumSizes)
{
    Splitter* h = make(u"NyUser.Views.HSplitter", 400, 120);
    add(h, Resizable, 100);
    add(h, Resizable | 4, 0);
    add(h, Resizable, 80);
    add(h, 4, 0);
    int bar = h->get$barThickness();
    EXPECT_EQ(bar, h->get$style()->get$font()->get$height() / 3);
    ASSERT_GT(bar, 0);
    EXPECT_EQ(std::tuple(h->hasBarAfter(0), h->hasBarAfter(1), h->hasBarAfter(2), h->hasBarAfter(3)),
              std::tuple(true, true, false, false))
        << "bars only between two resizable panes";
    int shared = 400 - 100 - 80 - 2 * bar;
    EXPECT_EQ(sizes(h), (std::vector<int>{100, shared / 2 + shared % 2, 80, shared / 2}));
    EXPECT_EQ(h->get$pointerShape(), PointerShapes::SizeWE);
    EXPECT_EQ(make(u"NyUser.Views.VSplitter", 50, 50)->get$pointerShape(), PointerShapes::SizeNS);
    h = make(u"NyUser.Views.HSplitter", 400, 120);
    add(h, Resizable, 100);
    add(h, Resizable | 4, 0);
    add(h, Resizable, 80);
    add(h, 4, 0);
    EXPECT_EQ(h->getChild(0)->get$pointerShape(), PointerShapes::Arrow) << "panes keep a pointer of their own";
    h->setMinimumSize(2, 30);
    std::vector<int> const start = sizes(h);
    int middle = start[1];

    // Each drag: the bar's pane, the pointer's way from the bar's middle, the sizes after it.
    struct Drag {
        char const* what;
        int pane;
        std::vector<int> moves;
        std::vector<int> sizes;
    } const drags[] = {
        {"first bar right", 0, {30}, {130, middle - 30, 80, start[3]}},
        {"first bar far left, to the minimum 0", 0, {-200}, {0, middle + 100, 80, start[3]}},
        {"back right from where it stopped", 0, {-200, -150}, {0, middle + 100, 80, start[3]}},
        {"second bar far right, to the minimum 30", 1, {300}, {0, middle + 150, 30, start[3]}},
        {"second bar left again", 1, {-40}, {0, middle + 110, 70, start[3]}},
    };
    for (Drag const& d : drags) {
        int y = 60;
        int from = h->paneStart(d.pane) + h->getPaneSize(d.pane) + bar / 2;
        ASSERT_EQ(h->barAt(from), d.pane) << d.what;
        pointerTo(h, from, y);
        XTestFakeButtonEvent(display(), 1, True, CurrentTime);
        ASSERT_TRUE(runUntil([&] { return h->get$flags() & WidgetFlags::PointerCaptured; })) << d.what;
        for (int move : d.moves)
            pointerTo(h, from + move, y);
        XTestFakeButtonEvent(display(), 1, False, CurrentTime);
        ASSERT_TRUE(runUntil([&] { return !(h->get$flags() & WidgetFlags::PointerCaptured); })) << d.what;
        EXPECT_EQ(sizes(h), d.sizes) << d.what;
        EXPECT_EQ(h->getChild(d.pane + 1)->get$x(), h->paneStart(d.pane + 1)) << d.what;
    }
    // The fixed panes keep their dragged sizes when the splitter grows.
    std::vector<int> dragged = sizes(h);
    h->setSize(500, 120);
    std::vector<int> grown = sizes(h);
    EXPECT_EQ(std::tuple(grown[0], grown[2]), std::tuple(dragged[0], dragged[2]));
    EXPECT_EQ(grown[1] + grown[3], dragged[1] + dragged[3] + 100);

    // A press beside the bars drags nothing.
    pointerTo(h, h->paneStart(1) + 5, 60);
    XTestFakeButtonEvent(display(), 1, True, CurrentTime);
    pointerTo(h, h->paneStart(1) + 45, 60);
    XTestFakeButtonEvent(display(), 1, False, CurrentTime);
    XSync(display(), False);
    NyCore::System::EventLoop::serviceEvents(nullptr);
    EXPECT_EQ(sizes(h), grown);
}

}
