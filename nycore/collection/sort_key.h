// Sort keys: a chain of sort criteria by which LinkVectorBase::sort orders its
// elements. Each key compares two elements with its function; the next key in
// the chain decides only where this one finds them equal.
#pragma once

#include <cstdint>

namespace NyCore::Collections {

class SortKeyBase {
public:
    // Negative, zero or positive as a sorts before, with or after b; `key` is
    // the calling key, so the function can read its parameter (a column index).
    using Comparison = int (*)(void const* a, void const* b, SortKeyBase const* key);

    SortKeyBase(Comparison comparison, bool ascending = true, int parameter = 0);

    // The first non-zero answer along the chain, negated for a key that is
    // not ascending; zero when every key finds a and b equal.
    int compare(void const* a, void const* b) const;

    // The chain does not own its keys: whoever links them frees them.
    SortKeyBase* get$next() const { return next; }
    void set$next(SortKeyBase* key) { next = key; }
    int get$parameter() const { return parameter; }
    bool get$ascending() const { return ascending; }

private:
    SortKeyBase* next = nullptr;
    Comparison comparison;
    std::int32_t parameter;
    bool ascending;
};

// A key over elements of type T: its function receives T pointers.
template <typename T>
class SortKey : public SortKeyBase {
public:
    using TypedComparison = int (*)(T const* a, T const* b, SortKeyBase const* key);

    SortKey(TypedComparison comparison, bool ascending = true, int parameter = 0)
        : SortKeyBase(&compareAs, ascending, parameter), typedComparison(comparison)
    {
    }

    int compare(T const* a, T const* b) const { return SortKeyBase::compare(a, b); }

private:
    static int compareAs(void const* a, void const* b, SortKeyBase const* key)
    {
        auto const* self = static_cast<SortKey const*>(key);
        return self->typedComparison(static_cast<T const*>(a), static_cast<T const*>(b), key);
    }

    TypedComparison typedComparison;
};

}
