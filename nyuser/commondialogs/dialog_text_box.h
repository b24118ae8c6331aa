// DialogTextBox: the one-line text box of the common dialogs. It edits like
// any text box (Enter sends "enterPressed") and passes Escape to its dialog,
// which takes it as the window's close.
#pragma once

#include "nytoolkit/text/text_box.h"

namespace NyUser::CommonDialogs {

class DialogTextBox : public NyToolkit::TextBox {
    NY_REFLECTIVE(DialogTextBox)
public:
    DialogTextBox() = default;
    static NyCore::Object* __create();

    void onCharKeyDown(int code, int modifiers) override;
};

}
