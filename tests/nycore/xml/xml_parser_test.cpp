// The XML parser: accepted and rejected inputs, entities, source places, depth and entry points.
#include <gtest/gtest.h>

#include <cstdio>

#include <string>

#include "nycore/xml/xml_position.h"
#include "tests/nycore/xml/xml_test_support.h"
#include "tests/support/child_process.h"

using namespace NyCore::XML;
using XmlTest::value;

namespace {

std::u16string nested(int depth)
{
    std::u16string open, close;
    for (int i = 0; i < depth; ++i)
        open += u"<e>", close += u"</e>";
    return open + close;
}

// The units of text in a new array (the caller frees it).
NyCore::Collections::Array<char16_t>* unitArray(std::u16string const& text)
{
    auto* array = NyCore::Collections::Array<char16_t>::alloc(static_cast<int>(text.size()));
    text.copy(array->items(), text.size());
    return array;
}

}

TEST(XmlParserTest, AcceptsTheSubsetAndItsProlog)
{
    struct Case { std::u16string input; bool trim; std::u16string written; } const cases[] = {
        // Input without a root gives an empty document.
        {u"", true, u""}, {u"no markup at all", true, u""}, {u"<?xml version=\"1.0\"?><!-- only -->\n", true, u""},
        {u"\uFEFFtext before <a/> and after <!-- c --><?pi?>", false, u"<a/>"},
        {u"<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n<a/>", false, u"<a/>"},
        {u"<?xml version=\"1.0\"?><!-- about ] > --><!DOCTYPE a [\n <!ELEMENT a (#PCDATA)>\n"
         u" <!-- ] > --> <!ATTLIST a x CDATA \"]>\">\n]><?pi x?> <a x=\"1\"/>",
         false, u"<a x=\"1\"/>"},
        {u"<!DOCTYPE a SYSTEM 'a>b.dtd'><a/>", false, u"<a/>"},
        {u"<a x = \"1\"y=\"2\"\t/>", false, u"<a x=\"1\" y=\"2\"/>"},
        {u"<a x='say \"hi\"' y=\"it's\"/>", false, u"<a x=\"say &quot;hi&quot;\" y=\"it's\"/>"},
        {u"<a x=\"1>0\" y='>'/>", false, u"<a x=\"1&gt;0\" y=\"&gt;\"/>"},
        {u"<1-b.c:d_E/>", false, u"<1-b.c:d_E/>"},
        {u"<a>\n  <b/>\n</a>", true, u"<a><b/></a>"},
        {u"<a>\n  <b/>\n</a>", false, u"<a>\n  <b/>\n</a>"},
        {u"<a> \t x  y \r\n</a>", true, u"<a>x  y</a>"},
        {u"<a>   </a>", true, u"<a/>"},
        // References are not white space for trimming.
        {u"<a> &#32;x&#10; </a>", true, u"<a> x\n</a>"},
        {u"<a><!-- <c> & --><![CDATA[<&>\"]]> t </a>", true, u"<a><!-- <c> & --><![CDATA[<&>\"]]>t</a>"},
    };
    for (auto const& c : cases) {
        SCOPED_TRACE(TestSupport::toUtf8(c.input));
        Document doc;
        ParseError error;
        ASSERT_TRUE(XmlTest::parse(&doc, c.input, c.trim, &error)) << TestSupport::toUtf8(error.message);
        EXPECT_EQ(xml_doc_element(&doc) ? XmlTest::writeDocument(&doc) : u"", c.written);
        EXPECT_EQ(error.message[0], 0);
        xml_node_dtor(&doc);
    }
}

