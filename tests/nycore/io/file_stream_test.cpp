// File writers and readers: the bytes of the four encodings, byte-order-mark
// detection, the end of input, block boundaries, and failures reported or fatal.
#include <gtest/gtest.h>

#include <cstring>
#include <functional>

#include "nycore/io/file_stream.h"
#include "nycore/io/text_encoding.h"
#include "nycore/system/runtime.h"
#include "nycore/text/string_functions.h"
#include "tests/support/temp_folder.h"
#include "tests/support/child_process.h"
#include "tests/support/strings.h"

using namespace NyCore;
using namespace NyCore::IO;
using TestSupport::makeString;
using TestSupport::TempFolder;

namespace {

constexpr int SaveFlags = FileWrite | FileTruncate | FileCreate;

void writeText(TempFolder const& folder, std::string const& name, std::u16string const& text, int encoding)
{
    String* path = folder.string(name);
    String* content = makeString(text);
    StreamWriter writer;
    fwriter_construct(&writer, path, SaveFlags, encoding);
    writer_put_string(&writer, content);
    EXPECT_TRUE(fwriter_close(&writer));
    string_free(content);
    string_free(path);
}

std::u16string readUnits(StreamReader* reader)
{
    std::u16string text;
    for (char16_t unit = reader_get_char(reader); !reader_is_eof(reader); unit = reader_get_char(reader))
        text += unit;
    return text;
}

std::u16string readText(TempFolder const& folder, std::string const& name, int flags, int* encoding = nullptr)
{
    String* path = folder.string(name);
    StreamReader reader;
    freader_construct(&reader, path, flags);
    if (encoding)
        *encoding = reader.encoding;
    std::u16string text = readUnits(&reader);
    freader_close(&reader);
    string_free(path);
    return text;
}

}

TEST(FileStream, FourEncodingsAreWrittenByteExactAndReadBack)
{
    struct Case {
        int encoding;
        std::u16string text;
        std::string bytes;
        int readFlags;
    } const cases[] = {
        {0, u"Ab\n", std::string("A\0b\0\n\0", 6), ReaderRaw},
        {1, u"Ab\n\u00e9", "Ab\n\xe9", 0},
        {2, u"A\u20ac", std::string("\xff\xfe" "A\0\xac\x20", 6), 0},
        {3, u"A\u20ac", std::string("\xfe\xff\0A\x20\xac", 6), 0},
        {2, u"", "\xff\xfe", 0},
    };
    TempFolder folder;
    for (auto const& c : cases) {
        SCOPED_TRACE("encoding " + std::to_string(c.encoding) + " " + TestSupport::toUtf8(c.text));
        writeText(folder, "out.txt", c.text, c.encoding);
        EXPECT_EQ(TestSupport::readBytes(folder.at("out.txt")), c.bytes);
        int encoding = -1;
        EXPECT_EQ(readText(folder, "out.txt", c.readFlags, &encoding), c.text);
        EXPECT_EQ(encoding, c.encoding);
    }
}

TEST(FileStream, ByteOrderMarkChoosesTheEncoding)
{
    struct Case {
        std::string bytes;
        int encoding;
        std::u16string text;
    } const cases[] = {
        {std::string("\xff\xfe" "A\0B\0", 6), 2, u"AB"},
        {std::string("\xfe\xff\0A\0B", 6), 3, u"AB"},
        {"AB", 1, u"AB"},
        {"\xfe", 1, u"\u00fe"},
        {"\xff\xfd" "x", 1, u"\u00ff\u00fdx"},
        {"", 1, u""},
    };
    TempFolder folder;
    for (auto const& c : cases) {
        SCOPED_TRACE(c.bytes);
        TestSupport::writeBytes(folder.at("in.txt"), c.bytes);
        int encoding = -1;
        EXPECT_EQ(readText(folder, "in.txt", 0, &encoding), c.text);
        EXPECT_EQ(encoding, c.encoding);
    }
}

