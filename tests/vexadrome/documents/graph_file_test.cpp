// Graph files: every attribute with its default and encoding, the sections in
// any order and repeated, the exact bytes written, round trips through a file,
// and the values the model cannot hold.
#include <gtest/gtest.h>

#include <unistd.h>

#include <cstdio>
#include <fstream>
#include <functional>
#include <sstream>

#include "nycore/io/memory_stream.h"
#include "nycore/xml/xml_parser.h"
#include "tests/vexadrome/documents/graph_test_support.h"
#include "vexadrome/documents/graph_reader.h"
#include "vexadrome/documents/math_doc_reader.h"
#include "vexadrome/documents/math_doc_writer.h"

using namespace Vexadrome::Documents;
using GraphTests::addExpr;
using GraphTests::GraphHost;
using GraphTests::setVariables;

namespace {

// Reads a graph from file text; null when the reader refuses it (reason in *reason).
GraphDoc* readGraph(GraphHost* host, std::u16string const& text, std::string* reason = nullptr)
{
    NyCore::XML::Document xml;
    NyCore::XML::ParseError error;
    if (!xml_parse_buffer_checked(&xml, text.data(), static_cast<int>(text.size()), true, &error)) {
        ADD_FAILURE() << "does not parse: " << TestSupport::toUtf8(text);
        return nullptr;
    }
    NyCore::String* why = nullptr;
    GraphDoc* doc = GraphReader::read(&xml, host, &why);
    xml_node_dtor(&xml);
    if (reason)
        *reason = why ? TestSupport::toUtf8(why) : "";
    string_free(why);
    return doc;
}

std::u16string written(GraphDoc* doc)
{
    NyCore::IO::StreamWriter writer;
    memwriter_construct(&writer);
    doc->writeTo(&writer);
    NyCore::String* text = memwriter_get_text(&writer);
    memwriter_destroy(&writer);
    std::u16string result = TestSupport::toU16(text);
    string_free(text);
    return result;
}

struct FieldCase {
    std::u16string file;
    std::function<double(GraphDoc*)> field;
    double expected;
};

void expectFields(std::vector<FieldCase> const& cases)
{
    for (auto const& c : cases) {
        GraphHost host;
        GraphDoc* doc = readGraph(&host, c.file);
        ASSERT_NE(doc, nullptr) << TestSupport::toUtf8(c.file);
        EXPECT_EQ(c.field(doc), c.expected) << TestSupport::toUtf8(c.file);
        delete doc;
    }
}

std::u16string variableFile(std::u16string const& attributes)
{
    return u"<graph><variables><variable " + attributes + u"/></variables></graph>";
}

std::u16string lightFile(std::u16string const& attributes)
{
    return u"<graph><lights><light " + attributes + u"/></lights></graph>";
}

std::u16string exprFile(std::u16string const& attributes)
{
    return u"<graph><expressions><expression " + attributes + u">x</expression></expressions></graph>";
}

std::string temporaryPath(char const* name)
{
    return "/tmp/vexadrome_graph_test_" + std::to_string(getpid()) + "_" + name;
}

std::string fileBytes(std::string const& path)
{
    std::ifstream in(path, std::ios::binary);
    std::stringstream content;
    content << in.rdbuf();
    return content.str();
}

}

