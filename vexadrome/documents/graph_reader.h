// GraphReader: builds a graph document from a parsed graph file, and nothing
// more: compiling its expressions is the caller's step (GraphDoc::compileExprs).
// Missing attributes take their defaults, numbers that are not numbers fail
// the read, and values the model cannot hold (colours off the table, frame
// rates off 1 ... 1000) are brought into range.
#pragma once

#include <cstdint>
#include <string_view>

#include "nycore/text/string.h"
#include "nycore/xml/xml_node.h"
#include "vexadrome/documents/document_host.h"
#include "vexadrome/documents/graph_doc.h"
#include "vexadrome/documents/math_doc_reader.h"

namespace Vexadrome::Documents {

class GraphReader {
public:
    // A new document for host, read from the root element, its expressions
    // not compiled. Null, with a new String reason when reason is not null,
    // for a graph of more than eight variables or a number attribute that is
    // not a number (located in source, the text xml was parsed from, when
    // given).
    static GraphDoc* read(NyCore::XML::Document* xml, DocumentHost* host, NyCore::String** reason = nullptr,
                          std::u16string_view source = {});

    // The section readers record the first attribute that is not a number in failure.
    static void readRootElement(NyCore::XML::Element const* root, GraphDoc* doc, AttrFailure* failure);
    // Replaces the variables; a section without variables gives the default
    // variable x. False, changing nothing, for more than eight variables.
    static bool readVariables(NyCore::XML::Element const* element, GraphDoc* doc, AttrFailure* failure);
    // Overwrites the lights from light 0 on, at most four.
    static void readLights(NyCore::XML::Element const* element, GraphDoc* doc, AttrFailure* failure);
    // Appends the expressions.
    static void readExprList(NyCore::XML::Element const* element, GraphDoc* doc, AttrFailure* failure);
    static void readExprValues(NyCore::XML::Element const* element, GraphExpr* expr, AttrFailure* failure);
    // A colour index attribute; an index off the 15-entry colour table reads as 0.
    static std::int32_t readColorAttr(NyCore::XML::Element const* element, char16_t const* name,
                                      std::int32_t defaultValue, AttrFailure* failure);
};

}
