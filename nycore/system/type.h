// Type records and the type registry. Every reflective class owns one static
// record (its MetaData); modules register theirs at start-up so that any
// module can find a class by dotted name, create it, test "is a" and look up
// its methods and events.
#pragma once

#include <cstdint>

#include "nycore/text/string.h"

namespace NyCore {

class Object;

// A method callable by name: the receiver, then up to five word-sized
// arguments (unused ones are 0); the result is an int.
using Method = int (*)(Object* receiver, std::intptr_t, std::intptr_t, std::intptr_t, std::intptr_t, std::intptr_t);

// One entry of a Methods table; the table ends with an entry whose name is null.
struct MethodEntry {
    char16_t const* name;
    Method method;
};

// An Events table is an array of zero-terminated names ended by null.
using EventTable = char16_t const* const*;

// The record fields, in their fixed order. `Type` adds the operations.
struct alignas(64) TypeData {
    TypeData* parent;          // base class record; 0 for roots and until a late bind
    String const* parentName;  // dotted base name bound late by name, or 0
    String const* name;        // dotted class name, "NyCore.Double"
    MethodEntry const* methods;
    EventTable events;
    Object* (*create)();       // __create of creatable classes, else 0
    std::intptr_t size;        // instance size in bytes
    std::intptr_t reserved;
    TypeData* self;            // set by registerType
};

class Type : public TypeData {
public:
    static void registerType(TypeData* record);
    static void unregisterType(TypeData* record);
    // The most recently registered record named `name` (case-sensitive), or 0.
    static Type* getType(String const* name);
    // Binds `parent` through `parentName` once the parent is registered.
    static void checkLateBind(TypeData* record);
    // Frees the registry (records themselves are static and stay).
    static void shutdown();

    Type* get$parent();
    String const* get$name() const { return name; }
    bool isOfType(Type const* other);
    bool isOfType(String const* name);
    Method getMethod(char16_t const* name);
    int getEventId(char16_t const* name);
    Object* createObject();
};

inline Type* asType(TypeData* record) { return static_cast<Type*>(record); }

// The record that names String ("NyCore.String"); String itself is not an Object.
extern TypeData StringMetaData;

// Empty tables for records without methods or events.
extern MethodEntry const NoMethods[];
extern char16_t const* const NoEvents[];

}
