// The standard streams. The writers turn their UTF-16 buffer into UTF-8 for
// descriptors 1 and 2; the reader turns UTF-8 from descriptor 0 into units,
// carrying a sequence that a read cuts in two over to the next refill.
#include "nycore/io/standard_streams.h"

#include <cerrno>
#include <unistd.h>

#include "nycore/io/file_save.h"
#include "nycore/io/text_encoding.h"
#include "nycore/system/error.h"

using NyCore::String;
using NyCore::IO::Stream;
using NyCore::IO::StreamReader;
using NyCore::IO::StreamWriter;

namespace {

constexpr char32_t Replacement = 0xFFFD;
constexpr int Units = NyCore::IO::StreamBufferUnits;

struct StandardReader : StreamReader {
    // The start of a UTF-8 sequence that the last read cut off.
    unsigned char pending[4];
    int pendingCount;
};

StreamWriter standardOutput;
StreamWriter standardError;
StandardReader standardInput;
bool bound = false;

bool isHighSurrogate(char16_t unit)
{
    return unit >= 0xD800 && unit <= 0xDBFF;
}

bool isLowSurrogate(char16_t unit)
{
    return unit >= 0xDC00 && unit <= 0xDFFF;
}

// Encodes units as UTF-8 (lone surrogates as U+FFFD); returns the byte count.
int encodeUtf8(char16_t const* units, int count, unsigned char* out)
{
    unsigned char* start = out;
    for (int i = 0; i < count; ++i) {
        char32_t point = units[i];
        if (isHighSurrogate(units[i]) && i + 1 < count && isLowSurrogate(units[i + 1])) {
            point = 0x10000 + ((point - 0xD800) << 10) + (units[i + 1] - 0xDC00);
            ++i;
        } else if (isHighSurrogate(units[i]) || isLowSurrogate(units[i])) {
            point = Replacement;
        }
        if (point < 0x80) {
            *out++ = static_cast<unsigned char>(point);
        } else if (point < 0x800) {
            *out++ = static_cast<unsigned char>(0xC0 | point >> 6);
            *out++ = static_cast<unsigned char>(0x80 | (point & 0x3F));
        } else if (point < 0x10000) {
            *out++ = static_cast<unsigned char>(0xE0 | point >> 12);
            *out++ = static_cast<unsigned char>(0x80 | (point >> 6 & 0x3F));
            *out++ = static_cast<unsigned char>(0x80 | (point & 0x3F));
        } else {
            *out++ = static_cast<unsigned char>(0xF0 | point >> 18);
            *out++ = static_cast<unsigned char>(0x80 | (point >> 12 & 0x3F));
            *out++ = static_cast<unsigned char>(0x80 | (point >> 6 & 0x3F));
            *out++ = static_cast<unsigned char>(0x80 | (point & 0x3F));
        }
    }
    return static_cast<int>(out - start);
}

// Decodes the sequence at bytes[0]; returns the bytes it takes, or 0 when the
// end of the bytes cuts a sequence that is valid so far.
int decodeUtf8(unsigned char const* bytes, int count, char32_t& point)
{
    unsigned lead = bytes[0];
    int trailCount;
    unsigned low = 0x80, high = 0xBF;
    if (lead < 0x80) {
        point = lead;
        return 1;
    } else if (lead >= 0xC2 && lead <= 0xDF) {
        trailCount = 1;
        point = lead & 0x1F;
    } else if (lead >= 0xE0 && lead <= 0xEF) {
        trailCount = 2;
        point = lead & 0x0F;
        low = lead == 0xE0 ? 0xA0 : low;
        high = lead == 0xED ? 0x9F : high;
    } else if (lead >= 0xF0 && lead <= 0xF4) {
        trailCount = 3;
        point = lead & 0x07;
        low = lead == 0xF0 ? 0x90 : low;
        high = lead == 0xF4 ? 0x8F : high;
    } else {
        point = Replacement;
        return 1;
    }
    for (int k = 1; k <= trailCount; ++k) {
        if (k >= count)
            return 0;
        if (bytes[k] < low || bytes[k] > high) {
            point = Replacement;
            return k;
        }
        point = point << 6 | (bytes[k] & 0x3F);
        low = 0x80;
        high = 0xBF;
    }
    return trailCount + 1;
}

void noteFailure(Stream* stream, int error)
{
    if (stream->error == 0)
        stream->error = error ? error : EIO;
    stream->flags |= NyCore::IO::StreamFailed;
}

void writerBlock(Stream* stream)
{
    int count = static_cast<int>(stream->position - stream->buffer);
    if (count == 0)
        return;
    // A full buffer that ends inside a surrogate pair keeps that half for the next block.
    int keep = count == Units && isHighSurrogate(stream->buffer[count - 1]) ? 1 : 0;
    unsigned char bytes[3 * Units] = {};
    int length = encodeUtf8(stream->buffer, count - keep, bytes);
    if (!file_write_all(stream->handle, bytes, static_cast<std::size_t>(length)))
        noteFailure(stream, errno);
    if (keep)
        stream->buffer[0] = stream->buffer[count - 1];
    stream->position = stream->buffer + keep;
}

// One read; it may yield no unit at all when it ends inside a sequence.
void readOnce(Stream* stream)
{
    auto* reader = static_cast<StandardReader*>(stream);
    unsigned char bytes[Units];
    int count = reader->pendingCount;
    for (int i = 0; i < count; ++i)
        bytes[i] = reader->pending[i];
    reader->pendingCount = 0;
    ssize_t got;
    do
        got = ::read(stream->handle, bytes + count, static_cast<std::size_t>(Units - count));
    while (got < 0 && errno == EINTR);
    if (got < 0 && stream->error == 0) {
        stream->error = errno;
        stream->flags |= NyCore::IO::StreamFailed;
    }
    bool atEnd = got <= 0;
    count += atEnd ? 0 : static_cast<int>(got);
    stream->position = stream->end = stream->buffer;
    int i = 0;
    while (i < count) {
        char32_t point;
        int used = decodeUtf8(bytes + i, count - i, point);
        if (used == 0 && !atEnd) {
            for (int k = i; k < count; ++k)
                reader->pending[reader->pendingCount++] = bytes[k];
            break;
        }
        if (used == 0) {
            point = Replacement;
            used = count - i;
        }
        i += used;
        if (point >= 0x10000) {
            *stream->end++ = static_cast<char16_t>(0xD800 + ((point - 0x10000) >> 10));
            *stream->end++ = static_cast<char16_t>(0xDC00 + ((point - 0x10000) & 0x3FF));
        } else {
            *stream->end++ = static_cast<char16_t>(point);
        }
    }
    if (stream->end == stream->buffer && atEnd) {
        stream->flags |= NyCore::IO::StreamEndOfInput;
        stream->buffer[0] = 0;
    }
}

void readerBlock(Stream* stream)
{
    do
        readOnce(stream);
    while (stream->end == stream->buffer && !(stream->flags & NyCore::IO::StreamEndOfInput));
}

bool standardClose(Stream*, String**)
{
    ERROR_THROW(ERROR_IO_NOCLOSESTD, "io/standard_streams.cpp");
}

std::int64_t noSeek(Stream*, std::int64_t, int)
{
    return -1;
}

NyCore::IO::StreamOperations const writerOperations = {nullptr, standardClose, {}, noSeek, writerBlock};
NyCore::IO::StreamOperations const readerOperations = {nullptr, standardClose, {}, noSeek, readerBlock};

void setUp(Stream* stream, NyCore::IO::StreamOperations const* operations, int handle, bool writer)
{
    stream->operations = operations;
    stream->position = stream->buffer;
    stream->end = writer ? stream->buffer + Units : stream->buffer;
    stream->flags = NyCore::IO::StreamStandard;
    stream->handle = handle;
    stream->encoding = NyCore::Text::TextEncoding::Utf8;
    stream->error = 0;
    stream->sink = nullptr;
}

void bindOnce()
{
    if (!bound)
        stream_standard_bind();
}

}

StreamWriter* writer_standard_output()
{
    bindOnce();
    return &standardOutput;
}

StreamWriter* writer_standard_error()
{
    bindOnce();
    return &standardError;
}

StreamReader* reader_standard_input()
{
    bindOnce();
    return &standardInput;
}

void stream_standard_bind()
{
    // A second start-up of the runtime must not drop what the first one left unwritten.
    if (bound)
        stream_standard_flush();
    setUp(&standardOutput, &writerOperations, 1, true);
    setUp(&standardError, &writerOperations, 2, true);
    setUp(&standardInput, &readerOperations, 0, false);
    standardInput.pendingCount = 0;
    bound = true;
}

void stream_standard_flush()
{
    if (!bound)
        return;
    writerBlock(&standardOutput);
    writerBlock(&standardError);
}

void stream_standard_note_failure(int fd, int error)
{
    if (fd == 1 || fd == 2)
        noteFailure(fd == 1 ? writer_standard_output() : writer_standard_error(), error);
}
