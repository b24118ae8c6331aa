// FolderList: the list of the file chooser, one line per folder ("name/")
// and file. It selects like a simple list and adds what a file list needs:
// Enter and a double click activate the selected line ("activate" with its
// index), Home and End go to the first and last line, and Escape is the
// dialog's close.
#pragma once

#include "nytoolkit/lists/simple_list.h"

namespace NyUser::CommonDialogs {

class FolderList : public NyToolkit::SimpleList {
    NY_REFLECTIVE(FolderList)
public:
    FolderList() = default;
    static NyCore::Object* __create();

    void onCharKeyDown(int code, int modifiers) override;
    void onSystemKeyDown(int code, int modifiers) override;
    void onDoubleClick(int x, int y, int button, int keys) override;
};

}
