// InputWindow: the modal window that asks for one line of text: a wrapped
// message, a text box holding the initial text (with the focus, all of it
// selected) and the "OK" and "Cancel" buttons. Enter in the box is "OK";
// "Cancel", Escape and the close box give no text.
#pragma once

#include "nyuser/commondialogs/common_dialog.h"

namespace NyUser::CommonDialogs {

class DialogTextBox;

class InputWindow : public CommonDialog {
    NY_REFLECTIVE(InputWindow)
public:
    // Where the window puts its parts for font height h.
    struct Layout {
        int margin;
        int width;
        int height;
        int messageHeight;
        int boxY;
        // The buttons are as high as the box.
        int boxHeight;
        int buttonY;
        int buttonX[2];
        int buttonWidth[2];
    };

    InputWindow() = default;
    static NyCore::Object* __create();

    // A new String with the box's text after "OK" or Enter; null otherwise.
    static NyCore::String* ask(NyCore::System::Widget* parent, NyCore::String const* caption,
                               NyCore::String const* message, NyCore::String const* initial);
    static NyCore::String* ask(NyCore::System::Widget* parent, NyCore::String const* caption,
                               NyCore::String const* message, NyCore::String const* initial,
                               NyCore::String const* okLabel, NyCore::String const* cancelLabel);

    static Layout layout(NyCore::String const* message, NyCore::String const* okLabel,
                         NyCore::String const* cancelLabel);
    void onEnterPressed();
    // "OK" keeps a copy of the box's text for ask.
    void onButton(int number) override;

private:
    DialogTextBox* box = nullptr;
    NyCore::String** answer = nullptr;
};

}
