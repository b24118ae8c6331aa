// Writing graph files through the XML document model: the graph element with
// its view settings, then the variables, the four lights and the expressions.
#include "vexadrome/documents/graph_writer.h"

#include "nycore/xml/xml_edit.h"
#include "nycore/xml/xml_writer.h"
#include "vexadrome/documents/graph_doc.h"
#include "vexadrome/documents/math_doc_writer.h"

namespace Vexadrome::Documents {

namespace {

NyCore::XML::Element* appendElement(NyCore::XML::Document* xml, NyCore::XML::Node* parent, NyCore::String const* name)
{
    NyCore::XML::Element* element = xml_create_element(xml, name);
    xml_append_child(parent, element);
    return element;
}

}

void GraphWriter::write(NyCore::IO::StreamWriter* writer, GraphDoc* doc)
{
    NyCore::XML::Document xml;
    xml_doc_ctor(&xml);
    NyCore::XML::Element* root = appendElement(&xml, &xml, u"graph"_str);
    writeRootAttrs(root, doc);
    writeVariables(&xml, root, doc);
    writeLights(&xml, root, doc);
    writeExprList(&xml, root, doc);
    xml_doc_write(&xml, writer);
    xml_node_dtor(&xml);
}

void GraphWriter::writeRootAttrs(NyCore::XML::Element* root, GraphDoc* doc)
{
    MathDocWriter::writeAttribute(root, u"title", doc->get$title());
    MathDocWriter::writeAttribute(root, u"near", doc->nearPlane);
    MathDocWriter::writeAttribute(root, u"far", doc->farPlane);
    MathDocWriter::writeAttribute(root, u"frame-rate", doc->frameRate);
    MathDocWriter::writeAttribute(root, u"fov-angle", doc->fovAngle);
    MathDocWriter::writeAttribute(root, u"axes-length", doc->axesLength);
    MathDocWriter::writeAttribute(root, u"background", doc->background);
    MathDocWriter::writeGraphMode(root, u"mode", doc->mode);
}

void GraphWriter::writeVariables(NyCore::XML::Document* xml, NyCore::XML::Element* root, GraphDoc* doc)
{
    NyCore::XML::Element* variables = appendElement(xml, root, u"variables"_str);
    for (int i = 0; i < doc->get$varCount(); ++i) {
        NyCore::XML::Element* variable = appendElement(xml, variables, u"variable"_str);
        VarRange const* range = doc->getRange(i);
        MathDocWriter::writeAttribute(variable, u"name", doc->getVarName(i));
        MathDocWriter::writeAttribute(variable, u"min", range->min);
        MathDocWriter::writeAttribute(variable, u"max", range->max);
        MathDocWriter::writeAttribute(variable, u"res", range->res);
        MathDocWriter::writeAttribute(variable, u"tick", range->tick);
    }
}

void GraphWriter::writeLights(NyCore::XML::Document* xml, NyCore::XML::Element* root, GraphDoc* doc)
{
    NyCore::XML::Element* lights = appendElement(xml, root, u"lights"_str);
    for (GraphLight const& light : doc->lights) {
        NyCore::XML::Element* element = appendElement(xml, lights, u"light"_str);
        MathDocWriter::writeAttribute(element, u"active", light.active);
        MathDocWriter::writeAttribute(element, u"color", light.color);
        MathDocWriter::writeAttribute(element, u"directional", light.directional);
        MathDocWriter::writeAttribute(element, u"x", light.x);
        MathDocWriter::writeAttribute(element, u"y", light.y);
        MathDocWriter::writeAttribute(element, u"z", light.z);
    }
}

void GraphWriter::writeExprList(NyCore::XML::Document* xml, NyCore::XML::Element* root, GraphDoc* doc)
{
    NyCore::XML::Element* expressions = appendElement(xml, root, u"expressions"_str);
    for (int i = 0; i < doc->get$exprCount(); ++i) {
        GraphExpr const* expr = doc->getExpr(i);
        NyCore::XML::Element* element = appendElement(xml, expressions, u"expression"_str);
        MathDocWriter::writeAttribute(element, u"name", expr->get$name());
        MathDocWriter::writeAttribute(element, u"color", expr->color);
        MathDocWriter::writeAttribute(element, u"normal-length", expr->normalLength);
        MathDocWriter::writeAttribute(element, u"normal-pcolor", expr->normalPColor);
        MathDocWriter::writeAttribute(element, u"normal-ncolor", expr->normalNColor);
        MathDocWriter::writeExprRendMode(element, u"mode", expr->rendMode);
        MathDocWriter::writeExprMaterial(element, u"material", expr->material);
        xml_append_child(element, xml_create_text(xml, expr->get$exprString()));
    }
}

}
