// Memory streams. The writer moves each full buffer into a growable text; the
// reader points its buffer window straight at its own copy of the text, so a
// single refill ends the input.
#include "nycore/io/memory_stream.h"

#include "nycore/io/file.h"
#include "nycore/io/text_encoding.h"
#include "nycore/text/string_functions.h"
#include "nycore/text/text_buffer.h"

using NyCore::String;
using NyCore::IO::Stream;
using NyCore::IO::StreamReader;
using NyCore::IO::StreamWriter;

namespace {

class MemoryText : public NyCore::Text::TextBuffer {
public:
    void appendUnits(char16_t const* units, int n) { insertUnits(get$length(), units, n); }
};

MemoryText* textOf(Stream* stream)
{
    return static_cast<MemoryText*>(stream->sink);
}

void writerBlock(Stream* stream)
{
    textOf(stream)->appendUnits(stream->buffer, static_cast<int>(stream->position - stream->buffer));
    stream->position = stream->buffer;
}

bool writerClose(Stream* stream, String**)
{
    delete textOf(stream);
    stream->sink = nullptr;
    stream->position = stream->end = stream->buffer;
    return true;
}

std::int64_t noSeek(Stream*, std::int64_t, int)
{
    return -1;
}

void readerBlock(Stream* stream)
{
    stream->position = stream->end = stream->buffer;
    stream->buffer[0] = 0;
    stream->flags |= NyCore::IO::StreamEndOfInput;
}

bool readerClose(Stream* stream, String**)
{
    string_free(static_cast<String*>(stream->sink));
    stream->sink = nullptr;
    readerBlock(stream);
    return true;
}

NyCore::IO::StreamOperations const writerOperations = {nullptr, writerClose, {}, noSeek, writerBlock};
NyCore::IO::StreamOperations const readerOperations = {nullptr, readerClose, {}, noSeek, readerBlock};

void setUp(Stream* stream, NyCore::IO::StreamOperations const* operations)
{
    stream->operations = operations;
    stream->flags = 0;
    stream->handle = NyCore::IO::NoFile;
    stream->encoding = NyCore::Text::TextEncoding::Native;
    stream->error = 0;
}

}

void memwriter_construct(StreamWriter* writer)
{
    setUp(writer, &writerOperations);
    writer->sink = new MemoryText();
    writer->position = writer->buffer;
    writer->end = writer->buffer + NyCore::IO::StreamBufferUnits;
}

String* memwriter_get_text(StreamWriter* writer)
{
    writerBlock(writer);
    return string_copy(textOf(writer)->get$text());
}

void memwriter_destroy(StreamWriter* writer)
{
    writerClose(writer, nullptr);
}

void memreader_construct(StreamReader* reader, String const* text)
{
    setUp(reader, &readerOperations);
    String* own = string_copy(text ? text : NyCore::Text::EmptyString);
    reader->sink = own;
    reader->position = own->units();
    reader->end = own->units() + own->count;
}

void memreader_destroy(StreamReader* reader)
{
    readerClose(reader, nullptr);
}
