// Tests of paths into the XML tree and of comparing nodes by a path.
#include <gtest/gtest.h>

#include <string>

#include "nycore/xml/xml_path.h"
#include "tests/nycore/xml/xml_test_support.h"

using namespace NyCore::XML;
using XmlTest::value;

TEST(XmlPathTest, FollowsPaths)
{
    Document doc;
    ASSERT_TRUE(XmlTest::parse(&doc,
                               u"<graph title=\"T\"><variables><variable name=\"x\" min=\"-10\"/>"
                               u"<variable name=\"y\"/></variables><expressions><!--c-->"
                               u"<expression name=\"e\"><!--d-->sin(x)</expression></expressions></graph>",
                               false));
    Element* root = xml_doc_element(&doc);
    struct Case { std::u16string path; std::u16string found; } const cases[] = {
        {u"@title", u"T"}, {u"@title;ignored", u"T"}, {u"@tit", u"<none>"}, {u"@titles", u"<none>"},
        {u"variables", u"variables"}, {u"variables;x", u"variables"}, {u"variables/variable", u"variable"},
        {u"variables/variable/@name", u"x"}, {u"variables/variable/@min;", u"-10"},
        {u"variables/variable/@max", u"<none>"}, {u"./variables/./variable/@name", u"x"},
        {u"variables/../@title", u"T"}, {u"variables/variable/../../expressions/expression/@name", u"e"},
        {u"expressions/expression/text()", u"sin(x)"}, {u"expressions/text()", u"<none>"}, {u"text()", u"<none>"},
        {u"nothing", u"<none>"}, {u"variables/nothing/@name", u"<none>"}, {u"variable", u"<none>"},
        {u"../@title", u"<none>"}, {u"../graph", u"<none>"}, {u"../../x", u"<none>"}, {u"", u"<none>"},
    };
    for (auto const& c : cases) {
        SCOPED_TRACE(TestSupport::toUtf8(c.path));
        EXPECT_EQ(value(xml_follow_xpath(root, c.path.c_str())), c.found);
    }
    Node* text = xml_last_child(xml_last_child(xml_last_child(root)));
    EXPECT_EQ(value(xml_follow_xpath(text, u"@name")), u"<none>");
    EXPECT_EQ(value(xml_follow_xpath(text, u"../@name")), u"e");
    EXPECT_EQ(xml_follow_xpath(nullptr, u"@x"), nullptr);
    xml_node_dtor(&doc);
}

TEST(XmlPathTest, MatchesOneStep)
{
    struct Case { std::u16string path; std::u16string pattern; char16_t terminator; bool matches; } const cases[] = {
        {u"abc", u"abc", 0, true},      {u"abc/d", u"abc", 0, true},        {u"abc;", u"abc", 0, true},
        {u"abcd", u"abc", 0, false},    {u"ab", u"abc", 0, false},          {u"abc/x", u"abc|zzz", u'|', true},
        {u"abx", u"abc|", u'|', false}, {u"", u"", 0, true},                {u"x", u"", 0, false},
        {u"/x", u"", 0, true},
    };
    for (auto const& c : cases) {
        SCOPED_TRACE(TestSupport::toUtf8(c.path + u" ~ " + c.pattern));
        EXPECT_EQ(xml_match_xpath(c.path.c_str(), c.pattern.c_str(), c.terminator), c.matches);
    }
}

TEST(XmlPathTest, ComparesNodesByKey)
{
    Document doc;
    ASSERT_TRUE(XmlTest::parse(&doc, u"<list><e v=\"10\"/><e v=\"9\"/><e/><e v=\"10\"/><e v=\"abc\"/></list>", true));
    Node* ten = xml_first_child(xml_doc_element(&doc));
    Node* nine = xml_next_sibling(ten);
    Node* none = xml_next_sibling(nine);
    Node* tenAgain = xml_next_sibling(none);
    Node* letters = xml_next_sibling(tenAgain);
    struct Case { char const* name; Node* a; Node* b; int mode; int order; } const cases[] = {
        {"text 10 vs 9", ten, nine, 0, -1},      {"text 9 vs 10", nine, ten, 0, 1},
        {"text equal", ten, tenAgain, 0, 0},     {"text abc vs 9", letters, nine, 0, 1},
        {"number 10 vs 9", ten, nine, 1, 1},     {"number 9 vs 10", nine, ten, 1, -1},
        {"number equal", ten, tenAgain, 1, 0},   {"all equal", ten, nine, 2, 0},
        {"a missing", none, ten, 0, -1},         {"b missing", ten, none, 1, 1},
        {"both missing", none, none, 2, -1},
    };
    for (auto const& c : cases) {
        SCOPED_TRACE(c.name);
        SortKey key{u"@v", c.mode};
        EXPECT_EQ(xml_compare(c.a, c.b, &key), c.order);
    }
    SortKey key{u"@v", 1};
    xml_sort_children(xml_doc_element(&doc), &key);
    EXPECT_EQ(xml_first_child(xml_doc_element(&doc)), ten);
    EXPECT_EQ(xml_last_child(xml_doc_element(&doc)), letters);
    xml_node_dtor(&doc);
}
