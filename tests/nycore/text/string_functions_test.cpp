// Tests of the string_* family: slicing, searching, splitting, trimming,
// justification, conversions and the fatal reports.
#include <gtest/gtest.h>

#include <cmath>
#include <string>
#include <vector>

#include "nycore/collection/array.h"
#include "nycore/text/string_functions.h"
#include "tests/support/child_process.h"
#include "tests/support/strings.h"

using TestSupport::makeString;
using TestSupport::OwnedString;
using TestSupport::toU16;
using TestSupport::toUtf8;

namespace {

std::vector<std::u16string> split(std::u16string const& text, String const* separators)
{
    String* s = makeString(text);
    auto* pieces = string_split(s, separators);
    std::vector<std::u16string> result;
    for (String* piece : *pieces)
        result.push_back(toU16(piece));
    pieces->freeWithItems();
    string_free(s);
    return result;
}

TEST(StringFunctions, AllocCopyAndCompare)
{
    String* empty = string_alloc(0);
    EXPECT_EQ(empty->count, 0);
    empty->units()[0] = 0;
    EXPECT_TRUE(string_is_empty(empty));
    string_free(empty);
    string_free(nullptr);

    EXPECT_EQ(string_copy(nullptr), nullptr);
    std::u16string const inner(u"a\0b", 3);
    EXPECT_EQ(OwnedString(string_copy(OwnedString(inner))).text(), inner);
    EXPECT_FALSE(string_is_empty(u"x"_str));

    struct Comparison {
        int (*compare)(String const*, String const*);
        String const *a, *b;
        int expected;
    } const comparisons[] = {
        {string_compare, u"ab"_str, u"abc"_str, -1}, {string_compare, u"b"_str, u"abc"_str, 1},
        {string_compare, u"abc"_str, u"abc"_str, 0}, {string_cmp_nocase, u"ABC"_str, u"abc"_str, 0},
        {string_cmp_nocase, u"abd"_str, u"ABC"_str, 1}, {string_cmp_nocase, u"a"_str, u"AB"_str, -1},
    };
    for (auto const& c : comparisons)
        EXPECT_EQ(c.compare(c.a, c.b), c.expected) << toUtf8(c.a) << " vs " << toUtf8(c.b);
    EXPECT_EQ(string_count(u"banana"_str, u'a'), 3);
    EXPECT_EQ(string_get_char(u"xyz"_str, 2), u'z');
}

TEST(StringFunctions, NewStrings)
{
    String const* s = u"abcdef"_str;
    struct Case { char const* what; String* result; char16_t const* expected; } const cases[] = {
        {"left 2", string_left(s, 2), u"ab"}, {"left 99", string_left(s, 99), u"abcdef"},
        {"left -1", string_left(s, -1), u""}, {"right 2", string_right(s, 2), u"ef"},
        {"right 99", string_right(s, 99), u"abcdef"}, {"mid 2 -1", string_mid(s, 2, -1), u"cdef"},
        {"mid 2 1000", string_mid(s, 2, 1000), u"cdef"}, {"mid 1 2", string_mid(s, 1, 2), u"bc"},
        {"append", string_append(u"ab"_str, u"cd"_str), u"abcd"}, {"repeat 3", string_repeat(u"ab"_str, 3), u"ababab"},
        {"repeat 0", string_repeat(u"ab"_str, 0), u""}, {"reverse", string_reverse(s), u"fedcba"},
        {"lower", string_to_lower(u"AbC-\u00c9"_str), u"abc-\u00c9"},
        {"upper", string_to_upper(u"AbC-z"_str), u"ABC-Z"},
        {"trim left", string_trim_left(u"  \tab "_str, u" \t"_str), u"ab "},
        {"trim right", string_trim_right(u" ab. . "_str, u" ."_str), u" ab"},
        {"trim all", string_trim_right(u"...."_str, u"."_str), u""},
        {"trim none", string_trim_left(u" ab"_str, NyCore::Text::EmptyString), u" ab"},
        {"justify centre", string_justify(u"ab"_str, 5, 2, u'*'), u"*ab**"},
        {"justify left", string_justify(u"ab"_str, 5, 0, u'.'), u"ab..."},
        {"justify right", string_justify(u"ab"_str, 5, 1, u'.'), u"...ab"},
        {"justify cut", string_justify(u"abcdef"_str, 3, 0, u' '), u"abc"},
        {"extract", string_extract(u"abcdef", 3), u"abc"}, {"extract short", string_extract(u"ab", 10), u"ab"},
        {"from cstr", string_from_cstr(u"hello"), u"hello"}, {"from ascii", string_from_ascii("caf\xe9"), u"caf\u00e9"},
        {"int min bin", string_from_int(INT32_MIN, 2), u"10000000000000000000000000000000"},
        {"real 2.5 0", string_from_real(2.5, 0), u"2"},
        {"real 0.3 5", string_from_real(0.3, 5), u"0.30000"}, {"real inf 4", string_from_real(HUGE_VAL, 4), u"inf"},
    };
    for (Case const& k : cases) {
        EXPECT_EQ(toU16(k.result), k.expected) << k.what;
        EXPECT_EQ(k.result->units()[k.result->count], 0) << k.what;
        string_free(k.result);
    }
}

TEST(StringFunctions, IndexOf)
{
    String const* s = u"abcabc"_str;
    struct Case { char16_t const* what; int start; bool backwards; int expected; } const cases[] = {
        {u"bc", 5, true, 4}, {u"bc", 5, false, -1}, {u"bc", 0, false, 1},
        {u"bc", 2, false, 4}, {u"bc", 3, true, 1}, {u"abc", 0, true, 0},
        {u"x", 0, false, -1}, {u"", 3, false, 3}, {u"abcabcd", 0, false, -1},
    };
    for (Case const& k : cases)
        EXPECT_EQ(string_index_of(s, OwnedString(k.what), k.start, k.backwards), k.expected)
            << toUtf8(k.what) << " from " << k.start << (k.backwards ? " back" : "");
}

TEST(StringFunctions, Split)
{
    using Pieces = std::vector<std::u16string>;
    EXPECT_EQ(split(u",a,,b,", u","_str), (Pieces{u"", u"a", u"b"}));
    EXPECT_EQ(split(u"a b", nullptr), (Pieces{u"a b"}));
    EXPECT_EQ(split(u"", u","_str), (Pieces{u""}));
    EXPECT_EQ(split(u",,,", u","_str), (Pieces{u""}));
    EXPECT_EQ(split(u"a;b c", u"; "_str), (Pieces{u"a", u"b", u"c"}));
}

TEST(StringFunctions, NumberConversions)
{
    String* largest = string_from_real(-1.7976931348623157e308, 2);
    EXPECT_EQ(largest->count, 1 + 309 + 3);
    EXPECT_EQ(toU16(largest).substr(0, 6), u"-17976");
    EXPECT_EQ(toU16(largest).substr(310), u".00");
    string_free(largest);
    EXPECT_EQ(OwnedString(string_from_real(-5e-324, -1)).text(), u"-0." + std::u16string(323, u'0') + u"5");

    EXPECT_EQ(string_to_int(u" -12z"_str, 10), -12);
    EXPECT_EQ(string_to_int(nullptr, 10), 0);
    EXPECT_EQ(string_to_real(u"0.7"_str), 0.7);
    EXPECT_EQ(string_to_real(nullptr), 0.0);

    struct RealCase { char16_t const* text; bool expected; } const realCases[] = {
        {u"12.5", true}, {u" -1..2", true}, {u"", true}, {u"-", true},
        {u"1e5", false}, {u"+1", false}, {u"1 ", false},
    };
    for (RealCase const& k : realCases)
        EXPECT_EQ(string_is_real(OwnedString(k.text)), k.expected) << toUtf8(k.text);
    EXPECT_FALSE(string_is_real(nullptr));
}

TEST(StringFunctions, FromArray)
{
    auto* units = NyCore::Collections::Array<char16_t>::alloc(3);
    units->items()[0] = u'x', units->items()[1] = u'y', units->items()[2] = u'z';
    String* s = string_from_array(units);
    EXPECT_EQ(toU16(s), u"xyz");
    string_free(s);
    units->free();
}

TEST(StringFunctions, FaultsAreFatal)
{
    std::string const index = "Error.InvalidIndex: text/read.cpp(", parameter = "Error.InvalidParamiter: text/write.cpp(";
    TestSupport::expectFatal([] { string_get_char(u"ab"_str, 2); }, index);
    TestSupport::expectFatal([] { string_get_char(u"ab"_str, -1); }, index);
    TestSupport::expectFatal([] { string_mid(u"ab"_str, 2, 1); }, index);
    TestSupport::expectFatal([] { string_index_of(u"ab"_str, u"a"_str, 2, false); }, index);
    TestSupport::expectFatal([] { string_from_int(5, 37); }, parameter);
    TestSupport::expectFatal([] { string_justify(u"ab"_str, 5, 3, u' '); }, parameter);
    TestSupport::expectFatal([] { string_from_array(NyCore::Collections::Array<int>::alloc(2)); },
                             "Error.WrongArrayType: text/write.cpp(");
}

}
