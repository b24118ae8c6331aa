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
    xml_node_dtor(&doc);
}

TEST(XmlWriterTest, EscapesTextAndValuesSoThatTheyReadBack)
{
    struct Case { std::u16string raw; std::u16string escaped; };
    Case const cases[] = {
        {u"plain text 1.5", u"plain text 1.5"},
        {u"a<b x>y", u"a&lt;b x&gt;y"},
        {u"& &amp;", u"&amp; &amp;amp;"},
        {u"\"quoted\" it's\t\n", u"&quot;quoted&quot; it's\t\n"},
        {u"\u0393\u03c1\u03ac\u03c6\u03b7\u03bc\u03b1 \u6570\u5b66 \U0001F4C8 \u00e9\u00ff",
         u"\u0393\u03c1\u03ac\u03c6\u03b7\u03bc\u03b1 \u6570\u5b66 \U0001F4C8 \u00e9\u00ff"},
    };
    for (auto const& c : cases) {
        SCOPED_TRACE(TestSupport::toUtf8(c.raw));
        Document doc;
        xml_doc_ctor(&doc);
        Element* root = xml_create_element(&doc, u"command"_str);
        xml_append_child(&doc, root);
        xml_set_attribute(root, u"title", TestSupport::OwnedString(c.raw));
        xml_append_child(root, xml_create_text(&doc, TestSupport::OwnedString(c.raw)));
        std::u16string written = writeDocument(&doc);
        EXPECT_EQ(written, u"<command title=\"" + c.escaped + u"\">" + c.escaped + u"</command>");
        xml_node_dtor(&doc);

        ASSERT_TRUE(XmlTest::parse(&doc, written, false));
        EXPECT_EQ(value(xml_get_attribute(xml_doc_element(&doc), u"title")), c.raw);
        EXPECT_EQ(value(xml_get_value(xml_first_child(xml_doc_element(&doc)))), c.raw);
        xml_node_dtor(&doc);
    }
}
