// Stream2 over a small buffer: block hand-over, formatted lines, the typed
// operations of each mode and the fatal reports of the wrong direction.
#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <vector>

#include "nycore/io/stream2.h"
#include "nycore/system/boxed_values.h"
#include "nycore/system/runtime.h"
#include "nycore/text/string_functions.h"
#include "tests/support/child_process.h"
#include "tests/support/strings.h"

using namespace NyCore;
using namespace NyCore::IO;

namespace {

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

TEST(Stream2, AUnitNeverStraddlesTwoBlocks)
{
    BlockStream stream(4);
    stream.putchar(u'a');
    stream.putchar(u'b');
    EXPECT_TRUE(stream.blocks.empty()) << "two units fill the buffer but do not flush it";
    stream.putchar(u'c');
    ASSERT_EQ(stream.blocks.size(), 1u);
    EXPECT_EQ(stream.blocks[0], units(u"ab"));
    EXPECT_EQ(stream.written(), units(u"abc"));
    EXPECT_EQ(stream.get$length(), 6);

    BlockStream odd(4);
    odd.putbyte(1);
    odd.putchar(u'x');
    odd.putchar(u'y');
    ASSERT_EQ(odd.blocks.size(), 1u);
    EXPECT_EQ(odd.blocks[0], std::string("\x01x\0", 3)) << "the fourth byte stays unused";
}

TEST(Stream2, PutlineFillsFieldsAndEndsWithALineFeed)
{
    struct Case {
        String const* format;
        std::u16string text;
    } const cases[] = {
        {u"{0}"_str, u"42\n"},
        {u"x = {0}, again {0}"_str, u"x = 42, again 42\n"},
        {u"no fields"_str, u"no fields\n"},
    };
    for (auto const& c : cases) {
        SCOPED_TRACE(TestSupport::toUtf8(c.format));
        BlockStream stream(4);
        Integer32 value(42);
        stream.putline(c.format, &value);
        EXPECT_EQ(stream.written(), units(c.text));
    }
    BlockStream stream(8);
    stream.append(u"ab"_str);
    stream.putchar(u'-', 3);
    EXPECT_EQ(stream.written(), units(u"ab---"));
}

TEST(Stream2, TypedOperationsRoundTripInTextAndBinary)
{
    auto* bytes = array_alloc(1, 3);
    static_cast<unsigned char*>(bytes->data())[0] = 1;
    static_cast<unsigned char*>(bytes->data())[1] = 2;
    static_cast<unsigned char*>(bytes->data())[2] = 255;

    BlockStream text(64);
    EXPECT_EQ(text.get$mode(), StreamMode::WriteText);
    text.writeInt(-12);
    text.writeChar(u' ');
    text.writeUint(4000000000u);
    text.writeChar(u' ');
    text.writeBool(true);
    text.writeChar(u' ');
    text.writeByte(300);
    text.writeChar(u' ');
    text.writeString(u"hi there"_str);
    text.writeArray(bytes);
    std::string written = text.written();
    EXPECT_EQ(written, units(u"-12 4000000000 1 44 8 hi there3 1 2 255"));

    BlockStream reader(6, written);
    reader.set$mode(StreamMode::ReadText);
    EXPECT_EQ(reader.modes, std::vector<int>{0});
    EXPECT_EQ(reader.readInt(), -12);
    EXPECT_EQ(reader.readUint(), 4000000000u);
    EXPECT_TRUE(reader.readBool());
    EXPECT_EQ(reader.readByte(), 44);
    EXPECT_EQ(reader.readChar(), u' ');
    String* s = reader.readString();
    EXPECT_EQ(TestSupport::toU16(s), u"hi there");
    string_free(s);
    Collections::ArrayBase* back = reader.readArray();
    ASSERT_EQ(back->length, 3);
    EXPECT_EQ(static_cast<unsigned char*>(back->data())[2], 255);
    array_delete(back);
    EXPECT_EQ(reader.getchar(), -1);

    BlockStream binary(64);
    binary.set$mode(StreamMode::WriteBinary);
    binary.writeInt(0x01020304);
    binary.writeChar(u'\u20ac');
    binary.writeString(u"A"_str);
    binary.writeBool(true);
    binary.writeArray(bytes);
    written = binary.written();
    EXPECT_EQ(written, std::string("\x04\x03\x02\x01\xac\x20\x01\0\0\0A\0\x01\x03\0\0\0\x01\x02\xff", 20));

    BlockStream binaryReader(3, written);
    binaryReader.set$mode(StreamMode::ReadBinary);
    EXPECT_EQ(binaryReader.readInt(), 0x01020304);
    EXPECT_EQ(binaryReader.readChar(), u'\u20ac');
    s = binaryReader.readString();
    EXPECT_EQ(TestSupport::toU16(s), u"A");
    string_free(s);
    EXPECT_TRUE(binaryReader.readBool());
    back = binaryReader.readArray();
    ASSERT_EQ(back->length, 3);
    EXPECT_EQ(static_cast<unsigned char*>(back->data())[1], 2);
    array_delete(back);
    EXPECT_EQ(binaryReader.getbyte(), -1);
    array_delete(bytes);
}

TEST(Stream2, GetcharSignExtendsAndEndsWithMinusOne)
{
    BlockStream stream(4, std::string("\x01\x80" "A\0" "B", 5));
    stream.set$mode(StreamMode::ReadText);
    EXPECT_EQ(stream.getchar(), -32767);
    EXPECT_EQ(stream.getchar(), u'A');
    EXPECT_EQ(stream.getbyte(), 'B');
    EXPECT_EQ(stream.getchar(), -1);
    EXPECT_EQ(stream.get$length(), 5);
}

TEST(Stream2, WrongDirectionsAndSeekingAreFatal)
{
    struct Case {
        char const* name;
        std::function<void(BlockStream&)> body;
        std::string report;
    } const cases[] = {
        {"fresh stream reads", [](BlockStream& s) { s.readInt(); },
            "unhandeled exception: NyCore.IO.CannotReadInWriteModeException\nCannot read from a stream when in write mode.\n"},
        {"binary writer reads", [](BlockStream& s) { s.set$mode(3); s.readString(); },
            "unhandeled exception: NyCore.IO.CannotReadInWriteModeException\nCannot read from a stream when in write mode.\n"},
        {"text reader writes", [](BlockStream& s) { s.set$mode(0); s.writeInt(1); },
            "unhandeled exception: NyCore.IO.CannotWriteInReadModeException\nCannot write to a stream when in read mode.\n"},
        {"binary reader writes", [](BlockStream& s) { s.set$mode(2); s.writeArray(nullptr); },
            "unhandeled exception: NyCore.IO.CannotWriteInReadModeException\nCannot write to a stream when in read mode.\n"},
        {"seek", [](BlockStream& s) { s.seek(0, 0); },
            "unhandeled exception: NyCore.IO.SeekNotSupportedException\nSeeking is not supported by this stream.\n"},
        {"mode 4", [](BlockStream& s) { s.set$mode(4); }, "unhandeled exception: NyCore.InvalidParameterException\nInvalid paramiter.\n"},
        {"no room", [](BlockStream& s) { s.setBuffer(s.storage, 0, 1); s.putchar(u'x'); },
            "unhandeled exception: NyCore.OutOfBoundsException\nOperation would result in out-of-bounds error.\n"},
    };
    for (auto const& c : cases) {
        SCOPED_TRACE(c.name);
        auto result = TestSupport::runInChild([&] {
            BlockStream stream(8);
            c.body(stream);
        });
        EXPECT_EQ(result.exitCode, System::FatalExitCode);
        EXPECT_EQ(result.output, c.report);
    }
    BlockStream stream(8);
    EXPECT_TRUE(stream.get$writeable());
    EXPECT_FALSE(stream.get$readable());
    EXPECT_FALSE(stream.get$seekable());
}