TEST(FileStream, EncodingOneKeepsLowBytesWhileTheChosenEncodingKeepsTheText)
{
    std::u16string const text = u"\u03c0 \u20ac!";
    TempFolder folder;
    writeText(folder, "narrow.txt", text, 1);
    EXPECT_EQ(TestSupport::readBytes(folder.at("narrow.txt")), "\xc0 \xac!");
    EXPECT_EQ(readText(folder, "narrow.txt", 0), u"\u00c0 \u00ac!");

    String* content = makeString(text);
    EXPECT_EQ(encoding_choose(content), 2);
    EXPECT_EQ(encoding_choose(u"caf\u00e9"_str), 1);
    writeText(folder, "wide.txt", text, encoding_choose(content));
    EXPECT_EQ(TestSupport::readBytes(folder.at("wide.txt")), std::string("\xff\xfe\xc0\x03 \0\xac\x20!\0", 10));
    EXPECT_EQ(readText(folder, "wide.txt", 0), text);
    string_free(content);
}

TEST(FileStream, ReadingPastTheEndKeepsGivingZero)
{
    TempFolder folder;
    TestSupport::writeBytes(folder.at("in.txt"), "ab");
    String* path = folder.string("in.txt");
    StreamReader reader;
    ASSERT_TRUE(freader_open(&reader, path, 0, nullptr));
    EXPECT_EQ(reader_get_char(&reader), u'a');
    EXPECT_EQ(reader_get_char(&reader), u'b');
    EXPECT_FALSE(reader_is_eof(&reader));
    for (int i = 0; i < 3; ++i) {
        EXPECT_EQ(reader_get_char(&reader), 0) << "call " << i;
        EXPECT_TRUE(reader_is_eof(&reader)) << "call " << i;
    }
    EXPECT_EQ(reader_buffer(&reader), nullptr);
    EXPECT_EQ(freader_seek(&reader, 1, 0), 1);
    EXPECT_FALSE(reader_is_eof(&reader));
    EXPECT_EQ(reader_get_char(&reader), u'b');
    EXPECT_FALSE(reader_has_failed(&reader));
    freader_close(&reader);
    string_free(path);
}

TEST(FileStream, AnOddLastByteOfUtf16IsNeitherLostNorOverrun)
{
    struct Case {
        std::string bytes;
        std::u16string text;
    } const cases[] = {
        {std::string("\xff\xfe" "A\0B", 5), u"A\ufffd"},
        {std::string("\xfe\xff\0AB", 5), u"A\ufffd"},
        {std::string("\xff\xfe" "C", 3), u"\ufffd"},
    };
    TempFolder folder;
    for (auto const& c : cases) {
        SCOPED_TRACE(TestSupport::toUtf8(c.text));
        TestSupport::writeBytes(folder.at("odd.txt"), c.bytes);
        String* path = folder.string("odd.txt");
        StreamReader reader;
        freader_construct(&reader, path, 0);
        EXPECT_EQ(readUnits(&reader), c.text);
        EXPECT_TRUE(reader_has_failed(&reader));
        EXPECT_EQ(reader_get_char(&reader), 0);
        freader_close(&reader);
        string_free(path);
    }
}

TEST(FileStream, TextCrossesTheBlockBoundaries)
{
    std::u16string text;
    for (int i = 0; i < 1500; ++i)
        text += static_cast<char16_t>(u'a' + i % 26);
    text[511] = u'\u0416';
    text[512] = u'\u00e9';
    TempFolder folder;
    for (int encoding = 0; encoding <= 3; ++encoding) {
        SCOPED_TRACE(encoding);
        String* path = folder.string("big.txt");
        StreamWriter writer;
        fwriter_construct(&writer, path, SaveFlags, encoding);
        // Units one by one up to the boundary, then in runs that straddle it.
        for (int i = 0; i < 500; ++i)
            writer_put_char(&writer, text[static_cast<std::size_t>(i)]);
        writer_put_charr(&writer, text.data() + 500, 600);
        String* rest = makeString(text.substr(1100));
        writer_put_string(&writer, rest);
        string_free(rest);
        ASSERT_TRUE(fwriter_close(&writer));

        std::string bytes = TestSupport::readBytes(folder.at("big.txt"));
        std::size_t mark = encoding >= 2 ? 2 : 0;
        ASSERT_EQ(bytes.size(), mark + text.size() * (encoding == 1 ? 1 : 2));
        std::size_t at = mark + 511 * (encoding == 1 ? 1 : 2);
        std::string expected = encoding == 1 ? "\x16\xe9" : encoding == 3 ? std::string("\x04\x16\0\xe9", 4) : std::string("\x16\x04\xe9\0", 4);
        EXPECT_EQ(bytes.substr(at, expected.size()), expected);

        std::u16string read;
        if (encoding == 1)
            text[511] = u'\u0016';
        read = readText(folder, "big.txt", encoding == 0 ? ReaderRaw : 0);
        EXPECT_EQ(read, text);
        text[511] = u'\u0416';
        string_free(path);
    }
}

