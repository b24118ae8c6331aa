// Module loading through dlopen. A library is looked for beside the program
// (the folder of /proc/self/exe), then through the normal search path.
#include "nycore/system/module.h"

#include <dlfcn.h>
#include <unistd.h>

#include <climits>
#include <string>

namespace NyCore::System {

namespace {

int lastAttachResult = 0;

std::string programFolder()
{
    char path[PATH_MAX];
    ssize_t n = ::readlink("/proc/self/exe", path, sizeof path - 1);
    if (n <= 0)
        return {};
    std::string folder(path, static_cast<std::size_t>(n));
    return folder.substr(0, folder.find_last_of('/') + 1);
}

}

void reportModuleAttach(int result)
{
    lastAttachResult = result;
}

}

void* module_load(char const* fileName)
{
    using NyCore::System::lastAttachResult;
    int outerResult = lastAttachResult;
    lastAttachResult = 0;
    void* module = nullptr;
    std::string name(fileName);
    if (name.find('/') == std::string::npos)
        module = ::dlopen((NyCore::System::programFolder() + name).c_str(), RTLD_NOW | RTLD_GLOBAL);
    if (!module)
        module = ::dlopen(fileName, RTLD_NOW | RTLD_GLOBAL);
    if (module && lastAttachResult != 0) {
        ::dlclose(module);
        module = nullptr;
    }
    lastAttachResult = outerResult;
    return module;
}

void module_unload(void* module)
{
    if (module)
        ::dlclose(module);
}

void* module_symbol(void* module, char const* name)
{
    return module ? ::dlsym(module, name) : nullptr;
}
