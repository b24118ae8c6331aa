// The inline scroll bar: range arithmetic, geometry, drawing (partial where
// the thumb moves) and the arrow, track and thumb mouse handling.
#include "nytoolkit/scroll/inline_scroll.h"

#include <algorithm>
#include <cstdint>

#include "nycore/graphics/color.h"
#include "nytoolkit/forms/nytk_widget.h"

namespace NyToolkit {

namespace {

namespace WF = NyCore::System::WidgetFlags;

// Arrow states: idle, idle with the pointer elsewhere, held with the pointer
// away, hover, just pressed, held with the pointer over it. state / 3 is the
// picture: normal, hover, pressed.
enum ArrowState : std::uint8_t { Idle = 0, Away = 1, HeldAway = 2, Hover = 3, JustPressed = 6, HeldOver = 7 };

bool isHeld(std::uint8_t state)
{
    return state == HeldAway || state == JustPressed || state == HeldOver;
}

bool canDrawOn(NytkWidget const* owner)
{
    return owner && owner->get$nativeWindow() && !(owner->get$flags() & WF::DrawingSuppressed);
}

int clampInt(std::int64_t value)
{
    return static_cast<int>(std::clamp<std::int64_t>(value, INT32_MIN, INT32_MAX));
}

}

void InlineScroll::setup(int p, int total, int newPage, int newSpeed)
{
    page = std::max(newPage, 1);
    speed = static_cast<std::int16_t>(std::clamp(newSpeed, 1, INT16_MAX));
    max = clampInt(static_cast<std::int64_t>(total) - page);
    position = max > 0 ? std::clamp(p, 0, max) : 0;
}

int InlineScroll::setRange(int total, int newPage)
{
    if (newPage <= 0 || total < 0)
        return position;
    page = newPage;
    max = clampInt(static_cast<std::int64_t>(total) - page);
    if (position > max)
        position = std::max(max, 0);
    return position;
}

int InlineScroll::setPosition(NytkWidget* owner, int p)
{
    p = std::clamp(p, 0, std::max(max, 0));
    if (p == position)
        return position;
    int oldOffset = thumbOffset();
    position = p;
    int newOffset = thumbOffset();
    if (oldOffset == newOffset || !canDrawOn(owner) || thickness <= 0 || max <= 0)
        return position;
    // Only the pixels the thumb left and the ones it arrived on.
    int thumb = thumbLength();
    NyCore::Graphics::GC gc;
    wgc_construct(&gc, owner->get$nativeWindow());
    if (newOffset > oldOffset) {
        drawAlong(&gc, oldOffset, std::min(oldOffset + thumb, newOffset), trackColor(owner));
        drawAlong(&gc, std::max(newOffset, oldOffset + thumb), newOffset + thumb, thumbColor(owner));
    } else {
        drawAlong(&gc, std::max(newOffset + thumb, oldOffset), oldOffset + thumb, trackColor(owner));
        drawAlong(&gc, newOffset, std::min(newOffset + thumb, oldOffset), thumbColor(owner));
    }
    gc_flush(&gc);
    wgc_destroy(&gc);
    return position;
}

int InlineScroll::pageUp(NytkWidget* owner)
{
    return setPosition(owner, clampInt(static_cast<std::int64_t>(position) - page));
}

int InlineScroll::pageDown(NytkWidget* owner)
{
    return setPosition(owner, clampInt(static_cast<std::int64_t>(position) + page));
}

void InlineScroll::setSpeed(int n)
{
    speed = static_cast<std::int16_t>(std::clamp(n, 1, INT16_MAX));
}

void InlineScroll::reposition(int x, int y, int width, int height)
{
    reposition(x, y, width, height, height < width);
}

void InlineScroll::reposition(int x, int y, int width, int height, bool horizontal)
{
    width = std::clamp(width, 0, INT16_MAX);
    height = std::clamp(height, 0, INT16_MAX);
    if (horizontal) {
        flags |= Horizontal;
        thickness = static_cast<std::int16_t>(height);
        length = static_cast<std::int16_t>(width);
        start = static_cast<std::int16_t>(x);
        cross = static_cast<std::int16_t>(y);
    } else {
        flags &= ~Horizontal;
        thickness = static_cast<std::int16_t>(width);
        length = static_cast<std::int16_t>(height);
        start = static_cast<std::int16_t>(y);
        cross = static_cast<std::int16_t>(x);
    }
}

NyCore::System::WidgetRect InlineScroll::getRect() const
{
    if (isHorizontal())
        return {start, cross, length, thickness};
    return {cross, start, thickness, length};
}

bool InlineScroll::isArrowInUse(bool second) const
{
    std::uint8_t state = arrowState[second ? 1 : 0];
    return state == JustPressed || state == HeldOver;
}

int InlineScroll::arrowLength() const
{
    return std::min<int>(thickness, length / 2);
}

int InlineScroll::trackLength() const
{
    return std::max(length - 2 * arrowLength(), 0);
}

int InlineScroll::thumbLength() const
{
    int track = trackLength();
    if (max <= 0)
        return track;
    auto share = static_cast<int>(static_cast<std::int64_t>(page) * track / (static_cast<std::int64_t>(max) + page));
    // At least as long as the bar is thick, but never over the arrows.
    return std::min(std::max<int>(thickness, share), track);
}

int InlineScroll::thumbOffsetAt(int p) const
{
    int room = trackLength() - thumbLength();
    if (max <= 0 || room <= 0)
        return 0;
    return static_cast<int>(static_cast<std::int64_t>(p) * room / max);
}

int InlineScroll::thumbOffset() const
{
    return thumbOffsetAt(position);
}

std::uint32_t InlineScroll::trackColor(NytkWidget const* owner)
{
    return NyCore::Graphics::Color::scale(owner->getColor(ConstStyle::Frame), 175);
}

std::uint32_t InlineScroll::thumbColor(NytkWidget const* owner)
{
    return NyCore::Graphics::Color::scale(owner->getColor(ConstStyle::Frame), 125);
}

void InlineScroll::drawAlong(NyCore::Graphics::GC* gc, int from, int to, std::uint32_t color)
{
    if (to <= from)
        return;
    int first = start + arrowLength() + from;
    gc_set_background(gc, color);
    if (isHorizontal())
        gc_rect_fill(gc, first, cross, to - from, thickness);
    else
        gc_rect_fill(gc, cross, first, thickness, to - from);
}

void InlineScroll::drawArrow(NytkWidget* owner, NyCore::Graphics::GC* gc, int which)
{
    int side = arrowLength();
    if (side <= 0 || thickness <= 0)
        return;
    int along = which == 0 ? start : start + length - side;
    int x = isHorizontal() ? along : cross;
    int y = isHorizontal() ? cross : along;
    int w = isHorizontal() ? side : thickness;
    int h = isHorizontal() ? thickness : side;
    gc_set_background(gc, trackColor(owner));
    gc_rect_fill(gc, x, y, w, h);
    IconSet* icons = owner->get$style()->getIcons(isHorizontal() ? ConstStyle::HArrow : ConstStyle::VArrow);
    if (!icons)
        return;
    bool clip = icons->get$width() > w || icons->get$height() > h;
    if (clip)
        gc_set_clip(gc, x, y, w, h);
    icons->draw(gc, x + (w - icons->get$width()) / 2, y + (h - icons->get$height()) / 2,
                arrowState[which] / 3 + 4 * which);
    if (clip)
        gc_set_clip(gc, 0, 0, 0, 0);
}

void InlineScroll::redraw(NytkWidget* owner, NyCore::Graphics::GC* gc)
{
    if (thickness <= 0 || length <= 0)
        return;
    int track = trackLength();
    if (max <= 0) {
        drawAlong(gc, 0, track, trackColor(owner));
    } else {
        int offset = thumbOffset();
        int thumb = thumbLength();
        drawAlong(gc, 0, offset, trackColor(owner));
        drawAlong(gc, offset, offset + thumb, thumbColor(owner));
        drawAlong(gc, offset + thumb, track, trackColor(owner));
    }
    drawArrow(owner, gc, 0);
    drawArrow(owner, gc, 1);
}

void InlineScroll::redrawNow(NytkWidget* owner)
{
    if (!canDrawOn(owner))
        return;
    NyCore::Graphics::GC gc;
    wgc_construct(&gc, owner->get$nativeWindow());
    redraw(owner, &gc);
    gc_flush(&gc);
    wgc_destroy(&gc);
}

void InlineScroll::capture(NytkWidget* owner)
{
    if (flags & (Captured | NestedCapture))
        return;
    if (owner->get$flags() & WF::PointerCaptured) {
        flags |= NestedCapture;
    } else {
        owner->pointerCapture();
        flags |= Captured;
    }
}

void InlineScroll::release(NytkWidget* owner)
{
    if (flags & Captured)
        owner->pointerRelease();
    flags &= ~(Captured | NestedCapture);
}

int InlineScroll::pageToward() const
{
    if (pointerAcross < cross || pointerAcross >= cross + thickness)
        return 0;
    int along = pointerAlong - start - arrowLength();
    if (along < 0 || along >= trackLength())
        return 0;
    int offset = thumbOffset();
    if (along < offset)
        return -1;
    if (along >= offset + thumbLength())
        return 1;
    return 0;
}

int InlineScroll::handleMouse(NytkWidget* owner, int event, int x, int y, int)
{
    bool held = isHeld(arrowState[0]) || isHeld(arrowState[1]) || (flags & Dragging) || pageDirection != 0;
    if (max <= 0 && !held)
        return Nothing;
    int along = isHorizontal() ? x : y;
    int across = isHorizontal() ? y : x;
    bool onBar = across >= cross && across < cross + thickness && along >= start && along < start + length;
    int side = arrowLength();

    // The arrows. A press over an idle arrow always takes it, also right
    // after a release with the pointer still in place.
    bool released = false;
    int pressed = -1;
    for (int i = 0; i < 2; ++i) {
        // A drag or a held track keeps the arrows from lighting up under the pointer.
        bool busy = (flags & Dragging) || pageDirection != 0;
        bool inside = onBar && !busy && (i == 0 ? along < start + side : along >= start + length - side);
        std::uint8_t old = arrowState[i];
        std::uint8_t state;
        if (isHeld(old))
            state = event == Release ? Idle : (inside ? HeldOver : HeldAway);
        else if (event == Press && inside && max > 0 && !held)
            state = JustPressed;
        else
            state = inside ? Hover : Away;
        arrowState[i] = state;
        if (isHeld(old) && state == Idle) {
            released = true;
            release(owner);
        }
        if (state == JustPressed) {
            pressed = i;
            capture(owner);
        }
        if (old / 3 != state / 3 && canDrawOn(owner)) {
            NyCore::Graphics::GC gc;
            wgc_construct(&gc, owner->get$nativeWindow());
            drawArrow(owner, &gc, i);
            gc_flush(&gc);
            wgc_destroy(&gc);
        }
    }
    if (released)
        return ArrowReleased;
    if (pressed >= 0) {
        setPosition(owner, clampInt(static_cast<std::int64_t>(position) + (pressed == 0 ? -speed : speed)));
        return ArrowPressed;
    }

    if (pageDirection != 0) {
        pointerAlong = static_cast<std::int16_t>(std::clamp(along, INT16_MIN + 0, INT16_MAX + 0));
        pointerAcross = static_cast<std::int16_t>(std::clamp(across, INT16_MIN + 0, INT16_MAX + 0));
        if (event != Release)
            return Nothing;
        pageDirection = 0;
        release(owner);
        return ArrowReleased;
    }

    if (flags & Dragging) {
        if (event == Release) {
            flags &= ~Dragging;
            release(owner);
            return Nothing;
        }
        int room = trackLength() - thumbLength();
        if (event != Move || room <= 0)
            return Nothing;
        std::int64_t offset = static_cast<std::int64_t>(along) - grab - start - side;
        // The position whose thumb offset is nearest to the pointer's.
        std::int64_t wanted = (offset * max * 2 + (offset < 0 ? -room : room)) / (2 * static_cast<std::int64_t>(room));
        int old = position;
        setPosition(owner, clampInt(wanted));
        return position != old ? ThumbMoved : Nothing;
    }

    if (event != Press || !onBar || max <= 0)
        return Nothing;
    int inTrack = along - start - side;
    if (inTrack < 0 || inTrack >= trackLength())
        return Nothing;
    int offset = thumbOffset();
    int thumb = thumbLength();
    if (inTrack >= offset && inTrack < offset + thumb) {
        // A thumb that fills the track has nowhere to go.
        if (!canDrag())
            return Nothing;
        grab = static_cast<std::int16_t>(inTrack - offset);
        flags |= Dragging;
        capture(owner);
        return Nothing;
    }
    pageDirection = static_cast<std::int8_t>(inTrack < offset ? -1 : 1);
    pointerAlong = static_cast<std::int16_t>(along);
    pointerAcross = static_cast<std::int16_t>(across);
    capture(owner);
    if (pageDirection < 0)
        pageUp(owner);
    else
        pageDown(owner);
    return PagePressed;
}

bool InlineScroll::repeatStep(NytkWidget* owner)
{
    int old = position;
    if (isArrowInUse(false))
        setPosition(owner, clampInt(static_cast<std::int64_t>(position) - speed));
    else if (isArrowInUse(true))
        setPosition(owner, clampInt(static_cast<std::int64_t>(position) + speed));
    else if (pageDirection != 0 && pageToward() == pageDirection)
        pageDirection < 0 ? pageUp(owner) : pageDown(owner);
    return position != old;
}

void InlineScroll::cancel(NytkWidget* owner)
{
    for (std::uint8_t& state : arrowState)
        if (isHeld(state))
            state = Idle;
    flags &= ~Dragging;
    pageDirection = 0;
    release(owner);
    redrawNow(owner);
}

}
