// Files on the platform: open(2) with the flag set mapped onto access,
// creation and truncation, and whole-file operations that retry interrupted
// and partial transfers.
#include "nycore/io/file.h"

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <ctime>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include "nycore/io/file_save.h"
#include "nycore/io/filename.h"
#include "nycore/system/console.h"
#include "nycore/system/error.h"
#include "nycore/system/memory.h"
#include "nycore/text/string_functions.h"

using NyCore::String;
using NyCore::IO::File;
using NyCore::IO::NoFile;

namespace {

int failWith(int error)
{
    errno = error;
    return NoFile;
}

// Runs f with the platform form of path; false (errno EINVAL) for a name the platform cannot take.
template <typename F>
bool withPlatformPath(String const* path, F f)
{
    char* name = filename_to_platform(path);
    if (!name) {
        errno = EINVAL;
        return false;
    }
    bool done = f(name);
    int saved = errno;
    memory_free(name);
    errno = saved;
    return done;
}

bool isLeapYear(int year)
{
    return year % 4 == 0;
}

bool copyFrom(int fd, void* context)
{
    int source = *static_cast<int*>(context);
    unsigned char bytes[65536];
    for (;;) {
        ssize_t n = ::read(source, bytes, sizeof bytes);
        if (n < 0 && errno == EINTR)
            continue;
        if (n < 0)
            return false;
        if (n == 0)
            return true;
        if (!file_write_all(fd, bytes, static_cast<std::size_t>(n)))
            return false;
    }
}

}

int file_open(String const* path, int flags)
{
    bool read = flags & NyCore::IO::FileRead;
    bool write = flags & NyCore::IO::FileWrite;
    // Cutting a file needs write access, as on every platform we know.
    if ((flags & NyCore::IO::FileTruncate) && !write)
        return failWith(EINVAL);
    int mode = (read && write ? O_RDWR : write ? O_WRONLY : O_RDONLY) | O_CLOEXEC;
    if (flags & NyCore::IO::FileCreate)
        mode |= O_CREAT;
    if (flags & NyCore::IO::FileTruncate)
        mode |= O_TRUNC;
    int fd = NoFile;
    if (!withPlatformPath(path, [&](char const* name) { return (fd = ::open(name, mode, 0666)) >= 0; }))
        return NoFile;
    struct stat info;
    int error = 0;
    if (::fstat(fd, &info) != 0)
        error = errno;
    else if (S_ISDIR(info.st_mode))
        error = EISDIR;
    else if ((flags & NyCore::IO::FileAppend) && ::lseek(fd, 0, SEEK_END) < 0)
        error = errno;
    if (error != 0) {
        ::close(fd);
        return failWith(error);
    }
    return fd;
}

void file_construct(File* file, String const* path, int flags)
{
    file->handle = file_open(path, flags);
    if (file->handle == NoFile) {
        print(u"name = %s\n", path ? path->units() : u"");
        ERROR_THROW(ERROR_IO_BADNAME, "io/file.cpp");
    }
}

void file_destroy(File* file)
{
    file_close(file);
}

bool file_close(File* file)
{
    if (!file || file->handle == NoFile)
        return false;
    int result = ::close(file->handle);
    file->handle = NoFile;
    return result == 0;
}

bool file_is_valid(File const* file)
{
    return file && file->handle != NoFile;
}

std::uint32_t file_read(File* file, void* buffer, std::uint32_t count)
{
    if (!file_is_valid(file))
        return NyCore::IO::FileFailure;
    auto* bytes = static_cast<unsigned char*>(buffer);
    std::uint32_t done = 0;
    while (done < count) {
        ssize_t n = ::read(file->handle, bytes + done, count - done);
        if (n < 0 && errno == EINTR)
            continue;
        if (n < 0)
            return NyCore::IO::FileFailure;
        if (n == 0)
            break;
        done += static_cast<std::uint32_t>(n);
    }
    return done;
}

std::uint32_t file_write(File* file, void const* buffer, std::uint32_t count)
{
    if (!file_is_valid(file) || !file_write_all(file->handle, buffer, count))
        return NyCore::IO::FileFailure;
    return count;
}

std::int64_t file_seek(File* file, std::int64_t offset, int origin)
{
    if (origin < 0 || origin > 2)
        ERROR_THROW(ERROR_BADPARA, "io/file.cpp");
    if (!file_is_valid(file))
        return -1;
    static int const whence[] = {SEEK_SET, SEEK_CUR, SEEK_END};
    off_t position = ::lseek(file->handle, static_cast<off_t>(offset), whence[origin]);
    return position < 0 ? -1 : static_cast<std::int64_t>(position);
}

