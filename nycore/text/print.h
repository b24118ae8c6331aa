// Formatted printing and scanning on code units ("%d", "%s", "%f", ...).
// The format syntax is the core's own, shared by every print-style output.
#pragma once

#include <cstdarg>

#include "nycore/text/string.h"

// An upper bound of the units cstr_printv writes, terminator included.
int cstr_print_len(char16_t const* fmt, va_list args);
// Prints into dst, which must hold cstr_print_len units; returns units written.
int cstr_printv(char16_t* dst, char16_t const* fmt, va_list args);
int cstr_print(char16_t* dst, char16_t const* fmt, ...);

// Scans src by fmt; returns the number of assignments. '%s' and '%a' take
// their buffer's room (units including the terminator) as an int argument
// before the buffer pointer, and never write past it.
int cstr_scanv(char16_t const* src, char16_t const* fmt, va_list args);
int cstr_scan(char16_t const* src, char16_t const* fmt, ...);

// Printing into a new String of exactly the printed length.
NyCore::String* string_print(char16_t const* fmt, ...);
NyCore::String* string_printv(char16_t const* fmt, va_list args);
int string_scan(NyCore::String const* s, char16_t const* fmt, ...);
int string_scanv(NyCore::String const* s, char16_t const* fmt, va_list args);
