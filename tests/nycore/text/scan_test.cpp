// Tests of formatted scanning: conversions, skipped assignments, literal
// matching, saturation of integers and bounded string buffers.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>
#include <string>

#include "nycore/text/print.h"
#include "nycore/text/string_functions.h"
#include "tests/support/strings.h"

namespace {

constexpr char16_t Guard = 0xBEEF;

TEST(Scan, NumberAndTextAssignments)
{
    int number = 0;
    char16_t text[16];
    EXPECT_EQ(cstr_scan(u"12 abc", u"%d %s", &number, 16, text), 2);
    EXPECT_EQ(number, 12);
    EXPECT_EQ(std::u16string(text), u"abc");

    int second = 0;
    number = -1;
    EXPECT_EQ(cstr_scan(u"5 7", u"%*d %d", &second), 1);
    EXPECT_EQ(second, 7);

    char16_t key[8];
    double value = 0;
    EXPECT_EQ(cstr_scan(u"width=0.3;", u"%s=%f;", 8, key, &value), 2);
    EXPECT_EQ(std::u16string(key), u"width");
    EXPECT_EQ(value, 0.3);
}

TEST(Scan, IntegerConversionsTable)
{
    struct Case { char16_t const* input; char16_t const* fmt; int assigned; int expected; } const cases[] = {
        {u"  -42", u"%d", 1, -42}, {u"\t17", u"%i", 1, 17}, {u"33", u"%u", 1, 33}, {u"fF", u"%x", 1, 255},
        {u"1A", u"%X", 1, 26}, {u"778", u"%o", 1, 63}, {u"1012", u"%b", 1, 5}, {u"ffffffff", u"%x", 1, -1},
        {u"1ffffffff", u"%x", 1, -1}, {u"99999999999", u"%d", 1, INT32_MAX},
        {u"-99999999999", u"%d", 1, INT32_MIN}, {u"2147483648", u"%d", 1, INT32_MAX},
        {u"abc", u"%d", 0, 999}, {u"-", u"%d", 0, 999}, {u"-5", u"%x", 0, 999}, {u"(4)", u"(%d)", 1, 4},
        {u"[4)", u"(%d)", 0, 999}, {u"%9", u"%%%d", 1, 9},
    };
    for (Case const& k : cases) {
        SCOPED_TRACE(TestSupport::toUtf8(k.input) + " with " + TestSupport::toUtf8(k.fmt));
        int value = 999;
        EXPECT_EQ(cstr_scan(k.input, k.fmt, &value), k.assigned);
        EXPECT_EQ(value, k.expected);
    }
}

TEST(Scan, RealsAndUnits)
{
    struct Case { char16_t const* input; int assigned; double expected; } const cases[] = {
        {u"0.7", 1, 0.7}, {u"-.25", 1, -0.25}, {u"3.", 1, 3.0},
        {u" 12.5e3", 1, 12.5}, {u"x", 0, -1.0}, {u"-", 0, -1.0},
    };
    for (Case const& k : cases) {
        SCOPED_TRACE(TestSupport::toUtf8(k.input));
        double value = -1.0;
        EXPECT_EQ(cstr_scan(k.input, u"%f", &value), k.assigned);
        EXPECT_EQ(value, k.expected);
    }

    char16_t a = 0, b = 0;
    EXPECT_EQ(cstr_scan(u"x  y", u"%c%c", &a, &b), 2);
    EXPECT_EQ(a, u'x');
    EXPECT_EQ(b, u'y');
    EXPECT_EQ(cstr_scan(u"", u"%c", &a), 0);
}

TEST(Scan, TextBuffersKeepToTheirRoom)
{
    char16_t units[8];
    std::fill(std::begin(units), std::end(units), Guard);
    int rest = 0;
    EXPECT_EQ(cstr_scan(u"abcdef,9", u"%s,%d", 4, units, &rest), 1);
    EXPECT_EQ(std::u16string(units), u"abc");
    EXPECT_EQ(units[4], Guard);

    char bytes[8];
    std::fill(std::begin(bytes), std::end(bytes), '#');
    EXPECT_EQ(cstr_scan(u"ab\u00e9cdef", u"%a", 5, bytes), 1);
    EXPECT_EQ(std::string(bytes), "ab\xe9" "c");
    EXPECT_EQ(bytes[5], '#');

    std::fill(std::begin(units), std::end(units), Guard);
    EXPECT_EQ(cstr_scan(u"abc", u"%s", 0, units), 1);
    EXPECT_EQ(units[0], Guard);

    EXPECT_EQ(cstr_scan(u"name:7", u"%*s:%d", &rest), 1);
    EXPECT_EQ(rest, 7);

    EXPECT_EQ(cstr_scan(u"a b", u"%s %s", 8, units, 8, units + 4), 2);
    EXPECT_EQ(std::u16string(units), u"a");
    EXPECT_EQ(std::u16string(units + 4), u"b");
}

TEST(Scan, StringEntryPoints)
{
    TestSupport::OwnedString s(u"10 20");
    int x = 0, y = 0;
    EXPECT_EQ(string_scan(s, u"%d %d", &x, &y), 2);
    EXPECT_EQ(std::pair(x, y), std::pair(10, 20));
    x = y = 0;
    EXPECT_EQ(s.get()->scan(u"%d%d", &x, &y), 2);
    EXPECT_EQ(std::pair(x, y), std::pair(10, 20));
}

}
