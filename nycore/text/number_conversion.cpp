// Numbers to and from zero-terminated arrays of code units: cstr_to_int,
// cstr_to_float, charr_from_int and charr_from_real. Reals are read and
// written through <charconv>, so every rendering reads back to the same double.
#include <charconv>
#include <cmath>
#include <cstring>

#include "nycore/system/error.h"
#include "nycore/system/memory.h"
#include "nycore/text/cstring.h"

namespace {

char const SourceName[] = "text/cstring.cpp";

bool isDigit(char16_t c)
{
    return c >= u'0' && c <= u'9';
}

// Writes units into a caller's array, keeping the last unit of the room for
// the terminator.
class UnitSink {
public:
    UnitSink(char16_t* dst, int size) : dst(dst), room(size - 1) {}

    void put(char16_t unit)
    {
        if (written < room)
            dst[written++] = unit;
    }
    void put(char const* begin, char const* end)
    {
        while (begin < end)
            put(static_cast<char16_t>(*begin++));
    }
    bool full() const { return written >= room; }
    int finish()
    {
        dst[written] = 0;
        return written;
    }

private:
    char16_t* dst;
    int room;
    int written = 0;
};

}

int cstr_to_int(char16_t const* s, int radix)
{
    while (char_is_space(*s))
        ++s;
    bool negative = *s == u'-';
    if (negative)
        ++s;
    std::int64_t const limit = negative ? std::int64_t{1} << 31 : (std::int64_t{1} << 31) - 1;
    std::int64_t value = 0;
    for (;; ++s) {
        int digit = char_digit_value(*s);
        if (digit >= radix)
            break;
        value = value * radix + digit;
        if (value > limit)
            value = limit;
    }
    return static_cast<int>(negative ? -value : value);
}

double cstr_to_float(char16_t const* s)
{
    while (char_is_space(*s))
        ++s;
    bool negative = *s == u'-';
    if (negative)
        ++s;
    char16_t const* integerDigits = s;
    while (isDigit(*s))
        ++s;
    int integerCount = static_cast<int>(s - integerDigits);
    char16_t const* fractionDigits = s;
    int fractionCount = 0;
    if (*s == u'.' && isDigit(s[1])) {
        fractionDigits = ++s;
        while (isDigit(*s))
            ++s;
        fractionCount = static_cast<int>(s - fractionDigits);
    }
    if (integerCount == 0 && fractionCount == 0)
        return 0.0;

    // The accepted units become "[-]digits[.digits]" in bytes; a missing
    // integer part is written as "0".
    std::size_t length = 1 + static_cast<std::size_t>(integerCount > 0 ? integerCount : 1) + 1
        + static_cast<std::size_t>(fractionCount);
    char local[512];
    char* text = length <= sizeof local ? local : static_cast<char*>(memory_alloc(length));
    char* p = text;
    if (negative)
        *p++ = '-';
    if (integerCount == 0)
        *p++ = '0';
    for (int i = 0; i < integerCount; ++i)
        *p++ = static_cast<char>(integerDigits[i]);
    if (fractionCount > 0) {
        *p++ = '.';
        for (int i = 0; i < fractionCount; ++i)
            *p++ = static_cast<char>(fractionDigits[i]);
    }

    double value = 0.0;
    auto result = std::from_chars(text, p, value, std::chars_format::fixed);
    if (result.ec == std::errc::result_out_of_range) {
        bool overflow = false;
        for (int i = 0; i < integerCount; ++i)
            overflow = overflow || integerDigits[i] != u'0';
        value = overflow ? HUGE_VAL : 0.0;
        if (negative)
            value = -value;
    }
    if (text != local)
        memory_free(text);
    return value;
}

int charr_from_int(char16_t* dst, int size, std::int32_t value, int radix)
{
    if (size <= 2 || radix < 2 || radix > 36)
        ERROR_THROW(ERROR_BADPARA, SourceName);
    static char const digitUnits[] = "0123456789abcdefghijklmnopqrstuvwxyz";
    bool negative = radix == 10 && value < 0;
    std::uint32_t magnitude = static_cast<std::uint32_t>(value);
    if (negative)
        magnitude = 0u - magnitude;
    char16_t reversed[32];
    int count = 0;
    do {
        reversed[count++] = static_cast<char16_t>(digitUnits[magnitude % static_cast<std::uint32_t>(radix)]);
        magnitude /= static_cast<std::uint32_t>(radix);
    } while (magnitude != 0);

    // A short buffer keeps the leading digits, as every other bounded write does.
    UnitSink out(dst, size);
    if (negative)
        out.put(u'-');
    while (count > 0)
        out.put(reversed[--count]);
    return out.finish();
}

int charr_from_real(char16_t* dst, int size, double value, int decimals)
{
    if (size < 3)
        ERROR_THROW(ERROR_BADPARA, SourceName);
    UnitSink out(dst, size);
    if (std::isnan(value)) {
        static char const nan[] = "nan";
        out.put(nan, nan + 3);
        return out.finish();
    }
    if (std::isinf(value)) {
        static char const inf[] = "-inf";
        out.put(value < 0 ? inf : inf + 1, inf + 4);
        return out.finish();
    }

    // The shortest positional text that reads back to the same double has at
    // most a sign, 309 integer digits, or "0." and 324 fraction digits.
    char text[400];
    if (value == 0)
        value = 0.0;
    char* end = std::to_chars(text, text + sizeof text, value, std::chars_format::fixed).ptr;
    char* point = static_cast<char*>(std::memchr(text, '.', static_cast<std::size_t>(end - text)));
    if (!point)
        point = end;
    out.put(text, point);
    if (decimals < 0) {
        out.put(point, end);
    } else if (decimals > 0) {
        out.put(u'.');
        char const* fraction = point < end ? point + 1 : end;
        long available = end - fraction;
        for (int i = 0; i < decimals && !out.full(); ++i)
            out.put(i < available ? static_cast<char16_t>(fraction[i]) : u'0');
    }
    return out.finish();
}
