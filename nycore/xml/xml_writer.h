// The XML writer: a tree as compact text (no declaration, no indentation, no
// line breaks of its own) through the text primitives of a stream writer.
#pragma once

#include "nycore/io/stream.h"
#include "nycore/xml/xml_node.h"

// Writes the node and its subtree: elements with their attributes in order
// ("<a/>" when childless), text, "<![CDATA[...]]>" and "<!--...-->"; other
// kinds write nothing. In text and attribute values & < > and " are written
// as &amp; &lt; &gt; &quot;; names, comments and CDATA go out as they stand.
// Works without recursion, so no tree is too deep for it.
void xml_node_write(NyCore::XML::Node const* node, NyCore::IO::StreamWriter* writer);
// Writes the document's children in order; a document without an element is
// fatal (Error.XML.DocumentHasNoRoot).
void xml_doc_write(NyCore::XML::Document const* document, NyCore::IO::StreamWriter* writer);
