// The XML tree: node, element, document and attribute records, their creation,
// read access, attributes and destruction. The records are plain: every
// operation on them is one of the flat xml_* functions.
#pragma once

#include <cstdint>

#include "nycore/text/string.h"

namespace NyCore::XML {

// Node kinds, numbered as in the W3C DOM. This library creates only elements,
// text, CDATA sections, comments and documents.
enum NodeKind : std::int32_t {
    ElementNode = 1,
    TextNode = 3,
    CDataSectionNode = 4,
    ProcessingInstructionNode = 7,
    CommentNode = 8,
    DocumentNode = 9,
    DocumentTypeNode = 10,
    DocumentFragmentNode = 11,
};

struct Document;

struct Node {
    Node* next;
    // The previous sibling; while the node has no parent it holds the node's
    // owner document instead.
    Node* previous;
    Node* parent;
    std::int32_t kind;
    // Owned: an element's name, or the content of a text, CDATA or comment node.
    String* text;
    // Where the node begins in the text it was parsed from: an element's "<",
    // the first unit kept of a text run, the first unit of CDATA or comment
    // content. -1 for a node that was not parsed.
    std::int32_t sourceOffset;
};

// One cell: the value's count and units with their 0 unit, then the name's
// zero-terminated units, all in one allocation.
struct Attribute {
    Attribute* next;
    // Where the value begins (just after its quote) in the text it was parsed
    // from; -1 for an attribute that was not parsed.
    std::int32_t sourceOffset;
    String value;

    char16_t const* name() const { return value.units() + value.count + 1; }
};

struct Element : Node {
    Node* firstChild;
    Node* lastChild;
    Attribute* attributes;
};

struct Document : Element {
    Element* documentElement;
};

}

// Makes the record an empty document; whatever it held before is not freed.
void xml_doc_ctor(NyCore::XML::Document* document);

// A new detached node of `kind` with a copy of `text`, in a zero-filled record of
// recordSize bytes. A size too small for the kind is fatal (Error.InvalidParamiter).
NyCore::XML::Node* xml_create_node(NyCore::XML::Document* owner, NyCore::String const* text, int kind,
                                   int recordSize);
NyCore::XML::Element* xml_create_element(NyCore::XML::Document* owner, NyCore::String const* name);
NyCore::XML::Node* xml_create_text(NyCore::XML::Document* owner, NyCore::String const* text);
NyCore::XML::Node* xml_create_cdata(NyCore::XML::Document* owner, NyCore::String const* text);
NyCore::XML::Node* xml_create_comment(NyCore::XML::Document* owner, NyCore::String const* text);

// Access. Every accessor answers none (null, 0, false) for a null node; the
// strings returned belong to the tree.
NyCore::XML::Element* xml_doc_element(NyCore::XML::Document const* document);
NyCore::XML::Node* xml_parent(NyCore::XML::Node const* node);
NyCore::XML::Node* xml_next_sibling(NyCore::XML::Node const* node);
NyCore::XML::Node* xml_prev_sibling(NyCore::XML::Node const* node);
NyCore::XML::Node* xml_first_child(NyCore::XML::Node const* node);
NyCore::XML::Node* xml_last_child(NyCore::XML::Node const* node);
bool xml_has_children(NyCore::XML::Node const* node);
NyCore::XML::Document* xml_get_owner(NyCore::XML::Node const* node);
int xml_get_type(NyCore::XML::Node const* node);
// The element's name, or "#text", "#cdata-section", "#comment", "#document",
// "#document-fragment"; none for the other kinds.
NyCore::String const* xml_get_name(NyCore::XML::Node const* node);
// The content of text, CDATA and comment nodes; none for the other kinds.
NyCore::String const* xml_get_value(NyCore::XML::Node const* node);
// The value of the first attribute named exactly `name`, or none.
NyCore::String const* xml_get_attribute(NyCore::XML::Node const* element, char16_t const* name);
// The number of element children named exactly `name`.
int xml_count_element(NyCore::XML::Node const* node, char16_t const* name);

// Replaces an element's name or a node's content with a copy of `text`.
void xml_set_value(NyCore::XML::Node* node, NyCore::String const* text);
// Replaces the first attribute of that name in its place, or appends a new one.
// A node that is not an element is fatal (Error.XML.WrongNodeType).
void xml_set_attribute(NyCore::XML::Node* element, char16_t const* name, NyCore::String const* value);
void xml_remove_attribute(NyCore::XML::Node* element, char16_t const* name);

// Destroys what the node holds: its descendants (records included), attributes
// and text. The node's own record stays for its owner to free. A node that
// still has a parent is fatal (Error.XML.HierarchyRequest).
void xml_node_dtor(NyCore::XML::Node* node);
// Internal: frees the node's descendants, attributes and text without any check.
// Works without recursion, so no tree is too deep for it.
void xml_node_release(NyCore::XML::Node* node);

// Internal helpers shared by the tree edits and the parser.
namespace NyCore::XML {

// Elements and documents carry children and attributes.
inline bool isContainer(Node const* node)
{
    return node->kind == ElementNode || node->kind == DocumentNode;
}

// A new attribute cell holding a copy of the value (null counts as empty).
Attribute* createAttribute(char16_t const* name, int nameLength, char16_t const* value, int valueLength);
// True when the String holds exactly the zero-terminated `name`.
bool nameEquals(String const* text, char16_t const* name);

}
