// Message and input windows on a real display, driven with real keys and
// clicks from inside their own loops: the layout from the font, each button
// set and its results by click, Tab and Enter, Escape and the close box, and
// the focus taken from the owner and handed back to it.
#include <gtest/gtest.h>

#include <X11/keysym.h>

#include <algorithm>
#include <string>
#include <vector>

#include "nycore/graphics/font.h"
#include "nycore/system/event_loop.h"
#include "nytoolkit/styles/style.h"
#include "nytoolkit/text/text_box.h"
#include "nyuser/commondialogs/input_window.h"
#include "nyuser/commondialogs/msg_window.h"
#include "tests/nyuser/commondialogs/dialog_driver.h"
#include "tests/support/child_process.h"
#include "tests/support/forms.h"
#include "tests/support/screenshots.h"

using namespace NyUser::CommonDialogs;
using namespace TestSupport;

namespace {

using Labels = std::vector<std::u16string>;

// The rule: 25 h wide; message, 4 margins and one and a half lines high;
// buttons of at least 6 h in a row centred with gaps of m.
void expectLayout(int lines, Labels const& labels)
{
    NyCore::Graphics::Font* font = NyToolkit::Style::getDefaultStyle(0)->get$font();
    int const h = font->get$height(), m = (2 * h) / 5, messageHeight = lines * h;
    CommonDialog* dialog = CommonDialog::get$current();
    EXPECT_EQ(dialog->get$width(), 25 * h);
    EXPECT_EQ(dialog->get$height(), messageHeight + 4 * m + (3 * h) / 2);
    EXPECT_EQ(dialog->get$firstChild()->get$height(), messageHeight);
    std::vector<int> widths;
    int row = -m;
    for (std::u16string const& label : labels) {
        widths.push_back(std::max(font->measure(OwnedString(label)) + 2 * m, 6 * h));
        row += widths.back() + m;
    }
    std::vector<TextButton*> buttons = buttonsOf();
    ASSERT_EQ(buttons.size(), labels.size());
    int x = (25 * h - row) / 2;
    for (std::size_t i = 0; i < buttons.size(); ++i) {
        TextButton* b = buttons[i];
        EXPECT_EQ(toU16(b->get$label()), labels[i]);
        EXPECT_EQ((std::vector<int>{b->get$x(), b->get$y(), b->get$width(), b->get$height()}),
                  (std::vector<int>{x, messageHeight + 3 * m, widths[i], (3 * h) / 2}))
            << i;
        x += widths[i] + m;
    }
}

class MsgWindowTest : public WindowTest {
protected:
    void SetUp() override
    {
        WindowTest::SetUp();
        owner = formFromText(uR"(<NyToolkit.Form w="300" h="120" caption="Owner">
  <NyToolkit.TextBox id="first" x="10" y="10" w="200" h="22" flags="TabStop"/>
  <NyToolkit.TextBox id="second" x="10" y="50" w="200" h="22" flags="TabStop"/>
</NyToolkit.Form>)");
        second = child<NyToolkit::TextBox>(owner, u"second");
        second->focus();
        ASSERT_TRUE(runUntil([&] { return Widget::get$focused() == second; }));
    }
    void TearDown() override
    {
        if (owner)
            owner->close();
    }

    // Runs a window and checks that the focus is back on the owner's box afterwards.
    int run(std::function<int()> const& open, std::vector<Step> const& steps)
    {
        int result = -99;
        EXPECT_EQ(runDialog([&] { result = open(); }, steps), "");
        if (owner) {
            EXPECT_TRUE(runUntil([&] { return Widget::get$focused() == second; })) << "the owner has the focus again";
        }
        EXPECT_FALSE(CommonDialog::get$current());
        return result;
    }

