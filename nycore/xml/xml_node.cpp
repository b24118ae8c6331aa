// Node records: creation, access, names, attributes and destruction of the
// XML tree. Reports name the source unit "xml/document".
#include "nycore/xml/xml_node.h"

#include <cstddef>
#include <cstring>
#include <string_view>

#include "nycore/system/error.h"
#include "nycore/system/memory.h"
#include "nycore/text/string_functions.h"

using namespace NyCore::XML;
using NyCore::String;

namespace {

char const SourceFile[] = "xml/document.cpp";

int unitLength(char16_t const* units)
{
    int n = 0;
    while (units[n] != 0)
        ++n;
    return n;
}

int minimumRecordSize(int kind)
{
    if (kind == DocumentNode)
        return sizeof(Document);
    if (kind == ElementNode)
        return sizeof(Element);
    return sizeof(Node);
}

void freeAttributes(Element* element)
{
    Attribute* attribute = element->attributes;
    while (attribute != nullptr) {
        Attribute* next = attribute->next;
        memory_free(attribute);
        attribute = next;
    }
    element->attributes = nullptr;
}

// Frees the text and attributes of a node; not its record, not its children.
void freeContents(Node* node)
{
    string_free(node->text);
    node->text = nullptr;
    if (isContainer(node))
        freeAttributes(static_cast<Element*>(node));
}

}

namespace NyCore::XML {

Attribute* createAttribute(char16_t const* name, int nameLength, char16_t const* value, int valueLength)
{
    std::size_t unitCount = static_cast<std::size_t>(valueLength) + 1 + static_cast<std::size_t>(nameLength) + 1;
    std::size_t size = offsetof(Attribute, value) + sizeof(String) + unitCount * sizeof(char16_t);
    auto* attribute = static_cast<Attribute*>(memory_alloc(size < sizeof(Attribute) ? sizeof(Attribute) : size));
    attribute->sourceOffset = -1;
    attribute->value.count = valueLength;
    char16_t* units = attribute->value.units();
    if (valueLength > 0)
        std::memcpy(units, value, static_cast<std::size_t>(valueLength) * sizeof(char16_t));
    units[valueLength] = 0;
    if (nameLength > 0)
        std::memcpy(units + valueLength + 1, name, static_cast<std::size_t>(nameLength) * sizeof(char16_t));
    units[valueLength + 1 + nameLength] = 0;
    return attribute;
}

bool nameEquals(String const* text, char16_t const* name)
{
    if (text == nullptr || name == nullptr)
        return false;
    char16_t const* units = text->units();
    for (int i = 0; i < text->count; ++i) {
        if (name[i] != units[i] || name[i] == 0)
            return false;
    }
    return name[text->count] == 0;
}

}

void xml_doc_ctor(Document* document)
{
    std::memset(static_cast<void*>(document), 0, sizeof(Document));
    document->kind = DocumentNode;
}

Node* xml_create_node(Document* owner, String const* text, int kind, int recordSize)
{
    if (recordSize < minimumRecordSize(kind))
        ERROR_THROW(ERROR_BADPARA, SourceFile);
    auto* node = static_cast<Node*>(memory_alloc(static_cast<std::size_t>(recordSize)));
    node->kind = kind;
    node->text = String::create(text);
    node->sourceOffset = -1;
    node->previous = owner;
    return node;
}

Element* xml_create_element(Document* owner, String const* name)
{
    return static_cast<Element*>(xml_create_node(owner, name, ElementNode, sizeof(Element)));
}

Node* xml_create_text(Document* owner, String const* text)
{
    return xml_create_node(owner, text, TextNode, sizeof(Node));
}

Node* xml_create_cdata(Document* owner, String const* text)
{
    return xml_create_node(owner, text, CDataSectionNode, sizeof(Node));
}

Node* xml_create_comment(Document* owner, String const* text)
{
    return xml_create_node(owner, text, CommentNode, sizeof(Node));
}

Element* xml_doc_element(Document const* document)
{
    return document != nullptr ? document->documentElement : nullptr;
}

Node* xml_parent(Node const* node)
{
    return node != nullptr ? node->parent : nullptr;
}

Node* xml_next_sibling(Node const* node)
{
    return node != nullptr ? node->next : nullptr;
}

Node* xml_prev_sibling(Node const* node)
{
    return node != nullptr && node->parent != nullptr ? node->previous : nullptr;
}

Node* xml_first_child(Node const* node)
{
    return node != nullptr && isContainer(node) ? static_cast<Element const*>(node)->firstChild : nullptr;
}

