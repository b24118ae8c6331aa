// Command script files: the exact bytes written, reading with and without
// byte-order marks, round trips of special and non-Latin characters, and the
// failures of the common document reader.
#include <gtest/gtest.h>

#include "nycore/io/file_save.h"
#include "nycore/xml/xml_parser.h"
#include "tests/support/temp_folder.h"
#include "tests/vexadrome/documents/command_test_support.h"
#include "vexadrome/documents/command_doc.h"
#include "vexadrome/documents/math_doc_reader.h"
#include "vexadrome/documents/math_doc_writer.h"

using namespace Vexadrome::Documents;
using TestSupport::TempFolder;
using TestSupport::TestHost;

namespace {

// Saves a command document with that title and script; returns the file's bytes.
std::string savedBytes(TempFolder const& folder, std::u16string const& title, std::u16string const& script)
{
    TestHost host;
    auto* document = new CommandDoc(&host);
    NyCore::String* text = TestSupport::makeString(title);
    document->set$title(text);
    string_free(text);
    text = TestSupport::makeString(script);
    document->set$commandString(text);
    string_free(text);
    NyCore::String* path = folder.string("saved.vexscr");
    NyCore::String* reason = nullptr;
    EXPECT_TRUE(MathDocWriter::save(document, path, &reason)) << TestSupport::toUtf8(reason);
    string_free(reason);
    string_free(path);
    delete document;
    return TestSupport::readBytes(folder.at("saved.vexscr"));
}

struct Loaded {
    bool isCommand = false;
    std::u16string title;
    std::u16string script;
    std::u16string fileName;
    std::string reason;
};

Loaded load(TempFolder const& folder, std::string const& name)
{
    TestHost host;
    NyCore::String* path = folder.string(name);
    NyCore::String* reason = nullptr;
    NyUser::Models::Document* document = MathDocReader::load(path, &host, &reason);
    Loaded result;
    if (auto* command = dynamic_cast<CommandDoc*>(document)) {
        result.isCommand = true;
        result.title = TestSupport::toU16(command->get$title());
        result.script = TestSupport::toU16(command->get$commandString());
        result.fileName = TestSupport::toU16(command->get$fileName());
    }
    EXPECT_EQ(document == nullptr, reason != nullptr) << "a reason exactly when there is no document";
    result.reason = reason ? TestSupport::toUtf8(reason) : "";
    delete document;
    string_free(reason);
    string_free(path);
    return result;
}

std::string utf16le(std::u16string const& text)
{
    std::string bytes;
    for (char16_t unit : text) {
        bytes += static_cast<char>(unit & 0xFF);
        bytes += static_cast<char>(unit >> 8);
    }
    return bytes;
}

std::string utf16be(std::u16string const& text)
{
    std::string bytes;
    for (char16_t unit : text) {
        bytes += static_cast<char>(unit >> 8);
        bytes += static_cast<char>(unit & 0xFF);
    }
    return bytes;
}

}

TEST(CommandFile, WrittenByteForByte)
{
    TempFolder folder;
    struct {
        std::u16string title;
        std::u16string script;
        std::string bytes;
    } const cases[] = {
        {u"Command1", u"a = 1; a*2", "<command title=\"Command1\">a = 1; a*2</command>"},
        {u"T", u"", "<command title=\"T\"></command>"},
        {u"", u"x", "<command title=\"\">x</command>"},
        {u"Two lines", u"f(x) = x*x;\n  f(2)\n", "<command title=\"Two lines\">f(x) = x*x;\n  f(2)\n</command>"},
        // Latin-1 characters stay one byte each.
        {u"caf\u00e9", u"\u00b5 = 2", "<command title=\"caf\xe9\">\xb5 = 2</command>"},
        // Special characters are written as entities so that they read back.
        {u"a<b & \"c\"", u"x < 2 & y > 1",
         "<command title=\"a&lt;b &amp; &quot;c&quot;\">x &lt; 2 &amp; y &gt; 1</command>"},
    };
    for (auto const& c : cases)
        EXPECT_EQ(savedBytes(folder, c.title, c.script), c.bytes) << TestSupport::toUtf8(c.title);
}

TEST(CommandFile, NonLatinTextIsSavedAsUtf16WithMark)
{
    TempFolder folder;
    std::u16string const script = u"\u03b1 = 1; \u4e2d";
    std::string bytes = savedBytes(folder, u"\u0394", script);
    EXPECT_EQ(bytes, "\xff\xfe" + utf16le(u"<command title=\"\u0394\">" + script + u"</command>"));
}

TEST(CommandFile, ReadingWithAndWithoutByteOrderMarks)
{
    TempFolder folder;
    std::u16string const file = u"<command title=\"B\">a = 1; a*2</command>";
    struct {
        char const* name;
        std::string bytes;
    } const cases[] = {
        {"plain.vexscr", TestSupport::toUtf8(file)},
        {"le.vexscr", "\xff\xfe" + utf16le(file)},
        {"be.vexscr", "\xfe\xff" + utf16be(file)},
        {"declared.vexscr", "<?xml version=\"1.0\"?>\n<!-- saved elsewhere -->\n" + TestSupport::toUtf8(file) + "\n"},
    };
    for (auto const& c : cases) {
        SCOPED_TRACE(c.name);
        TestSupport::writeBytes(folder.at(c.name), c.bytes);
        Loaded loaded = load(folder, c.name);
        EXPECT_TRUE(loaded.isCommand);
        EXPECT_EQ(TestSupport::toUtf8(loaded.title), "B");
        EXPECT_EQ(TestSupport::toUtf8(loaded.script), "a = 1; a*2");
        EXPECT_EQ(TestSupport::toUtf8(loaded.fileName), folder.at(c.name));
    }
}

