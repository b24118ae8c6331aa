// The process's standard output and error writers and standard input reader:
// streams flagged as standard, moving UTF-8 through descriptors 1, 2 and 0.
// Runtime::initilize binds them and Runtime::shutdown flushes the writers.
#pragma once

#include "nycore/io/stream.h"

NyCore::IO::StreamWriter* writer_standard_output();
NyCore::IO::StreamWriter* writer_standard_error();
NyCore::IO::StreamReader* reader_standard_input();

// Sets the three records up with empty buffers.
void stream_standard_bind();
// Writes out what the two writers still hold.
void stream_standard_flush();
// Records a failed write to descriptor 1 or 2 made past the writers (raw
// bytes), so that a check of the writer's failure flag at exit sees it too.
void stream_standard_note_failure(int fd, int error);
