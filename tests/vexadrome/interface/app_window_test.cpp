// The workbench's main window on a real X server: the menus per kind of tab,
// the shortcuts' keys, and the document list as tabs close.
#include <gtest/gtest.h>

#include "vexadrome/documents/command_doc.h"
#include "vexadrome/interface/calculator_doc.h"
#include "vexadrome/interface/interface_types.h"
#include "vexadrome/interface/vexadrome_app.h"
#include "vexadrome/interface/vexadrome_app_win.h"

#include <X11/keysym.h>

#include <string>

#include "nycore/system/event_loop.h"
#include "nycore/text/string_functions.h"
#include "nyuser/models/menu_element.h"
#include "tests/support/child_process.h"
#include "tests/support/run_until.h"
#include "tests/support/strings.h"
#include "tests/support/temp_folder.h"
#include "tests/support/windows.h"

using namespace TestSupport;
using Vexadrome::Interface::VexadromeApp;
using Vexadrome::Interface::VexadromeAppWin;
namespace Keys = NyCore::System::SystemKeys;
namespace Mods = NyCore::System::KeyModifiers;

namespace {

// The bar's menus and each one's entries with their shortcuts: "File[Open...=Ctrl+O,-,...] Help[...]".
std::string menuText(NyUser::Models::Menu* root)
{
    std::string text;
    for (int i = 0; i < root->get$count(); ++i) {
        auto* sub = static_cast<NyUser::Models::SubMenu*>(root->getElement(i));
        text += (i ? " " : "") + toUtf8(sub->get$text()) + "[";
        NyUser::Models::Menu* menu = sub->get$child();
        for (int j = 0; j < menu->get$count(); ++j) {
            auto* item = dynamic_cast<NyUser::Models::MenuItem*>(menu->getElement(j));
            text += (j ? "," : "") + (item ? toUtf8(item->get$text()) : std::string("-"));
            if (item && item->get$shortcut())
                text += "=" + toUtf8(item->get$shortcut());
        }
        text += "]";
    }
    return text;
}

class AppWindowTest : public WindowTest {
protected:
    void SetUp() override
    {
        WindowTest::SetUp();
        Vexadrome::Interface::registerInterfaceTypes();
        app = new VexadromeApp();
        app->startup();
        window = app->get$mainWindow();
        ASSERT_TRUE(runUntil([&] { return mapped(window); }));
    }
    void TearDown() override
    {
        window->close();
        runUntil([] { return true; });
        delete app;
    }
    void append(char16_t const* name, NyUser::Models::Document* document)
    {
        app->appendDocument(makeString(name), document);
        runUntil([] { return true; });
    }
    std::string titles()
    {
        std::string text;
        for (int i = 0; i < app->get$documentCount(); ++i)
            text += (i ? " " : "") + toUtf8(app->getDocument(i)->get$title());
        return text;
    }

    VexadromeApp* app = nullptr;
    VexadromeAppWin* window = nullptr;
};

}

