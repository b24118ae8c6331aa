// Message and input windows on a real display, driven with real keys and
// clicks from inside their own loops: the layout from the font, each button
// set and its results by click, Tab and Enter, Escape and the close box, and
// the focus taken from the owner and handed back to it.
#include <gtest/gtest.h>

#include <X11/keysym.h>

#include <string>
#include <vector>

#include "nycore/graphics/font.h"
#include "nycore/system/event_loop.h"
#include "nytoolkit/buttons/text_button.h"
#include "nytoolkit/styles/style.h"
#include "nytoolkit/text/text_box.h"
#include "nyuser/commondialogs/input_window.h"
#include "nyuser/commondialogs/msg_window.h"
#include "tests/nyuser/commondialogs/dialog_driver.h"
#include "tests/support/child_process.h"
#include "tests/support/forms.h"
#include "tests/support/screenshots.h"
#include "tests/support/strings.h"

using namespace NyUser::CommonDialogs;
using namespace TestSupport;
using NyCore::System::Widget;
using NyToolkit::Buttons::TextButton;

namespace {

char16_t const* const OwnerForm =
    uR"(<NyToolkit.Form w="300" h="120" caption="Owner">
  <NyToolkit.TextBox id="first" x="10" y="10" w="200" h="22" flags="TabStop"/>
  <NyToolkit.TextBox id="second" x="10" y="50" w="200" h="22" flags="TabStop"/>
</NyToolkit.Form>)";

// The buttons of a dialog, left to right.
std::vector<TextButton*> buttonsOf(Widget* dialog)
{
    std::vector<TextButton*> buttons;
    Widget* first = dialog->get$firstChild();
    Widget* child = first;
    do {
        if (auto* button = dynamic_cast<TextButton*>(child))
            buttons.push_back(button);
        child = child->get$nextSibling();
    } while (child && child != first);
    return buttons;
}

std::vector<std::string> labelsOf(Widget* dialog)
{
    std::vector<std::string> labels;
    for (TextButton* button : buttonsOf(dialog))
        labels.push_back(toUtf8(button->get$label()));
    return labels;
}

Step clickButton(int index)
{
    return {dialogReady<>, [index] {
                TextButton* button = buttonsOf(CommonDialog::get$current())[static_cast<std::size_t>(index)];
                pointerTo(button, button->get$width() / 2, button->get$height() / 2);
                click();
            }};
}

class MsgWindowTest : public WindowTest {
protected:
    void SetUp() override
    {
        WindowTest::SetUp();
        owner = formFromText(OwnerForm);
        second = child<NyToolkit::TextBox>(owner, u"second");
        second->focus();
        ASSERT_TRUE(runUntil([&] { return Widget::get$focused() == second; }));
    }
    void TearDown() override
    {
        if (owner)
            owner->close();
    }

    int showKind(int kind, std::vector<Step> const& steps, OwnedString const& message = OwnedString(u"Saved."))
    {
        int result = -99;
        std::string stuck;
        OwnedString caption(u"Vexadrome");
        EXPECT_TRUE(runDialog([&] { result = MsgWindow::show(owner, caption, message, kind); }, steps, &stuck))
            << stuck;
        return result;
    }

    NyToolkit::Form* owner = nullptr;
    NyToolkit::TextBox* second = nullptr;
};

