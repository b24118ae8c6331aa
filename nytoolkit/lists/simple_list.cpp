// The simple list: drawing by lines, selection by mouse and keys, and the
// pop-up behaviour that a drop list relies on.
#include "nytoolkit/lists/simple_list.h"

#include <algorithm>
#include <climits>

#include "nycore/graphics/font.h"
#include "nycore/graphics/gc.h"
#include "nycore/graphics/gc_text.h"
#include "nycore/system/event_loop.h"
#include "nycore/system/method_thunk.h"
#include "nycore/xml/xml_node.h"
#include "nytoolkit/forms/loader.h"

namespace NyToolkit {

namespace WF = NyCore::System::WidgetFlags;
namespace Keys = NyCore::System::SystemKeys;

namespace {

NyCore::MethodEntry const SimpleListMethods[] = {{u"refresh", NY_METHOD(SimpleList::refresh)}, {nullptr, nullptr}};
char16_t const* const SimpleListEvents[] = {u"selectionChange", nullptr};

}

NyCore::TypeData SimpleList::MetaData = {&ScrollView::MetaData, nullptr, u"NyToolkit.SimpleList"_str,
                                         SimpleListMethods, SimpleListEvents, &SimpleList::__create,
                                         sizeof(SimpleList), 0, nullptr};

SimpleList::SimpleList() : contents(new ListContents()) {}

SimpleList::~SimpleList()
{
    // A pop-up deleted while its loop runs ends the loop with no choice.
    if (isPopUp() && !popUpDone && NyCore::System::EventLoop::isInLoop(loopOwner))
        NyCore::System::EventLoop::exit(loopOwner, -1);
    contents->release();
}

NyCore::Object* SimpleList::__create()
{
    return new SimpleList();
}

void SimpleList::onCreate()
{
    ScrollView::onCreate();
    setStyleClass(Style::Display, false);
    lineHeight = style->get$font()->get$height() * 4 / 3;
    set$hvisible(false);
    setVRange(contents->get$count(), linesShown());
}

void SimpleList::setParameters(NyCore::XML::Element* element)
{
    if (xml_get_attribute(element, u"lineHeight"))
        set$lineHeight(Loader::intAttribute(element, u"lineHeight"));
    contents->append(element);
    refresh();
}

void SimpleList::set$lineHeight(int pixels)
{
    lineHeight = std::max(pixels, 5);
    refresh();
}

int SimpleList::linesShown() const
{
    return std::max(client.height / lineHeight, 1);
}

bool SimpleList::isPopUp() const
{
    return (flags & WF::PopUp) != 0;
}

int SimpleList::lineAt(int x, int y) const
{
    if (!isPointInClient(x, y))
        return -1;
    int index = get$vscroll() + (y - client.y) / lineHeight;
    return index < contents->get$count() ? index : -1;
}

void SimpleList::refresh()
{
    setVRange(contents->get$count(), linesShown());
    redraw();
}

void SimpleList::set$contents(ListContents* list)
{
    if (!list)
        return;
    list->addRef();
    contents->release();
    contents = list;
    if (selected >= contents->get$count())
        selected = -1;
    refresh();
}

void SimpleList::set$selectedIndex(int i)
{
    int chosen = (i >= 0 && i < contents->get$count()) ? i : -1;
    if (chosen != selected) {
        int old = selected;
        selected = chosen;
        redrawLines(old, old);
        redrawLines(chosen, chosen);
    }
    NyCore::Object::CallbackParams params{1, {chosen}};
    send(u"selectionChange", &params);
}

NyCore::Object* SimpleList::get$selectedData() const
{
    return contents->getData(selected);
}

NyCore::String const* SimpleList::get$selectedLabel() const
{
    return contents->getLabel(selected);
}

bool SimpleList::moveSelection(int delta)
{
    int count = contents->get$count();
    if (count == 0)
        return false;
    int target = selected < 0 ? 0 : std::clamp(selected + delta, 0, count - 1);
    if (target == selected)
        return false;
    set$selectedIndex(target);
    showLine(target);
    return true;
}

void SimpleList::showLine(int index)
{
    int first = get$vscroll();
    int shown = linesShown();
    if (index < first)
        set$vscroll(index);
    else if (index >= first + shown)
        set$vscroll(index - shown + 1);
}

void SimpleList::onDraw(NyCore::Graphics::GC* gc)
{
    drawFrame(gc);
    drawLines(gc, 0, INT_MAX);
}

void SimpleList::drawLines(NyCore::Graphics::GC* gc, int from, int to)
{
    if (from < 0 || client.width <= 0 || client.height <= 0)
        return;
    int first = get$vscroll();
    int count = contents->get$count();
    int h = style->get$font()->get$height();
    int bottom = client.y + client.height;
    IconSet* icons = contents->get$icons();
    gc_set_clip(gc, client.x, client.y, client.width, client.height);
    gc_set_font(gc, style->get$font());
    int index = std::max(from, first);
    int y = client.y + (index - first) * lineHeight;
    for (; index <= to && index < count && y < bottom; ++index, y += lineHeight) {
        bool chosen = index == selected;
        gc_set_background(gc, getColor(chosen ? Style::HighlightBackground : Style::Background));
        gc_rect_fill(gc, client.x, y, client.width, lineHeight);
        ListContents::Item const* item = contents->getItem(index);
        int x = client.x + h / 3;
        if (icons) {
            if (item->icon >= 0 && item->icon < icons->get$count())
                icons->draw(gc, x, y + (lineHeight - icons->get$height()) / 2, item->icon);
            x += h / 3 + icons->get$width();
        }
        gc_set_foreground(gc, getColor(chosen ? Style::HighlightText : Style::Text));
        gc_string(gc, item->label, x, y, client.x + client.width - x, lineHeight,
                  NyCore::Graphics::TextFlags::CenterVertical | NyCore::Graphics::TextFlags::Clip);
    }
    // Past the last item the rest of the client area is background.
    if (index >= count && y < bottom) {
        gc_set_background(gc, getColor(Style::Background));
        gc_rect_fill(gc, client.x, y, client.width, bottom - y);
    }
    gc_set_clip(gc, 0, 0, 0, 0);
}

void SimpleList::redrawLines(int from, int to)
{
    if (from < 0 || !window || (flags & WF::DrawingSuppressed))
        return;
    NyCore::Graphics::GC gc;
    wgc_construct(&gc, window);
    drawLines(&gc, from, to);
    gc_flush(&gc);
    wgc_destroy(&gc);
}

void SimpleList::onVScroll(int)
{
    redrawLines(get$vscroll(), INT_MAX);
}

bool SimpleList::onResize(int dw, int dh)
{
    ScrollView::onResize(dw, dh);
    setVRange(contents->get$count(), linesShown());
    return true;
}

void SimpleList::onStyleChange()
{
    redraw();
}

void SimpleList::endPopUp(int index)
{
    if (popUpDone)
        return;
    popUpDone = true;
    NyCore::System::EventLoop::exit(loopOwner, index);
}

void SimpleList::popUpPress(int x, int y, int button, int keys)
{
    if (popUpDone)
        return;
    if (x < 0 || y < 0 || x >= width || y >= height) {
        endPopUp(-1);
        return;
    }
    if (isPointInClient(x, y)) {
        int line = lineAt(x, y);
        if (button == 0 && line >= 0)
            endPopUp(line);
        else
            pressedOffLines = true;
        return;
    }
    // The border or the scroll bar: the bar may take it, but it chooses nothing.
    pressedOffLines = true;
    ScrollView::onMouseDown(x, y, button, keys);
}

void SimpleList::onMouseDown(int x, int y, int button, int keys)
{
    if (isPopUp()) {
        popUpPress(x, y, button, keys);
        return;
    }
    if (button == 0 && isPointInClient(x, y)) {
        focus();
        int line = lineAt(x, y);
        if (line >= 0)
            set$selectedIndex(line);
        return;
    }
    ScrollView::onMouseDown(x, y, button, keys);
}

void SimpleList::onDoubleClick(int x, int y, int button, int keys)
{
    if (isPopUp())
        popUpPress(x, y, button, keys);
    else
        onMouseDown(x, y, button, keys);
}

void SimpleList::onMouseUp(int x, int y, int button, int keys)
{
    ScrollView::onMouseUp(x, y, button, keys);
    if (!isPopUp() || popUpDone)
        return;
    bool offLines = pressedOffLines;
    pressedOffLines = false;
    // Only a line chooses: a release on the border or the bar, or after a
    // press there, leaves the pop-up open.
    int line = lineAt(x, y);
    if (button == 0 && !offLines && line >= 0)
        endPopUp(line);
}

void SimpleList::onMouseMove(int x, int y, int keys)
{
    ScrollView::onMouseMove(x, y, keys);
    if (!isPopUp() || popUpDone || isScrolling())
        return;
    int line = lineAt(x, y);
    if (line >= 0 && line != selected)
        set$selectedIndex(line);
}

void SimpleList::onSystemKeyDown(int code, int)
{
    switch (code) {
    case Keys::PageUp: vPageUp(); break;
    case Keys::PageDown: vPageDown(); break;
    case Keys::Up: moveSelection(-1); break;
    case Keys::Down: moveSelection(1); break;
    default: break;
    }
}

}
