// Unbuffered UTF-8 output on the standard file descriptors.
#include "nycore/system/console.h"

#include <cerrno>
#include <unistd.h>

#include "nycore/system/memory.h"
#include "nycore/text/print.h"
#include "nycore/text/string_functions.h"

void console_write_bytes(int fd, char const* bytes, long count)
{
    while (count > 0) {
        ssize_t written = ::write(fd, bytes, static_cast<std::size_t>(count));
        if (written < 0) {
            if (errno == EINTR)
                continue;
            return;
        }
        bytes += written;
        count -= written;
    }
}

void console_write(int fd, char16_t const* units, int count)
{
    NyCore::String* text = string_extract(units, count);
    console_write(fd, text);
    string_free(text);
}

void console_write(int fd, NyCore::String const* text)
{
    if (!text)
        return;
    int length = 0;
    char* bytes = string_to_utf8(text, &length);
    console_write_bytes(fd, bytes, length);
    memory_free(bytes);
}

namespace {

void printTo(int fd, char16_t const* fmt, va_list args)
{
    NyCore::String* text = string_printv(fmt, args);
    console_write(fd, text);
    string_free(text);
}

}

void printv(char16_t const* fmt, va_list args)
{
    printTo(1, fmt, args);
}

void print(char16_t const* fmt, ...)
{
    va_list args;
    va_start(args, fmt);
    printTo(1, fmt, args);
    va_end(args);
}

void print_error(char16_t const* fmt, ...)
{
    va_list args;
    va_start(args, fmt);
    printTo(2, fmt, args);
    va_end(args);
}
