// Memory streams (writing, splitting and scanning text) and Stream2 over a small buffer.
#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <vector>

#include "nycore/io/memory_stream.h"
#include "nycore/io/stream2.h"
#include "nycore/io/stream_text_writer.h"
#include "nycore/system/boxed_values.h"
#include "nycore/text/parameter_list_formatter.h"
#include "tests/support/child_process.h"
#include "tests/support/strings.h"

using namespace NyCore;
using namespace NyCore::IO;
using TestSupport::OwnedString;

namespace {

std::u16string takeText(StreamWriter* writer)
{
    return OwnedString(memwriter_get_text(writer)).text();
}

// Writing: records every block that putblock receives. Reading: serves
// `source` in blocks of the buffer's size.
class BlockStream : public Stream2 {
public:
    // A reading stream starts with an empty buffer, a writing one with all its room.
    explicit BlockStream(int size, std::string source = {}) : size(size), source(std::move(source))
    {
        setBuffer(storage, 0, this->source.empty() ? size : 0);
    }
    void putblock() override
    {
        blocks.emplace_back(reinterpret_cast<char*>(blockStart), static_cast<std::size_t>(count - counted));
        counted = count;
    }
    bool getblock() override
    {
        std::string part = source.substr(served, static_cast<std::size_t>(size));
        served += part.size();
        part.copy(reinterpret_cast<char*>(storage), part.size());
        setBuffer(storage, 0, static_cast<int>(part.size()));
        return !part.empty();
    }
    void chmode(int newMode) override { modes.push_back(newMode); }
    // Every byte written: the blocks handed over and what the buffer still holds.
    std::string written() const
    {
        std::string all;
        for (auto const& block : blocks)
            all += block;
        return all + std::string(reinterpret_cast<char const*>(blockStart), static_cast<std::size_t>(position - blockStart));
    }

    int size;
    std::string source;
    std::size_t served = 0;
    unsigned char storage[64] = {};
    std::vector<std::string> blocks;
    std::vector<int> modes;
    std::int64_t counted = 0;
};

std::string units(std::u16string const& text)
{
    return std::string(reinterpret_cast<char const*>(text.data()), 2 * text.size());
}

}

TEST(MemoryStream, WriterPrimitivesCollectTheirUnits)
{
    static char16_t const run[] = u"abc\0def";
    struct Case { char const* name; void (*write)(StreamWriter* writer); std::u16string text; } const cases[] = {
        {"put_char", [](StreamWriter* w) { writer_put_char(w, u'\u20ac'); }, u"\u20ac"},
        {"put_string keeps 0 units", [](StreamWriter* w) { writer_put_string(w, OwnedString(String::create(run, 0, 5))); }, std::u16string(u"abc\0d", 5)},
        {"put_cstr stops at 0", [](StreamWriter* w) { writer_put_cstr(w, run); }, u"abc"},
        {"put_charr stops at max", [](StreamWriter* w) { writer_put_charr(w, run, 2); }, u"ab"},
        {"put_line", [](StreamWriter* w) { writer_put_line(w, u"x"_str); }, u"x\n"},
        {"fill", [](StreamWriter* w) { writer_fill(w, u'-', 3); }, u"---"},
        {"print", [](StreamWriter* w) { writer_print(w, u"%d|%5s|%a", -42, u"ab", "c"); }, u"-42|   ab|c"},
        {"null string", [](StreamWriter* w) { writer_put_string(w, nullptr); }, u""},
        {"StreamTextWriter", [](StreamWriter* w) {
             StreamTextWriter text(w);
             Integer32 value(7);
             Object* parameters[] = {&value, nullptr};
             Text::ParameterListFormatter::applyFormat(&text, parameters, u"<{0}>"_str);
             text.append(u'.');
         }, u"<7>."},
    };
    for (auto const& c : cases) {
        SCOPED_TRACE(c.name);
        StreamWriter writer;
        memwriter_construct(&writer);
        c.write(&writer);
        EXPECT_EQ(takeText(&writer), c.text);
        memwriter_destroy(&writer);
    }

    // A print longer than the local room, past many blocks.
    std::u16string expected;
    for (int i = 0; i < 3000; ++i)
        expected += static_cast<char16_t>(u'a' + i % 26);
    StreamWriter writer;
    memwriter_construct(&writer);
    writer_print(&writer, u"%s|%d", expected.c_str(), 7);
    expected += u"|7";
    EXPECT_EQ(takeText(&writer), expected);
    writer_put_char(&writer, u'!');
    EXPECT_EQ(takeText(&writer), expected + u"!") << "the writer stays open after taking its text";
    memwriter_destroy(&writer);
}

