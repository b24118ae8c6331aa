// The entry of every test program: the runtime is started as the program's
// start code does, then the tests run.
#include <gtest/gtest.h>

#include "nycore/system/runtime.h"
#include "nycore/system/sanitizer_hooks.h"

int main(int argc, char** argv)
{
    NyCore::System::Runtime::initilize();
    testing::InitGoogleTest(&argc, argv);
    int result = RUN_ALL_TESTS();
    NyCore::System::Runtime::shutdown();
    return result;
}
