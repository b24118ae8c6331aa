// Formatted printing on code units: "%[-][+][#][0][ ][width][.precision]letter".
// cstr_print_len walks the same syntax and returns a bound that cstr_printv
// never passes, so that string_print can allocate before it prints.
#include "nycore/text/print.h"

#include <cmath>
#include <cstdint>
#include <type_traits>

#include "nycore/text/cstring.h"
#include "nycore/text/string_functions.h"

namespace {

// Widths and precisions are capped so that adding up a bound cannot overflow.
constexpr int MaxFieldNumber = 1 << 20;
constexpr int IntegerTextLimit = 36;

struct Conversion {
    bool padRight = false;
    bool plus = false;
    bool hexPrefix = false;
    bool zeroPad = false;
    int width = 0;
    int precision = 5;
    char16_t letter = 0;
};

int readNumber(char16_t const*& p)
{
    int value = 0;
    while (*p >= u'0' && *p <= u'9') {
        value = value * 10 + (*p++ - u'0');
        if (value > MaxFieldNumber)
            value = MaxFieldNumber;
    }
    return value;
}

// Reads the flags, width and precision behind a '%' and the letter; p is left
// behind the letter (or on the terminator when the format ends early).
Conversion readConversion(char16_t const*& p)
{
    Conversion c;
    if (*p == u'-') {
        c.padRight = true;
        ++p;
    }
    if (*p == u'+') {
        c.plus = true;
        ++p;
    }
    if (*p == u'#') {
        c.hexPrefix = true;
        ++p;
    }
    if (*p == u'0') {
        c.zeroPad = true;
        ++p;
    }
    if (*p == u' ')
        ++p;
    c.width = readNumber(p);
    if (*p == u'.') {
        ++p;
        c.precision = readNumber(p);
    }
    c.letter = *p;
    if (*p)
        ++p;
    return c;
}

bool isIntegerLetter(char16_t letter)
{
    switch (letter) {
    case u'd': case u'i': case u'u': case u'x': case u'X': case u'o': case u'b':
        return true;
    default:
        return false;
    }
}

int radixOf(char16_t letter)
{
    switch (letter) {
    case u'x': case u'X':
        return 16;
    case u'o':
        return 8;
    case u'b':
        return 2;
    default:
        return 10;
    }
}

// The length of a real's text with `precision` fraction digits.
int realTextLength(double value, int precision)
{
    char16_t integerText[400];
    int length = charr_from_real(integerText, 400, value, 0);
    if (std::isfinite(value) && precision > 0)
        length += 1 + precision;
    return length;
}

class Output {
public:
    explicit Output(char16_t* dst) : dst(dst) {}

    void put(char16_t unit) { dst[written++] = unit; }
    void put(char const* text)
    {
        while (*text)
            put(static_cast<char16_t>(*text++));
    }
    void pad(int count, char16_t unit)
    {
        for (int i = 0; i < count; ++i)
            put(unit);
    }
    char16_t* here() { return dst + written; }
    void advance(int count) { written += count; }
    int finish()
    {
        dst[written] = 0;
        return written;
    }

private:
    char16_t* dst;
    int written = 0;
};

void printInteger(Output& out, Conversion const& c, std::uint32_t bits)
{
    bool isSigned = c.letter == u'd' || c.letter == u'i';
    bool negative = isSigned && static_cast<std::int32_t>(bits) < 0;
    std::uint32_t magnitude = negative ? 0u - bits : bits;
    auto radix = static_cast<std::uint32_t>(radixOf(c.letter));
    char const* digitUnits = c.letter == u'X' ? "0123456789ABCDEF" : "0123456789abcdef";
    char16_t reversed[32];
    int count = 0;
    do {
        reversed[count++] = static_cast<char16_t>(digitUnits[magnitude % radix]);
        magnitude /= radix;
    } while (magnitude != 0);

    char sign = negative ? '-' : (isSigned && c.plus ? '+' : 0);
    int length = count + (sign ? 1 : 0) + (c.hexPrefix ? 2 : 0);
    int padding = c.width > length ? c.width - length : 0;
    if (!c.padRight)
        out.pad(padding, c.zeroPad ? u'0' : u' ');
    if (sign)
        out.put(static_cast<char16_t>(sign));
    if (c.hexPrefix)
        out.put("0x");
    while (count > 0)
        out.put(reversed[--count]);
    if (c.padRight)
        out.pad(padding, u' ');
}

void printReal(Output& out, Conversion const& c, double value)
{
    bool plus = c.plus && !std::isnan(value) && !(value < 0);
    int realLength = realTextLength(value, c.precision);
    int length = realLength + (plus ? 1 : 0);
    int padding = c.width > length ? c.width - length : 0;
    if (!c.padRight)
        out.pad(padding, u' ');
    if (plus)
        out.put(u'+');
    // The text fills exactly realLength units plus its terminator; the room
    // passed is never below charr_from_real's minimum of 3.
    charr_from_real(out.here(), realLength < 2 ? 3 : realLength + 1, value, c.precision);
    out.advance(realLength);
    if (c.padRight)
        out.pad(padding, u' ');
}

template <typename Unit>
int textLength(Unit const* text)
{
    int n = 0;
    while (text[n])
        ++n;
    return n;
}

// Writes `length` units of text (bytes are widened as Latin-1) padded to the width.
template <typename Unit>
void printText(Output& out, Conversion const& c, Unit const* text, int length)
{
    int padding = c.width > length ? c.width - length : 0;
    if (!c.padRight)
        out.pad(padding, u' ');
    for (int i = 0; i < length; ++i)
        out.put(static_cast<char16_t>(static_cast<std::make_unsigned_t<Unit>>(text[i])));
    if (c.padRight)
        out.pad(padding, u' ');
}

template <typename Unit>
void printText(Output& out, Conversion const& c, Unit const* text)
{
    static Unit const null[] = {'(', 'n', 'u', 'l', 'l', ')', 0};
    if (!text)
        text = null;
    printText(out, c, text, textLength(text));
}

}