TEST_F(AppWindowTest, MenusFollowTheActiveTabAndTheListFollowsCloses)
{
    std::string const help = "Help[Help Topics=F1,-,Calculator Help,Graphing Help,Command Help]";
    std::string const noneFile = "File[Open...=Ctrl+O,-,New Graph...=Ctrl+G,New Calculator...=Ctrl+N,"
                                 "New Command...=Ctrl+Shift+N,-,Exit=Ctrl+Q]";
    EXPECT_EQ(menuText(window->get$menuRoot()), noneFile + " " + help);
    append(u"Calc", new Vexadrome::Interface::CalculatorDoc(app));
    EXPECT_EQ(menuText(window->get$menuRoot()),
              "File[Open...=Ctrl+O,Close=Ctrl+W,-,New Graph...=Ctrl+G,New Calculator...=Ctrl+N,"
              "New Command...=Ctrl+Shift+N,-,Save All,-,Exit=Ctrl+Q] Calculator[Clear Screen,View History] " + help);
    append(u"Script", new Vexadrome::Documents::CommandDoc(app));
    EXPECT_EQ(menuText(window->get$menuRoot()),
              "File[Open...=Ctrl+O,Close=Ctrl+W,-,New Graph...=Ctrl+G,New Calculator...=Ctrl+N,"
              "New Command...=Ctrl+Shift+N,-,Save=Ctrl+S,Save As...=Ctrl+Shift+S,Save All,-,Exit=Ctrl+Q] "
              "Command[Execute=F5] " + help);
    EXPECT_EQ(window->get$menuRoot()->getCallbackObject(2), app->getDocument(1));
    EXPECT_EQ(window->get$menuRoot()->getCallbackObject(3), window->getView(1));

    // Ctrl+Page Up goes back to the calculator, whose menus return.
    key(XK_Control_L, true);
    tap(XK_Prior);
    key(XK_Control_L, false);
    ASSERT_TRUE(runUntil([&] { return window->get$activeViewIndex() == 0; }));
    EXPECT_EQ(window->get$menuRoot()->getCallbackObject(2), app->getDocument(0));

    // Moving the tab moves its document.
    window->get$multiView()->onTabMoved(0, 1);
    EXPECT_EQ(titles(), "Script Calc");
    window->get$multiView()->activate(1);
    // Ctrl+W closes the active (unmodified) calculator: list, slots and menus follow.
    key(XK_Control_L, true);
    tap(XK_w);
    key(XK_Control_L, false);
    ASSERT_TRUE(runUntil([&] { return app->get$documentCount() == 1; }));
    EXPECT_EQ(titles(), "Script");
    EXPECT_EQ(window->get$menuRoot()->getCallbackObject(2), app->getDocument(0));
    window->onViewClose();
    runUntil([] { return true; });
    EXPECT_EQ(app->get$documentCount(), 0);
    EXPECT_EQ(window->get$menuRoot()->getCallbackObject(2), nullptr);
    EXPECT_EQ(menuText(window->get$menuRoot()), noneFile + " " + help);
}

TEST(AppShortcuts, KeysMapToTheirHandlers)
{
    struct Case { int code; int modifiers; int slot; char const* method; } const cases[] = {
        {'o' - 'a' + 1, Mods::Ctrl | Mods::Character, 0, "onOpen"},
        {'s' - 'a' + 1, Mods::Ctrl | Mods::Character, 0, "onSaveCur"},
        {'s' - 'a' + 1, Mods::Ctrl | Mods::Shift | Mods::Character, 0, "onSaveAs"},
        {'n' - 'a' + 1, Mods::Ctrl | Mods::Shift | Mods::Character, 0, "onNewCommand"},
        {9, Mods::Ctrl | Mods::Character, 1, "onNextTab"},
        {9, Mods::Ctrl | Mods::Shift | Mods::Character, 1, "onPrevTab"},
        {Keys::F1 - 4, 0, 2, "onExecute"},
        {Keys::PageDown, Mods::Ctrl, 1, "onNextTab"},
        {'s', Mods::Character, -1, "<null>"},
        {Keys::PageDown, 0, -1, "<null>"},
    };
    for (auto const& c : cases) {
        int slot = -1;
        NyCore::String const* method = VexadromeAppWin::shortcutMethod(c.code, c.modifiers | Mods::Down, &slot);
        EXPECT_EQ(std::pair(slot, toUtf8(method)), std::pair(c.slot, std::string(c.method))) << c.method;
    }
}

TEST(AppProgram, ScreenshotOfTheWorkbenchWithAFileAndAFailingOne)
{
    ensureDisplay();
    TempFolder folder;
    writeBytes(folder.at("a.vexscr"), "<command title=\"A\">a = 1</command>");
    auto run = runVexadrome({folder.at("a.vexscr"), "--screenshot", folder.at("shot.png")});
    EXPECT_EQ(run.exitCode, 0) << run.errors;
    EXPECT_EQ(readBytes(folder.at("shot.png")).substr(1, 3), "PNG");
    // A file that fails is reported on standard error, not in a box that nobody
    // would answer: the picture is taken and the run fails.
    auto failed = runVexadrome({folder.at("a.vexscr"), folder.at("none.vexscr"), "--screenshot", folder.at("two.png")});
    EXPECT_EQ(failed.exitCode, 1);
    EXPECT_NE(failed.errors.find("vexadrome: Failed to open document.\n"), std::string::npos) << failed.errors;
    EXPECT_EQ(readBytes(folder.at("two.png")).substr(1, 3), "PNG");
}
