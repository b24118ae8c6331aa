// The entry of every test program: the runtime is started as the program's
// start code does, then the tests run.
#include <gtest/gtest.h>

#include "nycore/system/runtime.h"

#if defined(__SANITIZE_ADDRESS__)
#include <dlfcn.h>

namespace {

// Mesa's software driver is loaded and unloaded with each display's OpenGL
// screen; kept mapped, the frames of what it leaves behind keep their names,
// so that the suppressions below find them.
struct DriverPin {
    DriverPin()
    {
        for (char const* path : {"/usr/lib/x86_64-linux-gnu/dri/swrast_dri.so", "/usr/lib/dri/swrast_dri.so"})
            if (dlopen(path, RTLD_LAZY | RTLD_NODELETE))
                break;
    }
} const driverPin;

}

// Leaks of the OpenGL driver stack, which sanitizer builds keep loaded to the
// end so that its frames have names here. Nothing of this project matches.
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

int main(int argc, char** argv)
{
    NyCore::System::Runtime::initilize();
    testing::InitGoogleTest(&argc, argv);
    int result = RUN_ALL_TESTS();
    NyCore::System::Runtime::shutdown();
    return result;
}
