// Saving: the bytes, kept modes and links, FIFOs and devices, and failures that leave the old file.
#include <gtest/gtest.h>

#include <csignal>
#include <cstdio>
#include <fcntl.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <sys/sysmacros.h>

#include <filesystem>
#include <set>
#include <string>
#include <thread>

#include "nycore/io/file_save.h"
#include "tests/support/child_process.h"
#include "tests/support/strings.h"
#include "tests/support/temp_folder.h"

using namespace NyCore;
using TestSupport::OwnedString;
using TestSupport::readBytes;
using TestSupport::TempFolder;
using TestSupport::writeBytes;

namespace {

std::set<std::string> namesIn(std::string const& folder)
{
    std::set<std::string> names;
    for (auto const& entry : std::filesystem::directory_iterator(folder))
        names.insert(entry.path().filename());
    return names;
}

// The file type and permission bits, without following a link.
unsigned modeOf(std::string const& path)
{
    struct stat info;
    return ::lstat(path.c_str(), &info) == 0 ? info.st_mode : 0;
}

// Saves text and returns "" or the reason of the failure.
std::string save(TempFolder const& folder, std::string const& name, std::u16string const& text, int encoding = -1)
{
    OwnedString path(folder.string(name));
    String* reason = nullptr;
    bool saved = file_save_atomic(path, OwnedString(text), encoding, &reason);
    OwnedString why(reason);
    return saved ? (reason ? "saved with a reason" : "") : why.utf8();
}

}

TEST(FileSave, WritesTheTextInTheGivenOrChosenEncoding)
{
    struct Case { std::u16string text; int encoding; std::string bytes; } const cases[] = {
        {u"caf\u00e9", -1, "caf\xe9"},
        {u"x\u2264y", -1, std::string("\xff\xfex\0\x64\x22y\0", 8)},
        {u"x\u2264y", 1, "xdy"},
        {u"AB", 3, std::string("\xfe\xff\0A\0B", 6)},
        {u"", -1, ""},
    };
    TempFolder folder;
    for (auto const& c : cases) {
        SCOPED_TRACE(TestSupport::toUtf8(c.text) + " in " + std::to_string(c.encoding));
        EXPECT_EQ(save(folder, "doc.graph", c.text, c.encoding), "");
        EXPECT_EQ(readBytes(folder.at("doc.graph")), c.bytes);
        EXPECT_EQ(namesIn(folder.path), std::set<std::string>{"doc.graph"});
    }
    TestSupport::expectFatal([] { file_save_atomic(u"/tmp/unused"_str, u"x"_str, 4, nullptr); }, "Error.InvalidParamiter: io/file_save.cpp(");
}

TEST(FileSave, KeepsModesAndLinksAndWritesIntoFifosAndDevices)
{
    TempFolder folder;
    writeBytes(folder.at("real.vexscr"), "old");
    ::chmod(folder.at("real.vexscr").c_str(), 0640);
    ::symlink("real.vexscr", folder.at("link.vexscr").c_str());
    ::symlink("made.vexscr", folder.at("dangling.vexscr").c_str());
    ASSERT_EQ(::mknod(folder.at("null").c_str(), S_IFCHR | 0666, makedev(1, 3)), 0) << "tests run as root";
    ::symlink(folder.at("null").c_str(), folder.at("device.obj").c_str());
    ASSERT_EQ(::mkfifo(folder.at("fifo").c_str(), 0644), 0);
    ::chmod(folder.at("null").c_str(), 0666);
    ::chmod(folder.at("fifo").c_str(), 0644);
    // Held open, so that the reader sees the end of the text only once the test lets go.
    int holder = ::open(folder.at("fifo").c_str(), O_RDWR);
    std::string fromFifo;
    std::thread reader([&] { fromFifo = readBytes(folder.at("fifo")); });
    struct Case { char const* name; char16_t const* text; } const cases[] = {
        {"link.vexscr", u"a=1;"}, {"dangling.vexscr", u"b=2;"}, {"new.txt", u"new"},
        {"null", u"gone"}, {"device.obj", u"gone"}, {"fifo", u"through the fifo"},
    };
    mode_t mask = ::umask(022);
    for (auto const& c : cases)
        EXPECT_EQ(save(folder, c.name, c.text), "") << c.name;
    ::umask(mask);
    ::close(holder);
    reader.join();
    EXPECT_EQ(fromFifo, "through the fifo");
    EXPECT_EQ(readBytes(folder.at("real.vexscr")), "a=1;");
    EXPECT_EQ(readBytes(folder.at("made.vexscr")), "b=2;");
    struct Kept { char const* name; unsigned mode; } const kept[] = {
        {"real.vexscr", S_IFREG | 0640}, {"made.vexscr", S_IFREG | 0644}, {"new.txt", S_IFREG | 0644},
        {"null", S_IFCHR | 0666}, {"fifo", S_IFIFO | 0644},
    };
    for (auto const& k : kept)
        EXPECT_EQ(modeOf(folder.at(k.name)), k.mode) << k.name;
    for (char const* link : {"link.vexscr", "dangling.vexscr", "device.obj"})
        EXPECT_TRUE(S_ISLNK(modeOf(folder.at(link)))) << link << " is still a link";
    EXPECT_EQ(namesIn(folder.path), (std::set<std::string>{"real.vexscr", "link.vexscr", "made.vexscr", "dangling.vexscr",
                                                            "new.txt", "null", "device.obj", "fifo"}));
}

