// The command console in a window with real keys and the mouse: coloured, wrapped
// lines by pixel, copying a mouse selection, the editing keys at the ends of the
// line at any size down to nothing, the four events, and scrolling with the output.
#include <gtest/gtest.h>

#include <X11/extensions/XTest.h>
#include <X11/keysym.h>

#include <algorithm>
#include <cstdlib>
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

void chord(std::initializer_list<KeySym> held, KeySym sym)
{
    for (KeySym h : held)
        TestSupport::key(h, true);
    TestSupport::tap(sym);
    for (KeySym h : held)
        TestSupport::key(h, false);
    settle();
}

// The keysyms of printable ASCII characters are their own codes.
void type(std::string const& text)
{
    for (char c : text)
        TestSupport::tap(static_cast<KeySym>(c));
    settle();
}

class ConsoleTest : public TestSupport::WindowTest {
protected:
    void TearDown() override
    {
        if (form)
            form->close();
        settle();
    }

    // A focused console with room for eight rows in a form, in the calculator's font.
    CommandConsole* open()
    {
        form = TestSupport::formFromText(u"<NyToolkit.Form w=\"340\" h=\"240\"><NyUser.Input.CommandConsole id=\"c\" "
                                         u"x=\"10\" y=\"10\" w=\"320\" h=\"220\"/></NyToolkit.Form>");
        console = TestSupport::child<CommandConsole>(form, u"c");
        if (!console)
            return nullptr;
        // The style keeps its own reference to the font.
        NyCore::Graphics::Font* font = NyCore::Graphics::Font::create(u"courier new"_str, 14, 0);
        console->set$font(font);
        font->release();
        console->focus();
        runUntil([&] { return NyCore::System::Widget::get$focused() == console; });
        settle();
        return console;
    }

    std::string command() const { return TestSupport::toUtf8(console->get$commandLine()); }
    // Writes to the transcript and shows it.
    void write(std::u16string const& text)
    {
        console->get$stream()->append(TestSupport::OwnedString(text).get());
        console->get$stream()->flush();
    }

    // The geometry of the layout rules, from the plain font's height.
    int fontHeight() const { return console->get$style()->get$font()->get$height(); }
    int lineHeight() const { return fontHeight() * 4 / 3; }
    int margin() const { return fontHeight() / 3; }
    int charWidth() const { return widthOf(u"W"); }
    int textLeft() const { return console->get$client().x + margin(); }
    // The top of the text of a row counted from the top of the view.
    int rowTop(int viewRow) const { return console->get$client().y + margin() + viewRow * lineHeight(); }
    // The width of text in the font of a line style (0 plain, 1 bold, 2 italic).
    int widthOf(std::u16string const& text, int lineStyle = 0) const
    {
        return console->getFont(lineStyle)->measureUnits(text.data(), static_cast<int>(text.size()));
    }

    // Pixels in a view row between x0 and x1 near a colour in every channel (text edges are blended).
    int inkIn(int viewRow, int x0, int x1, std::uint32_t rgb) const
    {
        std::vector<std::uint32_t> pixels =
            TestSupport::readPixels(console->get$nativeWindow(), x0, rowTop(viewRow), x1 - x0, fontHeight());
        return static_cast<int>(std::count_if(pixels.begin(), pixels.end(), [rgb](std::uint32_t c) {
            for (int shift = 0; shift < 24; shift += 8) {
                if (std::abs(static_cast<int>(c >> shift & 0xFF) - static_cast<int>(rgb >> shift & 0xFF)) >= 0x50)
                    return false;
            }
            return true;
        }));
    }

    NyToolkit::Form* form = nullptr;
    CommandConsole* console = nullptr;
};

