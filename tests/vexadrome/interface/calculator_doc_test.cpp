// The calculator in a window, typed into with real keys: the transcript by
// the console's text and by pixel (blue answers, red errors), the history
// keys, the "history" and "clear" words and menu methods, and two
// calculators on one definition store.
#include <gtest/gtest.h>

#include <X11/keysym.h>

#include <algorithm>
#include <cstdlib>
#include <string>
#include <vector>

#include "nycore/graphics/font.h"
#include "nyuser/input/command_console.h"
#include "tests/support/screenshots.h"
#include "tests/vexadrome/interface/view_test_host.h"
#include "vexadrome/interface/calculator_doc.h"

using NyUser::Input::CommandConsole;
using TestSupport::OwnedString;
using Vexadrome::Interface::CalculatorDoc;
using ViewTests::type;

namespace {

// The line that marks the offending token at `column` of the typed line, under the six-character prompt.
std::string marker(int column)
{
    return std::string(6 + static_cast<std::size_t>(column), ' ') + "*\n";
}

class CalculatorDocTest : public TestSupport::WindowTest {
protected:
    void TearDown() override
    {
        host.closeAll();
        for (CalculatorDoc* doc : docs)
            delete doc;
    }

    // A new calculator shown in its own window, its console focused.
    CalculatorDoc* open(char16_t const* title)
    {
        auto* doc = new CalculatorDoc(&host);
        docs.push_back(doc);
        doc->set$title(OwnedString(title));
        NyCore::Object* view = doc->createDefaultView();
        EXPECT_EQ(view, doc->get$console());
        return doc;
    }

    static std::string textOf(CalculatorDoc* doc, int from, int to)
    {
        return TestSupport::toUtf8(doc->get$console()->get$stream()->textOf(from, to));
    }
    static std::string transcriptOf(CalculatorDoc* doc)
    {
        return textOf(doc, 0, doc->get$console()->get$stream()->get$written());
    }
    static std::string commandOf(CalculatorDoc* doc) { return TestSupport::toUtf8(doc->get$console()->get$commandLine()); }

    // Pixels of a transcript line, as the console lays it out, near a colour in
    // every channel; within `width` pixels from the left when it is given.
    static int inkOfLine(CommandConsole* console, int line, std::uint32_t rgb, int width = 0)
    {
        int const fontHeight = console->get$style()->get$font()->get$height();
        int const row = line - console->get$vscroll();
        if (row < 0 || row >= console->get$visibleRows())
            return -1;
        NyCore::System::WidgetRect const& client = console->get$client();
        int const top = client.y + fontHeight / 3 + row * console->get$lineHeight();
        std::vector<std::uint32_t> pixels = TestSupport::readPixels(console->get$nativeWindow(), client.x, top,
                                                                    width > 0 ? width : client.width, fontHeight);
        return static_cast<int>(std::count_if(pixels.begin(), pixels.end(), [rgb](std::uint32_t c) {
            for (int shift = 0; shift < 24; shift += 8) {
                if (std::abs(static_cast<int>(c >> shift & 0xFF) - static_cast<int>(rgb >> shift & 0xFF)) >= 0x50)
                    return false;
            }
            return true;
        }));
    }

