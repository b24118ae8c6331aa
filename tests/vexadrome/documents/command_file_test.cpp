// Command script files: the exact bytes written and read back, reading with
// and without byte-order marks, how the script is pieced together from the
// file, and the failures of the common document reader.
#include <gtest/gtest.h>

#include <sys/stat.h>

#include <memory>
#include <tuple>

#include "tests/support/temp_folder.h"
#include "tests/vexadrome/documents/document_test_support.h"
#include "vexadrome/documents/command_doc.h"
#include "vexadrome/documents/graph_doc.h"
#include "vexadrome/documents/math_doc_reader.h"
#include "vexadrome/documents/math_doc_writer.h"

using namespace Vexadrome::Documents;
using namespace DocumentTests;
using TestSupport::TempFolder;

namespace {

// Saves a command document with that title and script; returns the file's bytes.
std::string savedBytes(TempFolder const& folder, std::u16string const& title, std::u16string const& script)
{
    TestHost host;
    CommandDoc document(&host);
    document.set$title(OwnedString(title));
    document.set$commandString(OwnedString(script));
    NyCore::String* why = nullptr;
    EXPECT_TRUE(MathDocWriter::save(&document, OwnedString(folder.string("saved.vexscr")), &why));
    EXPECT_EQ(OwnedString(why).get(), nullptr);
    return TestSupport::readBytes(folder.at("saved.vexscr"));
}

struct Loaded { bool isCommand = false; std::string title; std::string script; std::string reason; };

Loaded load(TempFolder const& folder, std::string const& name)
{
    TestHost host;
    NyCore::String* why = nullptr;
    std::unique_ptr<NyUser::Models::Document> document(MathDocReader::load(OwnedString(folder.string(name)), &host, &why));
    OwnedString reason(why);
    Loaded result;
    if (auto* command = dynamic_cast<CommandDoc*>(document.get())) {
        result = {true, TestSupport::toUtf8(command->get$title()), TestSupport::toUtf8(command->get$commandString()), ""};
        EXPECT_EQ(TestSupport::toUtf8(command->get$fileName()), folder.at(name));
    }
    EXPECT_EQ(document == nullptr, reason.get() != nullptr) << "a reason exactly when there is no document";
    result.reason = reason.get() ? reason.utf8() : "";
    return result;
}

// The text as UTF-16 bytes, low byte first unless `bigEndian`.
std::string utf16(std::u16string const& text, bool bigEndian = false)
{
    std::string bytes;
    for (char16_t unit : text) {
        bytes += static_cast<char>(bigEndian ? unit >> 8 : unit & 0xFF);
        bytes += static_cast<char>(bigEndian ? unit & 0xFF : unit >> 8);
    }
    return bytes;
}

}

TEST(CommandFile, WrittenByteForByteAndReadBack)
{
    TempFolder folder;
    std::u16string const greek = u"\u0393\u03c1\u03ac\u03c6\u03b7\u03bc\u03b1";
    std::u16string const script = u"\u5b9a\u4e49 = 1;\n\u03c0 = 3.14159; \U0001d465";
    struct { std::u16string title; std::u16string script; std::string bytes; } const cases[] = {
        {u"", u"f(x) = x*x;\n  f(2)", "<command title=\"\">f(x) = x*x;\n  f(2)</command>"},
        // Latin-1 characters stay one byte each; others make the file UTF-16 with a mark.
        {u"caf\u00e9", u"\u00b5 = 2", "<command title=\"caf\xe9\">\xb5 = 2</command>"},
        {greek, script, "\xff\xfe" + utf16(u"<command title=\"" + greek + u"\">" + script + u"</command>")},
        // Special characters are written as entities so that they read back.
        {u"a<b & \"c\"", u"x < 2 & y > 1; &lt;",
         "<command title=\"a&lt;b &amp; &quot;c&quot;\">x &lt; 2 &amp; y &gt; 1; &amp;lt;</command>"},
    };
    for (auto const& c : cases) {
        SCOPED_TRACE(TestSupport::toUtf8(c.title));
        EXPECT_EQ(savedBytes(folder, c.title, c.script), c.bytes);
        Loaded loaded = load(folder, "saved.vexscr");
        EXPECT_EQ(std::tuple(loaded.isCommand, loaded.title, loaded.script, loaded.reason),
                  std::tuple(true, TestSupport::toUtf8(c.title), TestSupport::toUtf8(c.script), ""));
    }
}

