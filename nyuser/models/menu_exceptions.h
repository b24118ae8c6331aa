// The menu model's exceptions: a menu joined to a second root, running an
// entry of a menu without a root, and a callback slot that holds no object.
#pragma once

#include "nycore/system/exceptions.h"

namespace NyUser::Models {

class WrongMenuRootException : public NyCore::Exception {
    NY_REFLECTIVE(WrongMenuRootException)
public:
    WrongMenuRootException();
};

class NoRootMenuException : public NyCore::Exception {
    NY_REFLECTIVE(NoRootMenuException)
public:
    NoRootMenuException();
};

class NoCallbackObjectException : public NyCore::Exception {
    NY_REFLECTIVE(NoCallbackObjectException)
public:
    explicit NoCallbackObjectException(int slot);
};

}
