// The console's output stream: chunked transcript storage, line scanning and
// line colours. Drawing is left to the console, which flush() asks.
#include "nyuser/input/console_stream.h"

#include <algorithm>
#include <cstring>

#include "nyuser/input/command_console.h"

namespace NyUser::Input {

ConsoleStream::ConsoleStream(CommandConsole* console) : console(console)
{
    reset(true);
}

void ConsoleStream::close() {}

void ConsoleStream::chmode(int) {}

void ConsoleStream::setEOF() {}

bool ConsoleStream::getblock()
{
    return false;
}

std::int64_t ConsoleStream::seek(std::int64_t, int)
{
    return 0;
}

int ConsoleStream::get$written() const
{
    return static_cast<int>((count + (position - blockStart)) / 2);
}

char16_t ConsoleStream::unitAt(int offset) const
{
    return chunks[static_cast<std::size_t>(offset / ChunkUnits)][offset % ChunkUnits];
}

std::u16string ConsoleStream::textOf(int start, int end) const
{
    std::u16string text;
    text.reserve(static_cast<std::size_t>(std::max(0, end - start)));
    for (int i = start; i < end; ++i)
        text.push_back(unitAt(i));
    return text;
}

void ConsoleStream::pointAtChunk(int index)
{
    while (static_cast<int>(chunks.size()) <= index)
        chunks.push_back(std::make_unique<char16_t[]>(ChunkUnits));
    setBuffer(chunks[static_cast<std::size_t>(index)].get(), 0, ChunkUnits * 2);
}

void ConsoleStream::putblock()
{
    updateLines();
    pointAtChunk(get$written() / ChunkUnits);
}

void ConsoleStream::updateLines()
{
    int total = get$written();
    for (int i = scannedCount; i < total; ++i) {
        if (unitAt(i) != u'\n')
            continue;
        // The new line goes in front of the closing record.
        lines.insert(lines.end() - 1, LineRecord{i + 1, currentColor});
        currentLine = static_cast<int>(lines.size()) - 2;
    }
    scannedCount = total;
    if (total > highest) {
        highest = total;
        lines.back().start = total;
    }
}

void ConsoleStream::flush()
{
    updateLines();
    int first = firstUndrawn;
    // The current line may still grow, so it is shown again next time.
    firstUndrawn = currentLine;
    if (console)
        console->updateLines(first);
}

void ConsoleStream::setTextColor(std::uint32_t rgb, int flags)
{
    updateLines();
    std::uint32_t style = (flags & 2) ? Bold : (flags & 1) ? Italic : Plain;
    currentColor = (style << 24) | (rgb & 0xFFFFFF);
    lines[static_cast<std::size_t>(currentLine)].color = currentColor;
}

void ConsoleStream::clear()
{
    reset(false);
}

void ConsoleStream::reset(bool allocate)
{
    scannedCount = 0;
    currentLine = 0;
    highest = 0;
    firstUndrawn = 0;
    currentColor = 0;
    if (allocate || chunks.empty()) {
        chunks.clear();
        chunks.push_back(std::make_unique<char16_t[]>(ChunkUnits));
    } else {
        chunks.resize(1);
        std::memset(chunks[0].get(), 0, ChunkUnits * sizeof(char16_t));
    }
    lines.assign({LineRecord{0, 0}, LineRecord{0, 0}});
    count = 0;
    setBuffer(chunks[0].get(), 0, ChunkUnits * 2);
}

}