    ViewTests::WindowHost host;
    std::vector<CalculatorDoc*> docs;
};

TEST_F(CalculatorDocTest, TypedLinesGoToTheTranscriptInColour)
{
    CalculatorDoc* doc = open(u"Calculator1");
    CommandConsole* console = doc->get$console();
    ASSERT_TRUE(console);

    // The fixed-width face of the calculator, the border hidden, the first prompt.
    NyCore::Graphics::Font* font = console->get$style()->get$font();
    NyCore::Graphics::Font* expected = NyCore::Graphics::Font::create(CalculatorDoc::FontFace, 14, 0);
    EXPECT_EQ(TestSupport::toUtf8(OwnedString(font->getFamilyName())),
              TestSupport::toUtf8(OwnedString(expected->getFamilyName())));
    EXPECT_EQ(font->get$size(), 14);
    expected->release();
    EXPECT_EQ(console->get$client().x, console->get$padding()) << "no border";
    EXPECT_EQ(transcriptOf(doc), "math> ");
    ViewTests::settle();
    int const promptWidth = font->get$height() / 3 + font->measure(OwnedString(u"math>"));
    EXPECT_GT(inkOfLine(console, 0, 0, promptWidth), 0) << "the first prompt is on screen";
    EXPECT_FALSE(doc->get$isModified());

    struct Line {
        std::string typed;
        std::string shown;  // what the line adds to the transcript, after its prompt
    } const lines[] = {
        {"", ""},  // Enter on an empty line does nothing at all
        {"a = 2", "a = 2\nmath> "},
        {"a * 3", "a * 3\nansw> 6\nmath> "},
        {"vector(1, a, 3)", "vector(1, a, 3)\nansw> (1, 2, 3)\nmath> "},
        {"matrix((1,2),(3,a))", "matrix((1,2),(3,a))\nansw> [[1, 2]\n       [3, 2]]\nmath> "},
        {"f(x, x) = 1", "f(x, x) = 1\n" + marker(5) + "errr> duplicate parameter name\nmath> "},
        {"1 + b", "1 + b\n" + marker(4) + "errr> unknown variable or function\nmath> "},
    };
    std::string transcript = "math> ";
    for (Line const& line : lines) {
        type(line.typed + "\n");
        transcript += line.shown;
        EXPECT_EQ(transcriptOf(doc), transcript) << line.typed;
        EXPECT_EQ(commandOf(doc), "") << line.typed;
    }

    // Each line in its colour, answers and errors in bold; by pixel too.
    CommandConsole::ConsoleStream* stream = console->get$stream();
    int answers = 0, errors = 0;
    for (int line = 0; line + 1 < stream->get$lineCount(); ++line) {
        std::string const text = textOf(doc, stream->getLine(line).start, stream->getLine(line + 1).start);
        bool const answer = text.starts_with("answ> ") || text.starts_with("       [");
        bool const error = text.starts_with("errr> ") || (text.starts_with("      ") && text.ends_with("*\n"));
        std::uint32_t const color = answer ? 0x0000FF : error ? 0xFF0000 : 0;
        std::uint32_t const word = color ? (CommandConsole::ConsoleStream::Bold << 24 | color) : 0;
        EXPECT_EQ(stream->getLine(line).color, word) << text;
        int const ink = inkOfLine(console, line, color);
        if (ink < 0 || text.empty() || text == "math> ")
            continue;
        EXPECT_GT(ink, 0) << text;
        for (std::uint32_t other : {0x0000FFu, 0xFF0000u}) {
            if (other != color) {
                EXPECT_EQ(inkOfLine(console, line, other), 0) << text;
            }
        }
        answers += answer;
        errors += error;
    }
    EXPECT_EQ(answers, 4) << "every answer row was on screen";
    EXPECT_EQ(errors, 4) << "every error row was on screen";
    EXPECT_TRUE(TestSupport::saveScreenshot(host.windows.back(), "calculator_view"));
}

TEST_F(CalculatorDocTest, HistoryKeysWordsAndMenuMethods)
{
    CalculatorDoc* doc = open(u"Calculator1");
    ASSERT_TRUE(doc->get$console());
    type("1+1\n2+2\n");
    // The arrows walk the history and stop at both ends; Escape empties the line.
    struct Step {
        KeySym key;
        std::string command;
    } const steps[] = {{XK_Up, "2+2"}, {XK_Up, "1+1"}, {XK_Up, "1+1"}, {XK_Down, "2+2"},
                       {XK_Down, "2+2"}, {XK_Escape, ""}, {XK_Down, ""}};
    for (Step const& step : steps) {
        TestSupport::tap(step.key);
        ViewTests::settle();
        EXPECT_EQ(commandOf(doc), step.command) << XKeysymToString(step.key);
    }

    std::string const before = transcriptOf(doc);
    std::string const listing = "\n0 1+1\n1 2+2\nmath> ";
    type("HiStOrY\n");
    EXPECT_EQ(transcriptOf(doc), before + listing) << "the word itself is neither shown nor kept";
    EXPECT_EQ(doc->get$session()->get$history()->get$count(), 2);

    type("CLEAR\n");
    EXPECT_EQ(transcriptOf(doc), "math> ");
    EXPECT_EQ(commandOf(doc), "");
    EXPECT_EQ(inkOfLine(doc->get$console(), 1, 0), 0) << "the screen was cleared";

    // The menu commands reach the document by name.
    doc->invokeMethod(OwnedString(u"onViewHistory"), nullptr);
    EXPECT_EQ(transcriptOf(doc), "math> " + listing);
    doc->invokeMethod(OwnedString(u"onClearScreen"), nullptr);
    EXPECT_EQ(transcriptOf(doc), "math> ");
}

TEST_F(CalculatorDocTest, TwoCalculatorsShareOneStore)
{
    CalculatorDoc* first = open(u"Calculator1");
    CalculatorDoc* second = open(u"Calculator2");
    ASSERT_TRUE(first->get$console() && second->get$console());

    ViewTests::WindowHost::focus(first->get$console());
    type("k = 7\n");
    ViewTests::WindowHost::focus(second->get$console());
    type("k * 2\n");
    EXPECT_EQ(transcriptOf(first), "math> k = 7\nmath> ");
    EXPECT_EQ(transcriptOf(second), "math> k * 2\nansw> 14\nmath> ");
    EXPECT_EQ(second->get$session()->get$history()->get$count(), 1) << "each calculator has its own history";

    // Neither is ever modified, and neither writes anything.
    EXPECT_FALSE(first->get$isModified() || second->get$isModified());
    first->writeTo(nullptr);
}

}
