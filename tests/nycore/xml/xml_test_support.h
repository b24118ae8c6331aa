// Helpers of the XML tests: a tree written into text through a memory writer,
// and text parsed into a document.
#pragma once

#include <string>

#include "nycore/io/memory_stream.h"
#include "nycore/text/string_functions.h"
#include "nycore/xml/xml_parser.h"
#include "nycore/xml/xml_writer.h"
#include "tests/support/strings.h"

namespace XmlTest {

inline std::u16string writeNode(NyCore::XML::Node const* node)
{
    NyCore::IO::StreamWriter writer;
    memwriter_construct(&writer);
    xml_node_write(node, &writer);
    NyCore::String* text = memwriter_get_text(&writer);
    std::u16string result = TestSupport::toU16(text);
    string_free(text);
    memwriter_destroy(&writer);
    return result;
}

inline std::u16string writeDocument(NyCore::XML::Document const* document)
{
    NyCore::IO::StreamWriter writer;
    memwriter_construct(&writer);
    xml_doc_write(document, &writer);
    NyCore::String* text = memwriter_get_text(&writer);
    std::u16string result = TestSupport::toU16(text);
    string_free(text);
    memwriter_destroy(&writer);
    return result;
}

// Parses with the checked parser; the caller destroys the document.
inline bool parse(NyCore::XML::Document* document, std::u16string const& text, bool trim,
                  NyCore::XML::ParseError* error = nullptr)
{
    return xml_parse_buffer_checked(document, text.data(), static_cast<int>(text.size()), trim, error);
}

inline std::u16string value(NyCore::String const* s)
{
    return s == nullptr ? u"<none>" : TestSupport::toU16(s);
}

}
