// Files, directories, listings and file names, in a temporary folder.
#include <gtest/gtest.h>

#include <cstdlib>
#include <ctime>
#include <sys/stat.h>

#include <map>
#include <optional>
#include <string>

#include "nycore/io/directory.h"
#include "nycore/io/file.h"
#include "nycore/io/file_list.h"
#include "nycore/io/filename.h"
#include "nycore/system/memory.h"
#include "tests/support/child_process.h"
#include "tests/support/strings.h"
#include "tests/support/temp_folder.h"

using namespace NyCore;
using namespace NyCore::IO;
using TestSupport::OwnedString;
using TestSupport::readBytes;
using TestSupport::TempFolder;
using TestSupport::writeBytes;

namespace {

// Name -> attributes of every entry a listing yields.
std::map<std::string, std::uint32_t> listAll(TempFolder const& folder, std::string const& pattern)
{
    std::map<std::string, std::uint32_t> entries;
    FileList list;
    if (!filelist_open(&list, OwnedString(folder.string(pattern))))
        return {{"<failed>", 0}};
    for (; filelist_is_valid(&list); filelist_move_next(&list))
        entries[OwnedString(filelist_get_name(&list)).utf8()] = filelist_get_attr(&list);
    EXPECT_TRUE(filelist_get_attr(&list) & FileListExhausted);
    EXPECT_FALSE(filelist_move_next(&list));
    filelist_destroy(&list);
    return entries;
}

// Sets an environment variable for the life of the object.
struct ScopedVariable {
    ScopedVariable(char const* name, std::string const& value) : name(name)
    {
        if (char const* was = std::getenv(name))
            old = was;
        ::setenv(name, value.c_str(), 1);
        ::tzset();
    }
    ~ScopedVariable()
    {
        old ? ::setenv(name, old->c_str(), 1) : ::unsetenv(name);
        ::tzset();
    }
    char const* name;
    std::optional<std::string> old;
};

// A name of the table as a new String, or none for "<null>".
OwnedString name(std::u16string const& text)
{
    return text == u"<null>" ? OwnedString(static_cast<String*>(nullptr)) : OwnedString(text);
}

// A helper's new String as text, "<null>" for none.
std::u16string result(String* made)
{
    return OwnedString(made).text();
}

}

TEST(File, OpeningFollowsTheFlags)
{
    struct Case { char const* name; bool exists; int flags; bool opens; std::string afterWritingX; } const cases[] = {
        {"must exist", false, FileWrite, false, ""},
        {"create", false, FileWrite | FileCreate, true, "x"},
        {"overwrite in place", true, FileWrite, true, "xld"},
        {"truncate", true, FileWrite | FileTruncate, true, "x"},
        {"append", true, FileWrite | FileAppend, true, "oldx"},
        {"truncate needs write access", true, FileRead | FileTruncate, false, "old"},
    };
    TempFolder folder;
    OwnedString path(folder.string("f.txt"));
    for (auto const& c : cases) {
        SCOPED_TRACE(c.name);
        ::unlink(folder.at("f.txt").c_str());
        if (c.exists)
            writeBytes(folder.at("f.txt"), "old");
        File file{file_open(path, c.flags)};
        EXPECT_EQ(file_is_valid(&file), c.opens);
        if (file_is_valid(&file)) {
            EXPECT_EQ(file_write(&file, "x", 1), 1u);
            EXPECT_TRUE(file_close(&file));
            EXPECT_FALSE(file_is_valid(&file));
        }
        EXPECT_EQ(readBytes(folder.at("f.txt")), c.afterWritingX);
    }
    EXPECT_EQ(file_open(OwnedString(folder.string("")), FileRead), NoFile) << "a directory is not a file";
}

