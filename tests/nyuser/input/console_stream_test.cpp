// The console's output stream on its own (no console behind it): the line
// table and colour words after writes, colour changes and clearing, and the
// transcript read back across chunk boundaries.
#include <gtest/gtest.h>

#include <cstdio>
#include <string>
#include <vector>

#include "nyuser/input/console_stream.h"
#include "tests/support/strings.h"

using NyUser::Input::ConsoleStream;

namespace {

// The line table as "start/colour" words, then "|" and the closing record's start.
std::string table(ConsoleStream const& stream)
{
    std::string text;
    for (int i = 0; i + 1 < stream.get$lineCount(); ++i) {
        char word[32];
        std::snprintf(word, sizeof word, "%d/%X ", stream.getLine(i).start, stream.getLine(i).color);
        text += word;
    }
    return text + "|" + std::to_string(stream.get$scanned());
}

TEST(ConsoleStream, WritesColoursAndClearingGiveTheLineTable)
{
    // Text to write; with none, a colour to set, or with flags -1 a clear.
    struct Step {
        std::u16string text;
        std::uint32_t rgb = 0;
        int flags = 0;
    };
    Step const clear{u"", 0, -1};
    std::u16string const overChunk(ConsoleStream::ChunkUnits + 44, u'x');
    struct Case {
        char const* name;
        std::vector<Step> steps;
        char const* table;
        int currentLine;
    } const cases[] = {
        {"fresh stream", {}, "0/0 |0", 0},
        {"bold red colours the current line and later ones, a last line feed starts an empty one",
         {{u"", 0xFF0000, 2}, {u"red\nstill\n"}}, "0/1FF0000 4/1FF0000 10/1FF0000 |10", 2},
        {"a colour set mid-line takes the whole line", {{u"a\nb"}, {u"", 0x00FF00, 1}, {u"c"}}, "0/0 2/200FF00 |4", 1},
        {"bold wins over italic", {{u"", 0x123456, 3}, {u"x"}}, "0/1123456 |1", 0},
        {"only the colour bits of rgb count", {{u"", 0x7F0000FF, 0}, {u"x"}}, "0/FF |1", 0},
        {"back to plain black", {{u"", 0xFF0000, 2}, {u"e\n"}, {u"", 0, 0}, {u"f\n"}}, "0/1FF0000 2/0 4/0 |4", 2},
        {"text runs on over a chunk", {{overChunk + u"\nxy"}, {u"z\n"}}, "0/0 301/0 305/0 |305", 2},
        {"clearing starts afresh in black", {{u"", 0xFF, 0}, {overChunk + u"\n"}, clear, {u"new\n"}}, "0/0 4/0 |4", 1},
    };
    for (Case const& c : cases) {
        ConsoleStream stream(nullptr);
        std::u16string written;
        for (Step const& s : c.steps) {
            if (s.flags < 0)
                stream.clear();
            else if (s.text.empty())
                stream.setTextColor(s.rgb, s.flags);
            else
                stream.append(TestSupport::OwnedString(s.text).get());
            written = s.flags < 0 ? u"" : written + s.text;
        }
        stream.flush();
        EXPECT_EQ(table(stream), c.table) << c.name;
        EXPECT_EQ(stream.get$currentLine(), c.currentLine) << c.name;
        EXPECT_EQ(stream.textOf(0, stream.get$written()), written) << c.name << ": the transcript reads back";
    }
}

}
