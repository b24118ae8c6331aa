// InlineScroll: a scroll bar drawn inside the widget that scrolls (not a
// widget of its own). It knows its range, page and position, its place in
// the owner, the states of its two arrows and of its thumb, and turns the
// owner's mouse events into steps and drags.
#pragma once

#include <cstdint>

#include "nycore/graphics/gc.h"
#include "nycore/system/widget.h"

namespace NyToolkit {

class NytkWidget;

class InlineScroll {
public:
    enum Flags : std::uint16_t { Dragging = 1, Horizontal = 2, NestedCapture = 4 };
    enum MouseEvent { Move = 0, Press = 1, Release = 2 };
    enum MouseResult { Nothing = 0, ArrowPressed = 1, ArrowReleased = 2, ThumbMoved = 3 };

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
    NyCore::System::WidgetRect getRect() const;
    bool isInUse() const { return (flags & Dragging) != 0; }
    // The second (down or right) arrow when `second`, else the first: held down.
    bool isArrowInUse(bool second) const;
    // The owner's mouse event (0 move, 1 press, 2 release) in owner coordinates.
    int handleMouse(NytkWidget* owner, int event, int x, int y, int keys);
    void redraw(NytkWidget* owner, NyCore::Graphics::GC* gc);
    // One auto-repeat step of a held arrow with the pointer over it; true when the position changed.
    bool repeatStep(NytkWidget* owner);

    int get$position() const { return position; }
    int get$max() const { return max; }
    int get$page() const { return page; }
    int get$speed() const { return speed; }
    bool isHorizontal() const { return (flags & Horizontal) != 0; }

    // Geometry along the axis: the track's length, the thumb's length and
    // its offset in the track (for drawing and tests).
    int trackLength() const;
    int thumbLength() const;
    int thumbOffset() const;

private:
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
};

}