TEST(File, ReadWriteSeekAndCut)
{
    TempFolder folder;
    OwnedString path(folder.string("data.bin"));
    File file;
    file_construct(&file, path, FileRead | FileWrite | FileCreate);
    EXPECT_EQ(file_write(&file, "0123456789", 10), 10u);
    EXPECT_EQ(file_get_size(&file), 10u);
    EXPECT_EQ(file_seek(&file, 2, 0), 2);
    EXPECT_EQ(file_seek(&file, 3, 1), 5);
    EXPECT_EQ(file_seek(&file, -6, 2), 4);
    char buffer[16] = {};
    EXPECT_EQ(file_read(&file, buffer, 16), 6u);
    EXPECT_STREQ(buffer, "456789");
    EXPECT_EQ(file_read(&file, buffer, 16), 0u);
    file_seek(&file, 3, 0);
    EXPECT_TRUE(file_truncate(&file));
    EXPECT_EQ(file_get_size(&file), 3u);

    FileInfo info{};
    ASSERT_TRUE(file_get_info(&file, &info));
    EXPECT_EQ(info.size, 3u);
    EXPECT_EQ(info.attributes, 0u);
    EXPECT_LE(std::llabs(info.lastWrite - file_time_from_platform(std::time(nullptr))), 5);
    EXPECT_LE(info.created, info.lastWrite);
    file_destroy(&file);
    EXPECT_EQ(file_read(&file, buffer, 1), FileFailure);
    EXPECT_EQ(file_write(&file, buffer, 1), FileFailure);

    TestSupport::expectFatal([&] { file_construct(&file, path, FileRead); file_seek(&file, 0, 3); }, "Error.InvalidParamiter: io/file.cpp(");
    TestSupport::expectFatal([&] { file_construct(&file, OwnedString(folder.string("missing.bin")), FileRead); },
                             "name = " + folder.at("missing.bin") + "\nError.IO.InvalidFileName: io/file.cpp(");
}

TEST(File, OperationsByName)
{
    TempFolder folder;
    writeBytes(folder.at("a"), "alpha");
    writeBytes(folder.at("b"), "beta");
    OwnedString a(folder.string("a")), b(folder.string("b")), c(folder.string("c"));

    EXPECT_FALSE(file_copy(a, b, false)) << "copying onto an existing file needs overwrite";
    EXPECT_EQ(readBytes(folder.at("b")), "beta");
    EXPECT_TRUE(file_copy(a, b, true));
    EXPECT_EQ(readBytes(folder.at("b")), "alpha");
    EXPECT_TRUE(file_copy(a, c, false));
    EXPECT_EQ(readBytes(folder.at("c")), "alpha");

    writeBytes(folder.at("b"), "beta");
    EXPECT_FALSE(file_move(b, c)) << "moving onto an existing file fails";
    EXPECT_EQ(readBytes(folder.at("c")), "alpha");
    EXPECT_TRUE(file_delete(c));
    EXPECT_FALSE(file_delete(c));
    EXPECT_TRUE(file_move(b, c));
    EXPECT_FALSE(TestSupport::exists(folder.at("b")));
    EXPECT_EQ(readBytes(folder.at("c")), "beta");

    EXPECT_EQ(file_get_mode(a, 2), 1);
    EXPECT_TRUE(file_set_mode(a, 0));
    EXPECT_EQ(file_get_mode(a, 2), 0) << "read-only";
    EXPECT_EQ(file_get_mode(a, 0), 1) << "exists";
    struct stat info;
    ::stat(folder.at("a").c_str(), &info);
    EXPECT_EQ(info.st_mode & 0222, 0u);
    EXPECT_FALSE(file_copy(c, a, true)) << "a read-only file is not replaced";
    EXPECT_EQ(readBytes(folder.at("a")), "alpha");
    EXPECT_TRUE(file_set_mode(a, 2));
    EXPECT_EQ(file_get_mode(a, 2), 1);
    EXPECT_EQ(file_get_mode(b, 0), 0) << "gone";
    EXPECT_FALSE(file_set_mode(b, 2));
}

