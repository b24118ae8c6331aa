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
    auto width = [&](std::u16string const& text) { return std::max(font->measure(OwnedString(text)) + 2 * m, 6 * h); };
    CommonDialog* d = CommonDialog::get$current();
    std::vector<std::vector<int>> expected = {{25 * h, messageHeight + 4 * m + (3 * h) / 2, messageHeight}},
                                  seen = {{d->get$width(), d->get$height(), d->get$firstChild()->get$height()}};
    int x = 25 * h + m;
    for (std::u16string const& label : labels)
        x -= width(label) + m;
    x /= 2;
    for (std::u16string const& label : labels) {
        expected.push_back({x, messageHeight + 3 * m, width(label), (3 * h) / 2});
        x += width(label) + m;
    }
    Labels shown;
    for (TextButton* b : buttonsOf()) {
        seen.push_back({b->get$x(), b->get$y(), b->get$width(), b->get$height()});
        shown.push_back(toU16(b->get$label()));
    }
    EXPECT_EQ(seen, expected) << "the window, then each button";
    EXPECT_EQ(shown, labels);
}

class MsgWindowTest : public DialogTest {
protected:
    int run(std::function<int()> const& open, std::vector<Step> const& steps)
    {
        int result = -99;
        play([&] { result = open(); }, steps);
        return result;
    }

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
            auto look = [&, i] {
                expectLayout(row.lines, row.labels);
                if (&row == &rows[3] && i == 0) {
                    EXPECT_TRUE(saveScreenshot(CommonDialog::get$current(), "message_window"));
                }
                clickMiddle(buttonsOf()[static_cast<std::size_t>(i)]);
            };
            EXPECT_EQ(run(row.open, {{dialogReady<MsgWindow>, look}}), i) << "click " << i;
            // The first button has the focus; Tab moves right (wrapping), Enter presses.
            // Each Tab waits for the focus the one before gave, as a person's keys do.
            std::vector<Step> keys;
            for (int t = 0; t < i + count; ++t)
                keys.push_back({focusOn(t % count), [] { tap(XK_Tab); }});
            keys.push_back({focusOn(i), [] { tap(XK_Return); }});
            EXPECT_EQ(run(row.open, keys), i) << "Tab and Enter " << i;
        }
        EXPECT_EQ(run(row.open, {{dialogReady<MsgWindow>, [] { tap(XK_Escape); }}}), -1) << "Escape";
        EXPECT_EQ(run(row.open, {{dialogReady<MsgWindow>, sendDeleteWindow}}), -1) << "close box";
    }
    expectException([&] { MsgWindow::show(nullptr, caption, one, 4); }, "NyCore.InvalidParameterException",
                    "Invalid paramiter.");
}

TEST_F(MsgWindowTest, TheOwnerTakesNoInputMeanwhileAndClosingItEndsTheWindowAsClosed)
{
    bool ownerTookInput = true;
    auto show = [&] { return MsgWindow::show(owner, caption, one, MsgWindow::Ok); };
    auto clickOwner = [&] {
        pointerTo(child(owner, u"first"), 5, 5);
        click();
        XSync(display(), False);
        NyCore::System::EventLoop::serviceEvents(nullptr);
        ownerTookInput = Widget::get$focused() != buttonsOf()[0];
        tap(XK_Return);
    };
    EXPECT_EQ(run(show, {{dialogReady<MsgWindow>, clickOwner}}), 0);
    EXPECT_FALSE(ownerTookInput);
    // A box opened right after another, before the focus has come back, still
    // hands the focus back to the owner's box (the driver checks it).
    bool secondOpen = false;
    auto twoInARow = [&] {
        MsgWindow::show(owner, caption, one, MsgWindow::Ok);
        secondOpen = true;
        return MsgWindow::show(owner, caption, two, MsgWindow::Ok);
    };
    EXPECT_EQ(run(twoInARow, {{dialogReady<MsgWindow>, [] { tap(XK_Return); }},
                              {[&] { return secondOpen && dialogReady<MsgWindow>(); }, [] { tap(XK_Return); }}}),
              0);
    // The owner's window going away deletes the dialog with it.
    EXPECT_EQ(run(show, {{dialogReady<MsgWindow>, [&] { owner->close(); owner = nullptr; }}}), -1);
}

TEST_F(MsgWindowTest, InputWindowGivesTheTextOnEnterAndOkAndNothingOtherwise)
{
    OwnedString message(u"New name:"), initial(u"old");
    struct Case {
        char const* how;
        std::function<void()> act;
        char const* expected;
    } const cases[] = {
        {"Enter", [] { typeText("new\n"); }, "new"},
        {"OK", [] { typeText("ok"); clickLabelled("OK"); }, "ok"},
        {"Enter keeps", [] { tap(XK_End); typeText("er\n"); }, "older"},
        {"Cancel", [] { typeText("x"); clickLabelled("Cancel"); }, "<null>"},
        {"Escape", [] { typeText("x"); tap(XK_Escape); }, "<null>"},
        {"close box", sendDeleteWindow, "<null>"},
    };
    for (Case const& c : cases) {
        NyCore::String* answer = nullptr;
        auto act = [&] {
            EXPECT_TRUE(dynamic_cast<NyToolkit::TextBox*>(Widget::get$focused())) << "the box has the focus";
            c.act();
        };
        play([&] { answer = InputWindow::ask(owner, caption, message, initial); }, {{dialogReady<InputWindow>, act}});
        EXPECT_EQ(OwnedString(answer).utf8(), c.expected) << c.how;
    }
}

}
