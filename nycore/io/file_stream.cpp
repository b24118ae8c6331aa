// File writers and readers. The buffer is converted by the stream's encoding
// on its way to and from the file; every platform failure is kept in the
// stream and reported by fwriter_close rather than lost.
#include "nycore/io/file_stream.h"

#include <cerrno>
#include <sys/stat.h>
#include <unistd.h>

#include "nycore/io/file.h"
#include "nycore/io/file_save.h"
#include "nycore/io/filename.h"
#include "nycore/io/text_encoding.h"
#include "nycore/system/error.h"
#include "nycore/system/memory.h"
#include "nycore/text/string_functions.h"

using NyCore::String;
using NyCore::IO::Stream;
using NyCore::IO::StreamReader;
using NyCore::IO::StreamWriter;
using NyCore::Text::TextEncoding;

namespace {

constexpr int BufferBytes = 2 * NyCore::IO::StreamBufferUnits;

bool fail(String** reason, int error)
{
    if (reason)
        *reason = file_error_text(error);
    return false;
}

bool failWith(String** reason, char const* text)
{
    if (reason)
        *reason = string_from_ascii(text);
    return false;
}

void noteFailure(Stream* stream, int error)
{
    if (stream->error == 0)
        stream->error = error ? error : EIO;
    stream->flags |= NyCore::IO::StreamFailed;
}

// Reads until count bytes or the end of the file; -1 on failure.
long readFully(int fd, unsigned char* bytes, long count)
{
    long done = 0;
    while (done < count) {
        ssize_t n = ::read(fd, bytes + done, static_cast<std::size_t>(count - done));
        if (n < 0 && errno == EINTR)
            continue;
        if (n < 0)
            return -1;
        if (n == 0)
            break;
        done += n;
    }
    return done;
}

// Offsets count bytes in encodings 0 and 1 and pairs of bytes in 2 and 3,
// from the start of the text behind any byte-order mark.
int characterSize(int encoding)
{
    return encoding >= TextEncoding::Utf16LittleEndian ? 2 : 1;
}

int markSize(int encoding)
{
    return encoding >= TextEncoding::Utf16LittleEndian ? 2 : 0;
}

std::int64_t seekFile(Stream* stream, std::int64_t offset, int origin, std::int64_t current)
{
    if (origin < 0 || origin > 2)
        ERROR_THROW(ERROR_BADPARA, "io/file_stream.cpp");
    std::int64_t bytes = offset * characterSize(stream->encoding);
    off_t result;
    if (origin == 2)
        result = ::lseek(stream->handle, static_cast<off_t>(bytes), SEEK_END);
    else
        result = ::lseek(stream->handle, static_cast<off_t>((origin == 0 ? markSize(stream->encoding) : current) + bytes), SEEK_SET);
    if (result < 0)
        return -1;
    return (result - markSize(stream->encoding)) / characterSize(stream->encoding);
}

// A closed stream: using it is a programming error; closing it again does nothing.
bool closedClose(Stream*, String**)
{
    return true;
}

std::int64_t closedSeek(Stream*, std::int64_t, int)
{
    return -1;
}

void closedBlock(Stream*)
{
    ERROR_THROW(ERROR_BADPARA, "io/file_stream.cpp");
}

NyCore::IO::StreamOperations const closedOperations = {nullptr, closedClose, {}, closedSeek, closedBlock};

void setClosed(Stream* stream)
{
    stream->operations = &closedOperations;
    stream->position = stream->end = stream->buffer;
    stream->flags = 0;
    stream->handle = NyCore::IO::NoFile;
    stream->error = 0;
    stream->sink = nullptr;
}

void writerBlock(Stream* stream)
{
    int count = static_cast<int>(stream->position - stream->buffer);
    if (count == 0)
        return;
    stream->position = stream->buffer;
    // After a failure later blocks are dropped: a file with a hole in it is worse than a short one.
    if (stream->error != 0)
        return;
    unsigned char bytes[BufferBytes];
    int length = encoding_encode(stream->buffer, count, stream->encoding, bytes);
    if (!file_write_all(stream->handle, bytes, static_cast<std::size_t>(length)))
        noteFailure(stream, errno);
}

bool writerClose(Stream* stream, String** reason)
{
    writerBlock(stream);
    int error = stream->error;
    struct stat info;
    if (error == 0 && ::fstat(stream->handle, &info) == 0 && S_ISREG(info.st_mode)) {
        off_t end = ::lseek(stream->handle, 0, SEEK_CUR);
        if (end < 0 || ::ftruncate(stream->handle, end) != 0)
            error = errno;
    }
    if (::close(stream->handle) != 0 && error == 0)
        error = errno;
    setClosed(stream);
    return error == 0 || fail(reason, error);
}

std::int64_t writerSeek(Stream* stream, std::int64_t offset, int origin)
{
    writerBlock(stream);
    off_t current = ::lseek(stream->handle, 0, SEEK_CUR);
    return seekFile(stream, offset, origin, current);
}

void readerBlock(Stream* stream)
{
    stream->position = stream->end = stream->buffer;
    long want = stream->encoding == TextEncoding::EightBit ? NyCore::IO::StreamBufferUnits : BufferBytes;
    unsigned char bytes[BufferBytes];
    long got = readFully(stream->handle, bytes, want);
    if (got < 0)
        noteFailure(stream, errno);
    if (got <= 0) {
        stream->flags |= NyCore::IO::StreamEndOfInput;
        stream->buffer[0] = 0;
        return;
    }
    bool partial = false;
    stream->end += encoding_decode(bytes, static_cast<int>(got), stream->encoding, stream->buffer, &partial);
    if (partial)
        noteFailure(stream, EILSEQ);
}

bool readerClose(Stream* stream, String** reason)
{
    int error = ::close(stream->handle) == 0 ? 0 : errno;
    setClosed(stream);
    return error == 0 || fail(reason, error);
}

std::int64_t readerSeek(Stream* stream, std::int64_t offset, int origin)
{
    off_t fileOffset = ::lseek(stream->handle, 0, SEEK_CUR);
    // What the buffer still holds has been read from the file but not by the caller.
    int unitBytes = stream->encoding == TextEncoding::EightBit ? 1 : 2;
    std::int64_t current = fileOffset - static_cast<std::int64_t>(stream->end - stream->position) * unitBytes;
    std::int64_t result = seekFile(stream, offset, origin, current);
    stream->position = stream->end = stream->buffer;
    stream->flags &= ~NyCore::IO::StreamEndOfInput;
    return result;
}

// What a document file must be: a regular file within the size limit.
bool isDocumentSize(struct stat const& info, String** reason)
{
    if (!S_ISREG(info.st_mode))
        return failWith(reason, "Not a regular file");
    if (info.st_size > NyCore::IO::DocumentSizeLimit)
        return failWith(reason, "Larger than 64 MB");
    return true;
}

bool isDocumentFile(String const* path, String** reason)
{
    char* name = filename_to_platform(path);
    if (!name)
        return fail(reason, EINVAL);
    struct stat info;
    int error = ::stat(name, &info) == 0 ? 0 : errno;
    memory_free(name);
    return error != 0 ? fail(reason, error) : isDocumentSize(info, reason);
}

NyCore::IO::StreamOperations const writerOperations = {nullptr, writerClose, {}, writerSeek, writerBlock};
NyCore::IO::StreamOperations const readerOperations = {nullptr, readerClose, {}, readerSeek, readerBlock};

}

