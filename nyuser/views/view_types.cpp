// The views classes the framework registers.
#include "nyuser/user_types.h"

namespace NyUser {

NyCore::TypeData* const ViewTypes[] = {nullptr};

}