TEST(File, TimesCountLocalCalendarSeconds)
{
    struct Case { char const* zone; std::int64_t platform; std::int64_t expected; } const cases[] = {
        {"UTC", 0, 0}, {"UTC", 86399, 86399},
        {"UTC", 951782400, 951782400},   // 2000-02-29
        {"UTC", 951868800, 951868800},   // 2000-03-01
        {"UTC", 4102444799, 4102444799}, // 2099-12-31 23:59:59
        {"UTC", 4102444800, -1},         // 2100
        {"UTC", -1, -1},                 // 1969
        {"UTC-2", 0, 7200},              // local time
    };
    for (auto const& c : cases) {
        ScopedVariable zone("TZ", c.zone);
        EXPECT_EQ(file_time_from_platform(c.platform), c.expected) << c.zone << " " << c.platform;
    }
}

TEST(Directory, CreateChangeAndRemove)
{
    TempFolder folder;
    OwnedString sub(folder.string("sub"));
    EXPECT_TRUE(directory_create(sub));
    EXPECT_FALSE(directory_create(sub)) << "it exists already";

    OwnedString before(directory_get_cur());
    ASSERT_NE(before.get(), nullptr);
    EXPECT_EQ(before.text().back(), u'/');
    ASSERT_TRUE(directory_set_cur(sub));
    EXPECT_EQ(OwnedString(directory_get_cur()).utf8(), folder.at("sub/"));
    EXPECT_TRUE(directory_set_cur(before));
    EXPECT_FALSE(directory_set_cur(OwnedString(folder.string("none"))));

    EXPECT_TRUE(directory_remove(sub));
    EXPECT_FALSE(TestSupport::exists(folder.at("sub")));
    EXPECT_FALSE(directory_remove(sub));
}

TEST(Directory, TemporaryAndUserFolders)
{
    TempFolder folder;
    {
        ScopedVariable temp("TMPDIR", folder.path);
        EXPECT_EQ(OwnedString(directory_temp()).utf8(), folder.path + "/");
        OwnedString name(filename_temp());
        EXPECT_EQ(name.utf8().rfind(folder.path + "/vex_", 0), 0u) << name.utf8();
        EXPECT_TRUE(TestSupport::exists(name.utf8())) << "the name stays taken";
        EXPECT_NE(OwnedString(filename_temp()).utf8(), name.utf8());
    }
    {
        ScopedVariable temp("TMPDIR", "relative");
        EXPECT_EQ(OwnedString(directory_temp()).utf8(), "/tmp/");
    }
    {
        ScopedVariable data("XDG_DATA_HOME", folder.at("data/deep"));
        EXPECT_EQ(OwnedString(directory_user(0)).utf8(), folder.at("data/deep"));
        EXPECT_TRUE(TestSupport::exists(folder.at("data/deep"))) << "created when missing";
    }
    TestSupport::expectFatal([] { directory_user(2); }, "Error.InvalidParamiter: io/directory.cpp(");
}

TEST(Directory, ListingsMatchPatternsAndSkipDotEntries)
{
    TempFolder folder;
    TestSupport::writeBytes(folder.at("a.txt"), "12345");
    for (char const* name : {"b.txt", "c.dat", ".hidden", "locked"})
        TestSupport::writeBytes(folder.at(name), "");
    ::chmod(folder.at("locked").c_str(), 0444);
    ::mkdir(folder.at("sub").c_str(), 0755);

    using Entries = std::map<std::string, std::uint32_t>;
    struct Case { std::string pattern; Entries entries; } const cases[] = {
        {"*.txt", {{"a.txt", 0}, {"b.txt", 0}}},
        {"?.dat", {{"c.dat", 0}}},
        {"*.*", {{"a.txt", 0}, {"b.txt", 0}, {"c.dat", 0}, {".hidden", FileAttributeHidden}, {"sub/", FileAttributeDirectory}, {"locked", FileAttributeReadOnly}}},
        {"s*", {{"sub/", FileAttributeDirectory}}},
        {"sub\\*", {}},
        {"*.none", {{"<failed>", 0}}},
        {"missing/*", {{"<failed>", 0}}},
    };
    for (auto const& c : cases)
        EXPECT_EQ(listAll(folder, c.pattern), c.entries) << c.pattern;

    FileList list;
    filelist_construct(&list, OwnedString(folder.string("a.*")));
    EXPECT_EQ(filelist_get_size(&list), 5u);
    EXPECT_GT(filelist_get_time(&list, 1), 0);
    filelist_destroy(&list);
    TestSupport::expectFatal([&] { filelist_construct(&list, OwnedString(folder.string("*.none"))); }, "Error.IO.InvalidFileName: io/file_list.cpp(");
}

