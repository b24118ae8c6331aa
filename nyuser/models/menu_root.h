// MenuRoot: the top menu of a menu tree. Besides its entries it holds the
// callback objects by slot number (not owned), on which every entry of the
// tree calls its method; the application refills the slots as the active
// document or view changes.
#pragma once

#include <vector>

#include "nyuser/models/menu.h"

namespace NyUser::Models {

class MenuRoot : public Menu {
    NY_REFLECTIVE(MenuRoot)
public:
    // A root is its own root.
    MenuRoot();
    static NyCore::Object* __create();

    // Adds n empty slots at the end; returns the number of the first.
    int createObjectSlots(int n);
    int get$slotCount() const { return static_cast<int>(callbackObjects.size()); }
    // A slot that does not exist is a fatal OutOfBoundsException.
    void setCallbackObject(int slot, NyCore::Object* object);
    // Null for an empty slot and for one that does not exist.
    NyCore::Object* getCallbackObject(int slot) const;

private:
    std::vector<NyCore::Object*> callbackObjects;
};

}
