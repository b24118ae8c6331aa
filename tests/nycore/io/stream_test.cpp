// The text primitives over memory streams: what the writers collect, how the
// readers split, scan and hand out their input, and StreamTextWriter.
#include <gtest/gtest.h>

#include <cstring>
#include <string>

#include "nycore/io/memory_stream.h"
#include "nycore/io/stream_text_writer.h"
#include "nycore/system/boxed_values.h"
#include "nycore/text/parameter_list_formatter.h"
#include "nycore/text/string_functions.h"
#include "tests/support/strings.h"

using namespace NyCore;
using namespace NyCore::IO;
using TestSupport::makeString;
using TestSupport::toU16;

namespace {

std::u16string takeText(StreamWriter* writer)
{
    String* text = memwriter_get_text(writer);
    std::u16string result = toU16(text);
    string_free(text);
    return result;
}

}

TEST(MemoryStream, WriterPrimitivesCollectTheirUnits)
{
    char16_t const run[] = u"abc\0def";
    struct Case {
        char const* name;
        void (*write)(StreamWriter* writer, char16_t const* run);
        std::u16string text;
    } const cases[] = {
        {"put_char", [](StreamWriter* w, char16_t const*) { writer_put_char(w, u'\u20ac'); }, u"\u20ac"},
        {"put_string keeps 0 units", [](StreamWriter* w, char16_t const* r) {
             String* s = String::create(r, 0, 5);
             writer_put_string(w, s);
             string_free(s);
         },
            std::u16string(u"abc\0d", 5)},
        {"put_cstr stops at 0", [](StreamWriter* w, char16_t const* r) { writer_put_cstr(w, r); }, u"abc"},
        {"put_charr stops at max", [](StreamWriter* w, char16_t const* r) { writer_put_charr(w, r, 2); }, u"ab"},
        {"put_line", [](StreamWriter* w, char16_t const*) { writer_put_line(w, u"x"_str); }, u"x\n"},
        {"fill", [](StreamWriter* w, char16_t const*) { writer_fill(w, u'-', 3); }, u"---"},
        {"print", [](StreamWriter* w, char16_t const*) { writer_print(w, u"%d|%5s|%a", -42, u"ab", "c"); }, u"-42|   ab|c"},
        {"null string", [](StreamWriter* w, char16_t const*) { writer_put_string(w, nullptr); }, u""},
    };
    for (auto const& c : cases) {
        SCOPED_TRACE(c.name);
        StreamWriter writer;
        memwriter_construct(&writer);
        c.write(&writer, run);
        EXPECT_EQ(takeText(&writer), c.text);
        memwriter_destroy(&writer);
    }
}

TEST(MemoryStream, WriterGrowsPastManyBlocks)
{
    StreamWriter writer;
    memwriter_construct(&writer);
    std::u16string expected;
    for (int i = 0; i < 700; ++i) {
        writer_print(&writer, u"%d,", i);
        for (char digit : std::to_string(i))
            expected += static_cast<char16_t>(digit);
        expected += u',';
    }
    EXPECT_EQ(takeText(&writer), expected);
    writer_put_char(&writer, u'!');
    EXPECT_EQ(takeText(&writer), expected + u"!") << "the writer stays open after taking its text";
    memwriter_destroy(&writer);
}

TEST(MemoryStream, StreamTextWriterFormatsIntoTheStream)
{
    StreamWriter writer;
    memwriter_construct(&writer);
    StreamTextWriter text(&writer);
    Integer32 value(7);
    Object* parameters[] = {&value, nullptr};
    Text::ParameterListFormatter::applyFormat(&text, parameters, u"<{0}>"_str);
    text.append(u'.');
    EXPECT_EQ(takeText(&writer), u"<7>.");
    memwriter_destroy(&writer);
}

TEST(MemoryStream, ReaderSplitsAndScansItsInput)
{
    String* input = makeString(u"  alpha beta\r\n12 xyz\nrest");
    StreamReader reader;
    memreader_construct(&reader, input);
    string_free(input);

    EXPECT_EQ(reader_ignore(&reader, nullptr), 2);
    String* word = reader_get_str(&reader, nullptr);
    EXPECT_EQ(toU16(word), u"alpha");
    string_free(word);
    EXPECT_EQ(reader_get_char(&reader), u' ');
    word = reader_get_str(&reader, u"\r\n"_str);
    EXPECT_EQ(toU16(word), u"beta");
    string_free(word);
    EXPECT_EQ(reader_ignore(&reader, u"\r\n"_str), 2);

    int number = 0;
    char16_t text[8] = {};
    EXPECT_EQ(reader_scan(&reader, u"%d %s", &number, 8, text), 2);
    EXPECT_EQ(number, 12);
    EXPECT_EQ(std::u16string(text), u"xyz");

    char16_t run[3];
    EXPECT_EQ(reader_get_charr(&reader, run, 3), 3);
    EXPECT_EQ(std::u16string(run, 3), u"res");
    Collections::ArrayBase* bytes = reader_get_array(&reader, 4);
    ASSERT_NE(bytes, nullptr);
    EXPECT_EQ(bytes->length, 2) << "only one unit was left";
    EXPECT_EQ(std::memcmp(bytes->data(), "t\0", 2), 0);
    array_delete(bytes);

    EXPECT_EQ(reader_get_str(&reader, nullptr), nullptr);
    EXPECT_EQ(reader_scan(&reader, u"%d", &number), -1);
    EXPECT_EQ(reader_get_char(&reader), 0);
    EXPECT_TRUE(reader_is_eof(&reader));
    memreader_destroy(&reader);
}

TEST(MemoryStream, EmptyInputEndsAtOnce)
{
    StreamReader reader;
    memreader_construct(&reader, nullptr);
    EXPECT_EQ(reader_buffer(&reader), nullptr);
    EXPECT_EQ(reader_get_char(&reader), 0);
    EXPECT_TRUE(reader_is_eof(&reader));
    memreader_destroy(&reader);
}
