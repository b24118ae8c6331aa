// File objects and operations on files by name, in a temporary folder.
#include <gtest/gtest.h>

#include <cstdlib>
#include <ctime>
#include <sys/stat.h>

#include "nycore/io/file.h"
#include "nycore/system/runtime.h"
#include "nycore/text/string_functions.h"
#include "tests/support/temp_folder.h"
#include "tests/support/child_process.h"
#include "tests/support/strings.h"

using namespace NyCore;
using namespace NyCore::IO;
using TestSupport::readBytes;
using TestSupport::TempFolder;
using TestSupport::writeBytes;

TEST(File, OpeningFollowsTheFlags)
{
    struct Case {
        char const* name;
        bool exists;
        int flags;
        bool opens;
        std::string afterWritingX;
    } const cases[] = {
        {"must exist", false, FileWrite, false, ""},
        {"create", false, FileWrite | FileCreate, true, "x"},
        {"overwrite in place", true, FileWrite, true, "xld"},
        {"truncate", true, FileWrite | FileTruncate, true, "x"},
        {"append", true, FileWrite | FileAppend, true, "oldx"},
        {"truncate needs write access", true, FileRead | FileTruncate, false, "old"},
    };
    TempFolder folder;
    String* path = folder.string("f.txt");
    for (auto const& c : cases) {
        SCOPED_TRACE(c.name);
        ::unlink(folder.at("f.txt").c_str());
        if (c.exists)
            writeBytes(folder.at("f.txt"), "old");
        int handle = file_open(path, c.flags);
        EXPECT_EQ(handle != NoFile, c.opens);
        if (handle != NoFile) {
            File file{handle};
            EXPECT_EQ(file_write(&file, "x", 1), 1u);
            EXPECT_TRUE(file_close(&file));
            EXPECT_FALSE(file_is_valid(&file));
        }
        EXPECT_EQ(readBytes(folder.at("f.txt")), c.afterWritingX);
    }
    String* dir = folder.string("");
    EXPECT_EQ(file_open(dir, FileRead), NoFile) << "a directory is not a file";
    string_free(dir);
    string_free(path);
}

TEST(File, ReadWriteSeekAndCut)
{
    TempFolder folder;
    String* path = folder.string("data.bin");
    File file;
    file_construct(&file, path, FileRead | FileWrite | FileCreate);
    ASSERT_TRUE(file_is_valid(&file));
    EXPECT_EQ(file_write(&file, "0123456789", 10), 10u);
    EXPECT_EQ(file_get_size(&file), 10u);
    EXPECT_EQ(file_seek(&file, 2, 0), 2);
    EXPECT_EQ(file_seek(&file, 3, 1), 5);
    EXPECT_EQ(file_seek(&file, -1, 2), 9);
    EXPECT_EQ(file_seek(&file, 4, 0), 4);
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
    std::int64_t now = file_time_from_platform(std::time(nullptr));
    EXPECT_LE(std::llabs(info.lastWrite - now), 5);
    EXPECT_LE(info.created, info.lastWrite);
    file_destroy(&file);
    EXPECT_EQ(file_read(&file, buffer, 1), FileFailure);
    EXPECT_EQ(file_write(&file, buffer, 1), FileFailure);

    auto result = TestSupport::runInChild([&] {
        File again;
        file_construct(&again, path, FileRead);
        file_seek(&again, 0, 3);
    });
    EXPECT_EQ(result.exitCode, System::FatalExitCode);
    EXPECT_EQ(result.output.rfind("Error.InvalidParamiter: io/file.cpp(", 0), 0u) << result.output;

    String* missing = folder.string("missing.bin");
    result = TestSupport::runInChild([&] {
        File none;
        file_construct(&none, missing, FileRead);
    });
    EXPECT_EQ(result.exitCode, System::FatalExitCode);
    EXPECT_EQ(result.output.rfind("name = " + folder.at("missing.bin") + "\nError.IO.InvalidFileName: io/file.cpp(", 0), 0u)
        << result.output;
    string_free(missing);
    string_free(path);
}

TEST(File, OperationsByName)
{
    TempFolder folder;
    writeBytes(folder.at("a"), "alpha");
    writeBytes(folder.at("b"), "beta");
    String* a = folder.string("a");
    String* b = folder.string("b");
    String* c = folder.string("c");

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
    EXPECT_TRUE(file_set_mode(a, 2));
    EXPECT_EQ(file_get_mode(a, 2), 1);
    EXPECT_EQ(file_get_mode(b, 0), 0) << "gone";
    EXPECT_FALSE(file_set_mode(b, 2));
    string_free(a);
    string_free(b);
    string_free(c);
}

TEST(File, TimesCountLocalCalendarSeconds)
{
    char const* saved = std::getenv("TZ");
    std::string kept = saved ? saved : "";
    ::setenv("TZ", "UTC", 1);
    ::tzset();
    struct Case {
        std::int64_t platform;
        std::int64_t expected;
    } const cases[] = {
        {0, 0},
        {86399, 86399},
        {951782400, 951782400},   // 2000-02-29
        {951868800, 951868800},   // 2000-03-01
        {4102444799, 4102444799}, // 2099-12-31 23:59:59
        {4102444800, -1},         // 2100
        {-1, -1},                 // 1969
    };
    for (auto const& c : cases) {
        SCOPED_TRACE(c.platform);
        EXPECT_EQ(file_time_from_platform(c.platform), c.expected);
    }
    ::setenv("TZ", "UTC-2", 1);
    ::tzset();
    EXPECT_EQ(file_time_from_platform(0), 7200) << "local time";
    saved ? ::setenv("TZ", kept.c_str(), 1) : ::unsetenv("TZ");
    ::tzset();
}