TEST(MemoryStream, ReaderSplitsAndScansItsInput)
{
    StreamReader reader;
    memreader_construct(&reader, OwnedString(u"  alpha beta\r\n12 xyz\nrest"));
    EXPECT_EQ(reader_ignore(&reader, nullptr), 2);
    EXPECT_EQ(OwnedString(reader_get_str(&reader, nullptr)).text(), u"alpha");
    EXPECT_EQ(reader_get_char(&reader), u' ');
    EXPECT_EQ(OwnedString(reader_get_str(&reader, u"\r\n"_str)).text(), u"beta");
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

    memreader_construct(&reader, nullptr);
    EXPECT_EQ(reader_buffer(&reader), nullptr);
    EXPECT_EQ(reader_get_char(&reader), 0);
    EXPECT_TRUE(reader_is_eof(&reader));
    memreader_destroy(&reader);
}

TEST(Stream2, BlocksNeverSplitAUnitAndLinesFillTheirFields)
{
    BlockStream stream(4);
    stream.putchar(u'a');
    stream.putchar(u'b');
    EXPECT_TRUE(stream.blocks.empty()) << "two units fill the buffer but do not flush it";
    stream.putchar(u'c');
    EXPECT_EQ(stream.blocks, std::vector<std::string>{units(u"ab")});
    EXPECT_EQ(stream.written(), units(u"abc"));
    EXPECT_EQ(stream.get$length(), 6);
    BlockStream odd(4);
    odd.putbyte(1);
    odd.putchar(u'x');
    odd.putchar(u'y');
    EXPECT_EQ(odd.blocks, std::vector<std::string>{std::string("\x01x\0", 3)}) << "the fourth byte stays unused";

    struct Case { String const* format; std::u16string text; } const cases[] = {
        {u"{0}"_str, u"42\n"}, {u"x = {0}, again {0}"_str, u"x = 42, again 42\n"}, {u"no fields"_str, u"no fields\n"},
    };
    for (auto const& c : cases) {
        BlockStream lines(4);
        Integer32 value(42);
        lines.putline(c.format, &value);
        EXPECT_EQ(lines.written(), units(c.text)) << TestSupport::toUtf8(c.format);
    }
    BlockStream appended(8);
    appended.append(u"ab"_str);
    appended.putchar(u'-', 3);
    EXPECT_EQ(appended.written(), units(u"ab---"));
}

