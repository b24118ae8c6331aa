// A fresh temporary folder per test, removed with everything in it afterwards,
// and helpers that read and write files as raw bytes.
#pragma once

#include <ftw.h>
#include <stdlib.h>
#include <sys/stat.h>
#include <unistd.h>

#include <fstream>
#include <iterator>
#include <string>

#include "nycore/text/string.h"
#include "tests/support/strings.h"

namespace TestSupport {

class TempFolder {
public:
    TempFolder()
    {
        char name[] = "/tmp/vexadrome_test_XXXXXX";
        path = ::mkdtemp(name) ? name : "";
    }
    ~TempFolder()
    {
        ::nftw(path.c_str(), removeEntry, 16, FTW_DEPTH | FTW_PHYS);
    }
    TempFolder(TempFolder const&) = delete;
    TempFolder& operator=(TempFolder const&) = delete;

    std::string at(std::string const& name) const { return path + "/" + name; }
    // The same as a new String (string_free it).
    NyCore::String* string(std::string const& name) const { return makeString(toU16(at(name))); }

    std::string path;

private:
    static int removeEntry(char const* name, struct stat const*, int, struct FTW*)
    {
        // A test may leave a folder read-only; it must still go.
        ::chmod(name, 0700);
        ::remove(name);
        return 0;
    }

    static std::u16string toU16(std::string const& text) { return std::u16string(text.begin(), text.end()); }
};

inline std::string readBytes(std::string const& path)
{
    std::ifstream in(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

inline void writeBytes(std::string const& path, std::string const& bytes)
{
    std::ofstream(path, std::ios::binary) << bytes;
}

inline bool exists(std::string const& path)
{
    struct stat info;
    return ::stat(path.c_str(), &info) == 0;
}

}
