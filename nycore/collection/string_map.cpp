// The strmap_* family. Keys are ordered by cstr_cmp; a key that compares
// below a node's key goes left, any other right. The tree is never rebalanced.
#include "nycore/collection/string_map.h"

#include <cstring>

#include "nycore/system/error.h"
#include "nycore/system/memory.h"
#include "nycore/text/cstring.h"

using NyCore::Collections::StringMapBase;
using NyCore::Collections::StringMapNode;

namespace {

char const* const SourceFile = "collection/string_map.cpp";

// The value starts after the two child links; the key follows the value,
// placed on a code-unit boundary.
std::size_t keyOffset(StringMapBase const* map)
{
    std::size_t valueBytes = static_cast<std::size_t>(map->valueSize);
    return sizeof(StringMapNode) + (valueBytes + sizeof(char16_t) - 1) / sizeof(char16_t) * sizeof(char16_t);
}

void* valueOf(StringMapNode* node)
{
    return node + 1;
}

char16_t const* keyOf(StringMapBase const* map, StringMapNode const* node)
{
    return reinterpret_cast<char16_t const*>(reinterpret_cast<unsigned char const*>(node) + keyOffset(map));
}

// The link (root or child pointer) that holds the node with this key, or the
// empty link where such a node would be added.
StringMapNode** findLink(StringMapBase* map, char16_t const* key)
{
    StringMapNode** link = &map->root;
    while (*link) {
        int order = cstr_cmp(key, keyOf(map, *link));
        if (order == 0)
            break;
        link = order < 0 ? &(*link)->left : &(*link)->right;
    }
    return link;
}

StringMapNode* findNode(StringMapBase const* map, char16_t const* key)
{
    return *findLink(const_cast<StringMapBase*>(map), key);
}

}

void strmap_construct(StringMapBase* map, int valueSize)
{
    if (valueSize <= 0)
        ERROR_THROW(ERROR_BADPARA, SourceFile);
    map->valueSize = valueSize;
    map->root = nullptr;
}

void strmap_add(StringMapBase* map, char16_t const* key, void const* value)
{
    StringMapNode** link = findLink(map, key);
    if (*link)
        ERROR_THROW(ERROR_STRMAP_EXISTS, SourceFile);
    std::size_t keyBytes = (static_cast<std::size_t>(cstr_len(key)) + 1) * sizeof(char16_t);
    auto* node = static_cast<StringMapNode*>(memory_alloc(keyOffset(map) + keyBytes));
    std::memcpy(valueOf(node), value, static_cast<std::size_t>(map->valueSize));
    std::memcpy(const_cast<char16_t*>(keyOf(map, node)), key, keyBytes);
    *link = node;
}

void* strmap_item(StringMapBase* map, char16_t const* key)
{
    StringMapNode* node = findNode(map, key);
    if (!node)
        ERROR_THROW(ERROR_BADINDEX, SourceFile);
    return valueOf(node);
}

bool strmap_exists(StringMapBase const* map, char16_t const* key)
{
    return findNode(map, key) != nullptr;
}

void strmap_remove(StringMapBase* map, char16_t const* key)
{
    StringMapNode** link = findLink(map, key);
    StringMapNode* node = *link;
    if (!node)
        return;
    if (!node->left) {
        *link = node->right;
    } else {
        // The rightmost node of the left subtree takes the node's place and
        // leaves its own left subtree to its former parent.
        StringMapNode** replacementLink = &node->left;
        while ((*replacementLink)->right)
            replacementLink = &(*replacementLink)->right;
        StringMapNode* replacement = *replacementLink;
        *replacementLink = replacement->left;
        replacement->left = node->left;
        replacement->right = node->right;
        *link = replacement;
    }
    memory_free(node);
}

void strmap_visit(StringMapBase const* map, StringMapVisitor visitor, void* context)
{
    // In-order walk with an explicit stack: a tree fed sorted keys is a
    // chain as deep as the map is large.
    int capacity = 64;
    int depth = 0;
    auto** stack = static_cast<StringMapNode**>(memory_alloc(capacity * sizeof(StringMapNode*)));
    StringMapNode* node = map->root;
    while (node || depth > 0) {
        while (node) {
            if (depth == capacity) {
                capacity *= 2;
                stack = static_cast<StringMapNode**>(memory_realloc(stack, capacity * sizeof(StringMapNode*)));
            }
            stack[depth++] = node;
            node = node->left;
        }
        node = stack[--depth];
        StringMapNode* right = node->right;
        visitor(keyOf(map, node), valueOf(node), context);
        node = right;
    }
    memory_free(stack);
}

void strmap_destroy(StringMapBase* map)
{
    // Rotating every left child up flattens the tree into a right chain that
    // is freed node by node, without a stack.
    StringMapNode* node = map->root;
    while (node) {
        if (node->left) {
            StringMapNode* left = node->left;
            node->left = left->right;
            left->right = node;
            node = left;
        } else {
            StringMapNode* right = node->right;
            memory_free(node);
            node = right;
        }
    }
    map->root = nullptr;
}
