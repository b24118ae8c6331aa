// The text primitives over any stream: they fill or drain the buffer and call
// the stream's block operation when it runs full or empty, and never touch the
// platform themselves.
#include "nycore/io/stream.h"

#include <cstring>

#include "nycore/system/error.h"
#include "nycore/system/memory.h"
#include "nycore/text/print.h"
#include "nycore/text/string_functions.h"
#include "nycore/text/text_buffer.h"

using NyCore::String;
using NyCore::Collections::ArrayBase;
using NyCore::IO::StreamReader;
using NyCore::IO::StreamWriter;

namespace {

// Room for at least one unit, flushing when the buffer is full.
inline void makeRoom(StreamWriter* writer)
{
    if (writer->position >= writer->end)
        writer->operations->block(writer);
}

void putUnits(StreamWriter* writer, char16_t const* run, int n)
{
    while (n > 0) {
        makeRoom(writer);
        int room = static_cast<int>(writer->end - writer->position);
        int part = n < room ? n : room;
        std::memcpy(writer->position, run, static_cast<std::size_t>(part) * sizeof(char16_t));
        writer->position += part;
        run += part;
        n -= part;
    }
}

// True when a unit is ready at reader->position, refilling when needed.
// After the end of input no refill is tried again.
bool hasInput(StreamReader* reader)
{
    if (reader->position < reader->end)
        return true;
    if (reader->flags & NyCore::IO::StreamEndOfInput)
        return false;
    reader->operations->block(reader);
    return reader->position < reader->end;
}

bool isWhiteSpace(char16_t unit)
{
    return unit == u' ' || unit == u'\t' || unit == u'\r' || unit == u'\n';
}

bool isInSet(char16_t unit, String const* set)
{
    if (!set)
        return isWhiteSpace(unit);
    for (int i = 0; i < set->count; ++i) {
        if (set->units()[i] == unit)
            return true;
    }
    return false;
}

// Appends every unit up to the first one that `stop` accepts (left unread).
template <typename Stop>
void collect(StreamReader* reader, NyCore::Text::TextBuffer& text, Stop stop)
{
    while (hasInput(reader)) {
        char16_t* start = reader->position;
        char16_t* p = start;
        while (p < reader->end && !stop(*p))
            ++p;
        for (char16_t* q = start; q < p; ++q)
            text.append(*q);
        reader->position = p;
        if (p < reader->end)
            return;
    }
}

}

void writer_put_char(StreamWriter* writer, char16_t unit)
{
    makeRoom(writer);
    *writer->position++ = unit;
}

void writer_put_charr(StreamWriter* writer, char16_t const* run, int max)
{
    if (!run)
        return;
    int n = 0;
    while (n < max && run[n] != 0)
        ++n;
    putUnits(writer, run, n);
}

void writer_put_string(StreamWriter* writer, String const* text)
{
    // By count: a String may hold 0 units, which put_charr would stop at.
    if (text)
        putUnits(writer, text->units(), text->count);
}

void writer_put_cstr(StreamWriter* writer, char16_t const* run)
{
    writer_put_charr(writer, run, 0x7FFFFFFF);
}

void writer_put_line(StreamWriter* writer, String const* text)
{
    writer_put_string(writer, text);
    writer_put_char(writer, u'\n');
}

void writer_fill(StreamWriter* writer, char16_t unit, int count)
{
    for (int i = 0; i < count; ++i)
        writer_put_char(writer, unit);
}

void writer_put_array(StreamWriter* writer, ArrayBase const* array, int first, int count)
{
    if (!array || first < 0 || first >= array->length)
        ERROR_THROW(ERROR_BADINDEX, "io/stream.cpp");
    if (count > array->length - first)
        count = array->length - first;
    if (count <= 0)
        return;
    auto const* bytes = static_cast<unsigned char const*>(array->data()) + static_cast<long>(first) * array->elementSize;
    long length = static_cast<long>(count) * array->elementSize;
    for (long i = 0; i < length; i += 2) {
        unsigned high = i + 1 < length ? bytes[i + 1] : 0;
        writer_put_char(writer, static_cast<char16_t>(bytes[i] | high << 8));
    }
}

