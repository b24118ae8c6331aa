// Storage management and sorting of LinkVectorBase. Slots beyond the count
// are always null.
#include "nycore/collection/link_vector.h"

#include <algorithm>
#include <climits>
#include <cstring>

#include "nycore/collection/inline_vector.h"
#include "nycore/system/exceptions.h"
#include "nycore/system/memory.h"
#include "nycore/system/runtime.h"

namespace NyCore::Collections {

namespace {

void** allocateSlots(int capacity)
{
    return static_cast<void**>(memory_alloc(static_cast<std::size_t>(capacity) * sizeof(void*)));
}

// Merges the sorted runs source[start, middle) and source[middle, end) into
// target[start, end); on a tie the left run goes first, which keeps the sort stable.
void mergeRuns(void* const* source, void** target, int start, int middle, int end, SortKeyBase const* key)
{
    int left = start;
    int right = middle;
    int out = start;
    while (left < middle && right < end)
        target[out++] = key->compare(source[left], source[right]) <= 0 ? source[left++] : source[right++];
    while (left < middle)
        target[out++] = source[left++];
    while (right < end)
        target[out++] = source[right++];
}

}

LinkVectorBase::LinkVectorBase(int capacity)
{
    if (capacity < 1)
        NY_THROW(DimensionSizeException(capacity));
    storage = allocateSlots(capacity);
    this->capacity = capacity;
}

LinkVectorBase::~LinkVectorBase()
{
    memory_free(storage);
}

void LinkVectorBase::grow(int needed)
{
    int grown = growCapacity(capacity, needed);
    void** fresh = allocateSlots(grown);
    std::copy(storage, storage + count, fresh);
    memory_free(storage);
    storage = fresh;
    capacity = grown;
}

void LinkVectorBase::clearSlots(int from, int to)
{
    if (to > from)
        std::fill(storage + from, storage + to, nullptr);
}

void* LinkVectorBase::get(int index) const
{
    if (index < 0 || index >= count)
        NY_THROW(OutOfBoundsException(index, count - 1));
    return storage[index];
}

void LinkVectorBase::set(int index, void* item)
{
    if (index < 0 || index >= count)
        NY_THROW(OutOfBoundsException(index, count - 1));
    storage[index] = item;
}

void LinkVectorBase::append(void* item)
{
    insert(count, 1);
    storage[count - 1] = item;
}

void LinkVectorBase::insert(int index, int n)
{
    if (n < 0)
        NY_THROW(InvalidParameterException());
    if (index < 0 || index > count)
        NY_THROW(OutOfBoundsException(index, count));
    if (n == 0)
        return;
    if (n > INT_MAX - count)
        NY_THROW(DimensionSizeException(n));
    if (count + n > capacity)
        grow(count + n);
    std::copy_backward(storage + index, storage + count, storage + count + n);
    clearSlots(index, index + n);
    count += n;
}

void LinkVectorBase::remove(int index, int n)
{
    if (n < 0)
        NY_THROW(InvalidParameterException());
    if (index < 0 || index >= count)
        NY_THROW(OutOfBoundsException(index, count - 1));
    n = std::min(n, count - index);
    std::copy(storage + index + n, storage + count, storage + index);
    clearSlots(count - n, count);
    count -= n;
}

void LinkVectorBase::move(int from, int to, int n)
{
    if (n < 1)
        NY_THROW(InvalidParameterException());
    if (from < 0 || from > count - n)
        NY_THROW(OutOfBoundsException(from, count - n));
    if (to < 0 || to > count - n)
        NY_THROW(OutOfBoundsException(to, count - n));
    if (from < to)
        std::rotate(storage + from, storage + from + n, storage + to + n);
    else if (from > to)
        std::rotate(storage + to, storage + from, storage + from + n);
}

void LinkVectorBase::resize(int count)
{
    if (count < 0)
        NY_THROW(DimensionSizeException(count));
    if (count > capacity)
        grow(count);
    clearSlots(count, this->count);
    this->count = count;
}

void LinkVectorBase::reserve(int capacity)
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

void LinkVectorBase::reverse()
{
    for (int k = 0; k < count / 2; ++k)
        std::swap(storage[k], storage[count - 1 - k]);
}

void LinkVectorBase::sort(SortKeyBase const* key)
{
    if (!key || count < 2)
        return;
    // Bottom-up: each pass merges neighbouring runs of `width` into runs of
    // twice that, reading one block and writing the other; passes go on until
    // a single run covers the whole vector.
    void** source = storage;
    void** target = allocateSlots(capacity);
    for (std::int64_t width = 1; width < count; width *= 2) {
        for (std::int64_t start = 0; start < count; start += 2 * width) {
            auto middle = static_cast<int>(std::min<std::int64_t>(start + width, count));
            auto end = static_cast<int>(std::min<std::int64_t>(start + 2 * width, count));
            mergeRuns(source, target, static_cast<int>(start), middle, end, key);
        }
        std::swap(source, target);
    }
    storage = source;
    memory_free(target);
}

}
