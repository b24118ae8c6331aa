// The record of CountedObject.
#include "nycore/system/counted_object.h"

namespace NyCore::Extenders {

TypeData CountedObject::MetaData = {&Object::MetaData, nullptr, u"NyCore.Extenders.CountedObject"_str, NoMethods, NoEvents, nullptr, sizeof(CountedObject), 0, nullptr};

}
