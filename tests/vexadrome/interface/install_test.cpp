// `make install` as a packager runs it: the build installed into a temporary
// DESTDIR under another prefix, the tree checked file by file against the
// build, and the installed program run from elsewhere on its own libraries.
#include <gtest/gtest.h>

#include <dirent.h>
#include <limits.h>
#include <stdlib.h>
#include <sys/stat.h>

#include <algorithm>
#include <set>
#include <sstream>
#include <string>
#include <vector>

#include "tests/support/child_process.h"
#include "tests/support/temp_folder.h"
#include "tests/support/xvfb.h"

using TestSupport::readBytes;
using TestSupport::runProgram;
using TestSupport::TempFolder;

namespace {

// The prefix the tree is installed under, inside the DESTDIR: on purpose not
// the one the build was configured for, so that the program must find its
// libraries and data from where it lies.
std::string const Prefix = "/opt/vexadrome-test";

std::set<std::string> filesIn(std::string const& folder)
{
    std::set<std::string> names;
    if (DIR* dir = ::opendir(folder.c_str())) {
        while (dirent* entry = ::readdir(dir)) {
            std::string name = entry->d_name;
            struct stat info;
            if (::stat((folder + "/" + name).c_str(), &info) == 0 && S_ISREG(info.st_mode))
                names.insert(name);
        }
        ::closedir(dir);
    }
    return names;
}

std::string realPath(std::string const& path)
{
    char resolved[PATH_MAX];
    return ::realpath(path.c_str(), resolved) ? std::string(resolved) : "<" + path + " missing>";
}

// The value of `key` in a desktop entry's lines ("<missing>" when absent).
std::string entryValue(std::string const& entry, std::string const& key)
{
    std::istringstream lines(entry);
    for (std::string line; std::getline(lines, line);)
        if (line.rfind(key + "=", 0) == 0)
            return line.substr(key.size() + 1);
    return "<missing>";
}

class InstallTest : public ::testing::Test {
protected:
    static void SetUpTestSuite()
    {
        destdir = new TempFolder();
        install = runProgram({"/usr/bin/env", "DESTDIR=" + destdir->path, CMAKE_COMMAND, "--install", BUILD_DIR,
                              "--prefix", Prefix},
                             "");
    }
    static void TearDownTestSuite() { delete destdir; }

    void SetUp() override { ASSERT_EQ(install.exitCode, 0) << install.output << install.errors; }

    static std::string at(std::string const& path) { return destdir->path + Prefix + "/" + path; }

