// ViewTabs: the strip of labelled tabs above a multi-view, with optional
// scroll, close and collapse buttons at its right end. A press activates a
// tab ("TabActivated"); dragging the active tab moves it ("TabMoved" with
// from and to as a move: the tab is taken out at `from` and put in at `to`,
// the tabs between shift by one place, so a list kept in tab order follows
// with the same move). The close and collapse buttons send "ClosePressed" and
// "CollapsePressed"; the scroll buttons step the strip while they are held.
#pragma once

#include <cstdint>
#include <vector>

#include "nycore/graphics/font.h"
#include "nycore/system/timer.h"
#include "nytoolkit/forms/nytk_widget.h"

namespace NyUser::Views {

class ViewTabs : public NyToolkit::NytkWidget {
    NY_REFLECTIVE(ViewTabs)
public:
    // The buttons by position: two scroll buttons (0 steps towards the last
    // tab, 1 towards the first), the close and the collapse button.
    enum ButtonPosition { ScrollToLast = 0, ScrollToFirst = 1, CloseButton = 2, CollapseButton = 3, ButtonSlots = 4 };
    // The button flags that enableButtons sets.
    enum ButtonFlag { HasClose = 2, HasCollapse = 4, HasScroll = 8 };
    // Pixels one scroll step moves, and the repeat interval of a held scroll button.
    static constexpr int ScrollStep = 6;
    static constexpr std::uint32_t ScrollRepeatMs = 25;
    // The active tab's background; normal tabs use the widget's.
    static constexpr std::uint32_t ActiveTabColor = 0xDCDCBA;
    static constexpr std::uint32_t StripColor = 0xFFFFE6;

    ViewTabs() = default;
    ~ViewTabs() override;
    static NyCore::Object* __create();

    // Makes the bold font of the active tab and the strip's background.
    void onCreate() override;
    void onDraw(NyCore::Graphics::GC* gc) override;
    bool onResize(int dw, int dh) override;
    void onStyleChange() override;
    void onMouseDown(int x, int y, int button, int keys) override;
    void onDoubleClick(int x, int y, int button, int keys) override;
    void onMouseMove(int x, int y, int keys) override;
    void onMouseUp(int x, int y, int button, int keys) override;
    void onMouseOut(int x, int y, int keys) override;

    // Inserts before `index` (clamped to the tabs); a missing label is empty.
    // The active tab stays the same tab.
    void insertTab(int index, NyCore::String const* label);
    // Removing the active tab leaves no tab active.
    void removeTab(int index);
    // Takes the tab out at `from` and puts it in at `to`; the active index
    // follows its tab. Sends "TabMoved" (from, to) when anything moved.
    void moveTab(int from, int to);
    // Makes the tab active, scrolls it into view and sends "TabActivated";
    // the active tab or an index outside the tabs does nothing.
    void activateTab(int index);
    // Keeps the active tab active.
    void setLabel(int index, NyCore::String const* label);
    // Rebuilds the buttons: each argument says whether that button is shown.
    void enableButtons(bool close, bool collapse, bool scroll);
    // The tab under a point of the tab area, or -1.
    int pointToTab(int x, int y) const;
    // The left edge of a tab before scrolling (the total width past the last tab).
    int tabToX(int index) const;

    int get$count() const { return static_cast<int>(tabs.size()); }
    int get$active() const { return active; }
    NyCore::String const* getLabel(int index) const;
    int getTabWidth(int index) const;
    int get$totalWidth() const { return totalWidth; }
    // The width of the tab area: the widget's width less the buttons.
    int get$areaWidth() const { return areaWidth; }
    int get$offset() const { return offset; }
    void set$offset(int pixels);
    bool get$draggable() const { return draggable; }
    void set$draggable(bool allowed) { draggable = allowed; }
    std::uint32_t get$buttonFlags() const { return buttonFlags; }
    // Whether a button is shown at the position, where, and whether it takes presses.
    bool hasButton(int position) const;
    bool getButtonRect(int position, NyCore::System::WidgetRect* rect) const;
    bool isButtonEnabled(int position) const;
    bool get$scrolling() const { return scrollTimer.id != 0; }

private:
    struct Tab {
        NyCore::String* label;
        int width;
    };
    struct Button {
        bool shown;
        bool enabled;
        int x, y, width, height;
    };

    int measureTab(NyCore::String const* label) const;
    // Places the buttons from the right edge inwards and sets the tab area.
    void placeButtons();
    // The total width, the scroll buttons' state and the offset's range.
    void updateScrolling();
    int maxOffset() const;
    void scrollInto(int index);
    // One step of a scroll button; the still-visible tabs are copied sideways.
    void scrollStep(int position);
    void drawTabs(NyCore::Graphics::GC* gc, int left, int span);
    void drawButton(NyCore::Graphics::GC* gc, int position);
    int buttonAt(int x, int y) const;
    // The tab the active one moves to for a pointer at x, or -1.
    int dragTarget(int x) const;
    void setHover(int position);
    static void onScrollTick(NyCore::System::Widget* widget);

    std::vector<Tab> tabs;
    Button buttons[ButtonSlots] = {};
    int buttonCount = 0;
    std::uint32_t buttonFlags = 0;
    bool draggable = true;
    int areaWidth = 0;
    int totalWidth = 0;
    int offset = 0;
    int active = -1;
    NyCore::System::Timer scrollTimer = {};
    NyCore::Graphics::Font* activeFont = nullptr;

    // Pointer state: the button pressed (-1 none) and whether the pointer is
    // still over it, the button under the pointer, and a press on a tab that
    // may drag it.
    int pressedButton = -1;
    bool pressedInside = false;
    int hoverButton = -1;
    bool tabPressed = false;
};

}
