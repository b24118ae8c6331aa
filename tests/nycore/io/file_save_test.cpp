// Atomic saving: the new bytes, kept permissions, the chosen encoding, and
// failures that leave the old file and no temporary behind.
#include <gtest/gtest.h>

#include <csignal>
#include <cstdio>
#include <dirent.h>
#include <sys/resource.h>
#include <sys/stat.h>

#include <set>
#include <string>

#include "nycore/io/file_save.h"
#include "nycore/io/memory_stream.h"
#include "nycore/system/runtime.h"
#include "nycore/text/string_functions.h"
#include "tests/support/temp_folder.h"
#include "tests/support/child_process.h"
#include "tests/support/strings.h"

using namespace NyCore;
using TestSupport::makeString;
using TestSupport::readBytes;
using TestSupport::TempFolder;

namespace {

std::set<std::string> namesIn(std::string const& folder)
{
    std::set<std::string> names;
    if (DIR* dir = ::opendir(folder.c_str())) {
        while (dirent* entry = ::readdir(dir)) {
            std::string name = entry->d_name;
            if (name != "." && name != "..")
                names.insert(name);
        }
        ::closedir(dir);
    }
    return names;
}

unsigned modeOf(std::string const& path)
{
    struct stat info;
    return ::stat(path.c_str(), &info) == 0 ? info.st_mode & 07777 : 0;
}

}

TEST(FileSave, WritesTheTextInTheGivenOrChosenEncoding)
{
    struct Case {
        std::u16string text;
        int encoding;
        std::string bytes;
    } const cases[] = {
        {u"<graph/>\n", -1, "<graph/>\n"},
        {u"caf\u00e9", -1, "caf\xe9"},
        {u"x\u2264y", -1, std::string("\xff\xfex\0\x64\x22y\0", 8)},
        {u"x\u2264y", 1, "xdy"},
        {u"AB", 3, std::string("\xfe\xff\0A\0B", 6)},
        {u"", -1, ""},
    };
    TempFolder folder;
    for (auto const& c : cases) {
        SCOPED_TRACE(TestSupport::toUtf8(c.text) + " in " + std::to_string(c.encoding));
        String* path = folder.string("doc.graph");
        String* text = makeString(c.text);
        String* reason = nullptr;
        EXPECT_TRUE(file_save_atomic(path, text, c.encoding, &reason)) << TestSupport::toUtf8(reason);
        EXPECT_EQ(readBytes(folder.at("doc.graph")), c.bytes);
        EXPECT_EQ(namesIn(folder.path), std::set<std::string>{"doc.graph"});
        string_free(text);
        string_free(path);
    }
}

TEST(FileSave, MemoryWriterThenSaveKeepsPermissionsAndLinks)
{
    TempFolder folder;
    TestSupport::writeBytes(folder.at("real.vexscr"), "old");
    ::chmod(folder.at("real.vexscr").c_str(), 0640);
    ::symlink("real.vexscr", folder.at("link.vexscr").c_str());

    IO::StreamWriter writer;
    memwriter_construct(&writer);
    writer_put_line(&writer, u"a=1;"_str);
    String* text = memwriter_get_text(&writer);
    memwriter_destroy(&writer);
    String* link = folder.string("link.vexscr");
    ASSERT_TRUE(file_save_atomic(link, text, -1, nullptr));
    EXPECT_EQ(readBytes(folder.at("real.vexscr")), "a=1;\n");
    EXPECT_EQ(modeOf(folder.at("real.vexscr")), 0640u);
    struct stat info;
    ASSERT_EQ(::lstat(folder.at("link.vexscr").c_str(), &info), 0);
    EXPECT_TRUE(S_ISLNK(info.st_mode)) << "the link still points at the file";

    String* fresh = folder.string("new.txt");
    mode_t mask = ::umask(022);
    ASSERT_TRUE(file_save_atomic(fresh, text, -1, nullptr));
    ::umask(mask);
    EXPECT_EQ(modeOf(folder.at("new.txt")), 0644u);
    EXPECT_EQ(namesIn(folder.path), (std::set<std::string>{"real.vexscr", "link.vexscr", "new.txt"}));
    string_free(fresh);
    string_free(link);
    string_free(text);
}

TEST(FileSave, FailureLeavesTheOldStateAndNoTemporary)
{
    struct Case {
        char const* target;
        char const* reason;
    } const cases[] = {
        {"folder", "Is a directory"},
        {"missing/doc.graph", "No such file or directory"},
        {"plain/doc.graph", "Not a directory"},
    };
    TempFolder folder;
    ::mkdir(folder.at("folder").c_str(), 0755);
    TestSupport::writeBytes(folder.at("folder/inside"), "kept");
    TestSupport::writeBytes(folder.at("plain"), "old");
    for (auto const& c : cases) {
        SCOPED_TRACE(c.target);
        String* path = folder.string(c.target);
        String* reason = nullptr;
        EXPECT_FALSE(file_save_atomic(path, u"new"_str, -1, &reason));
        EXPECT_EQ(TestSupport::toUtf8(reason), c.reason);
        EXPECT_EQ(namesIn(folder.path), (std::set<std::string>{"folder", "plain"}));
        EXPECT_EQ(namesIn(folder.at("folder")), std::set<std::string>{"inside"});
        EXPECT_EQ(readBytes(folder.at("folder/inside")), "kept");
        EXPECT_EQ(readBytes(folder.at("plain")), "old");
        string_free(reason);
        string_free(path);
    }

    // A write that fails half-way, after the temporary exists: files may grow to 4 bytes only.
    String* plain = folder.string("plain");
    auto written = TestSupport::runInChild([&] {
        ::signal(SIGXFSZ, SIG_IGN);
        rlimit limit{4, 4};
        ::setrlimit(RLIMIT_FSIZE, &limit);
        String* why = nullptr;
        bool saved = file_save_atomic(plain, u"longer than four bytes"_str, -1, &why);
        std::printf("%d %s", saved, TestSupport::toUtf8(why).c_str());
    });
    EXPECT_EQ(written.output, "0 File too large");
    EXPECT_EQ(readBytes(folder.at("plain")), "old");
    EXPECT_EQ(namesIn(folder.path), (std::set<std::string>{"folder", "plain"}));
    string_free(plain);

    String* reason = nullptr;
    String* cut = String::create(u"a\0b", 0, 3);
    EXPECT_FALSE(file_save_atomic(cut, u"x"_str, -1, &reason));
    EXPECT_EQ(TestSupport::toUtf8(reason), "Invalid argument");
    string_free(reason);
    string_free(cut);

    auto result = TestSupport::runInChild([&] { file_save_atomic(u"/tmp/unused"_str, u"x"_str, 4, nullptr); });
    EXPECT_EQ(result.exitCode, System::FatalExitCode);
    EXPECT_EQ(result.output.rfind("Error.InvalidParamiter: io/file_save.cpp(", 0), 0u) << result.output;
}
