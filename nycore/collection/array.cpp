// The flat array_* family: an array is one heap block holding its element
// size, its length and the elements, so it can be handed across libraries and
// freed with a single memory_free.
#include "nycore/collection/array.h"

#include <cstring>

#include "nycore/system/error.h"
#include "nycore/system/memory.h"

using NyCore::Collections::ArrayBase;

namespace {

char const* const SourceFile = "collection/array.cpp";

ArrayBase* allocateBlock(int elementSize, int length)
{
    std::size_t bytes = sizeof(ArrayBase) + static_cast<std::size_t>(elementSize) * static_cast<std::size_t>(length);
    auto* array = static_cast<ArrayBase*>(memory_alloc(bytes));
    array->elementSize = elementSize;
    array->length = length;
    return array;
}

}

ArrayBase* array_alloc(int elementSize, int length)
{
    if (elementSize <= 0 || length < 0)
        ERROR_THROW(ERROR_BADPARA, SourceFile);
    return allocateBlock(elementSize, length);
}

void* array_item(ArrayBase* array, int index)
{
    if (!array)
        ERROR_THROW(ERROR_BADPARA, SourceFile);
    if (index < 0 || index >= array->length)
        ERROR_THROW(ERROR_BADINDEX, SourceFile);
    return static_cast<char*>(array->data()) + static_cast<std::size_t>(index) * array->elementSize;
}

int array_length(ArrayBase const* array)
{
    return array ? array->length : 0;
}

ArrayBase* array_copy(ArrayBase const* array, int length)
{
    if (!array || length < 0)
        ERROR_THROW(ERROR_BADPARA, SourceFile);
    if (length == 0)
        length = array->length;
    ArrayBase* copy = allocateBlock(array->elementSize, length);
    int common = length < array->length ? length : array->length;
    std::memcpy(copy->data(), array->data(), static_cast<std::size_t>(common) * array->elementSize);
    return copy;
}

void array_delete(ArrayBase* array)
{
    memory_free(array);
}

namespace NyCore::Collections {

void memoryFreeItems(void** items, int count)
{
    for (int i = 0; i < count; ++i)
        memory_free(items[i]);
}

}
