// The string_* family: allocation, comparison, slicing, searching, splitting,
// case mapping, trimming, justification and number conversion of Strings.
// Every String returned is a new block owned by the caller.
#include "nycore/text/string_functions.h"

#include <cmath>
#include <cstring>

#include "nycore/system/error.h"
#include "nycore/system/memory.h"
#include "nycore/text/cstring.h"

namespace {

char const ReadSource[] = "text/read.cpp";
char const WriteSource[] = "text/write.cpp";

String* fromUnits(char16_t const* units, int length)
{
    return String::create(units, 0, length);
}

bool inSet(String const* set, char16_t unit)
{
    for (int i = 0; i < set->count; ++i) {
        if (set->units()[i] == unit)
            return true;
    }
    return false;
}

}

String* string_alloc(int n)
{
    auto s = static_cast<String*>(memory_alloc(sizeof(String) + (static_cast<std::size_t>(n) + 1) * sizeof(char16_t)));
    s->count = n;
    return s;
}

void string_free(String const* s)
{
    memory_free(const_cast<String*>(s));
}

String* string_copy(String const* s)
{
    return s ? fromUnits(s->units(), s->count) : nullptr;
}

bool string_is_empty(String const* s)
{
    return s->units()[0] == 0;
}

int string_compare(String const* a, String const* b)
{
    return cstr_cmp(a->units(), b->units());
}

int string_cmp_nocase(String const* a, String const* b)
{
    char16_t const* x = a->units();
    char16_t const* y = b->units();
    int i = 0;
    while (char_to_upper(x[i]) == char_to_upper(y[i])) {
        if (x[i] == 0)
            return 0;
        ++i;
    }
    return static_cast<std::int16_t>(char_to_upper(x[i])) > static_cast<std::int16_t>(char_to_upper(y[i])) ? 1 : -1;
}

int string_count(String const* s, char16_t c)
{
    int n = 0;
    for (int i = 0; i < s->count; ++i) {
        if (s->units()[i] == c)
            ++n;
    }
    return n;
}

char16_t string_get_char(String const* s, int i)
{
    if (i < 0 || i >= s->count)
        ERROR_THROW(ERROR_BADINDEX, ReadSource);
    return s->units()[i];
}

String* string_left(String const* s, int n)
{
    if (n < 0)
        n = 0;
    return fromUnits(s->units(), n < s->count ? n : s->count);
}

String* string_right(String const* s, int n)
{
    if (n < 0)
        n = 0;
    int length = n < s->count ? n : s->count;
    return fromUnits(s->units() + s->count - length, length);
}

String* string_mid(String const* s, int start, int n)
{
    if (start < 0 || start >= s->count)
        ERROR_THROW(ERROR_BADINDEX, ReadSource);
    int rest = s->count - start;
    return fromUnits(s->units() + start, n < 0 || n > rest ? rest : n);
}

int string_index_of(String const* s, String const* what, int start, bool backwards)
{
    if (start < 0 || start >= s->count)
        ERROR_THROW(ERROR_BADINDEX, ReadSource);
    std::size_t bytes = static_cast<std::size_t>(what->count) * sizeof(char16_t);
    for (int at = start; at >= 0 && at < s->count; at += backwards ? -1 : 1) {
        if (at + what->count <= s->count && std::memcmp(s->units() + at, what->units(), bytes) == 0)
            return at;
    }
    return -1;
}

NyCore::Collections::Array<String*>* string_split(String const* s, String const* separators)
{
    String const* set = separators ? separators : NyCore::Text::EmptyString;
    char16_t const* units = s->units();
    int const length = s->count;

    // A piece starts at 0 and after every run of separators that does not end the text.
    int pieces = 1;
    for (int i = 0; i < length; ++i) {
        if (inSet(set, units[i]) && i + 1 < length && !inSet(set, units[i + 1]))
            ++pieces;
    }
    auto* array = NyCore::Collections::Array<String*>::alloc(pieces);
    int start = 0;
    for (int piece = 0; piece < pieces; ++piece) {
        int end = start;
        while (end < length && !inSet(set, units[end]))
            ++end;
        array->items()[piece] = fromUnits(units + start, end - start);
        start = end;
        while (start < length && inSet(set, units[start]))
            ++start;
    }
    return array;
}

String* string_append(String const* a, String const* b)
{
    String* s = string_alloc(a->count + b->count);
    std::memcpy(s->units(), a->units(), static_cast<std::size_t>(a->count) * sizeof(char16_t));
    std::memcpy(s->units() + a->count, b->units(), static_cast<std::size_t>(b->count) * sizeof(char16_t));
    s->units()[s->count] = 0;
    return s;
}

