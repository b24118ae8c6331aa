// Files by flag set: opening, whole-file reads and writes, sizes, times and
// attributes, and operations on files by name. Paths are Strings; the
// platform sees them as UTF-8.
#pragma once

#include <cstdint>

#include "nycore/text/string.h"

namespace NyCore::IO {

// file_open flag bits.
constexpr int FileRead = 2;
constexpr int FileWrite = 4;
// Positions at the end after opening; opening fails when that fails.
constexpr int FileAppend = 8;
constexpr int FileTruncate = 16;
constexpr int FileCreate = 32;
// Sharing with other openers: the platform does not restrict it.
constexpr int FileShareRead = 64;
constexpr int FileShareWrite = 128;

// Attribute bits.
constexpr std::uint32_t FileAttributeReadOnly = 2;
constexpr std::uint32_t FileAttributeTemporary = 4;
constexpr std::uint32_t FileAttributeDirectory = 8;
constexpr std::uint32_t FileAttributeHidden = 16;

constexpr int NoFile = -1;
// file_read and file_write on failure.
constexpr std::uint32_t FileFailure = 0xFFFFFFFF;

struct File {
    // The file descriptor, or NoFile.
    int handle;
};

// Times in seconds since 1970-01-01 00:00 local time, or -1 (see
// file_time_from_platform); 64 bits wide, so that 2038 to 2099 fit.
struct FileInfo {
    std::uint32_t attributes;
    std::uint32_t size;
    std::int64_t lastAccess;
    std::int64_t lastWrite;
    std::int64_t created;
};

}

// The handle of the opened file, or NoFile (errno says why). A directory is never opened.
int file_open(NyCore::String const* path, int flags);
// Opens into file; a file that cannot be opened is fatal ("name = " and the
// path, then Error.IO.InvalidFileName).
void file_construct(NyCore::IO::File* file, NyCore::String const* path, int flags);
void file_destroy(NyCore::IO::File* file);
// Closes; false when the platform reports a failure (data may not have been written).
bool file_close(NyCore::IO::File* file);
bool file_is_valid(NyCore::IO::File const* file);

// Bytes moved, or FileFailure.
std::uint32_t file_read(NyCore::IO::File* file, void* buffer, std::uint32_t count);
std::uint32_t file_write(NyCore::IO::File* file, void const* buffer, std::uint32_t count);
// Origin 0 start, 1 current, 2 end (others are fatal, Error.InvalidParamiter).
// Returns the new position, or -1.
std::int64_t file_seek(NyCore::IO::File* file, std::int64_t offset, int origin);
// The size's low 32 bits, or FileFailure.
std::uint32_t file_get_size(NyCore::IO::File* file);
bool file_get_info(NyCore::IO::File* file, NyCore::IO::FileInfo* info);
// Cuts the file at the current position.
bool file_truncate(NyCore::IO::File* file);

bool file_delete(NyCore::String const* path);
// Fails when `to` exists.
bool file_move(NyCore::String const* from, NyCore::String const* to);
// Fails when `to` exists unless overwrite is set; an existing `to` is replaced
// only once the whole copy is written.
bool file_copy(NyCore::String const* from, NyCore::String const* to, bool overwrite);
// Bit 2 of mode set: clears the read-only attribute (owner may write); clear: sets it.
bool file_set_mode(NyCore::String const* path, int mode);
// 0 when the file does not exist, or bit 2 of mode is asked for and the file is read-only; else 1.
int file_get_mode(NyCore::String const* path, int mode);

// The attribute bits of a platform file mode and name (hidden: the name begins with '.').
std::uint32_t file_attributes_from_platform(unsigned mode, char const* name);
// Seconds since 1970 of the local calendar date of a platform time (every year
// divisible by 4 counted as a leap year); -1 outside 1970 to 2099.
std::int64_t file_time_from_platform(std::int64_t seconds);
// A short description of an errno value, as a new String.
NyCore::String* file_error_text(int error);
