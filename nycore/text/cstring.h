// Flat functions on single code units (char_*), zero-terminated arrays of
// code units (cstr_*) and number-to-array conversion (charr_*). None of them
// allocates; every write stays inside the caller's buffer.
#pragma once

#include <cstdint>

// Letters, digits and white space are ASCII only.
int char_is_numeric(char16_t c);
int char_is_alpha(char16_t c);
// 1 for a-z, 0 for A-Z, -1 (true) for every other unit.
int char_is_lower(char16_t c);
// 1 for A-Z, 0 for a-z, -1 (true) for every other unit.
int char_is_upper(char16_t c);
char16_t char_to_lower(char16_t c);
char16_t char_to_upper(char16_t c);
// Space, carriage return, tab and line feed.
int char_is_space(char16_t c);
// The value of a digit of any radix up to 36 (0-9, then a-z or A-Z as 10-35);
// 99 for every other unit, so `char_digit_value(c) < radix` tests a digit.
int char_digit_value(char16_t c);

int cstr_len(char16_t const* s);
// 0 when equal, else 1 or -1 by the first differing unit as a signed 16-bit value.
int cstr_cmp(char16_t const* a, char16_t const* b);
// Copies through the terminator; returns the length copied.
int cstr_copy(char16_t* dst, char16_t const* src);
// Copies at most n units including the terminator, always terminating.
int cstr_copyn(char16_t* dst, char16_t const* src, int n);
// Appends src to dst inside a buffer of n units; -1 when dst is not terminated within n.
int cstr_apnd(char16_t* dst, char16_t const* src, int n);
// Narrows to bytes (low 8 bits), at most n bytes including the terminator.
int cstr_to_ascii(char* dst, char16_t const* src, int n);
// Widens bytes as Latin-1, at most n units including the terminator.
int cstr_from_ascii(char16_t* dst, char const* src, int n);

// Integer parse: white space, optional '-', digits of the radix; saturates
// at the 32-bit limits instead of overflowing.
int cstr_to_int(char16_t const* s, int radix);
// Real parse: white space, optional '-', digits, '.' and digits (no exponent,
// no '+'); the result is the correctly rounded double.
double cstr_to_float(char16_t const* s);

// Writes value in radix 2-36 into dst (room for size units); returns the units written.
int charr_from_int(char16_t* dst, int size, std::int32_t value, int radix);
// Writes value with `decimals` fraction digits (negative: as many as needed,
// 0: none); returns the units written.
int charr_from_real(char16_t* dst, int size, double value, int decimals);
