// File writers and readers: encodings, byte-order marks, blocks, seeking, documents, failures.
#include <gtest/gtest.h>

#include <sys/stat.h>
#include <unistd.h>

#include <cstring>
#include <functional>

#include "nycore/io/file_stream.h"
#include "nycore/io/text_encoding.h"
#include "tests/support/child_process.h"
#include "tests/support/strings.h"
#include "tests/support/temp_folder.h"

using namespace NyCore;
using namespace NyCore::IO;
using TestSupport::OwnedString;
using TestSupport::readBytes;
using TestSupport::TempFolder;

namespace {

constexpr int SaveFlags = FileWrite | FileTruncate | FileCreate;

void writeText(TempFolder const& folder, std::u16string const& text, int encoding)
{
    StreamWriter writer;
    fwriter_construct(&writer, OwnedString(folder.string("f.txt")), SaveFlags, encoding);
    writer_put_string(&writer, OwnedString(text));
    EXPECT_TRUE(fwriter_close(&writer));
}

std::u16string readUnits(StreamReader* reader)
{
    std::u16string text;
    for (char16_t unit = reader_get_char(reader); !reader_is_eof(reader); unit = reader_get_char(reader))
        text += unit;
    return text;
}

// The text of f.txt; *encoding and *failed tell what the reader chose and met.
std::u16string readText(TempFolder const& folder, int flags, int* encoding = nullptr, bool* failed = nullptr)
{
    StreamReader reader;
    freader_construct(&reader, OwnedString(folder.string("f.txt")), flags);
    if (encoding)
        *encoding = reader.encoding;
    std::u16string text = readUnits(&reader);
    if (failed)
        *failed = reader_has_failed(&reader);
    freader_close(&reader);
    return text;
}

}

TEST(FileStream, EncodingsAreWrittenByteExactAndTheFirstBytesChooseTheReading)
{
    // write: the writer's encoding, or -1 for bytes that are only read.
    struct Case { int write; std::u16string text; std::string bytes; int read; std::u16string readBack; bool failed; } const cases[] = {
        {0, u"Ab\n", std::string("A\0b\0\n\0", 6), 0, u"Ab\n", false},
        {1, u"Ab\n\u00e9", "Ab\n\xe9", 1, u"Ab\n\u00e9", false},
        {1, u"\u03c0 \u20ac!", "\xc0 \xac!", 1, u"\u00c0 \u00ac!", false},
        {2, u"A\u20ac", std::string("\xff\xfe" "A\0\xac\x20", 6), 2, u"A\u20ac", false},
        {3, u"A\u20ac", std::string("\xfe\xff\0A\x20\xac", 6), 3, u"A\u20ac", false},
        {2, u"", "\xff\xfe", 2, u"", false},
        {-1, u"", "\xfe", 1, u"\u00fe", false},
        {-1, u"", "\xff\xfd" "x", 1, u"\u00ff\u00fdx", false},
        {-1, u"", "", 1, u"", false},
        {-1, u"", std::string("\xff\xfe" "A\0B", 5), 2, u"A\ufffd", true},
        {-1, u"", std::string("\xfe\xff\0AB", 5), 3, u"A\ufffd", true},
        {-1, u"", std::string("\xff\xfe" "C", 3), 2, u"\ufffd", true},
    };
    TempFolder folder;
    for (auto const& c : cases) {
        SCOPED_TRACE("encoding " + std::to_string(c.write) + " " + TestSupport::toUtf8(c.text + c.readBack));
        if (c.write >= 0)
            writeText(folder, c.text, c.write);
        else
            TestSupport::writeBytes(folder.at("f.txt"), c.bytes);
        EXPECT_EQ(readBytes(folder.at("f.txt")), c.bytes);
        int encoding = -1;
        bool failed = false;
        EXPECT_EQ(readText(folder, c.write == 0 ? ReaderRaw : 0, &encoding, &failed), c.readBack);
        EXPECT_EQ(encoding, c.read);
        EXPECT_EQ(failed, c.failed);
    }
    EXPECT_EQ(encoding_choose(u"\u03c0 \u20ac!"_str), 2);
    EXPECT_EQ(encoding_choose(u"caf\u00e9"_str), 1);
}

