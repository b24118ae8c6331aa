// CommandWriter: a command document as a command script file, the element
// <command title="..."> holding the script as its one text node.
#pragma once

#include "nycore/io/stream.h"

namespace Vexadrome::Documents {

class CommandDoc;

class CommandWriter {
public:
    // Writes the document's title and script to the open writer, with nothing
    // before, between or after; the start tag is followed by the end tag even
    // when the script is empty. & < > and " are written as entities.
    static void write(NyCore::IO::StreamWriter* writer, CommandDoc* document);
};

}
