// Object's base behaviour, allocation from the runtime heap and creation by name.
#include "nycore/system/object.h"

#include "nycore/system/exceptions.h"
#include "nycore/system/memory.h"
#include "nycore/system/runtime.h"
#include "nycore/text/text_buffer.h"

namespace NyCore {

TypeData Object::MetaData = {nullptr, nullptr, u"NyCore.Object"_str, NoMethods, NoEvents, nullptr, sizeof(Object), 0, nullptr};

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
