// Colour parsing, scaling and channel access on 0xRRGGBB values.
#include "nycore/graphics/color.h"

#include <algorithm>

#include "nycore/system/exceptions.h"
#include "nycore/system/runtime.h"
#include "nycore/text/cstring.h"

namespace NyCore::Graphics {

std::uint32_t Color::create(String const* text)
{
    if (!text)
        return 0;
    char16_t const* units = text->units();
    int count = text->count;
    int i = 0;
    if (count > 0 && units[0] == u'#')
        i = 1;
    else if (count > 1 && units[0] == u'0' && (units[1] == u'x' || units[1] == u'X'))
        i = 2;
    std::uint32_t value = 0;
    for (int digits = 0; i < count && digits < 6; ++i, ++digits) {
        int digit = char_digit_value(units[i]);
        if (digit >= 16)
            break;
        value = value * 16 + static_cast<std::uint32_t>(digit);
    }
    return value;
}

std::uint32_t Color::scale(std::uint32_t color, int percent)
{
    int channels[3];
    int excess[3];
    for (int i = 0; i < 3; ++i) {
        int value = static_cast<int>((color >> (16 - 8 * i)) & 0xFF) * percent / 100;
        channels[i] = std::max(value, 0);
        excess[i] = std::max(value - 255, 0);
    }
    std::uint32_t result = 0;
    for (int i = 0; i < 3; ++i) {
        int value = channels[i] + excess[(i + 1) % 3] + excess[(i + 2) % 3];
        result = (result << 8) | static_cast<std::uint32_t>(std::min(value, 255));
    }
    return result;
}

int Color::component(std::uint32_t color, int which)
{
    if (which < 0 || which > 3)
        NY_THROW(OutOfBoundsException(which, 3));
    return static_cast<int>((color >> (which == 3 ? 24 : 16 - 8 * which)) & 0xFF);
}

}