TEST(Stream2, TypedOperationsRoundTripInTextAndBinary)
{
    auto* bytes = array_alloc(1, 3);
    std::memcpy(bytes->data(), "\x01\x02\xff", 3);
    auto lastByte = [](Collections::ArrayBase* array) {
        int last = array->length == 3 ? static_cast<unsigned char*>(array->data())[2] : -1;
        array_delete(array);
        return last;
    };

    BlockStream text(64);
    EXPECT_EQ(text.get$mode(), StreamMode::WriteText);
    text.writeInt(-12); text.writeChar(u' '); text.writeUint(4000000000u); text.writeChar(u' ');
    text.writeBool(true); text.writeChar(u' '); text.writeByte(300); text.writeChar(u' ');
    text.writeString(u"hi there"_str); text.writeArray(bytes);
    EXPECT_EQ(text.written(), units(u"-12 4000000000 1 44 8 hi there3 1 2 255"));
    BlockStream reader(6, text.written());
    reader.set$mode(StreamMode::ReadText);
    EXPECT_EQ(reader.modes, std::vector<int>{0});
    EXPECT_EQ(reader.readInt(), -12);
    EXPECT_EQ(reader.readUint(), 4000000000u);
    EXPECT_TRUE(reader.readBool());
    EXPECT_EQ(reader.readByte(), 44);
    EXPECT_EQ(reader.readChar(), u' ');
    EXPECT_EQ(OwnedString(reader.readString()).text(), u"hi there");
    EXPECT_EQ(lastByte(reader.readArray()), 255);
    EXPECT_EQ(reader.getchar(), -1);

    BlockStream binary(64);
    binary.set$mode(StreamMode::WriteBinary);
    binary.writeInt(0x01020304); binary.writeChar(u'\u20ac'); binary.writeString(u"A"_str);
    binary.writeBool(true); binary.writeArray(bytes);
    EXPECT_EQ(binary.written(), std::string("\x04\x03\x02\x01\xac\x20\x01\0\0\0A\0\x01\x03\0\0\0\x01\x02\xff", 20));
    BlockStream binaryReader(3, binary.written());
    binaryReader.set$mode(StreamMode::ReadBinary);
    EXPECT_EQ(binaryReader.readInt(), 0x01020304);
    EXPECT_EQ(binaryReader.readChar(), u'\u20ac');
    EXPECT_EQ(OwnedString(binaryReader.readString()).text(), u"A");
    EXPECT_TRUE(binaryReader.readBool());
    EXPECT_EQ(lastByte(binaryReader.readArray()), 255);
    EXPECT_EQ(binaryReader.getbyte(), -1);
    array_delete(bytes);

    BlockStream signedUnits(4, std::string("\x01\x80" "A\0" "B", 5));
    signedUnits.set$mode(StreamMode::ReadText);
    EXPECT_EQ(signedUnits.getchar(), -32767);
    EXPECT_EQ(signedUnits.getchar(), u'A');
    EXPECT_EQ(signedUnits.getbyte(), 'B');
    EXPECT_EQ(signedUnits.getchar(), -1);
    EXPECT_EQ(signedUnits.get$length(), 5);
}

TEST(Stream2, WrongDirectionsAndSeekingAreFatal)
{
    struct Report { char const* type; char const* message; };
    Report const readInWrite{"NyCore.IO.CannotReadInWriteModeException", "Cannot read from a stream when in write mode."};
    Report const writeInRead{"NyCore.IO.CannotWriteInReadModeException", "Cannot write to a stream when in read mode."};
    struct Case { void (*body)(BlockStream& s); Report report; } const cases[] = {
        {[](BlockStream& s) { s.readInt(); }, readInWrite},
        {[](BlockStream& s) { s.set$mode(3); s.readString(); }, readInWrite},
        {[](BlockStream& s) { s.set$mode(0); s.writeInt(1); }, writeInRead},
        {[](BlockStream& s) { s.set$mode(2); s.writeArray(nullptr); }, writeInRead},
        {[](BlockStream& s) { s.seek(0, 0); }, {"NyCore.IO.SeekNotSupportedException", "Seeking is not supported by this stream."}},
        {[](BlockStream& s) { s.set$mode(4); }, {"NyCore.InvalidParameterException", "Invalid paramiter."}},
        {[](BlockStream& s) { s.setBuffer(s.storage, 0, 1); s.putchar(u'x'); },
            {"NyCore.OutOfBoundsException", "Operation would result in out-of-bounds error."}},
    };
    for (auto const& c : cases)
        TestSupport::expectException([&] { BlockStream stream(8); c.body(stream); }, c.report.type, c.report.message);
}