TEST(FileSave, FailureLeavesTheOldFileAndNoTemporary)
{
    TempFolder folder;
    ::mkdir(folder.at("folder").c_str(), 0755);
    writeBytes(folder.at("folder/inside"), "kept");
    writeBytes(folder.at("plain"), "old");
    writeBytes(folder.at("locked"), "old");
    ::chmod(folder.at("locked").c_str(), 0444);
    ::symlink("loop", folder.at("loop").c_str());
    std::set<std::string> const names{"folder", "plain", "locked", "loop"};
    auto expectUntouched = [&] {
        EXPECT_EQ(namesIn(folder.path), names);
        EXPECT_EQ(readBytes(folder.at("folder/inside")), "kept");
        EXPECT_EQ(readBytes(folder.at("plain")), "old");
        EXPECT_EQ(readBytes(folder.at("locked")), "old");
    };
    struct Case { char const* target; char const* reason; } const cases[] = {
        {"folder", "Is a directory"},
        {"missing/doc.graph", "No such file or directory"},
        {"plain/doc.graph", "Not a directory"},
        {"locked", "File is read-only"},
        {"loop", "Too many levels of symbolic links"},
    };
    for (auto const& c : cases) {
        SCOPED_TRACE(c.target);
        EXPECT_EQ(save(folder, c.target, u"new"), c.reason);
        expectUntouched();
    }
    String* reason = nullptr;
    EXPECT_FALSE(file_save_atomic(OwnedString(String::create(u"a\0b", 0, 3)), u"x"_str, -1, &reason));
    EXPECT_EQ(OwnedString(reason).utf8(), "Invalid argument");

    // A write that fails half-way, after the temporary exists: files may grow to 4 bytes only.
    auto written = TestSupport::runInChild([&] {
        ::signal(SIGXFSZ, SIG_IGN);
        rlimit limit{4, 4};
        ::setrlimit(RLIMIT_FSIZE, &limit);
        std::printf("%s", save(folder, "plain", u"longer than four bytes").c_str());
    });
    EXPECT_EQ(written.output, "File too large");
    expectUntouched();

    // A rename that fails at the end: while the new content is written, the target becomes a folder with a file in it.
    static std::string target;
    target = folder.at("plain");
    auto makeTargetAFolder = [](int fd, void*) {
        ::unlink(target.c_str());
        ::mkdir(target.c_str(), 0755);
        writeBytes(target + "/inside", "kept");
        return file_write_all(fd, "new", 3);
    };
    EXPECT_FALSE(file_replace(target.c_str(), makeTargetAFolder, nullptr, true, -1, &reason));
    EXPECT_EQ(OwnedString(reason).utf8(), "Is a directory");
    EXPECT_EQ(namesIn(folder.path), names) << "no temporary is left";
    EXPECT_EQ(readBytes(folder.at("plain/inside")), "kept");
}
