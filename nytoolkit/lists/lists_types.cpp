// The list classes the toolkit registers.
#include "nytoolkit/lists/list_contents.h"
#include "nytoolkit/toolkit_types.h"

namespace NyToolkit {

NyCore::TypeData* const ListTypes[] = {&ListContents::MetaData, nullptr};

}
