// Conversions between UTF-16 units and the bytes of encodings 0 to 3. The
// byte order is spelt out, so that files are the same on every host.
#include "nycore/io/text_encoding.h"

using NyCore::Text::TextEncoding;

int encoding_choose(char16_t const* units, int count)
{
    for (int i = 0; i < count; ++i) {
        if (units[i] > 255)
            return TextEncoding::Utf16LittleEndian;
    }
    return TextEncoding::EightBit;
}

int encoding_choose(NyCore::String const* text)
{
    return text ? encoding_choose(text->units(), text->count) : TextEncoding::EightBit;
}

int encoding_unit_size(int encoding)
{
    return encoding == TextEncoding::EightBit ? 1 : 2;
}

int encoding_put_mark(int encoding, unsigned char* bytes)
{
    if (encoding == TextEncoding::Utf16LittleEndian) {
        bytes[0] = 0xFF;
        bytes[1] = 0xFE;
        return 2;
    }
    if (encoding == TextEncoding::Utf16BigEndian) {
        bytes[0] = 0xFE;
        bytes[1] = 0xFF;
        return 2;
    }
    return 0;
}

int encoding_encode(char16_t const* units, int count, int encoding, unsigned char* bytes)
{
    if (encoding == TextEncoding::EightBit) {
        for (int i = 0; i < count; ++i)
            bytes[i] = static_cast<unsigned char>(units[i] & 0xFF);
        return count;
    }
    bool bigEndian = encoding == TextEncoding::Utf16BigEndian;
    for (int i = 0; i < count; ++i) {
        unsigned char low = static_cast<unsigned char>(units[i] & 0xFF);
        unsigned char high = static_cast<unsigned char>(units[i] >> 8);
        bytes[2 * i] = bigEndian ? high : low;
        bytes[2 * i + 1] = bigEndian ? low : high;
    }
    return 2 * count;
}

int encoding_decode(unsigned char const* bytes, int count, int encoding, char16_t* units, bool* partial)
{
    *partial = false;
    if (encoding == TextEncoding::EightBit) {
        for (int i = 0; i < count; ++i)
            units[i] = bytes[i];
        return count;
    }
    bool bigEndian = encoding == TextEncoding::Utf16BigEndian;
    int whole = count / 2;
    for (int i = 0; i < whole; ++i) {
        unsigned first = bytes[2 * i], second = bytes[2 * i + 1];
        units[i] = static_cast<char16_t>(bigEndian ? (first << 8 | second) : (second << 8 | first));
    }
    if (count % 2 == 0)
        return whole;
    *partial = true;
    units[whole] = 0xFFFD;
    return whole + 1;
}