TEST(GraphFile, RootAttributes)
{
    auto nearPlane = [](GraphDoc* d) { return d->nearPlane; };
    auto farPlane = [](GraphDoc* d) { return d->farPlane; };
    auto frameRate = [](GraphDoc* d) { return double(d->frameRate); };
    auto fovAngle = [](GraphDoc* d) { return d->fovAngle; };
    auto axesLength = [](GraphDoc* d) { return d->axesLength; };
    auto background = [](GraphDoc* d) { return double(d->background); };
    auto mode = [](GraphDoc* d) { return double(d->mode); };
    expectFields({
        {u"<graph/>", nearPlane, 0.1},
        {u"<graph near='0.5'/>", nearPlane, 0.5},
        {u"<graph/>", farPlane, 1000.0},
        {u"<graph far='250.25'/>", farPlane, 250.25},
        {u"<graph/>", frameRate, 30},
        {u"<graph frame-rate='12'/>", frameRate, 12},
        {u"<graph frame-rate='1000'/>", frameRate, 1000},
        {u"<graph frame-rate='0'/>", frameRate, 1},       // would divide by zero
        {u"<graph frame-rate='-5'/>", frameRate, 1},
        {u"<graph frame-rate='1001'/>", frameRate, 1000}, // would give no timer interval
        {u"<graph frame-rate='many'/>", frameRate, 1},
        {u"<graph/>", fovAngle, 50.0},
        {u"<graph fov-angle='35.5'/>", fovAngle, 35.5},
        {u"<graph/>", axesLength, 50.0},
        {u"<graph axes-length='-2'/>", axesLength, -2.0},
        {u"<graph/>", background, 14},
        {u"<graph background='0'/>", background, 0},
        {u"<graph background='14'/>", background, 14},
        {u"<graph background='15'/>", background, 0},  // off the colour table
        {u"<graph background='-1'/>", background, 0},
        {u"<graph/>", mode, GraphMode::Euclidian},
        {u"<graph mode='polar'/>", mode, GraphMode::Polar},
        {u"<graph mode='Polar'/>", mode, GraphMode::Polar},
        {u"<graph mode='SPHERICAL'/>", mode, GraphMode::Spherical},
        {u"<graph mode='EuClIdIaN'/>", mode, GraphMode::Euclidian},
        {u"<graph mode='cartesian'/>", mode, GraphMode::Euclidian},
        {u"<graph mode='2'/>", mode, GraphMode::Euclidian},
    });
}

TEST(GraphFile, VariableAttributes)
{
    auto count = [](GraphDoc* d) { return double(d->get$varCount()); };
    auto min = [](GraphDoc* d) { return d->getRange(0)->min; };
    auto max = [](GraphDoc* d) { return d->getRange(0)->max; };
    auto res = [](GraphDoc* d) { return double(d->getRange(0)->res); };
    auto tick = [](GraphDoc* d) { return double(d->getRange(0)->tick); };
    auto points = [](GraphDoc* d) { return double(d->get$pointCount()); };
    expectFields({
        {variableFile(u""), count, 1},
        {variableFile(u""), min, -10.0},
        {variableFile(u"min='-3.5'"), min, -3.5},
        {variableFile(u""), max, 10.0},
        {variableFile(u"max='6.25'"), max, 6.25},
        {variableFile(u""), res, 25},
        {variableFile(u"res='40'"), res, 40},
        {variableFile(u"res='0'"), res, 1},  // every variable takes at least two values
        {variableFile(u"res='-12'"), res, 1},
        {variableFile(u""), tick, 25},
        {variableFile(u"tick='5'"), tick, 5},
        {u"<graph><variables><variable res='25'/><variable res='10'/></variables></graph>", points, 286},
        {u"<graph><variables><a/>text<variable/><b/><variable/><variable/></variables></graph>", count, 3},
    });

    GraphHost host;
    GraphDoc* doc = readGraph(&host, u"<graph><variables><variable name='t'/><variable/></variables></graph>");
    ASSERT_NE(doc, nullptr);
    EXPECT_EQ(TestSupport::toUtf8(doc->getVarName(0)), "t");
    EXPECT_EQ(TestSupport::toUtf8(doc->getVarName(1)), "");
    delete doc;
}

TEST(GraphFile, LightAttributes)
{
    auto light = [](int i, auto member) { return [=](GraphDoc* d) { return double(d->lights[i].*member); }; };
    expectFields({
        // A light with only a position is inactive, non-directional and of colour 0.
        {lightFile(u"x='1' y='2' z='3'"), light(0, &GraphLight::x), 1},
        {lightFile(u"x='1' y='2' z='3'"), light(0, &GraphLight::y), 2},
        {lightFile(u"x='1' y='2' z='3'"), light(0, &GraphLight::z), 3},
        {lightFile(u"x='1' y='2' z='3'"), light(0, &GraphLight::active), false},
        {lightFile(u"x='1' y='2' z='3'"), light(0, &GraphLight::directional), false},
        {lightFile(u"x='1' y='2' z='3'"), light(0, &GraphLight::color), 0},
        // Missing positions read as 0, not as the new document's light 0 at (0, 20, 0).
        {lightFile(u""), light(0, &GraphLight::y), 0},
        {lightFile(u"x='0.1'"), light(0, &GraphLight::x), double(0.1f)},
        {lightFile(u"active='true'"), light(0, &GraphLight::active), true},
        {lightFile(u"active='TRUE'"), light(0, &GraphLight::active), true},
        {lightFile(u"active='yes'"), light(0, &GraphLight::active), false},
        {lightFile(u"directional='True'"), light(0, &GraphLight::directional), true},
        {lightFile(u"directional='1'"), light(0, &GraphLight::directional), false},
        {lightFile(u"color='9'"), light(0, &GraphLight::color), 9},
        {lightFile(u"color='15'"), light(0, &GraphLight::color), 0},
        {lightFile(u"color='-3'"), light(0, &GraphLight::color), 0},
        // Lights without an element keep the document's defaults.
        {lightFile(u""), light(1, &GraphLight::x), 20},
        {lightFile(u""), light(3, &GraphLight::z), 20},
        {u"<graph><lights><light/><light/><light/><light/><light x='5' active='true'/></lights></graph>",
         light(0, &GraphLight::active), false},
        {u"<graph><lights><light/><light/><light/><light x='4'/><light x='5'/></lights></graph>",
         light(3, &GraphLight::x), 4},
    });
}

