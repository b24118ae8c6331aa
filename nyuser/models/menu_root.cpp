// The root menu's callback slots.
#include "nyuser/models/menu_root.h"

#include "nycore/system/exceptions.h"

namespace NyUser::Models {

NyCore::TypeData MenuRoot::MetaData = {&Menu::MetaData, nullptr, u"NyUser.Models.MenuRoot"_str, NyCore::NoMethods,
                                       NyCore::NoEvents, &MenuRoot::__create, sizeof(MenuRoot), 0, nullptr};

MenuRoot::MenuRoot()
{
    root = this;
}

NyCore::Object* MenuRoot::__create()
{
    return new MenuRoot();
}

int MenuRoot::createObjectSlots(int n)
{
    int first = get$slotCount();
    if (n > 0)
        callbackObjects.resize(callbackObjects.size() + static_cast<std::size_t>(n), nullptr);
    return first;
}

void MenuRoot::setCallbackObject(int slot, NyCore::Object* object)
{
    if (slot < 0 || slot >= get$slotCount())
        NY_THROW(OutOfBoundsException(slot, get$slotCount() - 1));
    callbackObjects[static_cast<std::size_t>(slot)] = object;
}

NyCore::Object* MenuRoot::getCallbackObject(int slot) const
{
    return slot >= 0 && slot < get$slotCount() ? callbackObjects[static_cast<std::size_t>(slot)] : nullptr;
}

}
