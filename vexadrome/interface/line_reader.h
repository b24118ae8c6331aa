// LineReader: reads the calculator's input lines from standard input. On a
// terminal it edits the line itself (cursor keys, Home/End, Backspace and
// Delete, Up/Down recalling the history, Escape clearing the line); from a
// pipe or file it reads plain lines.
#pragma once

#include <string>

#include "nycore/text/string.h"
#include "vexadrome/documents/command_history.h"
#include "vexadrome/interface/terminal_writer.h"

namespace Vexadrome::Interface {

class LineReader {
public:
    // The prompt is what the calculator writes before each line; the editor
    // redraws it with the line. The history is borrowed.
    LineReader(int inputFd, TerminalWriter* screen, Documents::CommandHistory* history, char const* prompt);
    ~LineReader();
    LineReader(LineReader const&) = delete;
    LineReader& operator=(LineReader const&) = delete;

    // The next line without its line break (a new String the caller frees),
    // or null at the end of the input.
    NyCore::String* readLine();

    bool get$isEditing() const { return editing; }

private:
    NyCore::String* readPlainLine();
    NyCore::String* readEditedLine();
    int readByte();
    bool byteFollowsSoon();
    void changedFrom(std::size_t index);
    void refresh();
    void moveCursor(std::size_t from, std::size_t to);
    void replaceLine(NyCore::String const* text);

    int fd;
    TerminalWriter* screen;
    Documents::CommandHistory* history;
    std::string prompt;
    bool editing = false;
    bool atEnd = false;
    std::u16string line;
    std::size_t cursor = 0;
    // What the terminal shows: the line is redrawn from the first changed
    // unit only, so that typing and pasting write each character about once.
    std::size_t shownLength = 0;
    std::size_t shownCursor = 0;
    std::size_t changed = std::u16string::npos;  // first unit that differs from the screen
    std::size_t columns = 0;                      // terminal width; 0 when unknown (no wrapping)
    std::string buffered;    // bytes read ahead in plain mode
    std::size_t bufferedAt = 0;
    struct SavedTerminal;
    SavedTerminal* saved = nullptr;
};

}
