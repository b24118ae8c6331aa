// CommandReader: a command document from a parsed command script file, and
// where a place in its script stands in the file.
#pragma once

#include "nycore/xml/xml_node.h"
#include "vexadrome/documents/document_host.h"

namespace Vexadrome::Documents {

class CommandDoc;

class CommandReader {
public:
    // A new command document (owned by the caller) holding the script of the
    // document element. The title and file name are left to MathDocReader.
    static CommandDoc* read(NyCore::XML::Document* xml, DocumentHost* host);
    // The script of a command element: the content of all its text and CDATA
    // children in order, comments (and anything else) left out. A new String.
    static NyCore::String* scriptOf(NyCore::XML::Element const* root);
    // Where unit `scriptOffset` of scriptOf(root) stands in `input`, the text
    // the element was parsed from (the script's end maps to the end of its
    // last piece); -1 when the element holds no parsed script there.
    static int sourceOffsetOf(NyCore::XML::Element const* root, char16_t const* input, int count, int scriptOffset);
};

}