TEST(CommandFile, WhatReadingKeeps)
{
    TempFolder folder;
    std::string const file = "<command title=\"B\">a = 1; a*2</command>";
    struct { std::string bytes; std::string title; std::string script; } const cases[] = {
        {"\xfe\xff" + utf16(std::u16string(file.begin(), file.end()), true), "B", "a = 1; a*2"},
        {"<?xml version=\"1.0\"?>\n<!-- saved elsewhere -->\n" + file + "\n", "B", "a = 1; a*2"},
        {"<command title=\"T\"/>", "T", ""},
        // Blanks at the two ends of the script go.
        {"<command title=\"T\">\n  a = 1;\n  a\n</command>", "T", "a = 1;\n  a"},
        // The script is all text and CDATA in order; comments and elements are left out.
        {"<command title=\"t\">1+1;<!-- c -->2+2;3+3</command>", "t", "1+1;2+2;3+3"},
        {"<command title=\"T\"><![CDATA[a < b & c]]></command>", "T", "a < b & c"},
        {"<command title=\"T\">x = <![CDATA[1;]]><!--c--><y>z</y>x&lt;1</command>", "T", "x = 1;x<1"},
        // Blanks beside a comment stay; only the script's two ends lose theirs.
        {"<command title=\"t\">\n  a = 1<!-- c --> 2\r\n</command>", "t", "a = 1 2"},
    };
    for (auto const& c : cases) {
        SCOPED_TRACE(c.bytes);
        TestSupport::writeBytes(folder.at("case.vexscr"), c.bytes);
        Loaded loaded = load(folder, "case.vexscr");
        EXPECT_EQ(std::tuple(loaded.isCommand, loaded.title, loaded.script), std::tuple(true, c.title, c.script));
    }
}

// Files of either kind that do not load: no document, and why.
TEST(CommandFile, FilesThatDoNotLoad)
{
    TempFolder folder;
    ASSERT_EQ(::mkfifo(folder.at("fifo").c_str(), 0600), 0);
    struct { char const* name; char const* bytes; std::string reasonStart; } const cases[] = {  // bytes null: made above
        {"fifo", nullptr, "Not a regular file"},  // would wait for a writer
        {"empty.vexscr", "", "the file is empty"},
        {"broken.graph", "<graph>\n  <variables>\n</graph>", "not well-formed XML at line 3, column "},
        {"text.vexscr", "just some text", "the file holds no root element"},
        {"other.graph", "<picture/>", "the root element <picture> is neither <graph> nor <command>"},
    };
    for (auto const& c : cases) {
        SCOPED_TRACE(c.name);
        if (c.bytes)
            TestSupport::writeBytes(folder.at(c.name), c.bytes);
        Loaded loaded = load(folder, c.name);
        EXPECT_FALSE(loaded.isCommand);
        EXPECT_EQ(loaded.reason.substr(0, c.reasonStart.size()), c.reasonStart);
    }

    TestHost host;
    CommandDoc document(&host);
    NyCore::String* why = nullptr;
    EXPECT_FALSE(MathDocWriter::save(&document, OwnedString(u"/nonexistent-folder/x.vexscr"), &why));
    EXPECT_NE(OwnedString(why).get(), nullptr) << "saving where no file can be made";

    // Only a write that reached its file makes a document unmodified.
    GraphDoc graph(&host);
    graph.set$modified(true);
    EXPECT_FALSE(MathDocWriter::save(&graph, OwnedString(u"/nonexistent-folder/x.graph"), &why));
    EXPECT_NE(OwnedString(why).get(), nullptr);
    why = nullptr;
    EXPECT_TRUE(graph.get$isModified()) << "a failed save keeps the changes marked";
    EXPECT_TRUE(MathDocWriter::save(&graph, OwnedString(folder.string("x.graph")), &why));
    EXPECT_FALSE(graph.get$isModified());
}
