// Reading command script files: the script is the root's text and CDATA
// content, pieced together in order, without the blanks at its two ends (the
// file is parsed untrimmed, so blanks beside a comment stay in the script).
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

bool isBlank(char16_t c)
{
    return c == u' ' || c == u'\t' || c == u'\n' || c == u'\r';
}

// Every piece of the script, in order, blanks included.
void appendPieces(NyCore::XML::Element const* root, NyCore::Text::TextBuffer* script)
{
    for (NyCore::XML::Node* child = xml_first_child(root); child != nullptr; child = child->next) {
        if (isScriptPiece(child) && child->text != nullptr)
            script->append(child->text);
    }
}

// How many blanks the pieced-together script starts with.
int leadingBlanks(NyCore::XML::Element const* root)
{
    NyCore::Text::TextBuffer script;
    appendPieces(root, &script);
    NyCore::String const* text = script.get$text();
    int lead = 0;
    while (lead < text->count && isBlank(text->units()[lead]))
        ++lead;
    return lead;
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
    appendPieces(root, &script);
    NyCore::String const* text = script.get$text();
    int start = 0;
    int end = text->count;
    while (start < end && isBlank(text->units()[start]))
        ++start;
    while (end > start && isBlank(text->units()[end - 1]))
        --end;
    return start == end ? string_copy(NyCore::Text::EmptyString) : string_mid(text, start, end - start);
}

int CommandReader::sourceOffsetOf(NyCore::XML::Element const* root, char16_t const* input, int count,
                                  int scriptOffset)
{
    NyCore::XML::Node const* last = nullptr;
    int pieceStart = 0;
    scriptOffset += leadingBlanks(root);
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
