// The application base: every operation does nothing until a program overrides it.
#include "nyuser/models/application.h"

namespace NyUser::Models {

NyCore::TypeData Application::MetaData = {&NyCore::Object::MetaData, nullptr, u"NyUser.Models.Application"_str, NyCore::NoMethods,
                                         NyCore::NoEvents, nullptr, sizeof(Application), 0, nullptr};

NyCore::Object* Application::createNewView(NyCore::String const*, NyCore::String const*, int)
{
    return nullptr;
}

void Application::setViewTitle(NyCore::Object*, NyCore::String const*) {}
void Application::startup() {}
void Application::shutdown() {}

int Application::execute()
{
    return 0;
}

}
