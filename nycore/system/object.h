// Object: the base of every reflective class. Instances come zero-filled from
// the runtime heap; each class with a record overrides getType.
#pragma once

#include <cstdint>

#include "nycore/system/type.h"
#include "nycore/text/char_writer.h"

namespace NyCore {

class Object {
public:
    // The argument block of events and invoked methods: a count (1 to 5 is
    // meaningful) and five argument words.
    struct CallbackParams {
        std::int32_t count;
        std::intptr_t args[5];
    };

    static TypeData MetaData;

    Object() = default;
    Object(Object const&) = delete;
    Object& operator=(Object const&) = delete;
    // Drops the calls still queued for the object (EventLoop::forgetObject).
    virtual ~Object();

    virtual Type* getType() const;
    virtual int hashcode() const;
    virtual int compare(Object const* other) const;
    // Writes the object as text; the base writes the name of its type.
    virtual void appendTo(Text::CharWriter* writer, String const* format) const;
    virtual void executeEvent(int eventId, CallbackParams* params);
    virtual void removeListener(int eventId, Method method, Object* listener);
    virtual bool addListener(int eventId, Method method, Object* listener);

    // appendTo into a new String owned by the caller.
    String* toString(String const* format = nullptr) const;

    // Links the sender's event to the receiver's method; both must be
    // LinkableObjects. A failure is reported on standard output and gives false.
    static bool link(Object* sender, Object* receiver, char16_t const* eventName, Method method);
    // The same with the method looked up by name on the receiver's type.
    static bool link(Object* sender, Object* receiver, char16_t const* eventName, char16_t const* methodName);

    // Fires the event through executeEvent; an unknown name fires nothing.
    void send(char16_t const* eventName);
    void send(char16_t const* eventName, CallbackParams* params);

    // Calls the method with this object as receiver. No block passes no
    // arguments; a count outside 1 to 5 calls nothing and gives 0.
    int invokeMethod(Method method, CallbackParams* params);
    // An unknown name is a fatal UnknownMethodException.
    int invokeMethod(String const* methodName, CallbackParams* params);

    // Creates an instance of the registered class `name`; an unknown name is
    // a fatal ClassDoesNotExistException, a class without creation function gives 0.
    static Object* create(String const* name);

    static void* operator new(std::size_t size);
    static void operator delete(void* block);
};

// Declares the record and getType of a reflective class.
#define NY_REFLECTIVE(Class)                                       \
public:                                                            \
    static ::NyCore::TypeData MetaData;                            \
    ::NyCore::Type* getType() const override { return ::NyCore::asType(&MetaData); }

}
