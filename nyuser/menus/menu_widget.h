// MenuWidget: the base of the menu bar and the pop-up menus. It holds a
// counted reference to the menu it shows and the start coordinate of each of
// its elements (x for the bar, y for a pop-up) with one more entry for the
// end of the last, which its layout fills in.
#pragma once

#include <cstdint>
#include <vector>

#include "nytoolkit/forms/nytk_widget.h"
#include "nyuser/models/menu.h"

namespace NyUser::Menus {

class MenuWidget : public NyToolkit::NytkWidget {
    NY_REFLECTIVE(MenuWidget)
public:
    MenuWidget() = default;
    // Releases the menu.
    ~MenuWidget() override;

    // The background is the style's own, not the parent's.
    void onCreate() override;

    Models::Menu* get$menu() const { return menu; }
    // Takes a reference to the new menu, releases the old one and lays the widget out anew.
    virtual void set$menu(Models::Menu* newMenu);
    // The element whose cell holds coordinate `at` (x for a bar, y for a
    // pop-up); -1 outside every cell.
    int elementAt(int at) const;
    // Where element i starts and ends; i = count gives the end of the last.
    int get$coordinate(int i) const;

protected:
    // Fills `coordinates` (and sizes the widget) for the current menu.
    virtual void layout();
    // The element's label width in the style's font (the gap for a separator).
    int labelWidth(int i) const;
    // Whether the pointer at (x, y) of this widget lies elsewhere on the screen
    // than at the last move any menu widget took. Grabs passing between the
    // menus report the pointer where it rests, and such reports must not undo
    // what the keyboard has lit.
    bool pointerMoved(int x, int y);
    // Takes where the pointer rests now as the last move: called when a menu
    // widget takes the grab, whose crossing reports must not count as moves.
    void notePointer();

    Models::Menu* menu = nullptr;
    std::vector<std::int32_t> coordinates;
};

}
