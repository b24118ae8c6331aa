// Plain arrays: one block holding the element size, the length and the
// elements. The flat array_* functions work on any array; Array<T> is the
// typed view over the same block.
#pragma once

#include <cstdint>

namespace NyCore::Collections {

struct ArrayBase {
    std::int32_t elementSize;
    std::int32_t length;

    void* data() { return this + 1; }
    void const* data() const { return this + 1; }
};

static_assert(sizeof(ArrayBase) == 8, "elements follow the two header words");

}

// A zero-filled array; element size 0 is fatal (Error.InvalidParamiter).
NyCore::Collections::ArrayBase* array_alloc(int elementSize, int length);
// The address of an element; an index outside the length is fatal (Error.InvalidIndex).
void* array_item(NyCore::Collections::ArrayBase* array, int index);
int array_length(NyCore::Collections::ArrayBase const* array);
// A new array of `length` elements (0: the same length) holding the common
// prefix of the elements and zeros after it.
NyCore::Collections::ArrayBase* array_copy(NyCore::Collections::ArrayBase const* array, int length);
void array_delete(NyCore::Collections::ArrayBase* array);

namespace NyCore::Collections {

template <typename T>
struct Array : ArrayBase {
    static Array* alloc(int length) { return static_cast<Array*>(array_alloc(sizeof(T), length)); }

    T* items() { return static_cast<T*>(data()); }
    T const* items() const { return static_cast<T const*>(data()); }
    T& operator[](int index) { return *static_cast<T*>(array_item(this, index)); }
    T* begin() { return items(); }
    T* end() { return items() + length; }

    // Frees the array; for arrays of pointers use freeWithItems to free the items too.
    void free() { array_delete(this); }
    void freeWithItems();
};

void memoryFreeItems(void** items, int count);

template <typename T>
void Array<T>::freeWithItems()
{
    static_assert(sizeof(T) == sizeof(void*), "items must be heap pointers");
    memoryFreeItems(reinterpret_cast<void**>(items()), length);
    free();
}

}
