// Atomic replacement of files: mkstemp beside the target, checked writes,
// fsync, close, rename. A failure at any step removes the temporary file and
// leaves the target untouched. Targets that are not regular files are
// written into, never replaced.
#include "nycore/io/file_save.h"

#include <cerrno>
#include <climits>
#include <cstdio>
#include <cstdlib>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <string>

#include "nycore/io/file.h"
#include "nycore/io/filename.h"
#include "nycore/io/text_encoding.h"
#include "nycore/system/error.h"
#include "nycore/system/memory.h"
#include "nycore/text/string_functions.h"

using NyCore::String;

namespace {

// Room left for ".", the name and the ".XXXXXX" of mkstemp within a file-name component.
constexpr std::size_t TemporaryNameLimit = 200;

struct SaveText {
    String const* text;
    int encoding;
};

bool fillWithText(int fd, void* context)
{
    auto const* save = static_cast<SaveText const*>(context);
    unsigned char bytes[2 * 4096];
    int length = encoding_put_mark(save->encoding, bytes);
    if (length > 0 && !file_write_all(fd, bytes, static_cast<std::size_t>(length)))
        return false;
    int count = save->text ? save->text->count : 0;
    for (int done = 0; done < count; done += 4096) {
        int part = count - done < 4096 ? count - done : 4096;
        length = encoding_encode(save->text->units() + done, part, save->encoding, bytes);
        if (!file_write_all(fd, bytes, static_cast<std::size_t>(length)))
            return false;
    }
    return true;
}

int defaultFileMode()
{
    mode_t mask = ::umask(0);
    ::umask(mask);
    return 0666 & ~static_cast<int>(mask);
}

// Where a path that names no file yet would create one: a dangling symbolic
// link names the file it points to.
bool followLinks(char const* path, std::string& target)
{
    target = path;
    for (int hops = 0; hops < 40; ++hops) {
        struct stat link;
        if (::lstat(target.c_str(), &link) != 0 || !S_ISLNK(link.st_mode))
            return true;
        char text[PATH_MAX];
        ssize_t length = ::readlink(target.c_str(), text, sizeof text);
        if (length < 0)
            return false;
        if (static_cast<std::size_t>(length) >= sizeof text) {
            errno = ENAMETOOLONG;
            return false;
        }
        std::string pointee(text, static_cast<std::size_t>(length));
        std::size_t slash = target.rfind('/');
        target = pointee[0] == '/' || slash == std::string::npos ? pointee : target.substr(0, slash + 1) + pointee;
    }
    errno = ELOOP;
    return false;
}

// Whether the user may write the file. As root every file could be written,
// so there the mode bits alone say whether the user meant it to be.
bool mayWrite(char const* path, struct stat const& info)
{
    if (::geteuid() == 0)
        return (info.st_mode & 0222) != 0;
    return ::access(path, W_OK) == 0;
}

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

// A FIFO, a device or a terminal cannot be replaced by a file: the content
// goes straight into it.
bool writeInto(char const* path, FileFiller fill, void* context, String** reason)
{
    int fd = ::open(path, O_WRONLY | O_CLOEXEC | O_NOCTTY);
    if (fd < 0)
        return fail(reason, errno);
    bool written = fill(fd, context);
    int error = errno;
    if (::close(fd) != 0 && written) {
        written = false;
        error = errno;
    }
    return written || fail(reason, error);
}

// Makes a finished rename survive a crash; a folder that cannot be synced costs nothing but that.
void syncFolder(std::string const& folder)
{
    int fd = ::open(folder.empty() ? "." : folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (fd >= 0) {
        ::fsync(fd);
        ::close(fd);
    }
}

bool putInPlace(char const* temporary, char const* target, bool overwrite)
{
    if (overwrite)
        return ::rename(temporary, target) == 0;
    if (::renameat2(AT_FDCWD, temporary, AT_FDCWD, target, RENAME_NOREPLACE) == 0)
        return true;
    if (errno != EINVAL || ::link(temporary, target) != 0)
        return false;
    ::unlink(temporary);
    return true;
}

}

bool file_write_all(int fd, void const* bytes, std::size_t count)
{
    auto const* p = static_cast<unsigned char const*>(bytes);
    while (count > 0) {
        ssize_t n = ::write(fd, p, count);
        if (n < 0 && errno == EINTR)
            continue;
        if (n < 0)
            return false;
        if (n == 0) {
            errno = EIO;
            return false;
        }
        p += n;
        count -= static_cast<std::size_t>(n);
    }
    return true;
}

bool file_replace(char const* path, FileFiller fill, void* context, bool overwrite, int mode, String** reason)
{
    if (!path || !path[0])
        return fail(reason, EINVAL);
    struct stat existing;
    bool exists = ::stat(path, &existing) == 0;
    if (exists && S_ISDIR(existing.st_mode))
        return fail(reason, EISDIR);
    if (exists && !overwrite)
        return fail(reason, EEXIST);
    // Opened through the path as given, so that links the kernel resolves
    // itself (/dev/stdout on a pipe) reach what they name.
    if (exists && !S_ISREG(existing.st_mode))
        return writeInto(path, fill, context, reason);
    std::string target;
    if (exists) {
        char* real = ::realpath(path, nullptr);
        if (!real)
            return fail(reason, errno);
        target = real;
        std::free(real);
    } else if (!followLinks(path, target)) {
        return fail(reason, errno);
    }
    if (exists && !mayWrite(target.c_str(), existing))
        return failWith(reason, "File is read-only");

    std::size_t slash = target.rfind('/');
    std::string folder = slash == std::string::npos ? std::string() : target.substr(0, slash + 1);
    std::string name = target.substr(folder.size()).substr(0, TemporaryNameLimit);
    std::string temporary = folder + "." + name + ".XXXXXX";
    int fd = ::mkostemp(temporary.data(), O_CLOEXEC);
    if (fd < 0)
        return fail(reason, errno);

    bool written = fill(fd, context);
    int error = errno;
    if (written && exists && (existing.st_uid != ::geteuid() || existing.st_gid != ::getegid())) {
        if (::fchown(fd, existing.st_uid, existing.st_gid) != 0) {
            // Only a privileged user may hand a file over; anyone else saves it as its new owner.
        }
    }
    // The mode comes after the owner: handing a file over may clear its set-id bits.
    mode_t bits = static_cast<mode_t>(exists ? existing.st_mode & 07777 : mode >= 0 ? mode : defaultFileMode());
    if (written && (::fchmod(fd, bits) != 0 || ::fsync(fd) != 0)) {
        written = false;
        error = errno;
    }
    if (::close(fd) != 0 && written) {
        written = false;
        error = errno;
    }
    if (written && !putInPlace(temporary.c_str(), target.c_str(), overwrite)) {
        written = false;
        error = errno;
    }
    if (!written) {
        ::unlink(temporary.c_str());
        return fail(reason, error);
    }
    syncFolder(folder);
    return true;
}

bool file_save_atomic(String const* path, String const* text, int encoding, String** reason)
{
    if (encoding == -1)
        encoding = encoding_choose(text);
    if (encoding < 0 || encoding > NyCore::Text::TextEncoding::Utf16BigEndian)
        ERROR_THROW(ERROR_BADPARA, "io/file_save.cpp");
    char* target = filename_to_platform(path);
    if (!target)
        return fail(reason, EINVAL);
    SaveText save{text, encoding};
    bool saved = file_replace(target, fillWithText, &save, true, -1, reason);
    memory_free(target);
    return saved;
}