    NyToolkit::Form* owner = nullptr;
    NyToolkit::TextBox* second = nullptr;
    OwnedString caption{u"Vexadrome"}, three{u"One\nTwo\nThree"}, two{u"Two lines\nof text."}, one{u"Replace it?"},
        waves{u"The graph \"Waves\" has changes.\nSave them before closing?"}, left{u"Left"}, right{u"Right"},
        both{u"Both"};
};

TEST_F(MsgWindowTest, EachButtonSetIsLaidOutFromTheFontAndAnswersByClickTabAndEnterEscapeAndTheCloseBox)
{
    struct Row {
        int lines;
        Labels labels;
        std::function<int()> open;
    } const rows[] = {
        {3, {u"OK"}, [&] { return MsgWindow::show(owner, caption, three, MsgWindow::Ok); }},
        {2, {u"OK", u"Cancel"}, [&] { return MsgWindow::show(owner, caption, two, MsgWindow::OkCancel); }},
        {1, {u"Yes", u"No"}, [&] { return MsgWindow::show(owner, caption, one, MsgWindow::YesNo); }},
        {2, {u"Yes", u"No", u"Cancel"}, [&] { return MsgWindow::show(owner, caption, waves, MsgWindow::YesNoCancel); }},
        {1, {u"Left"}, [&] { return MsgWindow::show(owner, caption, one, left, nullptr); }},
        {1, {u"Left", u"Right", u"Both"}, [&] { return MsgWindow::display(owner, caption, one, left, right, both); }},
    };
    auto focusOn = [](int b) {
        return [b] { return dialogReady<MsgWindow>() && Widget::get$focused() == buttonsOf()[b]; };
    };
    for (Row const& row : rows) {
        SCOPED_TRACE(toUtf8(row.labels.back()) + " " + std::to_string(row.labels.size()));
        int const count = static_cast<int>(row.labels.size());
        for (int i = 0; i < count; ++i) {
            EXPECT_EQ(run(row.open, {{dialogReady<MsgWindow>, [&, i] {
                                          expectLayout(row.lines, row.labels);
                                          if (&row == &rows[3] && i == 0) {
                                              EXPECT_TRUE(saveScreenshot(CommonDialog::get$current(), "message_window"));
                                          }
                                          clickMiddle(buttonsOf()[static_cast<std::size_t>(i)]);
                                      }}}),
                      i)
                << "click " << i;
            // The first button has the focus; Tab moves right (wrapping), Enter presses.
            // Each Tab waits for the focus the one before gave, as a person's keys do.
            std::vector<Step> keys;
            for (int t = 0; t < i + count; ++t)
                keys.push_back({focusOn(t % count), [] { tap(XK_Tab); }});
            keys.push_back({focusOn(i), [] { tap(XK_Return); }});
            EXPECT_EQ(run(row.open, keys), i) << "Tab and Enter " << i;
        }
        EXPECT_EQ(run(row.open, {{dialogReady<MsgWindow>, [] { tap(XK_Escape); }}}), -1) << "Escape";
        EXPECT_EQ(run(row.open, {{dialogReady<MsgWindow>, [] { sendDeleteWindow(); }}}), -1) << "close box";
    }
    expectException([&] { MsgWindow::show(nullptr, caption, one, 4); }, "NyCore.InvalidParameterException",
                    "Invalid paramiter.");
}

TEST_F(MsgWindowTest, TheOwnerTakesNoInputMeanwhileAndClosingItEndsTheWindowAsClosed)
{
    bool ownerTookInput = true;
    auto show = [&] { return MsgWindow::show(owner, caption, one, MsgWindow::Ok); };
    EXPECT_EQ(run(show, {{dialogReady<MsgWindow>, [&] {
                             pointerTo(child(owner, u"first"), 5, 5);
                             click();
                             XSync(display(), False);
                             NyCore::System::EventLoop::serviceEvents(nullptr);
                             ownerTookInput = Widget::get$focused() != buttonsOf()[0];
                             tap(XK_Return);
                         }}}),
              0);
    EXPECT_FALSE(ownerTookInput);
    // The owner's window going away deletes the dialog with it.
    EXPECT_EQ(run(show, {{dialogReady<MsgWindow>, [&] {
                             owner->close();
                             owner = nullptr;
                         }}}),
              -1);
}

TEST_F(MsgWindowTest, InputWindowGivesTheTextOnEnterAndOkAndNothingOtherwise)
{
    OwnedString message(u"New name:"), initial(u"old");
    struct Case {
        char const* how;
        std::function<void()> act;
        char const* expected;
    } const cases[] = {
        {"Enter", [] { typeText("new"); tap(XK_Return); }, "new"},
        {"OK", [] { typeText("ok"); clickLabelled("OK"); }, "ok"},
        {"Enter keeps", [] { tap(XK_End); typeText("er"); tap(XK_Return); }, "older"},
        {"Cancel", [] { typeText("x"); clickLabelled("Cancel"); }, "<null>"},
        {"Escape", [] { typeText("x"); tap(XK_Escape); }, "<null>"},
        {"close box", [] { sendDeleteWindow(); }, "<null>"},
    };
    for (Case const& c : cases) {
        NyCore::String* answer = nullptr;
        auto ask = [&] {
            answer = InputWindow::ask(owner, caption, message, initial);
            return 0;
        };
        run(ask, {{dialogReady<InputWindow>, [&] {
                       EXPECT_TRUE(dynamic_cast<NyToolkit::TextBox*>(Widget::get$focused())) << c.how;
                       c.act();
                   }}});
        EXPECT_EQ(OwnedString(answer).utf8(), c.expected) << c.how;
    }
}

}
