// Data files looked up in the current directory, then beside the program.
#include "nycore/io/data_folder.h"

#include <sys/stat.h>
#include <unistd.h>

#include <climits>
#include <string>

#include "nycore/io/filename.h"
#include "nycore/system/memory.h"
#include "nycore/system/owned.h"
#include "nycore/text/string_functions.h"

namespace {

bool isFile(NyCore::String const* path)
{
    char* platform = filename_to_platform(path);
    if (!platform)
        return false;
    struct stat info;
    bool found = ::stat(platform, &info) == 0 && !S_ISDIR(info.st_mode);
    memory_free(platform);
    return found;
}

}

NyCore::String* data_program_folder()
{
    char path[PATH_MAX];
    ssize_t n = ::readlink("/proc/self/exe", path, sizeof path - 1);
    if (n <= 0)
        return string_from_cstr(u"");
    std::string folder(path, static_cast<std::size_t>(n));
    folder.resize(folder.find_last_of('/') + 1);
    return filename_from_platform(folder.c_str());
}

NyCore::String* data_file_find(NyCore::String const* relativeName)
{
    if (relativeName == nullptr || filename_is_abs(relativeName) || isFile(relativeName))
        return string_copy(relativeName);
    NyCore::Owned<NyCore::String, string_free> folder(data_program_folder());
    NyCore::Owned<NyCore::String, string_free> beside(filename_merge(folder.get(), relativeName));
    if (folder->count > 0 && isFile(beside.get()))
        return beside.release();
    return string_copy(relativeName);
}
