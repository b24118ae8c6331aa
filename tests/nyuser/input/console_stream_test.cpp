// The console's output stream on its own (no console behind it): the line
// table and colour words after writes, colour changes and flushes, text that
// crosses chunk boundaries, and clearing.
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
    return text + "|" + std::to_string(stream.getLine(stream.get$lineCount() - 1).start);
}

void write(ConsoleStream& stream, std::u16string const& text)
{
    TestSupport::OwnedString s(text);
    stream.append(s.get());
}

// One step of a case: text to write, or a colour to set (text empty).
struct Step {
    std::u16string text;
    std::uint32_t rgb = 0;
    int flags = 0;
};

TEST(ConsoleStream, WritesAndColoursGiveTheLineTable)
{
    struct Case {
        char const* name;
        std::vector<Step> steps;
        char const* table;
        int currentLine;
    } const cases[] = {
        {"fresh stream", {}, "0/0 |0", 0},
        {"two lines", {{u"ab\ncd"}}, "0/0 3/0 |5", 1},
        {"line feed at the end starts an empty line", {{u"ab\n"}}, "0/0 3/0 |3", 1},
        {"bold red colours the current line and later ones",
         {{u"", 0xFF0000, 2}, {u"red\nstill\n"}},
         "0/1FF0000 4/1FF0000 10/1FF0000 |10",
         2},
        {"colour set mid-line applies to the whole line",
         {{u"a\nb"}, {u"", 0x00FF00, 1}, {u"c"}},
         "0/0 2/200FF00 |4",
         1},
        {"bold wins over italic", {{u"", 0x123456, 3}, {u"x"}}, "0/1123456 |1", 0},
        {"only the colour bits of rgb count", {{u"", 0x7F0000FF, 0}, {u"x"}}, "0/FF |1", 0},
        {"colour back to plain black", {{u"", 0xFF0000, 2}, {u"e\n"}, {u"", 0, 0}, {u"f\n"}}, "0/1FF0000 2/0 4/0 |4", 2},
    };
    for (Case const& c : cases) {
        ConsoleStream stream(nullptr);
        for (Step const& s : c.steps) {
            if (s.text.empty())
                stream.setTextColor(s.rgb, s.flags);
            else
                write(stream, s.text);
        }
        stream.flush();
        EXPECT_EQ(table(stream), c.table) << c.name;
        EXPECT_EQ(stream.get$currentLine(), c.currentLine) << c.name;
        EXPECT_EQ(stream.get$firstUndrawn(), c.currentLine) << c.name << ": the current line is shown again next time";
    }
}

TEST(ConsoleStream, TextCrossesChunksAndClears)
{
    ConsoleStream stream(nullptr);
    // 300 units run over the first 256-unit chunk; nothing is scanned until a flush or a full chunk.
    std::u16string longLine;
    for (int i = 0; i < 300; ++i)
        longLine.push_back(static_cast<char16_t>(u'a' + i % 26));
    write(stream, longLine);
    EXPECT_EQ(stream.get$written(), 300);
    EXPECT_EQ(stream.get$scanned(), ConsoleStream::ChunkUnits) << "the full chunk was scanned when it was handed on";
    write(stream, u"\nxy");
    TestSupport::OwnedString answer(u"answ> 3");
    stream.putline(answer.get());
    stream.flush();
    EXPECT_EQ(table(stream), "0/0 301/0 311/0 |311");
    EXPECT_EQ(stream.textOf(250, 262), longLine.substr(250, 12)) << "the text reads on across the chunk boundary";
    EXPECT_EQ(stream.textOf(300, 311), u"\nxyansw> 3\n");

    stream.clear();
    EXPECT_EQ(stream.get$written(), 0);
    EXPECT_EQ(table(stream), "0/0 |0");
    EXPECT_EQ(stream.unitAt(5), 0) << "the first chunk is zero-filled";
    stream.setTextColor(0x0000FF, 0);
    write(stream, u"new\n");
    stream.flush();
    EXPECT_EQ(table(stream), "0/FF 4/FF |4");
    EXPECT_EQ(stream.textOf(0, 4), u"new\n");
    EXPECT_FALSE(stream.getblock()) << "the transcript cannot be read through the stream";
}

}
