// LinkableObject: the base of objects that can be linked by event and method
// names (widgets, data tables, documents). It keeps the listener table that
// Object::link fills and that send walks.
#pragma once

#include <cstdint>

#include "nycore/system/method_thunk.h"
#include "nycore/system/object.h"

namespace NyCore::Extenders {

class LinkableObject : public Object {
    NY_REFLECTIVE(LinkableObject)
public:
    // One entry of the listener table. In a sender's table: (receiver, its
    // method, event id); in a receiver's table a back entry (sender, 0, id).
    // A removed entry is blank: (0, 0, -1).
    struct Listener {
        Object* object;
        Method method;
        std::int32_t eventId;
    };

    LinkableObject() = default;
    // Removes every entry that partners hold for this object, then frees the table.
    ~LinkableObject() override;

    void executeEvent(int eventId, CallbackParams* params) override;
    // Blanks every entry with this object and id whose method matches; a null
    // method matches every method.
    void removeListener(int eventId, Method method, Object* listener) override;
    // Appends the entry; a negative id or no object gives false.
    bool addListener(int eventId, Method method, Object* listener) override;

    // Calls one handler: nothing without a method or for a count outside 1
    // to 5; no block passes five zeros.
    static void submitEvent(Object* object, Method method, CallbackParams* params);

    // The listener table as it stands, blanks included.
    int get$linkCount() const;
    int get$linkCapacity() const;
    Listener getLink(int index) const;

private:
    // The header of one heap block; `capacity` entries follow it.
    struct ListenerTable {
        std::int32_t capacity;
        std::int32_t count;

        Listener* entries() { return reinterpret_cast<Listener*>(this + 1); }
    };

    // One running executeEvent; the destructor marks each one so that a
    // handler may destroy the sender without the walk touching it again.
    struct SendInProgress {
        SendInProgress* outer;
        bool senderDestroyed;
    };

    static ListenerTable* allocateTable(int capacity);

    ListenerTable* links = nullptr;
    SendInProgress* sending = nullptr;
};

}
