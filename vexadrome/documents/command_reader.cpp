// Reading command script files: the script is the root's text and CDATA
// content, pieced together in order.
#include "vexadrome/documents/command_reader.h"

#include "nycore/text/string_functions.h"
#include "nycore/text/text_buffer.h"
#include "nycore/xml/xml_parser.h"
#include "vexadrome/documents/command_doc.h"

namespace Vexadrome::Documents {

namespace {

bool isScriptPiece(NyCore::XML::Node const* node)
{
    return node->kind == NyCore::XML::TextNode || node->kind == NyCore::XML::CDataSectionNode;
}

}

CommandDoc* CommandReader::read(NyCore::XML::Document* xml, DocumentHost* host)
{
    auto* document = new CommandDoc(host);
    NyCore::String* script = scriptOf(xml_doc_element(xml));
    document->set$commandString(script);
    string_free(script);
    return document;
}

NyCore::String* CommandReader::scriptOf(NyCore::XML::Element const* root)
{
    NyCore::Text::TextBuffer script;
    for (NyCore::XML::Node* child = xml_first_child(root); child != nullptr; child = child->next) {
        if (isScriptPiece(child) && child->text != nullptr)
            script.append(child->text);
    }
    return string_copy(script.get$text());
}

int CommandReader::sourceOffsetOf(NyCore::XML::Element const* root, char16_t const* input, int count,
                                  int scriptOffset)
{
    NyCore::XML::Node const* last = nullptr;
    int pieceStart = 0;
    for (NyCore::XML::Node* child = xml_first_child(root); child != nullptr; child = child->next) {
        if (!isScriptPiece(child))
            continue;
        int length = child->text ? child->text->count : 0;
        if (scriptOffset < pieceStart + length)
            return xml_source_offset(child, input, count, scriptOffset - pieceStart);
        pieceStart += length;
        last = child;
    }
    if (last == nullptr || scriptOffset != pieceStart)
        return -1;
    return xml_source_offset(last, input, count, last->text ? last->text->count : 0);
}

}