String* string_repeat(String const* s, int n)
{
    if (n < 0)
        n = 0;
    String* result = string_alloc(s->count * n);
    for (int i = 0; i < n; ++i)
        std::memcpy(result->units() + i * s->count, s->units(), static_cast<std::size_t>(s->count) * sizeof(char16_t));
    result->units()[result->count] = 0;
    return result;
}

String* string_reverse(String const* s)
{
    String* result = string_alloc(s->count);
    for (int i = 0; i < s->count; ++i)
        result->units()[i] = s->units()[s->count - 1 - i];
    result->units()[s->count] = 0;
    return result;
}

String* string_to_lower(String const* s)
{
    String* result = string_alloc(s->count);
    for (int i = 0; i < s->count; ++i)
        result->units()[i] = char_to_lower(s->units()[i]);
    result->units()[s->count] = 0;
    return result;
}

String* string_to_upper(String const* s)
{
    String* result = string_alloc(s->count);
    for (int i = 0; i < s->count; ++i)
        result->units()[i] = char_to_upper(s->units()[i]);
    result->units()[s->count] = 0;
    return result;
}

String* string_trim_left(String const* s, String const* set)
{
    int start = 0;
    while (start < s->count && inSet(set, s->units()[start]))
        ++start;
    return fromUnits(s->units() + start, s->count - start);
}

String* string_trim_right(String const* s, String const* set)
{
    int end = s->count;
    while (end > 0 && inSet(set, s->units()[end - 1]))
        --end;
    return fromUnits(s->units(), end);
}

String* string_justify(String const* s, int width, int mode, char16_t pad)
{
    if (mode < 0 || mode > 2)
        ERROR_THROW(ERROR_BADPARA, WriteSource);
    if (width < 0)
        width = 0;
    if (s->count >= width)
        return fromUnits(s->units(), width);
    String* result = string_alloc(width);
    for (int i = 0; i < width; ++i)
        result->units()[i] = pad;
    int gap = width - s->count;
    int offset = mode == 0 ? 0 : mode == 1 ? gap : gap / 2;
    std::memcpy(result->units() + offset, s->units(), static_cast<std::size_t>(s->count) * sizeof(char16_t));
    result->units()[width] = 0;
    return result;
}

String* string_extract(char16_t const* units, int n)
{
    int length = 0;
    while (length < n && units[length])
        ++length;
    return fromUnits(units, length);
}

String* string_from_cstr(char16_t const* units)
{
    return fromUnits(units, cstr_len(units));
}

String* string_from_ascii(char const* bytes)
{
    int length = static_cast<int>(std::strlen(bytes));
    String* s = string_alloc(length);
    cstr_from_ascii(s->units(), bytes, length + 1);
    return s;
}

String* string_from_array(NyCore::Collections::ArrayBase const* array)
{
    if (array->elementSize != static_cast<int>(sizeof(char16_t)))
        ERROR_THROW(ERROR_BADARRAY, WriteSource);
    return fromUnits(static_cast<char16_t const*>(array->data()), array->length);
}

String* string_from_int(std::int32_t value, int radix)
{
    if (radix < 2 || radix > 36)
        ERROR_THROW(ERROR_BADPARA, WriteSource);
    char16_t buffer[36];
    int length = charr_from_int(buffer, 36, value, radix);
    return fromUnits(buffer, length);
}

String* string_from_real(double value, int decimals)
{
    // The integer part (with its sign) is at most 310 units, and the whole
    // shortest text at most 330; only the padding of `decimals` can be longer.
    char16_t buffer[400];
    int length = charr_from_real(buffer, 400, value, decimals < 0 ? decimals : 0);
    if (decimals <= 0 || !std::isfinite(value))
        return fromUnits(buffer, length);
    String* s = string_alloc(length + 1 + decimals);
    s->count = charr_from_real(s->units(), s->count + 1, value, decimals);
    return s;
}

int string_to_int(String const* s, int radix)
{
    return s ? cstr_to_int(s->units(), radix) : 0;
}

double string_to_real(String const* s)
{
    return s ? cstr_to_float(s->units()) : 0.0;
}

bool string_is_real(String const* s)
{
    if (!s)
        return false;
    char16_t const* p = s->units();
    while (char_is_space(*p))
        ++p;
    if (*p == u'-')
        ++p;
    for (; *p; ++p) {
        if (!char_is_numeric(*p) && *p != u'.')
            return false;
    }
    return true;
}
