// FileBrowseDialog: the file-open and file-save dialogs of the application,
// run as the toolkit-built file chooser. filters is a list of filter strings
// ended by a null entry ("Vexadrome Graph\t*.graph\tgraph"); filterIndex is
// in and out: the filter to preselect, and the one the user chose.
#pragma once

#include "nycore/system/widget.h"
#include "nycore/text/string.h"

namespace NyUser::CommonDialogs {

class FileBrowseDialog {
public:
    // A new String with the path of an existing file; null when cancelled.
    static NyCore::String* openFile(NyCore::System::Widget* parent, NyCore::String const* title,
                                    NyCore::String const* initialDirectory, NyCore::String const* const* filters,
                                    int* filterIndex);
    // A new String with the path to write (in an existing folder, with the
    // chosen filter's default extension when the name had none, the user
    // having agreed to replace a file that exists); null when cancelled.
    static NyCore::String* saveFile(NyCore::System::Widget* parent, NyCore::String const* title,
                                    NyCore::String const* initialDirectory, NyCore::String const* const* filters,
                                    int* filterIndex);
};

}
