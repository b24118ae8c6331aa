// Shared libraries of the system: loading them by file name, and the entry
// that each library runs when it is loaded and unloaded.
#pragma once

#include "nycore/system/runtime.h"

// Loads a shared library by file name, looking beside the program first.
// Returns null when it cannot be loaded or its rdinit failed.
void* module_load(char const* fileName);
void module_unload(void* module);
void* module_symbol(void* module, char const* name);

namespace NyCore::System {
// Called by a library's entry with its rdinit result, so that module_load can
// refuse a library whose registration failed.
void reportModuleAttach(int result);
}

// Defines the entry of a shared library: on load the runtime is initialised
// and rdinit registers the library's classes; on unload rdfini runs and the
// runtime counts down. rdinit and rdfini are static functions of the calling file
// (each library has its own, so they must not be visible to the others).
#define NY_MODULE_ENTRY()                                                        \
    __attribute__((constructor)) static void nyModuleAttach()                    \
    {                                                                            \
        ::NyCore::System::Runtime::initilize();                                  \
        ::NyCore::System::reportModuleAttach(rdinit());                          \
    }                                                                            \
    __attribute__((destructor)) static void nyModuleDetach()                     \
    {                                                                            \
        rdfini();                                                                \
        ::NyCore::System::Runtime::shutdown();                                   \
    }