TEST(GraphFile, ExpressionAttributes)
{
    auto expr = [](auto read) { return [=](GraphDoc* d) { return double(read(d->getExpr(0))); }; };
    auto color = expr([](GraphExpr* e) { return e->color; });
    auto active = expr([](GraphExpr* e) { return e->active; });
    auto rendMode = expr([](GraphExpr* e) { return e->rendMode; });
    auto material = expr([](GraphExpr* e) { return e->material; });
    auto normalLength = expr([](GraphExpr* e) { return e->normalLength; });
    auto pColor = expr([](GraphExpr* e) { return e->normalPColor; });
    auto nColor = expr([](GraphExpr* e) { return e->normalNColor; });
    expectFields({
        {exprFile(u""), color, 0},
        {exprFile(u"color='7'"), color, 7},
        {exprFile(u"color='99'"), color, 0},
        {exprFile(u""), active, true},
        {exprFile(u"active='false'"), active, false},
        {exprFile(u"active='FALSE'"), active, false},
        {exprFile(u"active='TRUE'"), active, true},
        {exprFile(u""), rendMode, ExprRendMode::Wireframe},
        {exprFile(u"mode='filled'"), rendMode, ExprRendMode::Filled},
        {exprFile(u"mode='Points'"), rendMode, ExprRendMode::Points},
        {exprFile(u"mode='surface'"), rendMode, ExprRendMode::Wireframe},
        {exprFile(u""), material, ExprMaterial::Plastic},
        {exprFile(u"material='metal'"), material, ExprMaterial::Metal},
        {exprFile(u"material='Rubber'"), material, ExprMaterial::Rubber},
        {exprFile(u"material='FLAT'"), material, ExprMaterial::Flat},
        {exprFile(u"material='wood'"), material, ExprMaterial::Plastic},
        {exprFile(u""), normalLength, 0.0},
        {exprFile(u"normal-length='1.5'"), normalLength, 1.5},
        {exprFile(u""), pColor, 0},
        {exprFile(u"normal-pcolor='4'"), pColor, 4},
        {exprFile(u"normal-pcolor='15'"), pColor, 0},
        {exprFile(u""), nColor, 0},
        {exprFile(u"normal-ncolor='13'"), nColor, 13},
        {exprFile(u"normal-ncolor='-1'"), nColor, 0},
    });

    struct TextCase {
        std::u16string element;
        std::string name;
        std::string text;
    } const texts[] = {
        {u"<expression name='wave'>sin(x)</expression>", "wave", "sin(x)"},
        {u"<expression>\n   x * 2  \n</expression>", "", "x * 2"},  // read with trimming
        {u"<expression name=''/>", "", ""},
        {u"<expression><b/>x</expression>", "", ""},
    };
    for (auto const& t : texts) {
        GraphHost host;
        GraphDoc* doc = readGraph(&host, u"<graph><expressions>" + t.element + u"</expressions></graph>");
        ASSERT_NE(doc, nullptr);
        ASSERT_EQ(doc->get$exprCount(), 1);
        EXPECT_EQ(TestSupport::toUtf8(doc->getExpr(0)->get$name()), t.name) << TestSupport::toUtf8(t.element);
        EXPECT_EQ(TestSupport::toUtf8(doc->getExpr(0)->get$exprString()), t.text) << TestSupport::toUtf8(t.element);
        delete doc;
    }
}

