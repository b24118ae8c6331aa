// InlineScroll: a scroll bar drawn inside the widget that scrolls (not a
// widget of its own). It knows its range, page and position, its place in
// the owner, the states of its two arrows, of its thumb and of a held track,
// and turns the owner's mouse events into steps, pages and drags.
#pragma once

#include <cstdint>

#include "nycore/graphics/gc.h"
#include "nycore/system/widget.h"

namespace NyToolkit {

class NytkWidget;

class InlineScroll {
public:
    enum Flags : std::uint16_t { Dragging = 1, Horizontal = 2, NestedCapture = 4, Captured = 8 };
    enum MouseEvent { Move = 0, Press = 1, Release = 2 };
    // ArrowPressed and PagePressed made one step and start the owner's
    // auto-repeat; ArrowReleased (a held arrow or track let go) stops it.
    enum MouseResult { Nothing = 0, ArrowPressed = 1, ArrowReleased = 2, ThumbMoved = 3, PagePressed = 4 };

    // Speed and page below 1 become 1; the position is limited to 0 ... max.
    void setup(int position, int total, int page, int speed);
    // Ignored when page <= 0 or total < 0; a position beyond the new max is
    // pulled back. Returns the position.
    int setRange(int total, int page);
    // Limits p to 0 ... max; repaints only the thumb pixels that changed.
    int setPosition(NytkWidget* owner, int p);
    int pageUp(NytkWidget* owner);
    int pageDown(NytkWidget* owner);
    void setSpeed(int n);
    // A bar lower than it is wide is horizontal.
    void reposition(int x, int y, int width, int height);
    // The same with the direction given (for bars that may be empty).
    void reposition(int x, int y, int width, int height, bool horizontal);
    NyCore::System::WidgetRect getRect() const;
    bool isInUse() const { return (flags & Dragging) != 0; }
    // The second (down or right) arrow when `second`, else the first: held down.
    bool isArrowInUse(bool second) const;
    // The track is held down (page steps toward the pointer).
    bool isPaging() const { return pageDirection != 0; }
    // The owner's mouse event (0 move, 1 press, 2 release) in owner coordinates.
    int handleMouse(NytkWidget* owner, int event, int x, int y, int keys);
    void redraw(NytkWidget* owner, NyCore::Graphics::GC* gc);
    // redraw on the owner's window, unless its drawing is suppressed.
    void redrawNow(NytkWidget* owner);
    // One auto-repeat step: of a held arrow with the pointer over it, or a page
    // toward the pointer on a held track. True when the position changed.
    bool repeatStep(NytkWidget* owner);
    // Lets go of whatever is held (arrows, track, thumb) and of the pointer.
    void cancel(NytkWidget* owner);

    int get$position() const { return position; }
    int get$max() const { return max; }
    int get$page() const { return page; }
    int get$speed() const { return speed; }
    bool isHorizontal() const { return (flags & Horizontal) != 0; }

    // Geometry along the axis: the side of each arrow square (the thickness,
    // or half the length of a bar too short for two), the track's length,
    // the thumb's length (never beyond the track; the whole track when there
    // is nothing to scroll) and its offset in the track.
    int arrowLength() const;
    int trackLength() const;
    int thumbLength() const;
    int thumbOffset() const;
    // The thumb can be dragged: something to scroll and room to move in.
    bool canDrag() const { return max > 0 && trackLength() > thumbLength(); }

    // The track and thumb colours of an owner's style.
    static std::uint32_t trackColor(NytkWidget const* owner);
    static std::uint32_t thumbColor(NytkWidget const* owner);

private:
    int thumbOffsetAt(int p) const;
    void drawArrow(NytkWidget* owner, NyCore::Graphics::GC* gc, int which);
    void drawAlong(NyCore::Graphics::GC* gc, int from, int to, std::uint32_t color);
    void capture(NytkWidget* owner);
    void release(NytkWidget* owner);
    // The page step a held track makes with the pointer at `along`: -1, +1 or 0 (on the thumb or off the bar).
    int pageToward() const;

    std::int32_t position = 0;
    std::int32_t max = 0;
    std::int32_t page = 1;
    std::int16_t speed = 1;
    std::int16_t grab = 0;
    std::int16_t thickness = 0;
    std::int16_t length = 0;
    std::int16_t cross = 0;
    std::int16_t start = 0;
    std::uint16_t flags = 0;
    std::uint8_t arrowState[2] = {0, 0};
    // While the track is held: the page direction of the press, and where the pointer is.
    std::int8_t pageDirection = 0;
    std::int16_t pointerAlong = 0;
    std::int16_t pointerAcross = 0;
};

}
