// Typed entries for Methods tables: NY_METHOD(MainWindow::onSaveAs) turns a
// member function into the table's Method shape (receiver plus five words),
// casting the receiver and passing as many words as the member takes.
#pragma once

#include <cstddef>
#include <cstdint>
#include <tuple>
#include <type_traits>

#include "nycore/system/object.h"

namespace NyCore {

namespace MethodThunkDetail {

template <typename Member>
struct MemberTraits;

template <typename R, typename C, typename... Args>
struct MemberTraits<R (C::*)(Args...)> {
    using Class = C;
    using Result = R;
    using Arguments = std::tuple<Args...>;
};

template <typename R, typename C, typename... Args>
struct MemberTraits<R (C::*)(Args...) const> : MemberTraits<R (C::*)(Args...)> {
    using Class = C const;
};

template <typename R, typename C, typename... Args>
struct MemberTraits<R (C::*)(Args...) noexcept> : MemberTraits<R (C::*)(Args...)> {};

template <typename R, typename C, typename... Args>
struct MemberTraits<R (C::*)(Args...) const noexcept> : MemberTraits<R (C::*)(Args...) const> {};

// One argument word as the parameter type the member declares.
template <typename T>
T fromWord(std::intptr_t word)
{
    static_assert(!std::is_reference_v<T>, "method arguments are passed by value");
    using Plain = std::remove_cv_t<T>;
    if constexpr (std::is_same_v<Plain, bool>)
        return word != 0;
    else if constexpr (std::is_integral_v<Plain> || std::is_enum_v<Plain>)
        return static_cast<Plain>(word);
    else if constexpr (std::is_pointer_v<Plain>)
        return reinterpret_cast<Plain>(word);
    else
        static_assert(std::is_pointer_v<Plain>, "method arguments are integers, enums or pointers");
}

template <typename R>
int toResult(R value)
{
    static_assert(std::is_integral_v<R> || std::is_enum_v<R>, "methods return void, bool or an integer");
    return static_cast<int>(value);
}

}

template <auto Member>
int methodThunk(Object* receiver, std::intptr_t a1, std::intptr_t a2, std::intptr_t a3, std::intptr_t a4,
                std::intptr_t a5)
{
    using Traits = MethodThunkDetail::MemberTraits<decltype(Member)>;
    using Arguments = typename Traits::Arguments;
    static_assert(std::tuple_size_v<Arguments> <= 5, "a method takes at most five arguments");

    auto* self = static_cast<typename Traits::Class*>(receiver);
    std::intptr_t const words[5] = {a1, a2, a3, a4, a5};
    return [&]<std::size_t... I>(std::index_sequence<I...>) {
        if constexpr (std::is_void_v<typename Traits::Result>) {
            (self->*Member)(MethodThunkDetail::fromWord<std::tuple_element_t<I, Arguments>>(words[I])...);
            return 0;
        } else {
            return MethodThunkDetail::toResult(
                (self->*Member)(MethodThunkDetail::fromWord<std::tuple_element_t<I, Arguments>>(words[I])...));
        }
    }(std::make_index_sequence<std::tuple_size_v<Arguments>>{});
}

}

// A Method for a Methods table from a member function: {u"onSaveAs", NY_METHOD(MainWindow::onSaveAs)}.
#define NY_METHOD(member) (&::NyCore::methodThunk<&member>)