void writer_printv(StreamWriter* writer, char16_t const* fmt, va_list args)
{
    va_list measure;
    va_copy(measure, args);
    int room = cstr_print_len(fmt, measure);
    va_end(measure);
    char16_t local[256];
    char16_t* text = room <= 256 ? local : static_cast<char16_t*>(memory_alloc(static_cast<std::size_t>(room) * sizeof(char16_t)));
    int n = cstr_printv(text, fmt, args);
    // By count: printed text may hold 0 units (a %c of 0).
    putUnits(writer, text, n);
    if (text != local)
        memory_free(text);
}

void writer_print(StreamWriter* writer, char16_t const* fmt, ...)
{
    va_list args;
    va_start(args, fmt);
    writer_printv(writer, fmt, args);
    va_end(args);
}

void writer_flush(StreamWriter* writer)
{
    writer->operations->block(writer);
}

bool writer_has_failed(StreamWriter const* writer)
{
    return (writer->flags & NyCore::IO::StreamFailed) != 0;
}

char16_t reader_get_char(StreamReader* reader)
{
    if (!hasInput(reader))
        return 0;
    return *reader->position++;
}

bool reader_is_eof(StreamReader const* reader)
{
    return (reader->flags & NyCore::IO::StreamEndOfInput) != 0;
}

bool reader_has_failed(StreamReader const* reader)
{
    return (reader->flags & NyCore::IO::StreamFailed) != 0;
}

ArrayBase* reader_buffer(StreamReader* reader)
{
    NyCore::Text::TextBuffer text;
    collect(reader, text, [](char16_t) { return false; });
    int n = text.get$length();
    if (n == 0)
        return nullptr;
    ArrayBase* bytes = array_alloc(1, 2 * n);
    std::memcpy(bytes->data(), text.units(), static_cast<std::size_t>(n) * sizeof(char16_t));
    return bytes;
}

int reader_ignore(StreamReader* reader, String const* set)
{
    int skipped = 0;
    while (hasInput(reader) && isInSet(*reader->position, set)) {
        ++reader->position;
        ++skipped;
    }
    return skipped;
}

String* reader_get_str(StreamReader* reader, String const* delimiters)
{
    if (!hasInput(reader))
        return nullptr;
    NyCore::Text::TextBuffer text;
    collect(reader, text, [delimiters](char16_t unit) { return isInSet(unit, delimiters); });
    return text.abandonString();
}

int reader_get_charr(StreamReader* reader, char16_t* run, int max)
{
    int n = 0;
    while (n < max && hasInput(reader)) {
        int available = static_cast<int>(reader->end - reader->position);
        int part = max - n < available ? max - n : available;
        std::memcpy(run + n, reader->position, static_cast<std::size_t>(part) * sizeof(char16_t));
        reader->position += part;
        n += part;
    }
    return n;
}

ArrayBase* reader_get_array(StreamReader* reader, int count)
{
    if (count <= 0 || !hasInput(reader))
        return nullptr;
    int units = (count + 1) / 2;
    auto* run = static_cast<char16_t*>(memory_alloc(static_cast<std::size_t>(units) * sizeof(char16_t)));
    int got = reader_get_charr(reader, run, units);
    int length = 2 * got < count ? 2 * got : count;
    ArrayBase* bytes = array_alloc(1, length);
    std::memcpy(bytes->data(), run, static_cast<std::size_t>(length));
    memory_free(run);
    return bytes;
}

int reader_scanv(StreamReader* reader, char16_t const* fmt, va_list args)
{
    if (!hasInput(reader))
        return -1;
    NyCore::Text::TextBuffer line;
    collect(reader, line, [](char16_t unit) { return unit == u'\n'; });
    reader_get_char(reader);
    int n = line.get$length();
    if (n > 0 && line.units()[n - 1] == u'\r')
        line.resize(n - 1);
    return cstr_scanv(line.units(), fmt, args);
}

int reader_scan(StreamReader* reader, char16_t const* fmt, ...)
{
    va_list args;
    va_start(args, fmt);
    int result = reader_scanv(reader, fmt, args);
    va_end(args);
    return result;
}
