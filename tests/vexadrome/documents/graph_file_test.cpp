// Graph files: every attribute read back through the writer (sections in
// any order and repeated) and numbers that are not numbers.
#include <gtest/gtest.h>

#include "nycore/io/memory_stream.h"
#include "nycore/xml/xml_parser.h"
#include "tests/vexadrome/documents/document_test_support.h"
#include "vexadrome/documents/graph_reader.h"

using namespace Vexadrome::Documents;
using namespace DocumentTests;

namespace {

// Reads a graph from file text; null when the reader refuses it (reason in *reason).
GraphDoc* readGraph(TestHost* host, std::u16string const& text, std::string* reason = nullptr)
{
    NyCore::XML::Document xml;
    NyCore::XML::ParseError error;
    // Untrimmed, as files are loaded.
    if (!xml_parse_buffer_checked(&xml, text.data(), static_cast<int>(text.size()), false, &error)) {
        ADD_FAILURE() << "does not parse: " << TestSupport::toUtf8(text);
        return nullptr;
    }
    NyCore::String* why = nullptr;
    GraphDoc* doc = GraphReader::read(&xml, host, &why, text);
    xml_node_dtor(&xml);
    OwnedString owned(why);
    if (reason)
        *reason = why ? owned.utf8() : "";
    return doc;
}

// The graph file of the document; writing it leaves `modified` alone.
std::string written(GraphDoc* doc)
{
    doc->set$modified(true);
    NyCore::IO::StreamWriter writer;
    memwriter_construct(&writer);
    doc->writeTo(&writer);
    OwnedString text(memwriter_get_text(&writer));
    memwriter_destroy(&writer);
    EXPECT_TRUE(doc->get$isModified());
    return text.utf8();
}

// What a file reads as, seen through the writer: the file, then a piece of
// the written text, or the reason the read fails (read: "" and reason).
struct ReadCase {
    std::u16string file;
    std::string read;
    std::string reason = "";
};

void expectReads(std::vector<ReadCase> const& cases)
{
    for (auto const& c : cases) {
        SCOPED_TRACE(TestSupport::toUtf8(c.file));
        TestHost host;
        std::string reason;
        GraphDoc* doc = readGraph(&host, c.file, &reason);
        EXPECT_EQ(reason, c.reason);
        if (!c.reason.empty()) {
            EXPECT_EQ(doc, nullptr);
            continue;
        }
        ASSERT_NE(doc, nullptr);
        std::string text = written(doc);
        EXPECT_NE(text.find(c.read), std::string::npos) << text;
        delete doc;
    }
}

std::u16string variableFile(std::u16string const& attributes)
{
    return u"<graph><variables><variable " + attributes + u"/></variables></graph>";
}

// A graph of n variables v0, v1, ... of res 1.
std::u16string variables(int n)
{
    std::u16string file = u"<graph><variables>";
    for (int i = 0; i < n; ++i)
        file += u"<variable res='1' name='v" + std::u16string(1, char16_t(u'0' + i)) + u"'/>";
    return file + u"</variables></graph>";
}

std::u16string lightFile(std::u16string const& attributes)
{
    return u"<graph><lights><light " + attributes + u"/></lights></graph>";
}

std::u16string exprFile(std::u16string const& attributes)
{
    return u"<graph><expressions><expression " + attributes + u">x</expression></expressions></graph>";
}

}

