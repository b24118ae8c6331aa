// The XML tree: node records, links, attributes, cloning, deep trees and broken insertion rules.
#include <gtest/gtest.h>

#include <functional>
#include <string>

#include "nycore/xml/xml_edit.h"
#include "tests/nycore/xml/xml_test_support.h"
#include "tests/support/child_process.h"

using namespace NyCore::XML;
using XmlTest::freeDetached;
using XmlTest::value;
using XmlTest::writeNode;

TEST(XmlNodeTest, CreatesNodesOfEachKind)
{
    Document doc;
    xml_doc_ctor(&doc);
    EXPECT_EQ(value(xml_get_name(&doc)), u"#document");
    EXPECT_EQ(xml_get_owner(&doc), &doc);

    struct Case { Node* node; int kind; std::u16string name; std::u16string value; } const cases[] = {
        {xml_create_element(&doc, u"graph"_str), ElementNode, u"graph", u"<none>"},
        {xml_create_text(&doc, u"sin(x)"_str), TextNode, u"#text", u"sin(x)"},
        {xml_create_cdata(&doc, u"a<b"_str), CDataSectionNode, u"#cdata-section", u"a<b"},
        {xml_create_comment(&doc, u" note "_str), CommentNode, u"#comment", u" note "},
        {xml_create_node(&doc, nullptr, DocumentFragmentNode, sizeof(Node)), DocumentFragmentNode, u"#document-fragment", u"<none>"},
        {xml_create_node(&doc, u"pi"_str, ProcessingInstructionNode, sizeof(Node)), ProcessingInstructionNode, u"<none>", u"<none>"},
    };
    for (auto const& c : cases) {
        SCOPED_TRACE(c.kind);
        EXPECT_EQ(xml_get_type(c.node), c.kind);
        EXPECT_EQ(value(xml_get_name(c.node)), c.name);
        EXPECT_EQ(value(xml_get_value(c.node)), c.value);
        EXPECT_EQ(xml_get_owner(c.node), &doc);
        EXPECT_EQ(xml_prev_sibling(c.node), nullptr) << "the link holds the owner, not a sibling";
        freeDetached(c.node);
    }
    EXPECT_EQ(xml_get_owner(nullptr), nullptr);
}

TEST(XmlNodeTest, LinksChildrenAndSiblings)
{
    Document doc;
    xml_doc_ctor(&doc);
    Element* root = xml_create_element(&doc, u"graph"_str);
    Node* comment = xml_create_comment(&doc, u"c"_str);
    EXPECT_EQ(xml_append_child(&doc, comment), comment);
    EXPECT_EQ(xml_append_child(&doc, root), root);
    EXPECT_EQ(xml_doc_element(&doc), root);

    Element* lights = xml_create_element(&doc, u"lights"_str);
    Element* light1 = xml_create_element(&doc, u"light"_str);
    Element* light2 = xml_create_element(&doc, u"light"_str);
    Node* text = xml_create_text(&doc, u"t"_str);
    xml_append_child(root, lights);
    xml_append_child(lights, light2);
    xml_insert_before(lights, light1, light2);
    xml_insert_before(lights, text, nullptr);
    EXPECT_EQ(writeNode(&doc), u"");
    EXPECT_EQ(writeNode(root), u"<graph><lights><light/><light/>t</lights></graph>");
    EXPECT_EQ(xml_prev_sibling(light2), light1);
    EXPECT_EQ(xml_prev_sibling(light1), nullptr);
    EXPECT_EQ(xml_last_child(lights), text);
    EXPECT_EQ(std::pair(xml_count_element(lights, u"light"), xml_count_element(lights, u"ligh")), std::pair(2, 0));
    EXPECT_TRUE(xml_has_children(lights));

    // Inserting before itself changes nothing; moving takes the node out of its place.
    xml_insert_before(lights, light2, light2);
    xml_append_child(root, light1);
    EXPECT_EQ(writeNode(root), u"<graph><lights><light/>t</lights><light/></graph>");

    Element* variables = xml_create_element(&doc, u"variables"_str);
    EXPECT_EQ(xml_replace_child(root, variables, lights), lights);
    EXPECT_EQ(writeNode(root), u"<graph><variables/><light/></graph>");
    EXPECT_EQ(xml_parent(lights), nullptr);
    EXPECT_EQ(xml_get_owner(lights), &doc);
    EXPECT_EQ(xml_replace_child(root, variables, variables), variables);
    EXPECT_EQ(xml_parent(variables), root);

    EXPECT_EQ(xml_remove_child(root, light1), light1);
    freeDetached(light1);
    freeDetached(lights);

    xml_set_value(variables, u"vars"_str);
    xml_set_value(comment, u"changed"_str);
    EXPECT_EQ(XmlTest::writeDocument(&doc), u"<!--changed--><graph><vars/></graph>");
    xml_append_child(variables, xml_create_text(&doc, u""_str));
    xml_append_child(&doc, xml_create_comment(&doc, u"last"_str));
    EXPECT_EQ(XmlTest::writeDocument(&doc), u"<!--changed--><graph><vars></vars></graph><!--last-->") << "an empty text keeps the end tag";

    EXPECT_EQ(xml_remove_child(&doc, root), root);
    EXPECT_EQ(xml_doc_element(&doc), nullptr);
    // A new element may take the place of the removed one.
    Element* command = xml_create_element(&doc, u"command"_str);
    xml_replace_child(&doc, command, comment);
    EXPECT_EQ(xml_doc_element(&doc), command);
    freeDetached(comment);
    freeDetached(root);
    xml_node_dtor(&doc);
}

