// Conversions between Strings and std::u16string/std::string for test tables,
// and a holder that frees the String it owns.
#pragma once

#include <string>

#include "nycore/text/string.h"

namespace TestSupport {

// The caller frees the String with string_free.
NyCore::String* makeString(std::u16string const& text);
// "<null>" for null.
std::u16string toU16(NyCore::String const* s);
std::string toUtf8(NyCore::String const* s);
std::string toUtf8(std::u16string const& s);

// Owns a String (made from text, or adopted from the code under test) and
// frees it with string_free; converts to the String pointer where one is wanted.
class OwnedString {
public:
    OwnedString(char16_t const* text) : OwnedString(std::u16string(text)) {}
    OwnedString(std::u16string const& text) : string(makeString(text)) {}
    // Adopts `adopted` (which may be null).
    explicit OwnedString(NyCore::String* adopted) : string(adopted) {}
    ~OwnedString();
    OwnedString(OwnedString&& other) noexcept : string(other.release()) {}
    OwnedString& operator=(OwnedString&& other) noexcept;
    OwnedString(OwnedString const&) = delete;
    OwnedString& operator=(OwnedString const&) = delete;

    NyCore::String* get() const { return string; }
    operator NyCore::String*() const { return string; }
    // Gives up ownership.
    NyCore::String* release();
    std::string utf8() const { return toUtf8(string); }
    std::u16string text() const { return toU16(string); }

private:
    NyCore::String* string;
};

}
