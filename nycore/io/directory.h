// Directories: the current directory, creating and removing directories, and
// the temporary and per-user data directories of the system.
#pragma once

#include "nycore/text/string.h"

bool directory_set_cur(NyCore::String const* path);
// The current directory with a trailing separator; null when it cannot be read.
NyCore::String* directory_get_cur();
bool directory_create(NyCore::String const* path);
// Removes an empty directory.
bool directory_remove(NyCore::String const* path);
// The temporary directory ($TMPDIR when it is an absolute path, else /tmp), with a trailing separator.
NyCore::String* directory_temp();
// which 0: the user's data directory ($XDG_DATA_HOME, else ~/.local/share);
// 1: the data directory common to all users (/usr/local/share). Created when
// missing; null when that fails. Any other value is fatal (Error.InvalidParamiter).
NyCore::String* directory_user(int which);
