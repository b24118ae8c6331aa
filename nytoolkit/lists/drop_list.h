// DropList: a one-line box that shows its selected item (icon and label) and
// opens a SimpleList as a pop-up window below itself to choose another. The
// items live in a counted ListContents that several drop lists may share;
// each drop list keeps its own selected index, and so does its pop-up, whose
// choice the drop list applies when the pop-up closes.
#pragma once

#include <cstdint>

#include "nycore/system/widget.h"
#include "nytoolkit/forms/nytk_widget.h"
#include "nytoolkit/lists/list_contents.h"

namespace NyToolkit {

class SimpleList;

class DropList : public NytkWidget {
    NY_REFLECTIVE(DropList)
public:
    // The states of the arrow (icons 4 ... 6 of the style's "varrow" set).
    enum ArrowState { ArrowNormal = 0, ArrowHover = 1, ArrowOpen = 2 };

    // A new empty item list, no selection, pop-ups of at most 5 lines.
    DropList();
    ~DropList() override;
    static NyCore::Object* __create();

    void onCreate() override;
    // "display" (lines of the pop-up, at least 2), then the items.
    void setParameters(NyCore::XML::Element* element) override;
    void onDraw(NyCore::Graphics::GC* gc) override;
    void onMouseDown(int x, int y, int button, int keys) override;
    void onMouseOver(int x, int y, int keys) override;
    void onMouseOut(int x, int y, int keys) override;
    void onSystemKeyDown(int code, int modifiers) override;
    void onCharKeyDown(int code, int modifiers) override;
    void onFocusGained() override;
    void onFocusLost() override;
    void onEnable() override;
    void onDisable() override;
    void onScrollWheel(int steps) override;

    ListContents* get$contents() const { return contents; }
    // Counted replacement; a null list is ignored. A selection that lies
    // beyond the new items is dropped.
    void set$contents(ListContents* list);
    int get$display() const { return display; }
    void set$display(int lines);

    int get$selectedIndex() const { return selected; }
    // Stores i when it names an item, otherwise -1; redraws and sends
    // "change" with the index stored.
    void set$selectedIndex(int i);
    // The selected item's data (null) and label (the empty string) when none is selected.
    NyCore::Object* get$selectedData() const;
    NyCore::String const* get$selectedLabel() const;

    // Redraws when an item is selected.
    void update();
    // Opens the pop-up and runs its loop until an item is chosen or the
    // pop-up is dismissed; a choice is applied with set$selectedIndex.
    void showPopUpMenu();
    // The open pop-up, null while closed.
    SimpleList* get$popUp() const { return popUp; }
    // The pop-up's height for the current items: min(items, display) lines
    // and the border above and below.
    int popUpHeight() const;

private:
    void setArrowState(int state);
    // Ends the pop-up's loop with `index` (-1: no choice).
    void closePopUp(int index);

    ListContents* contents;
    SimpleList* popUp = nullptr;
    // While the pop-up is open: the owner of its loop (a windowless widget on
    // the opening call's stack, so that the loop can still be ended when the
    // drop list or the pop-up is deleted meanwhile) and the flag that tells
    // that call the drop list is gone.
    NyCore::System::Widget* popUpLoop = nullptr;
    bool* destroyedFlag = nullptr;
    // The pop-up turns WantTab on so that Tab reaches it; whether it was on before.
    bool hadWantTab = false;
    std::int32_t selected = -1;
    std::int32_t display = 5;
    std::int32_t arrowState = ArrowNormal;
};

}
