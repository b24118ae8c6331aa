// Tests of TextBuffer: growth, editing operations, ownership hand-over and
// the fatal reports of bad positions and sizes.
#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <vector>

#include "nycore/text/string_functions.h"
#include "nycore/text/text_buffer.h"
#include "tests/support/child_process.h"
#include "tests/support/strings.h"

using NyCore::String;
using NyCore::Text::EmptyString;
using NyCore::Text::TextBuffer;
using TestSupport::toU16;
using TestSupport::toUtf8;

namespace {

void expectTerminated(TextBuffer const& buffer)
{
    EXPECT_EQ(buffer.units()[buffer.get$length()], 0) << "text not terminated";
}

}

TEST(TextBuffer, GrowsAndCopies)
{
    TextBuffer buffer;
    EXPECT_EQ(buffer.get$text(), EmptyString);
    for (int i = 0; i < 21; ++i) {
        buffer.append(static_cast<char16_t>(u'a' + i));
        EXPECT_GE(buffer.get$capacity(), buffer.get$length() + 1) << "room for the terminator";
    }
    EXPECT_EQ(TextBuffer(0).get$capacity(), 1) << "room for the terminator";
    EXPECT_EQ(toU16(buffer.get$text()), u"abcdefghijklmnopqrstu");
    TextBuffer copy(TestSupport::OwnedString(u"hello"));
    EXPECT_EQ(toU16(copy.get$text()), u"hello");
    expectTerminated(copy);
}

TEST(TextBuffer, EditingOperations)
{
    struct Case {
        char const* name;
        std::u16string start;
        std::function<void(TextBuffer&)> edit;
        std::u16string expected;
    };
    String const* xyz = u"xyz"_str;
    std::vector<Case> const cases = {
        {"append null", u"ab", [](TextBuffer& b) { b.append(static_cast<String const*>(nullptr)); }, u"ab"},
        {"append run", u"ab", [&](TextBuffer& b) { b.append(xyz, 1, 2); }, u"abyz"},
        {"append empty run at end", u"ab", [&](TextBuffer& b) { b.append(xyz, 3, 0); }, u"ab"},
        {"append own text", u"abc", [](TextBuffer& b) { b.append(b.get$text()); }, u"abcabc"},
        {"append 5 radix 10 width 3", u"", [](TextBuffer& b) { b.append(5, 10, 3); }, u"005"},
        {"insert unit at end", u"ab", [](TextBuffer& b) { b.insert(2, u'c'); }, u"abc"},
        {"insert string in middle", u"ad", [](TextBuffer& b) { b.insert(1, u"bc"_str); }, u"abcd"},
        {"insert own text", u"ab", [](TextBuffer& b) { b.insert(1, b.get$text()); }, u"aabb"},
        {"remove middle", u"abcdef", [](TextBuffer& b) { b.remove(1, 2); }, u"adef"},
        {"remove cut at end", u"abcdef", [](TextBuffer& b) { b.remove(4, 100); }, u"abcd"},
        {"reverse all", u"abcde", [](TextBuffer& b) { b.reverse(); }, u"edcba"},
        {"reverse run", u"abcdef", [](TextBuffer& b) { b.reverse(1, 3); }, u"adcbef"},
        {"reverse run cut at end", u"abcdef", [](TextBuffer& b) { b.reverse(3, 50); }, u"abcfed"},
        {"reverse at length", u"abc", [](TextBuffer& b) { b.reverse(3, 2); }, u"abc"},
        {"resize cuts", u"abcdef", [](TextBuffer& b) { b.resize(2); }, u"ab"},
        {"resize reserves", u"abc", [](TextBuffer& b) { b.resize(100); }, u"abc"},
        {"set", u"abc", [&](TextBuffer& b) { b.set(xyz); }, u"xyz"},
        {"set own text", u"abc", [](TextBuffer& b) { b.set(b.get$text()); }, u"abc"},
        {"clear", u"abc", [](TextBuffer& b) { b.clear(); }, u""},
        {"reset", u"abc", [](TextBuffer& b) { b.reset(); }, u""},
        {"reset of new buffer", u"", [](TextBuffer& b) { b.reset(); }, u""},
    };
    for (auto const& c : cases) {
        SCOPED_TRACE(c.name);
        TextBuffer buffer;
        for (char16_t unit : c.start)
            buffer.append(unit);
        c.edit(buffer);
        EXPECT_EQ(toU16(buffer.get$text()), c.expected);
        expectTerminated(buffer);
        if (buffer.get$text() != EmptyString) {
            EXPECT_GE(buffer.get$capacity(), buffer.get$length() + 1);
        }
    }
}

TEST(TextBuffer, AbandonStringHandsOverTheText)
{
    TextBuffer fresh;
    String* empty = fresh.abandonString();
    ASSERT_NE(empty, nullptr);
    EXPECT_NE(empty, EmptyString) << "the caller frees it";
    string_free(empty);

    TextBuffer buffer;
    buffer.append(u"text"_str);
    String* text = buffer.abandonString();
    EXPECT_EQ(buffer.get$text(), EmptyString);
    buffer.append(u'x');
    EXPECT_EQ(toU16(text), u"text") << "the handed-over text stays the caller's";
    string_free(text);
}

TEST(TextBuffer, BadPositionsAndSizesAreFatal)
{
    struct Case {
        char const* name;
        std::function<void(TextBuffer&)> edit;
        std::string report;
    };
    std::string const bounds = "unhandeled exception: NyCore.OutOfBoundsException\n";
    std::string const dimension = "unhandeled exception: NyCore.InvalidDimensionException\n";
    std::vector<Case> const cases = {
        {"negative capacity", [](TextBuffer&) { TextBuffer b(-1); }, dimension + "-1 is an invalid dimension size.\n"},
        {"append run past the end", [](TextBuffer& b) { b.append(u"abc"_str, 2, 5); },
         bounds + "Index 7 is not within the range 0 to 3.\n"},
        {"insert past the end", [](TextBuffer& b) { b.insert(4, u'x'); }, bounds + "Index 4 is not within the range 0 to 3.\n"},
        {"insert before the start", [](TextBuffer& b) { b.insert(-1, u"x"_str); },
         bounds + "Index -1 is not within the range 0 to 3.\n"},
        {"remove at the length", [](TextBuffer& b) { b.remove(3, 1); }, bounds + "Index 3 is not within the range 0 to 2.\n"},
        {"reverse negative count", [](TextBuffer& b) { b.reverse(0, -1); },
         "unhandeled exception: NyCore.InvalidParameterException\nInvalid paramiter.\n"},
    };
    for (auto const& c : cases) {
        SCOPED_TRACE(c.name);
        TestSupport::expectReport([&] {
            TextBuffer buffer(u"abc"_str);
            c.edit(buffer);
        }, c.report);
    }
}
