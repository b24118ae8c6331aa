// The command console in a window with real keys and the mouse: coloured and
// wrapped lines by pixel, the command line after the prompt, the editing keys
// and word moves at the ends of the line, the four events, a console too
// small for one character, scrolling that follows the output, and copying a
// selection made with the mouse.
#include <gtest/gtest.h>

#include <X11/extensions/XTest.h>
#include <X11/keysym.h>

#include <algorithm>
#include <functional>
#include <string>
#include <vector>

#include "nyuser/input/command_console.h"
#include "tests/support/clipboard_peer.h"
#include "tests/support/event_log.h"
#include "tests/support/forms.h"
#include "tests/support/screenshots.h"
#include "tests/support/strings.h"

using NyUser::Input::CommandConsole;
using TestSupport::runUntil;
namespace KeyModifiers = NyCore::System::KeyModifiers;

namespace {

void settle()
{
    runUntil([] { return true; });
}

KeySym symOf(char c)
{
    switch (c) {
    case ' ': return XK_space;
    case '-': return XK_minus;
    case '.': return XK_period;
    default: return static_cast<KeySym>(c);
    }
}

void type(std::string const& text)
{
    for (char c : text)
        TestSupport::tap(symOf(c));
    settle();
}

void chord(std::initializer_list<KeySym> held, KeySym sym)
{
    for (KeySym h : held)
        TestSupport::key(h, true);
    TestSupport::tap(sym);
    for (KeySym h : held)
        TestSupport::key(h, false);
    settle();
}

void button(bool down)
{
    XTestFakeButtonEvent(TestSupport::display(), 1, down, CurrentTime);
    XFlush(TestSupport::display());
}

std::string commandOf(CommandConsole* console)
{
    NyCore::String const* line = console->get$commandLine();
    return line ? TestSupport::toUtf8(line) : "";
}

using Ink = std::function<bool(std::uint32_t)>;

// Ink of a colour: its strong channels above `high`, the others below `low` (text edges are blended).
Ink inkOf(std::uint32_t rgb, std::uint32_t high = 0xC0, std::uint32_t low = 0x60)
{
    return [=](std::uint32_t c) {
        for (int shift = 0; shift < 24; shift += 8) {
            std::uint32_t want = rgb >> shift & 0xFF, got = c >> shift & 0xFF;
            if (want ? got < std::min(want, high) : got >= low)
                return false;
        }
        return true;
    };
}

Ink const Red = inkOf(0xFF0000), Green = inkOf(0x008000, 0x60, 0x50), Blue = inkOf(0x0000FF), Black = inkOf(0, 0, 0x50);

class ConsoleTest : public TestSupport::WindowTest {
protected:
    void TearDown() override
    {
        button(false);
        if (font)
            font->release();
        if (form)
            form->close();
        settle();
    }

    // A focused console of w x h in a form, in the calculator's font.
    CommandConsole* open(int w, int h, bool calculatorFont = true)
    {
        auto size = [](int width, int height) {
            std::string text = "w=\"" + std::to_string(width) + "\" h=\"" + std::to_string(height) + "\"";
            return std::u16string(text.begin(), text.end());
        };
        form = TestSupport::formFromText(u"<NyToolkit.Form " + size(w + 20, h + 20) +
                                         u"><NyUser.Input.CommandConsole id=\"c\" x=\"10\" y=\"10\" " + size(w, h) +
                                         u"/></NyToolkit.Form>");
        console = TestSupport::child<CommandConsole>(form, u"c");
        if (console && calculatorFont) {
            font = NyCore::Graphics::Font::create(u"courier new"_str, 14, 0);
            console->set$font(font);
        }
        if (console) {
            console->focus();
            runUntil([&] { return NyCore::System::Widget::get$focused() == console; });
        }
        settle();
        return console;
    }

    void write(std::u16string const& text)
    {
        TestSupport::OwnedString s(text);
        console->get$stream()->append(s.get());
    }

    // The geometry of the layout rules, from the plain font's height.
    int fontHeight() const { return console->get$style()->get$font()->get$height(); }
    int lineHeight() const { return fontHeight() * 4 / 3; }
    int margin() const { return fontHeight() / 3; }
    int charWidth() const { return console->get$style()->get$font()->measureUnits(u"W", 1); }
    int textLeft() const { return console->get$client().x + margin(); }
    // The top of the text of a row counted from the top of the view.
    int rowTop(int viewRow) const { return console->get$client().y + margin() + viewRow * lineHeight(); }

