// Directory listings: the entries of one folder whose names match a pattern
// ("forms/*.form"), with their attributes, sizes and times. The entries "."
// and ".." are never listed.
#pragma once

#include <cstdint>

#include "nycore/text/string.h"

namespace NyCore::IO {

// Set in the attributes once the listing is exhausted.
constexpr std::uint32_t FileListExhausted = 0x80000000;
constexpr int FileListNameLimit = 260;

struct FileList {
    // The open folder (a DIR*), null once the listing is destroyed.
    void* handle;
    std::uint32_t attributes;
    // The size's low 32 bits.
    std::uint32_t size;
    std::int64_t lastAccess;
    std::int64_t lastWrite;
    std::int64_t created;
    // The entry's name, with '/' appended for a directory; zero-terminated.
    char16_t name[FileListNameLimit + 2];
    // The platform's folder (with a trailing '/') and name pattern of the listing.
    char* folder;
    char* pattern;
};

}

// Starts a listing of the names that match pattern (the part after the last
// separator; "*", "?" and "[...]" as in shell patterns, "*.*" matches every
// name) in the folder before it (the current folder when there is none).
// False when the folder cannot be read or no name at all matches.
bool filelist_open(NyCore::IO::FileList* list, NyCore::String const* pattern);
// As filelist_open, but failure is fatal (Error.IO.InvalidFileName).
void filelist_construct(NyCore::IO::FileList* list, NyCore::String const* pattern);
// Advances to the next entry; false (and the exhausted bit set) when none is left.
bool filelist_move_next(NyCore::IO::FileList* list);
bool filelist_is_valid(NyCore::IO::FileList const* list);
NyCore::String* filelist_get_name(NyCore::IO::FileList const* list);
std::uint32_t filelist_get_attr(NyCore::IO::FileList const* list);
std::uint32_t filelist_get_size(NyCore::IO::FileList const* list);
// which 0: last access, 1: last write, 2: creation.
std::int64_t filelist_get_time(NyCore::IO::FileList const* list, int which);
void filelist_destroy(NyCore::IO::FileList* list);