TEST(GraphFile, AGraphWithOnlyItsRootHasAllDefaults)
{
    GraphHost host;
    std::string path = temporaryPath("root_only.graph");
    std::ofstream(path, std::ios::binary) << "<graph title=\"Only the root\"/>";
    NyCore::String* file = string_from_utf8(path.c_str(), static_cast<int>(path.size()));
    auto* doc = dynamic_cast<GraphDoc*>(MathDocReader::load(file, &host));
    ASSERT_NE(doc, nullptr);
    EXPECT_EQ(TestSupport::toUtf8(doc->get$title()), "Only the root");
    EXPECT_EQ(doc->get$varCount(), 1);
    EXPECT_EQ(TestSupport::toUtf8(doc->getVarName(0)), "x");
    EXPECT_EQ(doc->get$pointCount(), 26);
    EXPECT_TRUE(doc->lights[0].active);
    EXPECT_EQ(doc->lights[3].x, 20.0f);
    EXPECT_EQ(doc->get$exprCount(), 0);
    EXPECT_FALSE(doc->get$isModified());
    delete doc;
    string_free(file);
    std::remove(path.c_str());
}

TEST(GraphFile, SectionsInAnyOrderAndReadTwice)
{
    GraphHost host;
    GraphDoc* doc = readGraph(&host,
        u"<graph>"
        u"<expressions><expression name='first'>x</expression></expressions>"
        u"<lights><light x='1' active='true'/><light x='2'/><light x='3'/><light x='4'/></lights>"
        u"<variables><variable name='a'/><variable name='b'/></variables>"
        u"<unknown><variables><variable name='no'/></variables></unknown>"
        u"<lights><light x='10'/></lights>"
        u"<variables><variable name='x' res='3'/></variables>"
        u"<expressions><expression name='second'>2*x</expression></expressions>"
        u"</graph>");
    ASSERT_NE(doc, nullptr);
    // Variables replaced by the second section.
    ASSERT_EQ(doc->get$varCount(), 1);
    EXPECT_EQ(TestSupport::toUtf8(doc->getVarName(0)), "x");
    EXPECT_EQ(doc->get$pointCount(), 4);
    // Lights overwritten from light 0 again.
    EXPECT_EQ(doc->lights[0].x, 10.0f);
    EXPECT_FALSE(doc->lights[0].active);
    EXPECT_EQ(doc->lights[1].x, 2.0f);
    EXPECT_EQ(doc->lights[3].x, 4.0f);
    // Expressions appended, and compiled over the final variables.
    ASSERT_EQ(doc->get$exprCount(), 2);
    EXPECT_EQ(TestSupport::toUtf8(doc->getExpr(0)->get$name()), "first");
    EXPECT_EQ(TestSupport::toUtf8(doc->getExpr(1)->get$name()), "second");
    ASSERT_NE(doc->getExpr(1)->points, nullptr);
    EXPECT_EQ(doc->getExpr(1)->points[3 * 3 + 1], 20.0);
    delete doc;
}

