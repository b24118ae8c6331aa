// The char_* tests and mappings on single code units and the cstr_* basics
// on zero-terminated arrays: length, comparison, bounded copies and the
// conversions between 16-bit units and bytes.
#include "nycore/text/cstring.h"

int char_is_numeric(char16_t c)
{
    return c >= u'0' && c <= u'9' ? 1 : 0;
}

int char_is_alpha(char16_t c)
{
    return (c >= u'A' && c <= u'Z') || (c >= u'a' && c <= u'z') ? 1 : 0;
}

int char_is_lower(char16_t c)
{
    if (c >= u'a' && c <= u'z')
        return 1;
    if (c >= u'A' && c <= u'Z')
        return 0;
    return -1;
}

int char_is_upper(char16_t c)
{
    if (c >= u'A' && c <= u'Z')
        return 1;
    if (c >= u'a' && c <= u'z')
        return 0;
    return -1;
}

char16_t char_to_lower(char16_t c)
{
    return c >= u'A' && c <= u'Z' ? static_cast<char16_t>(c - u'A' + u'a') : c;
}

char16_t char_to_upper(char16_t c)
{
    return c >= u'a' && c <= u'z' ? static_cast<char16_t>(c - u'a' + u'A') : c;
}

int char_is_space(char16_t c)
{
    return c == u' ' || c == u'\r' || c == u'\t' || c == u'\n' ? 1 : 0;
}

int char_digit_value(char16_t c)
{
    if (c >= u'0' && c <= u'9')
        return c - u'0';
    if (c >= u'a' && c <= u'z')
        return c - u'a' + 10;
    if (c >= u'A' && c <= u'Z')
        return c - u'A' + 10;
    return 99;
}

int cstr_len(char16_t const* s)
{
    int n = 0;
    while (s[n])
        ++n;
    return n;
}

int cstr_cmp(char16_t const* a, char16_t const* b)
{
    int i = 0;
    while (a[i] == b[i]) {
        if (a[i] == 0)
            return 0;
        ++i;
    }
    return static_cast<std::int16_t>(a[i]) > static_cast<std::int16_t>(b[i]) ? 1 : -1;
}

int cstr_copy(char16_t* dst, char16_t const* src)
{
    int n = 0;
    while ((dst[n] = src[n]) != 0)
        ++n;
    return n;
}

int cstr_copyn(char16_t* dst, char16_t const* src, int n)
{
    if (n <= 0)
        return 0;
    int i = 0;
    while (i < n - 1 && src[i]) {
        dst[i] = src[i];
        ++i;
    }
    dst[i] = 0;
    return i;
}

int cstr_apnd(char16_t* dst, char16_t const* src, int n)
{
    int end = 0;
    while (end < n && dst[end])
        ++end;
    if (end >= n)
        return -1;
    for (int i = 0; end < n - 1 && src[i]; ++i)
        dst[end++] = src[i];
    dst[end] = 0;
    return end;
}

int cstr_to_ascii(char* dst, char16_t const* src, int n)
{
    if (n <= 0)
        return 0;
    int i = 0;
    while (i < n - 1 && src[i]) {
        dst[i] = static_cast<char>(src[i] & 0xFF);
        ++i;
    }
    dst[i] = 0;
    return i;
}

int cstr_from_ascii(char16_t* dst, char const* src, int n)
{
    if (n <= 0)
        return 0;
    int i = 0;
    while (i < n - 1 && src[i]) {
        dst[i] = static_cast<unsigned char>(src[i]);
        ++i;
    }
    dst[i] = 0;
    return i;
}
