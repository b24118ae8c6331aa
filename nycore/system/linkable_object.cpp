// The listener table of LinkableObject: appending, blanking, firing in link
// order, and unlinking from every partner when the object goes.
#include "nycore/system/linkable_object.h"

#include <cstring>

#include "nycore/system/exceptions.h"
#include "nycore/system/memory.h"

namespace NyCore::Extenders {

TypeData LinkableObject::MetaData = {&Object::MetaData, nullptr, u"NyCore.Extenders.LinkableObject"_str, NoMethods,
                                     NoEvents, nullptr, sizeof(LinkableObject), 0, nullptr};

namespace {

constexpr int FirstCapacity = 16;

}

static_assert(sizeof(LinkableObject::Listener) == 3 * sizeof(void*), "an entry is three words");

LinkableObject::ListenerTable* LinkableObject::allocateTable(int capacity)
{
    static_assert(sizeof(ListenerTable) % alignof(Listener) == 0, "entries follow the header aligned");
    auto* table = static_cast<ListenerTable*>(
        memory_alloc(sizeof(ListenerTable) + static_cast<std::size_t>(capacity) * sizeof(Listener)));
    table->capacity = capacity;
    return table;
}

LinkableObject::~LinkableObject()
{
    for (SendInProgress* send = sending; send; send = send->outer)
        send->senderDestroyed = true;
    if (!links)
        return;
    // Partners only blank entries in their own tables, so this table stays as it is during the walk.
    for (int i = 0; i < links->count; ++i) {
        Listener const& entry = links->entries()[i];
        if (entry.object && entry.object != this)
            entry.object->removeListener(entry.eventId, nullptr, this);
    }
    memory_free(links);
    links = nullptr;
}

bool LinkableObject::addListener(int eventId, Method method, Object* listener)
{
    if (eventId < 0 || !listener)
        return false;
    if (!links) {
        links = allocateTable(FirstCapacity);
    } else if (links->count == links->capacity) {
        ListenerTable* grown = allocateTable(links->capacity * 2);
        grown->count = links->count;
        std::memcpy(grown->entries(), links->entries(), static_cast<std::size_t>(links->count) * sizeof(Listener));
        memory_free(links);
        links = grown;
    }
    links->entries()[links->count++] = Listener{listener, method, eventId};
    return true;
}

void LinkableObject::removeListener(int eventId, Method method, Object* listener)
{
    if (!links)
        return;
    for (int i = 0; i < links->count; ++i) {
        Listener& entry = links->entries()[i];
        if (entry.object == listener && entry.eventId == eventId && (!method || entry.method == method))
            entry = Listener{nullptr, nullptr, -1};
    }
}

void LinkableObject::executeEvent(int eventId, CallbackParams* params)
{
    if (!links || eventId < 0)
        return;
    SendInProgress send{sending, false};
    sending = &send;
    // The table and its count are read again for every entry: a handler may
    // add links (growing the table), remove them, or destroy this object.
    for (int i = 0; i < links->count; ++i) {
        Listener entry = links->entries()[i];
        if (entry.eventId != eventId)
            continue;
        submitEvent(entry.object, entry.method, params);
        if (send.senderDestroyed)
            return;
    }
    sending = send.outer;
}

void LinkableObject::submitEvent(Object* object, Method method, CallbackParams* params)
{
    if (object && method)
        object->invokeMethod(method, params);
}

int LinkableObject::get$linkCount() const
{
    return links ? links->count : 0;
}

int LinkableObject::get$linkCapacity() const
{
    return links ? links->capacity : 0;
}

LinkableObject::Listener LinkableObject::getLink(int index) const
{
    if (!links || index < 0 || index >= links->count)
        NY_THROW(OutOfBoundsException(index, get$linkCount() - 1));
    return links->entries()[index];
}

}
