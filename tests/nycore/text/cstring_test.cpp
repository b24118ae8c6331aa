// Tests of the char_* unit functions and the cstr_* basics: comparison,
// bounded copies (nothing written past the room) and byte conversions.
#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

#include "nycore/text/cstring.h"

namespace {

constexpr char16_t Guard = 0xBEEF;

TEST(CharFunctions, ClassifyAndMapAsciiOnly)
{
    // Every unit up to U+017F and a few beyond: only ASCII letters, digits and
    // the four white-space units count.
    std::vector<char16_t> units = {0x2028, 0xFF10, 0xFF21, 0xFF41};
    for (char16_t c = 0; c < 0x180; ++c)
        units.push_back(c);
    for (char16_t c : units) {
        bool digit = c >= u'0' && c <= u'9', lower = c >= u'a' && c <= u'z', upper = c >= u'A' && c <= u'Z';
        SCOPED_TRACE(static_cast<int>(c));
        EXPECT_EQ(char_is_numeric(c), digit ? 1 : 0);
        EXPECT_EQ(char_is_alpha(c), lower || upper ? 1 : 0);
        EXPECT_EQ(char_is_lower(c), lower ? 1 : upper ? 0 : -1);
        EXPECT_EQ(char_is_upper(c), upper ? 1 : lower ? 0 : -1);
        EXPECT_EQ(char_is_space(c), c == u' ' || c == u'\t' || c == u'\r' || c == u'\n' ? 1 : 0);
        EXPECT_EQ(char_to_lower(c), upper ? c + 32 : c);
        EXPECT_EQ(char_to_upper(c), lower ? c - 32 : c);
        EXPECT_EQ(char_digit_value(c), digit ? c - u'0' : lower ? c - u'a' + 10 : upper ? c - u'A' + 10 : 99);
    }
}

TEST(CstrCmp, FirstDifferenceAsSigned16Bit)
{
    struct Case { char16_t const* a; char16_t const* b; int expected; } const cases[] = {
        {u"", u"", 0}, {u"abc", u"abc", 0}, {u"ab", u"abc", -1},
        {u"abc", u"ab", 1}, {u"abd", u"abc", 1}, {u"B", u"a", -1},
        {u"\u8000", u"a", -1}, {u"a", u"\uffff", 1}, {u"", u"\u9000", 1},
    };
    for (Case const& k : cases)
        EXPECT_EQ(cstr_cmp(k.a, k.b), k.expected) << int(k.a[0]) << " vs " << int(k.b[0]);
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

    struct Case { char16_t const* src; int n; char16_t const* expected; } const cases[] = {
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