TEST(CommandFile, WhatReadingKeeps)
{
    TempFolder folder;
    struct {
        std::string bytes;
        std::u16string title;
        std::u16string script;
    } const cases[] = {
        {"<command title=\"T\"></command>", u"T", u""},
        {"<command title=\"T\"/>", u"T", u""},
        {"<command>1</command>", u"", u"1"},
        // The file is read with trimming: blanks around the script go.
        {"<command title=\"T\">\n  a = 1;\n  a\n</command>", u"T", u"a = 1;\n  a"},
        {"<command title=\"T\">  \n </command>", u"T", u""},
        // Only a text first child is a script.
        {"<command title=\"T\"><!-- c -->a</command>", u"T", u""},
        {"<command title=\"T\"><![CDATA[a]]></command>", u"T", u""},
        {"<command title=\"T\"><x/>a</command>", u"T", u""},
        {"<command title='q'>1 &lt; 2 &#38; &#x3c0;</command>", u"q", u"1 < 2 & \u03c0"},
    };
    for (auto const& c : cases) {
        SCOPED_TRACE(c.bytes);
        TestSupport::writeBytes(folder.at("case.vexscr"), c.bytes);
        Loaded loaded = load(folder, "case.vexscr");
        EXPECT_TRUE(loaded.isCommand);
        EXPECT_EQ(TestSupport::toUtf8(loaded.title), TestSupport::toUtf8(c.title));
        EXPECT_EQ(TestSupport::toUtf8(loaded.script), TestSupport::toUtf8(c.script));
    }
}

TEST(CommandFile, RoundTrips)
{
    TempFolder folder;
    struct {
        std::u16string title;
        std::u16string script;
    } const cases[] = {
        {u"Command1", u"a = 1; a*2"},
        {u"quotes \"and\" 'apostrophes'", u"x = 1 < 2 & 3 > 2; \"text\""},
        {u"&amp; stays literal", u"&lt; is not <"},
        {u"\u0393\u03c1\u03ac\u03c6\u03b7\u03bc\u03b1", u"\u5b9a\u4e49 = 1;\n\u03c0 = 3.14159; \U0001d465"},
        {u"Latin-1 \u00e9\u00ff", u"\u00e0 = 1"},
    };
    for (auto const& c : cases) {
        SCOPED_TRACE(TestSupport::toUtf8(c.title));
        savedBytes(folder, c.title, c.script);
        Loaded loaded = load(folder, "saved.vexscr");
        EXPECT_TRUE(loaded.isCommand) << loaded.reason;
        EXPECT_EQ(TestSupport::toUtf8(loaded.title), TestSupport::toUtf8(c.title));
        EXPECT_EQ(TestSupport::toUtf8(loaded.script), TestSupport::toUtf8(c.script));
    }
}

TEST(CommandFile, UnreadableFilesGiveNoDocumentAndAReason)
{
    TempFolder folder;
    struct {
        char const* name;
        char const* bytes;  // null: no such file
        char const* reasonPart;
    } const cases[] = {
        {"missing.vexscr", nullptr, "No such file"},
        {"empty.vexscr", "", "empty"},
        {"unclosed.vexscr", "<command title=\"T\">a = 1", "line 1"},
        {"mismatched.vexscr", "<command title=\"T\">\na = 1\n</commands>", "line 3, column 1"},
        {"attribute.vexscr", "<command title=T>a</command>", "not well-formed"},
        {"text.vexscr", "just some text", "no root element"},
        {"unknown.vexscr", "<script title=\"T\">a</script>", "<script>"},
        {"capital.vexscr", "<Command title=\"T\">a</Command>", "<Command>"},
        {"capital.graph", "<Graph title=\"T\"/>", "<Graph>"},
    };
    for (auto const& c : cases) {
        SCOPED_TRACE(c.name);
        if (c.bytes)
            TestSupport::writeBytes(folder.at(c.name), c.bytes);
        Loaded loaded = load(folder, c.name);
        EXPECT_FALSE(loaded.isCommand);
        EXPECT_NE(loaded.reason.find(c.reasonPart), std::string::npos) << loaded.reason;
    }
    // A folder cannot be read as a document either.
    ::mkdir(folder.at("folder.vexscr").c_str(), 0700);
    EXPECT_FALSE(load(folder, "folder.vexscr").reason.empty());
}

TEST(CommandFile, SavingWhereNoFileCanBeMadeFails)
{
    TestHost host;
    auto* document = new CommandDoc(&host);
    document->set$commandString(u"1"_str);
    NyCore::String* path = TestSupport::makeString(u"/nonexistent-folder/x.vexscr");
    NyCore::String* reason = nullptr;
    EXPECT_FALSE(MathDocWriter::save(document, path, &reason));
    EXPECT_NE(reason, nullptr);
    string_free(reason);
    string_free(path);
    delete document;
}
