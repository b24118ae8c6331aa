// Tests of the char_* unit functions and the cstr_* basics: comparison,
// bounded copies (nothing written past the room) and byte conversions.
#include <gtest/gtest.h>

#include <algorithm>
#include <string>

#include "nycore/text/cstring.h"

namespace {

constexpr char16_t Guard = 0xBEEF;

TEST(CharFunctions, ClassifyAndMapAsciiOnly)
{
    struct Case {
        char16_t c;
        int numeric, alpha, lower, upper, space;
        char16_t toLower, toUpper;
    };
    Case const cases[] = {
        {u'0', 1, 0, -1, -1, 0, u'0', u'0'}, {u'9', 1, 0, -1, -1, 0, u'9', u'9'}, {u'a', 0, 1, 1, 0, 0, u'a', u'A'},
        {u'z', 0, 1, 1, 0, 0, u'z', u'Z'}, {u'A', 0, 1, 0, 1, 0, u'a', u'A'}, {u'Z', 0, 1, 0, 1, 0, u'z', u'Z'},
        {u' ', 0, 0, -1, -1, 1, u' ', u' '}, {u'\t', 0, 0, -1, -1, 1, u'\t', u'\t'},
        {u'\r', 0, 0, -1, -1, 1, u'\r', u'\r'}, {u'\n', 0, 0, -1, -1, 1, u'\n', u'\n'},
        {u'@', 0, 0, -1, -1, 0, u'@', u'@'}, {u'[', 0, 0, -1, -1, 0, u'[', u'['},
        {u'\u00e9', 0, 0, -1, -1, 0, u'\u00e9', u'\u00e9'}, {u'\u00a0', 0, 0, -1, -1, 0, u'\u00a0', u'\u00a0'},
    };
    for (Case const& k : cases) {
        SCOPED_TRACE(static_cast<int>(k.c));
        EXPECT_EQ(char_is_numeric(k.c), k.numeric);
        EXPECT_EQ(char_is_alpha(k.c), k.alpha);
        EXPECT_EQ(char_is_lower(k.c), k.lower);
        EXPECT_EQ(char_is_upper(k.c), k.upper);
        EXPECT_EQ(char_is_space(k.c), k.space);
        EXPECT_EQ(char_to_lower(k.c), k.toLower);
        EXPECT_EQ(char_to_upper(k.c), k.toUpper);
    }
}

TEST(CstrCmp, FirstDifferenceAsSigned16Bit)
{
    struct Case {
        char16_t const* a;
        char16_t const* b;
        int expected;
    };
    Case const cases[] = {
        {u"", u"", 0}, {u"abc", u"abc", 0}, {u"ab", u"abc", -1},
        {u"abc", u"ab", 1}, {u"abd", u"abc", 1}, {u"B", u"a", -1},
        {u"\u8000", u"a", -1}, {u"a", u"\uffff", 1}, {u"", u"\u9000", 1},
    };
    for (Case const& k : cases) {
        SCOPED_TRACE(testing::Message() << int(k.a[0]) << " vs " << int(k.b[0]));
        EXPECT_EQ(cstr_cmp(k.a, k.b), k.expected);
    }
    EXPECT_EQ(cstr_len(u""), 0);
    EXPECT_EQ(cstr_len(u"hello"), 5);
}

TEST(CstrCopy, CopiesStayInsideTheRoom)
{
    char16_t buffer[8];
    std::fill(std::begin(buffer), std::end(buffer), Guard);
    EXPECT_EQ(cstr_copy(buffer, u"abc"), 3);
    EXPECT_EQ(std::u16string(buffer), u"abc");
    EXPECT_EQ(buffer[4], Guard);

    struct Case {
        char16_t const* src;
        int n;
        char16_t const* expected;
    };
    Case const cases[] = {
        {u"abcdef", 4, u"abc"}, {u"ab", 4, u"ab"}, {u"abc", 4, u"abc"}, {u"abc", 1, u""},
    };
    for (Case const& k : cases) {
        SCOPED_TRACE(testing::Message() << "copyn n=" << k.n);
        std::fill(std::begin(buffer), std::end(buffer), Guard);
        EXPECT_EQ(cstr_copyn(buffer, k.src, k.n), static_cast<int>(std::u16string(k.expected).size()));
        EXPECT_EQ(std::u16string(buffer), k.expected);
        EXPECT_EQ(buffer[k.n], Guard);
    }
    std::fill(std::begin(buffer), std::end(buffer), Guard);
    EXPECT_EQ(cstr_copyn(buffer, u"abc", 0), 0);
    EXPECT_EQ(buffer[0], Guard);
}

TEST(CstrApnd, AppendsWithinTheRoomAndAlwaysTerminates)
{
    char16_t buffer[8];
    std::fill(std::begin(buffer), std::end(buffer), Guard);
    cstr_copy(buffer, u"ab");
    EXPECT_GE(cstr_apnd(buffer, u"cd", 6), 0);
    EXPECT_EQ(std::u16string(buffer), u"abcd");

    EXPECT_GE(cstr_apnd(buffer, u"efgh", 6), 0);
    EXPECT_EQ(std::u16string(buffer), u"abcde");
    EXPECT_EQ(buffer[6], Guard);

    char16_t unterminated[4] = {u'x', u'y', u'z', u'w'};
    EXPECT_EQ(cstr_apnd(unterminated, u"q", 4), -1);
    EXPECT_EQ(std::u16string(unterminated, 4), u"xyzw");
}

TEST(CstrAscii, NarrowsLowByteAndWidensLatin1)
{
    char bytes[6];
    std::fill(std::begin(bytes), std::end(bytes), '#');
    EXPECT_EQ(cstr_to_ascii(bytes, u"ab\u0141cdef", 5), 4);
    EXPECT_EQ(std::string(bytes), std::string("ab\x41" "c"));
    EXPECT_EQ(bytes[5], '#');

    char16_t units[6];
    std::fill(std::begin(units), std::end(units), Guard);
    EXPECT_EQ(cstr_from_ascii(units, "a\xe9\xff" "bcd", 5), 4);
    EXPECT_EQ(std::u16string(units), u"a\u00e9\u00ffb");
    EXPECT_EQ(units[5], Guard);
    EXPECT_EQ(cstr_from_ascii(units, "xy", 10), 2);
    EXPECT_EQ(std::u16string(units), u"xy");
}

}