TEST_F(ConsoleTest, ColouredLinesWrapAndTheirTextIsCopied)
{
    ASSERT_TRUE(open());
    int const columns = console->get$columns();
    ASSERT_GE(console->get$visibleRows(), 8);
    EXPECT_EQ(console->getFont(1)->get$style(), NyCore::Graphics::Font::Bold);
    EXPECT_EQ(console->getFont(2)->get$style(), NyCore::Graphics::Font::Italic);

    // Among the lines a blue one five characters longer than a row, then a bold blue prompt.
    std::u16string longLine;
    for (int i = 0; i < columns + 5; ++i)
        longLine.push_back(static_cast<char16_t>(u'0' + i % 10));
    struct Output {
        std::uint32_t rgb;
        int flags;
        std::u16string text;
    } const output[] = {{0xFF0000, 2, u"Bold red line\n"}, {0x008000, 1, u"italic green line\n"}, {0, 0, u"Sample\n"},
                        {0, 2, u"Sample\n"}, {0x0000FF, 0, longLine + u"\n"}, {0x0000FF, 2, u"math> "}};
    for (Output const& o : output) {
        console->get$stream()->setTextColor(o.rgb, o.flags);
        write(o.text);
    }
    // The command fills the prompt's row exactly: the cursor takes the next row, where the command goes on.
    int const rowsBefore = console->get$rowCount();
    type("x-2" + std::string(static_cast<std::size_t>(columns - 6 - 3), 'w'));
    EXPECT_EQ(console->get$rowCount(), rowsBefore + 1);
    type("zz");

    int const right = console->get$client().x + console->get$client().width;
    int const promptEnd = textLeft() + widthOf(u"math> ", 1);
    struct Row {
        char const* what;
        int viewRow, x0, x1;
        std::uint32_t ink;
        bool present;
    } const rows[] = {
        {"red line", 0, textLeft(), right, 0xFF0000, true},
        {"green line", 1, textLeft(), right, 0x008000, true},
        {"blue line fills its first row", 4, textLeft() + (columns - 2) * charWidth(), right, 0x0000FF, true},
        {"and continues on the next row", 5, textLeft(), textLeft() + 5 * charWidth(), 0x0000FF, true},
        {"for five characters", 5, textLeft() + 5 * charWidth() + 2, right, 0x0000FF, false},
        {"prompt in blue", 6, textLeft(), promptEnd, 0x0000FF, true},
        {"command after the prompt in the text colour", 6, promptEnd, promptEnd + 3 * charWidth(), 0, true},
        {"and goes on on the next row", 7, textLeft(), textLeft() + 2 * charWidth(), 0, true},
        {"up to the cursor", 7, textLeft() + 3 * charWidth() + 1, right, 0, false},
    };
    for (Row const& r : rows) {
        int ink = inkIn(r.viewRow, r.x0, r.x1, r.ink);
        EXPECT_EQ(ink > 0, r.present) << r.what << " (" << ink << " pixels)";
    }
    EXPECT_GT(inkIn(3, textLeft(), right, 0), inkIn(2, textLeft(), right, 0)) << "bold is heavier than plain";

    // Text dragged over in any of the fonts is copied by Ctrl+C, Ctrl+Shift+C or Ctrl+Insert.
    auto xAfter = [&](char16_t const* text, int lineStyle) { return textLeft() + widthOf(text, lineStyle); };
    TestSupport::ClipboardReader reader;
    Atom target = None;
    struct Case {
        char const* what;
        int x0, row0, x1, row1;
        std::initializer_list<KeySym> held;
        KeySym copyKey;
        std::string copied;
    } const cases[] = {
        {"within a line", xAfter(u"Sa", 0), 2, xAfter(u"Sample", 0), 2, {XK_Control_L}, XK_c, "mple"},
        {"into the prompt", textLeft() + 3 * charWidth(), 5, xAfter(u"math", 1), 6, {XK_Control_L}, XK_Insert,
         TestSupport::toUtf8(longLine.substr(static_cast<std::size_t>(columns) + 3)) + "\nmath"},
        {"across lines, backwards", xAfter(u"italic", 2), 1, xAfter(u"Bold ", 1), 0, {XK_Control_L, XK_Shift_L}, XK_c,
         "red line\nitalic"},
    };
    for (Case const& c : cases) {
        TestSupport::pointerTo(console, c.x0, rowTop(c.row0) + 3);
        XTestFakeButtonEvent(TestSupport::display(), 1, True, CurrentTime);
        TestSupport::pointerTo(console, c.x1, rowTop(c.row1) + 3);
        XTestFakeButtonEvent(TestSupport::display(), 1, False, CurrentTime);
        chord(c.held, c.copyKey);
        EXPECT_EQ(reader.read("UTF8_STRING", &target), c.copied) << c.what;
    }
    EXPECT_GT(inkIn(0, promptEnd, right, console->getColor(NyToolkit::Style::HighlightBackground)), 100)
        << "the selection is drawn highlighted, for the documentation picture too";
    EXPECT_TRUE(TestSupport::saveScreenshot(form, "console"));

    // Typing leaves the selection; a plain click drops it, and Ctrl+C then leaves the clipboard as it was.
    type("q");
    TestSupport::OwnedString kept(console->selectedText());
    EXPECT_EQ(kept.utf8(), "red line\nitalic");
    TestSupport::pointerTo(console, xAfter(u"Bo", 1), rowTop(0) + 3);
    TestSupport::click();
    settle();
    EXPECT_EQ(console->selectedText(), nullptr);
    chord({XK_Control_L}, XK_c);
    EXPECT_EQ(reader.read("UTF8_STRING", &target), "red line\nitalic");

    // Ctrl+V pastes another program's text at the cursor, its line break as a blank; no copy key typed anything.
    TestSupport::ClipboardOwner owner("1 +\n2", TestSupport::Offer::Utf8);
    ASSERT_TRUE(owner.owning);
    chord({}, XK_Left);
    chord({XK_Control_L}, XK_v);
    EXPECT_EQ(command(), "x-2" + std::string(static_cast<std::size_t>(columns - 9), 'w') + "zz1 + 2q");
}

