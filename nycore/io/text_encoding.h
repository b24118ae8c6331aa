// The encodings between a stream's UTF-16 buffer and the bytes of a file, and
// the conversions between the two. Encoding 1 keeps one byte per unit, so text
// with units above 255 must be written in encoding 2 (see encoding_choose).
#pragma once

#include "nycore/text/string.h"

namespace NyCore::Text {

struct TextEncoding {
    enum Enum {
        // Code units as they are (little-endian bytes), no byte-order mark.
        Native = 0,
        // One byte per unit: the unit's low byte.
        EightBit = 1,
        // Little-endian UTF-16 behind the mark FF FE.
        Utf16LittleEndian = 2,
        // Big-endian UTF-16 behind the mark FE FF.
        Utf16BigEndian = 3,
        // UTF-8: only the process's standard streams use it.
        Utf8 = 4,
    };
};

}

// 1 when every unit is at most 255, else 2: the encoding that keeps the text intact.
int encoding_choose(char16_t const* units, int count);
int encoding_choose(NyCore::String const* text);
// Bytes per unit in a file of encodings 0 to 3.
int encoding_unit_size(int encoding);
// Writes the byte-order mark of the encoding (none for 0 and 1); returns its length.
int encoding_put_mark(int encoding, unsigned char* bytes);
// Converts count units into bytes (room: count x encoding_unit_size); returns the byte count.
int encoding_encode(char16_t const* units, int count, int encoding, unsigned char* bytes);
// Converts count bytes into units; returns the unit count. A last byte that
// does not complete a 16-bit unit becomes U+FFFD and sets *partial.
int encoding_decode(unsigned char const* bytes, int count, int encoding, char16_t* units, bool* partial);