TEST(FileStream, TheEndGivesZeroUntilASeekAndTheBufferTakesTheRest)
{
    std::string bytes(1300, 'x');
    bytes[0] = 'S';
    bytes[1299] = 'E';
    TempFolder folder;
    TestSupport::writeBytes(folder.at("f.txt"), bytes);
    StreamReader reader;
    ASSERT_TRUE(freader_open(&reader, OwnedString(folder.string("f.txt")), 0, nullptr));
    EXPECT_EQ(reader_get_char(&reader), u'S');
    Collections::ArrayBase* all = reader_buffer(&reader);
    ASSERT_NE(all, nullptr);
    ASSERT_EQ(all->length, 2 * 1299);
    EXPECT_EQ(static_cast<char16_t const*>(all->data())[1298], u'E');
    array_delete(all);
    EXPECT_EQ(reader_buffer(&reader), nullptr);
    for (int i = 0; i < 3; ++i) {
        EXPECT_EQ(reader_get_char(&reader), 0) << "call " << i;
        EXPECT_TRUE(reader_is_eof(&reader)) << "call " << i;
    }
    EXPECT_EQ(freader_seek(&reader, 1298, 0), 1298);
    EXPECT_FALSE(reader_is_eof(&reader));
    EXPECT_EQ(readUnits(&reader), u"xE");
    EXPECT_EQ(freader_seek(&reader, -3, 2), 1297);
    EXPECT_EQ(freader_seek(&reader, 1, 1), 1298);
    EXPECT_EQ(reader_get_char(&reader), u'x');
    EXPECT_FALSE(reader_has_failed(&reader));
    freader_close(&reader);
}

TEST(FileStream, TextCrossesTheBlockBoundaries)
{
    std::u16string text;
    for (int i = 0; i < 1500; ++i)
        text += static_cast<char16_t>(i == 511 ? u'\u0416' : i == 512 ? u'\u00e9' : u'a' + i % 26);
    TempFolder folder;
    for (int encoding = 0; encoding <= 3; ++encoding) {
        SCOPED_TRACE(encoding);
        StreamWriter writer;
        fwriter_construct(&writer, OwnedString(folder.string("f.txt")), SaveFlags, encoding);
        // Units one by one up to the boundary, then a run that straddles it.
        for (int i = 0; i < 500; ++i)
            writer_put_char(&writer, text[static_cast<std::size_t>(i)]);
        writer_put_string(&writer, OwnedString(text.substr(500)));
        ASSERT_TRUE(fwriter_close(&writer));
        std::string bytes = readBytes(folder.at("f.txt"));
        std::size_t mark = encoding >= 2 ? 2 : 0, width = encoding == 1 ? 1 : 2;
        ASSERT_EQ(bytes.size(), mark + text.size() * width);
        std::string expected = encoding == 1 ? "\x16\xe9" : encoding == 3 ? std::string("\x04\x16\0\xe9", 4) : std::string("\x16\x04\xe9\0", 4);
        EXPECT_EQ(bytes.substr(mark + 511 * width, expected.size()), expected);
        std::u16string readBack = text;
        readBack[511] = encoding == 1 ? u'\u0016' : readBack[511];
        EXPECT_EQ(readText(folder, encoding == 0 ? ReaderRaw : 0), readBack);
    }
}

TEST(FileStream, WriterSeeksCharactersBehindTheMarkAndCutsWhereWritingStopped)
{
    TempFolder folder;
    OwnedString path(folder.string("f.txt"));
    StreamWriter writer;
    fwriter_construct(&writer, path, SaveFlags, 2);
    writer_put_string(&writer, u"abcdef"_str);
    EXPECT_EQ(fwriter_seek(&writer, 1, 0), 1);
    writer_put_char(&writer, u'X');
    EXPECT_EQ(fwriter_seek(&writer, 0, 2), 6);
    writer_put_char(&writer, u'g');
    EXPECT_TRUE(fwriter_close(&writer));
    EXPECT_EQ(readText(folder, 0), u"aXcdefg");

    // Appending adds no second mark; closing cuts the file where writing stopped.
    fwriter_construct(&writer, path, FileWrite | FileAppend, 2);
    writer_put_char(&writer, u'h');
    EXPECT_TRUE(fwriter_close(&writer));
    EXPECT_EQ(readText(folder, 0), u"aXcdefgh");
    fwriter_construct(&writer, path, FileWrite, 2);
    writer_put_char(&writer, u'Y');
    EXPECT_TRUE(fwriter_close(&writer));
    EXPECT_EQ(readBytes(folder.at("f.txt")), std::string("\xff\xfeY\0", 4));

    fwriter_construct(&writer, path, SaveFlags, 1);
    writer_put_string(&writer, u"abcdef"_str);
    EXPECT_EQ(fwriter_seek(&writer, 3, 0), 3);
    EXPECT_TRUE(fwriter_set_eof(&writer));
    EXPECT_EQ(readBytes(folder.at("f.txt")), "abc");
    EXPECT_TRUE(fwriter_close(&writer));
}

