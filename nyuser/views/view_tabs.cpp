// The tab strip: tab geometry from the style's font, the buttons at the right
// end, scrolling, pressing, dragging and drawing.
#include "nyuser/views/view_tabs.h"

#include <algorithm>

#include "nycore/graphics/gc.h"
#include "nycore/graphics/gc_text.h"
#include "nycore/graphics/icon_strip.h"
#include "nycore/text/string_functions.h"

namespace NyUser::Views {

namespace {

char16_t const* const ViewTabsEvents[] = {u"TabMoved", u"TabActivated", u"ClosePressed", u"CollapsePressed",
                                          nullptr};

namespace WidgetFlags = NyCore::System::WidgetFlags;
namespace TF = NyCore::Graphics::TextFlags;
using NyToolkit::Style;

// The pictures of the "harrow" and "close" sets: the left arrow's states
// start at 0, the right arrow's at 4; each state adds 1 (hovered) or 2 (pressed).
constexpr int LeftArrowIcon = 0;
constexpr int RightArrowIcon = 4;
constexpr int HoverState = 1;
constexpr int PressedState = 2;
// A disabled scroll button shows its normal picture faded into the strip.
constexpr int DisabledOpacity = 350;

std::uint32_t scaled70(std::uint32_t rgb)
{
    std::uint32_t r = ((rgb >> 16) & 0xFF) * 7 / 10;
    std::uint32_t g = ((rgb >> 8) & 0xFF) * 7 / 10;
    std::uint32_t b = (rgb & 0xFF) * 7 / 10;
    return (r << 16) | (g << 8) | b;
}

bool isScrollButton(int position)
{
    return position == ViewTabs::ScrollToLast || position == ViewTabs::ScrollToFirst;
}

}

NyCore::TypeData ViewTabs::MetaData = {&NytkWidget::MetaData, nullptr, u"NyUser.Views.ViewTabs"_str,
                                       NyCore::NoMethods, ViewTabsEvents, &ViewTabs::__create,
                                       sizeof(ViewTabs), 0, nullptr};

ViewTabs::~ViewTabs()
{
    timer_destroy(&scrollTimer);
    for (Tab& tab : tabs)
        string_free(tab.label);
    if (activeFont)
        activeFont->release();
}

NyCore::Object* ViewTabs::__create()
{
    return new ViewTabs();
}

void ViewTabs::onCreate()
{
    NytkWidget::onCreate();
    background = StripColor;
    activeFont = NyCore::Graphics::Font::create(u"Arial"_str, 12, NyCore::Graphics::Font::Bold);
    placeButtons();
    updateScrolling();
}

int ViewTabs::measureTab(NyCore::String const* label) const
{
    NyCore::Graphics::Font* font = style->get$font();
    int h = font->get$height();
    return font->measure(label) + style->get$gap() + 2 * ((3 * h) / 4);
}

NyCore::String const* ViewTabs::getLabel(int index) const
{
    if (index < 0 || index >= get$count())
        return nullptr;
    return tabs[index].label;
}

int ViewTabs::getTabWidth(int index) const
{
    return index >= 0 && index < get$count() ? tabs[index].width : 0;
}

int ViewTabs::tabToX(int index) const
{
    int x = 0;
    for (int i = 0; i < index && i < get$count(); ++i)
        x += tabs[i].width;
    return x;
}

int ViewTabs::pointToTab(int px, int py) const
{
    if (px < 0 || px >= areaWidth || py < 0 || py >= height)
        return -1;
    int along = px + offset;
    int left = 0;
    for (int i = 0; i < get$count(); ++i) {
        if (along >= left && along < left + tabs[i].width)
            return i;
        left += tabs[i].width;
    }
    return -1;
}

void ViewTabs::insertTab(int index, NyCore::String const* label)
{
    index = std::clamp(index, 0, get$count());
    NyCore::String* copy = label ? string_copy(label) : string_from_cstr(u"");
    tabs.insert(tabs.begin() + index, Tab{copy, measureTab(copy)});
    if (active >= index)
        ++active;
    updateScrolling();
    redraw();
}

void ViewTabs::removeTab(int index)
{
    if (index < 0 || index >= get$count())
        return;
    string_free(tabs[index].label);
    tabs.erase(tabs.begin() + index);
    if (index == active) {
        active = -1;
        tabPressed = false;
    } else if (index < active) {
        --active;
    }
    updateScrolling();
    redraw();
}

void ViewTabs::moveTab(int from, int to)
{
    int n = get$count();
    if (from < 0 || from >= n || to < 0 || to >= n || from == to)
        return;
    Tab moved = tabs[from];
    tabs.erase(tabs.begin() + from);
    tabs.insert(tabs.begin() + to, moved);
    if (active == from)
        active = to;
    else if (from < active && active <= to)
        --active;
    else if (to <= active && active < from)
        ++active;
    redraw();
    NyCore::Object::CallbackParams params{2, {from, to}};
    send(u"TabMoved", &params);
}

void ViewTabs::activateTab(int index)
{
    if (index < 0 || index >= get$count() || index == active)
        return;
    active = index;
    scrollInto(index);
    redraw();
    NyCore::Object::CallbackParams params{1, {index}};
    send(u"TabActivated", &params);
}

void ViewTabs::setLabel(int index, NyCore::String const* label)
{
    if (index < 0 || index >= get$count())
        return;
    NyCore::String* copy = label ? string_copy(label) : string_from_cstr(u"");
    string_free(tabs[index].label);
    tabs[index] = Tab{copy, measureTab(copy)};
    updateScrolling();
    redraw();
}

void ViewTabs::enableButtons(bool close, bool collapse, bool scroll)
{
    buttonFlags = (close ? HasClose : 0) | (collapse ? HasCollapse : 0) | (scroll ? HasScroll : 0);
    pressedButton = -1;
    hoverButton = -1;
    timer_pause(&scrollTimer);
    placeButtons();
    updateScrolling();
    redraw();
}

bool ViewTabs::hasButton(int position) const
{
    return position >= 0 && position < ButtonSlots && buttons[position].shown;
}

bool ViewTabs::getButtonRect(int position, NyCore::System::WidgetRect* rect) const
{
    if (!hasButton(position))
        return false;
    Button const& b = buttons[position];
    *rect = {b.x, b.y, b.width, b.height};
    return true;
}

bool ViewTabs::isButtonEnabled(int position) const
{
    return hasButton(position) && buttons[position].enabled;
}

// From the right edge inwards: close, collapse, then the scroll button to the
// last tab and the one to the first. Each keeps the margin m that centres it
// vertically on both of its sides.
void ViewTabs::placeButtons()
{
    for (Button& b : buttons)
        b = Button{};
    buttonCount = 0;
    int right = width;
    int margin = 0;
    auto place = [&](int position, NyToolkit::IconSet* icons) {
        int iw = icons ? icons->get$width() : 0;
        int ih = icons ? icons->get$height() : 0;
        margin = (height - ih) / 2;
        int bx = right - margin - iw;
        buttons[position] = Button{true, true, bx, margin, iw, ih};
        right = bx;
        ++buttonCount;
    };
    NyToolkit::IconSet* closeIcons = style->getIcons(Style::Close);
    NyToolkit::IconSet* arrows = style->getIcons(Style::HArrow);
    if (buttonFlags & HasClose)
        place(CloseButton, closeIcons);
    if (buttonFlags & HasCollapse)
        place(CollapseButton, closeIcons);
    if (buttonFlags & HasScroll) {
        place(ScrollToLast, arrows);
        place(ScrollToFirst, arrows);
    }
    areaWidth = std::max(buttonCount > 0 ? right - margin : width, 0);
}

int ViewTabs::maxOffset() const
{
    return std::max(totalWidth - areaWidth, 0);
}

void ViewTabs::updateScrolling()
{
    totalWidth = tabToX(get$count());
    offset = std::clamp(offset, 0, maxOffset());
    bool overflow = totalWidth > areaWidth;
    buttons[ScrollToLast].enabled = overflow;
    buttons[ScrollToFirst].enabled = overflow;
    // A held scroll button that no longer has anything to scroll stops; its
    // release still ends the press.
    if (!overflow && isScrollButton(pressedButton))
        timer_pause(&scrollTimer);
}

void ViewTabs::scrollInto(int index)
{
    int left = tabToX(index);
    int right = left + getTabWidth(index);
    int wanted = offset;
    if (right - wanted > areaWidth)
        wanted = right - areaWidth;
    if (left < wanted)
        wanted = left;
    offset = std::clamp(wanted, 0, maxOffset());
}

void ViewTabs::set$offset(int pixels)
{
    int wanted = std::clamp(pixels, 0, maxOffset());
    if (wanted == offset)
        return;
    offset = wanted;
    redraw();
}

void ViewTabs::scrollStep(int position)
{
    int wanted = std::clamp(offset + (position == ScrollToLast ? ScrollStep : -ScrollStep), 0, maxOffset());
    int shift = wanted - offset;
    if (shift == 0)
        return;
    offset = wanted;
    bool drawable = window && !(flags & (WidgetFlags::DrawingSuppressed | WidgetFlags::Hidden));
    if (!drawable || std::abs(shift) >= areaWidth) {
        redraw();
        return;
    }
    // The tabs still in view move by the shift; only the strip that comes
    // into view is drawn.
    NyCore::Graphics::GC gc;
    wgc_construct(&gc, window);
    int kept = areaWidth - std::abs(shift);
    if (shift > 0) {
        gc_copy_rect(&gc, 0, 0, &gc, shift, 0, kept, height);
        drawTabs(&gc, kept, shift);
    } else {
        gc_copy_rect(&gc, -shift, 0, &gc, 0, 0, kept, height);
        drawTabs(&gc, 0, -shift);
    }
    gc_flush(&gc);
    wgc_destroy(&gc);
}

void ViewTabs::onScrollTick(NyCore::System::Widget* widget)
{
    auto* self = static_cast<ViewTabs*>(widget);
    if (!isScrollButton(self->pressedButton)) {
        timer_pause(&self->scrollTimer);
        return;
    }
    // A held button repeats only while the pointer stays on it.
    if (self->pressedInside)
        self->scrollStep(self->pressedButton);
}

void ViewTabs::onDraw(NyCore::Graphics::GC* gc)
{
    gc_set_background(gc, background);
    gc_rect_fill(gc, 0, 0, width, height);
    drawTabs(gc, 0, areaWidth);
    for (int position = 0; position < ButtonSlots; ++position)
        if (buttons[position].shown)
            drawButton(gc, position);
}

// The tabs within [left, left + span) of the tab area: the normal ones first,
// the active one last over them.
void ViewTabs::drawTabs(NyCore::Graphics::GC* gc, int left, int span)
{
    left = std::max(left, 0);
    span = std::min(span, areaWidth - left);
    if (span <= 0 || height <= 0)
        return;
    gc_set_clip(gc, left, 0, span, height);
    gc_set_background(gc, background);
    gc_rect_fill(gc, left, 0, span, height);
    int h = style->get$font()->get$height();
    int gap = style->get$gap();
    bool disabled = flags & WidgetFlags::Disabled;
    std::uint32_t textColor = getColor(disabled ? Style::Dim : Style::Text);
    auto label = [&](int i, int x, NyCore::Graphics::Font* font) {
        gc_set_font(gc, font);
        gc_set_foreground(gc, textColor);
        gc_string(gc, tabs[i].label, x + gap, 0, tabs[i].width - 2 * gap, height,
                  TF::CenterHorizontal | TF::CenterVertical | TF::Clip);
    };
    int x = -offset;
    int activeX = 0;
    for (int i = 0; i < get$count(); x += tabs[i].width, ++i) {
        if (i == active) {
            activeX = x;
            continue;
        }
        if (x + tabs[i].width <= left || x >= left + span)
            continue;
        int w = tabs[i].width;
        gc_set_background(gc, scaled70(background));
        gc_rect_fill(gc, x, h / 4, gap, height - 2 * (h / 4));
        gc_rect_fill(gc, x + w - gap, h / 4, gap, height - 2 * (h / 4));
        label(i, x, style->get$font());
    }
    if (active >= 0) {
        int w = tabs[active].width;
        gc_set_background(gc, ActiveTabColor);
        gc_rect_fill(gc, activeX, 0, w, height);
        gc_set_background(gc, getColor(Style::Frame));
        gc_rect_fill(gc, activeX, 0, gap, height);
        gc_rect_fill(gc, activeX + w - gap, 0, gap, height);
        label(active, activeX, activeFont ? activeFont : style->get$font());
    }
    gc_set_clip(gc, 0, 0, 0, 0);
}

void ViewTabs::drawButton(NyCore::Graphics::GC* gc, int position)
{
    Button const& b = buttons[position];
    NyToolkit::IconSet* icons = style->getIcons(isScrollButton(position) ? Style::HArrow : Style::Close);
    if (!icons)
        return;
    int index = position == ScrollToLast ? RightArrowIcon : LeftArrowIcon;
    gc_set_background(gc, background);
    gc_rect_fill(gc, b.x, b.y, b.width, b.height);
    if (!b.enabled) {
        if (index < icons->get$count())
            gc_copy_icon(gc, b.x, b.y, icons->get$strip(), index, DisabledOpacity);
        return;
    }
    if (position == pressedButton && pressedInside)
        index += PressedState;
    else if (position == hoverButton && pressedButton < 0)
        index += HoverState;
    icons->draw(gc, b.x, b.y, index);
}

int ViewTabs::buttonAt(int px, int py) const
{
    for (int position = 0; position < ButtonSlots; ++position) {
        Button const& b = buttons[position];
        if (b.shown && px >= b.x && px < b.x + b.width && py >= b.y && py < b.y + b.height)
            return position;
    }
    return -1;
}

void ViewTabs::setHover(int position)
{
    if (position == hoverButton)
        return;
    hoverButton = position;
    redraw();
}

bool ViewTabs::onResize(int, int)
{
    placeButtons();
    updateScrolling();
    return true;
}

void ViewTabs::onStyleChange()
{
    for (Tab& tab : tabs)
        tab.width = measureTab(tab.label);
    placeButtons();
    updateScrolling();
    redraw();
}

void ViewTabs::onMouseDown(int px, int py, int button, int)
{
    if (button != 0)
        return;
    int position = buttonAt(px, py);
    if (position >= 0) {
        if (!buttons[position].enabled)
            return;
        pressedButton = position;
        pressedInside = true;
        pointerCapture();
        redraw();
        if (isScrollButton(position)) {
            scrollStep(position);
            timer_construct(&scrollTimer, this, &ViewTabs::onScrollTick, ScrollRepeatMs, 0);
        }
        return;
    }
    int index = pointToTab(px, py);
    if (index < 0)
        return;
    pointerCapture();
    tabPressed = true;
    if (index != active) {
        // No scrolling here: the tab stays under the pointer that may drag it.
        active = index;
        redraw();
        NyCore::Object::CallbackParams params{1, {index}};
        send(u"TabActivated", &params);
    }
}

void ViewTabs::onDoubleClick(int px, int py, int button, int keys)
{
    onMouseDown(px, py, button, keys);
}

// The target is the tab under the pointer (the first or the last when the
// pointer is beyond them). The active tab moves there only once the pointer
// lies where the active tab will stand after the move, so that a narrow tab
// passing a wide one does not jump back and forth; otherwise it moves one
// place less far.
int ViewTabs::dragTarget(int px) const
{
    int n = get$count();
    if (active < 0 || n < 2)
        return -1;
    int along = std::clamp(px, 0, std::max(areaWidth - 1, 0)) + offset;
    int target = n - 1;
    for (int i = 0, left = 0; i < n; left += tabs[i].width, ++i) {
        if (along < left + tabs[i].width) {
            target = i;
            break;
        }
    }
    if (target == active)
        return -1;
    int movedWidth = tabs[active].width;
    int targetLeft = tabToX(target);
    if (target > active) {
        if (along < targetLeft + tabs[target].width - movedWidth)
            --target;
    } else if (along >= targetLeft + movedWidth) {
        ++target;
    }
    return target == active ? -1 : target;
}

void ViewTabs::onMouseMove(int px, int py, int)
{
    if (pressedButton >= 0) {
        bool inside = buttonAt(px, py) == pressedButton;
        if (inside != pressedInside) {
            pressedInside = inside;
            redraw();
        }
        return;
    }
    if (tabPressed) {
        if (draggable && (flags & WidgetFlags::PointerCaptured)) {
            int target = dragTarget(px);
            if (target >= 0)
                moveTab(active, target);
        }
        return;
    }
    setHover(buttonAt(px, py));
}

void ViewTabs::onMouseUp(int px, int py, int button, int)
{
    if (button != 0)
        return;
    int position = pressedButton;
    bool inside = position >= 0 && buttonAt(px, py) == position;
    if (position >= 0) {
        pressedButton = -1;
        pressedInside = false;
        timer_pause(&scrollTimer);
        redraw();
    }
    tabPressed = false;
    // Also a press whose button or tab went away meanwhile ends here.
    if (flags & WidgetFlags::PointerCaptured)
        pointerRelease();
    // Sent last: a listener may close the strip's owner.
    if (inside && position == CloseButton)
        send(u"ClosePressed");
    else if (inside && position == CollapseButton)
        send(u"CollapsePressed");
}

void ViewTabs::onMouseOut(int, int, int)
{
    if (pressedButton >= 0 && pressedInside) {
        pressedInside = false;
        redraw();
    }
    setHover(-1);
}

}
