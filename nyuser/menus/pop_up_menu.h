// PopUpMenu: a drop-down or cascading menu in an override-redirect window.
// The deepest open pop-up of a chain holds the pointer grab; it serves the
// pointer for the whole chain (moves it cannot use go on to the pop-up or
// bar that opened it, presses go to whichever member of the chain they hit)
// and it cascades into the sub-menus of its rows. Keys reach a bar's chain
// through the bar (MenuBar), which calls the keyboard operations below.
#pragma once

#include <cstdint>

#include "nycore/system/widget.h"
#include "nyuser/menus/menu_widget.h"

namespace NyUser::Menus {

class MenuBar;

class PopUpMenu : public MenuWidget {
    NY_REFLECTIVE(PopUpMenu)
public:
    PopUpMenu() = default;
    static NyCore::Object* __create();

    // A pop-up of `menu` at (x, y) of `parent`, drawn with `style`, shown and
    // holding the pointer grab. `opener` is the pop-up or bar it belongs to
    // (none for a pop-up of its own, such as a context menu). It is moved so
    // that it stays on the screen.
    static PopUpMenu* open(NyCore::System::Widget* parent, MenuWidget* opener, Models::Menu* menu,
                           NyToolkit::Style* style, int x, int y);

    void onStyleChange() override;
    void onDraw(NyCore::Graphics::GC* gc) override;
    void onMouseMove(int x, int y, int keys) override;
    void onMouseDown(int x, int y, int button, int keys) override;
    void onMouseUp(int x, int y, int button, int keys) override;
    void onDoubleClick(int x, int y, int button, int keys) override;

    // Called when the pointer grab of the pop-up ends: unless the pointer is
    // inside it, closes its cascade and the pop-up itself.
    void closeSubMenu();

    MenuWidget* get$opener() const { return opener; }
    PopUpMenu* get$cascade() const { return cascade; }
    int get$highlighted() const { return highlighted; }
    int get$cascadeIndex() const { return cascadeIndex; }
    // The height of an entry row and the margin m (a fifth of the font height).
    int get$rowHeight() const;
    int get$margin() const;
    // The right edge of the shortcut texts.
    int get$shortcutRight() const;

    // Keyboard operations: the next entry up or down (separators skipped,
    // wrapping around), and the highlighted entry chosen (a cascade opens
    // with its first entry lit; an item runs).
    void moveHighlight(int step);
    void chooseHighlighted();
    // Opens the cascade of row i (closing any other); `lightFirst` lights its first entry.
    void openCascade(int i, bool lightFirst);
    // Closes the open cascade (and its own); this pop-up takes the grab back.
    void closeCascade();
    // Closes the pop-up and its cascades at once, without touching the opener.
    void dismiss();
    // The whole chain up to the bar (or to the first pop-up) closes; nothing runs.
    void closeChain();

protected:
    void layout() override;

private:
    PopUpMenu* parentPopUp() const;
    // The member of this pop-up's chain (this one or an opener) under the
    // point (px, py) of this pop-up, with the point on the screen and in that
    // member; null when no pop-up of the chain is there.
    PopUpMenu* chainMemberAt(int px, int py, NyCore::System::WidgetPoint* screen, NyCore::System::WidgetPoint* local);
    MenuBar* bar() const;
    PopUpMenu* topPopUp();
    void setHighlight(int i);
    // Whether a move to (x, y) keeps the open cascade (and the highlight) as
    // it is: the pointer is on its way into the cascade.
    bool keepsCascade(int x, int y) const;
    void pointerMovedInside(int x, int y);
    // A move of the pointer to (x, y), taken here or passed on to the opener.
    void followPointer(int x, int y);
    // The press at (x, y) of this pop-up, a member of the chain.
    void pressedAt(int x, int y);
    // Closes the chain, then has entry i of the menu run from the event loop.
    void choose(int i);
    void keepOnScreen(bool besideOpener);

    MenuWidget* opener = nullptr;
    PopUpMenu* cascade = nullptr;
    std::int32_t highlighted = -1;
    std::int32_t cascadeIndex = -1;
    // Where the pointer was when the cascade opened, in this pop-up's coordinates.
    NyCore::System::WidgetPoint cascadeOpenedAt = {0, 0};
    bool hasSubMenus = false;
    bool closing = false;
};

}
