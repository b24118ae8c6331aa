// Atomic replacement of files: mkstemp beside the target, checked writes,
// fsync, close, rename. A failure at any step removes the temporary file and
// leaves the target untouched.
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

// A file written through a symbolic link replaces the file it points to, not the link.
std::string resolveTarget(char const* path)
{
    struct stat link;
    if (::lstat(path, &link) == 0 && S_ISLNK(link.st_mode)) {
        if (char* real = ::realpath(path, nullptr)) {
            std::string target(real);
            std::free(real);
            return target;
        }
    }
    return path;
}

bool fail(String** reason, int error)
{
    if (reason)
        *reason = file_error_text(error);
    return false;
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
    std::string target = resolveTarget(path);
    struct stat existing;
    bool exists = ::stat(target.c_str(), &existing) == 0;
    if (exists && S_ISDIR(existing.st_mode))
        return fail(reason, EISDIR);
    if (exists && !overwrite)
        return fail(reason, EEXIST);

    std::size_t slash = target.rfind('/');
    std::string folder = slash == std::string::npos ? std::string() : target.substr(0, slash + 1);
    std::string name = target.substr(folder.size()).substr(0, TemporaryNameLimit);
    std::string temporary = folder + "." + name + ".XXXXXX";
    int fd = ::mkostemp(temporary.data(), O_CLOEXEC);
    if (fd < 0)
        return fail(reason, errno);

    mode_t bits = static_cast<mode_t>(exists ? existing.st_mode & 07777 : mode >= 0 ? mode : defaultFileMode());
    bool written = fill(fd, context) && ::fchmod(fd, bits) == 0 && ::fsync(fd) == 0;
    int error = errno;
    if (written && exists && (existing.st_uid != ::geteuid() || existing.st_gid != ::getegid())) {
        if (::fchown(fd, existing.st_uid, existing.st_gid) != 0) {
            // Only a privileged user may hand a file over; anyone else saves it as its new owner.
        }
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
