// IntegerFormatter: integers onto any writer, in a radix with zero padding or
// as plain decimal (the rendering of Integer32).
#pragma once

#include "nycore/text/char_writer.h"

namespace NyCore::Text {

class IntegerFormatter {
public:
    // The number in radix 2-36 (string_from_int), zero-padded to minDigits
    // units; the zeros go after a leading '-'.
    static void applyFormat(CharWriter* writer, int value, int radix, int minDigits);
    // Plain decimal; the format is not interpreted.
    static void applyFormat(CharWriter* writer, int value, String const* format);
};

}
