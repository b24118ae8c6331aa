// UTF-8 copies of the runtime's strings as std::string, for the interfaces
// outside the runtime (file names, X properties, libraries) that read UTF-8.
#pragma once

#include <cstddef>
#include <string>

#include "nycore/system/memory.h"
#include "nycore/text/string_functions.h"

// The UTF-8 form of s; empty for a null string.
inline std::string string_to_std_utf8(NyCore::String const* s)
{
    if (!s)
        return {};
    int length = 0;
    char* bytes = string_to_utf8(s, &length);
    std::string result(bytes, static_cast<std::size_t>(length));
    memory_free(bytes);
    return result;
}
