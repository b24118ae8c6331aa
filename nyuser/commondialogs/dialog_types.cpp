// The commondialogs classes the framework registers.
#include "nyuser/commondialogs/common_dialog.h"
#include "nyuser/commondialogs/dialog_button.h"
#include "nyuser/commondialogs/dialog_drop_list.h"
#include "nyuser/commondialogs/dialog_text_box.h"
#include "nyuser/commondialogs/file_chooser.h"
#include "nyuser/commondialogs/folder_list.h"
#include "nyuser/commondialogs/input_window.h"
#include "nyuser/commondialogs/msg_window.h"
#include "nyuser/user_types.h"

namespace NyUser {

NyCore::TypeData* const DialogTypes[] = {&CommonDialogs::CommonDialog::MetaData,
                                         &CommonDialogs::MsgWindow::MetaData,
                                         &CommonDialogs::InputWindow::MetaData,
                                         &CommonDialogs::FileChooser::MetaData,
                                         &CommonDialogs::DialogButton::MetaData,
                                         &CommonDialogs::DialogTextBox::MetaData,
                                         &CommonDialogs::DialogDropList::MetaData,
                                         &CommonDialogs::FolderList::MetaData,
                                         nullptr};

}