TEST(GraphFile, EveryAttributeIsRead)
{
    std::string const light0 = "<lights><light active=";
    expectReads({
        {u"<graph/>", "<graph title=\"\" near=\"0.1\" far=\"1000\" frame-rate=\"30\" fov-angle=\"50\" axes-length=\"50\" "
                      "background=\"14\" mode=\"euclidian\"><variables><variable name=\"x\" min=\"-10\""},
        {u"<graph near='0.5' far='250.25' frame-rate='12' fov-angle='35.5' axes-length='-2'/>",
         "near=\"0.5\" far=\"250.25\" frame-rate=\"12\" fov-angle=\"35.5\" axes-length=\"-2\""},
        {u"<graph frame-rate='0'/>", "frame-rate=\"1\""},  // would divide by zero
        {u"<graph frame-rate='1001'/>", "frame-rate=\"1000\""},  // would give no timer interval
        {u"<graph mode='SPHERICAL'/>", "mode=\"spherical\""},
        {variableFile(u"name='t' min='-3.5' max='6.25' res='40' tick='5'"),
         "<variables><variable name=\"t\" min=\"-3.5\" max=\"6.25\" res=\"40\" tick=\"5\"/></variables>"},
        {variableFile(u"res='0'"), "res=\"1\""},  // every variable takes at least two values
        {u"<graph><variables><a/>text<variable name='a'/><b/><variable/></variables></graph>",
         "<variables><variable name=\"a\" min=\"-10\" max=\"10\" res=\"25\" tick=\"25\"/><variable name=\"\""},
        {u"<graph><variables/></graph>", "<variables><variable name=\"x\" min=\"-10\""},  // the default variable
        {variables(8), "<variable name=\"v7\" min=\"-10\" max=\"10\" res=\"1\" tick=\"25\"/></variables>"},
        {variables(9), "", "the graph has 9 variables; at most 8 are allowed"},
        // A light with only a position is inactive, non-directional and of colour 0; missing positions are 0.
        {lightFile(u"y='2' z='3'"), light0 + "\"false\" color=\"0\" directional=\"false\" x=\"0\" y=\"2\" z=\"3\"/>"},
        {lightFile(u"x='0.1' active='TRUE' directional='True' color='9'"),
         light0 + "\"true\" color=\"9\" directional=\"true\" x=\"0.10000000149011612\""},
        {lightFile(u"active='yes' directional='1' color='15'"), light0 + "\"false\" color=\"0\" directional="},
        {u"<graph><lights><light/><light/><light/><light x='4'/><light x='5' active='true'/></lights></graph>",
         "x=\"4\" y=\"0\" z=\"0\"/></lights>"},
        {exprFile(u""), "<expression name=\"\" color=\"0\" normal-length=\"0\" normal-pcolor=\"0\" normal-ncolor=\"0\" "
                        "mode=\"wireframe\" material=\"plastic\">x</expression>"},
        {exprFile(u"name='a &lt; &quot;b&quot; &amp; &#x393;'"), "<expression name=\"a &lt; &quot;b&quot; &amp; \xce\x93\""},
        {exprFile(u"name='w' color='7' normal-length='1.5' normal-pcolor='4' normal-ncolor='13' mode='filled' "
                  u"material='metal'"),
         "<expression name=\"w\" color=\"7\" normal-length=\"1.5\" normal-pcolor=\"4\" normal-ncolor=\"13\" "
         "mode=\"filled\" material=\"metal\">"},
        {exprFile(u"color='99' normal-pcolor='15' normal-ncolor='-1'"),  // off the colour table
         "color=\"0\" normal-length=\"0\" normal-pcolor=\"0\" normal-ncolor=\"0\""},
        {exprFile(u"mode='surface' material='wood'"), "mode=\"wireframe\" material=\"plastic\""},
        {u"<graph><expressions><expression>\n   x * 2  \n</expression></expressions></graph>", ">x * 2</expression>"},
        {u"<graph><expressions><expression><b/>x</expression></expressions></graph>", "\"plastic\"></expression>"},
        // Sections in any order and repeated: variables replaced, lights from light 0 again, expressions appended.
        {u"<graph><lights><light x='1' active='true'/><light x='2'/></lights><variables><variable name='a'/></variables>"
         u"<unknown><variables><variable name='no'/></variables></unknown><lights><light x='10'/></lights>"
         u"<variables><variable name='x' res='3'/></variables></graph>",
         "<variables><variable name=\"x\" min=\"-10\" max=\"10\" res=\"3\" tick=\"25\"/></variables>" + light0 +
         "\"false\" color=\"0\" directional=\"false\" x=\"10\" y=\"0\" z=\"0\"/><light active=\"false\" color=\"0\" "
         "directional=\"false\" x=\"2\""},
        {u"<graph><expressions><expression>1</expression></expressions><expressions><expression/></expressions></graph>",
         "\"plastic\">1</expression><expression name="},
    });
}

// Fault: numbers were read as far as they parsed ("-2.5e-1" as -2.5, "abc" as 1), without a word.
TEST(GraphFile, NumbersAreNumbersOrTheReadFails)
{
    auto refused = [](char const* name, char const* element, int column, char const* value,
                      std::string const& problem = "is not a number") {
        return std::string("attribute \"") + name + "\" of <" + element + "> at line 1, column " +
               std::to_string(column) + ": \"" + value + "\" " + problem;
    };
    std::string const notWhole = "is not a whole number from -2147483648 to 2147483647";
    std::vector<ReadCase> cases = {
        {variableFile(u"min='-2.5e-1'"), "min=\"-0.25\""},
        {variableFile(u"min='1.' max='.5'"), "min=\"1\" max=\"0.5\""},
        {variableFile(u"min='1e-400'"), "min=\"0\""},  // below the smallest double
        {variableFile(u"res='1e2' tick='+40.0'"), "res=\"100\" tick=\"40\""},
        {variableFile(u"res='abc' tick='x'"), "", refused("res", "variable", 34, "abc")},  // the first in the file
        {variableFile(u"min='1e999'"), "", refused("min", "variable", 34, "1e999", "is out of range")},
        {variableFile(u"res='2.5'"), "", refused("res", "variable", 34, "2.5", notWhole)},
        {variableFile(u"tick='3e9'"), "", refused("tick", "variable", 35, "3e9", notWhole)},
        {lightFile(u"x='1e39'"), "", refused("x", "light", 26, "1e39", "is out of range")},
        {u"<graph frame-rate='many'/>", "", refused("frame-rate", "graph", 20, "many")},
        {u"<graph>\n<variables>\n  <variable name='t' min='1,5'/>\n</variables></graph>", "",
         "attribute \"min\" of <variable> at line 3, column 27: \"1,5\" is not a number"},
    };
    for (std::string text : {"NaN", "inf", "1e", "1.2.3", "--1", ".", "", " 5", "0x10"})
        cases.push_back({variableFile(u"min='" + std::u16string(text.begin(), text.end()) + u"'"), "",
                         refused("min", "variable", 34, text.c_str())});
    expectReads(cases);
}
