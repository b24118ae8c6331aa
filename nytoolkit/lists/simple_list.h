// SimpleList: a vertically scrolling list of items, one line each, with an
// optional icon per item and one selected item of its own. As a pop-up
// window (the PopUp flag) it serves a drop list: the line under the pointer
// follows the pointer and a press or release on a line ends the nested event
// loop that the drop list runs on it, with that line's index.
#pragma once

#include <cstdint>

#include "nytoolkit/lists/list_contents.h"
#include "nytoolkit/scroll/scroll_view.h"

namespace NyToolkit {

class SimpleList : public ScrollView {
    NY_REFLECTIVE(SimpleList)
public:
    // A new empty item list and no selection.
    SimpleList();
    ~SimpleList() override;
    static NyCore::Object* __create();

    // Style class 1; the line height from the font; no horizontal bar.
    void onCreate() override;
    // "lineHeight" (at least 5), then the items.
    void setParameters(NyCore::XML::Element* element) override;
    void onDraw(NyCore::Graphics::GC* gc) override;
    void onMouseDown(int x, int y, int button, int keys) override;
    void onMouseUp(int x, int y, int button, int keys) override;
    void onMouseMove(int x, int y, int keys) override;
    void onDoubleClick(int x, int y, int button, int keys) override;
    void onSystemKeyDown(int code, int modifiers) override;
    bool onResize(int dw, int dh) override;
    void onVScroll(int change) override;
    void onStyleChange() override;

    ListContents* get$contents() const { return contents; }
    // Counted replacement (null is ignored); the range follows the new items.
    void set$contents(ListContents* list);
    int get$lineHeight() const { return lineHeight; }
    void set$lineHeight(int pixels);

    int get$selectedIndex() const { return selected; }
    // An index outside the items becomes -1; the old and new lines are
    // redrawn when it changes; "selectionChange" is sent with the index stored.
    void set$selectedIndex(int i);
    NyCore::Object* get$selectedData() const;
    NyCore::String const* get$selectedLabel() const;

    // Vertical range from the items, then a redraw.
    void refresh();
    // Moves the selection by `delta` lines, within the items (no selection
    // starts at the first item), and scrolls it into view. False when it did not move.
    bool moveSelection(int delta);
    // Scrolls the least that shows line `index` whole.
    void showLine(int index);
    // Whole lines that fit in the client area (at least 1).
    int linesShown() const;
    // The item under a point of the client area, -1 for none.
    int lineAt(int x, int y) const;
    bool isPopUp() const;
    // Ends the nested loop run for the pop-up with `index` (-1: nothing
    // chosen) and ignores the input that follows.
    void endPopUp(int index);
    // The owner of that loop (the list itself unless set).
    void set$loopOwner(NyCore::System::Widget* owner) { loopOwner = owner; }

private:
    void drawLines(NyCore::Graphics::GC* gc, int from, int to);
    // Draws items from..to now, on the window, unless drawing is suppressed.
    void redrawLines(int from, int to);
    void popUpPress(int x, int y, int button, int keys);

    ListContents* contents;
    std::int32_t selected = -1;
    std::int32_t lineHeight = 16;
    // A press in the pop-up fell on the border or a bar: its release chooses nothing.
    bool pressedOffLines = false;
    // The pop-up asked for its loop to end; later input is ignored.
    bool popUpDone = false;
    NyCore::System::Widget* loopOwner = this;
};

}
