// GraphReader: builds a graph document from a parsed graph file. Missing or
// unreadable attributes take their defaults; values the model cannot hold
// (colours off the table, frame rates off 1 ... 1000) are brought into range.
#pragma once

#include <cstdint>

#include "nycore/text/string.h"
#include "nycore/xml/xml_node.h"
#include "vexadrome/documents/document_host.h"
#include "vexadrome/documents/graph_doc.h"

namespace Vexadrome::Documents {

class GraphReader {
public:
    // A new document for host, read from the root element, with every
    // expression compiled (one that fails is kept inactive). Null, with a
    // new String reason when reason is not null, for a graph of more than
    // eight variables.
    static GraphDoc* read(NyCore::XML::Document* xml, DocumentHost* host, NyCore::String** reason = nullptr);

    static void readRootElement(NyCore::XML::Element const* root, GraphDoc* doc);
    // Replaces the variables; a section without variables gives the default
    // variable x. False, changing nothing, for more than eight variables.
    static bool readVariables(NyCore::XML::Element const* element, GraphDoc* doc);
    // Overwrites the lights from light 0 on, at most four.
    static void readLights(NyCore::XML::Element const* element, GraphDoc* doc);
    // Appends the expressions.
    static void readExprList(NyCore::XML::Element const* element, GraphDoc* doc);
    static void readExprValues(NyCore::XML::Element const* element, GraphExpr* expr);
    // A colour index attribute; an index off the 15-entry colour table reads as 0.
    static std::int32_t readColorAttr(NyCore::XML::Element const* element, char16_t const* name,
                                      std::int32_t defaultValue);
};

}