TEST_F(MsgWindowTest, LayoutFollowsTheFontHeight)
{
    NyCore::Graphics::Font* font = NyToolkit::Style::getDefaultStyle(0)->get$font();
    int const h = font->get$height();
    int const m = (2 * h) / 5;
    struct Case {
        int kind;
        char16_t const* message;
        int lines;
        std::vector<std::u16string> labels;
    } const cases[] = {
        {0, u"Saved.", 1, {u"OK"}},
        {1, u"Two lines\nof text.", 2, {u"OK", u"Cancel"}},
        {2, u"Replace it?", 1, {u"Yes", u"No"}},
        {3, u"The graph \"Waves\" has changes.\nSave them before closing?", 2, {u"Yes", u"No", u"Cancel"}},
        {0, u"One\nTwo\nThree", 3, {u"OK"}},
    };
    for (Case const& c : cases) {
        SCOPED_TRACE(toUtf8(c.message));
        struct Seen {
            int width = 0, height = 0;
            std::vector<std::string> labels;
            std::vector<std::vector<int>> buttons;
            int labelHeight = 0;
        } seen;
        std::vector<Step> steps = {{dialogReady<MsgWindow>, [&] {
                                        CommonDialog* dialog = CommonDialog::get$current();
                                        seen.width = dialog->get$width();
                                        seen.height = dialog->get$height();
                                        seen.labels = labelsOf(dialog);
                                        for (TextButton* b : buttonsOf(dialog))
                                            seen.buttons.push_back(
                                                {b->get$x(), b->get$y(), b->get$width(), b->get$height()});
                                        seen.labelHeight = dialog->get$firstChild()->get$height();
                                        if (c.kind == 3) {
                                            EXPECT_TRUE(saveScreenshot(dialog, "message_window"));
                                        }
                                        tap(XK_Escape);
                                    }}};
        showKind(c.kind, steps, OwnedString(c.message));
        // The rule: 25 h wide; message, 4 margins and one and a half lines high;
        // buttons of at least 6 h in a row centred with gaps of m.
        int const messageHeight = c.lines * h;
        EXPECT_EQ(seen.width, 25 * h);
        EXPECT_EQ(seen.height, messageHeight + 4 * m + (3 * h) / 2);
        EXPECT_EQ(seen.labelHeight, messageHeight);
        std::vector<std::string> expectedLabels;
        std::vector<int> widths;
        int total = 0;
        for (std::u16string const& label : c.labels) {
            OwnedString text(label);
            expectedLabels.push_back(toUtf8(label));
            widths.push_back(std::max(font->measure(text) + 2 * m, 6 * h));
            total += widths.back();
        }
        EXPECT_EQ(seen.labels, expectedLabels);
        ASSERT_EQ(seen.buttons.size(), widths.size());
        int const rowWidth = total + m * static_cast<int>(widths.size() - 1);
        int x = (25 * h - rowWidth) / 2;
        for (std::size_t i = 0; i < widths.size(); ++i) {
            EXPECT_EQ(seen.buttons[i], (std::vector<int>{x, messageHeight + 3 * m, widths[i], (3 * h) / 2})) << i;
            x += widths[i] + m;
        }
    }
}

TEST_F(MsgWindowTest, EachKindAnswersByClickTabAndEnterEscapeAndTheCloseBox)
{
    for (int kind = 0; kind <= 3; ++kind) {
        int const buttons = kind == 0 ? 1 : kind == 3 ? 3 : 2;
        for (int i = 0; i < buttons; ++i) {
            EXPECT_EQ(showKind(kind, {clickButton(i)}), i) << "click, kind " << kind << " button " << i;
            // The first button has the focus; Tab moves right (wrapping), Enter presses.
            // Each Tab waits for the focus the one before gave, as a person's keys do.
            auto focusOn = [](int b) {
                return [b] { return dialogReady<MsgWindow>() &&
                                    Widget::get$focused() == buttonsOf(CommonDialog::get$current())[b]; };
            };
            std::vector<Step> keys;
            for (int t = 0; t < i + buttons; ++t)
                keys.push_back({focusOn(t % buttons), [] { tap(XK_Tab); }});
            keys.push_back({focusOn(i), [] { tap(XK_Return); }});
            EXPECT_EQ(showKind(kind, keys), i) << "Tab and Enter, kind " << kind << " button " << i;
        }
        EXPECT_EQ(showKind(kind, {{dialogReady<MsgWindow>, [] { tap(XK_Escape); }}}), -1) << "Escape " << kind;
        EXPECT_EQ(showKind(kind, {{dialogReady<MsgWindow>, [] { sendDeleteWindow(CommonDialog::get$current()); }}}),
                  -1)
            << "close box " << kind;
    }
}

