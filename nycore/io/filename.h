// File names as Strings: splitting, joining and comparing them, with both '/'
// and '\' counted as separators, and their conversion to the platform's UTF-8.
#pragma once

#include "nycore/text/string.h"

namespace NyCore::IO {

// The separator that filename_merge inserts.
constexpr char16_t PathSeparator = u'/';

}

bool filename_is_separator(char16_t unit);
// The part after the last separator, the whole name when it holds none, and
// null when the name is null, empty or ends with a separator.
NyCore::String* filename_get_file(NyCore::String const* name);
// The part up to and including the last separator; empty when there is none
// (so that merging it with filename_get_file gives the name back). Null for null.
NyCore::String* filename_get_path(NyCore::String const* name);
// dir and name joined by one separator unless dir is empty or already ends
// with one; a null name gives dir with that separator.
NyCore::String* filename_merge(NyCore::String const* dir, NyCore::String const* name);
// True when the name begins with a separator or its second unit is a colon.
bool filename_is_abs(NyCore::String const* name);
// Orders names unit by unit, the two separators counting as equal; <0, 0, >0.
int filename_compare(NyCore::String const* a, NyCore::String const* b);
// The path of a new, empty file in the temporary directory, created so that the
// name stays taken; null when none can be created.
NyCore::String* filename_temp();

// A new zero-terminated UTF-8 path (memory_free it), or null when the name is
// null, empty or holds a 0 unit, which the platform would cut the path at.
char* filename_to_platform(NyCore::String const* name);
NyCore::String* filename_from_platform(char const* name);
