// A shared library with a module entry: it registers one class on load and
// unregisters it on unload. Built a second time with FAIL_ATTACH, its
// rdinit fails and the loader must refuse it.
#include "nycore/system/module.h"

namespace {

class ModuleThing : public NyCore::Object {
    NY_REFLECTIVE(ModuleThing)
public:
    static NyCore::Object* __create() { return new ModuleThing(); }
};

NyCore::TypeData ModuleThing::MetaData = {nullptr, u"NyCore.Object"_str, u"Test.ModuleThing"_str, NyCore::NoMethods,
                                          NyCore::NoEvents, &ModuleThing::__create, sizeof(ModuleThing), 0, nullptr};

int rdinit()
{
    NyCore::Type::registerType(&ModuleThing::MetaData);
#ifdef FAIL_ATTACH
    return 1;
#else
    return 0;
#endif
}

int rdfini()
{
    NyCore::Type::unregisterType(&ModuleThing::MetaData);
    return 0;
}

}

NY_MODULE_ENTRY()
