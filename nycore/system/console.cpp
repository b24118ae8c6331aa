// Output on the standard file descriptors. Text goes through the standard
// output and error writers, flushed after every call, so that it keeps its
// order with the writers' own output and a report just before a fatal stop is
// never lost; raw bytes go straight to the descriptor.
#include "nycore/system/console.h"

#include <cerrno>
#include <unistd.h>

#include "nycore/io/standard_streams.h"
#include "nycore/system/memory.h"
#include "nycore/text/string_functions.h"

void console_write_bytes(int fd, char const* bytes, long count)
{
    while (count > 0) {
        ssize_t written = ::write(fd, bytes, static_cast<std::size_t>(count));
        if (written < 0) {
            if (errno == EINTR)
                continue;
            stream_standard_note_failure(fd, errno);  // seen by the exit check of standard output
            return;
        }
        bytes += written;
        count -= written;
    }
}

namespace {

// The standard writer of descriptor 1 or 2, else null.
NyCore::IO::StreamWriter* standardWriter(int fd)
{
    return fd == 1 ? writer_standard_output() : fd == 2 ? writer_standard_error() : nullptr;
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
    if (NyCore::IO::StreamWriter* writer = standardWriter(fd)) {
        writer_put_string(writer, text);
        writer_flush(writer);
        return;
    }
    int length = 0;
    char* bytes = string_to_utf8(text, &length);
    console_write_bytes(fd, bytes, length);
    memory_free(bytes);
}

void printv(char16_t const* fmt, va_list args)
{
    NyCore::IO::StreamWriter* writer = writer_standard_output();
    writer_printv(writer, fmt, args);
    writer_flush(writer);
}

void print(char16_t const* fmt, ...)
{
    va_list args;
    va_start(args, fmt);
    printv(fmt, args);
    va_end(args);
}

void print_error(char16_t const* fmt, ...)
{
    va_list args;
    va_start(args, fmt);
    NyCore::IO::StreamWriter* writer = writer_standard_error();
    writer_printv(writer, fmt, args);
    writer_flush(writer);
    va_end(args);
}
