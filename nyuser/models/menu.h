// Menu: an ordered list of counted entries (a null entry is a separator),
// the icon set they draw their icons from, the root whose callback slots
// their handlers are called on, and the entry waiting for its delayed call.
// Menus are counted and shared; MenuItemData is the static record menus are
// built from.
#pragma once

#include <cstdint>
#include <vector>

#include "nycore/system/counted_object.h"
#include "nytoolkit/styles/icon_set.h"
#include "nyuser/models/menu_element.h"

namespace NyUser::Models {

class MenuRoot;

// One row of a static menu table: a row without text is a separator; a row
// whose slot is below -1 ends the table (tables use -1000).
struct MenuItemData {
    NyCore::String const* text;
    NyCore::String const* method;
    std::int32_t slot;
    std::int32_t icon;
};

class Menu : public NyCore::Extenders::CountedObject {
    NY_REFLECTIVE(Menu)
public:
    // Empty, count 1, no icons, no root, nothing waiting.
    Menu() = default;
    // Releases every entry and the icon set.
    ~Menu() override;
    static NyCore::Object* __create();

    // A new menu (or root) filled from the records by read.
    static Menu* createMenu(MenuItemData const* records);
    static MenuRoot* createRoot(MenuItemData const* records);
    // Appends an item per record with text, a separator per record without,
    // up to the terminating record.
    void read(MenuItemData const* records);

    // Inserts at position i (0 ... count) adopting the caller's reference; a
    // submenu's child joins this menu's root at once.
    void insertNew(int i, MenuElement* element);
    // The same, taking a reference of its own.
    void insert(int i, MenuElement* element);
    void append(MenuElement* element);
    void appendNew(MenuElement* element);
    // Takes entry i out and releases it.
    void remove(int i);
    void removeAll();

    int get$count() const { return static_cast<int>(items.size()); }
    // Entry i; null for a separator and for an index outside the list.
    MenuElement* getElement(int i) const;
    // The child menu of entry i when it is a submenu, else null.
    Menu* getSubMenu(int i) const;

    NyToolkit::IconSet* get$icons() const { return icons; }
    // Takes a reference to the new set, then releases the old one.
    void set$icons(NyToolkit::IconSet* set);

    MenuRoot* get$root() const { return root; }
    // Joins this menu and its submenus, depth first, to `newRoot`. A menu that
    // belongs to another root already is a fatal WrongMenuRootException; a
    // null root changes nothing.
    void setRoot(MenuRoot* newRoot);

    int get$callbackIndex() const { return callbackIndex; }
    // Records entry i as waiting unless one waits already; returns the waiting entry.
    int setCallbackIndex(int i);
    // Runs the waiting entry (posted to the event loop by the menu widgets) and clears it.
    int delayedCallback();
    // Calls the method of entry i on the object of its slot and returns the
    // method's result; 0 for a separator and for entries without a method.
    // No root is a fatal NoRootMenuException, an empty slot a fatal
    // NoCallbackObjectException.
    int executeCallback(int i);

protected:
    MenuRoot* root = nullptr;

private:
    std::vector<MenuElement*> items;
    NyToolkit::IconSet* icons = nullptr;
    std::int32_t callbackIndex = -1;
};

}
