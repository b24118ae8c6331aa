// The type registry: a list of registered records, newest first. Lookups by
// name are linear; callers that need an id often look it up once.
#include "nycore/system/type.h"

#include "nycore/system/memory.h"
#include "nycore/text/cstring.h"
#include "nycore/text/string_functions.h"

namespace NyCore {

MethodEntry const NoMethods[] = {{nullptr, nullptr}};
char16_t const* const NoEvents[] = {nullptr};

TypeData StringMetaData = {nullptr, nullptr, u"NyCore.String"_str, NoMethods, NoEvents, nullptr, sizeof(String), 0, nullptr};

namespace {

struct RegistryNode {
    RegistryNode* next;
    TypeData* record;
};

RegistryNode* registry = nullptr;

bool sameName(String const* a, String const* b)
{
    return a && b && string_compare(a, b) == 0;
}

}

void Type::registerType(TypeData* record)
{
    record->self = record;
    auto* node = static_cast<RegistryNode*>(memory_alloc(sizeof(RegistryNode)));
    node->record = record;
    node->next = registry;
    registry = node;
}

void Type::unregisterType(TypeData* record)
{
    for (RegistryNode** link = &registry; *link; link = &(*link)->next) {
        if ((*link)->record == record) {
            RegistryNode* node = *link;
            *link = node->next;
            memory_free(node);
            return;
        }
    }
}

Type* Type::getType(String const* name)
{
    for (RegistryNode* node = registry; node; node = node->next) {
        if (sameName(node->record->name, name))
            return asType(node->record);
    }
    return nullptr;
}

void Type::checkLateBind(TypeData* record)
{
    if (record && !record->parent && record->parentName)
        record->parent = getType(record->parentName);
}

void Type::shutdown()
{
    while (registry) {
        RegistryNode* node = registry;
        registry = node->next;
        memory_free(node);
    }
}

Type* Type::get$parent()
{
    checkLateBind(this);
    return asType(parent);
}

bool Type::isOfType(Type const* other)
{
    if (!other)
        return false;
    for (Type* record = this; record; record = record->get$parent()) {
        if (sameName(record->name, other->name))
            return true;
    }
    return false;
}

bool Type::isOfType(String const* typeName)
{
    return isOfType(getType(typeName));
}

Method Type::getMethod(char16_t const* methodName)
{
    if (!methodName)
        return nullptr;
    for (Type* record = this; record; record = record->get$parent()) {
        for (MethodEntry const* entry = record->methods; entry && entry->name; ++entry) {
            if (cstr_cmp(entry->name, methodName) == 0)
                return entry->method;
        }
    }
    return nullptr;
}

int Type::getEventId(char16_t const* eventName)
{
    if (!eventName)
        return -1;
    int base = 0;
    for (Type* record = this; record; record = record->get$parent()) {
        int i = 0;
        for (EventTable entry = record->events; entry && *entry; ++entry, ++i) {
            if (cstr_cmp(*entry, eventName) == 0)
                return base + i;
        }
        base += i;
    }
    return -1;
}

Object* Type::createObject()
{
    return create ? create() : nullptr;
}

}