TEST(XmlParserTest, RejectsWithLineAndColumn)
{
    // Lines and columns from 1; the place is where the parser stopped.
    struct Case { std::u16string input; int line; int column; std::u16string message; } const cases[] = {
        {u"<a><b></a>", 1, 7, u"mismatched end tag </a>, expected </b>"},
        {u"  <a>\n<b>\n</b>", 3, 5, u"unexpected end of input"},
        {u"<a x=\"<\"/>", 1, 6, u"'<' in attribute value"},
        {u"<a x=1/>", 1, 5, u"expected a quoted attribute value"},
        {u"<a\r\n  b=\"1\"\n  c=\"2\" d/>", 3, 9, u"expected '=' after attribute name"},
        {u"<a \"x\"/>", 1, 3, u"invalid character in attribute name"},
        {u"<a?>", 1, 2, u"invalid character in element name"},
        {u"x < y <a/>", 1, 3, u"missing element name"}, {u"<a/ >", 1, 3, u"expected '>' after '/'"},
        {u"<a></a >", 1, 6, u"expected '>' after </a"},
        {u"<a><!DOCTYPE x></a>", 1, 4, u"unsupported declaration"},
        {u"<![CDATA[x]]><a/>", 1, 1, u"unsupported declaration"},
        {u"</a>", 1, 1, u"unexpected end tag"},
        {u"<a>\n<!-- x </a>", 2, 12, u"unexpected end of input"},
        {u"<a><![CDATA[ x</a>", 1, 19, u"unexpected end of input"},
        {u"<!DOCTYPE a [ <!ELEMENT a> ]", 1, 29, u"unexpected end of input"},
        {u"<abcdefghijklmnopqrstuvwxyz0123456789></b>", 1, 39, u"mismatched end tag </b>, expected </abcdefghijklmnopqrstuvwx...>"},
        // What XML forbids: a second root, a repeated attribute, bad references.
        {u"<a/>\n <b/>", 2, 2, u"a second root element"}, {u"<a/></a>", 1, 5, u"unexpected end tag"},
        {u"<a/><!x>", 1, 5, u"unsupported declaration"},
        {u"<a x=\"1\" y='2' x=\"3\"/>", 1, 16, u"attribute x given twice"},
        {u"<a>\u00e9\U0001F600&foo;</a>", 1, 6, u"unknown entity &foo;"},
        {u"<a v=\"&Amp;\"/>", 1, 7, u"unknown entity &Amp;"},
        {u"<a>&#0;</a>", 1, 4, u"invalid character reference &#0;"},
        {u"<a>&#xDFFF;</a>", 1, 4, u"invalid character reference &#xDFFF;"},
        {u"<a>&#x110000;</a>", 1, 4, u"invalid character reference &#x110000;"},
        {u"<a>&#99999999999999;</a>", 1, 4, u"invalid character reference &#99999999999999;"},
        {u"<a>&#65 </a>", 1, 4, u"invalid character reference &#65"},
        {u"<a>&#X41;</a>", 1, 4, u"invalid character reference &#"},
        {u"<a>&#;</a>", 1, 4, u"invalid character reference &#;"},
    };
    for (auto const& c : cases) {
        SCOPED_TRACE(TestSupport::toUtf8(c.input));
        Document doc;
        ParseError error;
        EXPECT_FALSE(XmlTest::parse(&doc, c.input, true, &error));
        EXPECT_EQ(error.line, c.line);
        EXPECT_EQ(error.column, c.column);
        EXPECT_EQ(std::u16string(error.message), c.message);
        EXPECT_EQ(xml_first_child(&doc), nullptr) << "the document is left empty";
    }
}

TEST(XmlParserTest, DecodesEntitiesInTextAndAttributes)
{
    struct Case { std::u16string raw; std::u16string decoded; } const cases[] = {
        {u"&lt;&gt;&amp;&quot;&apos;", u"<>&\"'"},
        {u"&#65;&#x41;&#x6a;&#x6A;&#0000066;", u"AAjjB"},
        {u"&#x3B1;&#8364;&#x1F600;|&#128512;", u"\u03B1\u20AC\U0001F600|\U0001F600"},
        {u"&#x10FFFF;&#xFFFD;&#1;", u"\U0010FFFF\uFFFD\u0001"},
        {u"a & b &&lt; &; &amp &x-y", u"a & b &< &; &amp &x-y"},
        {u"&amp;lt;", u"&lt;"},
        {u"\t\n \u0393\u6570\U0001F4C8\u00ff", u"\t\n \u0393\u6570\U0001F4C8\u00ff"},
    };
    for (auto const& c : cases) {
        SCOPED_TRACE(TestSupport::toUtf8(c.raw));
        Document doc;
        ASSERT_TRUE(XmlTest::parse(&doc, u"<a v=\"" + c.raw + u"\">" + c.raw + u"</a>", false));
        EXPECT_EQ(value(xml_get_attribute(xml_doc_element(&doc), u"v")), c.decoded);
        EXPECT_EQ(value(xml_get_value(xml_first_child(xml_doc_element(&doc)))), c.decoded);
        xml_node_dtor(&doc);
    }
}

