// The menu exceptions' records and messages.
#include "nyuser/models/menu_exceptions.h"

#include "nycore/system/boxed_values.h"

namespace NyUser::Models {

NyCore::TypeData WrongMenuRootException::MetaData = {&NyCore::Exception::MetaData, nullptr, u"NyUser.Models.WrongMenuRootException"_str,
    NyCore::NoMethods, NyCore::NoEvents, nullptr, sizeof(WrongMenuRootException), 0, nullptr};
NyCore::TypeData NoRootMenuException::MetaData = {&NyCore::Exception::MetaData, nullptr, u"NyUser.Models.NoRootMenuException"_str,
    NyCore::NoMethods, NyCore::NoEvents, nullptr, sizeof(NoRootMenuException), 0, nullptr};
NyCore::TypeData NoCallbackObjectException::MetaData = {&NyCore::Exception::MetaData, nullptr, u"NyUser.Models.NoCallbackObjectException"_str,
    NyCore::NoMethods, NyCore::NoEvents, nullptr, sizeof(NoCallbackObjectException), 0, nullptr};

WrongMenuRootException::WrongMenuRootException()
    : Exception(u"This menu cannot be inserted into more than one root menu."_str)
{
}

NoRootMenuException::NoRootMenuException() : Exception(u"No root menu defined"_str) {}

NoCallbackObjectException::NoCallbackObjectException(int slot)
{
    NyCore::Integer32 number(slot);
    adoptMessage(NyCore::String::format(u"No object defined for callback slot {0}"_str, &number));
}

}
