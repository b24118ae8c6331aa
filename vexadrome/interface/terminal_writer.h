// TerminalWriter: a transcript on standard output, as UTF-8. Colours become
// ANSI escapes, and only when standard output is a terminal.
#pragma once

#include <string>

#include "vexadrome/documents/transcript_writer.h"

namespace Vexadrome::Interface {

class TerminalWriter : public Documents::TranscriptWriter {
public:
    // fd is the file descriptor written to; colours are used when it is a terminal.
    explicit TerminalWriter(int fd);
    ~TerminalWriter() override;

    void append(char16_t unit) override;
    void append(NyCore::String const* text) override;
    void setTextColor(std::uint32_t color, int flags) override;
    void clearScreen() override;
    void flush() override;
    // Bytes that go out as they are (cursor movements of the line editor).
    void appendControl(std::string const& bytes) { pending += bytes; }

    bool get$isTerminal() const { return isTerminal; }
    int get$fd() const { return fd; }

private:
    int fd;
    bool isTerminal;
    std::string pending;       // UTF-8 not yet written
    char16_t highSurrogate = 0;
};

// The ANSI escape for a colour (0xRRGGBB, mapped to the nearest of the eight
// basic colours) and flags (TranscriptWriter::Bold); colour 0 and flags 0 reset.
std::string ansiColor(std::uint32_t color, int flags);

}
