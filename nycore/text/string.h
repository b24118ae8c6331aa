// String: the one text type of the system. A counted block of UTF-16 code
// units: a 32-bit count, the units, then a 0 unit. Constants written as
// u"text"_str are laid out the same way in read-only data.
#pragma once

#include <cstddef>
#include <cstdint>

namespace NyCore {

class Object;

class String {
public:
    // The count of code units; read it through get$length when the string may be null.
    std::int32_t count;

    char16_t* units() { return reinterpret_cast<char16_t*>(this + 1); }
    char16_t const* units() const { return reinterpret_cast<char16_t const*>(this + 1); }

    // A new string of `length` units copied from units[start] on.
    static String* create(char16_t const* units, int start, int length);
    // A copy of s (null gives null).
    static String* create(String const* s);

    // The count; 0 for a null string.
    int get$length() const;
    // The unit at index; 0 for a null string or an index outside the count.
    char16_t get(int index) const;

    // Compares b with a's text from `start` on. -1 when the rest of a equals b,
    // otherwise the number of units of b that matched; 0 when a or b is null or
    // start is not below a's count.
    static int subStringMatch(String const* a, String const* b, int start, bool ignoreCase);

    // "{0}"-style formatting of Object arguments into a new String.
    template <typename... Args>
    static String* format(String const* text, Args*... args)
    {
        Object* list[] = {static_cast<Object*>(args)..., nullptr};
        return formatList(text, list);
    }
    static String* formatList(String const* text, Object* const* parameters);

    // Formatted scanning of this string (string_scanv).
    int scan(char16_t const* fmt, ...) const;
};

static_assert(sizeof(String) == 4, "a String block starts with its 32-bit count");

namespace Text {

// A compile-time string in the layout of a String block. It derives from String
// so that its address converts to String const* without a cast.
template <std::size_t N>
struct StringConstant : String {
    char16_t text[N];

    consteval StringConstant(char16_t const (&literal)[N]) : String{static_cast<std::int32_t>(N - 1)}, text{}
    {
        for (std::size_t i = 0; i < N; ++i)
            text[i] = literal[i];
    }
};

// The shared constant empty string (count 0, one 0 unit).
extern String const* const EmptyString;

}
}

// u"text"_str: a String constant in read-only data, never freed or written.
template <NyCore::Text::StringConstant Constant>
constexpr NyCore::String const* operator""_str()
{
    return &Constant;
}
