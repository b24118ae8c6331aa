// Storage management of InlineVectorBase. Slots beyond the count are always
// zero, so that growing the count (insert, resize) yields zeroed elements.
#include "nycore/collection/inline_vector.h"

#include <algorithm>
#include <climits>
#include <cstring>

#include "nycore/system/exceptions.h"
#include "nycore/system/memory.h"
#include "nycore/system/runtime.h"

namespace NyCore::Collections {

int growCapacity(int capacity, int needed)
{
    if (capacity < 1)
        capacity = 8;
    while (capacity < needed)
        capacity = capacity > INT_MAX / 2 ? needed : capacity * 2;
    return capacity;
}

InlineVectorBase::InlineVectorBase(int elementSize, int count, int capacity) : elementSize(elementSize)
{
    if (elementSize < 1)
        NY_THROW(InvalidParameterException());
    if (count < 0)
        NY_THROW(DimensionSizeException(count));
    if (capacity < 0)
        NY_THROW(DimensionSizeException(capacity));
    if (capacity > 0) {
        storage = static_cast<unsigned char*>(memory_alloc(static_cast<std::size_t>(capacity) * elementSize));
        this->capacity = capacity;
    }
    resize(count);
}

InlineVectorBase::~InlineVectorBase()
{
    memory_free(storage);
}

unsigned char* InlineVectorBase::slot(int index) const
{
    return storage + static_cast<std::size_t>(index) * elementSize;
}

void InlineVectorBase::clearSlots(int from, int to)
{
    if (to > from)
        std::memset(slot(from), 0, static_cast<std::size_t>(to - from) * elementSize);
}

void InlineVectorBase::grow(int needed)
{
    int grown = growCapacity(capacity, needed);
    auto* fresh = static_cast<unsigned char*>(memory_alloc(static_cast<std::size_t>(grown) * elementSize));
    if (count > 0)
        std::memcpy(fresh, storage, static_cast<std::size_t>(count) * elementSize);
    memory_free(storage);
    storage = fresh;
    capacity = grown;
}

void* InlineVectorBase::getReference(int index)
{
    if (index < 0 || index >= count)
        NY_THROW(OutOfBoundsException(index, count - 1));
    return slot(index);
}

void const* InlineVectorBase::getReference(int index) const
{
    if (index < 0 || index >= count)
        NY_THROW(OutOfBoundsException(index, count - 1));
    return slot(index);
}

void InlineVectorBase::append(void const* element)
{
    // The element may live in this vector's own storage, which growth frees.
    auto const* bytes = static_cast<unsigned char const*>(element);
    std::ptrdiff_t ownOffset = -1;
    if (storage && bytes >= storage && bytes < slot(count))
        ownOffset = bytes - storage;
    insert(count, 1);
    if (ownOffset >= 0)
        bytes = storage + ownOffset;
    std::memcpy(slot(count - 1), bytes, static_cast<std::size_t>(elementSize));
}

void InlineVectorBase::insert(int index, int n)
{
    if (n < 0)
        NY_THROW(InvalidParameterException());
    if (index < 0 || index > count)
        NY_THROW(OutOfBoundsException(index, count));
    if (n == 0)
        return;
    if (n > INT_MAX - 1 - count)
        NY_THROW(DimensionSizeException(n));
    // An inline vector keeps at least one spare slot after an insertion.
    if (count + n >= capacity)
        grow(count + n + 1);
    std::memmove(slot(index + n), slot(index), static_cast<std::size_t>(count - index) * elementSize);
    clearSlots(index, index + n);
    count += n;
}

void InlineVectorBase::remove(int index, int n)
{
    if (n < 0)
        NY_THROW(InvalidParameterException());
    if (index < 0 || index >= count)
        NY_THROW(OutOfBoundsException(index, count - 1));
    n = std::min(n, count - index);
    std::memmove(slot(index), slot(index + n), static_cast<std::size_t>(count - index - n) * elementSize);
    clearSlots(count - n, count);
    count -= n;
}

void InlineVectorBase::move(int from, int to, int n)
{
    if (n < 1)
        NY_THROW(InvalidParameterException());
    if (from < 0 || from > count - n)
        NY_THROW(OutOfBoundsException(from, count - n));
    if (to < 0 || to > count - n)
        NY_THROW(OutOfBoundsException(to, count - n));
    // Rotating the span covering both blocks by the block's bytes moves
    // whole elements, since every offset is a multiple of the element size.
    if (from < to)
        std::rotate(slot(from), slot(from + n), slot(to + n));
    else if (from > to)
        std::rotate(slot(to), slot(from), slot(from + n));
}

void InlineVectorBase::resize(int count)
{
    if (count < 0)
        NY_THROW(DimensionSizeException(count));
    if (count > capacity)
        grow(count);
    clearSlots(count, this->count);
    this->count = count;
}

void InlineVectorBase::reserve(int capacity)
{
    if (capacity < 0)
        NY_THROW(DimensionSizeException(capacity));
    if (count > capacity) {
        clearSlots(capacity, count);
        count = capacity;
    }
    if (capacity > this->capacity)
        grow(capacity);
}

}
