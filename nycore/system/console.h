// The process's standard output and error as seen by the core: formatted
// printing of code units through the standard writers, as UTF-8. Every call
// flushes, so that a report printed just before a fatal stop is never lost.
#pragma once

#include <cstdarg>

#include "nycore/text/string.h"

// Prints with the core's format syntax (nycore/text/print.h) to standard output.
void print(char16_t const* fmt, ...);
void printv(char16_t const* fmt, va_list args);
// Prints to standard error.
void print_error(char16_t const* fmt, ...);

// Writes code units as UTF-8 to a file descriptor (1 or 2).
void console_write(int fd, char16_t const* units, int count);
void console_write(int fd, NyCore::String const* text);
// Writes bytes as they are; safe inside a signal handler.
void console_write_bytes(int fd, char const* bytes, long count);
