// The runtime heap. Every String and Object of every deliverable is allocated
// here, so that a block made by one library may be freed by another.
#pragma once

#include <cstddef>

// Returns a zero-filled block of `size` bytes; never null: running out of
// memory is the fatal report "Error.OutOfMemory", and so it is in operator
// new, whose new handler the library sets when it loads.
void* memory_alloc(std::size_t size);
// Grows or shrinks a block; bytes beyond the old size are not zero-filled.
void* memory_realloc(void* block, std::size_t size);
// Frees a block from memory_alloc; null is ignored.
void memory_free(void* block);
