// Directories on the platform: the current directory, mkdir/rmdir, and where
// temporary and data files go.
#include "nycore/io/directory.h"

#include <cerrno>
#include <climits>
#include <cstdlib>
#include <pwd.h>
#include <sys/stat.h>
#include <unistd.h>

#include <string>

#include "nycore/io/filename.h"
#include "nycore/system/error.h"
#include "nycore/system/memory.h"
#include "nycore/text/string_functions.h"

using NyCore::String;

namespace {

// Creates path and every missing folder above it.
bool createAll(std::string const& path)
{
    for (std::size_t slash = path.find('/', 1); ; slash = path.find('/', slash + 1)) {
        std::string part = path.substr(0, slash);
        if (!part.empty() && ::mkdir(part.c_str(), 0777) != 0 && errno != EEXIST)
            return false;
        if (slash == std::string::npos)
            break;
    }
    struct stat info;
    return ::stat(path.c_str(), &info) == 0 && S_ISDIR(info.st_mode);
}

std::string userDataFolder()
{
    char const* data = std::getenv("XDG_DATA_HOME");
    if (data && data[0] == '/')
        return data;
    char const* home = std::getenv("HOME");
    if (!home || home[0] != '/') {
        passwd const* entry = ::getpwuid(::getuid());
        home = entry ? entry->pw_dir : nullptr;
    }
    return std::string(home ? home : "") + "/.local/share";
}

}

bool directory_set_cur(String const* path)
{
    char* name = filename_to_platform(path);
    bool done = name && ::chdir(name) == 0;
    memory_free(name);
    return done;
}

String* directory_get_cur()
{
    char* name = ::getcwd(nullptr, 0);
    if (!name)
        return nullptr;
    String* folder = filename_from_platform(name);
    std::free(name);
    String* result = filename_merge(folder, nullptr);
    string_free(folder);
    return result;
}

bool directory_create(String const* path)
{
    char* name = filename_to_platform(path);
    bool done = name && ::mkdir(name, 0777) == 0;
    memory_free(name);
    return done;
}

bool directory_remove(String const* path)
{
    char* name = filename_to_platform(path);
    bool done = name && ::rmdir(name) == 0;
    memory_free(name);
    return done;
}

String* directory_temp()
{
    char const* folder = std::getenv("TMPDIR");
    if (!folder || folder[0] != '/')
        folder = "/tmp";
    String* name = filename_from_platform(folder);
    String* result = filename_merge(name, nullptr);
    string_free(name);
    return result;
}

String* directory_user(int which)
{
    std::string folder;
    if (which == 0)
        folder = userDataFolder();
    else if (which == 1)
        folder = "/usr/local/share";
    else
        ERROR_THROW(ERROR_BADPARA, "io/directory.cpp");
    if (folder.empty() || folder[0] != '/' || !createAll(folder))
        return nullptr;
    return filename_from_platform(folder.c_str());
}
