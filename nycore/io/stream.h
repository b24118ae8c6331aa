// The stream records behind every file, memory and standard text stream, and
// the text primitives that write and read any of them. A stream's buffer always
// holds UTF-16 code units; its encoding applies only in its block operation.
#pragma once

#include <cstdarg>
#include <cstdint>

#include "nycore/collection/array.h"
#include "nycore/text/string.h"

namespace NyCore::IO {

struct Stream;

constexpr int StreamBufferUnits = 512;

// Stream flag bits.
constexpr std::uint32_t StreamEndOfInput = 1;
constexpr std::uint32_t StreamStandard = 2;
// A write or read of the platform failed, or the input ended inside a code unit.
constexpr std::uint32_t StreamFailed = 4;

// The operations of a stream kind, in slot order. The text primitives only
// ever call `block`: refill (readers) or flush (writers).
struct StreamOperations {
    void* reserved0;
    // Flushes (writers) and releases the stream; false with a reason when
    // anything written did not reach its destination.
    bool (*close)(Stream* stream, String** reason);
    void* reserved1[4];
    // Offsets and the result count characters of the stream's encoding; -1 on failure.
    std::int64_t (*seek)(Stream* stream, std::int64_t offset, int origin);
    void (*block)(Stream* stream);
};

struct Stream {
    StreamOperations const* operations;
    // The next unit to read or write.
    char16_t* position;
    // Readers: the end of the valid units; writers: the end of the room.
    char16_t* end;
    std::uint32_t flags;
    // The file descriptor of file and standard streams; -1 for the others.
    int handle;
    // One of Text::TextEncoding.
    int encoding;
    // The errno of the first failure (with StreamFailed), else 0.
    int error;
    // What a stream that is not a file reads or writes (a memory stream's text).
    void* sink;
    char16_t buffer[StreamBufferUnits];
};

struct StreamReader : Stream {};
struct StreamWriter : Stream {};

}

// Writing: each primitive stores units in the buffer and calls the block
// operation whenever the buffer is full.
void writer_put_char(NyCore::IO::StreamWriter* writer, char16_t unit);
void writer_put_string(NyCore::IO::StreamWriter* writer, NyCore::String const* text);
// A zero-terminated run of units.
void writer_put_cstr(NyCore::IO::StreamWriter* writer, char16_t const* run);
// At most max units of run, stopping at a zero unit.
void writer_put_charr(NyCore::IO::StreamWriter* writer, char16_t const* run, int max);
// The text followed by a line feed (unit 10).
void writer_put_line(NyCore::IO::StreamWriter* writer, NyCore::String const* text);
void writer_fill(NyCore::IO::StreamWriter* writer, char16_t unit, int count);
// The raw bytes of count elements from element first on (fewer when the array
// ends first), packed two to a unit; an odd last byte is padded with a zero
// byte. A first element not below the length is fatal (Error.InvalidIndex).
void writer_put_array(NyCore::IO::StreamWriter* writer, NyCore::Collections::ArrayBase const* array, int first, int count);
// Formatted text in the core's print syntax (nycore/text/print.h).
void writer_print(NyCore::IO::StreamWriter* writer, char16_t const* fmt, ...);
void writer_printv(NyCore::IO::StreamWriter* writer, char16_t const* fmt, va_list args);
// Hands whatever the buffer holds to the block operation.
void writer_flush(NyCore::IO::StreamWriter* writer);
// True once a write of the stream has failed.
bool writer_has_failed(NyCore::IO::StreamWriter const* writer);

// Reading. At the end of input reader_get_char returns the unit 0, and again
// on every further call; reader_is_eof is true once a refill found nothing.
char16_t reader_get_char(NyCore::IO::StreamReader* reader);
bool reader_is_eof(NyCore::IO::StreamReader const* reader);
// True when a read failed or the input ended inside a code unit (that last
// partial unit is delivered as U+FFFD).
bool reader_has_failed(NyCore::IO::StreamReader const* reader);
// All remaining input as one byte array (element size 1) holding the UTF-16
// units, i.e. length = 2 x units; null when no input is left.
NyCore::Collections::ArrayBase* reader_buffer(NyCore::IO::StreamReader* reader);
// Skips the units of set (null: space, tab, carriage return, line feed);
// returns how many were skipped.
int reader_ignore(NyCore::IO::StreamReader* reader, NyCore::String const* set);
// The units up to the first unit of delimiters (null: white space as above),
// which stays unread, or to the end of input. Null when the input had ended.
NyCore::String* reader_get_str(NyCore::IO::StreamReader* reader, NyCore::String const* delimiters);
// Reads at most max units into run (no terminator is stored); returns the count.
int reader_get_charr(NyCore::IO::StreamReader* reader, char16_t* run, int max);
// Reads count raw bytes (the counterpart of writer_put_array) into a new byte
// array of the bytes actually read; null when no input is left.
NyCore::Collections::ArrayBase* reader_get_array(NyCore::IO::StreamReader* reader, int count);
// Reads the next line (its line feed and a carriage return before it are
// consumed, not scanned) and scans it like cstr_scanv. Returns the number of
// assignments, or -1 when the input had ended.
int reader_scan(NyCore::IO::StreamReader* reader, char16_t const* fmt, ...);
int reader_scanv(NyCore::IO::StreamReader* reader, char16_t const* fmt, va_list args);