bool fwriter_open(StreamWriter* writer, String const* path, int flags, int encoding, String** reason)
{
    if (encoding < 0 || encoding > TextEncoding::Utf16BigEndian)
        ERROR_THROW(ERROR_BADPARA, "io/file_stream.cpp");
    setClosed(writer);
    int fd = file_open(path, (flags & ~NyCore::IO::FileRead) | NyCore::IO::FileWrite);
    if (fd == NyCore::IO::NoFile)
        return fail(reason, errno);
    // Text appended to a file that already holds some continues it: no second mark.
    unsigned char mark[2];
    int length = ::lseek(fd, 0, SEEK_CUR) == 0 ? encoding_put_mark(encoding, mark) : 0;
    if (length > 0 && !file_write_all(fd, mark, static_cast<std::size_t>(length))) {
        int error = errno;
        ::close(fd);
        return fail(reason, error);
    }
    writer->operations = &writerOperations;
    writer->handle = fd;
    writer->encoding = encoding;
    writer->end = writer->buffer + NyCore::IO::StreamBufferUnits;
    return true;
}

void fwriter_construct(StreamWriter* writer, String const* path, int flags, int encoding)
{
    if (!fwriter_open(writer, path, flags, encoding, nullptr))
        ERROR_THROW(ERROR_IO_BADNAME, "io/file_stream.cpp");
}

