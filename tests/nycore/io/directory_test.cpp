// Directories and listings in a temporary folder.
#include <gtest/gtest.h>

#include <cstdlib>
#include <map>
#include <string>

#include "nycore/io/directory.h"
#include "nycore/io/file.h"
#include "nycore/io/file_list.h"
#include "nycore/io/filename.h"
#include "nycore/system/runtime.h"
#include "nycore/text/string_functions.h"
#include "tests/support/temp_folder.h"
#include "tests/support/child_process.h"
#include "tests/support/strings.h"

using namespace NyCore;
using namespace NyCore::IO;
using TestSupport::TempFolder;
using TestSupport::toUtf8;

namespace {

// Name -> attributes of every entry a listing yields.
std::map<std::string, std::uint32_t> listAll(TempFolder const& folder, std::string const& pattern)
{
    std::map<std::string, std::uint32_t> entries;
    String* text = folder.string(pattern);
    FileList list;
    if (!filelist_open(&list, text)) {
        entries["<failed>"] = 0;
    } else {
        for (; filelist_is_valid(&list); filelist_move_next(&list)) {
            String* name = filelist_get_name(&list);
            entries[toUtf8(name)] = filelist_get_attr(&list);
            string_free(name);
        }
        EXPECT_TRUE(filelist_get_attr(&list) & FileListExhausted);
        EXPECT_FALSE(filelist_move_next(&list));
        filelist_destroy(&list);
    }
    string_free(text);
    return entries;
}

}

TEST(Directory, CreateChangeAndRemove)
{
    TempFolder folder;
    String* sub = folder.string("sub");
    EXPECT_TRUE(directory_create(sub));
    EXPECT_FALSE(directory_create(sub)) << "it exists already";

    String* before = directory_get_cur();
    ASSERT_NE(before, nullptr);
    EXPECT_EQ(before->units()[before->count - 1], u'/');
    ASSERT_TRUE(directory_set_cur(sub));
    String* inside = directory_get_cur();
    EXPECT_EQ(toUtf8(inside), folder.at("sub/"));
    EXPECT_TRUE(directory_set_cur(before));
    String* none = folder.string("none");
    EXPECT_FALSE(directory_set_cur(none));
    string_free(none);

    EXPECT_TRUE(directory_remove(sub));
    EXPECT_FALSE(TestSupport::exists(folder.at("sub")));
    EXPECT_FALSE(directory_remove(sub));
    string_free(inside);
    string_free(before);
    string_free(sub);
}

TEST(Directory, TemporaryAndUserFolders)
{
    TempFolder folder;
    char const* savedTemp = std::getenv("TMPDIR");
    char const* savedData = std::getenv("XDG_DATA_HOME");
    std::string keptTemp = savedTemp ? savedTemp : "", keptData = savedData ? savedData : "";

    ::setenv("TMPDIR", folder.path.c_str(), 1);
    String* temp = directory_temp();
    EXPECT_EQ(toUtf8(temp), folder.path + "/");
    String* name = filename_temp();
    EXPECT_EQ(toUtf8(name).rfind(folder.path + "/vex_", 0), 0u) << toUtf8(name);
    EXPECT_TRUE(TestSupport::exists(toUtf8(name))) << "the name stays taken";
    String* other = filename_temp();
    EXPECT_NE(toUtf8(other), toUtf8(name));
    string_free(other);
    string_free(name);
    ::setenv("TMPDIR", "relative", 1);
    String* fallback = directory_temp();
    EXPECT_EQ(toUtf8(fallback), "/tmp/");

    ::setenv("XDG_DATA_HOME", folder.at("data/deep").c_str(), 1);
    String* user = directory_user(0);
    EXPECT_EQ(toUtf8(user), folder.at("data/deep"));
    EXPECT_TRUE(TestSupport::exists(folder.at("data/deep"))) << "created when missing";

    savedTemp ? ::setenv("TMPDIR", keptTemp.c_str(), 1) : ::unsetenv("TMPDIR");
    savedData ? ::setenv("XDG_DATA_HOME", keptData.c_str(), 1) : ::unsetenv("XDG_DATA_HOME");
    string_free(temp);
    string_free(fallback);
    string_free(user);

    auto result = TestSupport::runInChild([] { directory_user(2); });
    EXPECT_EQ(result.exitCode, System::FatalExitCode);
    EXPECT_EQ(result.output.rfind("Error.InvalidParamiter: io/directory.cpp(", 0), 0u) << result.output;
}

TEST(Directory, ListingsMatchPatternsAndSkipDotEntries)
{
    TempFolder folder;
    TestSupport::writeBytes(folder.at("a.txt"), "12345");
    TestSupport::writeBytes(folder.at("b.txt"), "");
    TestSupport::writeBytes(folder.at("c.dat"), "");
    TestSupport::writeBytes(folder.at(".hidden"), "");
    ::mkdir(folder.at("sub").c_str(), 0755);
    ::mkdir(folder.at("empty").c_str(), 0755);
    TestSupport::writeBytes(folder.at("locked"), "");
    ::chmod(folder.at("locked").c_str(), 0444);

    using Entries = std::map<std::string, std::uint32_t>;
    struct Case {
        std::string pattern;
        Entries entries;
    } const cases[] = {
        {"*.txt", {{"a.txt", 0}, {"b.txt", 0}}},
        {"?.dat", {{"c.dat", 0}}},
        {"*.*", {{"a.txt", 0}, {"b.txt", 0}, {"c.dat", 0}, {".hidden", FileAttributeHidden}, {"sub/", FileAttributeDirectory},
                    {"empty/", FileAttributeDirectory}, {"locked", FileAttributeReadOnly}}},
        {"s*", {{"sub/", FileAttributeDirectory}}},
        {"sub\\*", {}},
        {"empty/*", {}},
        {"*.none", {{"<failed>", 0}}},
        {"missing/*", {{"<failed>", 0}}},
    };
    for (auto const& c : cases) {
        SCOPED_TRACE(c.pattern);
        EXPECT_EQ(listAll(folder, c.pattern), c.entries);
    }

    String* pattern = folder.string("a.*");
    FileList list;
    filelist_construct(&list, pattern);
    EXPECT_EQ(filelist_get_size(&list), 5u);
    EXPECT_GT(filelist_get_time(&list, 1), 0);
    filelist_destroy(&list);
    string_free(pattern);

    auto result = TestSupport::runInChild([&] {
        String* none = folder.string("*.none");
        FileList empty;
        filelist_construct(&empty, none);
    });
    EXPECT_EQ(result.exitCode, System::FatalExitCode);
    EXPECT_EQ(result.output.rfind("Error.IO.InvalidFileName: io/file_list.cpp(", 0), 0u) << result.output;
}
