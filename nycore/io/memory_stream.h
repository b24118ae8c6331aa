// Streams over memory: a writer that collects everything written in a growable
// buffer (documents are written there first and saved with file_save_atomic),
// and a reader over a copy of a String.
#pragma once

#include "nycore/io/stream.h"

void memwriter_construct(NyCore::IO::StreamWriter* writer);
// Everything written so far, as a new String; the writer stays open.
NyCore::String* memwriter_get_text(NyCore::IO::StreamWriter* writer);
// Releases the collected text (fwriter_close does the same).
void memwriter_destroy(NyCore::IO::StreamWriter* writer);

// A reader of the units of text (null: no input).
void memreader_construct(NyCore::IO::StreamReader* reader, NyCore::String const* text);
void memreader_destroy(NyCore::IO::StreamReader* reader);
