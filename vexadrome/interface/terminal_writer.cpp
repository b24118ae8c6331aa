// UTF-16 to UTF-8 on the way out, buffered until flush.
#include "vexadrome/interface/terminal_writer.h"

#include <unistd.h>

#include "nycore/system/console.h"

namespace Vexadrome::Interface {

namespace {

void appendUtf8(std::string& out, char32_t code)
{
    if (code < 0x80) {
        out += static_cast<char>(code);
    } else if (code < 0x800) {
        out += static_cast<char>(0xC0 | (code >> 6));
        out += static_cast<char>(0x80 | (code & 0x3F));
    } else if (code < 0x10000) {
        out += static_cast<char>(0xE0 | (code >> 12));
        out += static_cast<char>(0x80 | ((code >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (code & 0x3F));
    } else {
        out += static_cast<char>(0xF0 | (code >> 18));
        out += static_cast<char>(0x80 | ((code >> 12) & 0x3F));
        out += static_cast<char>(0x80 | ((code >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (code & 0x3F));
    }
}

}

std::string ansiColor(std::uint32_t color, int flags)
{
    if (color == 0 && flags == 0)
        return "\x1b[0m";
    int const red = (color >> 16 & 0xFF) >= 0x80 ? 1 : 0;
    int const green = (color >> 8 & 0xFF) >= 0x80 ? 2 : 0;
    int const blue = (color & 0xFF) >= 0x80 ? 4 : 0;
    std::string escape = "\x1b[";
    if (flags & Documents::TranscriptWriter::Bold)
        escape += "1;";
    escape += std::to_string(30 + (red | green | blue));
    return escape + "m";
}

TerminalWriter::TerminalWriter(int fd) : fd(fd), isTerminal(::isatty(fd) == 1) {}

TerminalWriter::~TerminalWriter()
{
    flush();
}

void TerminalWriter::append(char16_t unit)
{
    if (unit >= 0xD800 && unit < 0xDC00) {
        highSurrogate = unit;
        return;
    }
    if (unit >= 0xDC00 && unit < 0xE000 && highSurrogate) {
        appendUtf8(pending, 0x10000 + ((static_cast<char32_t>(highSurrogate) - 0xD800) << 10) + (unit - 0xDC00));
        highSurrogate = 0;
        return;
    }
    highSurrogate = 0;
    appendUtf8(pending, unit >= 0xD800 && unit < 0xE000 ? 0xFFFD : unit);
}

void TerminalWriter::append(NyCore::String const* text)
{
    if (!text)
        return;
    for (int i = 0; i < text->count; ++i)
        append(text->units()[i]);
}

void TerminalWriter::setTextColor(std::uint32_t color, int flags)
{
    if (isTerminal)
        pending += ansiColor(color, flags);
}

void TerminalWriter::clearScreen()
{
    // A transcript that is not on a terminal cannot be wiped; it starts a new line instead.
    pending += isTerminal ? "\x1b[H\x1b[2J" : "\n";
}

void TerminalWriter::flush()
{
    console_write_bytes(fd, pending.data(), static_cast<long>(pending.size()));
    pending.clear();
}

}
