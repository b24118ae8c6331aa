// Object's base behaviour, allocation from the runtime heap and creation by name.
#include "nycore/system/object.h"

#include "nycore/system/console.h"
#include "nycore/system/event_loop.h"
#include "nycore/system/exceptions.h"
#include "nycore/system/memory.h"
#include "nycore/system/runtime.h"
#include "nycore/text/text_buffer.h"

namespace NyCore {

TypeData Object::MetaData = {nullptr, nullptr, u"NyCore.Object"_str, NoMethods, NoEvents, nullptr, sizeof(Object), 0, nullptr};

Object::~Object()
{
    System::EventLoop::forgetObject(this);
}

Type* Object::getType() const
{
    return nullptr;
}

int Object::hashcode() const
{
    return 0;
}

int Object::compare(Object const*) const
{
    return 0;
}

void Object::appendTo(Text::CharWriter* writer, String const*) const
{
    Type* type = getType();
    if (type && type->name)
        writer->append(type->name);
}

void Object::executeEvent(int, CallbackParams*) {}

void Object::removeListener(int, Method, Object*) {}

bool Object::addListener(int, Method, Object*)
{
    return false;
}

String* Object::toString(String const* format) const
{
    Text::TextBuffer buffer;
    appendTo(&buffer, format);
    return buffer.abandonString();
}

namespace {

int eventIdOf(Object const* sender, char16_t const* eventName)
{
    Type* type = sender ? sender->getType() : nullptr;
    return type ? type->getEventId(eventName) : -1;
}

}

bool Object::link(Object* sender, Object* receiver, char16_t const* eventName, Method method)
{
    int id = eventIdOf(sender, eventName);
    if (id < 0 || !method) {
        print(u"event not found, or method null: %d\n", id);
        return false;
    }
    if (!sender->addListener(id, method, receiver)) {
        print(u"failed to listen to sender\n");
        return false;
    }
    if (!receiver->addListener(id, nullptr, sender)) {
        print(u"failed to listen to receiver\n");
        sender->removeListener(id, method, receiver);
        return false;
    }
    return true;
}

bool Object::link(Object* sender, Object* receiver, char16_t const* eventName, char16_t const* methodName)
{
    Type* type = receiver ? receiver->getType() : nullptr;
    return link(sender, receiver, eventName, type ? type->getMethod(methodName) : nullptr);
}

void Object::send(char16_t const* eventName)
{
    executeEvent(eventIdOf(this, eventName), nullptr);
}

void Object::send(char16_t const* eventName, CallbackParams* params)
{
    executeEvent(eventIdOf(this, eventName), params);
}

int Object::invokeMethod(Method method, CallbackParams* params)
{
    if (!method)
        return 0;
    if (!params)
        return method(this, 0, 0, 0, 0, 0);
    if (params->count < 1 || params->count > 5)
        return 0;
    // Positions past the count are passed as 0 whatever the block holds there.
    std::intptr_t args[5] = {};
    for (int i = 0; i < params->count; ++i)
        args[i] = params->args[i];
    return method(this, args[0], args[1], args[2], args[3], args[4]);
}

int Object::invokeMethod(String const* methodName, CallbackParams* params)
{
    Type* type = getType();
    Method method = type && methodName ? type->getMethod(methodName->units()) : nullptr;
    if (!method)
        NY_THROW(UnknownMethodException(methodName));
    return invokeMethod(method, params);
}

Object* Object::create(String const* name)
{
    Type* type = Type::getType(name);
    if (!type)
        NY_THROW(ClassDoesNotExistException(name));
    return type->createObject();
}

void* Object::operator new(std::size_t size)
{
    return memory_alloc(size);
}

void Object::operator delete(void* block)
{
    memory_free(block);
}

}