TEST(XmlParserTest, RecordsWhereNodesStandInTheInput)
{
    // Offsets: element 0, attribute value 6, text 16 (after the trimmed blanks),
    // "&amp;" 17, 'q' 22, the pair's reference 23, 'r' 32, CDATA 42, comment 50.
    std::u16string const input = u"<a x=\"&lt;1\">\n  p&amp;q&#x1F600;r<![CDATA[s]]><!--c--></a>";
    Document doc;
    ASSERT_TRUE(XmlTest::parse(&doc, input, true));
    Element* a = xml_doc_element(&doc);
    Node* text = xml_first_child(a);
    Node* cdata = xml_next_sibling(text);
    EXPECT_EQ(a->sourceOffset, 0);
    EXPECT_EQ(a->attributes->sourceOffset, 6);
    EXPECT_EQ(xml_last_child(a)->sourceOffset, 50);
    int const textUnits[][2] = {{0, 16}, {1, 17}, {2, 22}, {3, 23}, {4, 23}, {5, 32}, {6, 33}};
    for (auto const& unit : textUnits)
        EXPECT_EQ(xml_source_offset(text, input.data(), static_cast<int>(input.size()), unit[0]), unit[1]) << unit[0];
    EXPECT_EQ(xml_source_offset(cdata, input.data(), static_cast<int>(input.size()), 0), 42);
    Node* made = xml_create_text(&doc, u"x"_str);
    EXPECT_EQ(xml_source_offset(made, input.data(), 0, 0), -1) << "a node that was not parsed";
    XmlTest::freeDetached(made);
    xml_node_dtor(&doc);

    // Lines and columns: a surrogate pair is one column.
    std::u16string const lines = u"ab\ncd\U0001F600e";
    int const places[][3] = {{0, 1, 1}, {2, 1, 3}, {3, 2, 1}, {5, 2, 3}, {6, 2, 3}, {7, 2, 4}, {99, 2, 5}};
    for (auto const& place : places) {
        TextPosition at = xml_locate(lines.data(), static_cast<int>(lines.size()), place[0]);
        EXPECT_EQ(at.line, place[1]) << place[0];
        EXPECT_EQ(at.column, place[2]) << place[0];
    }
}

TEST(XmlParserTest, LimitsTheNestingDepth)
{
    Document doc;
    ASSERT_TRUE(XmlTest::parse(&doc, nested(MaxElementDepth), false));
    xml_node_dtor(&doc);

    ParseError error;
    std::u16string tooDeep = nested(MaxElementDepth + 1);
    EXPECT_FALSE(XmlTest::parse(&doc, tooDeep, false, &error));
    EXPECT_EQ(std::u16string(error.message), u"elements nested too deeply");
    EXPECT_EQ(error.column, MaxElementDepth * 3 + 1);
    EXPECT_EQ(xml_doc_element(&doc), nullptr);
}

TEST(XmlParserTest, ReadsArraysAndStreams)
{
    std::u16string const text = u"<command title=\"T\">x</command>";
    auto* array = unitArray(text);
    Document doc;
    ParseError error;
    EXPECT_TRUE(xml_parse_array_checked(&doc, array, false, &error));
    EXPECT_EQ(XmlTest::writeDocument(&doc), text);
    xml_node_dtor(&doc);
    array->free();

    TestSupport::OwnedString source(text);
    NyCore::IO::StreamReader reader;
    memreader_construct(&reader, source);
    xml_parse_stream(&doc, &reader, true);
    EXPECT_EQ(XmlTest::writeDocument(&doc), text);
    xml_node_dtor(&doc);
    EXPECT_FALSE(xml_parse_stream_checked(&doc, &reader, true, &error));
    EXPECT_EQ(std::u16string(error.message), u"empty stream");
    memreader_destroy(&reader);
}

TEST(XmlParserTest, CheckedParsingPrintsNothingAndPlainParsingIsFatal)
{
    auto quiet = TestSupport::runInChild([] {
        Document doc;
        std::printf("%d", XmlTest::parse(&doc, u"<a><b></a>", false));
        std::printf("%d", XmlTest::parse(&doc, u"<a/>", false));
    });
    EXPECT_EQ(quiet.output, "01") << "checked parsing prints no report";

    static std::u16string const broken = u"<a>\n<b></a>";
    static NyCore::IO::StreamReader empty;
    struct Case { void (*parse)(Document* doc); char const* report; } const cases[] = {
        {[](Document* doc) { xml_parse_buffer(doc, broken.data(), static_cast<int>(broken.size()), true); },
         "Error parsing at line 2, column 4\nError.XML.ParseFailure: xml/parse.cpp("},
        {[](Document* doc) { xml_parse_array(doc, unitArray(u"<a"), true); }, "Error parsing at line 1, column 3\nError.XML.ParseFailure: xml/parse.cpp("},
        {[](Document* doc) { memreader_construct(&empty, nullptr), xml_parse_stream(doc, &empty, true); }, "Error.IO.EmptyStream: xml/parse.cpp("},
    };
    for (auto const& c : cases) {
        SCOPED_TRACE(c.report);
        TestSupport::expectFatal([&c] {
            Document doc;
            c.parse(&doc);
        }, c.report);
    }
}
