// Where the program's data files (forms, icons, help pages) are found: a
// relative name is looked for in the current directory, then beside the
// running program, then in the installed data folder, so that the program
// starts from anywhere, from its build folder as well as once installed.
#pragma once

#include "nycore/text/string.h"

// A new String with the path of the first existing file for `relativeName` in
// the folders of data_folder, in their order; when none holds it, or the name
// is absolute, a copy of the name itself, so that the failure that follows
// names what was asked for.
NyCore::String* data_file_find(NyCore::String const* relativeName);
// The index-th folder searched, ending with '/' (the current directory is the
// empty string), or null past the last: the current directory, the program's
// folder, the installed data folder found from the program (../share/vexadrome,
// so that a moved install still works), and the data folder the build was
// configured to install into.
NyCore::String* data_folder(int index);
// The folder of the running program, ending with '/' (empty when unknown).
NyCore::String* data_program_folder();
