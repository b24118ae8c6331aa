// The multi-view: its strip, the children in tab order, and the events it
// passes on to its owner.
#include "nyuser/views/multi_view.h"

#include <algorithm>

#include "nycore/graphics/gc.h"
#include "nycore/system/method_thunk.h"

namespace NyUser::Views {

namespace {

NyCore::MethodEntry const MultiViewMethods[] = {{u"onTabActivated", NY_METHOD(MultiView::onTabActivated)},
                                                {u"onTabMoved", NY_METHOD(MultiView::onTabMoved)},
                                                {u"onClosePressed", NY_METHOD(MultiView::onClosePressed)},
                                                {u"onCollapsePressed", NY_METHOD(MultiView::onCollapsePressed)},
                                                {u"activate", NY_METHOD(MultiView::activate)},
                                                {u"closeChild", NY_METHOD(MultiView::closeChild)},
                                                {nullptr, nullptr}};
char16_t const* const MultiViewEvents[] = {u"viewClosed",  u"viewCollapsed", u"viewActivated",
                                           u"viewSwapped", u"closeClicked",  nullptr};

namespace WidgetFlags = NyCore::System::WidgetFlags;

}

NyCore::TypeData MultiView::MetaData = {&NytkWidget::MetaData, nullptr, u"NyUser.Views.MultiView"_str,
                                        MultiViewMethods, MultiViewEvents, &MultiView::__create,
                                        sizeof(MultiView), 0, nullptr};

NyCore::Object* MultiView::__create()
{
    return new MultiView();
}

void MultiView::onCreate()
{
    NytkWidget::onCreate();
    int g = style->get$gap();
    tabs = static_cast<ViewTabs*>(NyCore::System::Widget::create(this, u"NyUser.Views.ViewTabs", 0, g, g,
                                                                 std::max(width - 2 * g, 1), get$stripHeight()));
    tabs->set$style(style);
    NyCore::Object::link(tabs, this, u"TabActivated", NY_METHOD(MultiView::onTabActivated));
    NyCore::Object::link(tabs, this, u"TabMoved", NY_METHOD(MultiView::onTabMoved));
    NyCore::Object::link(tabs, this, u"ClosePressed", NY_METHOD(MultiView::onClosePressed));
    NyCore::Object::link(tabs, this, u"CollapsePressed", NY_METHOD(MultiView::onCollapsePressed));
}

int MultiView::get$stripHeight() const
{
    return (4 * style->get$font()->get$height()) / 3;
}

NyCore::System::WidgetRect MultiView::childRect() const
{
    int g = style->get$gap();
    int top = get$stripHeight() + 2 * g;
    return {g, top, std::max(width - 2 * g, 1), std::max(height - top - g, 1)};
}

void MultiView::layout()
{
    int g = style->get$gap();
    if (tabs)
        tabs->setRect(g, g, std::max(width - 2 * g, 1), get$stripHeight());
    NyCore::System::WidgetRect r = childRect();
    for (NyCore::System::Widget* child : children)
        child->setRect(r.x, r.y, r.width, r.height);
}

bool MultiView::onResize(int, int)
{
    layout();
    return true;
}

void MultiView::onStyleChange()
{
    if (tabs)
        tabs->set$style(style);
    layout();
    redraw();
}

// The gaps around the strip and the children show the frame colour.
void MultiView::onDraw(NyCore::Graphics::GC* gc)
{
    gc_set_background(gc, getColor(NyToolkit::Style::Frame));
    gc_rect_fill(gc, 0, 0, width, height);
}

NyCore::System::Widget* MultiView::addChild(NyCore::String const* className, NyCore::String const* label,
                                            std::uint32_t childFlags, int index)
{
    int n = get$childCount();
    if (index < 0 || index > n)
        index = n;
    NyCore::System::WidgetRect r = childRect();
    // Created hidden: activation shows it. The view places its children
    // itself, so anchors would only move them twice.
    std::uint32_t wanted = (childFlags & ~WidgetFlags::AnchorMask) | WidgetFlags::Hidden;
    NyCore::System::Widget* child =
        NyCore::System::Widget::create(this, className ? className->units() : u"", wanted, r.x, r.y, r.width, r.height);
    children.insert(children.begin() + index, child);
    tabs->insertTab(index, label);
    tabs->activateTab(index);
    return child;
}

NyCore::System::Widget* MultiView::getChild(int index) const
{
    return index >= 0 && index < get$childCount() ? children[index] : nullptr;
}

int MultiView::getIndex(NyCore::System::Widget* widget) const
{
    auto found = std::find(children.begin(), children.end(), widget);
    return found == children.end() || !widget ? -1 : static_cast<int>(found - children.begin());
}

void MultiView::activate(int index)
{
    tabs->activateTab(index);
}

void MultiView::setLabel(int index, NyCore::String const* label)
{
    tabs->setLabel(index, label);
}

void MultiView::setModified(int, bool) {}

int MultiView::closeChild(int index)
{
    if (index < 0 || index >= get$childCount())
        return 0;
    NyCore::System::Widget* child = children[index];
    // Agreeing, the child closes itself; it may be gone when this returns.
    if (!child->suggestClose())
        return 0;
    bool wasActive = index == tabs->get$active();
    children.erase(children.begin() + index);
    if (shown == child)
        shown = nullptr;
    tabs->removeTab(index);
    NyCore::Object::CallbackParams closed{1, {index}};
    send(u"viewClosed", &closed);
    // The owner has removed its document by now; the neighbour's activation sees its updated list.
    if (wasActive && get$childCount() > 0)
        tabs->activateTab(std::min(index, get$childCount() - 1));
    return 1;
}

void MultiView::onTabActivated(int index)
{
    NyCore::System::Widget* child = getChild(index);
    if (!child)
        return;
    // The old view is hidden only after the new one is shown and activated
    // (which gives it the focus): hiding first would drop the keyboard focus
    // on this window for a moment, and keys typed then would be lost.
    NyCore::System::Widget* previous = shown;
    shown = child;
    if (child->get$flags() & WidgetFlags::Hidden)
        child->show();
    NyCore::Object::CallbackParams params{1, {index}};
    send(u"viewActivated", &params);
    if (previous && previous != shown && std::find(children.begin(), children.end(), previous) != children.end())
        previous->hide();
}

void MultiView::onTabMoved(int from, int to)
{
    int n = get$childCount();
    if (from < 0 || from >= n || to < 0 || to >= n || from == to)
        return;
    NyCore::System::Widget* moved = children[from];
    children.erase(children.begin() + from);
    children.insert(children.begin() + to, moved);
    NyCore::Object::CallbackParams params{2, {from, to}};
    send(u"viewSwapped", &params);
}

// The owner decides what closing means; the active index comes along.
void MultiView::onClosePressed()
{
    NyCore::Object::CallbackParams params{1, {get$activeViewIndex()}};
    send(u"closeClicked", &params);
}

void MultiView::onCollapsePressed()
{
    send(u"viewCollapsed");
}

}
