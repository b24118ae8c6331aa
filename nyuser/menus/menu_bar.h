// MenuBar: the horizontal bar of menus at the top of a window. Its entries
// open PopUpMenus by pointer and by keyboard (F10, or Alt pressed and
// released alone, lights the first menu; the arrows, Enter and Escape then
// move through the menus as on any desktop). The bar watches the keys of its
// whole window (Widget::watchKeys), so the focus stays where it was while
// the menus are in use.
#pragma once

#include <cstdint>
#include <vector>

#include "nyuser/menus/menu_widget.h"

namespace NyUser::Menus {

class PopUpMenu;

class MenuBar : public MenuWidget {
    NY_REFLECTIVE(MenuBar)
public:
    MenuBar() = default;
    static NyCore::Object* __create();

    void onCreate() override;
    // Closes any open menu first, and redraws.
    void set$menu(Models::Menu* newMenu) override;
    // Lays out and redraws the bar for its menu's current entries (closing any open menu).
    void refresh();
    void onStyleChange() override;
    void onDraw(NyCore::Graphics::GC* gc) override;
    void onMouseDown(int x, int y, int button, int keys) override;
    void onMouseUp(int x, int y, int button, int keys) override;
    void onDoubleClick(int x, int y, int button, int keys) override;
    void onMouseMove(int x, int y, int keys) override;
    void onMouseOut(int x, int y, int keys) override;

    // The element under the pointer or lit by the keyboard (-1: none), the
    // element whose pop-up is open (-1: none) and that pop-up.
    int get$hoverIndex() const { return hover; }
    int get$openIndex() const { return openIndex; }
    PopUpMenu* get$popUp() const { return popUp; }
    // While menus are in use: a bar entry lit from the keyboard or a pop-up open.
    bool get$isActive() const { return active; }

    // The pop-up of element i (only elements with a sub-menu open one);
    // `lightFirst` lights its first entry.
    void openPopUp(int i, bool lightFirst);
    // Closes the open pop-up; the bar stays active when it was.
    void closePopUp();
    // Lights the first menu for the keyboard.
    void activate();
    // Closes every menu and ends keyboard use.
    void deactivate();
    // Closes every menu, then has entry i of `source` run from the event loop.
    void choose(Models::Menu* source, int i);
    // A press at (x, y) of the bar while a pop-up of it holds the pointer.
    void pressedAt(int x, int y);
    // A move of the pointer to (x, y) of the bar, also while a pop-up holds the pointer.
    void followPointer(int x, int y);
    // True once after a press on the bar opened a pop-up: the release that
    // follows may choose the entry the pointer was dragged to.
    bool endDrag();
    // The keys of the deepest open pop-up (the bar's own when none is open): true when taken.
    bool menuKey(int code, int modifiers);

protected:
    void layout() override;

private:
    static bool watchKey(NyCore::System::Widget* watcher, int code, int modifiers);
    bool keyEvent(int code, int modifiers);
    // The next element from `from` by `step` that is no separator, wrapping; -1 when there is none.
    int nextEntry(int from, int step) const;
    // Moves to the neighbouring bar menu; its pop-up opens when one was open.
    void moveToNeighbour(int step);
    void setHover(int i);
    void drawEntry(NyCore::Graphics::GC* gc, int i);

    std::int32_t hover = -1;
    std::int32_t openIndex = -1;
    PopUpMenu* popUp = nullptr;
    bool active = false;
    bool draggedFromBar = false;
    // Alt went down and no other key since: its release toggles the menus.
    bool altAlone = false;
    // Keys whose press the menus took; their release is taken as well.
    std::vector<int> takenKeys;
};

}