TEST(XmlNodeTest, KeepsAttributesInOrder)
{
    Document doc;
    xml_doc_ctor(&doc);
    Element* e = xml_create_element(&doc, u"light"_str);
    for (auto [name, text] : {std::pair{u"x", u"1"}, {u"y", u"2"}, {u"z", u""}, {u"x", u"10.5"}})
        xml_set_attribute(e, name, TestSupport::OwnedString(text));
    EXPECT_EQ(writeNode(e), u"<light x=\"10.5\" y=\"2\" z=\"\"/>");
    EXPECT_EQ(value(xml_get_attribute(e, u"x")), u"10.5");
    EXPECT_EQ(value(xml_get_attribute(e, u"X")), u"<none>");
    xml_remove_attribute(e, u"y"), xml_remove_attribute(e, u"missing");
    EXPECT_EQ(writeNode(e), u"<light x=\"10.5\" z=\"\"/>");
    xml_remove_attribute(e, u"x"), xml_remove_attribute(e, u"z");
    EXPECT_EQ(writeNode(e), u"<light/>");
    freeDetached(e);
}

TEST(XmlNodeTest, ClonesShallowAndDeep)
{
    Document doc;
    std::u16string const text = u"<graph title=\"T\"><lights><light x=\"1\"/></lights>expr<!--c--></graph>";
    ASSERT_TRUE(XmlTest::parse(&doc, text, false));
    Element* root = xml_doc_element(&doc);

    Node* shallow = xml_clone(root, false);
    EXPECT_EQ(writeNode(shallow), u"<graph title=\"T\"/>");
    EXPECT_EQ(xml_get_owner(shallow), &doc);

    Node* deep = xml_clone(root, true);
    EXPECT_EQ(writeNode(deep), text);
    EXPECT_EQ(xml_get_owner(xml_first_child(xml_first_child(deep))), &doc);
    xml_set_attribute(xml_first_child(xml_first_child(deep)), u"x", u"2"_str);
    EXPECT_EQ(writeNode(root), text);
    EXPECT_EQ(xml_parent(deep), nullptr);

    auto* copy = static_cast<Document*>(xml_clone(&doc, true));
    EXPECT_EQ(XmlTest::writeDocument(copy), text);
    EXPECT_EQ(xml_get_owner(xml_first_child(xml_doc_element(copy))), copy);

    freeDetached(copy);
    freeDetached(deep);
    freeDetached(shallow);
    xml_node_dtor(&doc);
}

