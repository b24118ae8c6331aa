// Tests of the XML writer: the compact output form, escaping of text and
// attribute values, and write/read round trips of awkward characters.
#include <gtest/gtest.h>

#include <string>

#include "nycore/system/memory.h"
#include "nycore/xml/xml_edit.h"
#include "tests/nycore/xml/xml_test_support.h"

using namespace NyCore::XML;
using XmlTest::value;
using XmlTest::writeDocument;
using XmlTest::writeNode;

namespace {

// A command file: root "command" with a title and the script as its text.
void buildCommand(Document* doc, std::u16string const& title, std::u16string const& script)
{
    xml_doc_ctor(doc);
    Element* root = xml_create_element(doc, u"command"_str);
    xml_append_child(doc, root);
    NyCore::String* t = TestSupport::makeString(title);
    NyCore::String* s = TestSupport::makeString(script);
    xml_set_attribute(root, u"title", t);
    xml_append_child(root, xml_create_text(doc, s));
    string_free(t);
    string_free(s);
}

}

TEST(XmlWriterTest, WritesCompactForm)
{
    Document doc;
    xml_doc_ctor(&doc);
    Element* a = xml_create_element(&doc, u"a"_str);
    xml_append_child(&doc, a);
    EXPECT_EQ(writeDocument(&doc), u"<a/>");
    Node* empty = xml_create_text(&doc, u""_str);
    xml_append_child(a, empty);
    EXPECT_EQ(writeDocument(&doc), u"<a></a>");
    xml_remove_child(a, empty);
    xml_node_dtor(empty);
    memory_free(empty);

    xml_set_attribute(a, u"title", u"Graph 1"_str);
    xml_set_attribute(a, u"near", u"0.1"_str);
    Element* b = xml_create_element(&doc, u"b"_str);
    xml_append_child(a, b);
    xml_append_child(b, xml_create_cdata(&doc, u"x < y & \"z\""_str));
    xml_append_child(a, xml_create_comment(&doc, u" a<b>&c "_str));
    xml_append_child(a, xml_create_text(&doc, u"sin(x)*2"_str));
    xml_insert_before(&doc, xml_create_comment(&doc, u"first"_str), a);
    xml_append_child(&doc, xml_create_comment(&doc, u"last"_str));
    EXPECT_EQ(writeDocument(&doc), u"<!--first--><a title=\"Graph 1\" near=\"0.1\"><b><![CDATA[x < y & \"z\"]]></b>"
                                   u"<!-- a<b>&c -->sin(x)*2</a><!--last-->");
    EXPECT_EQ(writeNode(b), u"<b><![CDATA[x < y & \"z\"]]></b>");
    xml_node_dtor(&doc);
}

TEST(XmlWriterTest, EscapesTextAndAttributeValues)
{
    struct Case {
        std::u16string raw;
        std::u16string escaped;
    };
    Case const cases[] = {
        {u"plain text 1.5", u"plain text 1.5"},
        {u"a<b", u"a&lt;b"},
        {u"x>y", u"x&gt;y"},
        {u"&", u"&amp;"},
        {u"&amp;", u"&amp;amp;"},
        {u"\"quoted\"", u"&quot;quoted&quot;"},
        {u"it's", u"it's"},
        {u"\t\n", u"\t\n"},
    };
    for (auto const& c : cases) {
        SCOPED_TRACE(TestSupport::toUtf8(c.raw));
        Document doc;
        buildCommand(&doc, c.raw, c.raw);
        EXPECT_EQ(writeDocument(&doc), u"<command title=\"" + c.escaped + u"\">" + c.escaped + u"</command>");
        xml_node_dtor(&doc);
    }
}

TEST(XmlWriterTest, RoundTripsSpecialAndNonLatinCharacters)
{
    std::u16string const samples[] = {
        u"",
        u"if x < 0 & y > 1 then \"neg\"",
        u"a = power(x, 2);\nb = a & <c>;",
        u"&lt; is not decoded twice &amp;lt;",
        u"\u0393\u03c1\u03ac\u03c6\u03b7\u03bc\u03b1 \u0433\u0440\u0430\u0444\u0438\u043a",
        u"\u6570\u5b66 \u30b0\u30e9\u30d5 \U0001F4C8 \U0001D4B3",
        u"tab\there 'single' \u00e9\u00df\u00ff",
    };
    for (auto const& sample : samples) {
        SCOPED_TRACE(TestSupport::toUtf8(sample));
        Document doc;
        buildCommand(&doc, sample, sample);
        std::u16string written = writeDocument(&doc);
        xml_node_dtor(&doc);

        ASSERT_TRUE(XmlTest::parse(&doc, written, false));
        Element* root = xml_doc_element(&doc);
        EXPECT_EQ(value(xml_get_attribute(root, u"title")), sample);
        if (sample.empty())
            EXPECT_EQ(xml_first_child(root), nullptr);
        else
            EXPECT_EQ(value(xml_get_value(xml_first_child(root))), sample);
        EXPECT_EQ(writeDocument(&doc), sample.empty() ? u"<command title=\"\"/>" : written);
        xml_node_dtor(&doc);
    }
}