TEST(FileStream, ReaderBufferHoldsAllRemainingUnits)
{
    std::string bytes(1300, 'x');
    bytes[0] = 'S';
    bytes[1299] = 'E';
    TempFolder folder;
    TestSupport::writeBytes(folder.at("in.txt"), bytes);
    String* path = folder.string("in.txt");
    StreamReader reader;
    freader_construct(&reader, path, 0);
    EXPECT_EQ(reader_get_char(&reader), u'S');
    Collections::ArrayBase* all = reader_buffer(&reader);
    ASSERT_NE(all, nullptr);
    EXPECT_EQ(all->elementSize, 1);
    ASSERT_EQ(all->length, 2 * 1299);
    auto const* units = static_cast<char16_t const*>(all->data());
    EXPECT_EQ(units[0], u'x');
    EXPECT_EQ(units[1298], u'E');
    array_delete(all);
    EXPECT_EQ(reader_buffer(&reader), nullptr);
    freader_close(&reader);
    string_free(path);
}

TEST(FileStream, SeekCountsCharactersBehindTheMark)
{
    TempFolder folder;
    String* path = folder.string("seek.txt");
    StreamWriter writer;
    fwriter_construct(&writer, path, SaveFlags, 2);
    writer_put_string(&writer, u"abcdef"_str);
    EXPECT_EQ(fwriter_seek(&writer, 1, 0), 1);
    writer_put_char(&writer, u'X');
    EXPECT_EQ(fwriter_seek(&writer, 0, 2), 6);
    writer_put_char(&writer, u'g');
    EXPECT_TRUE(fwriter_close(&writer));

    StreamReader reader;
    freader_construct(&reader, path, 0);
    EXPECT_EQ(reader_get_char(&reader), u'a');
    EXPECT_EQ(freader_seek(&reader, 2, 1), 3);
    EXPECT_EQ(reader_get_char(&reader), u'd');
    EXPECT_EQ(freader_seek(&reader, -2, 2), 5);
    EXPECT_EQ(readUnits(&reader), u"fg");
    EXPECT_EQ(freader_seek(&reader, 0, 0), 0);
    EXPECT_EQ(readUnits(&reader), u"aXcdefg");
    freader_close(&reader);

    // Closing cuts the file where writing stopped; appending adds no second mark.
    fwriter_construct(&writer, path, FileWrite | FileAppend, 2);
    writer_put_char(&writer, u'h');
    EXPECT_TRUE(fwriter_close(&writer));
    fwriter_construct(&writer, path, FileWrite, 2);
    writer_put_char(&writer, u'Y');
    EXPECT_TRUE(fwriter_close(&writer));
    EXPECT_EQ(TestSupport::readBytes(folder.at("seek.txt")), std::string("\xff\xfeY\0", 4));

    fwriter_construct(&writer, path, SaveFlags, 1);
    writer_put_string(&writer, u"abcdef"_str);
    EXPECT_EQ(fwriter_seek(&writer, 3, 0), 3);
    EXPECT_TRUE(fwriter_set_eof(&writer));
    EXPECT_EQ(TestSupport::readBytes(folder.at("seek.txt")), "abc");
    EXPECT_TRUE(fwriter_close(&writer));
    string_free(path);
}

