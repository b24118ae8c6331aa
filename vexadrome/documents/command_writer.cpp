// Writing command script files through the XML document model.
#include "vexadrome/documents/command_writer.h"

#include "nycore/xml/xml_edit.h"
#include "nycore/xml/xml_writer.h"
#include "vexadrome/documents/command_doc.h"
#include "vexadrome/documents/math_doc_writer.h"

namespace Vexadrome::Documents {

void CommandWriter::write(NyCore::IO::StreamWriter* writer, CommandDoc* document)
{
    NyCore::XML::Document xml;
    xml_doc_ctor(&xml);
    NyCore::XML::Element* root = xml_create_element(&xml, u"command"_str);
    xml_append_child(&xml, root);
    MathDocWriter::writeAttribute(root, u"title", document->get$title());
    // An empty text node still makes the writer close the element with an end tag.
    xml_append_child(root, xml_create_text(&xml, document->get$commandString()));
    xml_doc_write(&xml, writer);
    xml_node_dtor(&xml);
}

}
