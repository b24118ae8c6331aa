// Help pages and samples looked up folder by folder; a sample's real path
// (links and ".." resolved) must lie under the real path of its folder.
#include "vexadrome/interface/help_paths.h"

#include <filesystem>
#include <string>
#include <system_error>
#include <vector>

#include "nycore/io/data_folder.h"
#include "nycore/system/memory.h"
#include "nycore/system/owned.h"
#include "nycore/text/string_functions.h"
#include "nycore/text/utf8_text.h"

namespace Vexadrome::Interface {

namespace {

namespace fs = std::filesystem;
using OwnedString = NyCore::Owned<NyCore::String, string_free>;

// The start-up directory, then the data folders after the current directory
// (which is the start-up directory unless the program moved).
std::vector<std::string> searchFolders(NyCore::String const* baseDir)
{
    std::vector<std::string> folders{string_to_std_utf8(baseDir)};
    for (int i = 1;; ++i) {
        OwnedString folder(data_folder(i));
        if (!folder)
            break;
        folders.push_back(string_to_std_utf8(folder.get()));
    }
    return folders;
}

bool isFile(std::string const& path)
{
    std::error_code error;
    return fs::is_regular_file(path, error);
}

// Whether `path` (existing) lies inside `folder` once both are resolved.
bool isInside(std::string const& path, std::string const& folder)
{
    std::error_code error;
    fs::path const real = fs::canonical(path, error);
    if (error)
        return false;
    fs::path const root = fs::canonical(folder.empty() ? "." : folder, error);
    if (error)
        return false;
    auto const [rootEnd, unused] = std::mismatch(root.begin(), root.end(), real.begin(), real.end());
    return rootEnd == root.end();
}

NyCore::String* fromUtf8(std::string const& s)
{
    return string_from_utf8(s.data(), static_cast<int>(s.size()));
}

}

NyCore::String* findHelpPage(NyCore::String const* baseDir, NyCore::String const* name)
{
    std::string const page = string_to_std_utf8(name);
    for (std::string const& folder : searchFolders(baseDir))
        if (isFile(folder + page))
            return fromUtf8(folder + page);
    return string_append(baseDir, name);
}

NyCore::String* findSampleFile(NyCore::String const* baseDir, NyCore::String const* name)
{
    std::string const sample = string_to_std_utf8(name);
    if (sample.empty() || fs::path(sample).is_absolute() || sample[0] == '\\')
        return nullptr;
    for (std::string const& folder : searchFolders(baseDir)) {
        std::string const path = folder + sample;
        if (isFile(path) && isInside(path, folder))
            return fromUtf8(path);
    }
    return nullptr;
}

}