TEST(FileStream, OpeningFailsWithTheReasonAndDocumentsMustBeSmallRegularFiles)
{
    TempFolder folder;
    TestSupport::writeBytes(folder.at("doc.vexscr"), "a = 1");
    ::mkfifo(folder.at("fifo").c_str(), 0644);
    TestSupport::writeBytes(folder.at("big.graph"), "");
    ASSERT_EQ(::truncate(folder.at("big.graph").c_str(), DocumentSizeLimit + 1), 0);
    TestSupport::writeBytes(folder.at("limit.graph"), "");
    ASSERT_EQ(::truncate(folder.at("limit.graph").c_str(), DocumentSizeLimit), 0);
    struct Case { std::string path; int flags; char const* reason; } const cases[] = {
        {folder.at("missing/out.txt"), 0, "No such file or directory"},
        {folder.path, 0, "Is a directory"},
        {folder.at("doc.vexscr"), ReaderDocument, ""},
        {folder.at("limit.graph"), ReaderDocument, ""},
        {folder.at("big.graph"), ReaderDocument, "Larger than 64 MB"},
        {folder.at("fifo"), ReaderDocument, "Not a regular file"},
        {folder.path, ReaderDocument, "Not a regular file"},
        {"/dev/zero", ReaderDocument, "Not a regular file"},
        {folder.at("missing.graph"), ReaderDocument, "No such file or directory"},
    };
    for (auto const& c : cases) {
        SCOPED_TRACE(c.path + " " + c.reason);
        OwnedString path(TestSupport::makeString(std::u16string(c.path.begin(), c.path.end())));
        StreamReader reader;
        String* reason = nullptr;
        EXPECT_EQ(freader_open(&reader, path, c.flags, &reason), *c.reason == 0);
        EXPECT_EQ(reason ? OwnedString(reason).utf8() : "", c.reason);
        freader_close(&reader);
        if (c.flags != 0)
            continue;
        StreamWriter writer;
        EXPECT_FALSE(fwriter_open(&writer, path, SaveFlags, 1, &reason));
        EXPECT_EQ(OwnedString(reason).utf8(), c.reason);
        EXPECT_TRUE(fwriter_close(&writer)) << "a writer that failed to open is closed";
    }

    StreamWriter full;
    ASSERT_TRUE(fwriter_open(&full, u"/dev/full"_str, FileWrite, 1, nullptr));
    writer_put_string(&full, u"lost"_str);
    EXPECT_FALSE(writer_has_failed(&full)) << "nothing has reached the device yet";
    String* reason = nullptr;
    EXPECT_FALSE(fwriter_close(&full, &reason));
    EXPECT_EQ(OwnedString(reason).utf8(), "No space left on device");
}

TEST(FileStream, PutArrayWritesTheElementBytesAndMisuseIsFatal)
{
    auto* array = Collections::Array<std::uint16_t>::alloc(3);
    std::memcpy(array->data(), "ABCDEF", 6);
    auto* odd = array_alloc(1, 3);
    std::memcpy(odd->data(), "xyz", 3);
    TempFolder folder;
    OwnedString path(folder.string("f.txt"));
    StreamWriter writer;
    fwriter_construct(&writer, path, SaveFlags, 0);
    writer_put_array(&writer, array, 1, 5);
    writer_put_array(&writer, odd, 0, 3);
    EXPECT_TRUE(fwriter_close(&writer));
    EXPECT_EQ(readBytes(folder.at("f.txt")), std::string("CDEFxyz\0", 8));

    OwnedString missing(folder.string("missing/x.txt"));
    StreamReader reader;
    struct Case { std::function<void()> body; char const* report; } const cases[] = {
        {[&] { fwriter_construct(&writer, path, SaveFlags, 0); writer_put_array(&writer, array, 3, 1); }, "Error.InvalidIndex: io/stream.cpp("},
        {[&] { fwriter_construct(&writer, missing, SaveFlags, 1); }, "Error.IO.InvalidFileName: io/file_stream.cpp("},
        {[&] { freader_construct(&reader, missing, 0); }, "Error.IO.InvalidFileName: io/file_stream.cpp("},
        {[&] { fwriter_construct(&writer, missing, SaveFlags, 4); }, "Error.InvalidParamiter: io/file_stream.cpp("},
        {[&] { fwriter_open(&writer, missing, SaveFlags, 1, nullptr); writer_put_char(&writer, u'x'); }, "Error.InvalidParamiter: io/file_stream.cpp("},
        {[&] { fwriter_construct(&writer, u"/dev/null"_str, FileWrite, 1); fwriter_seek(&writer, 0, 3); }, "Error.InvalidParamiter: io/file_stream.cpp("},
    };
    for (std::size_t i = 0; i < std::size(cases); ++i) {
        SCOPED_TRACE("fatal case " + std::to_string(i));
        TestSupport::expectFatal(cases[i].body, cases[i].report);
    }
    array->free();
    array_delete(odd);
}
