// Splitters on a real X server: how fixed and sharing panes divide the
// space (rounding handed round in turn, a splitter that had no room), the
// bars, the resize pointer, and bars dragged with the mouse.
#include <gtest/gtest.h>

#include <X11/extensions/XTest.h>

#include <tuple>
#include <utility>
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
using Sizes = std::vector<int>;

class SplitterTest : public WindowTest {
protected:
    void TearDown() override
    {
        XTestFakeButtonEvent(display(), 1, False, CurrentTime);
        if (top)
            top->close();
    }
    // A new splitter in a new window, with panes of these flags and sizes added in turn.
    Splitter* make(char16_t const* className, int w, int h, std::vector<std::pair<std::uint32_t, int>> const& panes)
    {
        if (top)
            top->close();
        top = topWindow(w + 20, h + 20, u"NyToolkit.NytkWidget");
        auto* splitter = static_cast<Splitter*>(Widget::create(top, className, 0, 10, 10, w, h));
        EXPECT_TRUE(runUntil([&] { return mapped(splitter); }));
        for (auto [flags, size] : panes)
            splitter->addChild(-1, OwnedString(u"NyToolkit.NytkWidget"), flags, size);
        return splitter;
    }
    static Sizes sizes(Splitter* splitter)
    {
        Sizes result;
        for (int i = 0; i < splitter->get$childCount(); ++i)
            result.push_back(splitter->getPaneSize(i));
        return result;
    }
    // Each step: the splitter's new length along its axis and the pane sizes after it.
    static void resizeSteps(Splitter* splitter, std::vector<std::pair<int, Sizes>> const& steps)
    {
        for (auto const& [length, expected] : steps) {
            splitter->get$horizontal() ? splitter->setSize(length, 100) : splitter->setSize(100, length);
            EXPECT_EQ(sizes(splitter), expected) << "length " << length;
        }
    }
    Widget* top = nullptr;
};

TEST_F(SplitterTest, SharingPanesDivideTheRestWithTheRemainderInTurn)
{
    Splitter* v = make(u"NyUser.Views.VSplitter", 100, 300, {{8, 100}});
    EXPECT_EQ(std::tuple(v->get$shareFlag(), v->get$pointerShape()), std::tuple(8u, PointerShapes::SizeNS));
    EXPECT_EQ(sizes(v), Sizes{300}) << "the only sharing pane takes everything";
    v->addChild(-1, OwnedString(u"NyToolkit.NytkWidget"), 8, 200);
    EXPECT_EQ(sizes(v), (Sizes{100, 200})) << "the new pane takes its size, the other the rest";
    EXPECT_EQ(std::tuple(v->getChild(1)->get$y(), v->getChild(1)->get$height(), v->getChild(1)->get$width()),
              std::tuple(100, 200, 100));
    // Each new height shares out in proportion (new x size / old); the pixel
    // that rounding leaves goes to one pane, the next time to the other.
    resizeSteps(v, {{301, {101, 200}}, {302, {101, 201}}, {303, {102, 201}}, {300, {100, 200}}, {600, {200, 400}}});

    // A fixed pane keeps its size and takes it from the shared space. With no
    // shared space left (a window shrunk to its menu bar) there is nothing to
    // be in proportion to: the space that comes back is shared equally.
    Splitter* h = make(u"NyUser.Views.HSplitter", 400, 100, {{0, 90}, {4, 0}, {4, 0}});
    EXPECT_EQ(std::tuple(h->get$shareFlag(), h->get$pointerShape()), std::tuple(4u, PointerShapes::SizeWE));
    EXPECT_EQ(sizes(h), (Sizes{90, 155, 155})) << "a size of 0 asks for an equal share";
    resizeSteps(h, {{500, {90, 205, 205}}, {90, {90, 0, 0}}, {20, {90, 0, 0}}, {501, {90, 206, 205}},
                    {502, {90, 206, 206}}});
    EXPECT_EQ(std::tuple(h->getChild(2)->get$x(), h->getChild(2)->get$width()), std::tuple(90 + 206, 206));
    h->addChild(0, OwnedString(u"NyToolkit.NytkWidget"), 0, 60);
    EXPECT_EQ(sizes(h), (Sizes{60, 90, 176, 176})) << "inserted first, taken from the shared space";
}

TEST_F(SplitterTest, BarsAreDraggedWithinTheMinimumSizes)
{
    Splitter* h =
        make(u"NyUser.Views.HSplitter", 400, 120, {{Resizable, 100}, {Resizable | 4, 0}, {Resizable, 80}, {4, 0}});
    int bar = h->get$barThickness();
    EXPECT_EQ(bar, h->get$style()->get$font()->get$height() / 3);
    ASSERT_GT(bar, 0);
    EXPECT_EQ(std::tuple(h->hasBarAfter(0), h->hasBarAfter(1), h->hasBarAfter(2), h->hasBarAfter(3)),
              std::tuple(true, true, false, false))
        << "bars only between two resizable panes";
    int shared = 400 - 100 - 80 - 2 * bar;
    EXPECT_EQ(sizes(h), (Sizes{100, shared / 2 + shared % 2, 80, shared / 2}));
    EXPECT_EQ(h->getChild(0)->get$pointerShape(), PointerShapes::Arrow) << "panes keep a pointer of their own";
    h->setMinimumSize(2, 30);
    Sizes const start = sizes(h);
    int middle = start[1];

    // Each drag: the bar's pane (-1 beside the bars), the pointer's way from
    // the press at the bar's middle, the sizes after the release.
    struct Drag {
        char const* what;
        int pane;
        std::vector<int> moves;
        Sizes sizes;
    } const drags[] = {
        {"first bar right", 0, {30}, {130, middle - 30, 80, start[3]}},
        {"first bar far left, to the minimum 0", 0, {-200}, {0, middle + 100, 80, start[3]}},
        {"back right from where it stopped", 0, {-200, -150}, {0, middle + 100, 80, start[3]}},
        {"second bar far right, to the minimum 30", 1, {300}, {0, middle + 150, 30, start[3]}},
        {"second bar left again", 1, {-40}, {0, middle + 110, 70, start[3]}},
        {"a press beside the bars", -1, {40}, {0, middle + 110, 70, start[3]}},
    };
    for (Drag const& d : drags) {
        int from = d.pane >= 0 ? h->paneStart(d.pane) + h->getPaneSize(d.pane) + bar / 2 : h->paneStart(1) + 5;
        ASSERT_EQ(h->barAt(from), d.pane) << d.what;
        pointerTo(h, from, 60);
        XTestFakeButtonEvent(display(), 1, True, CurrentTime);
        for (int move : d.moves)
            pointerTo(h, from + move, 60);
        XTestFakeButtonEvent(display(), 1, False, CurrentTime);
        XSync(display(), False);
        NyCore::System::EventLoop::serviceEvents(nullptr);
        EXPECT_EQ(sizes(h), d.sizes) << d.what;
        EXPECT_FALSE(h->get$flags() & WidgetFlags::PointerCaptured) << d.what;
        EXPECT_EQ(h->getChild(d.pane + 1)->get$x(), h->paneStart(d.pane + 1)) << d.what;
    }
    // The fixed panes keep their dragged sizes when the splitter grows.
    h->setSize(500, 120);
    Sizes grown = sizes(h);
    EXPECT_EQ(std::tuple(grown[0], grown[2], grown[1] + grown[3]), std::tuple(0, 70, middle + 110 + start[3] + 100));
}

}
