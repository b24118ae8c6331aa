// File-name helpers with both separators.
#include <gtest/gtest.h>

#include "nycore/io/filename.h"
#include "nycore/system/memory.h"
#include "nycore/text/string_functions.h"
#include "tests/support/strings.h"

using namespace NyCore;
using TestSupport::makeString;
using TestSupport::toU16;

namespace {

// Applies a one-name helper and returns its result as text ("<null>" for none).
std::u16string apply(String* (*helper)(String const*), std::u16string const* name)
{
    String* input = name ? makeString(*name) : nullptr;
    String* result = helper(input);
    std::u16string text = toU16(result);
    string_free(result);
    string_free(input);
    return text;
}

}

TEST(Filename, FileAndPathParts)
{
    struct Case {
        std::u16string name;
        std::u16string file;
        std::u16string path;
    } const cases[] = {
        {u"forms/expredit.form", u"expredit.form", u"forms/"},
        {u"forms\\expredit.form", u"expredit.form", u"forms\\"},
        {u"a/b\\c.txt", u"c.txt", u"a/b\\"},
        {u"plain.graph", u"plain.graph", u""},
        {u"folder\\", u"<null>", u"folder\\"},
        {u"folder/", u"<null>", u"folder/"},
        {u"/", u"<null>", u"/"},
        {u"", u"<null>", u""},
    };
    for (auto const& c : cases) {
        SCOPED_TRACE(TestSupport::toUtf8(c.name));
        EXPECT_EQ(apply(filename_get_file, &c.name), c.file);
        EXPECT_EQ(apply(filename_get_path, &c.name), c.path);
    }
    EXPECT_EQ(apply(filename_get_file, nullptr), u"<null>");
    EXPECT_EQ(apply(filename_get_path, nullptr), u"<null>");
}

TEST(Filename, MergeInsertsOneSeparator)
{
    struct Case {
        char16_t const* dir;
        char16_t const* name;
        std::u16string merged;
    } const cases[] = {
        {u"help", u"index.htm", u"help/index.htm"},
        {u"help/", u"index.htm", u"help/index.htm"},
        {u"help\\", u"index.htm", u"help\\index.htm"},
        {u"", u"index.htm", u"index.htm"},
        {nullptr, u"index.htm", u"index.htm"},
        {u"help", nullptr, u"help/"},
        {u"help\\", nullptr, u"help\\"},
        {nullptr, nullptr, u""},
    };
    for (auto const& c : cases) {
        SCOPED_TRACE(TestSupport::toUtf8(c.merged));
        String* dir = c.dir ? makeString(c.dir) : nullptr;
        String* name = c.name ? makeString(c.name) : nullptr;
        String* merged = filename_merge(dir, name);
        EXPECT_EQ(toU16(merged), c.merged);
        string_free(merged);
        string_free(dir);
        string_free(name);
    }
}

TEST(Filename, AbsoluteNamesAndComparison)
{
    struct Case {
        std::u16string name;
        bool absolute;
    } const absolutes[] = {
        {u"/tmp/x", true}, {u"\\server\\x", true}, {u"c:\\x", true}, {u"c:", true},
        {u"forms/x", false}, {u"x", false}, {u"", false},
    };
    for (auto const& c : absolutes) {
        SCOPED_TRACE(TestSupport::toUtf8(c.name));
        String* name = makeString(c.name);
        EXPECT_EQ(filename_is_abs(name), c.absolute);
        string_free(name);
    }

    struct Order {
        std::u16string a, b;
        int sign;
    } const orders[] = {
        {u"a/b", u"a\\b", 0}, {u"a/b", u"a/c", -1}, {u"a/c", u"a/b", 1}, {u"a", u"a/b", -1}, {u"A", u"a", -1}, {u"", u"", 0},
    };
    for (auto const& c : orders) {
        SCOPED_TRACE(TestSupport::toUtf8(c.a + u" vs " + c.b));
        String* a = makeString(c.a);
        String* b = makeString(c.b);
        int result = filename_compare(a, b);
        EXPECT_EQ((result > 0) - (result < 0), c.sign);
        string_free(a);
        string_free(b);
    }
}

TEST(Filename, PlatformNamesRejectWhatThePlatformWouldCut)
{
    String* cut = String::create(u"a\0b", 0, 3);
    EXPECT_EQ(filename_to_platform(cut), nullptr);
    EXPECT_EQ(filename_to_platform(u""_str), nullptr);
    EXPECT_EQ(filename_to_platform(nullptr), nullptr);
    string_free(cut);
    char* name = filename_to_platform(u"d\u00e9j\u00e0/x"_str);
    EXPECT_STREQ(name, "d\xc3\xa9j\xc3\xa0/x");
    memory_free(name);
}
