// Conversions between Strings and std::u16string/std::string for test tables.
#pragma once

#include <string>

#include "nycore/text/string.h"

namespace TestSupport {

// A new String holding `text` (the caller frees it with string_free).
NyCore::String* makeString(std::u16string const& text);
std::u16string toU16(NyCore::String const* s);
// The string's units narrowed as UTF-8, for readable failure messages.
std::string toUtf8(NyCore::String const* s);
std::string toUtf8(std::u16string const& s);

}
