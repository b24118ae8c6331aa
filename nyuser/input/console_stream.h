// ConsoleStream: the output stream of a command console (CommandConsole::ConsoleStream).
// Its buffer is the console's transcript, a list of 256-unit chunks; a line
// table of (start, colour word) records is kept up to date as text is scanned.
#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "nycore/io/stream2.h"

namespace NyUser::Input {

class CommandConsole;

class ConsoleStream : public NyCore::IO::Stream2 {
public:
    // Units per transcript chunk.
    static constexpr int ChunkUnits = 256;
    // The style byte of a colour word: which of the console's three fonts draws the line.
    enum LineStyle : std::uint32_t { Plain = 0, Bold = 1, Italic = 2 };

    struct LineRecord {
        int start;
        // (style << 24) | 0xRRGGBB
        std::uint32_t color;
    };

    explicit ConsoleStream(CommandConsole* console);
    ~ConsoleStream() override = default;

    void close() override;
    // Scans what was written, then lets the console show every line from the first one not yet shown.
    void flush() override;
    void chmode(int newMode) override;
    void setEOF() override;
    // The buffer is full: scans it and moves on to the next chunk.
    void putblock() override;
    // The transcript cannot be read back through the stream.
    bool getblock() override;
    std::int64_t seek(std::int64_t offset, int origin) override;

    // Scans what was written, then colours the current line and every later one.
    // Flags: 2 bold, else 1 italic, else plain.
    void setTextColor(std::uint32_t rgb, int flags);
    // Empties the transcript: the first chunk is zero-filled and the tables start afresh.
    void clear();
    // Drops every chunk but one (a new one with `allocate`) and resets the tables.
    void reset(bool allocate);
    // Appends a line record for each line feed written since the last scan.
    void updateLines();

    // The line table: one record per line, then a closing record whose start is the scanned length.
    int get$lineCount() const { return static_cast<int>(lines.size()); }
    LineRecord const& getLine(int index) const { return lines[static_cast<std::size_t>(index)]; }
    int get$currentLine() const { return currentLine; }
    std::uint32_t get$currentColor() const { return currentColor; }
    int get$firstUndrawn() const { return firstUndrawn; }
    // Units written so far, scanned or not.
    int get$written() const;
    // The units scanned so far: what the line table covers.
    int get$scanned() const { return lines.back().start; }
    char16_t unitAt(int offset) const;
    // The units [start, end) of the transcript.
    std::u16string textOf(int start, int end) const;

private:
    void pointAtChunk(int index);

    CommandConsole* console;
    std::vector<std::unique_ptr<char16_t[]>> chunks;
    std::vector<LineRecord> lines;
    int currentLine = 0;
    int scannedCount = 0;
    int highest = 0;
    int firstUndrawn = 0;
    std::uint32_t currentColor = 0;
};

}
