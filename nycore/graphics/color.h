// Color: the colour operations of the widgets. A colour is a 32-bit
// 0xRRGGBB value everywhere; the top byte is free for the caller's use.
#pragma once

#include <cstdint>

#include "nycore/text/string.h"

namespace NyCore::Graphics {

class Color {
public:
    // Hexadecimal digits, optionally after "#" or "0x"; at most six digits are
    // read, up to the first character that is not one. A missing text gives 0.
    static std::uint32_t create(String const* text);
    // Each channel times percent / 100; what a channel would have above 255 is
    // added to the other two, and every channel is then limited to 255.
    static std::uint32_t scale(std::uint32_t color, int percent);
    // 0 red, 1 green, 2 blue, 3 the top byte; anything else throws OutOfBoundsException (which, 3).
    static int component(std::uint32_t color, int which);
};

}
