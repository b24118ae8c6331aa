// StringMap: values of one fixed size stored under UTF-16 text keys in an
// unbalanced binary search tree (the expression store's definitions). The
// flat strmap_* functions work on the StringMapBase record; StringMap<T> is
// the typed view that also frees its nodes when it goes.
#pragma once

#include <cstdint>
#include <type_traits>

#include "nycore/text/string.h"

namespace NyCore::Collections {

// A node: left and right child, the value bytes, then the zero-terminated key.
struct StringMapNode {
    StringMapNode* left;
    StringMapNode* right;
};

struct StringMapBase {
    std::int32_t valueSize;
    StringMapNode* root;
};

}

// Called for each entry by strmap_visit, in ascending key order.
using StringMapVisitor = void (*)(char16_t const* key, void* value, void* context);

// An empty map of values of valueSize bytes; valueSize 0 is fatal (Error.InvalidParamiter).
void strmap_construct(NyCore::Collections::StringMapBase* map, int valueSize);
// Stores a copy of valueSize bytes from `value`; a key already present is fatal
// (Error.StringMap.AlreadyExists).
void strmap_add(NyCore::Collections::StringMapBase* map, char16_t const* key, void const* value);
// The address of the stored value; a missing key is fatal (Error.InvalidIndex).
void* strmap_item(NyCore::Collections::StringMapBase* map, char16_t const* key);
bool strmap_exists(NyCore::Collections::StringMapBase const* map, char16_t const* key);
// Removes the entry; a missing key is ignored.
void strmap_remove(NyCore::Collections::StringMapBase* map, char16_t const* key);
// The visitor must not add or remove entries.
void strmap_visit(NyCore::Collections::StringMapBase const* map, StringMapVisitor visitor, void* context);
// Frees every node and leaves the map empty; the values are not looked at.
void strmap_destroy(NyCore::Collections::StringMapBase* map);

namespace NyCore::Collections {

// Keys are Strings (null counts as the empty key); values are copied in.
// The map frees its nodes when it goes; values that own memory must be
// freed by the owner first (visit them).
template <typename T>
class StringMap : public StringMapBase {
    static_assert(std::is_trivially_copyable_v<T>, "values are stored as raw bytes");

public:
    StringMap() { strmap_construct(this, sizeof(T)); }
    ~StringMap() { strmap_destroy(this); }
    StringMap(StringMap const&) = delete;
    StringMap& operator=(StringMap const&) = delete;

    void add(String const* key, T const& value) { strmap_add(this, units(key), &value); }
    T& item(String const* key) { return *static_cast<T*>(strmap_item(this, units(key))); }
    bool exists(String const* key) const { return strmap_exists(this, units(key)); }
    void remove(String const* key) { strmap_remove(this, units(key)); }

    // Calls visitor(key units, value) for every entry in ascending key order.
    template <typename Visitor>
    void visit(Visitor&& visitor)
    {
        strmap_visit(
            this,
            [](char16_t const* key, void* value, void* context) {
                (*static_cast<std::remove_reference_t<Visitor>*>(context))(key, *static_cast<T*>(value));
            },
            &visitor);
    }

private:
    static char16_t const* units(String const* key) { return key ? key->units() : u""; }
};

}
