// Places in a text as people read them: the one convention of every message
// that points into a file or a script (parse failures, script failures).
#pragma once

#include <cstdint>

namespace NyCore::XML {

struct TextPosition {
    std::int32_t line;    // from 1; a line feed ends a line
    std::int32_t column;  // from 1, in characters: a surrogate pair is one
};

}

// The line and column of the unit at `offset` of the text's `count` units
// (an offset at or past the end gives the place just after the last unit).
// The second half of a surrogate pair shares the column of the first.
NyCore::XML::TextPosition xml_locate(char16_t const* units, int count, int offset);
