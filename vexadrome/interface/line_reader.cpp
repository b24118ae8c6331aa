// Plain line reading from pipes and files, and a small line editor in the
// terminal's raw mode. The terminal is always restored when the reader goes.
#include "vexadrome/interface/line_reader.h"

#include <poll.h>
#include <sys/ioctl.h>
#include <termios.h>
#include <unistd.h>

#include <cerrno>

#include "nycore/text/string_functions.h"

namespace Vexadrome::Interface {

struct LineReader::SavedTerminal {
    termios settings;
};

namespace {

constexpr int EndOfInput = -1;
constexpr char CtrlA = 0x01, CtrlC = 0x03, CtrlD = 0x04, CtrlE = 0x05, CtrlH = 0x08, Escape = 0x1B, Delete = 0x7F;

NyCore::String* fromUtf16(std::u16string const& text)
{
    return NyCore::String::create(text.data(), 0, static_cast<int>(text.size()));
}

}

LineReader::LineReader(int inputFd, TerminalWriter* screen, Documents::CommandHistory* history, char const* prompt)
    : fd(inputFd), screen(screen), history(history), prompt(prompt)
{
    termios settings;
    if (::isatty(fd) == 1 && screen->get$isTerminal() && tcgetattr(fd, &settings) == 0) {
        saved = new SavedTerminal{settings};
        settings.c_lflag &= ~static_cast<tcflag_t>(ICANON | ECHO | ISIG | IEXTEN);
        settings.c_iflag &= ~static_cast<tcflag_t>(IXON | ICRNL);
        settings.c_cc[VMIN] = 1;
        settings.c_cc[VTIME] = 0;
        editing = tcsetattr(fd, TCSAFLUSH, &settings) == 0;
    }
}

LineReader::~LineReader()
{
    if (saved) {
        tcsetattr(fd, TCSAFLUSH, &saved->settings);
        delete saved;
    }
}

NyCore::String* LineReader::readLine()
{
    if (atEnd)
        return nullptr;
    return editing ? readEditedLine() : readPlainLine();
}

int LineReader::readByte()
{
    if (bufferedAt < buffered.size())
        return static_cast<unsigned char>(buffered[bufferedAt++]);
    buffered.clear();
    bufferedAt = 0;
    char chunk[4096];
    for (;;) {
        ssize_t n = ::read(fd, chunk, sizeof chunk);
        if (n > 0) {
            buffered.assign(chunk, static_cast<std::size_t>(n));
            return static_cast<unsigned char>(buffered[bufferedAt++]);
        }
        if (n < 0 && errno == EINTR)
            continue;
        return EndOfInput;
    }
}

bool LineReader::byteFollowsSoon()
{
    if (bufferedAt < buffered.size())
        return true;
    pollfd input = {fd, POLLIN, 0};
    return ::poll(&input, 1, 50) > 0;
}

NyCore::String* LineReader::readPlainLine()
{
    std::string bytes;
    int c;
    while ((c = readByte()) != EndOfInput && c != '\n')
        bytes += static_cast<char>(c);
    if (c == EndOfInput) {
        atEnd = true;
        if (bytes.empty())
            return nullptr;
    }
    if (!bytes.empty() && bytes.back() == '\r')
        bytes.pop_back();
    return string_from_utf8(bytes.data(), static_cast<int>(bytes.size()));
}

void LineReader::changedFrom(std::size_t index)
{
    if (index < changed)
        changed = index;
}

// Positions count cells from the start of the prompt; a line longer than the
// terminal is wide wraps onto the rows below.
void LineReader::moveCursor(std::size_t from, std::size_t to)
{
    from += prompt.size();
    to += prompt.size();
    std::size_t fromRow = columns ? from / columns : 0, toRow = columns ? to / columns : 0;
    std::size_t fromColumn = from - fromRow * columns, toColumn = to - toRow * columns;
    if (toRow < fromRow)
        screen->appendControl("\x1b[" + std::to_string(fromRow - toRow) + "A");
    else if (toRow > fromRow)
        screen->appendControl("\x1b[" + std::to_string(toRow - fromRow) + "B");
    if (toColumn < fromColumn)
        screen->appendControl("\x1b[" + std::to_string(fromColumn - toColumn) + "D");
    else if (toColumn > fromColumn)
        screen->appendControl("\x1b[" + std::to_string(toColumn - fromColumn) + "C");
}

void LineReader::refresh()
{
    if (changed != std::u16string::npos) {
        moveCursor(shownCursor, changed);
        for (std::size_t i = changed; i < line.size(); ++i)
            screen->append(line[i]);
        // After the last column the cursor waits at the margin until the next
        // character; a blank takes it to the next row so that moves count right.
        if (columns && line.size() > changed && (prompt.size() + line.size()) % columns == 0)
            screen->appendControl(" \r");
        if (line.size() < shownLength)
            screen->appendControl("\x1b[J");
        shownLength = line.size();
        shownCursor = line.size();
        changed = std::u16string::npos;
    }
    moveCursor(shownCursor, cursor);
    shownCursor = cursor;
    screen->flush();
}

void LineReader::replaceLine(NyCore::String const* text)
{
    if (!text)
        return;
    std::u16string_view recalled(text->units(), static_cast<std::size_t>(text->count));
    std::size_t same = 0;
    while (same < line.size() && same < recalled.size() && line[same] == recalled[same])
        ++same;
    changedFrom(same);
    line.assign(recalled);
    cursor = line.size();
}

NyCore::String* LineReader::readEditedLine()
{
    line.clear();
    cursor = shownLength = shownCursor = 0;
    changed = std::u16string::npos;
    winsize size;
    columns = ::ioctl(screen->get$fd(), TIOCGWINSZ, &size) == 0 ? size.ws_col : 0;
    std::string pendingUtf8;  // bytes of a character still being read
    for (;;) {
        int c = readByte();
        if (c == EndOfInput || (c == CtrlD && line.empty())) {
            atEnd = true;
            return nullptr;
        }
        if (c == '\r' || c == '\n') {
            // Enter on an empty line does nothing, as in the windowed calculator.
            if (line.empty())
                continue;
            cursor = line.size();
            refresh();
            screen->appendControl("\r\n");
            screen->flush();
            NyCore::String* result = fromUtf16(line);
            line.clear();
            return result;
        }
        if (c == Delete || c == CtrlH) {
            if (cursor > 0) {
                line.erase(--cursor, 1);
                changedFrom(cursor);
            }
        } else if (c == CtrlA) {
            cursor = 0;
        } else if (c == CtrlE) {
            cursor = line.size();
        } else if (c == CtrlC) {
            line.clear();
            cursor = 0;
            changedFrom(0);
        } else if (c == Escape) {
            if (!byteFollowsSoon()) {
                line.clear();  // a lone Escape clears the line
                cursor = 0;
                changedFrom(0);
            } else if (int kind = readByte(); kind == '[' || kind == 'O') {
                int code = readByte();
                int number = 0;
                while (code >= '0' && code <= '9') {
                    number = number * 10 + (code - '0');
                    code = readByte();
                }
                if (code == 'A') {
                    replaceLine(history->getPrevEntry());
                } else if (code == 'B') {
                    replaceLine(history->getNextEntry());
                } else if (code == 'C' && cursor < line.size()) {
                    ++cursor;
                } else if (code == 'D' && cursor > 0) {
                    --cursor;
                } else if (code == 'H' || (code == '~' && (number == 1 || number == 7))) {
                    cursor = 0;
                } else if (code == 'F' || (code == '~' && (number == 4 || number == 8))) {
                    cursor = line.size();
                } else if (code == '~' && number == 3 && cursor < line.size()) {
                    line.erase(cursor, 1);
                    changedFrom(cursor);
                }
            }
        } else if (c >= 0x20) {
            pendingUtf8 += static_cast<char>(c);
            NyCore::String* decoded = string_from_utf8(pendingUtf8.data(), static_cast<int>(pendingUtf8.size()));
            bool complete = decoded->count > 0 && decoded->units()[decoded->count - 1] != 0xFFFD;
            std::size_t expected = (c & 0xE0) == 0xC0 ? 2 : (c & 0xF0) == 0xE0 ? 3 : (c & 0xF8) == 0xF0 ? 4 : 1;
            if ((pendingUtf8.size() == 1 && expected == 1) || complete || pendingUtf8.size() >= 4) {
                line.insert(cursor, decoded->units(), static_cast<std::size_t>(decoded->count));
                changedFrom(cursor);
                cursor += static_cast<std::size_t>(decoded->count);
                pendingUtf8.clear();
            }
            string_free(decoded);
        }
        // Keys already read (a paste) are applied before the screen is updated.
        if (bufferedAt < buffered.size())
            continue;
        refresh();
    }
}

}
