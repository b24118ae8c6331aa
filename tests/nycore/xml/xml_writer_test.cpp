// The XML writer: escaping of text and attribute values (the compact form: XmlNodeTest).
#include <gtest/gtest.h>

#include <string>

#include "nycore/xml/xml_edit.h"
#include "tests/nycore/xml/xml_test_support.h"

using namespace NyCore::XML;
using XmlTest::writeDocument;

// The parser reads these forms back (XmlParserTest.DecodesEntitiesInTextAndAttributes).
TEST(XmlWriterTest, EscapesTextAndValues)
{
    struct Case { std::u16string raw; std::u16string escaped; } const cases[] = {
        {u"a<b x>y", u"a&lt;b x&gt;y"},
        {u"& &amp;", u"&amp; &amp;amp;"},
        {u"\"quoted\" it's\t\n", u"&quot;quoted&quot; it's\t\n"},
        {u"\u0393\u03c1\u03ac\u03c6\u03b7\u03bc\u03b1 \u6570\u5b66 \U0001F4C8 \u00e9\u00ff", u"\u0393\u03c1\u03ac\u03c6\u03b7\u03bc\u03b1 \u6570\u5b66 \U0001F4C8 \u00e9\u00ff"},
    };
    for (auto const& c : cases) {
        SCOPED_TRACE(TestSupport::toUtf8(c.raw));
        Document doc;
        xml_doc_ctor(&doc);
        Element* root = xml_create_element(&doc, u"command"_str);
        xml_append_child(&doc, root);
        xml_set_attribute(root, u"title", TestSupport::OwnedString(c.raw));
        xml_append_child(root, xml_create_text(&doc, TestSupport::OwnedString(c.raw)));
        EXPECT_EQ(writeDocument(&doc), u"<command title=\"" + c.escaped + u"\">" + c.escaped + u"</command>");
        xml_node_dtor(&doc);
    }
}
