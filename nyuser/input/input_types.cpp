// The input classes the framework registers.
#include "nyuser/input/command_console.h"
#include "nyuser/user_types.h"

namespace NyUser {

NyCore::TypeData* const InputTypes[] = {&Input::CommandConsole::MetaData, nullptr};

}