TEST_F(MsgWindowTest, TakesTheFocusFromItsOwnerAndGivesItBack)
{
    bool ownerTookInput = true;
    std::vector<Step> steps = {{dialogReady<MsgWindow>, [&] {
        // The owner's window takes no input while the dialog runs.
        pointerTo(child(owner, u"first"), 5, 5);
        click();
        XSync(display(), False);
        NyCore::System::EventLoop::serviceEvents(nullptr);
        ownerTookInput = Widget::get$focused() != buttonsOf(CommonDialog::get$current())[0];
        tap(XK_Return);
    }}};
    EXPECT_EQ(showKind(0, steps), 0);
    EXPECT_FALSE(ownerTookInput);
    EXPECT_TRUE(runUntil([&] { return Widget::get$focused() == second; })) << "the owner has the focus again";
    EXPECT_FALSE(CommonDialog::get$current());
}

TEST_F(MsgWindowTest, AnOwnerClosedWhileTheWindowRunsEndsItAsClosed)
{
    EXPECT_EQ(showKind(1, {{dialogReady<MsgWindow>, [&] {
                               owner->close();
                               owner = nullptr;
                           }}}),
              -1);
    EXPECT_FALSE(CommonDialog::get$current());
}

TEST_F(MsgWindowTest, CallerGivenLabelsAndAnUnknownKind)
{
    OwnedString caption(u"Question"), message(u"Which one?"), left(u"Left"), right(u"Right"), third(u"Both");
    int result = -99;
    std::vector<std::string> seen;
    auto look = [&](int index) {
        return std::vector<Step>{{dialogReady<MsgWindow>, [&seen, index] {
                                      seen = labelsOf(CommonDialog::get$current());
                                      clickButton(index).act();
                                  }}};
    };
    ASSERT_TRUE(runDialog([&] { result = MsgWindow::show(owner, caption, message, left, nullptr); }, look(0)));
    EXPECT_EQ(result, 0);
    EXPECT_EQ(seen, (std::vector<std::string>{"Left"}));
    ASSERT_TRUE(runDialog([&] { result = MsgWindow::display(owner, caption, message, left, right, third); }, look(2)));
    EXPECT_EQ(result, 2);
    EXPECT_EQ(seen, (std::vector<std::string>{"Left", "Right", "Both"}));

    expectException([&] { MsgWindow::show(nullptr, caption, message, 4); }, "NyCore.InvalidParameterException",
                    "Invalid paramiter.");
}

TEST_F(MsgWindowTest, InputWindowGivesTheTextOnEnterAndOkAndNothingOtherwise)
{
    OwnedString caption(u"Rename"), message(u"New name:"), initial(u"old");
    struct Case {
        char const* how;
        std::function<void()> act;
        char const* expected;
    } const cases[] = {
        {"Enter", [] { typeText("new"); tap(XK_Return); }, "new"},
        {"OK", [] { typeText("ok"); clickButton(0).act(); }, "ok"},
        {"Enter keeps", [] { tap(XK_End); typeText("er"); tap(XK_Return); }, "older"},
        {"Cancel", [] { typeText("x"); clickButton(1).act(); }, "<null>"},
        {"Escape", [] { typeText("x"); tap(XK_Escape); }, "<null>"},
        {"close box", [] { sendDeleteWindow(CommonDialog::get$current()); }, "<null>"},
    };
    for (Case const& c : cases) {
        NyCore::String* answer = nullptr;
        bool boxFocused = false;
        std::vector<Step> steps = {{dialogReady<InputWindow>, [&] {
                                        boxFocused = dynamic_cast<NyToolkit::TextBox*>(Widget::get$focused());
                                        c.act();
                                    }}};
        ASSERT_TRUE(runDialog([&] { answer = InputWindow::ask(owner, caption, message, initial); }, steps)) << c.how;
        OwnedString owned(answer);
        EXPECT_EQ(toUtf8(owned), c.expected) << c.how;
        EXPECT_TRUE(boxFocused) << c.how;
        EXPECT_TRUE(runUntil([&] { return Widget::get$focused() == second; })) << c.how;
    }
}

}
