// Saving whole files so that the old content survives any failure: the new
// content goes to a temporary file in the same folder, is synced and closed,
// and only then renamed over the target. Every document save and export
// goes through file_replace.
#pragma once

#include <cstddef>

#include "nycore/text/string.h"

// Writes all count bytes, retrying interrupted and partial writes; false (errno set) on failure.
bool file_write_all(int fd, void const* bytes, std::size_t count);

// Writes the new content of a file to fd; false (errno set) on failure.
using FileFiller = bool (*)(int fd, void* context);

// Builds the new content of path (UTF-8) through fill in a temporary file beside
// it, then renames it over path, or, without overwrite, puts it there only when
// path does not exist yet. An existing target keeps its permission bits; a new
// one gets mode (-1: the usual mode of new files). A symbolic link stays and
// the file it points to is replaced. An existing target that is not a regular
// file (a FIFO, a device) is written into as it is. A regular target without
// write permission is refused ("File is read-only"; for root: no write bit
// at all). On failure the temporary is removed, path is left as it was, and
// the result is false with a new String reason when reason is not null.
bool file_replace(char const* path, FileFiller fill, void* context, bool overwrite, int mode, NyCore::String** reason);

// Saves text at path in encoding 0 to 3, or -1 to let encoding_choose pick 1
// or 2. Other encodings are fatal (Error.InvalidParamiter).
bool file_save_atomic(NyCore::String const* path, NyCore::String const* text, int encoding, NyCore::String** reason);
