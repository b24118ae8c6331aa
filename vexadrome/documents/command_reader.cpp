// Reading command script files: the script is the root's first text child.
#include "vexadrome/documents/command_reader.h"

#include "vexadrome/documents/command_doc.h"

namespace Vexadrome::Documents {

CommandDoc* CommandReader::read(NyCore::XML::Document* xml, DocumentHost* host)
{
    NyCore::XML::Node* first = xml_first_child(xml_doc_element(xml));
    auto* document = new CommandDoc(host);
    if (xml_get_type(first) == NyCore::XML::TextNode)
        document->set$commandString(xml_get_value(first));
    return document;
}

}
