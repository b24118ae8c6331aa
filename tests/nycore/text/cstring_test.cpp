// Tests of the char_* unit functions and the cstr_* family: comparison, bounded
// copies (nothing written past the room), byte conversions, and the number
// conversions (accepted syntax, saturation, exact rounding of reals, fatal reports).
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <limits>
#include <string>
#include <vector>

#include "nycore/text/cstring.h"
#include "tests/support/child_process.h"
#include "tests/support/strings.h"

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

TEST(CstrToInt, SyntaxRadixAndSaturation)
{
    struct Case { char16_t const* text; int radix; int expected; } const cases[] = {
        {u"  -12z", 10, -12}, {u"ff", 16, 255}, {u"FF", 16, 255}, {u"9", 8, 0}, {u"777", 8, 511}, {u"1012", 2, 5},
        {u"zz", 36, 1295}, {u"\t\r\n 42", 10, 42}, {u"+5", 10, 0}, {u"", 10, 0}, {u"-", 10, 0}, {u"a", 10, 0},
        {u"2147483647", 10, INT32_MAX}, {u"2147483648", 10, INT32_MAX}, {u"99999999999999999999", 10, INT32_MAX},
        {u"-2147483648", 10, INT32_MIN}, {u"-2147483649", 10, INT32_MIN}, {u"-99999999999999999999", 10, INT32_MIN},
        {u"ffffffff", 16, INT32_MAX}, {u"12", 0, 0},
    };
    for (Case const& k : cases)
        EXPECT_EQ(cstr_to_int(k.text, k.radix), k.expected) << TestSupport::toUtf8(k.text);
}

TEST(CstrToFloat, SyntaxAndCorrectRounding)
{
    struct Case { std::u16string text; double expected; } const cases[] = {
        {u"3.", 3.0}, {u"-0.25", -0.25}, {u"0.3", 0.3}, {u"0.7", 0.7}, {u"0.1", 0.1}, {u"123.456", 123.456},
        {u".5", 0.5}, {u"-.5", -0.5}, {u"  \t12.5x", 12.5}, {u"1.2.3", 1.2}, {u"1e5", 1.0}, {u"+1", 0.0},
        {u"", 0.0}, {u"-", 0.0}, {u"abc", 0.0},
        {u"9007199254740993", 9007199254740992.0}, {u"0.30000000000000000000000000000000000000000001", 0.3},
        {u"17976931348623157" + std::u16string(292, u'0') + u".0", 1.7976931348623157e308},
        {u"0." + std::u16string(323, u'0') + u"5", 5e-324},
        {u"-1" + std::u16string(400, u'0'), -std::numeric_limits<double>::infinity()},
        {u"0." + std::u16string(400, u'0') + u"1", 0.0},
    };
    for (Case const& k : cases)
        EXPECT_EQ(cstr_to_float(k.text.c_str()), k.expected) << TestSupport::toUtf8(k.text.substr(0, 50));
}

TEST(CharrFromInt, RadixSignAndRoom)
{
    struct Case { std::int32_t value; int radix; int size; char16_t const* expected; } const cases[] = {
        {0, 10, 12, u"0"}, {-255, 10, 12, u"-255"}, {255, 16, 12, u"ff"}, {-255, 16, 12, u"ffffff01"},
        {-1, 2, 40, u"11111111111111111111111111111111"}, {INT32_MIN, 10, 12, u"-2147483648"},
        {INT32_MAX, 36, 12, u"zik0zj"}, {12345, 10, 3, u"12"}, {-12345, 10, 4, u"-12"},
    };
    for (Case const& k : cases) {
        SCOPED_TRACE(testing::Message() << k.value << " radix " << k.radix << " size " << k.size);
        char16_t buffer[48];
        std::fill(std::begin(buffer), std::end(buffer), Guard);
        int written = charr_from_int(buffer, k.size, k.value, k.radix);
        EXPECT_EQ(std::u16string(buffer), k.expected);
        EXPECT_EQ(written, static_cast<int>(std::u16string(k.expected).size()));
        EXPECT_EQ(buffer[k.size], Guard);
    }
}

TEST(CharrFromReal, ShortestTextTruncatedToDecimalsAndTheRoom)
{
    double const inf = std::numeric_limits<double>::infinity();
    struct Case { double value; int decimals; int size; char16_t const* expected; } const cases[] = {
        {2.5, 0, 60, u"2"}, {2.5, -1, 60, u"2.5"}, {2.5, 3, 60, u"2.500"}, {0.3, -1, 60, u"0.3"}, {0.3, 5, 60, u"0.30000"},
        {0.7, 1, 60, u"0.7"}, {1.999, 2, 60, u"1.99"}, {-1.999, 2, 60, u"-1.99"}, {-0.001, 2, 60, u"-0.00"},
        {0.0, -1, 60, u"0"}, {-0.0, -1, 60, u"0"}, {-0.0, 2, 60, u"0.00"}, {1234567.0, -1, 60, u"1234567"},
        {1e20, -1, 60, u"100000000000000000000"}, {0.1 + 0.2, -1, 60, u"0.30000000000000004"},
        {1e-5, -1, 60, u"0.00001"}, {inf, -1, 60, u"inf"}, {-inf, 3, 60, u"-inf"}, {std::nan(""), 2, 60, u"nan"},
        // a full buffer keeps the leading units
        {12345.0, -1, 3, u"12"}, {1.5, 1000000000, 6, u"1.500"}, {-inf, 0, 3, u"-i"},
        {1.7976931348623157e308, -1, 5, u"1797"}, {5e-324, -1, 8, u"0.00000"},
    };
    for (Case const& k : cases) {
        SCOPED_TRACE(testing::Message() << k.value << " decimals " << k.decimals << " size " << k.size);
        char16_t buffer[64];
        std::fill(std::begin(buffer), std::end(buffer), Guard);
        int written = charr_from_real(buffer, k.size, k.value, k.decimals);
        EXPECT_EQ(std::u16string(buffer), k.expected);
        EXPECT_EQ(written, static_cast<int>(std::u16string(k.expected).size()));
        EXPECT_EQ(buffer[k.size], Guard);
    }
}

TEST(NumberConversionFaults, BadParametersAreFatal)
{
    std::string const report = "Error.InvalidParamiter: text/cstring.cpp(";
    TestSupport::expectFatal([] { char16_t b[4]; charr_from_int(b, 2, 1, 10); }, report);
    TestSupport::expectFatal([] { char16_t b[40]; charr_from_int(b, 40, 1, 1); }, report);
    TestSupport::expectFatal([] { char16_t b[40]; charr_from_int(b, 40, 1, 37); }, report);
    TestSupport::expectFatal([] { char16_t b[4]; charr_from_real(b, 2, 1.0, 2); }, report);
}

}