TEST(XmlNodeTest, WalksTreesDeeperThanAnyStack)
{
    // Built bottom-up so that every insertion check stays short.
    constexpr int Depth = 300000;
    Document doc;
    xml_doc_ctor(&doc);
    Node* top = xml_create_element(&doc, u"e"_str);
    for (int i = 1; i < Depth; ++i) {
        Node* parent = xml_create_element(&doc, u"e"_str);
        xml_append_child(parent, top);
        top = parent;
    }
    xml_append_child(&doc, top);
    std::u16string written = XmlTest::writeDocument(&doc);
    EXPECT_EQ(written.size(), static_cast<std::size_t>(Depth - 1) * 7 + 4);
    EXPECT_EQ(written.substr(written.size() - 8), u"</e></e>");

    Node* copy = xml_clone(top, true);
    int levels = 1;
    for (Node* node = copy; xml_first_child(node) != nullptr; node = xml_first_child(node))
        ++levels;
    EXPECT_EQ(levels, Depth);
    freeDetached(copy);
    xml_node_dtor(&doc);
    EXPECT_EQ(xml_doc_element(&doc), nullptr);
}

TEST(XmlNodeTest, BrokenTreeRulesAreFatal)
{
    static Document doc;
    static Document other;
    auto element = [](char16_t const* name) { return xml_create_element(&doc, TestSupport::OwnedString(name)); };
    auto text = [] { return xml_create_text(&doc, u"t"_str); };
    char const* const hierarchy = "Error.XML.HierarchyRequest: xml/write.cpp(";
    char const* const wrongDocument = "Error.XML.WrongDocument: xml/write.cpp(";
    char const* const notFound = "Error.XML.NotFound: xml/write.cpp(";
    struct Case { char const* name; std::function<void()> body; char const* report; } const cases[] = {
        {"second element of a document", [&] { xml_append_child(&doc, element(u"a")), xml_append_child(&doc, element(u"b")); }, hierarchy},
        {"element of another document", [] { xml_append_child(&doc, xml_create_element(&other, u"a"_str)); }, wrongDocument},
        {"child of another document", [&] { xml_append_child(element(u"a"), xml_create_text(&other, u"t"_str)); }, wrongDocument},
        {"element into its own descendant", [&] { Element* a = element(u"a"); xml_append_child(xml_append_child(a, element(u"b")), a); }, hierarchy},
        {"element into itself", [&] { Element* a = element(u"a"); xml_append_child(a, a); }, hierarchy},
        {"text under a document", [&] { xml_append_child(&doc, text()); }, hierarchy},
        {"document under an element", [&] { xml_append_child(element(u"a"), &other); }, hierarchy},
        {"child of a text node", [&] { xml_append_child(text(), text()); }, hierarchy},
        {"reference that is not a child", [&] { xml_insert_before(element(u"a"), text(), text()); }, notFound},
        {"replacing a node that is not a child", [&] { xml_replace_child(element(u"a"), text(), text()); }, notFound},
        {"removing a node that is not a child", [&] { xml_remove_child(element(u"a"), element(u"b")); }, notFound},
        {"destroying a node with a parent", [&] { xml_node_dtor(xml_append_child(&doc, element(u"a"))); }, "Error.XML.HierarchyRequest: xml/document.cpp("},
        {"writing a document without element", [&] { xml_remove_child(&doc, xml_append_child(&doc, element(u"a"))), XmlTest::writeDocument(&doc); },
         "Error.XML.DocumentHasNoRoot: xml/document.cpp("},
        {"attribute on a text node", [&] { xml_set_attribute(text(), u"x", u"1"_str); }, "Error.XML.WrongNodeType: xml/document.cpp("},
    };
    for (auto const& c : cases) {
        SCOPED_TRACE(c.name);
        TestSupport::expectFatal([&c] {
            xml_doc_ctor(&doc);
            xml_doc_ctor(&other);
            c.body();
        }, c.report);
    }
}
