// Tree edits and copies: the insertion rules, linking and unlinking children,
// and cloning. Reports name the source unit "xml/write".
#include "nycore/xml/xml_edit.h"

#include "nycore/system/error.h"
#include "nycore/system/memory.h"

using namespace NyCore::XML;

namespace {

char const SourceFile[] = "xml/write.cpp";

void requireNodes(Node const* parent, Node const* child)
{
    if (parent == nullptr || child == nullptr)
        ERROR_THROW(ERROR_BADPARA, SourceFile);
}

void requireChildOf(Node const* parent, Node const* node)
{
    if (node == nullptr || node->parent != parent)
        ERROR_THROW(ERROR_XML_NOTFOUND, SourceFile);
}

// Links child into parent's list directly before `reference` (null: last).
void linkBefore(Node* parent, Node* child, Node* reference)
{
    auto* container = static_cast<Element*>(parent);
    child->parent = parent;
    child->next = reference;
    if (reference == nullptr) {
        child->previous = container->lastChild;
        if (container->lastChild != nullptr)
            container->lastChild->next = child;
        else
            container->firstChild = child;
        container->lastChild = child;
        return;
    }
    child->previous = reference->previous;
    if (reference->previous != nullptr)
        reference->previous->next = child;
    else
        container->firstChild = child;
    reference->previous = child;
}

// A copy of one node without its children.
Node* cloneNode(Node const* node, Document* owner)
{
    int size = node->kind == DocumentNode  ? sizeof(Document)
               : node->kind == ElementNode ? sizeof(Element)
                                           : sizeof(Node);
    Node* copy = xml_create_node(owner, node->text, node->kind, size);
    copy->sourceOffset = node->sourceOffset;
    if (isContainer(node))
        xml_clone_attrs(static_cast<Element*>(copy), static_cast<Element const*>(node));
    return copy;
}

}

Document* xml_insert_check(Node* parent, Node* child)
{
    requireNodes(parent, child);
    Document* owner = xml_get_owner(child);
    if (parent->kind == DocumentNode) {
        auto* document = static_cast<Document*>(parent);
        switch (child->kind) {
        case ElementNode:
            if (owner != document)
                ERROR_THROW(ERROR_XML_WRONGDOC, SourceFile);
            if (document->documentElement != nullptr)
                ERROR_THROW(ERROR_XML_HIERARCHY, SourceFile);
            document->documentElement = static_cast<Element*>(child);
            return owner;
        case CommentNode:
        case ProcessingInstructionNode:
        case DocumentTypeNode:
            if (owner != document)
                ERROR_THROW(ERROR_XML_WRONGDOC, SourceFile);
            return owner;
        default:
            ERROR_THROW(ERROR_XML_HIERARCHY, SourceFile);
        }
    }
    if (parent->kind != ElementNode || child->kind == DocumentNode)
        ERROR_THROW(ERROR_XML_HIERARCHY, SourceFile);
    if (owner != xml_get_owner(parent))
        ERROR_THROW(ERROR_XML_WRONGDOC, SourceFile);
    for (Node const* ancestor = parent; ancestor != nullptr; ancestor = ancestor->parent) {
        if (ancestor == child)
            ERROR_THROW(ERROR_XML_HIERARCHY, SourceFile);
    }
    return owner;
}

Node* xml_append_child(Node* parent, Node* child)
{
    return xml_insert_before(parent, child, nullptr);
}

Node* xml_insert_before(Node* parent, Node* child, Node* reference)
{
    requireNodes(parent, child);
    if (reference != nullptr)
        requireChildOf(parent, reference);
    if (child == reference)
        return child;
    xml_insert_check(parent, child);
    if (child->parent != nullptr)
        xml_unlink_node(child);
    linkBefore(parent, child, reference);
    return child;
}

Node* xml_replace_child(Node* parent, Node* child, Node* old)
{
    requireNodes(parent, child);
    requireChildOf(parent, old);
    if (child == old)
        return old;
    xml_insert_check(parent, child);
    if (child->parent != nullptr)
        xml_unlink_node(child);
    Node* place = old->next;
    xml_unlink_node(old);
    linkBefore(parent, child, place);
    return old;
}

Node* xml_remove_child(Node* parent, Node* child)
{
    requireNodes(parent, child);
    requireChildOf(parent, child);
    xml_unlink_node(child);
    return child;
}

void xml_unlink_node(Node* node)
{
    Node* parent = node->parent;
    if (parent == nullptr)
        return;
    Document* owner = xml_get_owner(node);
    auto* container = static_cast<Element*>(parent);
    if (node->previous != nullptr)
        node->previous->next = node->next;
    else
        container->firstChild = node->next;
    if (node->next != nullptr)
        node->next->previous = node->previous;
    else
        container->lastChild = node->previous;
    if (parent->kind == DocumentNode && static_cast<Document*>(parent)->documentElement == node)
        static_cast<Document*>(parent)->documentElement = nullptr;
    node->next = nullptr;
    node->parent = nullptr;
    node->previous = owner;
}

void _xml_append_child(Node* parent, Node* child)
{
    linkBefore(parent, child, nullptr);
}

Node* xml_clone(Node const* node, bool deep)
{
    if (node == nullptr)
        return nullptr;
    Node* copy = cloneNode(node, node->kind == DocumentNode ? nullptr : xml_get_owner(node));
    if (deep && isContainer(node))
        xml_clone_children(copy, node);
    return copy;
}

void xml_clone_attrs(Element* copy, Element const* source)
{
    Attribute** link = &copy->attributes;
    while (*link != nullptr)
        link = &(*link)->next;
    for (Attribute const* a = source->attributes; a != nullptr; a = a->next) {
        char16_t const* name = a->name();
        int nameLength = 0;
        while (name[nameLength] != 0)
            ++nameLength;
        *link = createAttribute(name, nameLength, a->value.units(), a->value.count);
        (*link)->sourceOffset = a->sourceOffset;
        link = &(*link)->next;
    }
}

void xml_clone_children(Node* copy, Node const* source)
{
    Node const* from = xml_first_child(source);
    if (from == nullptr || !isContainer(copy))
        return;
    Document* owner = xml_get_owner(copy);
    Node* into = copy;
    // Pre-order walk of the source; `into` is always the copy of from's parent.
    for (;;) {
        Node* made = cloneNode(from, owner);
        _xml_append_child(into, made);
        if (into->kind == DocumentNode && made->kind == ElementNode)
            static_cast<Document*>(into)->documentElement = static_cast<Element*>(made);
        if (xml_first_child(from) != nullptr) {
            from = xml_first_child(from);
            into = made;
            continue;
        }
        while (from->next == nullptr) {
            from = from->parent;
            into = into->parent;
            if (from == source)
                return;
        }
        from = from->next;
    }
}
