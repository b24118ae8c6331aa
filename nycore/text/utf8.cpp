// UTF-8 at the edges of the system: command lines, terminals and file names
// arrive and leave as UTF-8 bytes, while Strings hold UTF-16 units. Broken
// input never fails; each bad sequence becomes U+FFFD.
#include <cstring>

#include "nycore/system/memory.h"
#include "nycore/text/string_functions.h"

namespace {

constexpr char32_t Replacement = 0xFFFD;

// Decodes one code point at bytes[i], advancing i past it. An invalid or cut
// sequence yields U+FFFD and skips only its valid-looking prefix.
char32_t decodeOne(unsigned char const* bytes, int length, int& i)
{
    unsigned char lead = bytes[i++];
    if (lead < 0x80)
        return lead;
    int trailCount;
    char32_t point;
    unsigned char low = 0x80, high = 0xBF;
    if (lead >= 0xC2 && lead <= 0xDF) {
        trailCount = 1;
        point = lead & 0x1F;
    } else if (lead >= 0xE0 && lead <= 0xEF) {
        trailCount = 2;
        point = lead & 0x0F;
        if (lead == 0xE0)
            low = 0xA0;
        else if (lead == 0xED)
            high = 0x9F;
    } else if (lead >= 0xF0 && lead <= 0xF4) {
        trailCount = 3;
        point = lead & 0x07;
        if (lead == 0xF0)
            low = 0x90;
        else if (lead == 0xF4)
            high = 0x8F;
    } else {
        return Replacement;
    }
    for (int k = 0; k < trailCount; ++k) {
        if (i >= length || bytes[i] < low || bytes[i] > high)
            return Replacement;
        point = (point << 6) | (bytes[i++] & 0x3F);
        low = 0x80;
        high = 0xBF;
    }
    return point;
}

// Reads the code point of the units at s[i], advancing i; lone surrogates give U+FFFD.
char32_t readPoint(char16_t const* s, int count, int& i)
{
    char16_t unit = s[i++];
    if (unit < 0xD800 || unit > 0xDFFF)
        return unit;
    if (unit <= 0xDBFF && i < count && s[i] >= 0xDC00 && s[i] <= 0xDFFF) {
        char16_t trail = s[i++];
        return 0x10000 + ((static_cast<char32_t>(unit) - 0xD800) << 10) + (trail - 0xDC00);
    }
    return Replacement;
}

int encodedLength(char32_t point)
{
    return point < 0x80 ? 1 : point < 0x800 ? 2 : point < 0x10000 ? 3 : 4;
}

}

String* string_from_utf8(char const* bytes, int length)
{
    if (!bytes)
        length = 0;
    else if (length < 0)
        length = static_cast<int>(std::strlen(bytes));
    auto const* input = reinterpret_cast<unsigned char const*>(bytes);

    int units = 0;
    for (int i = 0; i < length;)
        units += decodeOne(input, length, i) >= 0x10000 ? 2 : 1;
    String* s = string_alloc(units);
    char16_t* out = s->units();
    for (int i = 0; i < length;) {
        char32_t point = decodeOne(input, length, i);
        if (point >= 0x10000) {
            point -= 0x10000;
            *out++ = static_cast<char16_t>(0xD800 + (point >> 10));
            *out++ = static_cast<char16_t>(0xDC00 + (point & 0x3FF));
        } else {
            *out++ = static_cast<char16_t>(point);
        }
    }
    *out = 0;
    return s;
}

char* string_to_utf8(String const* s, int* length)
{
    char16_t const* units = s ? s->units() : nullptr;
    int count = s ? s->count : 0;
    int size = 0;
    for (int i = 0; i < count;)
        size += encodedLength(readPoint(units, count, i));
    auto* bytes = static_cast<char*>(memory_alloc(static_cast<std::size_t>(size) + 1));
    auto* out = reinterpret_cast<unsigned char*>(bytes);
    for (int i = 0; i < count;) {
        char32_t point = readPoint(units, count, i);
        switch (encodedLength(point)) {
        case 1:
            *out++ = static_cast<unsigned char>(point);
            break;
        case 2:
            *out++ = static_cast<unsigned char>(0xC0 | (point >> 6));
            *out++ = static_cast<unsigned char>(0x80 | (point & 0x3F));
            break;
        case 3:
            *out++ = static_cast<unsigned char>(0xE0 | (point >> 12));
            *out++ = static_cast<unsigned char>(0x80 | ((point >> 6) & 0x3F));
            *out++ = static_cast<unsigned char>(0x80 | (point & 0x3F));
            break;
        default:
            *out++ = static_cast<unsigned char>(0xF0 | (point >> 18));
            *out++ = static_cast<unsigned char>(0x80 | ((point >> 12) & 0x3F));
            *out++ = static_cast<unsigned char>(0x80 | ((point >> 6) & 0x3F));
            *out++ = static_cast<unsigned char>(0x80 | (point & 0x3F));
            break;
        }
    }
    *out = 0;
    if (length)
        *length = size;
    return bytes;
}