bool fwriter_close(StreamWriter* writer, String** reason)
{
    if (writer->flags & NyCore::IO::StreamStandard)
        ERROR_THROW(ERROR_IO_NOCLOSESTD, "io/file_stream.cpp");
    if (!writer->operations)
        return true;
    return writer->operations->close(writer, reason);
}

void fwriter_putblock(StreamWriter* writer)
{
    writer->operations->block(writer);
}

std::int64_t fwriter_seek(StreamWriter* writer, std::int64_t offset, int origin)
{
    return writer->operations->seek(writer, offset, origin);
}

bool fwriter_set_eof(StreamWriter* writer)
{
    writer->operations->block(writer);
    if (writer->handle == NyCore::IO::NoFile || writer->error != 0)
        return false;
    off_t end = ::lseek(writer->handle, 0, SEEK_CUR);
    return end >= 0 && ::ftruncate(writer->handle, end) == 0;
}

bool freader_open(StreamReader* reader, String const* path, int flags, String** reason)
{
    setClosed(reader);
    bool document = flags & NyCore::IO::ReaderDocument;
    // Checked before opening too: opening a FIFO would wait for a writer.
    if (document && !isDocumentFile(path, reason))
        return false;
    int access = (flags & ~(NyCore::IO::FileWrite | NyCore::IO::FileTruncate | NyCore::IO::ReaderRaw | NyCore::IO::ReaderDocument))
        | NyCore::IO::FileRead;
    int fd = file_open(path, access);
    if (fd == NyCore::IO::NoFile)
        return fail(reason, errno);
    reader->operations = &readerOperations;
    reader->handle = fd;
    struct stat opened;
    if (document && (::fstat(fd, &opened) != 0 || !isDocumentSize(opened, reason))) {
        readerClose(reader, nullptr);
        return false;
    }
    if (flags & NyCore::IO::ReaderRaw) {
        reader->encoding = TextEncoding::Native;
        return true;
    }
    unsigned char head[2];
    long got = readFully(fd, head, 2);
    if (got < 0) {
        int error = errno;
        readerClose(reader, nullptr);
        return fail(reason, error);
    }
    if (got == 2 && head[0] == 0xFF && head[1] == 0xFE) {
        reader->encoding = TextEncoding::Utf16LittleEndian;
    } else if (got == 2 && head[0] == 0xFE && head[1] == 0xFF) {
        reader->encoding = TextEncoding::Utf16BigEndian;
    } else {
        // The bytes read ahead are the first text; keeping them serves files that cannot rewind.
        reader->encoding = TextEncoding::EightBit;
        for (long i = 0; i < got; ++i)
            *reader->end++ = head[i];
    }
    return true;
}

void freader_construct(StreamReader* reader, String const* path, int flags)
{
    if (!freader_open(reader, path, flags, nullptr))
        ERROR_THROW(ERROR_IO_BADNAME, "io/file_stream.cpp");
}

void freader_getblock(StreamReader* reader)
{
    reader->operations->block(reader);
}

std::int64_t freader_seek(StreamReader* reader, std::int64_t offset, int origin)
{
    return reader->operations->seek(reader, offset, origin);
}

void freader_close(StreamReader* reader)
{
    if (reader->flags & NyCore::IO::StreamStandard)
        ERROR_THROW(ERROR_IO_NOCLOSESTD, "io/file_stream.cpp");
    if (reader->operations)
        reader->operations->close(reader, nullptr);
}
