// Menu entries: labels, callbacks and the counted child of a submenu.
#include "nyuser/models/menu_element.h"

#include "nycore/text/string_functions.h"
#include "nyuser/models/menu.h"

namespace NyUser::Models {

NyCore::TypeData MenuElement::MetaData = {&NyCore::Extenders::CountedObject::MetaData, nullptr,
                                          u"NyUser.Models.MenuElement"_str, NyCore::NoMethods, NyCore::NoEvents,
                                          nullptr, sizeof(MenuElement), 0, nullptr};
NyCore::TypeData MenuItem::MetaData = {&MenuElement::MetaData, nullptr, u"NyUser.Models.MenuItem"_str,
                                       NyCore::NoMethods, NyCore::NoEvents, nullptr, sizeof(MenuItem), 0, nullptr};
NyCore::TypeData SubMenu::MetaData = {&MenuElement::MetaData, nullptr, u"NyUser.Models.SubMenu"_str,
                                      NyCore::NoMethods, NyCore::NoEvents, nullptr, sizeof(SubMenu), 0, nullptr};

MenuElement::MenuElement(NyCore::String const* text, int icon) : text(string_copy(text)), icon(icon) {}

MenuElement::~MenuElement()
{
    string_free(text);
}

bool MenuElement::get$isSubMenu() const
{
    return false;
}

void MenuElement::set$text(NyCore::String const* s)
{
    NyCore::String* old = text;
    text = string_copy(s);
    string_free(old);
}

MenuItem::MenuItem(NyCore::String const* text) : MenuItem(text, -1, -1, nullptr) {}

MenuItem::MenuItem(NyCore::String const* text, int icon) : MenuItem(text, icon, -1, nullptr) {}

MenuItem::MenuItem(NyCore::String const* text, int slot, NyCore::String const* method)
    : MenuItem(text, -1, slot, method)
{
}

MenuItem::MenuItem(NyCore::String const* text, int icon, int slot, NyCore::String const* method)
    : MenuElement(text, icon), slot(slot), method(string_copy(method))
{
}

MenuItem::~MenuItem()
{
    string_free(shortcut);
    string_free(method);
}

void MenuItem::setCallback(int newSlot, NyCore::String const* newMethod)
{
    NyCore::String* old = method;
    method = string_copy(newMethod);
    string_free(old);
    slot = newSlot;
}

void MenuItem::set$shortcut(NyCore::String const* s)
{
    NyCore::String* old = shortcut;
    shortcut = string_copy(s);
    string_free(old);
}

SubMenu::SubMenu(NyCore::String const* text, Menu* child) : SubMenu(text, -1, child) {}

SubMenu::SubMenu(NyCore::String const* text, int icon, Menu* child) : MenuElement(text, icon), child(child)
{
    if (child)
        child->addRef();
}

SubMenu::~SubMenu()
{
    if (child)
        child->release();
}

bool SubMenu::get$isSubMenu() const
{
    return true;
}

void SubMenu::set$child(Menu* menu)
{
    if (menu)
        menu->addRef();
    if (child)
        child->release();
    child = menu;
}

}
