// Hardware faults (SIGSEGV, SIGBUS, SIGFPE) reported like raised exceptions.
#pragma once

#include "nycore/system/exceptions.h"

namespace NyCore::System {

// Installs the signal handlers on an alternate stack (so that a stack
// overflow is reported too) and prepares their reports.
void installFaultHandlers();

// The report text of a raised exception, with or without source location.
String* renderExceptionReport(Exception* e, char const* sourceFile, int line);

}
