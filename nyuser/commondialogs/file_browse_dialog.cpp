// The file dialogs as runs of the file chooser.
#include "nyuser/commondialogs/file_browse_dialog.h"

#include "nyuser/commondialogs/file_chooser.h"

namespace NyUser::CommonDialogs {

NyCore::String* FileBrowseDialog::openFile(NyCore::System::Widget* parent, NyCore::String const* title,
                                           NyCore::String const* initialDirectory,
                                           NyCore::String const* const* filters, int* filterIndex)
{
    return FileChooser::choose(parent, title, initialDirectory, filters, filterIndex, false);
}

NyCore::String* FileBrowseDialog::saveFile(NyCore::System::Widget* parent, NyCore::String const* title,
                                           NyCore::String const* initialDirectory,
                                           NyCore::String const* const* filters, int* filterIndex)
{
    return FileChooser::choose(parent, title, initialDirectory, filters, filterIndex, true);
}

}