TEST_F(ConsoleTest, EditingKeysStayWithinTheLineAtAnySizeAndTheOthersSendEvents)
{
    ASSERT_TRUE(open());
    TestSupport::EventLog log[4];
    char16_t const* const names[] = {u"enterPressed", u"escapePressed", u"dnArrowKeyPressed", u"upArrowKeyPressed"};
    for (int i = 0; i < 4; ++i)
        ASSERT_TRUE(log[i].listen(console, names[i])) << TestSupport::toUtf8(names[i]);
    int const pressed = KeyModifiers::Down | KeyModifiers::FirstPress;
    // A key, the command line and the cursor after it, and the event it sends (-1 none) with its argument.
    struct Step {
        std::initializer_list<KeySym> held;
        KeySym sym;
        char const* command;
        int cursor, event;
        std::intptr_t argument;
    } const steps[] = {
        {{XK_Control_L}, XK_Left, "ab  cd", 4, -1, 0},
        {{XK_Control_L}, XK_Left, "ab  cd", 0, -1, 0},
        {{XK_Control_L}, XK_Left, "ab  cd", 0, -1, 0},
        {{}, XK_Left, "ab  cd", 0, -1, 0},
        {{}, XK_BackSpace, "ab  cd", 0, -1, 0},
        {{}, XK_Right, "ab  cd", 1, -1, 0},
        {{XK_Control_L}, XK_Right, "ab  cd", 4, -1, 0},
        {{XK_Control_L}, XK_Right, "ab  cd", 6, -1, 0},
        {{XK_Control_L}, XK_Right, "ab  cd", 6, -1, 0},
        {{}, XK_Right, "ab  cd", 6, -1, 0},
        {{}, XK_Delete, "ab  cd", 6, -1, 0},
        {{}, XK_BackSpace, "ab  c", 5, -1, 0},
        {{}, XK_Home, "ab  c", 0, -1, 0},
        {{}, XK_Delete, "b  c", 0, -1, 0},
        {{}, XK_x, "xb  c", 1, -1, 0},
        {{XK_Control_L}, XK_q, "xb  c", 1, -1, 0},
        {{}, XK_End, "xb  c", 5, -1, 0},
        {{}, XK_Return, "xb  c", 5, 0, 0},
        {{}, XK_Escape, "xb  c", 5, 1, 0},
        {{XK_Shift_L}, XK_Up, "xb  c", 5, 3, pressed | KeyModifiers::Shift},
        {{XK_Control_L}, XK_Down, "xb  c", 5, 2, pressed | KeyModifiers::Ctrl},
    };
    // Consoles with room for half a character, or none, still have a column and a row.
    NyCore::System::WidgetRect const& client = console->get$client();
    int const frame = 2 * console->get$style()->get$gap();
    int const narrow = frame + console->get$style()->get$size() + 2 * margin() + charWidth() / 2;
    int const low = frame + 2 * margin() + lineHeight() / 2;
    struct Size {
        char const* what;
        int w, h;
    } const sizes[] = {{"narrow", narrow, 120}, {"low", 300, low}, {"narrow and low", narrow, low},
                       {"smaller than its frame", 4, 4}, {"normal", 300, 120}};
    int sent[4] = {0, 0, 0, 0};
    for (Size const& z : sizes) {
        console->setRect(10, 10, z.w, z.h);
        settle();
        int const columns = console->get$columns(), rows = console->get$visibleRows();
        EXPECT_EQ(columns, std::max(1, (client.width - 2 * margin()) / charWidth())) << z.what;
        EXPECT_EQ(rows, std::max(1, (client.height - 2 * margin()) / lineHeight())) << z.what;
        console->clear();
        console->set$commandLine(nullptr);
        write(u"math> ");
        type("ab  cd");
        for (Step const& s : steps) {
            SCOPED_TRACE(testing::Message() << z.what << ": key " << s.sym << " to " << s.cursor);
            chord(s.held, s.sym);
            EXPECT_EQ(command(), s.command);
            EXPECT_EQ(console->get$cursor(), s.cursor);
            if (s.event >= 0)
                ++sent[s.event];
            for (int i = 0; i < 4; ++i)
                EXPECT_EQ(log[i].count(), sent[i]) << "event " << i;
            if (s.event >= 2) {
                EXPECT_EQ(log[s.event].last()[0], s.argument);
            }
        }
        EXPECT_EQ(console->get$rowCount(), 11 / columns + 1) << z.what << ": the prompt and the command wrap";
    }

    // The cursor is an inverted bar under the place it stands on, here after the text, and it blinks.
    int const x = textLeft() + widthOf(u"math> xb  c") + 1, y = rowTop(0) + fontHeight() * 4 / 5;
    for (std::uint32_t rgb : {0x000000u, 0xFFFFFFu})
        EXPECT_TRUE(runUntil([&] { return TestSupport::pixelAt(console->get$nativeWindow(), x, y) == rgb; })) << rgb;

    // A new command line puts the cursor at its end; on an empty one the moves keep it at 0.
    TestSupport::OwnedString replaced(u"hello");
    console->set$commandLine(replaced);
    EXPECT_EQ(console->get$cursor(), 5);
    console->set$commandLine(nullptr);
    chord({}, XK_Left);
    chord({XK_Control_L}, XK_Right);
    EXPECT_EQ(command() + std::to_string(console->get$cursor()), "0");
}

