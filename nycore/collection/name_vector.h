// NameVectorBase: a growable vector of named pointers, looked up by index or
// by name. The vector owns copies of the names but never what the values
// point to. NameVector<T> is the typed view; it only casts.
#pragma once

#include <cstdint>

#include "nycore/text/string.h"

namespace NyCore::Collections {

class NameVectorBase {
public:
    NameVectorBase() = default;
    // A capacity below 1: DimensionSizeException.
    explicit NameVectorBase(int capacity);
    ~NameVectorBase();
    NameVectorBase(NameVectorBase const&) = delete;
    NameVectorBase& operator=(NameVectorBase const&) = delete;

    int get$count() const { return count; }
    int get$capacity() const { return capacity; }

    void* get(int index) const;
    // The value of the first entry with this name (case-sensitive); null when none has it.
    void* get(String const* name) const;
    // The entry's name; null for an entry without one.
    String const* getName(int index) const;
    // The index of the first entry with this name, or -1.
    int getIndex(String const* name) const;
    void set(int index, void* value);
    // Sets the value of the first entry with this name; does nothing when none has it.
    void set(String const* name, void* value);
    // Appends an entry holding a copy of `name` (null: no name).
    void append(String const* name, void* value);
    // Inserts an entry without name and value at index (0 to count).
    void insert(int index);
    // Inserts an entry holding a copy of `name` and no value.
    void insert(int index, String const* name);
    void remove(int index);
    // Sets the count; dropped entries lose their names, new ones are empty.
    void resize(int count);
    // Lowers the count to `capacity` when it is larger, then grows the
    // storage to hold `capacity` entries (it never shrinks).
    void reserve(int capacity);

private:
    struct Entry {
        String* name;
        void* value;
        std::int32_t tag;  // zero when the entry is made; no one reads it yet
    };

    void grow(int needed);
    Entry* openEntry(int index);
    void dropEntries(int from, int to);
    void checkIndex(int index) const;

    std::int32_t count = 0;
    std::int32_t capacity = 0;
    Entry* entries = nullptr;
};

template <typename T>
class NameVector : public NameVectorBase {
public:
    using NameVectorBase::NameVectorBase;

    T* get(int index) const { return static_cast<T*>(NameVectorBase::get(index)); }
    T* get(String const* name) const { return static_cast<T*>(NameVectorBase::get(name)); }
    void set(int index, T* value) { NameVectorBase::set(index, value); }
    void set(String const* name, T* value) { NameVectorBase::set(name, value); }
    void append(String const* name, T* value) { NameVectorBase::append(name, value); }
};

}
