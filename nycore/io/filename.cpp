// File-name helpers. Names are split at the last '/' or '\'; joining inserts
// '/', which is what the platform understands.
#include "nycore/io/filename.h"

#include <cstdlib>
#include <cstring>
#include <unistd.h>

#include "nycore/io/directory.h"
#include "nycore/system/memory.h"
#include "nycore/text/string_functions.h"

using NyCore::String;

namespace {

// The index of the last separator, or -1.
int lastSeparator(String const* name)
{
    for (int i = name->count - 1; i >= 0; --i) {
        if (filename_is_separator(name->units()[i]))
            return i;
    }
    return -1;
}

}

bool filename_is_separator(char16_t unit)
{
    return unit == u'/' || unit == u'\\';
}

String* filename_get_file(String const* name)
{
    if (!name || name->count == 0)
        return nullptr;
    int separator = lastSeparator(name);
    if (separator == name->count - 1)
        return nullptr;
    return string_extract(name->units() + separator + 1, name->count - separator - 1);
}

String* filename_get_path(String const* name)
{
    if (!name)
        return nullptr;
    return string_extract(name->units(), lastSeparator(name) + 1);
}

String* filename_merge(String const* dir, String const* name)
{
    int dirLength = dir ? dir->count : 0;
    int nameLength = name ? name->count : 0;
    bool insert = dirLength > 0 && !filename_is_separator(dir->units()[dirLength - 1]);
    String* result = string_alloc(dirLength + (insert ? 1 : 0) + nameLength);
    char16_t* out = result->units();
    if (dirLength > 0)
        std::memcpy(out, dir->units(), sizeof(char16_t) * static_cast<std::size_t>(dirLength));
    out += dirLength;
    if (insert)
        *out++ = NyCore::IO::PathSeparator;
    if (nameLength > 0)
        std::memcpy(out, name->units(), sizeof(char16_t) * static_cast<std::size_t>(nameLength));
    out[nameLength] = 0;
    return result;
}

bool filename_is_abs(String const* name)
{
    if (!name || name->count == 0)
        return false;
    return filename_is_separator(name->units()[0]) || (name->count > 1 && name->units()[1] == u':');
}

int filename_compare(String const* a, String const* b)
{
    int lengthA = a ? a->count : 0;
    int lengthB = b ? b->count : 0;
    for (int i = 0; i < lengthA && i < lengthB; ++i) {
        char16_t x = a->units()[i], y = b->units()[i];
        if (filename_is_separator(x))
            x = u'/';
        if (filename_is_separator(y))
            y = u'/';
        if (x != y)
            return x < y ? -1 : 1;
    }
    return lengthA == lengthB ? 0 : lengthA < lengthB ? -1 : 1;
}

String* filename_temp()
{
    String* folder = directory_temp();
    String* pattern = filename_merge(folder, u"vex_XXXXXX"_str);
    string_free(folder);
    char* path = filename_to_platform(pattern);
    string_free(pattern);
    if (!path)
        return nullptr;
    int fd = ::mkstemp(path);
    String* result = nullptr;
    if (fd >= 0) {
        ::close(fd);
        result = filename_from_platform(path);
    }
    memory_free(path);
    return result;
}

char* filename_to_platform(String const* name)
{
    if (!name || name->count == 0)
        return nullptr;
    for (int i = 0; i < name->count; ++i) {
        if (name->units()[i] == 0)
            return nullptr;
    }
    return string_to_utf8(name);
}

String* filename_from_platform(char const* name)
{
    return string_from_utf8(name, -1);
}
