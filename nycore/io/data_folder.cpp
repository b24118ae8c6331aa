// Data files looked up in the current directory, beside the program, then in
// the installed data folder (share/vexadrome of the install prefix).
#include "nycore/io/data_folder.h"

#include <sys/stat.h>
#include <unistd.h>

#include <climits>
#include <string>
#include <vector>

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

std::string programFolder()
{
    char path[PATH_MAX];
    ssize_t n = ::readlink("/proc/self/exe", path, sizeof path - 1);
    if (n <= 0)
        return {};
    std::string folder(path, static_cast<std::size_t>(n));
    folder.resize(folder.find_last_of('/') + 1);
    return folder;
}

// `relative` (a folder name such as "../share/vexadrome") under `folder`
// (ending with '/'), its leading ".." steps taken off `folder`.
std::string folderUnder(std::string folder, std::string relative)
{
    while (relative.rfind("../", 0) == 0 && folder.size() > 1) {
        folder.resize(folder.find_last_of('/', folder.size() - 2) + 1);
        relative.erase(0, 3);
    }
    return folder + relative + (relative.empty() ? "" : "/");
}

// The search order as UTF-8 folders. An unknown program folder drops the
// entries found from it rather than searching relative to the root.
std::vector<std::string> searchFolders()
{
    std::vector<std::string> folders{""};
    std::string program = programFolder();
    if (!program.empty()) {
        folders.push_back(program);
#ifdef VEXADROME_DATA_FROM_PROGRAM
        folders.push_back(folderUnder(program, VEXADROME_DATA_FROM_PROGRAM));
#endif
    }
#ifdef VEXADROME_DATA_DIR
    std::string configured = VEXADROME_DATA_DIR "/";
    if (configured != folders.back())
        folders.push_back(configured);
#endif
    return folders;
}

}

NyCore::String* data_program_folder()
{
    return filename_from_platform(programFolder().c_str());
}

NyCore::String* data_folder(int index)
{
    std::vector<std::string> folders = searchFolders();
    if (index < 0 || index >= static_cast<int>(folders.size()))
        return nullptr;
    return filename_from_platform(folders[static_cast<std::size_t>(index)].c_str());
}

NyCore::String* data_file_find(NyCore::String const* relativeName)
{
    if (relativeName == nullptr || relativeName->count == 0 || filename_is_abs(relativeName))
        return string_copy(relativeName);
    // Names written with '\' ("icons\colors.icons") mean the same folders.
    NyCore::Owned<NyCore::String, string_free> name(string_copy(relativeName));
    for (int i = 0; i < name->count; ++i)
        if (name->units()[i] == u'\\')
            name->units()[i] = NyCore::IO::PathSeparator;
    for (std::string const& folder : searchFolders()) {
        NyCore::Owned<NyCore::String, string_free> base(filename_from_platform(folder.c_str()));
        NyCore::Owned<NyCore::String, string_free> path(filename_merge(base.get(), name.get()));
        if (isFile(path.get()))
            return path.release();
    }
    return string_copy(relativeName);
}
