// The dialog drop list: a drop list that hands Escape to its dialog while closed.
#include "nyuser/commondialogs/dialog_drop_list.h"

#include "nyuser/commondialogs/common_dialog.h"

namespace NyUser::CommonDialogs {

NyCore::TypeData DialogDropList::MetaData = {&NyToolkit::DropList::MetaData, nullptr,
                                             u"NyUser.CommonDialogs.DialogDropList"_str, NyCore::NoMethods,
                                             NyCore::NoEvents, &DialogDropList::__create, sizeof(DialogDropList), 0,
                                             nullptr};

NyCore::Object* DialogDropList::__create()
{
    return new DialogDropList();
}

void DialogDropList::onCharKeyDown(int code, int modifiers)
{
    // With the pop-up open, Escape closes only the pop-up.
    if (code == 27 && !get$popUp() && CommonDialog::escapeFrom(this))
        return;
    DropList::onCharKeyDown(code, modifiers);
}

}