Node* xml_last_child(Node const* node)
{
    return node != nullptr && isContainer(node) ? static_cast<Element const*>(node)->lastChild : nullptr;
}

bool xml_has_children(Node const* node)
{
    return xml_first_child(node) != nullptr;
}

Document* xml_get_owner(Node const* node)
{
    if (node == nullptr)
        return nullptr;
    while (node->parent != nullptr)
        node = node->parent;
    if (node->kind == DocumentNode)
        return static_cast<Document*>(const_cast<Node*>(node));
    return static_cast<Document*>(node->previous);
}

int xml_get_type(Node const* node)
{
    return node != nullptr ? node->kind : 0;
}

String const* xml_get_name(Node const* node)
{
    if (node == nullptr)
        return nullptr;
    switch (node->kind) {
    case ElementNode:
        return node->text;
    case TextNode:
        return u"#text"_str;
    case CDataSectionNode:
        return u"#cdata-section"_str;
    case CommentNode:
        return u"#comment"_str;
    case DocumentNode:
        return u"#document"_str;
    case DocumentFragmentNode:
        return u"#document-fragment"_str;
    default:
        return nullptr;
    }
}

String const* xml_get_value(Node const* node)
{
    if (node == nullptr)
        return nullptr;
    if (node->kind == TextNode || node->kind == CDataSectionNode || node->kind == CommentNode)
        return node->text;
    return nullptr;
}

String const* xml_get_attribute(Node const* element, char16_t const* name)
{
    if (element == nullptr || !isContainer(element) || name == nullptr)
        return nullptr;
    for (Attribute* a = static_cast<Element const*>(element)->attributes; a != nullptr; a = a->next) {
        if (std::u16string_view(a->name()) == name)
            return &a->value;
    }
    return nullptr;
}

int xml_count_element(Node const* node, char16_t const* name)
{
    int count = 0;
    for (Node* child = xml_first_child(node); child != nullptr; child = child->next) {
        if (child->kind == ElementNode && nameEquals(child->text, name))
            ++count;
    }
    return count;
}

void xml_set_value(Node* node, String const* text)
{
    if (node == nullptr)
        return;
    String* copy = String::create(text);
    string_free(node->text);
    node->text = copy;
}

void xml_set_attribute(Node* element, char16_t const* name, String const* value)
{
    if (name == nullptr)
        ERROR_THROW(ERROR_BADPARA, SourceFile);
    if (element == nullptr || element->kind != ElementNode)
        ERROR_THROW(ERROR_XML_BADTYPE, SourceFile);
    Attribute* cell = createAttribute(name, unitLength(name), value != nullptr ? value->units() : nullptr,
                                      value != nullptr ? value->count : 0);
    Attribute** link = &static_cast<Element*>(element)->attributes;
    while (*link != nullptr) {
        if (std::u16string_view((*link)->name()) == name) {
            Attribute* old = *link;
            cell->next = old->next;
            *link = cell;
            memory_free(old);
            return;
        }
        link = &(*link)->next;
    }
    *link = cell;
}

void xml_remove_attribute(Node* element, char16_t const* name)
{
    if (element == nullptr || !isContainer(element) || name == nullptr)
        return;
    for (Attribute** link = &static_cast<Element*>(element)->attributes; *link != nullptr; link = &(*link)->next) {
        if (std::u16string_view((*link)->name()) == name) {
            Attribute* old = *link;
            *link = old->next;
            memory_free(old);
            return;
        }
    }
}

void xml_node_dtor(Node* node)
{
    if (node == nullptr)
        return;
    if (node->parent != nullptr)
        ERROR_THROW(ERROR_XML_HIERARCHY, SourceFile);
    xml_node_release(node);
}

void xml_node_release(Node* node)
{
    freeContents(node);
    if (!isContainer(node))
        return;
    auto* top = static_cast<Element*>(node);
    // Post-order walk: descend to a leaf, free it, then go on with its next
    // sibling; a parent whose children are all gone becomes a leaf itself.
    Node* current = top->firstChild;
    while (current != nullptr) {
        if (isContainer(current) && static_cast<Element*>(current)->firstChild != nullptr) {
            current = static_cast<Element*>(current)->firstChild;
            continue;
        }
        Node* next = current->next;
        auto* up = static_cast<Element*>(current->parent);
        freeContents(current);
        memory_free(current);
        if (next != nullptr) {
            current = next;
        } else {
            up->firstChild = nullptr;
            up->lastChild = nullptr;
            current = up == top ? nullptr : up;
        }
    }
    top->firstChild = nullptr;
    top->lastChild = nullptr;
    if (top->kind == DocumentNode)
        static_cast<Document*>(top)->documentElement = nullptr;
}
