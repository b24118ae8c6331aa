// Tests of the String members (creation, null-tolerant access, sub-string
// matching), the UTF-8 conversion pair, and string constants: the layout of
// run-time strings, in read-only memory.
#include <gtest/gtest.h>

#include <cstdint>
#include <cstring>
#include <fstream>
#include <string>

#include "nycore/system/memory.h"
#include "nycore/text/string.h"
#include "nycore/text/string_functions.h"
#include "tests/support/strings.h"

using NyCore::String;
using TestSupport::toU16;

namespace {

// get$length and get accept a null String by design; the sanitizer's null
// check on the call itself is switched off here.
__attribute__((no_sanitize("null"), noinline)) int lengthOf(String const* s)
{
    return s->get$length();
}

__attribute__((no_sanitize("null"), noinline)) char16_t unitOf(String const* s, int index)
{
    return s->get(index);
}

// The permissions ("r-xp", "rw-p", ...) of the mapping that holds `address`.
std::string permissionsOf(void const* address)
{
    auto target = reinterpret_cast<std::uintptr_t>(address);
    std::ifstream maps("/proc/self/maps");
    std::uintptr_t low = 0, high = 0;
    char dash = 0;
    std::string permissions, rest;
    while (maps >> std::hex >> low >> dash >> high >> permissions && std::getline(maps, rest)) {
        if (target >= low && target < high)
            return permissions;
    }
    return "unmapped";
}

TEST(String, CreateAndAccess)
{
    String* s = String::create(u"xxabcxx", 2, 3);
    EXPECT_EQ(toU16(s), u"abc");
    EXPECT_EQ(s->units()[3], 0);
    String* copy = String::create(s);
    EXPECT_EQ(toU16(copy), u"abc");
    EXPECT_EQ(String::create(static_cast<String const*>(nullptr)), nullptr);

    EXPECT_EQ(lengthOf(s), 3);
    EXPECT_EQ(lengthOf(nullptr), 0);
    EXPECT_EQ(unitOf(s, 2), u'c');
    EXPECT_EQ(unitOf(s, 3), 0);
    EXPECT_EQ(unitOf(s, -1), 0);
    EXPECT_EQ(unitOf(nullptr, 0), 0);
    string_free(copy);
    string_free(s);
}

TEST(String, SubStringMatch)
{
    struct Case { String const* a; String const* b; int start; bool ignoreCase; int expected; } const cases[] = {
        {u"hello"_str, u"llo"_str, 2, false, -1}, {u"hello"_str, u"ll"_str, 2, false, 2},
        {u"hello"_str, u"lx"_str, 2, false, 1}, {u"hello"_str, u"lloyd"_str, 2, false, 3},
        {u"hello"_str, u"LLO"_str, 2, false, 0}, {u"hello"_str, u"LLO"_str, 2, true, -1},
        {u"HeLLo"_str, u"hello"_str, 0, true, -1}, {u"hello"_str, u""_str, 0, false, 0},
        {u"hello"_str, u"o"_str, 5, false, 0}, {u"hello"_str, nullptr, 0, false, 0}, {nullptr, u"a"_str, 0, false, 0},
    };
    for (Case const& k : cases)
        EXPECT_EQ(String::subStringMatch(k.a, k.b, k.start, k.ignoreCase), k.expected) << "row " << &k - cases;
}

TEST(String, Utf8Pair)
{
    struct Case { std::string bytes; std::u16string units; } const cases[] = {
        {"", u""}, {"plain", u"plain"}, {"caf\xc3\xa9", u"caf\u00e9"}, {"\xe2\x82\xac", u"\u20ac"},
        {"\xf0\x9f\x98\x80", u"\U0001F600"}, {"a\xffz", u"a\ufffdz"}, {"\xc0\xaf", u"\ufffd\ufffd"},
        {"\xe2\x82", u"\ufffd"}, {"\xed\xa0\x80", u"\ufffd\ufffd\ufffd"},
        {"\xf4\x90\x80\x80", u"\ufffd\ufffd\ufffd\ufffd"},
    };
    for (Case const& k : cases) {
        SCOPED_TRACE(k.bytes);
        String* s = string_from_utf8(k.bytes.data(), static_cast<int>(k.bytes.size()));
        EXPECT_EQ(toU16(s), k.units);
        EXPECT_EQ(s->units()[s->count], 0);
        string_free(s);
    }

    struct Back { std::u16string units; std::string bytes; } const backs[] = {
        {u"", ""}, {u"caf\u00e9", "caf\xc3\xa9"}, {u"\U0001F600!", "\xf0\x9f\x98\x80!"},
        {std::u16string(1, char16_t(0xD800)) + u"x", "\xef\xbf\xbdx"},
        {std::u16string(1, char16_t(0xDC00)), "\xef\xbf\xbd"},
    };
    for (Back const& k : backs) {
        SCOPED_TRACE(k.bytes);
        int length = -1;
        char* bytes = string_to_utf8(TestSupport::OwnedString(k.units), &length);
        EXPECT_EQ(std::string(bytes, static_cast<std::size_t>(length)), k.bytes);
        EXPECT_EQ(bytes[length], 0);
        memory_free(bytes);
    }
}

TEST(StringConstant, HasTheLayoutOfARunTimeString)
{
    String const* constant = u"Héllo"_str;
    String* made = string_from_cstr(u"Héllo");
    ASSERT_EQ(constant->count, 5);
    // Count, units and terminator are byte for byte the same block.
    EXPECT_EQ(std::memcmp(constant, made, 4 + 2 * 5 + 2), 0);
    string_free(made);
}

TEST(StringConstant, LivesInReadOnlyMemory)
{
    std::string permissions = permissionsOf(u"constant text"_str);
    EXPECT_EQ(permissions.substr(0, 2), "r-") << permissions;
    EXPECT_EQ(permissionsOf(NyCore::Text::EmptyString).substr(0, 2), "r-");
}

}
