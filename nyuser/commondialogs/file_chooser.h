// FileChooser: the window behind the file-open and file-save dialogs, built
// from toolkit widgets. It shows the folder's path with Up and Home buttons,
// a list of the folder's subfolders and of the files that match the chosen
// filter, a name box (which has the focus), the filter drop list, and the
// Open or Save and Cancel buttons. A name typed or picked is checked before
// the window ends: opening needs an existing file; saving needs an existing
// folder, adds the filter's default extension and asks before replacing a file.
#pragma once

#include <string>
#include <vector>

#include "nyuser/commondialogs/common_dialog.h"
#include "nyuser/commondialogs/file_filters.h"

namespace NyToolkit {
class DropList;
class Label;
}

namespace NyUser::CommonDialogs {

class DialogTextBox;
class FolderList;

class FileChooser : public CommonDialog {
    NY_REFLECTIVE(FileChooser)
public:
    FileChooser() = default;
    ~FileChooser() override;
    static NyCore::Object* __create();

    // Runs the chooser; a new String with the chosen path, null when
    // cancelled. *filterIndex (may be null) is the caller's filter to
    // preselect, and on a choice the one the user had chosen.
    static NyCore::String* choose(NyCore::System::Widget* parent, NyCore::String const* title,
                                  NyCore::String const* initialDirectory, NyCore::String const* const* filters,
                                  int* filterIndex, bool saving);

    // The folder shown (UTF-8, ending with '/').
    std::string const& get$folder() const { return folder; }
    FolderList* get$list() const { return list; }
    DialogTextBox* get$nameBox() const { return nameBox; }
    NyToolkit::DropList* get$filterList() const { return filterList; }
    // Shows the folder; false (the old folder still shown, and a message
    // when `report` is on) when it cannot be read.
    bool openFolder(std::string const& path, bool report = true);
    // Takes what the name box holds (Enter, the Open or Save button).
    void accept();

    void onUp();
    void onHome();
    void onNameEntered();
    void onListActivate(int index);
    void onListSelection(int index);
    void onFilterChange(int index);
    // Button 0 is Open or Save, button 1 Cancel.
    void onButton(int number) override;
    bool onResize(int dw, int dh) override;

private:
    struct Entry {
        std::string name;
        bool isFolder;
    };

    void build(NyCore::String const* title, bool saving);
    void placePath();
    // Checks the typed name and ends the chooser with it when it will do.
    void choosePath(std::u16string typed);
    void tell(std::string const& message);
    bool askReplace(std::string const& path);
    void finish(std::string const& path);

    FileFilters* filters = nullptr;
    bool saving = false;
    std::string folder;
    std::vector<Entry> entries;
    NyToolkit::Label* pathLabel = nullptr;
    FolderList* list = nullptr;
    DialogTextBox* nameBox = nullptr;
    NyToolkit::DropList* filterList = nullptr;
    NyCore::String* caption = nullptr;
    // Filled on a choice, for choose to take before the window goes.
    NyCore::String** chosen = nullptr;
    int* chosenFilter = nullptr;
};

}
