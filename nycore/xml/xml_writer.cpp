// The XML writer. Reports name the source unit "xml/document", the unit that
// also holds the node records.
#include "nycore/xml/xml_writer.h"

#include "nycore/system/error.h"

using namespace NyCore::XML;
using NyCore::String;
using NyCore::IO::StreamWriter;

namespace {

char const SourceFile[] = "xml/document.cpp";

void putEscaped(StreamWriter* writer, String const* text)
{
    if (text == nullptr)
        return;
    char16_t const* units = text->units();
    for (int i = 0; i < text->count; ++i) {
        switch (units[i]) {
        case u'&':
            writer_put_cstr(writer, u"&amp;");
            break;
        case u'<':
            writer_put_cstr(writer, u"&lt;");
            break;
        case u'>':
            writer_put_cstr(writer, u"&gt;");
            break;
        case u'"':
            writer_put_cstr(writer, u"&quot;");
            break;
        default:
            writer_put_char(writer, units[i]);
        }
    }
}

void putVerbatim(StreamWriter* writer, String const* text)
{
    if (text != nullptr)
        writer_put_string(writer, text);
}

// Everything of a node that comes before its children; for an element with
// children that is its whole start tag.
void writeOpening(Node const* node, StreamWriter* writer)
{
    switch (node->kind) {
    case ElementNode: {
        auto const* element = static_cast<Element const*>(node);
        writer_put_char(writer, u'<');
        putVerbatim(writer, element->text);
        for (Attribute const* a = element->attributes; a != nullptr; a = a->next) {
            writer_put_char(writer, u' ');
            writer_put_cstr(writer, a->name());
            writer_put_cstr(writer, u"=\"");
            putEscaped(writer, &a->value);
            writer_put_char(writer, u'"');
        }
        writer_put_cstr(writer, element->firstChild != nullptr ? u">" : u"/>");
        break;
    }
    case TextNode:
        putEscaped(writer, node->text);
        break;
    case CDataSectionNode:
        writer_put_cstr(writer, u"<![CDATA[");
        putVerbatim(writer, node->text);
        writer_put_cstr(writer, u"]]>");
        break;
    case CommentNode:
        writer_put_cstr(writer, u"<!--");
        putVerbatim(writer, node->text);
        writer_put_cstr(writer, u"-->");
        break;
    default:
        break;
    }
}

void writeEndTag(Node const* element, StreamWriter* writer)
{
    writer_put_cstr(writer, u"</");
    putVerbatim(writer, element->text);
    writer_put_char(writer, u'>');
}

}

void xml_node_write(Node const* node, StreamWriter* writer)
{
    if (node == nullptr)
        return;
    // Pre-order walk: a node's opening on the way down, an element's end tag
    // when the walk climbs back out of its children.
    Node const* current = node;
    for (;;) {
        writeOpening(current, writer);
        if (current->kind == ElementNode && static_cast<Element const*>(current)->firstChild != nullptr) {
            current = static_cast<Element const*>(current)->firstChild;
            continue;
        }
        while (current != node && current->next == nullptr) {
            current = current->parent;
            writeEndTag(current, writer);
        }
        if (current == node)
            return;
        current = current->next;
    }
}

void xml_doc_write(Document const* document, StreamWriter* writer)
{
    if (document == nullptr || document->documentElement == nullptr)
        ERROR_THROW(ERROR_XML_NOROOT, SourceFile);
    for (Node const* child = document->firstChild; child != nullptr; child = child->next)
        xml_node_write(child, writer);
}
