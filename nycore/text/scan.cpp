// Formatted scanning on code units: literals, blanks and "%[*]letter"
// conversions into int, double, 16-bit and 8-bit cells. String buffers are
// handed over with their room, so a scan never writes past them.
#include <cstdarg>
#include <cstdint>

#include "nycore/text/cstring.h"
#include "nycore/text/print.h"

namespace {

bool isBlank(char16_t c)
{
    return c == u' ' || c == u'\t';
}

// Reads digits of the radix (after a '-' when signed) into *value. d, i and u
// saturate at the signed 32-bit limits; x, o and b keep up to 32 bits and
// saturate at all ones. False, with nothing consumed, when there is no digit.
bool scanInteger(char16_t const*& in, int radix, bool isSigned, std::int32_t* value)
{
    char16_t const* p = in;
    bool negative = isSigned && *p == u'-';
    if (negative)
        ++p;
    if (char_digit_value(*p) >= radix)
        return false;
    std::int64_t limit = !isSigned ? 0xFFFFFFFFll : negative ? std::int64_t{1} << 31 : (std::int64_t{1} << 31) - 1;
    std::int64_t magnitude = 0;
    for (; char_digit_value(*p) < radix; ++p) {
        magnitude = magnitude * radix + char_digit_value(*p);
        if (magnitude > limit)
            magnitude = limit;
    }
    in = p;
    *value = static_cast<std::int32_t>(static_cast<std::uint32_t>(negative ? -magnitude : magnitude));
    return true;
}

// The real syntax of cstr_to_float: '-', digits, '.' directly followed by digits.
bool scanReal(char16_t const*& in, double* value)
{
    char16_t const* p = in;
    if (*p == u'-')
        ++p;
    bool anyDigit = false;
    while (char_is_numeric(*p)) {
        ++p;
        anyDigit = true;
    }
    if (*p == u'.' && char_is_numeric(p[1])) {
        p += 2;
        anyDigit = true;
        while (char_is_numeric(*p))
            ++p;
    }
    if (!anyDigit)
        return false;
    *value = cstr_to_float(in);
    in = p;
    return true;
}

// Copies input units up to the stop unit (or the end of the input) into a
// buffer of `room` units, terminator included; stops consuming when full.
template <typename Unit>
void scanText(char16_t const*& in, char16_t stop, Unit* buffer, int room)
{
    int written = 0;
    while (*in && *in != stop && written < room - 1)
        buffer[written++] = static_cast<Unit>(*in++);
    if (room > 0)
        buffer[written] = 0;
}

void skipText(char16_t const*& in, char16_t stop)
{
    while (*in && *in != stop)
        ++in;
}

}

int cstr_scanv(char16_t const* src, char16_t const* fmt, va_list args)
{
    va_list ap;
    va_copy(ap, args);
    int assigned = 0;
    char16_t const* in = src;
    char16_t const* f = fmt;
    while (*f) {
        if (isBlank(*f)) {
            ++f;
            continue;
        }
        while (isBlank(*in))
            ++in;
        if (*f != u'%') {
            if (*in != *f)
                break;
            ++in;
            ++f;
            continue;
        }
        ++f;
        bool store = *f != u'*';
        if (!store)
            ++f;
        char16_t letter = *f;
        if (letter == 0)
            break;
        ++f;

        bool matched = true;
        switch (letter) {
        case u'%':
            matched = *in == u'%';
            if (matched)
                ++in;
            break;
        case u'x': case u'X': case u'o': case u'b': case u'd': case u'i': case u'u': {
            int radix = letter == u'o' ? 8 : letter == u'b' ? 2 : letter == u'x' || letter == u'X' ? 16 : 10;
            std::int32_t value = 0;
            matched = scanInteger(in, radix, radix == 10, &value);
            if (matched && store) {
                *va_arg(ap, int*) = value;
                ++assigned;
            }
            break;
        }
        case u'f': {
            double value = 0;
            matched = scanReal(in, &value);
            if (matched && store) {
                *va_arg(ap, double*) = value;
                ++assigned;
            }
            break;
        }
        case u'c':
            matched = *in != 0;
            if (matched) {
                if (store) {
                    *va_arg(ap, char16_t*) = *in;
                    ++assigned;
                }
                ++in;
            }
            break;
        case u's':
        case u'a':
            if (!store) {
                skipText(in, *f);
                break;
            }
            {
                int room = va_arg(ap, int);
                if (letter == u's')
                    scanText(in, *f, va_arg(ap, char16_t*), room);
                else
                    scanText(in, *f, va_arg(ap, char*), room);
                ++assigned;
            }
            break;
        default:
            break;
        }
        if (!matched)
            break;
    }
    va_end(ap);
    return assigned;
}

int cstr_scan(char16_t const* src, char16_t const* fmt, ...)
{
    va_list args;
    va_start(args, fmt);
    int assigned = cstr_scanv(src, fmt, args);
    va_end(args);
    return assigned;
}

int string_scanv(NyCore::String const* s, char16_t const* fmt, va_list args)
{
    return cstr_scanv(s->units(), fmt, args);
}

int string_scan(NyCore::String const* s, char16_t const* fmt, ...)
{
    va_list args;
    va_start(args, fmt);
    int assigned = string_scanv(s, fmt, args);
    va_end(args);
    return assigned;
}

int NyCore::String::scan(char16_t const* fmt, ...) const
{
    va_list args;
    va_start(args, fmt);
    int assigned = string_scanv(this, fmt, args);
    va_end(args);
    return assigned;
}
