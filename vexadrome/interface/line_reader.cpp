// Plain line reading from pipes and files, and a small line editor in the
// terminal's raw mode. The terminal is always restored when the reader goes.
#include "vexadrome/interface/line_reader.h"

#include <poll.h>
#include <termios.h>
#include <unistd.h>

#include <cerrno>

#include "nycore/system/console.h"
#include "nycore/system/memory.h"
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

void LineReader::redraw()
{
    NyCore::String* text = fromUtf16(line);
    int length = 0;
    char* utf8 = string_to_utf8(text, &length);
    std::string frame = "\r" + prompt + std::string(utf8, static_cast<std::size_t>(length)) + "\x1b[K";
    memory_free(utf8);
    string_free(text);
    if (cursor < line.size())
        frame += "\x1b[" + std::to_string(line.size() - cursor) + "D";
    screen->flush();
    console_write_bytes(1, frame.data(), static_cast<long>(frame.size()));
}

void LineReader::replaceLine(NyCore::String const* text)
{
    if (!text)
        return;
    line.assign(text->units(), static_cast<std::size_t>(text->count));
    cursor = line.size();
    redraw();
}

NyCore::String* LineReader::readEditedLine()
{
    line.clear();
    cursor = 0;
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
            console_write_bytes(1, "\r\n", 2);
            NyCore::String* result = fromUtf16(line);
            line.clear();
            return result;
        }
        if (c == Delete || c == CtrlH) {
            if (cursor > 0)
                line.erase(--cursor, 1);
        } else if (c == CtrlA) {
            cursor = 0;
        } else if (c == CtrlE) {
            cursor = line.size();
        } else if (c == CtrlC) {
            line.clear();
            cursor = 0;
        } else if (c == Escape) {
            if (!byteFollowsSoon()) {
                line.clear();  // a lone Escape clears the line
                cursor = 0;
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
                }
            }
        } else if (c >= 0x20) {
            pendingUtf8 += static_cast<char>(c);
            NyCore::String* decoded = string_from_utf8(pendingUtf8.data(), static_cast<int>(pendingUtf8.size()));
            bool complete = decoded->count > 0 && decoded->units()[decoded->count - 1] != 0xFFFD;
            std::size_t expected = (c & 0xE0) == 0xC0 ? 2 : (c & 0xF0) == 0xE0 ? 3 : (c & 0xF8) == 0xF0 ? 4 : 1;
            if ((pendingUtf8.size() == 1 && expected == 1) || complete || pendingUtf8.size() >= 4) {
                line.insert(cursor, decoded->units(), static_cast<std::size_t>(decoded->count));
                cursor += static_cast<std::size_t>(decoded->count);
                pendingUtf8.clear();
            }
            string_free(decoded);
            if (!pendingUtf8.empty())
                continue;
        }
        redraw();
    }
}

}
