// InlineVectorBase: a growable run of fixed-size elements kept by value in one
// heap block (the parser's stacks, small records). InlineVector<T> is the typed
// view of it for trivially copyable element types.
#pragma once

#include <cstdint>
#include <type_traits>

namespace NyCore::Collections {

// The growth rule shared by every vector: a capacity below 1 becomes 8, which
// is then doubled until it holds `needed` elements.
int growCapacity(int capacity, int needed);

class InlineVectorBase {
public:
    // Negative count or capacity: DimensionSizeException; element size below 1:
    // InvalidParameterException. The storage starts with exactly `capacity` slots.
    InlineVectorBase(int elementSize, int count, int capacity);
    ~InlineVectorBase();
    InlineVectorBase(InlineVectorBase const&) = delete;
    InlineVectorBase& operator=(InlineVectorBase const&) = delete;

    int get$count() const { return count; }
    int get$capacity() const { return capacity; }
    int get$elementSize() const { return elementSize; }

    void* getReference(int index);
    void const* getReference(int index) const;
    // Copies elementSize bytes from `element` to a new slot at the end.
    void append(void const* element);
    // Opens n zero-filled slots at index (0 to count).
    void insert(int index, int n);
    // Removes up to n elements from index on; n is clipped to the end.
    void remove(int index, int n);
    // Moves the block of n elements at `from` to start at `to`; the elements
    // in between shift to close the gap.
    void move(int from, int to, int n);
    // Sets the count, growing the storage when needed; new slots are zero.
    void resize(int count);
    // Lowers the count to `capacity` when it is larger, then grows the
    // storage to hold `capacity` elements (it never shrinks).
    void reserve(int capacity);

private:
    void grow(int needed);
    void clearSlots(int from, int to);
    unsigned char* slot(int index) const;

    std::int32_t elementSize;
    std::int32_t capacity = 0;
    std::int32_t count = 0;
    unsigned char* storage = nullptr;
};

template <typename T>
class InlineVector : public InlineVectorBase {
    static_assert(std::is_trivially_copyable_v<T>, "elements are moved as raw bytes");

public:
    explicit InlineVector(int count = 0, int capacity = 0) : InlineVectorBase(sizeof(T), count, capacity) {}

    T& get(int index) { return *static_cast<T*>(getReference(index)); }
    T const& get(int index) const { return *static_cast<T const*>(getReference(index)); }
    T& operator[](int index) { return get(index); }
    T const& operator[](int index) const { return get(index); }
    void append(T const& element) { InlineVectorBase::append(&element); }
};

}