TEST(GraphFile, WrittenBytes)
{
    GraphHost host;
    GraphDoc doc(&host);
    doc.set$title(u"Graph1"_str);
    EXPECT_EQ(TestSupport::toUtf8(written(&doc)),
              "<graph title=\"Graph1\" near=\"0.1\" far=\"1000\" frame-rate=\"30\" fov-angle=\"50\" axes-length=\"50\" "
              "background=\"14\" mode=\"euclidian\">"
              "<variables><variable name=\"x\" min=\"-10\" max=\"10\" res=\"25\" tick=\"25\"/></variables>"
              "<lights>"
              "<light active=\"true\" color=\"0\" directional=\"false\" x=\"0\" y=\"20\" z=\"0\"/>"
              "<light active=\"false\" color=\"0\" directional=\"false\" x=\"20\" y=\"0\" z=\"0\"/>"
              "<light active=\"false\" color=\"0\" directional=\"false\" x=\"0\" y=\"0\" z=\"20\"/>"
              "<light active=\"false\" color=\"0\" directional=\"false\" x=\"20\" y=\"0\" z=\"20\"/>"
              "</lights>"
              "<expressions/>"
              "</graph>");

    doc.mode = GraphMode::Spherical;
    doc.nearPlane = 0.25;
    doc.farPlane = 1e6;
    doc.frameRate = 60;
    doc.fovAngle = 42.5;
    doc.axesLength = 7;
    doc.background = 0;
    setVariables(&doc, {{u"u", 0, 6.5, 40}, {u"v", -1.5, 1.5, 20}});
    doc.lights[2] = {0.1f, -2.5f, 3.0f, 12, true, true};
    GraphExpr* e = addExpr(&doc, u"vector(1, u, v)", u"ball");
    e->color = 3;
    e->normalLength = 0.5;
    e->normalPColor = 1;
    e->normalNColor = 2;
    e->rendMode = ExprRendMode::Filled;
    e->material = ExprMaterial::Flat;
    e->active = false;  // never written
    GraphExpr* blank = addExpr(&doc, u"", u"");
    blank->rendMode = ExprRendMode::Points;
    blank->material = ExprMaterial::Rubber;
    EXPECT_EQ(TestSupport::toUtf8(written(&doc)),
              "<graph title=\"Graph1\" near=\"0.25\" far=\"1000000\" frame-rate=\"60\" fov-angle=\"42.5\" "
              "axes-length=\"7\" background=\"0\" mode=\"spherical\">"
              "<variables>"
              "<variable name=\"u\" min=\"0\" max=\"6.5\" res=\"40\" tick=\"25\"/>"
              "<variable name=\"v\" min=\"-1.5\" max=\"1.5\" res=\"20\" tick=\"25\"/>"
              "</variables>"
              "<lights>"
              "<light active=\"true\" color=\"0\" directional=\"false\" x=\"0\" y=\"20\" z=\"0\"/>"
              "<light active=\"false\" color=\"0\" directional=\"false\" x=\"20\" y=\"0\" z=\"0\"/>"
              "<light active=\"true\" color=\"12\" directional=\"true\" x=\"0.10000000149011612\" y=\"-2.5\" z=\"3\"/>"
              "<light active=\"false\" color=\"0\" directional=\"false\" x=\"20\" y=\"0\" z=\"20\"/>"
              "</lights>"
              "<expressions>"
              "<expression name=\"ball\" color=\"3\" normal-length=\"0.5\" normal-pcolor=\"1\" normal-ncolor=\"2\" "
              "mode=\"filled\" material=\"flat\">vector(1, u, v)</expression>"
              "<expression name=\"\" color=\"0\" normal-length=\"0\" normal-pcolor=\"0\" normal-ncolor=\"0\" "
              "mode=\"points\" material=\"rubber\"></expression>"
              "</expressions>"
              "</graph>");

    // Reading those bytes and writing them again gives the same bytes.
    std::u16string first = written(&doc);
    GraphDoc* again = readGraph(&host, first);
    ASSERT_NE(again, nullptr);
    again->set$title(u"Graph1"_str);
    EXPECT_EQ(TestSupport::toUtf8(written(again)), TestSupport::toUtf8(first));
    EXPECT_EQ(again->lights[2].x, 0.1f);
    delete again;
}

