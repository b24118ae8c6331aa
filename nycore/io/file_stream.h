// File writers and readers: streams whose block operation moves the buffer to
// and from a file in one of the four encodings. The _open forms report failure
// to the caller; the _construct forms stop the program instead.
#pragma once

#include "nycore/io/file.h"
#include "nycore/io/stream.h"

namespace NyCore::IO {

// freader flag: encoding 0 and no byte-order-mark detection.
constexpr int ReaderRaw = 256;
// freader flag for documents the user opens: only a regular file of at most
// DocumentSizeLimit bytes opens; anything else fails with the reason "Not a
// regular file" (a FIFO, a device, a directory) or "Larger than 64 MB".
constexpr int ReaderDocument = 512;
constexpr long long DocumentSizeLimit = 64ll * 1024 * 1024;

}

// Opens path for writing (flags as file_open, read access removed, write access
// added) and writes the byte-order mark of encodings 2 and 3. False, with a new
// String reason when reason is not null, when the file cannot be opened or the
// mark cannot be written; the writer is then closed. Encodings other than 0 to
// 3 are fatal (Error.InvalidParamiter).
bool fwriter_open(NyCore::IO::StreamWriter* writer, NyCore::String const* path, int flags, int encoding, NyCore::String** reason);
// As fwriter_open, but a file that cannot be opened is fatal (Error.IO.InvalidFileName).
void fwriter_construct(NyCore::IO::StreamWriter* writer, NyCore::String const* path, int flags, int encoding);
// Flushes, cuts a regular file at the end of what was written, and closes,
// through the writer's close operation. False, with the reason, when anything
// written did not reach the file. Closing a standard stream is fatal
// (Error.IO.CannotCloseStandardStream).
bool fwriter_close(NyCore::IO::StreamWriter* writer, NyCore::String** reason = nullptr);
void fwriter_putblock(NyCore::IO::StreamWriter* writer);
// Flushes, then moves; offsets count characters (bytes in encodings 0 and 1,
// pairs of bytes in 2 and 3) from the start of the text, after any mark.
// Returns the new position, or -1.
std::int64_t fwriter_seek(NyCore::IO::StreamWriter* writer, std::int64_t offset, int origin);
// Flushes and cuts the file at the current position.
bool fwriter_set_eof(NyCore::IO::StreamWriter* writer);

// Opens path for reading (write access removed, read access added). Without
// ReaderRaw the first two bytes choose the encoding: FF FE 2, FE FF 3, else 1
// (those bytes are then the first text). With ReaderDocument only a regular
// file within DocumentSizeLimit opens. False, with the reason, when the file
// cannot be opened; the reader is then closed.
bool freader_open(NyCore::IO::StreamReader* reader, NyCore::String const* path, int flags, NyCore::String** reason);
// As freader_open, but a file that cannot be opened is fatal (Error.IO.InvalidFileName).
void freader_construct(NyCore::IO::StreamReader* reader, NyCore::String const* path, int flags);
void freader_getblock(NyCore::IO::StreamReader* reader);
// Moves as fwriter_seek does and clears the end flag; returns the new position, or -1.
std::int64_t freader_seek(NyCore::IO::StreamReader* reader, std::int64_t offset, int origin);
// Closing a standard stream is fatal (Error.IO.CannotCloseStandardStream).
void freader_close(NyCore::IO::StreamReader* reader);
