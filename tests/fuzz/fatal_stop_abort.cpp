// Linked into every fuzz target: the runtime's fatal reports end the process
// with a plain exit, which libFuzzer would not notice; an abort makes it save
// the input that caused the report as a crash.
#include <cstdlib>

#include "nycore/system/runtime.h"

extern "C" int LLVMFuzzerInitialize(int*, char***)
{
    NyCore::System::Runtime::set$fatalStopAction(std::abort);
    return 0;
}
