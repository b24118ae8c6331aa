// Text boxes and text areas in a form, driven with real keys and the mouse:
// the editing flags, Ctrl chords, the clipboard between two boxes, mouse
// selection, lines, undo and redo, and what the widgets look like.
#include <gtest/gtest.h>

#include <X11/extensions/XTest.h>
#include <X11/keysym.h>

#include <string>

#include "nytoolkit/text/text_area.h"
#include "nytoolkit/text/text_box.h"
#include "tests/support/event_log.h"
#include "tests/support/forms.h"
#include "tests/support/strings.h"

using NyToolkit::TextArea;
using NyToolkit::TextBox;
using TestSupport::runUntil;

namespace {

class TextWindowTest : public TestSupport::WindowTest {
protected:
    void TearDown() override
    {
        if (form)
            form->close();
        runUntil([] { return true; });
    }

    NyToolkit::Form* open(std::u16string const& body, int w = 320, int h = 220)
    {
        form = TestSupport::formFromText(u"<NyToolkit.Form w=\"" + number(w) + u"\" h=\"" + number(h) + u"\">" + body +
                                         u"</NyToolkit.Form>");
        return form;
    }

    static std::u16string number(int n)
    {
        std::string s = std::to_string(n);
        return std::u16string(s.begin(), s.end());
    }

