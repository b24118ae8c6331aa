// The dialog push button: a text button that hands Escape to its dialog.
#include "nyuser/commondialogs/dialog_button.h"

#include "nyuser/commondialogs/common_dialog.h"

namespace NyUser::CommonDialogs {

NyCore::TypeData DialogButton::MetaData = {&NyToolkit::Buttons::TextButton::MetaData, nullptr,
                                           u"NyUser.CommonDialogs.DialogButton"_str, NyCore::NoMethods,
                                           NyCore::NoEvents, &DialogButton::__create, sizeof(DialogButton), 0,
                                           nullptr};

NyCore::Object* DialogButton::__create()
{
    return new DialogButton();
}

void DialogButton::onCharKeyDown(int code, int modifiers)
{
    if (code == 27 && CommonDialog::escapeFrom(this))
        return;
    TextButton::onCharKeyDown(code, modifiers);
}

}
