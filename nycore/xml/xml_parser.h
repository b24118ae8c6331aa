// The XML parser: UTF-16 text into a document tree. The checked functions
// report a failure to their caller; the plain ones, used where a bad file is a
// programming error (form files), print the position and end the process.
#pragma once

#include <cstdint>

#include "nycore/collection/array.h"
#include "nycore/io/stream.h"
#include "nycore/xml/xml_node.h"

namespace NyCore::XML {

// Elements nested deeper than this are a parse error.
constexpr int MaxElementDepth = 256;

struct ParseError {
    // Where the parser stopped, from 1 (xml_locate).
    std::int32_t line;
    std::int32_t column;
    // The index of the code unit at which the parser stopped.
    std::int32_t offset;
    // A short zero-terminated reason, such as "unexpected end of input".
    char16_t message[96];
};

}

// Parses count units into the document, which is first made empty (a tree it
// held is not freed: destroy it with xml_node_dtor before reusing). The input
// may start with anything before its first "<" (a byte-order mark, text), then
// processing instructions (an XML declaration), comments and a document type
// declaration, all skipped; the root element follows, and after it only
// comments, processing instructions and text, all ignored. Input without a
// root element gives an empty document. With `trim`,
// text runs lose their surrounding white space and white-space-only runs make
// no node. Entities (&lt; &gt; &amp; &quot; &apos;) and character references
// are decoded in text and attribute values; another "&name;", a reference to
// a character XML does not allow (0, a surrogate, above U+10FFFF) or an
// unfinished "&#" is a failure, and an '&' that starts no reference stays.
// Attribute values may be in double or single quotes and hold '>' but not
// '<'; an attribute given twice, or a second element after the root, is a
// failure. Every node and attribute records its source offset.
// On failure: false, the document empty, `error` (when not null) filled in;
// nothing is printed.
bool xml_parse_buffer_checked(NyCore::XML::Document* document, char16_t const* characters, int count, bool trim,
                              NyCore::XML::ParseError* error);
// The array's elements taken as UTF-16 code units.
bool xml_parse_array_checked(NyCore::XML::Document* document, NyCore::Collections::ArrayBase const* characters,
                             bool trim, NyCore::XML::ParseError* error);
// All remaining characters of the reader; a reader with none is a failure.
bool xml_parse_stream_checked(NyCore::XML::Document* document, NyCore::IO::StreamReader* reader, bool trim,
                              NyCore::XML::ParseError* error);

// The same, fatal on failure: "Error parsing at line L, column C" on the
// console, then Error.XML.ParseFailure; a reader without characters is
// Error.IO.EmptyStream.
void xml_parse_buffer(NyCore::XML::Document* document, char16_t const* characters, int count, bool trim);
void xml_parse_array(NyCore::XML::Document* document, NyCore::Collections::ArrayBase const* characters, bool trim);
void xml_parse_stream(NyCore::XML::Document* document, NyCore::IO::StreamReader* reader, bool trim);

// Where unit `index` of the content of a parsed text, CDATA or comment node
// stands in `input`, the text it was parsed from: in text, a reference counts
// as the units it decoded to, and the second unit of a pair decoded from one
// maps to its '&'. -1 for a node that was not parsed.
int xml_source_offset(NyCore::XML::Node const* node, char16_t const* input, int count, int index);
