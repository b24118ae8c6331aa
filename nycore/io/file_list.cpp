// Listings over opendir/readdir, filtered with fnmatch.
#include "nycore/io/file_list.h"

#include <cerrno>
#include <cstring>
#include <dirent.h>
#include <fcntl.h>
#include <fnmatch.h>
#include <sys/stat.h>

#include "nycore/io/file.h"
#include "nycore/io/filename.h"
#include "nycore/system/error.h"
#include "nycore/system/memory.h"
#include "nycore/text/string_functions.h"

using NyCore::String;
using NyCore::IO::FileList;

namespace {

char* copyText(char const* text, std::size_t length)
{
    auto* copy = static_cast<char*>(memory_alloc(length + 1));
    std::memcpy(copy, text, length);
    return copy;
}

bool isDotEntry(char const* name)
{
    return std::strcmp(name, ".") == 0 || std::strcmp(name, "..") == 0;
}

bool matches(FileList const* list, char const* name)
{
    return ::fnmatch(list->pattern, name, FNM_NOESCAPE) == 0;
}

void describe(FileList* list, dirent const* entry)
{
    auto* folder = static_cast<DIR*>(list->handle);
    struct statx info;
    if (::statx(::dirfd(folder), entry->d_name, 0, STATX_BASIC_STATS | STATX_BTIME, &info) != 0
        && ::statx(::dirfd(folder), entry->d_name, AT_SYMLINK_NOFOLLOW, STATX_BASIC_STATS | STATX_BTIME, &info) != 0)
        std::memset(&info, 0, sizeof info);
    list->attributes = file_attributes_from_platform(info.stx_mode, entry->d_name);
    list->size = static_cast<std::uint32_t>(info.stx_size);
    list->lastAccess = file_time_from_platform(info.stx_atime.tv_sec);
    list->lastWrite = file_time_from_platform(info.stx_mtime.tv_sec);
    bool born = info.stx_mask & STATX_BTIME;
    list->created = file_time_from_platform(born ? info.stx_btime.tv_sec : info.stx_mtime.tv_sec);

    String* name = filename_from_platform(entry->d_name);
    int length = name->count < NyCore::IO::FileListNameLimit ? name->count : NyCore::IO::FileListNameLimit;
    std::memcpy(list->name, name->units(), sizeof(char16_t) * static_cast<std::size_t>(length));
    if (list->attributes & NyCore::IO::FileAttributeDirectory)
        list->name[length++] = NyCore::IO::PathSeparator;
    list->name[length] = 0;
    string_free(name);
}

// Moves to the next matching entry other than "." and ".."; sawMatch tells
// whether any entry matched at all, those two included.
bool advance(FileList* list, bool* sawMatch)
{
    auto* folder = static_cast<DIR*>(list->handle);
    while (folder) {
        errno = 0;
        dirent* entry = ::readdir(folder);
        if (!entry)
            break;
        if (!matches(list, entry->d_name))
            continue;
        if (sawMatch)
            *sawMatch = true;
        if (isDotEntry(entry->d_name))
            continue;
        describe(list, entry);
        return true;
    }
    list->attributes |= NyCore::IO::FileListExhausted;
    list->name[0] = 0;
    return false;
}

}

bool filelist_open(FileList* list, String const* pattern)
{
    std::memset(list, 0, sizeof *list);
    list->attributes = NyCore::IO::FileListExhausted;
    char* text = filename_to_platform(pattern);
    if (!text)
        return false;
    std::size_t length = std::strlen(text);
    std::size_t split = length;
    while (split > 0 && text[split - 1] != '/' && text[split - 1] != '\\')
        --split;
    list->folder = split > 0 ? copyText(text, split) : copyText("./", 2);
    for (char* p = list->folder; *p; ++p) {
        if (*p == '\\')
            *p = '/';
    }
    char const* names = text + split;
    if (names[0] == 0 || std::strcmp(names, "*.*") == 0)
        names = "*";
    list->pattern = copyText(names, std::strlen(names));
    memory_free(text);

    list->handle = ::opendir(list->folder);
    bool sawMatch = false;
    if (list->handle) {
        list->attributes = 0;
        advance(list, &sawMatch);
    }
    if (sawMatch)
        return true;
    filelist_destroy(list);
    return false;
}

void filelist_construct(FileList* list, String const* pattern)
{
    if (!filelist_open(list, pattern))
        ERROR_THROW(ERROR_IO_BADNAME, "io/file_list.cpp");
}

bool filelist_move_next(FileList* list)
{
    if (!filelist_is_valid(list))
        return false;
    return advance(list, nullptr);
}

bool filelist_is_valid(FileList const* list)
{
    return (list->attributes & NyCore::IO::FileListExhausted) == 0;
}

String* filelist_get_name(FileList const* list)
{
    return string_from_cstr(list->name);
}

std::uint32_t filelist_get_attr(FileList const* list)
{
    return list->attributes;
}

std::uint32_t filelist_get_size(FileList const* list)
{
    return list->size;
}

std::int64_t filelist_get_time(FileList const* list, int which)
{
    return which == 0 ? list->lastAccess : which == 1 ? list->lastWrite : list->created;
}

void filelist_destroy(FileList* list)
{
    if (list->handle)
        ::closedir(static_cast<DIR*>(list->handle));
    list->handle = nullptr;
    memory_free(list->folder);
    memory_free(list->pattern);
    list->folder = list->pattern = nullptr;
    list->attributes |= NyCore::IO::FileListExhausted;
}
