// The runtime heap is the process heap (calloc/free).
#include "nycore/system/memory.h"

#include <cstdlib>
#include <unistd.h>

namespace {

[[noreturn]] void outOfMemory()
{
    static char const text[] = "Error.OutOfMemory\n";
    ssize_t written = ::write(1, text, sizeof text - 1);
    (void)written;
    ::_exit(70);
}

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
