// CommandTextView: the view of a command document, a text area filling the
// view in the shared fixed-width font, where Enter starts a new line. The
// command document reads and selects the script and shows its message boxes
// through it.
#pragma once

#include "nycore/graphics/font.h"
#include "nytoolkit/forms/nytk_widget.h"
#include "vexadrome/documents/command_view.h"

namespace NyToolkit {
class TextArea;
}

namespace Vexadrome::Interface {

class CommandTextView : public NyToolkit::NytkWidget, public Documents::CommandView {
    NY_REFLECTIVE(CommandTextView)
public:
    static NyCore::String const* const FontFace;
    static constexpr int FontSize = 14;

    // The first live view creates the shared font; the last one releases it.
    CommandTextView();
    ~CommandTextView() override;
    static NyCore::Object* __create();

    void onCreate() override;
    // The view always agrees to close: it closes its own window.
    bool suggestClose() override;
    // The focus goes on to the script text.
    void onFocusGained() override;
    // The script text takes the keyboard when the view is focused.
    NyCore::System::Widget* focusTarget() override;

    void set$commandString(NyCore::String const* text);
    NyCore::String const* get$commandString() const;

    // Documents::CommandView
    NyCore::String const* get$text() const override;
    void set$text(NyCore::String const* text) override;
    void setSelection(int start, int length) override;
    // A "Vexadrome" message box with "OK" over the view's window.
    void showMessage(NyCore::String const* caption, NyCore::String const* text, MessageKind kind) override;

    NyToolkit::TextArea* get$textArea() const { return textArea; }
    // The font all live views share; null while none lives.
    static NyCore::Graphics::Font* get$sharedFont();
    static int get$liveViews();

private:
    // A child of the view, owned by the window tree.
    NyToolkit::TextArea* textArea = nullptr;
};

}
