// StreamTextWriter: a CharWriter that appends to a StreamWriter, so that
// formatters and Object::appendTo can write straight into a file or memory stream.
#pragma once

#include "nycore/io/stream.h"
#include "nycore/text/char_writer.h"

namespace NyCore::IO {

class StreamTextWriter : public Text::CharWriter {
public:
    explicit StreamTextWriter(StreamWriter* writer) : writer(writer) {}

    void append(char16_t unit) override;
    void append(String const* text) override;

    StreamWriter* get$writer() const { return writer; }

private:
    StreamWriter* writer;
};

}
