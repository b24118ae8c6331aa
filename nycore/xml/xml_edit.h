// Edits of the XML tree: the insertion rules, moving nodes in and out of
// child lists, and copying. A failed edit is fatal and leaves both trees as
// they were, since every check runs before anything is unlinked.
#pragma once

#include "nycore/xml/xml_node.h"

// Validates putting `child` under `parent` and returns the child's owner. A
// document parent takes comments, processing instructions, document types and
// one element of its own (recorded here as its document element); an element
// parent takes any non-document node of its owner that is not the element
// itself or one of its ancestors. Violations are fatal: Error.XML.WrongDocument
// for a node of another owner, Error.XML.HierarchyRequest for the rest.
NyCore::XML::Document* xml_insert_check(NyCore::XML::Node* parent, NyCore::XML::Node* child);

// Check, take the child out of its present place, link it last. Returns child.
NyCore::XML::Node* xml_append_child(NyCore::XML::Node* parent, NyCore::XML::Node* child);
// Links child directly before `reference` (a child of parent, else fatal
// Error.XML.NotFound); no reference appends; child == reference changes nothing.
NyCore::XML::Node* xml_insert_before(NyCore::XML::Node* parent, NyCore::XML::Node* child,
                                     NyCore::XML::Node* reference);
// Puts child in the place of `old` (a child of parent, else Error.XML.NotFound)
// and returns old detached, for the caller to destroy. When child is old itself
// nothing changes and old stays in place.
NyCore::XML::Node* xml_replace_child(NyCore::XML::Node* parent, NyCore::XML::Node* child, NyCore::XML::Node* old);
// Detaches a child of parent (else Error.XML.NotFound) and returns it.
NyCore::XML::Node* xml_remove_child(NyCore::XML::Node* parent, NyCore::XML::Node* child);

// Internal: takes the node out of its parent's child list, mends the links
// around it and remembers its owner in its previous field. A document that
// loses its element has none afterwards.
void xml_unlink_node(NyCore::XML::Node* node);
// Internal: links child after the last child of parent without any check.
void _xml_append_child(NyCore::XML::Node* parent, NyCore::XML::Node* child);

// A detached copy with the same kind, text and owner; elements carry copies of
// their attributes and, when deep, of all descendants. A document copies into
// a new document record of its own (deep: with its children).
NyCore::XML::Node* xml_clone(NyCore::XML::Node const* node, bool deep);
// Appends copies of the source's attributes to the copy's.
void xml_clone_attrs(NyCore::XML::Element* copy, NyCore::XML::Element const* source);
// Appends deep copies of the source's children to the copy's, in order,
// without recursion.
void xml_clone_children(NyCore::XML::Node* copy, NyCore::XML::Node const* source);
