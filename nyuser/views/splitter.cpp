// The splitter's panes: adding them, sharing out the space, placing the
// children, and dragging the bars between them.
#include "nyuser/views/splitter.h"

#include <algorithm>
#include <cstdint>

#include "nycore/graphics/gc.h"

namespace NyUser::Views {

namespace {

namespace WidgetFlags = NyCore::System::WidgetFlags;
namespace PointerShapes = NyCore::System::PointerShapes;

}

NyCore::TypeData Splitter::MetaData = {&NytkWidget::MetaData, nullptr, u"NyUser.Views.Splitter"_str,
                                       NyCore::NoMethods, NyCore::NoEvents, nullptr, sizeof(Splitter), 0, nullptr};

void Splitter::onCreate()
{
    NytkWidget::onCreate();
    setPointerIcon(horizontal ? PointerShapes::SizeWE : PointerShapes::SizeNS);
}

int Splitter::get$barThickness() const
{
    return style->get$font()->get$height() / 3;
}

NyCore::System::Widget* Splitter::getChild(int index) const
{
    return index >= 0 && index < get$childCount() ? panes[index].widget : nullptr;
}

int Splitter::closeChild(int)
{
    return 0;
}

int Splitter::getPaneSize(int index) const
{
    return index >= 0 && index < get$childCount() ? panes[index].size : 0;
}

bool Splitter::isSharing(int index) const
{
    return index >= 0 && index < get$childCount() && (panes[index].flags & Shares);
}

bool Splitter::hasBarAfter(int index) const
{
    return index >= 0 && index < get$childCount() && (panes[index].flags & BarAfter);
}

void Splitter::setMinimumSize(int index, int size)
{
    if (index >= 0 && index < get$childCount())
        panes[index].minimum = std::max(size, 0);
}

int Splitter::paneStart(int index) const
{
    int along = 0;
    for (int i = 0; i < index && i < get$childCount(); ++i)
        along += panes[i].size + (panes[i].flags & BarAfter ? get$barThickness() : 0);
    return along;
}

int Splitter::barAt(int along) const
{
    int bar = get$barThickness();
    int start = 0;
    for (int i = 0; i < get$childCount(); ++i) {
        int end = start + panes[i].size;
        if (!(panes[i].flags & BarAfter)) {
            start = end;
            continue;
        }
        if (along >= end && along < end + bar)
            return i;
        start = end + bar;
    }
    return -1;
}

void Splitter::updateBars()
{
    int n = get$childCount();
    sharingCount = 0;
    for (int i = 0; i < n; ++i) {
        Pane& pane = panes[i];
        bool bar = i + 1 < n && (pane.flags & Resizable) && (panes[i + 1].flags & Resizable);
        pane.flags = bar ? (pane.flags | BarAfter) : (pane.flags & ~BarAfter);
        if (pane.flags & Shares)
            ++sharingCount;
    }
}

int Splitter::freeSpace() const
{
    int used = 0;
    for (Pane const& pane : panes) {
        if (!(pane.flags & Shares))
            used += pane.size;
        if (pane.flags & BarAfter)
            used += get$barThickness();
    }
    return std::max(axisLength() - used, 0);
}

void Splitter::shareOut(int space, int skip)
{
    space = std::max(space, 0);
    std::vector<int> sharing;
    std::int64_t old = 0;
    for (int i = 0; i < get$childCount(); ++i) {
        if (i != skip && (panes[i].flags & Shares)) {
            sharing.push_back(i);
            old += panes[i].size;
        }
    }
    if (sharing.empty())
        return;
    int n = static_cast<int>(sharing.size());
    int given = 0;
    for (int i : sharing) {
        // Nothing to be in proportion to (a splitter that had no room): equal shares.
        int share = old > 0 ? static_cast<int>(space * static_cast<std::int64_t>(panes[i].size) / old) : space / n;
        panes[i].size = share;
        given += share;
    }
    if (given < space) {
        panes[sharing[roundRobin % n]].size += space - given;
        roundRobin = (roundRobin + 1) % n;
    }
}

void Splitter::layout()
{
    int bar = get$barThickness();
    int along = 0;
    for (Pane& pane : panes) {
        if (horizontal)
            pane.widget->setRect(along, 0, std::max(pane.size, 1), std::max(height, 1));
        else
            pane.widget->setRect(0, along, std::max(width, 1), std::max(pane.size, 1));
        along += pane.size + (pane.flags & BarAfter ? bar : 0);
    }
    sharedSpace = 0;
    for (Pane const& pane : panes)
        if (pane.flags & Shares)
            sharedSpace += pane.size;
}

NyCore::System::Widget* Splitter::addChild(int index, NyCore::String const* className, std::uint32_t childFlags,
                                           int size)
{
    int n = get$childCount();
    if (index < 0 || index > n)
        index = n;
    std::uint32_t paneFlags = (childFlags & ResizableFlag ? std::uint32_t{Resizable} : 0u) |
                              (childFlags & get$shareFlag() ? std::uint32_t{Shares} : 0u);
    // The splitter places its panes itself: no anchors, and the resize flag
    // means nothing to a child window.
    std::uint32_t widgetFlags = childFlags & ~(ResizableFlag | WidgetFlags::AnchorMask);
    NyCore::System::Widget* child =
        NyCore::System::Widget::create(this, className ? className->units() : u"", widgetFlags, 0, 0, 1, 1);
    // A child window without a pointer of its own would show the splitter's resize pointer.
    if (child->get$pointerShape() == PointerShapes::Arrow)
        child->setPointerIcon(PointerShapes::Arrow);
    panes.insert(panes.begin() + index, Pane{child, paneFlags, std::max(size, 0), 0});
    updateBars();
    if (paneFlags & Shares) {
        int space = freeSpace();
        int others = sharingCount - 1;
        int own = others == 0 ? space : size > 0 ? std::min(size, space) : space / (others + 1);
        panes[index].size = own;
        shareOut(space - own, index);
    } else {
        shareOut(freeSpace());
    }
    layout();
    redraw();
    return child;
}

bool Splitter::onResize(int, int)
{
    shareOut(freeSpace());
    layout();
    return true;
}

void Splitter::onStyleChange()
{
    shareOut(freeSpace());
    layout();
    redraw();
}

void Splitter::onDraw(NyCore::Graphics::GC* gc)
{
    gc_set_background(gc, background);
    gc_rect_fill(gc, 0, 0, width, height);
    int bar = get$barThickness();
    gc_set_background(gc, getColor(NyToolkit::Style::Separator));
    for (int i = 0; i < get$childCount(); ++i) {
        if (!(panes[i].flags & BarAfter))
            continue;
        int start = paneStart(i) + panes[i].size;
        if (horizontal)
            gc_rect_fill(gc, start, 0, bar, height);
        else
            gc_rect_fill(gc, 0, start, width, bar);
    }
}

void Splitter::onMouseDown(int px, int py, int button, int)
{
    if (button != 0)
        return;
    int along = horizontal ? px : py;
    int pane = barAt(along);
    if (pane < 0)
        return;
    dragPane = pane;
    lastPointer = along;
    pointerCapture();
}

// The pane before the bar grows by the pointer's move and the one after it
// shrinks, neither below its minimum; the bar follows the pointer back only
// from where it stopped.
void Splitter::onMouseMove(int px, int py, int)
{
    if (dragPane < 0 || dragPane + 1 >= get$childCount())
        return;
    Pane& first = panes[dragPane];
    Pane& second = panes[dragPane + 1];
    int d = (horizontal ? px : py) - lastPointer;
    if (d < 0)
        d = std::max(d, std::min(first.minimum - first.size, 0));
    else
        d = std::min(d, std::max(second.size - second.minimum, 0));
    if (d == 0)
        return;
    first.size += d;
    second.size -= d;
    lastPointer += d;
    layout();
    redraw();
}

void Splitter::onMouseUp(int, int, int button, int)
{
    if (button != 0 || dragPane < 0)
        return;
    dragPane = -1;
    pointerRelease();
}

}
