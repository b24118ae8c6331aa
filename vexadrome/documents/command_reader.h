// CommandReader: a command document from a parsed command script file.
#pragma once

#include "nycore/xml/xml_node.h"
#include "vexadrome/documents/document_host.h"

namespace Vexadrome::Documents {

class CommandDoc;

class CommandReader {
public:
    // A new command document (owned by the caller) whose script is the root
    // element's first child when that is a text node, else empty. The title
    // and file name are left to MathDocReader.
    static CommandDoc* read(NyCore::XML::Document* xml, DocumentHost* host);
};

}
