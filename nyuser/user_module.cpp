// The entry of libnyuser.so: registers every framework class on load, so that
// views, menus and dialogs can be created and linked by name.
#include "nycore/system/module.h"
#include "nyuser/user_types.h"

namespace {

NyCore::TypeData* const* const LayerTypes[] = {NyUser::ModelTypes, NyUser::MenuTypes, NyUser::InputTypes,
                                               NyUser::ViewTypes, NyUser::ViewerTypes, NyUser::DialogTypes};

int rdinit()
{
    for (NyCore::TypeData* const* layer : LayerTypes) {
        for (NyCore::TypeData* const* record = layer; *record; ++record)
            NyCore::Type::registerType(*record);
    }
    return 0;
}

int rdfini()
{
    for (NyCore::TypeData* const* layer : LayerTypes) {
        for (NyCore::TypeData* const* record = layer; *record; ++record)
            NyCore::Type::unregisterType(*record);
    }
    return 0;
}

}

NY_MODULE_ENTRY()
