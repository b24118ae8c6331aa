// FormDialog: a modal dialog read from a form file. It runs its own nested
// loop (again and again when its owner wants it to stay open), takes the
// keyboard focus when first shown and hands it back when closed, the way the
// framework's common dialogs do, and treats Escape and the close box as the
// dialog's cancel. The graph dialogs derive from it; the graph document
// drives them by method name ("runModal", "closeDialog").
#pragma once

#include "nytoolkit/forms/form.h"

namespace Vexadrome::Interface {

class FormDialog : public NyToolkit::Form {
    NY_REFLECTIVE(FormDialog)
public:
    FormDialog() = default;
    ~FormDialog() override;

    // Shows the dialog (the first time giving `initialFocus` the focus) and
    // runs its loop until endDialog; the dialog stays open afterwards.
    int runModal();
    // The first part of the first run: shows the dialog and gives it the
    // focus (so that a message can be shown over it before its loop runs).
    void showDialog();
    // Ends the running loop with `result`; nothing while none runs.
    void endDialog(int result);
    // Hides and closes the window; the focus goes back to where it was
    // before the dialog was first shown. The dialog may be gone on return.
    void closeDialog();
    bool get$isRunning() const { return running; }
    // The innermost dialog whose loop runs, null when none does.
    static FormDialog* get$current();

    // The close box ends the loop with the cancel result instead of closing.
    bool suggestClose() override;
    // Escape anywhere in the dialog (but in an open drop list): cancel.
    virtual void onEscape();

protected:
    // The form's widget of that id, of class T; a form without it is fatal
    // (InvalidIndexException naming the id).
    template <typename T>
    T* require(NyCore::String const* id) const
    {
        T* widget = dynamic_cast<T*>(getChild(id));
        if (!widget)
            missingWidget(id);
        return widget;
    }
    [[noreturn]] static void missingWidget(NyCore::String const* id);

    // What Escape and the close box end the loop with.
    int cancelResult = 0;
    // The widget that gets the focus when the dialog is first shown.
    NyCore::System::Widget* initialFocus = nullptr;

private:
    static bool watchKey(NyCore::System::Widget* watcher, int code, int modifiers);

    NyCore::System::Widget* focusReturn = nullptr;
    FormDialog* outer = nullptr;
    bool shown = false;
    bool running = false;
};

}
