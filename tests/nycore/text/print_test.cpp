// Tests of formatted printing (flags, widths, every conversion, the '%f'
// rendering, cstr_print_len as a bound no print ever passes) and of formatted
// scanning (skipped assignments, literals, saturation, bounded string buffers).
#include <gtest/gtest.h>

#include <algorithm>
#include <bit>
#include <cmath>
#include <cstdarg>
#include <cstdint>
#include <limits>
#include <random>
#include <string>
#include <utility>
#include <vector>

#include "nycore/text/print.h"
#include "nycore/text/string_functions.h"
#include "tests/support/strings.h"

namespace {

constexpr char16_t Guard = 0xBEEF;

// Prints through cstr_printv into a guarded buffer of exactly the bound and
// checks that nothing lands behind it; returns the text.
std::u16string printed(char16_t const* fmt, ...)
{
    va_list args;
    va_start(args, fmt);
    va_list measure;
    va_copy(measure, args);
    int bound = cstr_print_len(fmt, measure);
    va_end(measure);
    std::vector<char16_t> buffer(static_cast<std::size_t>(bound) + 64, Guard);
    int written = cstr_printv(buffer.data(), fmt, args);
    va_end(args);
    EXPECT_LT(written, bound) << TestSupport::toUtf8(fmt);
    EXPECT_EQ(buffer[static_cast<std::size_t>(written)], 0);
    auto stray = std::find_if(buffer.begin() + bound, buffer.end(), [](char16_t unit) { return unit != Guard; });
    EXPECT_TRUE(stray == buffer.end()) << "a write past the bound for " << TestSupport::toUtf8(fmt);
    return std::u16string(buffer.data(), static_cast<std::size_t>(written));
}

TEST(Print, Conversions)
{
    double const inf = std::numeric_limits<double>::infinity();
    struct Case { char const* what; std::u16string actual; char16_t const* expected; } const cases[] = {
        // integers and flags
        {"%5d", printed(u"%5d", 42), u"   42"}, {"%-5d", printed(u"%-5d|", 42), u"42   |"},
        {"%05d", printed(u"%05d", -5), u"000-5"}, {"%05d", printed(u"%05d", 42), u"00042"},
        {"%+d", printed(u"%+d %+d %+i", 7, -7, 0), u"+7 -7 +0"}, {"%#x", printed(u"%#x", 255), u"0xff"},
        {"%X", printed(u"%X", 0xBEEF), u"BEEF"}, {"%x neg", printed(u"%x", -1), u"ffffffff"},
        {"%u", printed(u"%u", -1), u"4294967295"}, {"%o", printed(u"%o", 8), u"10"},
        {"%b", printed(u"%b", 5), u"101"}, {"%d min", printed(u"%d", INT32_MIN), u"-2147483648"},
        {"%#08x", printed(u"%#08x", 255), u"00000xff"}, {"% d", printed(u"% d", 3), u"3"},
        // text
        {"literal", printed(u"plain text"), u"plain text"}, {"%%", printed(u"100%%"), u"100%"},
        {"%c", printed(u"[%c%c]", u'a', 0x263A), u"[a\u263a]"}, {"%3c", printed(u"%3c", u'x'), u"  x"},
        {"%s", printed(u"<%s>", u"abc"), u"<abc>"},
        {"%s null", printed(u"%s", static_cast<char16_t const*>(nullptr)), u"(null)"},
        {"%-6s", printed(u"%-6s|", u"ab"), u"ab    |"}, {"%6s", printed(u"%6s", u"ab"), u"    ab"},
        {"%a", printed(u"%a", "bytes\xe9"), u"bytes\u00e9"},
        {"%a null", printed(u"%a", static_cast<char const*>(nullptr)), u"(null)"},
        {"unknown", printed(u"a%qb%d", 5), u"ab5"}, {"trailing %", printed(u"ab%"), u"ab"},
        {"trailing flags", printed(u"ab%-5"), u"ab"},
        // reals
        {"%f", printed(u"%f", 3.25), u"3.25000"}, {"%.5f 0.3", printed(u"%.5f", 0.3), u"0.30000"},
        {"%.1f neg", printed(u"%.1f", -0.75), u"-0.7"}, {"%8.2f", printed(u"%8.2f", -1.5), u"   -1.50"},
        {"%08.2f", printed(u"%08.2f", 1.5), u"    1.50"}, {"%-8.2f", printed(u"%-8.2f|", 1.5), u"1.50    |"},
        {"%+.1f", printed(u"%+.1f", 2.0), u"+2.0"}, {"%f inf", printed(u"%f %f", inf, -inf), u"inf -inf"},
        {"%f nan", printed(u"%5f", std::nan("")), u"  nan"},
        {"%.3f big", printed(u"%.3f", 1e22), u"10000000000000000000000.000"},
    };
    for (Case const& k : cases)
        EXPECT_EQ(TestSupport::toUtf8(k.actual), TestSupport::toUtf8(k.expected)) << k.what;
}

TEST(Print, LengthIsABoundForEveryValue)
{
    std::mt19937_64 random(20240607);
    for (int i = 0; i < 3000; ++i) {
        std::uint64_t bits = random();
        auto value = std::bit_cast<double>(bits);
        auto integer = static_cast<int>(bits >> 32);
        auto precision = static_cast<char16_t>(random() % 40);
        std::u16string fmt = u"%+.0f|%.0f|%+#5d|%#b|%-3X|%c";
        fmt[3] = static_cast<char16_t>(u'0' + precision % 10);
        fmt[8] = static_cast<char16_t>(u'0' + precision / 10);
        printed(fmt.c_str(), value, -value, integer, integer, integer, integer);
    }
    std::u16string huge = printed(u"%.3f", -1.7976931348623157e308);
    EXPECT_EQ(huge.size(), 1u + 309u + 4u);
}

// string_print, string_scan and String::scan; a %s field ends at the next literal.
TEST(Print, StringEntryPoints)
{
    TestSupport::OwnedString s(string_print(u"%s=%d;", u"width", 10));
    EXPECT_EQ(s.text(), u"width=10;");
    EXPECT_EQ(s.get()->count, 9);
    EXPECT_EQ(TestSupport::OwnedString(string_print(u"")).get()->count, 0);
    char16_t key[8];
    int x = 0;
    EXPECT_EQ(string_scan(s, u"%s=%d;", 8, key, &x), 2);
    EXPECT_EQ(std::pair(std::u16string(key), x), std::pair(std::u16string(u"width"), 10));
    int y = 0;
    EXPECT_EQ(TestSupport::OwnedString(u"10 20").get()->scan(u"%d%d", &x, &y), 2);
    EXPECT_EQ(std::pair(x, y), std::pair(10, 20));
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
        // skipped assignments
        {u"5 7", u"%*d %d", 1, 7}, {u"name:7", u"%*s:%d", 1, 7},
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

    EXPECT_EQ(cstr_scan(u"a b", u"%s %s", 8, units, 8, units + 4), 2);
    EXPECT_EQ(std::u16string(units), u"a");
    EXPECT_EQ(std::u16string(units + 4), u"b");
}

}
