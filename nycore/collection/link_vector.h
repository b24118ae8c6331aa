// LinkVectorBase: a growable vector of pointers (the parser's argument lists,
// the graph document's expressions). It never owns what its slots point to.
// LinkVector<T> is the typed view; it only casts.
#pragma once

#include <cstdint>
#include <type_traits>

#include "nycore/collection/sort_key.h"

namespace NyCore::Collections {

class LinkVectorBase {
public:
    LinkVectorBase() = default;
    // A capacity below 1: DimensionSizeException.
    explicit LinkVectorBase(int capacity);
    ~LinkVectorBase();
    LinkVectorBase(LinkVectorBase const&) = delete;
    LinkVectorBase& operator=(LinkVectorBase const&) = delete;

    int get$count() const { return count; }
    int get$capacity() const { return capacity; }

    void* get(int index) const;
    void set(int index, void* item);
    void append(void* item);
    // Opens n empty (null) slots at index (0 to count).
    void insert(int index, int n);
    // Removes up to n pointers from index on; n is clipped to the end.
    void remove(int index, int n = 1);
    // Moves the block of n pointers at `from` to start at `to`; the pointers
    // in between shift to close the gap.
    void move(int from, int to, int n);
    // Sets the count, growing the storage when needed; new slots are null.
    void resize(int count);
    // Lowers the count to `capacity` when it is larger, then grows the
    // storage to hold `capacity` pointers (it never shrinks).
    void reserve(int capacity);
    void reverse();
    // Stable merge sort by the chain of keys; a null key keeps the order.
    void sort(SortKeyBase const* key);

private:
    void grow(int needed);
    void clearSlots(int from, int to);

    void** storage = nullptr;
    std::int32_t capacity = 0;
    std::int32_t count = 0;
};

template <typename T>
class LinkVector : public LinkVectorBase {
public:
    using LinkVectorBase::LinkVectorBase;

    T* get(int index) const { return static_cast<T*>(LinkVectorBase::get(index)); }
    void set(int index, T* item) { LinkVectorBase::set(index, asSlot(item)); }
    void append(T* item) { LinkVectorBase::append(asSlot(item)); }

private:
    static void* asSlot(T* item) { return const_cast<std::remove_const_t<T>*>(item); }
};

}
