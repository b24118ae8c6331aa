// Owned<T, Free>: a std::unique_ptr that gives what it holds back with the
// runtime's own free function, for the plain records of the flat libraries
// (Owned<String, string_free>, Owned<ArrayBase, array_delete>). Functions
// with several exits hold their strings and buffers in these instead of
// freeing them by hand on each way out.
#pragma once

#include <memory>

namespace NyCore {

template <auto Free>
struct FreeWith {
    template <typename T>
    void operator()(T* held) const
    {
        Free(held);
    }
};

template <typename T, auto Free>
using Owned = std::unique_ptr<T, FreeWith<Free>>;

}