int cstr_print_len(char16_t const* fmt, va_list args)
{
    va_list ap;
    va_copy(ap, args);
    int bound = 1;
    char16_t const* p = fmt;
    while (*p) {
        if (*p != u'%') {
            ++p;
            ++bound;
            continue;
        }
        ++p;
        Conversion c = readConversion(p);
        int estimate = 0;
        if (c.letter == 0)
            break;
        if (c.letter == u'%') {
            estimate = 1;
        } else if (c.letter == u'c') {
            va_arg(ap, int);
            estimate = 1;
        } else if (isIntegerLetter(c.letter)) {
            va_arg(ap, int);
            estimate = IntegerTextLimit;
        } else if (c.letter == u's') {
            auto text = va_arg(ap, char16_t const*);
            estimate = text ? textLength(text) : 6;
        } else if (c.letter == u'a') {
            auto text = va_arg(ap, char const*);
            estimate = text ? textLength(text) : 6;
        } else if (c.letter == u'f') {
            estimate = realTextLength(va_arg(ap, double), c.precision) + 1;
        } else {
            continue;
        }
        bound += c.width > estimate ? c.width : estimate;
    }
    va_end(ap);
    return bound;
}

int cstr_printv(char16_t* dst, char16_t const* fmt, va_list args)
{
    va_list ap;
    va_copy(ap, args);
    Output out(dst);
    char16_t const* p = fmt;
    while (*p) {
        if (*p != u'%') {
            out.put(*p++);
            continue;
        }
        ++p;
        Conversion c = readConversion(p);
        if (c.letter == 0)
            break;
        if (c.letter == u'%') {
            out.put(u'%');
        } else if (c.letter == u'c') {
            char16_t unit = static_cast<char16_t>(va_arg(ap, int));
            printText(out, c, &unit, 1);
        } else if (isIntegerLetter(c.letter)) {
            printInteger(out, c, static_cast<std::uint32_t>(va_arg(ap, int)));
        } else if (c.letter == u's') {
            printText(out, c, va_arg(ap, char16_t const*));
        } else if (c.letter == u'a') {
            printText(out, c, va_arg(ap, char const*));
        } else if (c.letter == u'f') {
            printReal(out, c, va_arg(ap, double));
        }
    }
    va_end(ap);
    return out.finish();
}

int cstr_print(char16_t* dst, char16_t const* fmt, ...)
{
    va_list args;
    va_start(args, fmt);
    int written = cstr_printv(dst, fmt, args);
    va_end(args);
    return written;
}

NyCore::String* string_printv(char16_t const* fmt, va_list args)
{
    va_list measure;
    va_copy(measure, args);
    int bound = cstr_print_len(fmt, measure);
    va_end(measure);
    NyCore::String* s = string_alloc(bound - 1);
    s->count = cstr_printv(s->units(), fmt, args);
    return s;
}

NyCore::String* string_print(char16_t const* fmt, ...)
{
    va_list args;
    va_start(args, fmt);
    NyCore::String* s = string_printv(fmt, args);
    va_end(args);
    return s;
}