    NyToolkit::Form* form = nullptr;
};

// Lets every waiting input event reach the widgets.
void settle()
{
    runUntil([] { return true; });
}

KeySym symOf(char c)
{
    switch (c) {
    case ' ': return XK_space;
    case ';': return XK_semicolon;
    case '.': return XK_period;
    case '-': return XK_minus;
    default: return static_cast<KeySym>(c >= 'A' && c <= 'Z' ? c - 'A' + 'a' : c);
    }
}

// Types ASCII text on the keyboard (capitals with Shift).
void type(std::string const& text)
{
    for (char c : text) {
        bool shifted = c >= 'A' && c <= 'Z';
        if (shifted)
            TestSupport::key(XK_Shift_L, true);
        TestSupport::tap(symOf(c));
        if (shifted)
            TestSupport::key(XK_Shift_L, false);
    }
    settle();
}

// A key with modifier keys held (XK_Shift_L, XK_Control_L).
void chord(std::initializer_list<KeySym> held, KeySym sym)
{
    for (KeySym h : held)
        TestSupport::key(h, true);
    TestSupport::tap(sym);
    for (KeySym h : held)
        TestSupport::key(h, false);
    settle();
}

std::string textOf(NyCore::String const* s)
{
    return TestSupport::toUtf8(std::u16string(s->units(), static_cast<std::size_t>(s->count)));
}

// A key (with modifiers held) and the text, caret and anchor it leaves.
struct KeyStep {
    std::initializer_list<KeySym> held;
    KeySym sym;
    char const* text;
    int cursor;
    int anchor;
};

// Plays the steps on a text box or text area that has the focus.
template <std::size_t N, typename Box>
void playKeys(Box* box, KeyStep const (&steps)[N])
{
    for (KeyStep const& s : steps) {
        chord(s.held, s.sym);
        EXPECT_EQ(textOf(box->get$text()), s.text) << "key " << s.sym;
        EXPECT_EQ(box->get$kernel().caret(), s.cursor) << "key " << s.sym;
        EXPECT_EQ(box->get$kernel().anchorAt(), s.anchor) << "key " << s.sym;
    }
}

std::string selectionOf(NyToolkit::TextKernel& kernel)
{
    TestSupport::OwnedString selected(kernel.selectedText());
    return selected.utf8();
}

void focusOn(NyCore::System::Widget* widget)
{
    widget->focus();
    ASSERT_TRUE(runUntil([&] { return NyCore::System::Widget::get$focused() == widget; }));
    settle();
}

TEST_F(TextWindowTest, TextBoxKeysFollowTheFlags)
{
    open(u"<NyToolkit.TextBox id=\"plain\" x=\"10\" y=\"10\" w=\"200\" h=\"24\"/>"
         u"<NyToolkit.TextBox id=\"number\" x=\"10\" y=\"40\" w=\"200\" h=\"24\" flags=\"Numeric\"/>"
         u"<NyToolkit.TextBox id=\"fixed\" x=\"10\" y=\"70\" w=\"200\" h=\"24\" value=\"fixed\" flags=\"ReadOnly\"/>"
         u"<NyToolkit.TextBox id=\"secret\" x=\"10\" y=\"100\" w=\"200\" h=\"24\" flags=\"Password\"/>");
    auto* plain = TestSupport::child<TextBox>(form, u"plain");
    auto* number = TestSupport::child<TextBox>(form, u"number");
    auto* fixed = TestSupport::child<TextBox>(form, u"fixed");
    auto* secret = TestSupport::child<TextBox>(form, u"secret");
    ASSERT_TRUE(plain && number && fixed && secret);
    EXPECT_EQ(plain->get$kernel().get$cursor(), -1) << "no text set yet";
    EXPECT_EQ(fixed->get$textFlags(), NyToolkit::TextKernel::ReadOnly);

    TestSupport::EventLog typed;
    TestSupport::EventLog entered;
    ASSERT_TRUE(typed.listen(plain, u"characterEntered"));
    ASSERT_TRUE(entered.listen(plain, u"enterPressed"));

    // Typing before any text was set starts at the beginning. The focused
    // box has a ring in the highlight colour; a read-only one is grey.
    focusOn(plain);
    TestSupport::expectPixels(plain->get$nativeWindow(), {{"focus ring", 0, 12, 0x0000FF}, {"field", 3, 3, 0xFFFFFF}});
    TestSupport::expectPixels(fixed->get$nativeWindow(), {{"frame", 0, 12, 0x808080}, {"read-only field", 3, 3, 0xF0F0F0}});
    type("ab cd");
    EXPECT_EQ(textOf(plain->get$text()), "ab cd");
    EXPECT_EQ(typed.firstArguments(), "97 98 32 99 100");
    TestSupport::tap(XK_Return);
    settle();
    EXPECT_EQ(entered.count(), 1);
    EXPECT_EQ(textOf(plain->get$text()), "ab cd") << "Enter does not edit a box";

    KeyStep const steps[] = {
        {{XK_Control_L}, XK_Left, "ab cd", 3, 3},
        {{XK_Control_L, XK_Shift_L}, XK_Right, "ab cd", 5, 3},
        {{}, XK_BackSpace, "ab ", 3, 3},
        {{XK_Control_L}, XK_Left, "ab ", 0, 0},
        {{}, XK_Delete, "b ", 0, 0},
        {{XK_Shift_L}, XK_End, "b ", 2, 0},
        {{XK_Control_L}, XK_q, "b ", 2, 0},
        {{}, XK_x, "x", 1, 1},
        {{}, XK_Home, "x", 0, 0},
        {{XK_Control_L}, XK_a, "x", 1, 0},
    };
    playKeys(plain, steps);

    // A numeric box takes digits, '.' and '-', and neither letters nor Ctrl chords.
    focusOn(number);
    type("1a-2.5");
    chord({XK_Control_L}, XK_b);
    chord({XK_Control_L}, XK_1);
    EXPECT_EQ(textOf(number->get$text()), "1-2.5");

    // A read-only box never changes: not by typing, Backspace, Delete, Enter or the clipboard chords.
    focusOn(fixed);
    type("zz");
    chord({}, XK_BackSpace);
    chord({XK_Control_L}, XK_Home);
    chord({}, XK_Delete);
    chord({XK_Shift_L}, XK_End);
    chord({XK_Control_L}, XK_c);
    chord({XK_Control_L}, XK_x);
    chord({XK_Control_L}, XK_v);
    chord({XK_Control_L}, XK_z);
    EXPECT_EQ(textOf(fixed->get$text()), "fixed");
    EXPECT_EQ(selectionOf(fixed->get$kernel()), "fixed");

    // A password shows stars (its picture is that of a box holding "***") and
    // is never copied: the clipboard keeps what the read-only box copied.
    focusOn(secret);
    type("abc");
    EXPECT_EQ(textOf(secret->get$text()), "abc");
    chord({XK_Control_L}, XK_a);
    chord({XK_Control_L}, XK_c);
    focusOn(plain);
    chord({XK_Control_L}, XK_a);
    chord({XK_Control_L}, XK_v);
    ASSERT_TRUE(runUntil([&] { return textOf(plain->get$text()) == "fixed"; })) << textOf(plain->get$text());
    focusOn(number);
    TestSupport::OwnedString stars(u"***");
    fixed->setText(stars);
    fixed->set$textFlags(0);
    fixed->get$kernel().setSelection(3, 3);
    secret->get$kernel().setSelection(3, 3);
    fixed->redraw();
    secret->redraw();
    settle();
    EXPECT_EQ(TestSupport::readPixels(secret->get$nativeWindow(), 2, 2, 196, 20),
              TestSupport::readPixels(fixed->get$nativeWindow(), 2, 2, 196, 20));
}

TEST_F(TextWindowTest, ClipboardAndMouseBetweenTwoBoxes)
{
    open(u"<NyToolkit.TextBox id=\"from\" x=\"10\" y=\"10\" w=\"240\" h=\"24\" value=\"hello big world\"/>"
         u"<NyToolkit.TextBox id=\"to\" x=\"10\" y=\"50\" w=\"240\" h=\"24\"/>");
    auto* from = TestSupport::child<TextBox>(form, u"from");
    auto* to = TestSupport::child<TextBox>(form, u"to");
    ASSERT_TRUE(from && to);
    NyToolkit::TextKernel& kernel = from->get$kernel();
    auto xAt = [&](int offset) {
        kernel.setSelection(offset, offset);
        return from->caretX();
    };
    int const start = xAt(0), end = xAt(5), big = xAt(6) + 3, last = xAt(15);

    // A double click selects the word under the pointer, and takes the focus.
    TestSupport::pointerTo(from, big, 12);
    TestSupport::click();
    TestSupport::click();
    ASSERT_TRUE(runUntil([&] { return selectionOf(kernel) == "big"; })) << selectionOf(kernel);
    EXPECT_EQ(NyCore::System::Widget::get$focused(), from);
    chord({XK_Control_L}, XK_c);

    // Ctrl+V over a selection puts the clipboard's text in its place, not a "v".
    focusOn(to);
    type("xyz");
    chord({XK_Shift_L}, XK_Left);
    chord({XK_Control_L}, XK_v);
    ASSERT_TRUE(runUntil([&] { return textOf(to->get$text()) == "xybig"; })) << textOf(to->get$text());
    EXPECT_EQ(to->get$kernel().caret(), 5);

    // A click places the caret; dragging with the button held selects up to the pointer.
    TestSupport::pointerTo(from, start, 12);
    XTestFakeButtonEvent(TestSupport::display(), 1, True, CurrentTime);
    TestSupport::pointerTo(from, (start + end) / 2, 12);
    TestSupport::pointerTo(from, end, 14);
    XTestFakeButtonEvent(TestSupport::display(), 1, False, CurrentTime);
    ASSERT_TRUE(runUntil([&] { return selectionOf(kernel) == "hello"; })) << selectionOf(kernel);
    EXPECT_EQ(kernel.caret(), 5);
    EXPECT_EQ(NyCore::System::Widget::get$focused(), from);

    // Shift+click extends the selection from its anchor; cut takes it to the clipboard.
    TestSupport::key(XK_Shift_L, true);
    TestSupport::pointerTo(from, last, 12);
    TestSupport::click();
    TestSupport::key(XK_Shift_L, false);
    ASSERT_TRUE(runUntil([&] { return selectionOf(kernel) == "hello big world"; })) << selectionOf(kernel);
    chord({XK_Control_L}, XK_x);
    EXPECT_EQ(textOf(from->get$text()), "");
    focusOn(to);
    chord({XK_Control_L}, XK_a);
    chord({XK_Control_L}, XK_v);
    ASSERT_TRUE(runUntil([&] { return textOf(to->get$text()) == "hello big world"; })) << textOf(to->get$text());
    chord({XK_Control_L}, XK_z);
    EXPECT_EQ(textOf(to->get$text()), "xybig") << "the text box undoes too";
}

// The area's pixels with the caret's column blanked (it may blink between two reads).
std::vector<std::uint32_t> areaPixels(TextArea* area)
{
    auto pixels = TestSupport::readPixels(area->get$nativeWindow(), 0, 0, area->get$width(), area->get$height());
    int caretX = area->caretPoint().x;
    for (int y = 0; y < area->get$height(); ++y)
        pixels[static_cast<std::size_t>(y * area->get$width() + caretX)] = 0;
    return pixels;
}

TEST_F(TextWindowTest, TextAreaLinesUndoAndFlags)
{
    open(u"<NyToolkit.TextArea id=\"script\" x=\"10\" y=\"10\" w=\"200\" h=\"90\" flags=\"WantNewLine\">"
         u"abcdef\nxy\nabcdef</NyToolkit.TextArea>"
         u"<NyToolkit.TextArea id=\"view\" x=\"10\" y=\"110\" w=\"140\" h=\"50\" flags=\"ReadOnly WantNewLine\">"
         u"fixed\ntext</NyToolkit.TextArea>"
         u"<NyToolkit.TextArea id=\"shift\" x=\"160\" y=\"110\" w=\"140\" h=\"50\" flags=\"ShiftEnter\"/>");
    auto* script = TestSupport::child<TextArea>(form, u"script");
    auto* view = TestSupport::child<TextArea>(form, u"view");
    auto* shift = TestSupport::child<TextArea>(form, u"shift");
    ASSERT_TRUE(script && view && shift);
    EXPECT_EQ(script->get$lineCount(), 3);
    EXPECT_EQ(script->get$padding(), script->get$style()->get$font()->get$height() / 4);
    EXPECT_EQ(script->get$client().width, 200 - 16 - 2 - 2 * script->get$padding()) << "no horizontal bar";
    NyToolkit::TextKernel& kernel = script->get$kernel();
    TestSupport::EventLog typed;
    ASSERT_TRUE(typed.listen(script, u"characterEntered"));

    // Up and Down keep the horizontal place through a shorter line.
    focusOn(script);
    kernel.setSelection(4, 4);
    KeyStep const steps[] = {
        {{}, XK_Down, "abcdef\nxy\nabcdef", 9, 9},
        {{}, XK_Down, "abcdef\nxy\nabcdef", 14, 14},
        {{}, XK_Down, "abcdef\nxy\nabcdef", 16, 16},
        {{}, XK_Up, "abcdef\nxy\nabcdef", 9, 9},
        {{XK_Shift_L}, XK_Up, "abcdef\nxy\nabcdef", 4, 9},
        {{}, XK_BackSpace, "abcd\nabcdef", 4, 4},
        {{}, XK_Return, "abcd\n\nabcdef", 5, 5},
        {{}, XK_Up, "abcd\n\nabcdef", 0, 0},
        {{XK_Shift_L}, XK_Down, "abcd\n\nabcdef", 5, 0},
        {{}, XK_Delete, "\nabcdef", 0, 0},
        {{XK_Control_L}, XK_z, "abcd\n\nabcdef", 5, 0},
        {{XK_Control_L}, XK_z, "abcd\nabcdef", 4, 4},
        {{XK_Control_L}, XK_z, "abcdef\nxy\nabcdef", 4, 9},
        {{XK_Control_L}, XK_y, "abcd\nabcdef", 4, 4},
        {{XK_Control_L, XK_Shift_L}, XK_z, "abcd\n\nabcdef", 5, 5},
        {{XK_Control_L}, XK_End, "abcd\n\nabcdef", 12, 12},
    };
    playKeys(script, steps);
    EXPECT_EQ(typed.firstArguments(), "8 10 -11") << "chords and moves send nothing";

    // Typing repaints only the lines it changed; they must look as after a full repaint.
    type("xy");
    chord({XK_Control_L}, XK_Home);
    TestSupport::tap(XK_Return);
    type("a");
    auto partial = areaPixels(script);
    script->redraw();
    settle();
    EXPECT_EQ(partial, areaPixels(script));

    // The view follows the caret down and back up.
    for (int i = 0; i < 8; ++i)
        TestSupport::tap(XK_Return);
    settle();
    int page = script->get$client().height / script->get$lineHeight();
    int caretLine = script->lineOf(kernel.caret());
    EXPECT_GT(script->get$vscroll(), 0);
    EXPECT_LT(caretLine - script->get$vscroll(), page);
    EXPECT_GE(caretLine, script->get$vscroll());
    chord({XK_Control_L}, XK_Home);
    EXPECT_EQ(script->get$vscroll(), 0);

    // A read-only area that wants new lines still ignores Enter, but copies.
    focusOn(view);
    chord({XK_Control_L}, XK_a);
    chord({}, XK_Return);
    chord({}, XK_BackSpace);
    chord({XK_Control_L}, XK_v);
    EXPECT_EQ(textOf(view->get$text()), "fixed\ntext");
    chord({XK_Control_L}, XK_c);
    focusOn(script);
    chord({XK_Control_L}, XK_a);
    chord({XK_Control_L}, XK_v);
    ASSERT_TRUE(runUntil([&] { return textOf(script->get$text()) == "fixed\ntext"; })) << textOf(script->get$text());

    // ShiftEnter: Enter alone reports, Shift+Enter breaks the line.
    TestSupport::EventLog entered;
    ASSERT_TRUE(entered.listen(shift, u"enterPressed"));
    focusOn(shift);
    type("ab");
    chord({}, XK_Return);
    EXPECT_EQ(entered.count(), 1);
    chord({XK_Shift_L}, XK_Return);
    EXPECT_EQ(textOf(shift->get$text()), "ab\n");
    EXPECT_EQ(entered.count(), 1);

    // The mouse: a click on the second line, a double click on a word, a drag across lines.
    TestSupport::OwnedString lines(u"one two\nthree four");
    script->setText(lines);
    NyCore::System::WidgetRect client = script->get$client();
    int lh = script->get$lineHeight();
    TestSupport::pointerTo(script, client.x + 1, client.y + lh + lh / 2);
    TestSupport::click();
    ASSERT_TRUE(runUntil([&] { return kernel.caret() == 8; })) << kernel.caret();
    kernel.setSelection(12, 12);
    int eX = script->caretPoint().x + 1;
    TestSupport::pointerTo(script, eX, client.y + lh + lh / 2);
    TestSupport::click();
    TestSupport::click();
    ASSERT_TRUE(runUntil([&] { return selectionOf(kernel) == "three"; })) << selectionOf(kernel);
    XTestFakeButtonEvent(TestSupport::display(), 1, True, CurrentTime);
    TestSupport::pointerTo(script, client.x + 1, client.y + lh / 2);
    XTestFakeButtonEvent(TestSupport::display(), 1, False, CurrentTime);
    ASSERT_TRUE(runUntil([&] { return kernel.caret() == 0; })) << kernel.caret();
    EXPECT_EQ(kernel.anchorAt(), 12);
}

}
