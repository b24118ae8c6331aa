// MsgWindow: the modal message window, a wrapped message above a centred row
// of up to three buttons, sized from the default style's font. The result is
// the number of the button pressed (0, 1, 2 from the left) or -1 when the
// window was closed (its close box or Escape). Ctrl+C copies the message.
#pragma once

#include "nyuser/commondialogs/common_dialog.h"

namespace NyUser::CommonDialogs {

class MsgWindow : public CommonDialog {
    NY_REFLECTIVE(MsgWindow)
public:
    // The button sets of `show`'s kind.
    enum Kind { Ok = 0, OkCancel = 1, YesNo = 2, YesNoCancel = 3 };

    // Where a message window with this message and these buttons puts its
    // parts, computed from font height h as the window lays them out.
    struct Layout {
        int margin;
        int width;
        int height;
        int messageHeight;
        int buttonY;
        int buttonHeight;
        int buttonX[3];
        int buttonWidth[3];
    };

    MsgWindow() = default;
    static NyCore::Object* __create();

    // A kind outside 0 to 3 throws InvalidParameterException.
    static int show(NyCore::System::Widget* parent, NyCore::String const* caption, NyCore::String const* message,
                    int kind);
    // Caller-given labels; a null label means no button.
    static int show(NyCore::System::Widget* parent, NyCore::String const* caption, NyCore::String const* message,
                    NyCore::String const* first, NyCore::String const* second);
    static int display(NyCore::System::Widget* parent, NyCore::String const* caption,
                       NyCore::String const* message, NyCore::String const* first, NyCore::String const* second,
                       NyCore::String const* third);

    static Layout layout(NyCore::String const* message, NyCore::String const* const labels[3]);
    // The text shown, while the window runs.
    NyCore::String const* get$message() const { return message; }

private:
    NyCore::String const* message = nullptr;
};

}
