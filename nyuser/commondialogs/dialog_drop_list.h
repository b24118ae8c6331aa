// DialogDropList: the drop list of the common dialogs. It chooses like any
// drop list; Escape while its pop-up is closed goes to its dialog, which
// takes it as the window's close.
#pragma once

#include "nytoolkit/lists/drop_list.h"

namespace NyUser::CommonDialogs {

class DialogDropList : public NyToolkit::DropList {
    NY_REFLECTIVE(DialogDropList)
public:
    DialogDropList() = default;
    static NyCore::Object* __create();

    void onCharKeyDown(int code, int modifiers) override;
};

}