TEST_F(ConsoleTest, ScrollingFollowsTheOutput)
{
    ASSERT_TRUE(open());
    std::string lines;
    for (int i = 0; i < 30; ++i)
        lines += "line " + std::to_string(i) + "\n";
    write(std::u16string(lines.begin(), lines.end()) + u"math> ");
    settle();
    int const bottom = console->get$rowCount() - console->get$visibleRows();

    // The wheel scrolls back a row; the rows moved by a block copy look as a full repaint draws them.
    TestSupport::pointerTo(console, 40, 40);
    TestSupport::click(4);
    ASSERT_TRUE(runUntil([&] { return console->get$vscroll() == bottom - 1; })) << console->get$vscroll();
    auto view = [&] {
        NyCore::System::WidgetRect const& c = console->get$client();
        return TestSupport::readPixels(console->get$nativeWindow(), c.x, c.y, c.width, c.height);
    };
    std::vector<std::uint32_t> const scrolled = view();
    console->redraw();
    settle();
    EXPECT_EQ(view(), scrolled);

    // Output brings the last line back into view while FollowOutput is set; typing brings the command line.
    write(u"more\n");
    EXPECT_EQ(console->get$vscroll(), bottom + 1);
    console->set$displayFlags(console->get$displayFlags() & ~CommandConsole::FollowOutput);
    console->set$vscroll(0);
    write(u"quiet\n");
    EXPECT_EQ(console->get$vscroll(), 0) << "without FollowOutput the view stays";
    type("q");
    EXPECT_EQ(console->get$vscroll(), console->get$rowCount() - console->get$visibleRows()) << "typing scrolls";

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

}