std::uint32_t file_get_size(File* file)
{
    struct stat info;
    if (!file_is_valid(file) || ::fstat(file->handle, &info) != 0)
        return NyCore::IO::FileFailure;
    return static_cast<std::uint32_t>(info.st_size);
}

bool file_get_info(File* file, NyCore::IO::FileInfo* info)
{
    struct statx extended;
    if (!file_is_valid(file) || ::statx(file->handle, "", AT_EMPTY_PATH, STATX_BASIC_STATS | STATX_BTIME, &extended) != 0)
        return false;
    info->attributes = file_attributes_from_platform(extended.stx_mode, nullptr);
    info->size = static_cast<std::uint32_t>(extended.stx_size);
    info->lastAccess = file_time_from_platform(extended.stx_atime.tv_sec);
    info->lastWrite = file_time_from_platform(extended.stx_mtime.tv_sec);
    // Without a recorded birth time the last write is the earliest time known.
    bool born = extended.stx_mask & STATX_BTIME;
    info->created = file_time_from_platform(born ? extended.stx_btime.tv_sec : extended.stx_mtime.tv_sec);
    return true;
}

bool file_truncate(File* file)
{
    if (!file_is_valid(file))
        return false;
    off_t position = ::lseek(file->handle, 0, SEEK_CUR);
    return position >= 0 && ::ftruncate(file->handle, position) == 0;
}

bool file_delete(String const* path)
{
    return withPlatformPath(path, [](char const* name) { return ::unlink(name) == 0; });
}

bool file_move(String const* from, String const* to)
{
    char* target = filename_to_platform(to);
    bool done = target && withPlatformPath(from, [target](char const* source) {
        if (::renameat2(AT_FDCWD, source, AT_FDCWD, target, RENAME_NOREPLACE) == 0)
            return true;
        // Folders on file systems without that rename take a hard link instead.
        if (errno == EINVAL && ::link(source, target) == 0)
            return ::unlink(source) == 0;
        return false;
    });
    memory_free(target);
    if (!done && errno == EXDEV && file_copy(from, to, false))
        done = file_delete(from);
    return done;
}

bool file_copy(String const* from, String const* to, bool overwrite)
{
    int source = file_open(from, NyCore::IO::FileRead);
    if (source == NoFile)
        return false;
    char* target = filename_to_platform(to);
    struct stat info;
    bool done = target && ::fstat(source, &info) == 0
        && file_replace(target, copyFrom, &source, overwrite, static_cast<int>(info.st_mode & 07777), nullptr);
    memory_free(target);
    ::close(source);
    return done;
}

bool file_set_mode(String const* path, int mode)
{
    return withPlatformPath(path, [mode](char const* name) {
        struct stat info;
        if (::stat(name, &info) != 0)
            return false;
        mode_t bits = info.st_mode & 07777;
        bits = (mode & 2) ? (bits | S_IWUSR) : (bits & ~(S_IWUSR | S_IWGRP | S_IWOTH));
        return ::chmod(name, bits) == 0;
    });
}

int file_get_mode(String const* path, int mode)
{
    struct stat info;
    if (!withPlatformPath(path, [&info](char const* name) { return ::stat(name, &info) == 0; }))
        return 0;
    bool readOnly = (info.st_mode & S_IWUSR) == 0;
    return (mode & 2) && readOnly ? 0 : 1;
}

std::uint32_t file_attributes_from_platform(unsigned mode, char const* name)
{
    std::uint32_t attributes = 0;
    if ((mode & S_IWUSR) == 0)
        attributes |= NyCore::IO::FileAttributeReadOnly;
    if (S_ISDIR(mode))
        attributes |= NyCore::IO::FileAttributeDirectory;
    if (name && name[0] == '.')
        attributes |= NyCore::IO::FileAttributeHidden;
    return attributes;
}

std::int64_t file_time_from_platform(std::int64_t seconds)
{
    static int const monthDays[] = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
    std::time_t time = static_cast<std::time_t>(seconds);
    std::tm local;
    if (!::localtime_r(&time, &local))
        return -1;
    int year = local.tm_year + 1900;
    if (year < 1970 || year > 2099)
        return -1;
    std::int64_t days = 365LL * (year - 1970) + (year - 1) / 4 - 1969 / 4;
    for (int month = 0; month < local.tm_mon; ++month)
        days += monthDays[month] + (month == 1 && isLeapYear(year) ? 1 : 0);
    days += local.tm_mday - 1;
    return days * 86400 + local.tm_hour * 3600 + local.tm_min * 60 + local.tm_sec;
}

String* file_error_text(int error)
{
    return string_from_utf8(std::strerror(error), -1);
}
