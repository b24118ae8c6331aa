// The text classes the toolkit registers.
#include "nytoolkit/toolkit_types.h"

namespace NyToolkit {

NyCore::TypeData* const TextTypes[] = {nullptr};

}
