// Helpers of the XML tests: a tree written into text, text parsed into a document.
#pragma once

#include <string>

#include "nycore/io/memory_stream.h"
#include "nycore/system/memory.h"
#include "nycore/text/string_functions.h"
#include "nycore/xml/xml_parser.h"
#include "nycore/xml/xml_writer.h"
#include "tests/support/strings.h"

namespace XmlTest {

// The text of one node and its subtree, or with `whole` of a whole document.
inline std::u16string writeNode(NyCore::XML::Node const* node, bool whole = false)
{
    NyCore::IO::StreamWriter writer;
    memwriter_construct(&writer);
    if (whole)
        xml_doc_write(static_cast<NyCore::XML::Document const*>(node), &writer);
    else
        xml_node_write(node, &writer);
    TestSupport::OwnedString text(memwriter_get_text(&writer));
    memwriter_destroy(&writer);
    return text.text();
}

inline std::u16string writeDocument(NyCore::XML::Document const* document)
{
    return writeNode(document, true);
}

// Parses with the checked parser; the caller destroys the document.
inline bool parse(NyCore::XML::Document* document, std::u16string const& text, bool trim,
                  NyCore::XML::ParseError* error = nullptr)
{
    return xml_parse_buffer_checked(document, text.data(), static_cast<int>(text.size()), trim, error);
}

// Destroys a node that has no parent, and frees its record.
inline void freeDetached(NyCore::XML::Node* node)
{
    xml_node_dtor(node);
    memory_free(node);
}

inline std::u16string value(NyCore::String const* s)
{
    return s == nullptr ? u"<none>" : TestSupport::toU16(s);
}

}