TEST(GraphFile, RoundTripsThroughAFile)
{
    struct Case {
        char const* label;
        std::u16string title;
        std::u16string name;
        bool wide;  // saved as UTF-16 with a byte-order mark
    } const cases[] = {
        {"plain", u"Waves", u"ripple", false},
        {"markup characters", u"a < b & \"c\" > d", u"<tag attr=\"1\">&amp;", false},
        {"Latin-1", u"Fl\u00e4che \u00e9t\u00e9", u"\u00fcber", false},
        {"beyond Latin-1", u"\u0393\u03c1\u03ac\u03c6\u03b7\u03bc\u03b1 \u66f2\u7dda", u"\u5f62 \U0001D453", true},
    };
    for (auto const& c : cases) {
        SCOPED_TRACE(c.label);
        GraphHost host;
        auto* doc = new GraphDoc(&host);
        NyCore::String* title = TestSupport::makeString(c.title);
        doc->set$title(title);
        string_free(title);
        doc->mode = GraphMode::Polar;
        doc->frameRate = 24;
        setVariables(doc, {{u"t", 0, 3, 30}, {u"s", 1, 2, 4}});
        GraphExpr* e = addExpr(doc, u"t*s + 1", c.name);
        e->material = ExprMaterial::Metal;
        e->color = 11;
        addExpr(doc, u"  t < s  ", u"second");

        std::string path = temporaryPath("round_trip.graph");
        NyCore::String* file = string_from_utf8(path.c_str(), static_cast<int>(path.size()));
        ASSERT_TRUE(MathDocWriter::save(doc, file));
        std::string bytes = fileBytes(path);
        EXPECT_EQ(bytes.rfind("\xFF\xFE", 0) == 0, c.wide);
        if (!c.wide) {
            EXPECT_EQ(bytes.rfind("<graph title=\"", 0), 0u);
        }

        NyCore::String* reason = nullptr;
        auto* back = dynamic_cast<GraphDoc*>(MathDocReader::load(file, &host, &reason));
        ASSERT_NE(back, nullptr) << (reason ? TestSupport::toUtf8(reason) : "");
        EXPECT_EQ(TestSupport::toU16(back->get$title()), c.title);
        EXPECT_EQ(TestSupport::toUtf8(back->get$fileName()), path);
        EXPECT_EQ(back->mode, GraphMode::Polar);
        EXPECT_EQ(back->frameRate, 24);
        ASSERT_EQ(back->get$varCount(), 2);
        EXPECT_EQ(TestSupport::toUtf8(back->getVarName(1)), "s");
        EXPECT_EQ(back->getRange(0)->res, 30);
        EXPECT_EQ(back->getRange(1)->min, 1.0);
        ASSERT_EQ(back->get$exprCount(), 2);
        EXPECT_EQ(TestSupport::toU16(back->getExpr(0)->get$name()), c.name);
        EXPECT_EQ(TestSupport::toUtf8(back->getExpr(0)->get$exprString()), "t*s + 1");
        EXPECT_EQ(back->getExpr(0)->material, ExprMaterial::Metal);
        EXPECT_EQ(back->getExpr(0)->color, 11);
        EXPECT_TRUE(back->getExpr(0)->active);
        EXPECT_NE(back->getExpr(0)->points, nullptr);
        // Surrounding blanks are lost to the trimming reader; the failing compile leaves it inactive.
        EXPECT_EQ(TestSupport::toUtf8(back->getExpr(1)->get$exprString()), "t < s");
        EXPECT_FALSE(back->getExpr(1)->active);
        delete back;
        delete doc;
        string_free(file);
        std::remove(path.c_str());
    }
}

TEST(GraphFile, ValuesTheModelCannotHold)
{
    // An empty variables section falls back to the default variable x.
    GraphHost host;
    GraphDoc* doc =
        readGraph(&host, u"<graph><variables/><expressions><expression>x*x</expression></expressions></graph>");
    ASSERT_NE(doc, nullptr);
    ASSERT_EQ(doc->get$varCount(), 1);
    EXPECT_EQ(TestSupport::toUtf8(doc->getVarName(0)), "x");
    EXPECT_EQ(doc->getRange(0)->res, 25);
    ASSERT_NE(doc->getExpr(0)->points, nullptr);
    EXPECT_EQ(doc->getExpr(0)->points[1], 100.0);
    delete doc;

    // Eight variables are accepted, nine refused.
    std::u16string eight = u"<graph><variables>";
    for (int i = 0; i < 8; ++i)
        eight += u"<variable res='1' name='v" + std::u16string(1, char16_t(u'0' + i)) + u"'/>";
    doc = readGraph(&host, eight + u"</variables></graph>");
    ASSERT_NE(doc, nullptr);
    EXPECT_EQ(doc->get$pointCount(), 256);
    delete doc;
    std::string reason;
    doc = readGraph(&host, eight + u"<variable/></variables></graph>", &reason);
    EXPECT_EQ(doc, nullptr);
    EXPECT_EQ(reason, "the graph has 9 variables; at most 8 are allowed");

    // Huge grids load, but their expressions are refused before anything is allocated.
    std::u16string huge = u"<graph><variables>";
    for (int i = 0; i < 8; ++i)
        huge += u"<variable res='2147483647' name='v" + std::u16string(1, char16_t(u'0' + i)) + u"'/>";
    huge += u"</variables><expressions><expression>v0</expression></expressions></graph>";
    doc = readGraph(&host, huge);
    ASSERT_NE(doc, nullptr);
    EXPECT_TRUE(doc->get$hasTooManyPoints());
    EXPECT_FALSE(doc->getExpr(0)->active);
    EXPECT_EQ(doc->getExpr(0)->points, nullptr);
    Vexadrome::Parsing::Error error;
    EXPECT_EQ(doc->bindAllExprs(&error), 0);
    EXPECT_EQ(error.code, Vexadrome::Parsing::ErrorCode::TooComplex);
    delete doc;
}