TEST(Filename, FileAndPathPartsAndMerging)
{
    struct Parts { std::u16string name, file, path; } const parts[] = {
        {u"forms\\expredit.form", u"expredit.form", u"forms\\"},
        {u"a/b\\c.txt", u"c.txt", u"a/b\\"},
        {u"plain.graph", u"plain.graph", u""},
        {u"folder/", u"<null>", u"folder/"},
        {u"/", u"<null>", u"/"},
        {u"", u"<null>", u""},
        {u"<null>", u"<null>", u"<null>"},
    };
    for (auto const& c : parts) {
        SCOPED_TRACE(TestSupport::toUtf8(c.name));
        EXPECT_EQ(result(filename_get_file(name(c.name))), c.file);
        EXPECT_EQ(result(filename_get_path(name(c.name))), c.path);
    }
    struct Merge { std::u16string dir, file, merged; } const merges[] = {
        {u"help", u"index.htm", u"help/index.htm"}, {u"help/", u"index.htm", u"help/index.htm"},
        {u"help\\", u"index.htm", u"help\\index.htm"}, {u"", u"index.htm", u"index.htm"},
        {u"<null>", u"index.htm", u"index.htm"}, {u"help", u"<null>", u"help/"},
        {u"help\\", u"<null>", u"help\\"}, {u"<null>", u"<null>", u""},
    };
    for (auto const& c : merges)
        EXPECT_EQ(result(filename_merge(name(c.dir), name(c.file))), c.merged) << TestSupport::toUtf8(c.merged);
}

TEST(Filename, AbsoluteNamesComparisonAndPlatformNames)
{
    struct Absolute { std::u16string name; bool absolute; } const absolutes[] = {
        {u"/tmp/x", true}, {u"\\server\\x", true}, {u"c:\\x", true}, {u"c:", true},
        {u"forms/x", false}, {u"x", false}, {u"", false},
    };
    for (auto const& c : absolutes)
        EXPECT_EQ(filename_is_abs(name(c.name)), c.absolute) << TestSupport::toUtf8(c.name);
    struct Order { std::u16string a, b; int sign; } const orders[] = {
        {u"a/b", u"a\\b", 0}, {u"a/b", u"a/c", -1}, {u"a/c", u"a/b", 1}, {u"a", u"a/b", -1}, {u"A", u"a", -1}, {u"", u"", 0},
    };
    for (auto const& c : orders) {
        int order = filename_compare(name(c.a), name(c.b));
        EXPECT_EQ((order > 0) - (order < 0), c.sign) << TestSupport::toUtf8(c.a + u" vs " + c.b);
    }

    // The platform cannot take a name that its zero byte would cut.
    EXPECT_EQ(filename_to_platform(OwnedString(String::create(u"a\0b", 0, 3))), nullptr);
    EXPECT_EQ(filename_to_platform(u""_str), nullptr);
    EXPECT_EQ(filename_to_platform(nullptr), nullptr);
    char* platform = filename_to_platform(u"d\u00e9j\u00e0/x"_str);
    EXPECT_STREQ(platform, "d\xc3\xa9j\xc3\xa0/x");
    memory_free(platform);
}
