// Where the program's data files (forms, icons, help pages) are found: a
// relative name is looked for in the current directory first, then in the
// folder of the running program, so that the program starts from anywhere.
#pragma once

#include "nycore/text/string.h"

// A new String with the path of the first existing file for `relativeName`
// (current directory, then beside the program); when neither exists, or the
// name is absolute, a copy of the name itself, so that the failure that
// follows names what was asked for.
NyCore::String* data_file_find(NyCore::String const* relativeName);
// The folder of the running program, ending with '/' (empty when unknown).
NyCore::String* data_program_folder();
