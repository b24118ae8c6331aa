// DialogButton: the push button of the common dialogs. It clicks like any
// text button (mouse, Enter, Space) and passes Escape to its dialog, which
// takes it as the window's close.
#pragma once

#include "nytoolkit/buttons/text_button.h"

namespace NyUser::CommonDialogs {

class DialogButton : public NyToolkit::Buttons::TextButton {
    NY_REFLECTIVE(DialogButton)
public:
    DialogButton() = default;
    static NyCore::Object* __create();

    void onCharKeyDown(int code, int modifiers) override;
};

}
