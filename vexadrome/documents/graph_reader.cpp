// Reading graph files: the root's view settings, then its sections in
// document order (a section met twice is read twice).
#include "vexadrome/documents/graph_reader.h"

#include <algorithm>
#include <memory>

#include "nycore/text/print.h"
#include "nycore/text/string_functions.h"
#include "vexadrome/documents/graph_doc.h"
#include "vexadrome/documents/math_doc_reader.h"

namespace Vexadrome::Documents {

namespace {

bool isElementNamed(NyCore::XML::Node const* node, NyCore::String const* name)
{
    return xml_get_type(node) == NyCore::XML::ElementNode && string_compare(xml_get_name(node), name) == 0;
}

NyCore::XML::Element const* asElement(NyCore::XML::Node const* node)
{
    return static_cast<NyCore::XML::Element const*>(node);
}

// The text without the XML white space (space, tab, line feed, carriage
// return) at its ends: files may indent what they hold.
NyCore::String* trimBlanks(NyCore::String const* text)
{
    NyCore::String* left = string_trim_left(text, u" \t\n\r"_str);
    NyCore::String* both = string_trim_right(left, u" \t\n\r"_str);
    string_free(left);
    return both;
}

NyCore::String const* textAttr(NyCore::XML::Element const* element, char16_t const* name)
{
    NyCore::String const* text = xml_get_attribute(element, name);
    return text ? text : NyCore::Text::EmptyString;
}

}

GraphDoc* GraphReader::read(NyCore::XML::Document* xml, DocumentHost* host, NyCore::String** reason,
                            std::u16string_view source)
{
    NyCore::XML::Element const* root = xml_doc_element(xml);
    auto doc = std::make_unique<GraphDoc>(host);
    AttrFailure failure;
    if (root)
        readRootElement(root, doc.get(), &failure);
    for (NyCore::XML::Node const* child = xml_first_child(root); child; child = xml_next_sibling(child)) {
        if (isElementNamed(child, u"variables"_str) && !readVariables(asElement(child), doc.get(), &failure)) {
            if (reason)
                *reason = string_print(u"the graph has %d variables; at most %d are allowed",
                                       xml_count_element(child, u"variable"), GraphDoc::MaxVariables);
            return nullptr;
        }
        if (isElementNamed(child, u"lights"_str))
            readLights(asElement(child), doc.get(), &failure);
        else if (isElementNamed(child, u"expressions"_str))
            readExprList(asElement(child), doc.get(), &failure);
    }
    if (failure.hasFailed()) {
        if (reason)
            *reason = failure.describe(source);
        return nullptr;
    }
    doc->modified = false;
    return doc.release();
}

void GraphReader::readRootElement(NyCore::XML::Element const* root, GraphDoc* doc, AttrFailure* failure)
{
    doc->mode = static_cast<GraphMode::Enum>(MathDocReader::readGraphModeAttr(root, u"mode", GraphMode::Euclidian));
    doc->nearPlane = MathDocReader::readFloat64Attr(root, u"near", 0.1, failure);
    doc->farPlane = MathDocReader::readFloat64Attr(root, u"far", 1000.0, failure);
    // A rate of 0 would divide by zero and one above 1000 give the timer no interval.
    std::int32_t frameRate = MathDocReader::readInt32Attr(root, u"frame-rate", GraphDoc::DefaultFrameRate, failure);
    doc->frameRate = std::clamp(frameRate, GraphDoc::MinFrameRate, GraphDoc::MaxFrameRate);
    doc->fovAngle = MathDocReader::readFloat64Attr(root, u"fov-angle", 50.0, failure);
    doc->background = readColorAttr(root, u"background", GraphDoc::DefaultBackground, failure);
    doc->axesLength = MathDocReader::readFloat64Attr(root, u"axes-length", 50.0, failure);
}

bool GraphReader::readVariables(NyCore::XML::Element const* element, GraphDoc* doc, AttrFailure* failure)
{
    int count = xml_count_element(element, u"variable");
    if (count > GraphDoc::MaxVariables)
        return false;
    if (count == 0) {
        // Sampling needs at least one range to read.
        doc->resetVariables(1);
        doc->updateVariable(0, u"x"_str, -10.0, 10.0, 25, 25);
        return true;
    }
    doc->resetVariables(count);
    int i = 0;
    for (NyCore::XML::Node const* child = xml_first_child(element); child; child = xml_next_sibling(child)) {
        if (!isElementNamed(child, u"variable"_str))
            continue;
        NyCore::XML::Element const* variable = asElement(child);
        int tick = MathDocReader::readInt32Attr(variable, u"tick", 25, failure);
        int res = MathDocReader::readInt32Attr(variable, u"res", 25, failure);
        double max = MathDocReader::readFloat64Attr(variable, u"max", 10.0, failure);
        double min = MathDocReader::readFloat64Attr(variable, u"min", -10.0, failure);
        doc->updateVariable(i++, textAttr(variable, u"name"), min, max, res, tick);
    }
    return true;
}

void GraphReader::readLights(NyCore::XML::Element const* element, GraphDoc* doc, AttrFailure* failure)
{
    int i = 0;
    for (NyCore::XML::Node const* child = xml_first_child(element); child && i < GraphDoc::LightCount;
         child = xml_next_sibling(child)) {
        if (!isElementNamed(child, u"light"_str))
            continue;
        NyCore::XML::Element const* light = asElement(child);
        GraphLight& target = doc->lights[i++];
        target.x = MathDocReader::readFloat32Attr(light, u"x", 0.0f, failure);
        target.y = MathDocReader::readFloat32Attr(light, u"y", 0.0f, failure);
        target.z = MathDocReader::readFloat32Attr(light, u"z", 0.0f, failure);
        target.color = readColorAttr(light, u"color", 0, failure);
        target.active = MathDocReader::readBoolAttr(light, u"active", false);
        target.directional = MathDocReader::readBoolAttr(light, u"directional", false);
    }
}

void GraphReader::readExprList(NyCore::XML::Element const* element, GraphDoc* doc, AttrFailure* failure)
{
    for (NyCore::XML::Node const* child = xml_first_child(element); child; child = xml_next_sibling(child)) {
        if (!isElementNamed(child, u"expression"_str))
            continue;
        auto* expr = new GraphExpr(doc);
        readExprValues(asElement(child), expr, failure);
        doc->appendExpr(expr);
    }
}

void GraphReader::readExprValues(NyCore::XML::Element const* element, GraphExpr* expr, AttrFailure* failure)
{
    expr->set$name(textAttr(element, u"name"));
    NyCore::String const* text = xml_get_value(xml_first_child(element));
    NyCore::String* trimmed = trimBlanks(text ? text : NyCore::Text::EmptyString);
    expr->set$exprString(trimmed);
    string_free(trimmed);
    expr->color = readColorAttr(element, u"color", 0, failure);
    expr->active = MathDocReader::readBoolAttr(element, u"active", true);
    expr->material =
        static_cast<ExprMaterial::Enum>(MathDocReader::readMaterialAttr(element, u"material", ExprMaterial::Plastic));
    expr->rendMode =
        static_cast<ExprRendMode::Enum>(MathDocReader::readRendModeAttr(element, u"mode", ExprRendMode::Wireframe));
    expr->normalLength = MathDocReader::readFloat64Attr(element, u"normal-length", 0.0, failure);
    expr->normalNColor = readColorAttr(element, u"normal-ncolor", 0, failure);
    expr->normalPColor = readColorAttr(element, u"normal-pcolor", 0, failure);
}

std::int32_t GraphReader::readColorAttr(NyCore::XML::Element const* element, char16_t const* name,
                                        std::int32_t defaultValue, AttrFailure* failure)
{
    std::int32_t index = MathDocReader::readInt32Attr(element, name, defaultValue, failure);
    return index >= 0 && index < GraphDoc::ColorCount ? index : 0;
}

}
