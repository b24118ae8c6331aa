// The menu list, building menus from static tables, joining menu trees to
// their root, and running an entry's handler through the root's slots.
#include "nyuser/models/menu.h"

#include "nycore/system/exceptions.h"
#include "nycore/system/method_thunk.h"
#include "nyuser/models/menu_exceptions.h"
#include "nyuser/models/menu_root.h"

namespace NyUser::Models {

namespace {

NyCore::MethodEntry const MenuMethods[] = {{u"delayedCallback", NY_METHOD(Menu::delayedCallback)},
                                           {u"removeAll", NY_METHOD(Menu::removeAll)},
                                           {nullptr, nullptr}};

bool isEndOfTable(MenuItemData const& record)
{
    return record.slot < -1;
}

}

NyCore::TypeData Menu::MetaData = {&NyCore::Extenders::CountedObject::MetaData, nullptr, u"NyUser.Models.Menu"_str,
                                   MenuMethods, NyCore::NoEvents, &Menu::__create, sizeof(Menu), 0, nullptr};

Menu::~Menu()
{
    for (MenuElement* element : items)
        if (element)
            element->release();
    if (icons)
        icons->release();
}

NyCore::Object* Menu::__create()
{
    return new Menu();
}

Menu* Menu::createMenu(MenuItemData const* records)
{
    auto* menu = new Menu();
    menu->read(records);
    return menu;
}

MenuRoot* Menu::createRoot(MenuItemData const* records)
{
    auto* menu = new MenuRoot();
    menu->read(records);
    return menu;
}

void Menu::read(MenuItemData const* records)
{
    for (MenuItemData const* record = records; record && !isEndOfTable(*record); ++record) {
        if (record->text)
            appendNew(new MenuItem(record->text, record->icon, record->slot, record->method));
        else
            appendNew(nullptr);
    }
}

void Menu::insertNew(int i, MenuElement* element)
{
    if (i < 0 || i > get$count())
        NY_THROW(OutOfBoundsException(i, get$count()));
    // Joined first, so that a child of another root leaves this menu as it was.
    if (element && element->get$isSubMenu())
        if (Menu* child = static_cast<SubMenu*>(element)->get$child())
            child->setRoot(root);
    items.insert(items.begin() + i, element);
}

void Menu::insert(int i, MenuElement* element)
{
    if (element)
        element->addRef();
    insertNew(i, element);
}

void Menu::append(MenuElement* element)
{
    insert(get$count(), element);
}

void Menu::appendNew(MenuElement* element)
{
    insertNew(get$count(), element);
}

void Menu::remove(int i)
{
    if (i < 0 || i >= get$count())
        NY_THROW(OutOfBoundsException(i, get$count() - 1));
    MenuElement* element = items[static_cast<std::size_t>(i)];
    items.erase(items.begin() + i);
    if (element)
        element->release();
}

void Menu::removeAll()
{
    // Emptied before the releases, so that nothing a release sets off sees released entries.
    std::vector<MenuElement*> old;
    old.swap(items);
    for (MenuElement* element : old)
        if (element)
            element->release();
}

MenuElement* Menu::getElement(int i) const
{
    return i >= 0 && i < get$count() ? items[static_cast<std::size_t>(i)] : nullptr;
}

Menu* Menu::getSubMenu(int i) const
{
    MenuElement* element = getElement(i);
    return element && element->get$isSubMenu() ? static_cast<SubMenu*>(element)->get$child() : nullptr;
}

void Menu::set$icons(NyToolkit::IconSet* set)
{
    if (set)
        set->addRef();
    if (icons)
        icons->release();
    icons = set;
}

void Menu::setRoot(MenuRoot* newRoot)
{
    // A menu already in this root has its whole tree in it (insertNew joins
    // at once), which also ends the walk on menus that contain themselves.
    if (!newRoot || root == newRoot)
        return;
    if (root)
        NyCore::System::raiseException(new WrongMenuRootException());
    root = newRoot;
    for (std::size_t i = 0; i < items.size(); ++i)
        if (Menu* child = getSubMenu(static_cast<int>(i)))
            child->setRoot(newRoot);
}

int Menu::setCallbackIndex(int i)
{
    if (callbackIndex < 0)
        callbackIndex = i;
    return callbackIndex;
}

int Menu::delayedCallback()
{
    int waiting = callbackIndex;
    callbackIndex = -1;
    if (waiting < 0)
        return 0;
    // The handler may let go of the last reference to this menu (a window swapping its menus).
    addRef();
    int result = executeCallback(waiting);
    release();
    return result;
}

int Menu::executeCallback(int i)
{
    MenuElement* element = getElement(i);
    if (!element || !element->getType()->isOfType(NyCore::asType(&MenuItem::MetaData)))
        return 0;
    auto* item = static_cast<MenuItem*>(element);
    if (!item->get$method())
        return 0;
    if (!root)
        NyCore::System::raiseException(new NoRootMenuException());
    NyCore::Object* target = root->getCallbackObject(item->get$slot());
    if (!target)
        NyCore::System::raiseException(new NoCallbackObjectException(item->get$slot()));
    // The handler may take the entry out of the menu while its method name is in use.
    item->addRef();
    int result = target->invokeMethod(item->get$method(), nullptr);
    item->release();
    return result;
}

}
