// The runtime heap is the process heap (calloc/free). Running out of memory,
// here or in operator new, ends the process with the fatal report; it never
// throws or aborts.
#include "nycore/system/memory.h"

#include <cstdlib>
#include <new>
#include <unistd.h>

#include "nycore/system/runtime.h"

namespace {

// Writes with write(2) alone: nothing is left to allocate a report with.
[[noreturn]] void outOfMemory()
{
    static char const text[] = "Error.OutOfMemory\n";
    ssize_t written = ::write(1, text, sizeof text - 1);
    (void)written;
    NyCore::System::Runtime::fatalStop();
}

// Set when the library loads, so that it holds before any program code runs.
[[maybe_unused]] std::new_handler const previousNewHandler = std::set_new_handler(outOfMemory);

}

void* memory_alloc(std::size_t size)
{
    void* block = std::calloc(1, size == 0 ? 1 : size);
    if (!block)
        outOfMemory();
    return block;
}

void* memory_realloc(void* block, std::size_t size)
{
    void* grown = std::realloc(block, size == 0 ? 1 : size);
    if (!grown)
        outOfMemory();
    return grown;
}

void memory_free(void* block)
{
    std::free(block);
}
