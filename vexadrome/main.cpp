// The vexadrome program's entry: the core's start code runs rdmain between
// the runtime's start-up and shut-down.
#include "nycore/system/runtime.h"

namespace {

// The program proper. It returns the process's exit code.
int rdmain(NyCore::Collections::Array<NyCore::String*>*)
{
    return 0;
}

}

int main()
{
    return NyCore::System::runProgram(rdmain);
}