    static TempFolder* destdir;
    static TestSupport::ChildResult install;
};

TempFolder* InstallTest::destdir;
TestSupport::ChildResult InstallTest::install;

TEST_F(InstallTest, TreeHoldsTheProgramItsLibrariesAndData)
{
    struct stat info;
    ASSERT_EQ(::stat(at(INSTALL_BINDIR "/vexadrome").c_str(), &info), 0);
    EXPECT_TRUE(info.st_mode & S_IXUSR);
    EXPECT_EQ(filesIn(at(INSTALL_LIBDIR)), (std::set<std::string>{"libnycore.so", "libnytoolkit.so", "libnyuser.so"}));

    // Every data folder holds what the build has, byte for byte.
    struct Folder {
        std::string from;
        std::string to;
    } const folders[] = {
        {SOURCE_DIR "/forms", "forms"},
        {BUILD_DIR "/bin/icons", "icons"},
        {SOURCE_DIR "/samples", "samples"},
        {SOURCE_DIR "/help", "help"},
    };
    for (Folder const& folder : folders) {
        std::set<std::string> built = filesIn(folder.from);
        EXPECT_EQ(filesIn(at(INSTALL_DATADIR "/" + folder.to)), built) << folder.to;
        for (std::string const& name : built)
            EXPECT_EQ(readBytes(at(INSTALL_DATADIR "/" + folder.to + "/" + name)), readBytes(folder.from + "/" + name))
                << folder.to << "/" << name;
    }
    EXPECT_FALSE(filesIn(at(INSTALL_DATADIR "/forms")).empty());
    EXPECT_FALSE(filesIn(at(INSTALL_DATADIR "/icons")).empty());
}

TEST_F(InstallTest, DesktopEntryOpensGraphsAndScriptsWithItsIcon)
{
    std::string entry = readBytes(at(SHARE_DIR "/applications/vexadrome.desktop"));
    EXPECT_EQ(entry.substr(0, 16), "[Desktop Entry]\n");
    EXPECT_EQ(entryValue(entry, "Type"), "Application");
    EXPECT_EQ(entryValue(entry, "Exec"), "vexadrome %F");
    EXPECT_EQ(entryValue(entry, "Icon"), "vexadrome");
    EXPECT_EQ(entryValue(entry, "Terminal"), "false");

    // Each type the entry opens is declared with its file pattern, which the
    // desktop's own tool reads back from the installed package file.
    std::string packages = at(SHARE_DIR "/mime");
    auto built = runProgram({"/usr/bin/env", "update-mime-database", packages}, "");
    ASSERT_EQ(built.exitCode, 0) << built.output << built.errors;
    std::string globs = readBytes(packages + "/globs");
    std::istringstream types(entryValue(entry, "MimeType"));
    std::vector<std::string> opened;
    for (std::string type; std::getline(types, type, ';');)
        opened.push_back(type);
    EXPECT_EQ(opened, (std::vector<std::string>{"application/x-vexadrome-graph", "application/x-vexadrome-script"}));
    for (auto [type, pattern] : {std::pair{opened[0], "*.graph"}, std::pair{opened[1], "*.vexscr"}})
        EXPECT_NE(globs.find(type + ":" + pattern + "\n"), std::string::npos) << type << " in\n" << globs;

    // The icon is a 48 × 48 PNG with an alpha channel (IHDR: width, height,
    // bit depth 8, colour type 6).
    std::string icon = readBytes(at(SHARE_DIR "/icons/hicolor/48x48/apps/vexadrome.png"));
    ASSERT_GE(icon.size(), 26u);
    EXPECT_EQ(icon.substr(0, 8), "\x89PNG\r\n\x1a\n");
    EXPECT_EQ(icon.substr(12, 14), std::string("IHDR\0\0\0\x30\0\0\0\x30\x08\x06", 14));
}

TEST_F(InstallTest, InstalledProgramRunsFromAnotherDirectoryOnItsOwnLibraries)
{
    std::string program = at(INSTALL_BINDIR "/vexadrome");
    TempFolder elsewhere;
    auto run = runProgram({"/bin/sh", "-c", "cd \"$1\" && exec env -u LD_LIBRARY_PATH \"$2\" --calc", "sh",
                           elsewhere.path, program},
                          "a = 2\na * 3\n");
    EXPECT_EQ(run.exitCode, 0) << run.errors;
    EXPECT_EQ(run.output, "math> a = 2\nmath> a * 3\nansw> 6\nmath> \n") << run.errors;

    // Each of the program's own libraries is the installed one.
    auto linked = runProgram({"/usr/bin/env", "-u", "LD_LIBRARY_PATH", "ldd", program}, "");
    for (std::string library : {"libnycore.so", "libnytoolkit.so", "libnyuser.so"}) {
        std::size_t line = linked.output.find(library + " => ");
        ASSERT_NE(line, std::string::npos) << library << " in\n" << linked.output;
        std::size_t start = line + library.size() + 4;
        std::string path = linked.output.substr(start, linked.output.find(" (", start) - start);
        EXPECT_EQ(realPath(path), realPath(at(INSTALL_LIBDIR "/" + library))) << linked.output;
    }
}

TEST_F(InstallTest, InstalledWorkbenchFindsItsDataFromAnotherDirectory)
{
    // The toolkit's icons and the sample come from the installed data folder
    // only: a missing icon file would end the program with a fatal report.
    ASSERT_TRUE(TestSupport::ensureDisplay());
    TempFolder elsewhere;
    auto run = runProgram({"/bin/sh", "-c", "cd \"$1\" && exec env -u LD_LIBRARY_PATH \"$2\" --screenshot shot.png \"$3\"",
                           "sh", elsewhere.path, at(INSTALL_BINDIR "/vexadrome"),
                           at(INSTALL_DATADIR "/samples/vector_basics.vexscr")},
                          "");
    EXPECT_EQ(run.exitCode, 0) << run.output << run.errors;
    EXPECT_EQ(readBytes(elsewhere.at("shot.png")).substr(0, 8), "\x89PNG\r\n\x1a\n") << run.output << run.errors;
}

}
