// The string_* family: operations on Strings that return new Strings owned by
// the caller. Argument strings are never changed or freed.
#pragma once

#include <cstdint>

#include "nycore/collection/array.h"
#include "nycore/text/string.h"

using NyCore::String;

// A block with count n whose units and terminator the caller fills.
String* string_alloc(int n);
void string_free(String const* s);

String* string_copy(String const* s);
bool string_is_empty(String const* s);
int string_compare(String const* a, String const* b);
int string_cmp_nocase(String const* a, String const* b);
int string_count(String const* s, char16_t c);
char16_t string_get_char(String const* s, int i);
String* string_left(String const* s, int n);
String* string_right(String const* s, int n);
String* string_mid(String const* s, int start, int n);
int string_index_of(String const* s, String const* what, int start, bool backwards);
NyCore::Collections::Array<String*>* string_split(String const* s, String const* separators);
String* string_append(String const* a, String const* b);
String* string_repeat(String const* s, int n);
String* string_reverse(String const* s);
String* string_to_lower(String const* s);
String* string_to_upper(String const* s);
String* string_trim_left(String const* s, String const* set);
String* string_trim_right(String const* s, String const* set);
// mode 0 left, 1 right, 2 centre; the result has exactly width units.
String* string_justify(String const* s, int width, int mode, char16_t pad);
String* string_extract(char16_t const* units, int n);
String* string_from_cstr(char16_t const* units);
String* string_from_ascii(char const* bytes);
String* string_from_array(NyCore::Collections::ArrayBase const* array);
String* string_from_int(std::int32_t value, int radix);
String* string_from_real(double value, int decimals);
int string_to_int(String const* s, int radix);
double string_to_real(String const* s);
bool string_is_real(String const* s);

// UTF-8 conversion at the edges of the system (command line, terminals, files
// named by the user). Invalid input bytes become U+FFFD.
String* string_from_utf8(char const* bytes, int length);
// A new zero-terminated UTF-8 text from memory_alloc; the caller frees it.
char* string_to_utf8(String const* s, int* length = nullptr);
