// Path following and node comparison over the XML tree. The strings a path
// yields belong to the tree.
#include "nycore/xml/xml_path.h"

#include "nycore/text/string_functions.h"

using namespace NyCore::XML;
using NyCore::String;

namespace {

Node const* firstChildOfKind(Node const* node, int kind)
{
    for (Node const* child = xml_first_child(node); child != nullptr; child = child->next) {
        if (child->kind == kind)
            return child;
    }
    return nullptr;
}

int sign(int value)
{
    return value < 0 ? -1 : value > 0 ? 1 : 0;
}

}

String const* xml_follow_xpath(Node const* node, char16_t const* path)
{
    if (node == nullptr || path == nullptr)
        return nullptr;
    Node const* current = node;
    char16_t const* p = path;
    for (;;) {
        if (p[0] == u'.' && p[1] == u'/') {
            p += 2;
            continue;
        }
        if (p[0] == u'.' && p[1] == u'.' && p[2] == u'/') {
            current = current->parent;
            if (current == nullptr)
                return nullptr;
            p += 3;
            continue;
        }
        if (p[0] == u'@') {
            if (current->kind != ElementNode)
                return nullptr;
            for (Attribute const* a = static_cast<Element const*>(current)->attributes; a != nullptr; a = a->next) {
                if (xml_match_xpath(p + 1, a->name(), 0))
                    return &a->value;
            }
            return nullptr;
        }
        if (xml_match_xpath(p, u"text()", 0)) {
            Node const* text = firstChildOfKind(current, TextNode);
            return text != nullptr ? text->text : nullptr;
        }
        if (current->kind != ElementNode)
            return nullptr;
        Node const* found = nullptr;
        for (Node const* child = xml_first_child(current); child != nullptr; child = child->next) {
            if (child->kind == ElementNode && child->text != nullptr && xml_match_xpath(p, child->text->units(), 0)) {
                found = child;
                break;
            }
        }
        if (found == nullptr)
            return nullptr;
        // The match guarantees the path holds the name's units up to its first 0.
        char16_t const* stepEnd = p;
        for (char16_t const* name = found->text->units(); *name != 0; ++name)
            ++stepEnd;
        if (*stepEnd != u'/')
            return found->text;
        current = found;
        p = stepEnd + 1;
    }
}

bool xml_match_xpath(char16_t const* path, char16_t const* pattern, char16_t terminator)
{
    int i = 0;
    for (; pattern[i] != terminator && pattern[i] != 0; ++i) {
        if (path[i] != pattern[i])
            return false;
    }
    return path[i] == 0 || path[i] == u'/' || path[i] == u';';
}

int xml_compare(Node const* a, Node const* b, SortKey const* key)
{
    if (key == nullptr)
        return 0;
    String const* x = xml_follow_xpath(a, key->path);
    if (x == nullptr)
        return -1;
    String const* y = xml_follow_xpath(b, key->path);
    if (y == nullptr)
        return 1;
    if (key->mode == 1) {
        double dx = string_to_real(x);
        double dy = string_to_real(y);
        return dx < dy ? -1 : dx > dy ? 1 : 0;
    }
    if (key->mode == 2)
        return 0;
    return sign(string_compare(x, y));
}

void xml_sort_children(Node*, SortKey const*)
{
}
