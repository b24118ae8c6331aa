// The entries of a menu: MenuElement (a label and an icon), MenuItem (an
// entry that calls a method by name on the object of a callback slot, and may
// show a shortcut text) and SubMenu (an entry that opens a child menu).
// Elements are counted; a menu holds one reference to each of its entries.
#pragma once

#include <cstdint>

#include "nycore/system/counted_object.h"

namespace NyUser::Models {

class Menu;

class MenuElement : public NyCore::Extenders::CountedObject {
    NY_REFLECTIVE(MenuElement)
public:
    // A copy of `text` is kept; icon -1 is none.
    explicit MenuElement(NyCore::String const* text, int icon = -1);
    ~MenuElement() override;

    virtual bool get$isSubMenu() const;

    NyCore::String const* get$text() const { return text; }
    void set$text(NyCore::String const* s);
    int get$icon() const { return icon; }
    void set$icon(int index) { icon = index; }

private:
    NyCore::String* text;
    std::int32_t icon;
};

class MenuItem : public MenuElement {
    NY_REFLECTIVE(MenuItem)
public:
    // A missing slot is -1, a missing method none; both strings are copied.
    explicit MenuItem(NyCore::String const* text);
    MenuItem(NyCore::String const* text, int icon);
    MenuItem(NyCore::String const* text, int slot, NyCore::String const* method);
    MenuItem(NyCore::String const* text, int icon, int slot, NyCore::String const* method);
    ~MenuItem() override;

    // Replaces the slot and the method name together.
    void setCallback(int slot, NyCore::String const* method);
    int get$slot() const { return slot; }
    NyCore::String const* get$method() const { return method; }
    // The key text shown right-aligned in the entry's row ("Ctrl+S"); none by default.
    NyCore::String const* get$shortcut() const { return shortcut; }
    void set$shortcut(NyCore::String const* s);

private:
    std::int32_t slot;
    NyCore::String* method;
    NyCore::String* shortcut = nullptr;
};

class SubMenu : public MenuElement {
    NY_REFLECTIVE(SubMenu)
public:
    // Takes a reference to the child (which may be null).
    SubMenu(NyCore::String const* text, Menu* child);
    SubMenu(NyCore::String const* text, int icon, Menu* child);
    // Releases the child.
    ~SubMenu() override;

    bool get$isSubMenu() const override;

    Menu* get$child() const { return child; }
    // Takes a reference to the new child, then releases the old one.
    void set$child(Menu* menu);

private:
    Menu* child;
};

}
