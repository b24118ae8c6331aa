// The file chooser's list: activation by Enter and double click, Home and End.
#include "nyuser/commondialogs/folder_list.h"

#include "nyuser/commondialogs/common_dialog.h"

namespace NyUser::CommonDialogs {

namespace Keys = NyCore::System::SystemKeys;

namespace {

char16_t const* const FolderListEvents[] = {u"activate", nullptr};

constexpr int EnterKey = 10;
constexpr int EscapeKey = 27;

}

NyCore::TypeData FolderList::MetaData = {&NyToolkit::SimpleList::MetaData, nullptr,
                                         u"NyUser.CommonDialogs.FolderList"_str, NyCore::NoMethods,
                                         FolderListEvents, &FolderList::__create, sizeof(FolderList), 0, nullptr};

NyCore::Object* FolderList::__create()
{
    return new FolderList();
}

void FolderList::onCharKeyDown(int code, int modifiers)
{
    if (code == EscapeKey && CommonDialog::escapeFrom(this))
        return;
    if (code == EnterKey && get$selectedIndex() >= 0) {
        NyCore::Object::CallbackParams params{1, {get$selectedIndex()}};
        send(u"activate", &params);
        return;
    }
    SimpleList::onCharKeyDown(code, modifiers);
}

void FolderList::onSystemKeyDown(int code, int modifiers)
{
    int count = get$contents()->get$count();
    if ((code == Keys::Home || code == Keys::End) && count > 0) {
        int line = code == Keys::Home ? 0 : count - 1;
        set$selectedIndex(line);
        showLine(line);
        return;
    }
    SimpleList::onSystemKeyDown(code, modifiers);
}

void FolderList::onDoubleClick(int x, int y, int button, int keys)
{
    SimpleList::onDoubleClick(x, y, button, keys);
    int line = lineAt(x, y);
    if (button == 0 && line >= 0) {
        NyCore::Object::CallbackParams params{1, {line}};
        send(u"activate", &params);
    }
}

}
