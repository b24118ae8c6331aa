// Driving modal dialogs in windowed tests over an owner window: the dialog's
// own loop runs inside the test's, and steps (each waiting for the state the
// one before leads to) give the real input from inside it. A run that gets
// stuck ends the open dialogs, so that a failure never hangs the program.
#pragma once

#include <gtest/gtest.h>

#include <X11/Xlib.h>
#include <X11/keysym.h>

#include <functional>
#include <string>
#include <vector>

#include "nycore/system/time.h"
#include "nytoolkit/buttons/text_button.h"
#include "nytoolkit/widgets/label.h"
#include "nyuser/commondialogs/common_dialog.h"
#include "tests/support/forms.h"
#include "tests/support/modal_steps.h"
#include "tests/support/run_until.h"
#include "tests/support/strings.h"
#include "tests/support/windows.h"
#include "tests/support/xvfb.h"

namespace TestSupport {

using Step = ModalStep;

using NyUser::CommonDialogs::CommonDialog;
using NyCore::System::Widget;
using NyToolkit::Buttons::TextButton;

// The innermost dialog is on screen, of type T, and one of its controls has the keyboard focus.
template <typename T = CommonDialog>
bool dialogReady()
{
    namespace WF = NyCore::System::WidgetFlags;
    CommonDialog* dialog = CommonDialog::get$current();
    Widget* top = Widget::get$focused();
    while (top && top->get$parent() && !(top->get$flags() & (WF::TopLevel | WF::PopUp)))
        top = top->get$parent();
    return dynamic_cast<T*>(dialog) && mapped(dialog) && top == dialog;
}

// The buttons of the innermost dialog, in the order they were made.
inline std::vector<TextButton*> buttonsOf(Widget* dialog = CommonDialog::get$current())
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

inline void clickMiddle(Widget* widget)
{
    pointerTo(widget, widget->get$width() / 2, widget->get$height() / 2);
    click();
}

// Clicks the innermost dialog's button with that label.
inline void clickLabelled(std::string const& label)
{
    for (TextButton* button : buttonsOf())
        if (toUtf8(button->get$label()) == label)
            return clickMiddle(button);
    ADD_FAILURE() << "no button " << label;
}

// The message of the innermost message or input window (its first child).
inline std::string messageText()
{
    return toUtf8(static_cast<NyToolkit::Label*>(CommonDialog::get$current()->get$firstChild())->get$text());
}

// The innermost dialog's close box: the WM_DELETE_WINDOW message a window manager sends.
inline void sendDeleteWindow()
{
    Widget* window = CommonDialog::get$current();
    XEvent event = {};
    event.xclient.type = ClientMessage;
    event.xclient.window = window->get$nativeWindow();
    event.xclient.message_type = XInternAtom(display(), "WM_PROTOCOLS", False);
    event.xclient.format = 32;
    event.xclient.data.l[0] = static_cast<long>(XInternAtom(display(), "WM_DELETE_WINDOW", False));
    XSendEvent(display(), window->get$nativeWindow(), False, NoEventMask, &event);
}

// Types the text with real keys: printable ASCII, whose key symbols are its
// own codes, and '\n' for Enter.
inline void typeText(std::string const& text)
{
    for (char c : text) {
        bool shifted = c == '~' || c == '_' || (c >= 'A' && c <= 'Z');
        if (shifted)
            key(XK_Shift_L, true);
        tap(c == '\n' ? XK_Return : static_cast<unsigned char>(c));
        if (shifted)
            key(XK_Shift_L, false);
    }
}

// An owner window with two boxes, the second focused; each run of a dialog
// over it checks that the focus comes back to that box.
class DialogTest : public WindowTest {
protected:
    void SetUp() override
    {
        WindowTest::SetUp();
        owner = formFromText(uR"(<NyToolkit.Form w="300" h="120" caption="Owner">
  <NyToolkit.TextBox id="first" x="10" y="10" w="200" h="22" flags="TabStop"/>
  <NyToolkit.TextBox id="second" x="10" y="50" w="200" h="22" flags="TabStop"/></NyToolkit.Form>)");
        ownerBox = child(owner, u"second");
        ownerBox->focus();
        ASSERT_TRUE(runUntil([&] { return Widget::get$focused() == ownerBox; }));
    }
    void TearDown() override
    {
        if (owner)
            owner->close();
    }

    // Calls `open` (which returns when its dialog has ended) from the event
    // loop and plays the steps meanwhile; afterwards the owner's box has the
    // focus again.
    void play(std::function<void()> const& open, std::vector<Step> const& steps)
    {
        // Past the limit every open dialog is ended, and Escape closes any pop-up a step left open.
        std::size_t played = 0;
        bool const done = playModal(open, steps, [] {
            if (CommonDialog* dialog = CommonDialog::get$current(); dialog && !dialog->isEnding())
                dialog->endDialog(-99);
            tap(XK_Escape);
        }, &played);
        EXPECT_TRUE(done) << played << " of " << steps.size() << " steps played";
        if (owner) {
            EXPECT_TRUE(runUntil([&] { return Widget::get$focused() == ownerBox; })) << "the owner has the focus again";
        }
        EXPECT_FALSE(CommonDialog::get$current());
    }

    NyToolkit::Form* owner = nullptr;
    Widget* ownerBox = nullptr;
};

}
