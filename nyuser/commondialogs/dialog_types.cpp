// The commondialogs classes the framework registers.
#include "nyuser/user_types.h"

namespace NyUser {

NyCore::TypeData* const DialogTypes[] = {nullptr};

}
