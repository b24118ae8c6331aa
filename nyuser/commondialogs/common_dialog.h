// CommonDialog: the base of the framework's modal windows (message window,
// input window, file chooser). It runs the window's own nested event loop,
// takes the keyboard focus while it runs and hands it back to the widget that
// had it, and ends the loop with a button's number or -1 for a close request
// (the close box, Escape).
#pragma once

#include "nycore/text/string.h"
#include "nytoolkit/forms/nytk_widget.h"

namespace NyToolkit::Buttons {
class TextButton;
}

namespace NyUser::CommonDialogs {

class CommonDialog : public NyToolkit::NytkWidget {
    NY_REFLECTIVE(CommonDialog)
public:
    CommonDialog() = default;
    ~CommonDialog() override;
    static NyCore::Object* __create();

    // The height of the default style's font, the unit of every dialog layout.
    static int fontHeight();
    // A hidden modal window of the class over the top-level window of `owner`
    // (none: a window of its own), centred on the screen.
    static CommonDialog* createWindow(NyCore::System::Widget* owner, char16_t const* className, int width,
                                      int height, std::uint32_t extraFlags = 0);
    // The innermost dialog whose loop runs, null when none does.
    static CommonDialog* get$current();

    // A push button linked to onButton<number> (0 to 2).
    NyToolkit::Buttons::TextButton* addButton(NyCore::String const* label, int number, int x, int y, int w, int h);
    // Shows the window, focuses `first` and runs the loop; then closes the
    // window, gives the focus back and returns the loop's result.
    int runModal(NyCore::System::Widget* first);
    // Ends the loop with `result` (ignored while no loop runs and once it was asked to end).
    void endDialog(int result);
    bool isEnding() const { return ending; }

    void onButton0() { onButton(0); }
    void onButton1() { onButton(1); }
    void onButton2() { onButton(2); }
    // A button's click; the base ends the loop with its number.
    virtual void onButton(int number);
    // Escape in any of the dialog's controls; the base is the close request.
    virtual void onEscape();
    // The close box (WM_DELETE_WINDOW) ends the loop with -1 instead of
    // destroying the window under the running loop.
    bool suggestClose() override;
    void onCharKeyDown(int code, int modifiers) override;

    // Escape pressed in `control`: tells the dialog that holds it. False when
    // the control is in no dialog.
    static bool escapeFrom(NyCore::System::Widget* control);

    // The focus bookkeeping of every modal window, form dialogs too. Before a
    // modal window over `ownerWindow` is shown: the widget it is to give the
    // focus back to (the focused one or, while the focus is still on its way
    // back from a dialog that just closed, the widget that one gave it to).
    static NyCore::System::Widget* focusReturnFor(NyCore::System::Widget* ownerWindow);
    // Once such a window has closed (or is hidden, about to close): the focus
    // goes back to `owner` when it is still in `ownerWindow`, else to the window.
    static void handFocusBack(NyCore::System::Widget* ownerWindow, NyCore::System::Widget* owner);

protected:
    bool ending = false;

private:
    void leaveChain();

    CommonDialog* outer = nullptr;
    // While runModal runs: the owner of its loop (a windowless widget on its
    // stack, so that the loop can still be ended when the dialog is deleted
    // meanwhile) and the flag that tells runModal so.
    NyCore::System::Widget* loop = nullptr;
    bool* deletedFlag = nullptr;
};

}
