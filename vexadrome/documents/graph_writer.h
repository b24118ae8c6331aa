// GraphWriter: a graph document as a graph file. Every element and attribute
// is written, in a fixed order, whether or not it differs from the defaults.
#pragma once

#include "nycore/io/stream.h"
#include "nycore/xml/xml_node.h"

namespace Vexadrome::Documents {

class GraphDoc;

class GraphWriter {
public:
    // Writes the whole file (no declaration, no white space between elements).
    static void write(NyCore::IO::StreamWriter* writer, GraphDoc* doc);

    static void writeRootAttrs(NyCore::XML::Element* root, GraphDoc* doc);
    static void writeVariables(NyCore::XML::Document* xml, NyCore::XML::Element* root, GraphDoc* doc);
    static void writeLights(NyCore::XML::Document* xml, NyCore::XML::Element* root, GraphDoc* doc);
    static void writeExprList(NyCore::XML::Document* xml, NyCore::XML::Element* root, GraphDoc* doc);
};

}