    // Pixels of the ink in a view row between x0 and x1.
    int inkIn(int viewRow, int x0, int x1, Ink const& ink) const
    {
        int n = 0;
        if (x1 <= x0)
            return 0;
        for (std::uint32_t c : TestSupport::readPixels(console->get$nativeWindow(), x0, rowTop(viewRow), x1 - x0,
                                                       fontHeight()))
            n += ink(c) ? 1 : 0;
        return n;
    }
    int rowRight() const { return console->get$client().x + console->get$client().width; }

    NyToolkit::Form* form = nullptr;
    CommandConsole* console = nullptr;
    NyCore::Graphics::Font* font = nullptr;
};

TEST_F(ConsoleTest, ColouredLinesWrapAndTheCommandFollowsThePrompt)
{
    ASSERT_TRUE(open(320, 220));
    int const columns = (console->get$client().width - 2 * margin()) / charWidth();
    ASSERT_EQ(console->get$columns(), columns);
    ASSERT_EQ(console->get$visibleRows(), (console->get$client().height - 2 * margin()) / lineHeight());
    ASSERT_GE(console->get$visibleRows(), 8);
    // Bold and italic lines are "courier new" as fontconfig finds it.
    TestSupport::OwnedString bold(console->getFont(1)->getFamilyName()), italic(console->getFont(2)->getFamilyName());
    EXPECT_EQ(bold.utf8() + ", " + italic.utf8(), "Liberation Mono, Liberation Mono");
    EXPECT_EQ(console->getFont(1)->get$style() + console->getFont(2)->get$style(), 3) << "one bold, one italic";

    NyUser::Input::ConsoleStream* out = console->get$stream();
    out->setTextColor(0xFF0000, 2);
    write(u"Bold red line\n");
    out->setTextColor(0x008000, 1);
    write(u"italic green line\n");
    out->setTextColor(0, 0);
    write(u"Sample\n");
    out->setTextColor(0, 2);
    write(u"Sample\n");
    // A blue line five characters longer than a row.
    out->setTextColor(0x0000FF, 0);
    std::u16string longLine;
    for (int i = 0; i < columns + 5; ++i)
        longLine.push_back(static_cast<char16_t>(u'0' + i % 10));
    write(longLine + u"\n");
    out->setTextColor(0x0000FF, 2);
    write(u"math> ");
    out->flush();
    settle();
    type("x-2");
    EXPECT_EQ(commandOf(console), "x-2");

    int const right = rowRight();
    int const promptEnd = textLeft() + console->getFont(1)->measureUnits(u"math> ", 6);
    struct Row {
        char const* what;
        int viewRow;
        int x0, x1;
        Ink const& ink;
        bool present;
    } const rows[] = {
        {"red line is red", 0, textLeft(), right, Red, true},
        {"red line has no green", 0, textLeft(), right, Green, false},
        {"green line is green", 1, textLeft(), right, Green, true},
        {"green line has no red", 1, textLeft(), right, Red, false},
        {"long line fills its first row", 4, textLeft() + (columns - 2) * charWidth(), right, Blue, true},
        {"long line continues on the next row", 5, textLeft(), textLeft() + 5 * charWidth(), Blue, true},
        {"and stops after five characters", 5, textLeft() + 5 * charWidth() + 2, right, Blue, false},
        {"prompt in blue", 6, textLeft(), promptEnd, Blue, true},
        {"command after the prompt in the text colour", 6, promptEnd, promptEnd + 3 * charWidth(), Black, true},
        {"no blue after the prompt", 6, promptEnd, right, Blue, false},
        {"nothing below the command line", 7, console->get$client().x, right, Black, false},
    };
    for (Row const& r : rows) {
        int ink = inkIn(r.viewRow, r.x0, r.x1, r.ink);
        EXPECT_EQ(ink > 0, r.present) << r.what << " (" << ink << " pixels)";
    }
    EXPECT_GT(inkIn(3, textLeft(), right, Black), inkIn(2, textLeft(), right, Black)) << "bold is heavier than plain";

    // Typing past the end of the row wraps the command line onto the next row.
    int const rowsBefore = console->get$rowCount();
    int room = columns - 6 - 3;
    type(std::string(static_cast<std::size_t>(room), 'w'));
    EXPECT_EQ(console->get$rowCount(), rowsBefore + 1) << "the cursor after a full row takes the next one";
    type("zz");
    EXPECT_GT(inkIn(7, textLeft(), textLeft() + 2 * charWidth(), Black), 0) << "the command continues on row 7";
    EXPECT_EQ(inkIn(7, textLeft() + 3 * charWidth() + 1, right, Black), 0) << "and nothing after the cursor";

    // A selection across the first two lines is drawn highlighted, for the documentation picture too.
    TestSupport::pointerTo(console, textLeft() + console->getFont(1)->measureUnits(u"Bold ", 5), rowTop(0) + 4);
    button(true);
    TestSupport::pointerTo(console, textLeft() + console->getFont(2)->measureUnits(u"italic", 6), rowTop(1) + 4);
    button(false);
    settle();
    TestSupport::OwnedString selected(console->selectedText());
    EXPECT_EQ(selected.utf8(), "red line\nitalic");
    EXPECT_GT(inkIn(0, promptEnd, right, [](std::uint32_t c) { return c == 0x0000FF; }), 100)
        << "the highlight is in the style's highlight colour";
    EXPECT_TRUE(TestSupport::saveScreenshot(form, "console"));
}

TEST_F(ConsoleTest, EventsCarryTheirArguments)
{
    ASSERT_TRUE(open(300, 120));
    TestSupport::EventLog log[4];
    char16_t const* const names[] = {u"enterPressed", u"escapePressed", u"dnArrowKeyPressed", u"upArrowKeyPressed"};
    for (int i = 0; i < 4; ++i)
        ASSERT_TRUE(log[i].listen(console, names[i])) << TestSupport::toUtf8(names[i]);
    type("ab");
    int const pressed = KeyModifiers::Down | KeyModifiers::FirstPress;
    struct Case {
        std::initializer_list<KeySym> held;
        KeySym sym;
        int event;
        std::intptr_t argument;
    } const cases[] = {
        {{}, XK_Return, 0, 0},
        {{}, XK_Escape, 1, 0},
        {{}, XK_Down, 2, pressed},
        {{}, XK_Up, 3, pressed},
        {{XK_Shift_L}, XK_Up, 3, pressed | KeyModifiers::Shift},
        {{XK_Control_L}, XK_Down, 2, pressed | KeyModifiers::Ctrl},
    };
    for (Case const& c : cases) {
        int before[4];
        for (int i = 0; i < 4; ++i)
            before[i] = log[i].count();
        chord(c.held, c.sym);
        for (int i = 0; i < 4; ++i)
            EXPECT_EQ(log[i].count() - before[i], i == c.event ? 1 : 0) << "key " << c.sym << ", event " << i;
        if (c.event >= 2) {
            EXPECT_EQ(log[c.event].last()[0], c.argument) << "key " << c.sym;
        }
    }
    EXPECT_EQ(commandOf(console), "ab") << "the events leave the command line to the owner";
}

TEST_F(ConsoleTest, EditingKeysStayWithinTheLine)
{
    ASSERT_TRUE(open(300, 120));
    write(u"math> ");
    console->get$stream()->flush();
    type("ab  cd");
    struct Step {
        std::initializer_list<KeySym> held;
        KeySym sym;
        char const* command;
        int cursor;
    } const steps[] = {
        {{XK_Control_L}, XK_Left, "ab  cd", 4},
        {{XK_Control_L}, XK_Left, "ab  cd", 0},
        {{XK_Control_L}, XK_Left, "ab  cd", 0},
        {{}, XK_Left, "ab  cd", 0},
        {{}, XK_BackSpace, "ab  cd", 0},
        {{}, XK_Right, "ab  cd", 1},
        {{XK_Control_L}, XK_Right, "ab  cd", 4},
        {{XK_Control_L}, XK_Right, "ab  cd", 6},
        {{XK_Control_L}, XK_Right, "ab  cd", 6},
        {{}, XK_Right, "ab  cd", 6},
        {{}, XK_Delete, "ab  cd", 6},
        {{}, XK_BackSpace, "ab  c", 5},
        {{}, XK_Home, "ab  c", 0},
        {{}, XK_Delete, "b  c", 0},
        {{}, XK_x, "xb  c", 1},
        {{XK_Control_L}, XK_q, "xb  c", 1},
        {{}, XK_End, "xb  c", 5},
        {{XK_Control_L}, XK_Left, "xb  c", 4},
        {{}, XK_y, "xb  yc", 5},
    };
    for (Step const& s : steps) {
        chord(s.held, s.sym);
        EXPECT_EQ(commandOf(console), s.command) << "key " << s.sym << " to " << s.cursor;
        EXPECT_EQ(console->get$cursor(), s.cursor) << "key " << s.sym << " to " << s.cursor;
    }

    // The cursor is an inverted bar under the place it stands on, here after the text.
    chord({}, XK_End);
    NyCore::Graphics::Font* plain = console->get$style()->get$font();
    int const x = textLeft() + plain->measureUnits(u"math> xb  yc", 12);
    int const y = rowTop(0) + fontHeight() * 4 / 5;
    EXPECT_TRUE(runUntil([&] { return TestSupport::pixelAt(console->get$nativeWindow(), x + 1, y) == 0x000000; }))
        << "the cursor blinks on";
    EXPECT_TRUE(runUntil([&] { return TestSupport::pixelAt(console->get$nativeWindow(), x + 1, y) == 0xFFFFFF; }))
        << "and off";

    TestSupport::OwnedString replaced(u"hello");
    console->set$commandLine(replaced);
    EXPECT_EQ(commandOf(console), "hello");
    EXPECT_EQ(console->get$cursor(), 5);
    console->set$commandLine(nullptr);
    EXPECT_EQ(commandOf(console), "");
    chord({}, XK_Left);
    chord({XK_Control_L}, XK_Right);
    EXPECT_EQ(console->get$cursor(), 0) << "an empty line keeps the cursor at 0";
}

TEST_F(ConsoleTest, TooSmallForOneCharacterStillWorks)
{
    struct Case {
        char const* what;
        int w, h;
        bool oneColumn, oneRow;
    } const cases[] = {{"narrow", 12, 120, true, false}, {"low", 300, 14, false, true}, {"both", 4, 4, true, true}};
    for (Case const& c : cases) {
        ASSERT_TRUE(open(c.w, c.h)) << c.what;
        NyCore::System::WidgetRect const& client = console->get$client();
        int const columns = std::max(1, (client.width - 2 * margin()) / charWidth());
        int const rows = std::max(1, (client.height - 2 * margin()) / lineHeight());
        EXPECT_EQ(columns == 1, c.oneColumn) << c.what;
        EXPECT_EQ(rows == 1, c.oneRow) << c.what;
        EXPECT_EQ(console->get$columns(), columns) << c.what;
        EXPECT_EQ(console->get$visibleRows(), rows) << c.what;
        write(u"math> ");
        console->get$stream()->flush();
        type("ab c");
        chord({XK_Control_L}, XK_Left);
        chord({}, XK_BackSpace);
        chord({}, XK_End);
        chord({XK_Control_L}, XK_Right);
        EXPECT_EQ(commandOf(console), "abc") << c.what;
        EXPECT_EQ(console->get$rowCount(), 9 / columns + 1) << c.what << ": the prompt and the command wrap";
        console->setRect(10, 10, 300, 120);
        settle();
        EXPECT_EQ(console->get$columns(), (client.width - 2 * margin()) / charWidth()) << c.what;
        EXPECT_EQ(console->get$rowCount(), 1) << c.what;
        form->close();
        form = nullptr;
        settle();
    }
}

TEST_F(ConsoleTest, ScrollingFollowsTheOutput)
{
    ASSERT_TRUE(open(300, 140));
    for (int i = 0; i < 30; ++i) {
        std::string line = "line " + std::to_string(i) + "\n";
        write(std::u16string(line.begin(), line.end()));
    }
    write(u"math> ");
    console->get$stream()->flush();
    settle();
    int const bottom = console->get$rowCount() - console->get$visibleRows();
    EXPECT_EQ(console->get$rowCount(), 31);
    EXPECT_EQ(console->get$vscroll(), bottom) << "the last line is in view";

    // The wheel scrolls back; the rows moved by a block copy look as a full repaint draws them.
    TestSupport::pointerTo(console, 40, 40);
    TestSupport::click(4);
    TestSupport::click(4);
    ASSERT_TRUE(runUntil([&] { return console->get$vscroll() < bottom; }));
    settle();
    // So does the scroll bar's up arrow, one row a click.
    int const wheeled = console->get$vscroll();
    NyCore::System::WidgetRect bar = console->get$vbar().getRect();
    TestSupport::pointerTo(console, bar.x + bar.width / 2, bar.y + bar.width / 2);
    TestSupport::click();
    ASSERT_TRUE(runUntil([&] { return console->get$vscroll() == wheeled - 1; })) << console->get$vscroll();
    int const w = console->get$client().width;
    int const h = console->get$client().height;
    std::vector<std::uint32_t> scrolled =
        TestSupport::readPixels(console->get$nativeWindow(), console->get$client().x, console->get$client().y, w, h);
    console->redraw();
    settle();
    EXPECT_EQ(TestSupport::readPixels(console->get$nativeWindow(), console->get$client().x, console->get$client().y, w,
                                      h),
              scrolled);

    // Output brings the last line back into view while flag 4 is set; typing brings the command line.
    write(u"more\n");
    console->get$stream()->flush();
    EXPECT_EQ(console->get$vscroll(), bottom + 1);
    console->set$displayFlags(console->get$displayFlags() & ~CommandConsole::FollowOutput);
    console->set$vscroll(0);
    write(u"quiet\n");
    console->get$stream()->flush();
    EXPECT_EQ(console->get$vscroll(), 0) << "without flag 4 the view stays";
    type("q");
    EXPECT_EQ(console->get$vscroll(), console->get$rowCount() - console->get$visibleRows())
        << "typing brings the command line into view";

    // Clearing empties the transcript and keeps the command line.
    console->clear();
    EXPECT_EQ(console->get$rowCount(), 1);
    EXPECT_EQ(commandOf(console), "q");
    EXPECT_EQ(console->get$stream()->get$written(), 0);

    // Hiding the border (as the calculator does) gives the rows its width: sized to gain a column and a row by it.
    int const frame = 2 * console->get$style()->get$gap();
    console->setRect(10, 10, frame + console->get$style()->get$size() + 2 * margin() + 21 * charWidth() - 1,
                     frame + 2 * margin() + 6 * lineHeight() - 1);
    settle();
    EXPECT_EQ(console->get$columns() * 100 + console->get$visibleRows(), 2005);
    console->set$borderVisible(false);
    settle();
    EXPECT_EQ(console->get$columns() * 100 + console->get$visibleRows(), 2106);
}

TEST_F(ConsoleTest, CopiesTheSelectionMadeWithTheMouse)
{
    ASSERT_TRUE(open(300, 140));
    write(u"first line\nsecond line\nmath> ");
    console->get$stream()->flush();
    settle();
    NyCore::Graphics::Font* plain = console->get$style()->get$font();
    auto xAfter = [&](char16_t const* text) {
        return textLeft() + plain->measureUnits(text, static_cast<int>(std::u16string(text).size()));
    };
    TestSupport::ClipboardReader reader;
    Atom target = None;

    struct Case {
        char const* what;
        int x0, row0, x1, row1;
        KeySym copyKey;
        std::initializer_list<KeySym> held;
        char const* copied;
    } const cases[] = {
        {"within a line", xAfter(u"first "), 0, xAfter(u"first line"), 0, XK_c, {XK_Control_L}, "line"},
        {"across lines, backwards", xAfter(u"second"), 1, xAfter(u"fir"), 0, XK_c, {XK_Control_L, XK_Shift_L},
         "st line\nsecond"},
        {"into the prompt", xAfter(u"second "), 1, xAfter(u"math"), 2, XK_Insert, {XK_Control_L}, "line\nmath"},
    };
    for (Case const& c : cases) {
        TestSupport::pointerTo(console, c.x0, rowTop(c.row0) + 3);
        button(true);
        TestSupport::pointerTo(console, (c.x0 + c.x1) / 2, rowTop(c.row1) + 3);
        TestSupport::pointerTo(console, c.x1, rowTop(c.row1) + 3);
        button(false);
        settle();
        chord(c.held, c.copyKey);
        EXPECT_EQ(reader.read("UTF8_STRING", &target), c.copied) << c.what;
    }

    // Typing still goes to the command line, and the transcript's selection stays.
    type("ab");
    EXPECT_EQ(commandOf(console), "ab");
    TestSupport::OwnedString kept(console->selectedText());
    EXPECT_EQ(kept.utf8(), "line\nmath");
    // A plain click drops the selection; Ctrl+C then leaves the clipboard as it was.
    TestSupport::pointerTo(console, xAfter(u"fi"), rowTop(0) + 3);
    TestSupport::click();
    settle();
    EXPECT_EQ(console->selectedText(), nullptr);
    chord({XK_Control_L}, XK_c);
    EXPECT_EQ(reader.read("UTF8_STRING", &target), "line\nmath");
    EXPECT_EQ(commandOf(console), "ab") << "Ctrl+C types nothing";

    // Ctrl+V pastes another program's text at the cursor, its line break as a blank.
    TestSupport::ClipboardOwner owner("1 +\n2", TestSupport::Offer::Utf8);
    ASSERT_TRUE(owner.owning);
    chord({}, XK_Left);
    chord({XK_Control_L}, XK_v);
    EXPECT_EQ(commandOf(console), "a1 + 2b");
}

}
