// The program's own registered classes: the main window, the command text
// view and the documents, registered at start-up so that they are created and
// linked by name.
#pragma once

#include "nycore/system/type.h"

namespace Vexadrome::Interface {

// Null-terminated.
extern NyCore::TypeData* const InterfaceTypes[];
// Registers each record once; later calls change nothing.
void registerInterfaceTypes();

}
