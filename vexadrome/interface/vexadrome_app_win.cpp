// The main window: its menus built from static tables, the tab events that
// keep the application's document list in tab order, and the shortcuts.
#include "vexadrome/interface/vexadrome_app_win.h"

#include "nycore/graphics/font.h"
#include "nycore/system/event_loop.h"
#include "nycore/system/method_thunk.h"
#include "nycore/system/type.h"
#include "nycore/text/string_functions.h"
#include "nytoolkit/styles/icon_set.h"
#include "nytoolkit/styles/style.h"
#include "nytoolkit/text/text_kernel.h"
#include "nyuser/models/menu.h"
#include "nyuser/commondialogs/common_dialog.h"
#include "nyuser/models/menu_element.h"
#include "vexadrome/documents/command_doc.h"
#include "vexadrome/documents/graph_doc.h"
#include "vexadrome/interface/calculator_doc.h"
#include "vexadrome/interface/vexadrome_app.h"

namespace Vexadrome::Interface {

namespace {

using NyUser::Models::MenuItemData;
namespace Keys = NyCore::System::SystemKeys;
namespace Modifiers = NyCore::System::KeyModifiers;

constexpr std::int32_t End = -1000;
#define ROW(text, method, slot) {text##_str, method##_str, slot, -1}
#define SEPARATOR {nullptr, nullptr, 0, -1}
#define END {nullptr, nullptr, End, -1}

MenuItemData const FileNoneItems[] = {
    ROW(u"Open...", u"onOpen", 0), SEPARATOR,
    ROW(u"New Graph...", u"onNewGraph", 0), ROW(u"New Calculator...", u"onNewCalculator", 0),
    ROW(u"New Command...", u"onNewCommand", 0), SEPARATOR,
    ROW(u"Exit", u"onExit", 0), END};
MenuItemData const FileCalculatorItems[] = {
    ROW(u"Open...", u"onOpen", 0), ROW(u"Close", u"onViewClose", 1), SEPARATOR,
    ROW(u"New Graph...", u"onNewGraph", 0), ROW(u"New Calculator...", u"onNewCalculator", 0),
    ROW(u"New Command...", u"onNewCommand", 0), SEPARATOR,
    ROW(u"Save All", u"onSaveAll", 0), SEPARATOR,
    ROW(u"Exit", u"onExit", 0), END};
MenuItemData const FileFullItems[] = {
    ROW(u"Open...", u"onOpen", 0), ROW(u"Close", u"onViewClose", 1), SEPARATOR,
    ROW(u"New Graph...", u"onNewGraph", 0), ROW(u"New Calculator...", u"onNewCalculator", 0),
    ROW(u"New Command...", u"onNewCommand", 0), SEPARATOR,
    ROW(u"Save", u"onSaveCur", 0), ROW(u"Save As...", u"onSaveAs", 0), ROW(u"Save All", u"onSaveAll", 0), SEPARATOR,
    ROW(u"Exit", u"onExit", 0), END};
MenuItemData const GraphItems[] = {
    ROW(u"Move Camera", u"onMoveCamera", 3), ROW(u"Move Lights", u"onMoveLights", 3),
    ROW(u"Move Focus", u"onMoveFocus", 3), SEPARATOR,
    ROW(u"Toggle Axes", u"onToggleAxes", 3), SEPARATOR,
    ROW(u"Goto XY Plane", u"onGotoXY", 3), ROW(u"Goto YZ Plane", u"onGotoYZ", 3),
    ROW(u"Goto ZX Plane", u"onGotoZX", 3), SEPARATOR,
    ROW(u"Edit Lights...", u"onEditLights", 2), ROW(u"Edit Expressions...", u"onEditExprs", 2),
    ROW(u"Edit Options...", u"onEditGraph", 2), SEPARATOR,
    ROW(u"Export Image...", u"onExportImage", 3), END};
MenuItemData const CalculatorItems[] = {
    ROW(u"Clear Screen", u"onClearScreen", 2), ROW(u"View History", u"onViewHistory", 2), END};
MenuItemData const CommandItems[] = {ROW(u"Execute", u"onExecute", 2), END};
MenuItemData const HelpItems[] = {
    ROW(u"Help Topics", u"onHelpTopics", 0), SEPARATOR,
    ROW(u"Calculator Help", u"onHelpCalc", 0), ROW(u"Graphing Help", u"onHelpGraph", 0),
    ROW(u"Command Help", u"onHelpCmnd", 0), END};

struct SubMenuTable {
    NyCore::String const* caption;
    MenuItemData const* items;
};
SubMenuTable const SubMenuTables[VexadromeAppWin::MenuCount] = {
    {u"File"_str, FileNoneItems}, {u"File"_str, FileCalculatorItems}, {u"File"_str, FileFullItems},
    {u"Graph"_str, GraphItems}, {u"Calculator"_str, CalculatorItems}, {u"Command"_str, CommandItems},
    {u"Help"_str, HelpItems}};

// A shortcut: a letter (with Ctrl) or a system key, whether Shift is held,
// the slot and method it calls, and the text the menus show for it (none for
// the keys that have no menu entry).
struct Shortcut {
    int letter;
    int systemKey;
    bool shift;
    int slot;
    NyCore::String const* method;
    NyCore::String const* text;
};
Shortcut const Shortcuts[] = {
    {'o', 0, false, 0, u"onOpen"_str, u"Ctrl+O"_str},
    {'s', 0, false, 0, u"onSaveCur"_str, u"Ctrl+S"_str},
    {'s', 0, true, 0, u"onSaveAs"_str, u"Ctrl+Shift+S"_str},
    {'w', 0, false, 1, u"onViewClose"_str, u"Ctrl+W"_str},
    {'q', 0, false, 0, u"onExit"_str, u"Ctrl+Q"_str},
    {'n', 0, false, 0, u"onNewCalculator"_str, u"Ctrl+N"_str},
    {'n', 0, true, 0, u"onNewCommand"_str, u"Ctrl+Shift+N"_str},
    {'g', 0, false, 0, u"onNewGraph"_str, u"Ctrl+G"_str},
    {0, Keys::F1 - 4, false, 2, u"onExecute"_str, u"F5"_str},
    {0, Keys::F1, false, 0, u"onHelpTopics"_str, u"F1"_str},
    {9, 0, false, 1, u"onNextTab"_str, nullptr},
    {9, 0, true, 1, u"onPrevTab"_str, nullptr},
    {0, Keys::PageDown, false, 1, u"onNextTab"_str, nullptr},
    {0, Keys::PageUp, false, 1, u"onPrevTab"_str, nullptr},
};

// The shortcut text of the entry that calls `method`, or null.
NyCore::String const* shortcutText(NyCore::String const* method)
{
    for (Shortcut const& shortcut : Shortcuts)
        if (shortcut.text && string_compare(shortcut.method, method) == 0)
            return shortcut.text;
    return nullptr;
}

NyCore::MethodEntry const AppWinMethods[] = {
    {u"onViewClose", NY_METHOD(VexadromeAppWin::onViewClose)},
    {u"onNextTab", NY_METHOD(VexadromeAppWin::onNextTab)},
    {u"onPrevTab", NY_METHOD(VexadromeAppWin::onPrevTab)},
    {nullptr, nullptr},
};

}

NyCore::TypeData ApplicationAlreadyBoundException::MetaData = {
    &NyCore::Exception::MetaData, nullptr, u"Vexadrome.Interface.ApplicationAlreadyBoundException"_str,
    NyCore::NoMethods, NyCore::NoEvents, nullptr, sizeof(ApplicationAlreadyBoundException), 0, nullptr};

ApplicationAlreadyBoundException::ApplicationAlreadyBoundException()
    : Exception(u"Application reference already bound to this view"_str)
{
}

NyCore::TypeData VexadromeAppWin::MetaData = {&NyUser::Views::VSplitter::MetaData, nullptr,
                                              u"Vexadrome.Interface.VexadromeAppWin"_str, AppWinMethods,
                                              NyCore::NoEvents, &VexadromeAppWin::__create,
                                              sizeof(VexadromeAppWin), 0, nullptr};

NyCore::Object* VexadromeAppWin::__create()
{
    return new VexadromeAppWin();
}

VexadromeAppWin::~VexadromeAppWin()
{
    for (NyUser::Models::SubMenu*& menu : subMenus) {
        if (menu)
            menu->release();
        menu = nullptr;
    }
    if (menuRoot)
        menuRoot->release();
    if (icons)
        icons->release();
}

void VexadromeAppWin::onCreate()
{
    VSplitter::onCreate();
    set$background(Background);
    createAppMenu();
    int const fontHeight = get$style()->get$font()->get$height();
    menuBar = static_cast<NyUser::Menus::MenuBar*>(addChild(0, u"NyUser.Menus.MenuBar"_str, 0, fontHeight * 4 / 3));
    multiView = static_cast<NyUser::Views::MultiView*>(addChild(1, u"NyUser.Views.MultiView"_str, get$shareFlag(), 1));
    menuBar->set$menu(menuRoot);
    NyCore::Object::link(multiView, this, u"viewActivated", NY_METHOD(VexadromeAppWin::onViewActivate));
    NyCore::Object::link(multiView, this, u"viewClosed", NY_METHOD(VexadromeAppWin::onViewClosed));
    NyCore::Object::link(multiView, this, u"viewSwapped", NY_METHOD(VexadromeAppWin::onViewSwapped));
    NyCore::Object::link(multiView, this, u"closeClicked", NY_METHOD(VexadromeAppWin::onViewClose));
    // The menu bar watches first (it was made first), so open menus keep their keys.
    NyCore::System::Widget::watchKeys(this, &VexadromeAppWin::watchKey);
}

void VexadromeAppWin::createAppMenu()
{
    menuRoot = new NyUser::Models::MenuRoot();
    menuRoot->createObjectSlots(4);
    icons = NyToolkit::IconSet::load(u"icons/mainmenu.icons");
    for (int i = 0; i < MenuCount; ++i) {
        NyUser::Models::Menu* menu = NyUser::Models::Menu::createMenu(SubMenuTables[i].items);
        menu->set$icons(icons);
        for (int item = 0; item < menu->get$count(); ++item) {
            if (auto* entry = dynamic_cast<NyUser::Models::MenuItem*>(menu->getElement(item)))
                entry->set$shortcut(shortcutText(entry->get$method()));
        }
        subMenus[i] = new NyUser::Models::SubMenu(SubMenuTables[i].caption, menu);
        menu->release();
    }
    showMenus(FileNone, -1);
}

void VexadromeAppWin::showMenus(Menus file, int documentMenu)
{
    menuRoot->removeAll();
    menuRoot->append(subMenus[file]);
    if (documentMenu >= 0)
        menuRoot->append(subMenus[documentMenu]);
    menuRoot->append(subMenus[HelpMenu]);
    if (menuBar)
        menuBar->refresh();
}

bool VexadromeAppWin::suggestClose()
{
    if (application)
        application->onExit();
    else
        close();
    return true;
}

void VexadromeAppWin::set$application(VexadromeApp* app)
{
    if (application)
        NyCore::System::raiseException(new ApplicationAlreadyBoundException());
    application = app;
    menuRoot->setCallbackObject(WindowSlot, this);
    menuRoot->setCallbackObject(ApplicationSlot, app);
}

NyCore::Object* VexadromeAppWin::createNewView(NyCore::String const* typeName, NyCore::String const* title, int flags)
{
    // A missing class would be fatal in the multi-view: say no instead, so the caller can tell the user.
    if (!NyCore::Type::getType(typeName))
        return nullptr;
    return multiView->addChild(typeName, title, static_cast<std::uint32_t>(flags));
}

void VexadromeAppWin::setViewTitle(NyCore::Object* view, NyCore::String const* title)
{
    int index = multiView->getIndex(dynamic_cast<NyCore::System::Widget*>(view));
    if (index >= 0)
        multiView->setLabel(index, title);
}

int VexadromeAppWin::get$activeViewIndex() const
{
    return multiView ? multiView->get$activeViewIndex() : -1;
}

NyCore::System::Widget* VexadromeAppWin::getView(int index) const
{
    return multiView->getChild(index);
}

int VexadromeAppWin::get$viewCount() const
{
    return multiView->get$childCount();
}

void VexadromeAppWin::onViewClose()
{
    int index = get$activeViewIndex();
    if (index < 0 || !application || !application->checkIsSaved(index))
        return;
    multiView->closeChild(index);
}

// The document leaves the list (and is freed) before the neighbour's activation arrives.
void VexadromeAppWin::onViewClosed(int index)
{
    if (application)
        application->removeDocument(index);
    if (multiView->get$childCount() == 0) {
        menuRoot->setCallbackObject(DocumentSlot, nullptr);
        menuRoot->setCallbackObject(ViewSlot, nullptr);
        showMenus(FileNone, -1);
    }
}

void VexadromeAppWin::onViewActivate(int index)
{
    NyUser::Models::Document* document = application ? application->getDocument(index) : nullptr;
    NyCore::System::Widget* view = multiView->getChild(index);
    if (dynamic_cast<Documents::CommandDoc*>(document))
        showMenus(FileFull, CommandMenu);
    else if (dynamic_cast<Documents::GraphDoc*>(document))
        showMenus(FileFull, GraphMenu);
    else if (dynamic_cast<CalculatorDoc*>(document))
        showMenus(FileCalculator, CalculatorMenu);
    else
        showMenus(FileNone, -1);
    menuRoot->setCallbackObject(DocumentSlot, document);
    menuRoot->setCallbackObject(ViewSlot, view);
    // The activated view takes the keyboard (unless a dialog has it): the
    // tab strip hides the old view only after this, so no key goes astray.
    if (view && !NyUser::CommonDialogs::CommonDialog::get$current())
        view->focus();
}

void VexadromeAppWin::onViewSwapped(int from, int to)
{
    if (application)
        application->moveDocument(from, to);
}

void VexadromeAppWin::onNextTab()
{
    switchTab(1);
}

void VexadromeAppWin::onPrevTab()
{
    switchTab(-1);
}

void VexadromeAppWin::switchTab(int step)
{
    int count = multiView->get$childCount();
    if (count < 2)
        return;
    int next = ((get$activeViewIndex() + step) % count + count) % count;
    multiView->activate(next);
}

NyCore::String const* VexadromeAppWin::shortcutMethod(int code, int modifiers, int* slot)
{
    bool const shift = (modifiers & Modifiers::Shift) != 0;
    bool const ctrl = (modifiers & Modifiers::Ctrl) != 0;
    bool const character = (modifiers & Modifiers::Character) != 0;
    int const letter = character ? NyToolkit::TextKernel::chordLetter(code, modifiers) : 0;
    for (Shortcut const& shortcut : Shortcuts) {
        bool matches;
        if (shortcut.letter == 9)
            matches = character && ctrl && code == 9;
        else if (shortcut.letter)
            matches = letter == shortcut.letter;
        else if (shortcut.systemKey == Keys::PageDown || shortcut.systemKey == Keys::PageUp)
            matches = !character && ctrl && code == shortcut.systemKey;
        else
            matches = !character && !ctrl && code == shortcut.systemKey;
        if (matches && shortcut.shift == shift) {
            *slot = shortcut.slot;
            return shortcut.method;
        }
    }
    return nullptr;
}

// The handler runs from the event loop after the key, so that the dialogs it
// may open do not run inside the key's own dispatch.
bool VexadromeAppWin::watchKey(NyCore::System::Widget* watcher, int code, int modifiers)
{
    auto* window = static_cast<VexadromeAppWin*>(watcher);
    int slot = 0;
    NyCore::String const* method = shortcutMethod(code, modifiers, &slot);
    if (!method)
        return false;
    if (!(modifiers & Modifiers::Down))
        return true;
    NyCore::Object* target = window->menuRoot->getCallbackObject(slot);
    NyCore::Method handler = target ? target->getType()->getMethod(method->units()) : nullptr;
    // A shortcut whose handler does not exist here (Execute on a calculator) does nothing.
    if (handler)
        NyCore::System::EventLoop::postCall(target, handler);
    return true;
}

}
