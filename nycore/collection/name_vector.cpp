// Storage management and name lookup of NameVectorBase. Entries beyond the
// count are always zero; an entry's name is freed when the entry goes.
#include "nycore/collection/name_vector.h"

#include <climits>
#include <cstring>

#include "nycore/collection/inline_vector.h"
#include "nycore/system/exceptions.h"
#include "nycore/system/memory.h"
#include "nycore/system/runtime.h"
#include "nycore/text/string_functions.h"

namespace NyCore::Collections {

NameVectorBase::NameVectorBase(int capacity)
{
    if (capacity < 1)
        NY_THROW(DimensionSizeException(capacity));
    entries = static_cast<Entry*>(memory_alloc(static_cast<std::size_t>(capacity) * sizeof(Entry)));
    this->capacity = capacity;
}

NameVectorBase::~NameVectorBase()
{
    dropEntries(0, count);
    memory_free(entries);
}

void NameVectorBase::grow(int needed)
{
    int grown = growCapacity(capacity, needed);
    auto* fresh = static_cast<Entry*>(memory_alloc(static_cast<std::size_t>(grown) * sizeof(Entry)));
    if (count > 0)
        std::memcpy(fresh, entries, static_cast<std::size_t>(count) * sizeof(Entry));
    memory_free(entries);
    entries = fresh;
    capacity = grown;
}

void NameVectorBase::dropEntries(int from, int to)
{
    for (int i = from; i < to; ++i) {
        if (entries[i].name)
            string_free(entries[i].name);
        entries[i] = Entry{};
    }
}

void NameVectorBase::checkIndex(int index) const
{
    if (index < 0 || index >= count)
        NY_THROW(OutOfBoundsException(index, count - 1));
}

NameVectorBase::Entry* NameVectorBase::openEntry(int index)
{
    if (index < 0 || index > count)
        NY_THROW(OutOfBoundsException(index, count));
    if (count == INT_MAX)
        NY_THROW(DimensionSizeException(count));
    if (count + 1 > capacity)
        grow(count + 1);
    std::memmove(entries + index + 1, entries + index, static_cast<std::size_t>(count - index) * sizeof(Entry));
    entries[index] = Entry{};
    ++count;
    return entries + index;
}

void* NameVectorBase::get(int index) const
{
    checkIndex(index);
    return entries[index].value;
}

void* NameVectorBase::get(String const* name) const
{
    int index = getIndex(name);
    return index < 0 ? nullptr : entries[index].value;
}

String const* NameVectorBase::getName(int index) const
{
    checkIndex(index);
    return entries[index].name;
}

int NameVectorBase::getIndex(String const* name) const
{
    if (!name)
        return -1;
    for (int i = 0; i < count; ++i) {
        if (entries[i].name && string_compare(entries[i].name, name) == 0)
            return i;
    }
    return -1;
}

void NameVectorBase::set(int index, void* value)
{
    checkIndex(index);
    entries[index].value = value;
}

void NameVectorBase::set(String const* name, void* value)
{
    int index = getIndex(name);
    if (index >= 0)
        entries[index].value = value;
}

void NameVectorBase::append(String const* name, void* value)
{
    Entry* entry = openEntry(count);
    entry->name = String::create(name);
    entry->value = value;
}

void NameVectorBase::insert(int index)
{
    openEntry(index);
}

void NameVectorBase::insert(int index, String const* name)
{
    openEntry(index)->name = String::create(name);
}

void NameVectorBase::remove(int index)
{
    checkIndex(index);
    if (entries[index].name)
        string_free(entries[index].name);
    std::memmove(entries + index, entries + index + 1, static_cast<std::size_t>(count - index - 1) * sizeof(Entry));
    entries[count - 1] = Entry{};
    --count;
}

void NameVectorBase::resize(int count)
{
    if (count < 0)
        NY_THROW(DimensionSizeException(count));
    if (count > capacity)
        grow(count);
    dropEntries(count, this->count);
    this->count = count;
}

void NameVectorBase::reserve(int capacity)
{
    if (capacity < 0)
        NY_THROW(DimensionSizeException(capacity));
    if (count > capacity) {
        dropEntries(capacity, count);
        count = capacity;
    }
    if (capacity > this->capacity)
        grow(capacity);
}

}
