// The dialog text box: a text box that hands Escape to its dialog.
#include "nyuser/commondialogs/dialog_text_box.h"

#include "nyuser/commondialogs/common_dialog.h"

namespace NyUser::CommonDialogs {

NyCore::TypeData DialogTextBox::MetaData = {&NyToolkit::TextBox::MetaData, nullptr,
                                            u"NyUser.CommonDialogs.DialogTextBox"_str, NyCore::NoMethods,
                                            NyCore::NoEvents, &DialogTextBox::__create, sizeof(DialogTextBox), 0,
                                            nullptr};

NyCore::Object* DialogTextBox::__create()
{
    return new DialogTextBox();
}

void DialogTextBox::onCharKeyDown(int code, int modifiers)
{
    if (code == 27 && CommonDialog::escapeFrom(this))
        return;
    TextBox::onCharKeyDown(code, modifiers);
}

}
