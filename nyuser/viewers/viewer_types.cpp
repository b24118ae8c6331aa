// The viewer classes the framework registers.
#include "nyuser/user_types.h"
#include "nyuser/viewers/html_viewer.h"

namespace NyUser {

NyCore::TypeData* const ViewerTypes[] = {&Viewers::HTMLViewer::MetaData, nullptr};

}
