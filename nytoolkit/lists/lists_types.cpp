// The list classes the toolkit registers.
#include "nytoolkit/lists/drop_list.h"
#include "nytoolkit/lists/list_contents.h"
#include "nytoolkit/lists/simple_list.h"
#include "nytoolkit/toolkit_types.h"

namespace NyToolkit {

NyCore::TypeData* const ListTypes[] = {&ListContents::MetaData, &DropList::MetaData, &SimpleList::MetaData, nullptr};

}
