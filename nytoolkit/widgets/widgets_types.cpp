// The widgets classes the toolkit registers.
#include "nytoolkit/toolkit_types.h"

namespace NyToolkit {

NyCore::TypeData* const WidgetTypes[] = {nullptr};

}
