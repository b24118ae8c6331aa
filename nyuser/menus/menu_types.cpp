// The menus classes the framework registers.
#include "nyuser/user_types.h"

namespace NyUser {

NyCore::TypeData* const MenuTypes[] = {nullptr};

}
