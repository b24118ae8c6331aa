// Where help pages and the sample documents that help pages open are found:
// in the start-up directory first, then in the program's data folders
// (beside the program, the installed share/vexadrome). A sample's name must
// stay inside one of those folders, so that a page's link cannot open any
// other file on the machine.
#pragma once

#include "nycore/text/string.h"

namespace Vexadrome::Interface {

// The full path of a help page ("help/index.htm") under baseDir (which ends
// with '/') when it is there, else in the first data folder that holds it;
// baseDir followed by the name when none does (a new String).
NyCore::String* findHelpPage(NyCore::String const* baseDir, NyCore::String const* name);
// The full path of the existing file `name` names inside baseDir or a data
// folder, or null: for an absolute name, a name with ".." steps or links that
// lead outside, and a name that no folder holds (a new String).
NyCore::String* findSampleFile(NyCore::String const* baseDir, NyCore::String const* name);

}