TEST(FileStream, CheckedOpeningAndClosingReportTheReason)
{
    struct Case {
        std::string name;
        char const* reason;
    } const cases[] = {
        {"missing/out.txt", "No such file or directory"},
        {"", "Is a directory"},
    };
    TempFolder folder;
    for (auto const& c : cases) {
        SCOPED_TRACE(c.name);
        String* path = folder.string(c.name);
        StreamWriter writer;
        String* reason = nullptr;
        EXPECT_FALSE(fwriter_open(&writer, path, SaveFlags, 1, &reason));
        EXPECT_EQ(TestSupport::toUtf8(reason), c.reason);
        string_free(reason);
        EXPECT_TRUE(fwriter_close(&writer)) << "a writer that failed to open is closed";
        StreamReader reader;
        reason = nullptr;
        EXPECT_FALSE(freader_open(&reader, path, 0, &reason));
        EXPECT_EQ(TestSupport::toUtf8(reason), c.reason);
        string_free(reason);
        string_free(path);
    }

    StreamWriter full;
    ASSERT_TRUE(fwriter_open(&full, u"/dev/full"_str, FileWrite, 1, nullptr));
    writer_put_string(&full, u"lost"_str);
    EXPECT_FALSE(writer_has_failed(&full)) << "nothing has reached the device yet";
    String* reason = nullptr;
    EXPECT_FALSE(fwriter_close(&full, &reason));
    EXPECT_EQ(TestSupport::toUtf8(reason), "No space left on device");
    string_free(reason);
}

TEST(FileStream, PutArrayWritesTheElementBytes)
{
    auto* array = Collections::Array<std::uint16_t>::alloc(3);
    (*array)[0] = 0x4241;
    (*array)[1] = 0x4443;
    (*array)[2] = 0x4645;
    auto* odd = array_alloc(1, 3);
    std::memcpy(odd->data(), "xyz", 3);
    TempFolder folder;
    String* path = folder.string("array.bin");
    StreamWriter writer;
    fwriter_construct(&writer, path, SaveFlags, 0);
    writer_put_array(&writer, array, 1, 5);
    writer_put_array(&writer, odd, 0, 3);
    EXPECT_TRUE(fwriter_close(&writer));
    EXPECT_EQ(TestSupport::readBytes(folder.at("array.bin")), std::string("CDEFxyz\0", 8));

    auto result = TestSupport::runInChild([&] {
        fwriter_construct(&writer, path, SaveFlags, 0);
        writer_put_array(&writer, array, 3, 1);
    });
    EXPECT_EQ(result.exitCode, System::FatalExitCode);
    EXPECT_EQ(result.output.rfind("Error.InvalidIndex: io/stream.cpp(", 0), 0u) << result.output;
    array->free();
    array_delete(odd);
    string_free(path);
}

TEST(FileStream, FatalReports)
{
    TempFolder folder;
    String* missing = folder.string("missing/x.txt");
    struct Case {
        char const* name;
        std::function<void()> body;
        std::string output;
    } const cases[] = {
        {"writer on a missing folder", [&] { StreamWriter w; fwriter_construct(&w, missing, SaveFlags, 1); },
            "Error.IO.InvalidFileName: io/file_stream.cpp("},
        {"reader on a missing file", [&] { StreamReader r; freader_construct(&r, missing, 0); },
            "Error.IO.InvalidFileName: io/file_stream.cpp("},
        {"encoding 4", [&] { StreamWriter w; fwriter_construct(&w, missing, SaveFlags, 4); },
            "Error.InvalidParamiter: io/file_stream.cpp("},
        {"writing after close", [&] {
             StreamWriter w;
             fwriter_open(&w, missing, SaveFlags, 1, nullptr);
             writer_put_char(&w, u'x');
         },
            "Error.InvalidParamiter: io/file_stream.cpp("},
        {"seek origin 3", [&] {
             StreamWriter w;
             fwriter_construct(&w, u"/dev/null"_str, FileWrite, 1);
             fwriter_seek(&w, 0, 3);
         },
            "Error.InvalidParamiter: io/file_stream.cpp("},
    };
    for (auto const& c : cases) {
        SCOPED_TRACE(c.name);
        auto result = TestSupport::runInChild(c.body);
        EXPECT_EQ(result.exitCode, System::FatalExitCode);
        EXPECT_EQ(result.output.rfind(c.output, 0), 0u) << result.output;
    }
    string_free(missing);
}
