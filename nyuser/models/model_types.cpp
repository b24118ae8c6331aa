// The model classes the framework registers.
#include "nyuser/models/application.h"
#include "nyuser/models/document.h"
#include "nyuser/user_types.h"

namespace NyUser {

NyCore::TypeData* const ModelTypes[] = {&Models::Application::MetaData, &Models::Document::MetaData, nullptr};

}
