// VexadromeAppWin: the application's main window. A menu bar above a tabbed
// multi-view with one view per open document; the menus follow the active
// tab and call their handlers by name on the application, this window, the
// active document or the active view. The desktop's keyboard shortcuts work
// wherever the focus is in the window.
#pragma once

#include "nycore/system/exceptions.h"
#include "nyuser/menus/menu_bar.h"
#include "nyuser/models/menu_root.h"
#include "nyuser/views/multi_view.h"
#include "nyuser/views/v_splitter.h"

namespace Vexadrome::Interface {

class VexadromeApp;

class ApplicationAlreadyBoundException : public NyCore::Exception {
    NY_REFLECTIVE(ApplicationAlreadyBoundException)
public:
    ApplicationAlreadyBoundException();
};

class VexadromeAppWin : public NyUser::Views::VSplitter {
    NY_REFLECTIVE(VexadromeAppWin)
public:
    // The callback slots of the menu root.
    enum Slot { ApplicationSlot = 0, WindowSlot = 1, DocumentSlot = 2, ViewSlot = 3 };
    // The prebuilt submenus.
    enum Menus { FileNone, FileCalculator, FileFull, GraphMenu, CalculatorMenu, CommandMenu, HelpMenu, MenuCount };
    static constexpr std::uint32_t Background = 0xD2D2D2;

    VexadromeAppWin() = default;
    // Stops watching the keys and drops the menus and the icon set.
    ~VexadromeAppWin() override;
    static NyCore::Object* __create();

    void onCreate() override;
    // The window's close box (WM_DELETE_WINDOW): asked as "Exit" asks.
    bool suggestClose() override;

    // Binding a second application throws ApplicationAlreadyBoundException.
    void set$application(VexadromeApp* app);
    VexadromeApp* get$application() const { return application; }

    // A new view of the registered class in a new, activated tab; null when
    // no class of that name is registered.
    NyCore::Object* createNewView(NyCore::String const* typeName, NyCore::String const* title, int flags);
    void setViewTitle(NyCore::Object* view, NyCore::String const* title);
    int get$activeViewIndex() const;
    NyCore::System::Widget* getView(int index) const;
    int get$viewCount() const;

    // "Close" and the tab strip's close button: closes the active view once
    // the application agrees (it may offer to save).
    void onViewClose();
    void onViewActivate(int index);
    void onViewClosed(int index);
    void onViewSwapped(int from, int to);
    // Ctrl+Tab and Ctrl+Shift+Tab: the next or previous tab, wrapping.
    void onNextTab();
    void onPrevTab();

    NyUser::Views::MultiView* get$multiView() const { return multiView; }
    NyUser::Menus::MenuBar* get$menuBar() const { return menuBar; }
    NyUser::Models::MenuRoot* get$menuRoot() const { return menuRoot; }
    NyUser::Models::SubMenu* getSubMenu(Menus which) const { return subMenus[which]; }

    // The shortcut of a key as the key watcher sees it: the slot and method
    // it calls, or null when the key is no shortcut.
    static NyCore::String const* shortcutMethod(int code, int modifiers, int* slot);

private:
    static bool watchKey(NyCore::System::Widget* watcher, int code, int modifiers);
    void createAppMenu();
    // Puts "File" of the kind, the document's menu (if any) and "Help" on the root.
    void showMenus(Menus file, int documentMenu);
    void switchTab(int step);

    VexadromeApp* application = nullptr;
    NyToolkit::IconSet* icons = nullptr;
    NyUser::Views::MultiView* multiView = nullptr;
    NyUser::Menus::MenuBar* menuBar = nullptr;
    NyUser::Models::MenuRoot* menuRoot = nullptr;
    NyUser::Models::SubMenu* subMenus[MenuCount] = {};
};

}
