// The file chooser: its layout from the font height, the folder listing,
// and the checks a chosen name passes before the window ends with it.
#include "nyuser/commondialogs/file_chooser.h"

#include <algorithm>
#include <cctype>
#include <cstdlib>
#include <filesystem>
#include <system_error>

#include "nycore/graphics/font.h"
#include "nycore/graphics/gc.h"
#include "nycore/io/directory.h"
#include "nycore/system/memory.h"
#include "nycore/system/method_thunk.h"
#include "nycore/text/string_functions.h"
#include "nycore/text/utf8_text.h"
#include "nytoolkit/lists/drop_list.h"
#include "nytoolkit/styles/style.h"
#include "nytoolkit/widgets/label.h"
#include "nyuser/commondialogs/dialog_button.h"
#include "nyuser/commondialogs/dialog_text_box.h"
#include "nyuser/commondialogs/folder_list.h"
#include "nyuser/commondialogs/msg_window.h"

namespace NyUser::CommonDialogs {

namespace WF = NyCore::System::WidgetFlags;
namespace fs = std::filesystem;
using NyCore::String;

namespace {

NyCore::MethodEntry const FileChooserMethods[] = {{u"onUp", NY_METHOD(FileChooser::onUp)},
                                                  {u"onHome", NY_METHOD(FileChooser::onHome)},
                                                  {u"onNameEntered", NY_METHOD(FileChooser::onNameEntered)},
                                                  {u"onListActivate", NY_METHOD(FileChooser::onListActivate)},
                                                  {u"onListSelection", NY_METHOD(FileChooser::onListSelection)},
                                                  {u"onFilterChange", NY_METHOD(FileChooser::onFilterChange)},
                                                  {nullptr, nullptr}};

std::string utf8Of(std::u16string const& text)
{
    String* s = String::create(text.data(), 0, static_cast<int>(text.size()));
    std::string result = string_to_std_utf8(s);
    string_free(s);
    return result;
}

String* stringOf(std::string const& text)
{
    return string_from_utf8(text.data(), static_cast<int>(text.size()));
}

std::string withSlash(std::string path)
{
    if (path.empty() || path.back() != '/')
        path += '/';
    return path;
}

std::string homeFolder()
{
    char const* home = std::getenv("HOME");
    return withSlash(home && *home == '/' ? home : "/");
}

// Names in the order a person looks for them: letters of either case
// together, then the exact units so that the order is total.
bool nameBefore(std::string const& a, std::string const& b)
{
    auto folded = [](std::string text) {
        std::transform(text.begin(), text.end(), text.begin(),
                       [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
        return text;
    };
    std::string fa = folded(a), fb = folded(b);
    return fa != fb ? fa < fb : a < b;
}

bool isFolder(std::string const& path)
{
    std::error_code error;
    return fs::is_directory(path, error);
}

bool existsAtAll(std::string const& path)
{
    std::error_code error;
    return fs::exists(fs::symlink_status(path, error));
}

}

NyCore::TypeData FileChooser::MetaData = {&CommonDialog::MetaData, nullptr,
                                          u"NyUser.CommonDialogs.FileChooser"_str, FileChooserMethods,
                                          NyCore::NoEvents, &FileChooser::__create, sizeof(FileChooser), 0,
                                          nullptr};

FileChooser::~FileChooser()
{
    delete filters;
    string_free(caption);
}

NyCore::Object* FileChooser::__create()
{
    return new FileChooser();
}

String* FileChooser::choose(NyCore::System::Widget* parent, String const* title, String const* initialDirectory,
                            String const* const* filterStrings, int* filterIndex, bool saving)
{
    int h = fontHeight();
    NyCore::System::WidgetPoint screen;
    Widget::screenSize(&screen);
    auto* chooser = static_cast<FileChooser*>(createWindow(parent, u"NyUser.CommonDialogs.FileChooser",
                                                           std::min(36 * h, screen.x), std::min(24 * h, screen.y),
                                                           WF::Resizeable));
    chooser->filters = new FileFilters(filterStrings);
    chooser->build(title, saving);
    int offered = chooser->filters->offeredIndex(filterIndex ? *filterIndex : 0);
    chooser->filterList->set$selectedIndex(offered);
    NyCore::Object::link(chooser->filterList, chooser, u"change", NY_METHOD(FileChooser::onFilterChange));

    // A missing or unreadable starting folder is no error of the user's: the
    // chooser starts in the current folder then.
    std::string start = string_to_std_utf8(initialDirectory);
    String* current = directory_get_cur();
    std::string here = current ? string_to_std_utf8(current) : homeFolder();
    string_free(current);
    if (!start.empty() && start[0] != '/')
        start = withSlash(here) + start;
    if (start.empty() || !chooser->openFolder(start, false))
        if (!chooser->openFolder(here, false))
            chooser->openFolder("/", false);

    String* path = nullptr;
    int chosenFilter = filterIndex ? *filterIndex : 0;
    chooser->chosen = &path;
    chooser->chosenFilter = &chosenFilter;
    chooser->runModal(chooser->nameBox);
    if (path && filterIndex)
        *filterIndex = chosenFilter;
    return path;
}

void FileChooser::build(String const* title, bool save)
{
    saving = save;
    caption = title ? string_copy(title) : string_copy(save ? u"Save As"_str : u"Open"_str);
    setCaption(caption);
    NyCore::Graphics::Font* font = style->get$font();
    int h = fontHeight();
    int m = (2 * h) / 5;
    int row = (3 * h) / 2;
    int labelWidth = 0;
    for (String const* text : {u"Folder:"_str, u"Name:"_str, u"Type:"_str})
        labelWidth = std::max(labelWidth, font->measure(text) + m);
    int buttonWidth = 6 * h;
    int smallButton = 4 * h;
    int fieldX = m + labelWidth;
    auto label = [&](String const* text, int x, int y, int w, std::uint32_t anchors) {
        auto* made = static_cast<NyToolkit::Label*>(Widget::create(this, u"NyToolkit.Label", 0, x, y, w, row));
        made->set$textAlign(NyCore::Graphics::TextFlags::CenterVertical);
        made->setText(text);
        made->align(anchors);
        return made;
    };
    auto button = [&](String const* text, int x, int y, int w, std::uint32_t anchors) {
        auto* made = static_cast<DialogButton*>(
            Widget::create(this, u"NyUser.CommonDialogs.DialogButton", WF::TabStop, x, y, w, row));
        made->setLabel(text);
        made->align(anchors);
        return made;
    };

    // The folder row: its path, Up and Home.
    label(u"Folder:"_str, m, m, labelWidth, 0);
    int homeX = width - m - smallButton;
    int upX = homeX - m - smallButton;
    pathLabel = label(nullptr, fieldX, m, upX - m - fieldX, WF::AnchorWidth);
    NyCore::Object::link(button(u"Up"_str, upX, m, smallButton, WF::AnchorRight), this, u"click",
                         NY_METHOD(FileChooser::onUp));
    NyCore::Object::link(button(u"Home"_str, homeX, m, smallButton, WF::AnchorRight), this, u"click",
                         NY_METHOD(FileChooser::onHome));

    // The list between the folder row and the two rows at the bottom.
    int typeY = height - m - row;
    int nameY = typeY - m - row;
    int listY = m + row + m;
    list = static_cast<FolderList*>(Widget::create(this, u"NyUser.CommonDialogs.FolderList", WF::TabStop, m, listY,
                                                   width - 2 * m, nameY - m - listY));
    list->align(WF::AnchorWidth | WF::AnchorHeight);
    NyCore::Object::link(list, this, u"activate", NY_METHOD(FileChooser::onListActivate));
    NyCore::Object::link(list, this, u"selectionChange", NY_METHOD(FileChooser::onListSelection));

    // Name and Open or Save; type and Cancel.
    int buttonX = width - m - buttonWidth;
    int fieldWidth = buttonX - m - fieldX;
    label(u"Name:"_str, m, nameY, labelWidth, WF::AnchorBottom);
    nameBox = static_cast<DialogTextBox*>(Widget::create(this, u"NyUser.CommonDialogs.DialogTextBox", WF::TabStop,
                                                         fieldX, nameY, fieldWidth, row));
    nameBox->align(WF::AnchorBottom | WF::AnchorWidth);
    NyCore::Object::link(nameBox, this, u"enterPressed", NY_METHOD(FileChooser::onNameEntered));
    addButton(save ? u"Save"_str : u"Open"_str, 0, buttonX, nameY, buttonWidth, row)
        ->align(WF::AnchorBottom | WF::AnchorRight);
    label(u"Type:"_str, m, typeY, labelWidth, WF::AnchorBottom);
    filterList = static_cast<NyToolkit::DropList*>(Widget::create(this, u"NyUser.CommonDialogs.DialogDropList",
                                                                  WF::TabStop, fieldX, typeY, fieldWidth, row));
    filterList->align(WF::AnchorBottom | WF::AnchorWidth);
    for (int i = 0; i < filters->count(); ++i) {
        std::u16string const& description = filters->at(i).description;
        String* text = String::create(description.data(), 0, static_cast<int>(description.size()));
        filterList->get$contents()->append(text, nullptr, -1);
        string_free(text);
    }
    if (filters->count() == 0)
        filterList->get$contents()->append(u"All files"_str, nullptr, -1);
    filterList->update();
    addButton(u"Cancel"_str, 1, buttonX, typeY, buttonWidth, row)->align(WF::AnchorBottom | WF::AnchorRight);
}

bool FileChooser::openFolder(std::string const& path, bool report)
{
    std::string target = withSlash(fs::path(path).lexically_normal().string());
    std::error_code error;
    fs::directory_iterator walk(target, error);
    if (error) {
        if (report)
            tell("The folder \"" + target + "\" cannot be read: " + error.message() + ".");
        return false;
    }
    std::vector<Entry> folders;
    std::vector<Entry> files;
    int filter = filterList->get$selectedIndex();
    for (; !error && walk != fs::directory_iterator(); walk.increment(error)) {
        std::string name = walk->path().filename().string();
        if (name.empty() || name[0] == '.')
            continue;
        std::error_code kind;
        if (walk->is_directory(kind))
            folders.push_back({name, true});
        else if (filters->matches(filter, name))
            files.push_back({name, false});
    }
    auto byName = [](Entry const& a, Entry const& b) { return nameBefore(a.name, b.name); };
    std::sort(folders.begin(), folders.end(), byName);
    std::sort(files.begin(), files.end(), byName);
    folder = target;
    entries = std::move(folders);
    entries.insert(entries.end(), files.begin(), files.end());

    NyToolkit::ListContents* contents = list->get$contents();
    contents->clear();
    for (Entry const& entry : entries) {
        String* text = stringOf(entry.isFolder ? entry.name + "/" : entry.name);
        contents->append(text, nullptr, -1);
        string_free(text);
    }
    list->set$selectedIndex(-1);
    list->set$vscroll(0);
    list->refresh();
    String* shown = stringOf(folder);
    pathLabel->setText(shown);
    string_free(shown);
    placePath();
    return true;
}

void FileChooser::placePath()
{
    // A path too long for its row shows its end, the part that tells folders apart.
    bool tooLong = style->get$font()->measure(pathLabel->get$text()) > pathLabel->get$width();
    pathLabel->set$textAlign(NyCore::Graphics::TextFlags::CenterVertical |
                             (tooLong ? NyCore::Graphics::TextFlags::AlignRight : 0));
}

bool FileChooser::onResize(int dw, int dh)
{
    // The anchored controls have followed the window already.
    if (pathLabel)
        placePath();
    return CommonDialog::onResize(dw, dh);
}

void FileChooser::onUp()
{
    std::string here = folder.size() > 1 ? folder.substr(0, folder.size() - 1) : folder;
    fs::path above = fs::path(here).parent_path();
    std::string left = fs::path(here).filename().string();
    if (above.empty() || !openFolder(above.string()))
        return;
    // The folder just left stays chosen, so that going back down is one key.
    for (std::size_t i = 0; i < entries.size(); ++i)
        if (entries[i].isFolder && entries[i].name == left) {
            list->set$selectedIndex(static_cast<int>(i));
            list->showLine(static_cast<int>(i));
        }
}

void FileChooser::onHome()
{
    openFolder(homeFolder());
}

void FileChooser::onNameEntered()
{
    accept();
}

void FileChooser::onListActivate(int index)
{
    if (index < 0 || index >= static_cast<int>(entries.size()))
        return;
    Entry const entry = entries[static_cast<std::size_t>(index)];
    if (entry.isFolder) {
        openFolder(folder + entry.name);
        return;
    }
    String* name = stringOf(entry.name);
    nameBox->setText(name);
    string_free(name);
    accept();
}

void FileChooser::onListSelection(int index)
{
    if (index < 0 || index >= static_cast<int>(entries.size()) || entries[static_cast<std::size_t>(index)].isFolder)
        return;
    String* name = stringOf(entries[static_cast<std::size_t>(index)].name);
    nameBox->setText(name);
    string_free(name);
}

void FileChooser::onFilterChange(int)
{
    openFolder(folder);
}

void FileChooser::onButton(int number)
{
    if (number == 0)
        accept();
    else
        CommonDialog::onButton(number);
}

void FileChooser::accept()
{
    if (isEnding())
        return;
    String const* text = nameBox->get$text();
    choosePath(std::u16string(text->units(), static_cast<std::size_t>(text->count)));
}

void FileChooser::choosePath(std::u16string typed)
{
    // Blanks around a name are slips of the keyboard; '\' separates as '/' does.
    std::size_t first = typed.find_first_not_of(u" \t");
    std::size_t last = typed.find_last_not_of(u" \t");
    typed = first == std::u16string::npos ? std::u16string() : typed.substr(first, last - first + 1);
    std::replace(typed.begin(), typed.end(), u'\\', u'/');
    if (typed.empty()) {
        int selected = list->get$selectedIndex();
        if (selected >= 0 && entries[static_cast<std::size_t>(selected)].isFolder)
            onListActivate(selected);
        else
            tell("Type a file name, or choose a file from the list.");
        return;
    }
    std::string name = utf8Of(typed);
    if (name == "~" || name.rfind("~/", 0) == 0)
        name = homeFolder() + name.substr(name.size() > 1 ? 2 : 1);
    std::string path = fs::path(name[0] == '/' ? name : folder + name).lexically_normal().string();
    // A folder's path opens that folder instead.
    if (isFolder(path)) {
        if (openFolder(path))
            nameBox->setText(nullptr);
        return;
    }
    if (!saving) {
        if (!existsAtAll(path)) {
            tell("The file \"" + path + "\" does not exist.");
            return;
        }
        finish(path);
        return;
    }
    // Saving checks the name as it will be written, with the default extension.
    String* typedPath = stringOf(path);
    int filter = filterList->get$selectedIndex();
    std::u16string extension = filter >= 0 && filter < filters->count() ? filters->at(filter).defaultExtension
                                                                         : std::u16string();
    String* finalName = FileFilters::withDefaultExtension(typedPath, extension);
    std::string target = string_to_std_utf8(finalName);
    string_free(finalName);
    string_free(typedPath);
    std::string parentFolder = fs::path(target).parent_path().string();
    if (path.back() == '/' || !isFolder(parentFolder.empty() ? "/" : parentFolder)) {
        tell("The folder \"" + (path.back() == '/' ? path : withSlash(parentFolder)) + "\" does not exist.");
        return;
    }
    if (isFolder(target)) {
        openFolder(target);
        nameBox->setText(nullptr);
        return;
    }
    if (existsAtAll(target) && !askReplace(target))
        return;
    finish(target);
}

void FileChooser::tell(std::string const& message)
{
    String* text = stringOf(message);
    MsgWindow::show(this, caption, text, MsgWindow::Ok);
    string_free(text);
    // The name is what the user has to mend next.
    nameBox->focus();
}

bool FileChooser::askReplace(std::string const& path)
{
    String* text = stringOf("The file \"" + path + "\" already exists.\nDo you want to replace it?");
    int answer = MsgWindow::show(this, caption, text, MsgWindow::YesNo);
    string_free(text);
    if (answer != 0)
        nameBox->focus();
    return answer == 0;
}

void FileChooser::finish(std::string const& path)
{
    if (chosen)
        *chosen = stringOf(path);
    if (chosenFilter) {
        int offered = filterList->get$selectedIndex();
        if (offered >= 0 && offered < filters->count())
            *chosenFilter = filters->at(offered).source;
    }
    endDialog(0);
}

}
