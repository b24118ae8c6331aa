// Included by each program's main file, and only there (it defines things). In AddressSanitizer builds it
// pins Mesa's software drivers, which are loaded and unloaded with each
// OpenGL screen or EGL display, so that the frames of what they leave behind
// keep their names, and it suppresses the leaks of the OpenGL driver stack by
// those names. Nothing of this project matches. Other builds get nothing.
#pragma once

#if defined(__SANITIZE_ADDRESS__)
#include <dlfcn.h>

#include <string>

namespace NyCore::System::SanitizerHooks {

struct DriverPin {
    DriverPin()
    {
        for (char const* folder : {"/usr/lib/x86_64-linux-gnu/dri/", "/usr/lib/dri/"}) {
            bool found = false;
            for (char const* driver : {"swrast_dri.so", "kms_swrast_dri.so"}) {
                std::string path = std::string(folder) + driver;
                found = dlopen(path.c_str(), RTLD_LAZY | RTLD_NODELETE) || found;
            }
            if (found)
                break;
        }
    }
};

DriverPin const driverPin;

}

extern "C" __attribute__((used, visibility("default"))) char const* __lsan_default_suppressions()
{
    return "leak:libGLX_mesa.so\n"
           "leak:libGLX.so\n"
           "leak:libGL.so\n"
           "leak:libEGL.so\n"
           "leak:libEGL_mesa.so\n"
           "leak:libGLdispatch.so\n"
           "leak:libglapi.so\n"
           "leak:_dri.so\n"
           "leak:libgallium\n"
           "leak:libLLVM\n";
}
#endif
