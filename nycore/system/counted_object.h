// CountedObject: an Object shared through a reference count. It starts at 1;
// holders raise it with addRef and lower it with release, which deletes the
// object when the count reaches 0.
#pragma once

#include <cstdint>

#include "nycore/system/object.h"

namespace NyCore::Extenders {

class CountedObject : public Object {
    NY_REFLECTIVE(CountedObject)
public:
    int addRef() { return ++referenceCount; }
    int release()
    {
        int left = --referenceCount;
        if (left <= 0)
            delete this;
        return left;
    }
    int get$referenceCount() const { return referenceCount; }

private:
    std::int32_t referenceCount = 1;
};

}
