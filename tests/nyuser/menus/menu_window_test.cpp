// The menu bar and its pop-ups on a real display: opened and run by the mouse
// (along the bar, into cascades, presses outside and on separators) and by the
// keys (F10, Alt alone, the arrows, Enter, Escape), every handler running from
// the event loop after the pop-ups have gone; the layout and the pixels.
#include <gtest/gtest.h>

#include <X11/extensions/XTest.h>
#include <X11/keysym.h>

#include <algorithm>
#include <cstdlib>
#include <functional>
#include <regex>
#include <set>
#include <string>
#include <tuple>
#include <vector>

#include "nycore/graphics/color.h"
#include "nycore/graphics/font.h"
#include "nycore/system/event_loop.h"
#include "nycore/system/method_thunk.h"
#include "nytoolkit/text/text_box.h"
#include "nyuser/menus/menu_bar.h"
#include "nyuser/menus/pop_up_menu.h"
#include "nyuser/models/menu_root.h"
#include "tests/support/child_process.h"
#include "tests/support/forms.h"
#include "tests/support/screenshots.h"
#include "tests/support/strings.h"

using namespace NyUser::Menus;
using namespace NyUser::Models;
using NyCore::Graphics::Color;
using NyCore::System::WidgetRect;
using NyToolkit::Style;
using TestSupport::OwnedString;

namespace {

struct Step {
    std::function<bool()> ready;
    std::function<void()> act;
};

auto const always = [] { return true; };

// Plays the steps in order from the event loop, each once the one before has
// led to its `ready` state, until all are done and `done` holds.
testing::AssertionResult play(std::vector<Step> const& steps, std::function<bool()> const& done)
{
    std::size_t next = 0;
    if (TestSupport::runUntil([&] {
            while (next < steps.size() && steps[next].ready()) {
                steps[next++].act();
                XSync(TestSupport::display(), False);
            }
            return next == steps.size() && done();
        }))
        return testing::AssertionSuccess();
    return testing::AssertionFailure() << "stuck after " << next << " of " << steps.size() << " steps";
}

testing::AssertionResult step(std::function<void()> const& act, std::function<bool()> const& done)
{
    return play({{always, act}}, done);
}

// Keys to tap, each once the state the key before leads to holds.
using Walk = std::vector<std::pair<KeySym, std::function<bool()>>>;

testing::AssertionResult keys(Walk const& walk)
{
    std::vector<Step> steps;
    std::function<bool()> ready = always;
    for (auto const& [sym, then] : walk) {
        steps.push_back({ready, [sym] { TestSupport::tap(sym); }});
        ready = then;
    }
    return play(steps, ready);
}

WidgetRect screenRect(NyCore::System::Widget* widget)
{
    WidgetRect rect;
    widget->getScreenRect(&rect);
    return rect;
}

using Calls = std::vector<std::string>;

// The handlers of the entries. Each call notes its name and whether the
// menus had all gone by then and the call came from the event loop.
class Handlers : public NyCore::Object {
    NY_REFLECTIVE(Handlers)
public:
    void note(char const* name)
    {
        bool closed = !bar->get$popUp() && !bar->get$isActive() && NyCore::System::EventLoop::get$depth() > 0;
        for (unsigned long window : popUpWindows) {
            XWindowAttributes attributes;
            closed = closed && !(XGetWindowAttributes(TestSupport::display(), window, &attributes) &&
                                 attributes.map_state == IsViewable);
        }
        calls.push_back(std::string(name) + (closed ? "" : " (menus still open)"));
    }
    void onNew() { note("onNew"); }
    void onOpen() { note("onOpen"); }
    void onTwo() { note("onTwo"); }
    void onExit() { note("onExit"); }
    void onOther() { note("onOther"); }

    MenuBar* bar = nullptr;
    std::set<unsigned long> popUpWindows;
    Calls calls;
};

NyCore::MethodEntry const HandlerMethods[] = {
    {u"onNew", NY_METHOD(Handlers::onNew)},   {u"onOpen", NY_METHOD(Handlers::onOpen)},
    {u"onTwo", NY_METHOD(Handlers::onTwo)},   {u"onExit", NY_METHOD(Handlers::onExit)},
    {u"onOther", NY_METHOD(Handlers::onOther)}, {nullptr, nullptr}};
NyCore::TypeData Handlers::MetaData = {&NyCore::Object::MetaData, nullptr, u"Tests.MenuWindowHandlers"_str,
                                       HandlerMethods, NyCore::NoEvents, nullptr, sizeof(Handlers), 0, nullptr};

MenuItemData const End = {nullptr, nullptr, -1000, -1}, Separator = {nullptr, nullptr, 0, -1};
MenuItemData const FileRecords[] = {
    {u"New"_str, u"onNew"_str, 0, -1}, {u"Open..."_str, u"onOpen"_str, 0, -1}, Separator, Separator,
    {u"Exit"_str, u"onExit"_str, 0, -1}, End};
MenuItemData const RecentRecords[] = {{u"One"_str, u"onOther"_str, 0, -1}, {u"Two"_str, u"onTwo"_str, 0, -1}, End};
MenuItemData const EditRecords[] = {{u"Cut"_str, u"onOther"_str, 0, -1}, {u"Copy"_str, u"onOther"_str, 0, -1}, End};
MenuItemData const HelpRecords[] = {{u"About"_str, u"onOther"_str, 0, -1}, End};

// Bar entries: File, a separator, Edit, Help. File's rows: New, Open...,
// a separator, Recent (a cascade of One and Two), a separator, Exit.
enum { File = 0, BarSeparator = 1, Edit = 2, Help = 3 };
enum { New = 0, Open = 1, Recent = 3, Exit = 5 };

// A submenu of the records inserted into `menu` at `at`.
Menu* add(Menu* menu, int at, char16_t const* label, MenuItemData const* records)
{
    Menu* child = Menu::createMenu(records);
    menu->insertNew(at, new SubMenu(OwnedString(label), child));
    child->release();
    return child;
}

class MenuBarTest : public TestSupport::WindowTest {
protected:
    void SetUp() override
    {
        WindowTest::SetUp();
        TestSupport::registerOnce(&Handlers::MetaData);
        form = TestSupport::formFromText(u"<NyToolkit.Form w=\"360\" h=\"260\"><NyToolkit.TextBox id=\"box\" x=\"20\" "
                                         u"y=\"150\" w=\"200\" h=\"24\" flags=\"TabStop\"/></NyToolkit.Form>");
        box = TestSupport::child<NyToolkit::TextBox>(form, u"box");
        ASSERT_TRUE(box);
        bar = static_cast<MenuBar*>(NyCore::System::Widget::create(form, u"NyUser.Menus.MenuBar", 0, 0, 0, 360, 20));
        bar->setSize(360, fontHeight() * 4 / 3);
        root = Menu::createRoot(&End);
        root->setCallbackObject(root->createObjectSlots(1), &handlers);
        Menu* file = add(root, File, u"File", FileRecords);
        add(file, Recent, u"Recent", RecentRecords);
        static_cast<MenuItem*>(file->getElement(New))->set$shortcut(OwnedString(u"Ctrl+Shift+N"));
        static_cast<MenuItem*>(file->getElement(Exit))->set$shortcut(OwnedString(u"Alt+F4"));
        root->appendNew(nullptr);
        add(root, Edit, u"Edit", EditRecords);
        add(root, Help, u"Help", HelpRecords);
        bar->set$menu(root);
        handlers.bar = bar;
        box->focus();
        ASSERT_TRUE(TestSupport::runUntil([&] { return focused() == box; }));
    }

    void TearDown() override
    {
        if (form)
            form->close();
        TestSupport::runUntil(always);
        root->release();
    }

    int fontHeight() const { return bar->get$style()->get$font()->get$height(); }
    static NyCore::System::Widget* focused() { return NyCore::System::Widget::get$focused(); }

    // The pointer to the middle of bar entry i, and of row r of a pop-up.
    void toEntry(int i)
    {
        TestSupport::pointerTo(bar, (bar->get$coordinate(i) + bar->get$coordinate(i + 1)) / 2, bar->get$height() / 2);
    }
    static void toRow(PopUpMenu* popUp, int r, int x = -1)
    {
        TestSupport::pointerTo(popUp, x < 0 ? popUp->get$width() / 2 : x,
                               (popUp->get$coordinate(r) + popUp->get$coordinate(r + 1)) / 2);
    }

    // The bar's open pop-up, and its cascade, once shown; their windows are noted for the handlers.
    PopUpMenu* shown(PopUpMenu* popUp)
    {
        if (!popUp || !TestSupport::mapped(popUp))
            return nullptr;
        handlers.popUpWindows.insert(popUp->get$nativeWindow());
        return popUp;
    }
    PopUpMenu* menuOpen(int entry) { return bar->get$openIndex() == entry ? shown(bar->get$popUp()) : nullptr; }
    PopUpMenu* cascadeOpen() { return bar->get$popUp() ? shown(bar->get$popUp()->get$cascade()) : nullptr; }

    // States to wait for: the bar lit at `entry` with no menu open; menu
    // `entry` open at row r without cascade; the cascade open at row r.
    std::function<bool()> lit(int entry)
    {
        return [=, this] { return bar->get$isActive() && !bar->get$popUp() && bar->get$hoverIndex() == entry; };
    }
    std::function<bool()> row(int r, int entry = File)
    {
        return [=, this] {
            return menuOpen(entry) && !bar->get$popUp()->get$cascade() && bar->get$popUp()->get$highlighted() == r;
        };
    }
    std::function<bool()> cascadeRow(int r)
    {
        return [=, this] { return cascadeOpen() && cascadeOpen()->get$highlighted() == r; };
    }
    std::function<bool()> const closed = [this] { return !bar->get$popUp() && !bar->get$isActive(); };
    std::function<bool()> const called = [this] { return !handlers.calls.empty(); };

    // Handles the exposures that redraws asked for, so that pixels read back are current.
    static void drawn()
    {
        XSync(TestSupport::display(), False);
        NyCore::System::EventLoop::serviceEvents(nullptr);
        XSync(TestSupport::display(), False);
    }
    // A round of the event loop after which a wrongly posted call would have run.
    void settle()
    {
        NyCore::System::EventLoop::postCall(&handlers, NY_METHOD(Handlers::onNew));
        ASSERT_TRUE(step([] {}, [&] { return called() && handlers.calls.back().starts_with("onNew"); }));
        handlers.calls.pop_back();
    }

    NyToolkit::Form* form = nullptr;
    NyToolkit::TextBox* box = nullptr;
    MenuBar* bar = nullptr;
    MenuRoot* root = nullptr;
    Handlers handlers;
};

}

TEST_F(MenuBarTest, LayoutAndPixelsFollowTheFontAndMenusStayOnTheScreen)
{
    NyCore::Graphics::Font* font = bar->get$style()->get$font();
    auto measure = [&](char16_t const* text) { return font->measure(OwnedString(text)); };
    int h = fontHeight(), m = h / 5, gap = bar->get$style()->get$gap();
    std::vector<int> cells = {0}, rows = {m};
    for (char16_t const* label : std::vector<char16_t const*>{u"File", nullptr, u"Edit", u"Help"})
        cells.push_back(cells.back() + 3 * h / 4 + (label ? measure(label) : gap));
    for (bool separator : {false, false, true, false, true, false})
        rows.push_back(rows.back() + (separator ? gap + 2 * m : h * 4 / 3));
    for (int i = 0; i <= 4; ++i)
        EXPECT_EQ(bar->get$coordinate(i), cells[i]) << "bar cell " << i;

    // A lit bar entry has the highlight colour at 160 percent; an open one is drawn pressed.
    std::uint32_t const highlight = bar->getColor(Style::HighlightBackground), paper = bar->getColor(Style::Background);
    ASSERT_TRUE(keys({{XK_F10, lit(File)}}));
    drawn();
    TestSupport::expectPixels(bar->get$nativeWindow(), {{"lit entry", 2, 2, Color::scale(highlight, 160)}});
    ASSERT_TRUE(keys({{XK_Down, row(New)}}));
    drawn();
    TestSupport::expectPixels(bar->get$nativeWindow(), {{"pressed entry", 2, 2, highlight}});
    PopUpMenu* file = bar->get$popUp();
    TestSupport::expectPixels(file->get$nativeWindow(),
                              {{"lit row", 3, file->get$coordinate(New) + 2, highlight},
                               {"plain row", 3, file->get$coordinate(Open) + 2, paper},
                               {"separator", m + 2, file->get$coordinate(2) + m, bar->getColor(Style::Separator)}});
    // Rows from m on; the width has room for the widest label, the arrow and the widest shortcut.
    for (int i = 0; i <= 6; ++i)
        EXPECT_EQ(file->get$coordinate(i), rows[i]) << "pop-up row " << i;
    int arrow = bar->get$style()->getIcons(Style::HArrow)->get$width();
    EXPECT_EQ(file->get$width(),
              measure(u"Open...") + 8 * m + arrow + std::max(measure(u"Ctrl+Shift+N"), measure(u"Alt+F4")) + 2 * h);
    EXPECT_EQ(file->get$height(), rows.back() + m);

    // The shortcut texts of New (lit) and Exit end together at the right edge of the shortcut column.
    auto rightmostInk = [&](int r, std::uint32_t background) {
        int top = file->get$coordinate(r), w = file->get$width(), right = -1;
        std::vector<std::uint32_t> pixels =
            TestSupport::readPixels(file->get$nativeWindow(), 0, top + 2, w, file->get$coordinate(r + 1) - top - 4);
        for (std::size_t i = 0; i < pixels.size(); ++i)
            if (int x = static_cast<int>(i) % w; x > 2 && x < w - 3 && pixels[i] != background)
                right = std::max(right, x);
        return right;
    };
    int edge = file->get$shortcutRight();
    int plainRight = rightmostInk(Exit, paper);
    EXPECT_LE(std::abs(rightmostInk(New, highlight) - plainRight), 1);
    EXPECT_LT(plainRight, edge);
    EXPECT_GE(plainRight, edge - 3);

    // The pop-up opens below its entry, overlapping the bar by the gap, the
    // cascade beside its row. This is the picture of the documentation.
    Walk const toRecent = {{XK_Up, row(Exit)}, {XK_Up, row(Recent)}, {XK_Right, cascadeRow(0)}};
    ASSERT_TRUE(keys(toRecent));
    EXPECT_TRUE(TestSupport::saveScreenshot(form, "menu", 0, 0));
    WidgetRect barRect = screenRect(bar), fileRect = screenRect(file), cascadeRect = screenRect(file->get$cascade());
    EXPECT_EQ(std::pair(fileRect.x, fileRect.y), std::pair(barRect.x, barRect.y + bar->get$height() - gap));
    EXPECT_EQ(std::pair(cascadeRect.x, cascadeRect.y),
              std::pair(fileRect.x + file->get$width() + gap - m, fileRect.y + file->get$coordinate(Recent) - m));

    // The window moved so that both would reach past the screen's right edge:
    // the pop-up ends at the edge, the cascade opens on its left, mirrored.
    NyCore::System::WidgetPoint screen;
    NyCore::System::Widget::screenSize(&screen);
    int left = screen.x - file->get$width() / 2;
    ASSERT_TRUE(keys({{XK_F10, closed}}));
    ASSERT_TRUE(step([&] { form->setPosition(left, 40); }, [&] { return screenRect(form).x == left; }));
    ASSERT_TRUE(keys({{XK_F10, lit(File)}, {XK_Down, row(New)}}));
    ASSERT_TRUE(keys(toRecent));
    fileRect = screenRect(bar->get$popUp());
    cascadeRect = screenRect(bar->get$popUp()->get$cascade());
    EXPECT_EQ(fileRect.x + fileRect.width, screen.x);
    EXPECT_EQ(cascadeRect.x + cascadeRect.width, fileRect.x + m - gap);
    ASSERT_TRUE(keys({{XK_F10, closed}}));
}

TEST_F(MenuBarTest, MouseOpensFollowsAlongTheBarIntoCascadesAndRunsAfterClosing)
{
    PopUpMenu* file = nullptr;
    PopUpMenu* cascade = nullptr;
    auto fileOpen = [&] { return file = menuOpen(File); };
    auto clickOn = [&](int entry) { return [&, entry] { toEntry(entry); TestSupport::click(); }; };
    auto clickOutside = [&] { TestSupport::pointerTo(form, 300, 230); TestSupport::click(); };
    ASSERT_TRUE(play({{always, clickOn(File)},
                      {[&] { return menuOpen(File); }, [&] { toEntry(Edit); }},
                      {[&] { return menuOpen(Edit); }, [&] { toEntry(BarSeparator); }},
                      {always, [&] { toEntry(File); }},
                      {fileOpen, [&] { toRow(file, Open); }},
                      {row(Open), [] { TestSupport::click(); }}},
                     called));
    EXPECT_EQ(handlers.calls, Calls{"onOpen"});
    EXPECT_EQ(focused(), box);

    // Pressed on the bar, dragged down past the cascade and released over Exit: Exit runs.
    handlers.calls.clear();
    auto button = [](bool down) {
        return [down] { XTestFakeButtonEvent(TestSupport::display(), 1, down, CurrentTime); };
    };
    ASSERT_TRUE(play({{always, [&] { toEntry(File); button(true)(); }},
                      {fileOpen, [&] { toRow(file, Recent); }},
                      {[&] { return cascadeOpen(); }, [&] { toRow(file, Exit); }},
                      {row(Exit), button(false)}},
                     called));
    EXPECT_EQ(handlers.calls, Calls{"onExit"});
    // A plain click leaves the menu open: the release on the bar chooses nothing.
    ASSERT_TRUE(step(clickOn(Edit), [&] { return menuOpen(Edit); }));
    settle();
    EXPECT_TRUE(menuOpen(Edit));
    ASSERT_TRUE(step([&] { TestSupport::tap(XK_Escape); TestSupport::tap(XK_Escape); }, closed));

    // A press on the open entry closes its menu, a second press opens it again;
    // a press outside the bar and every pop-up closes it, and so does a press on
    // a separator row. Diagonally down-right from Recent across the separator and
    // Exit the cascade stays; straight down by more than a font height it goes;
    // back up into Recent it opens anew, and moving left out of its way closes it.
    handlers.calls.clear();
    int third = 0;
    ASSERT_TRUE(play({{always, clickOn(Help)},
                      {[&] { return menuOpen(Help); }, [] { TestSupport::click(); }},
                      {closed, [] { TestSupport::click(); }},
                      {[&] { return menuOpen(Help); }, clickOutside},
                      {closed, clickOn(File)},
                      {fileOpen, [&] { toRow(file, 2); TestSupport::click(); }},
                      {closed, clickOn(File)},
                      {fileOpen, [&] { toRow(file, Recent, third = file->get$width() / 3); }},
                      {[&] { return cascade = cascadeOpen(); }, [&] { toRow(file, 4, third + fontHeight()); }},
                      {always, [&] { toRow(file, Exit, file->get$width() - 3); }},
                      {always, [&] { toRow(cascade, 1); }},
                      {cascadeRow(1), [] { TestSupport::click(); }},
                      {called, clickOn(File)},
                      {fileOpen, [&] { toRow(file, Recent, 30); }},
                      {[&] { return cascadeOpen(); }, [&] { toRow(file, Exit, 30); }},
                      {row(Exit), [&] { toRow(file, Recent, 40); }},
                      {[&] { return cascadeOpen(); }, [&] { toRow(file, Open, 10); }},
                      {row(Open), clickOutside}},
                     closed));
    settle();
    EXPECT_EQ(handlers.calls, Calls{"onTwo"});
    EXPECT_EQ(bar->get$hoverIndex(), -1);
}

TEST_F(MenuBarTest, KeysLightTheBarAndWalkTheMenus)
{
    // The pointer rests away from the menus: the grabs' crossing reports must not undo what the keys light.
    ASSERT_TRUE(step([&] { TestSupport::pointerTo(form, 300, 230); }, always));
    // F10 lights File; Right skips the bar's separator, both arrows wrap; Escape ends it.
    ASSERT_TRUE(keys({{XK_F10, lit(File)}, {XK_Right, lit(Edit)}, {XK_Right, lit(Help)}, {XK_Right, lit(File)},
                      {XK_Left, lit(Help)}, {XK_Escape, closed}}));
    EXPECT_EQ(focused(), box);

    // Alt pressed and released alone toggles the bar; Alt with another key does not.
    ASSERT_TRUE(keys({{XK_Alt_L, lit(File)}, {XK_Alt_L, closed}}));
    TestSupport::key(XK_Alt_L, true);
    TestSupport::tap(XK_Down);
    TestSupport::key(XK_Alt_L, false);
    XSync(TestSupport::display(), False);
    settle();
    EXPECT_FALSE(bar->get$isActive());

    // Down opens File at New; Up wraps to Exit, Down wraps back; separators are skipped.
    ASSERT_TRUE(keys({{XK_F10, lit(File)}, {XK_Down, row(New)}, {XK_Up, row(Exit)}, {XK_Down, row(New)},
                      {XK_Down, row(Open)}, {XK_Down, row(Recent)}, {XK_Down, row(Exit)}, {XK_Up, row(Recent)}}));
    // Right opens the cascade at its first entry, Left closes it, Escape closes one level at a time.
    ASSERT_TRUE(keys({{XK_Right, cascadeRow(0)}, {XK_Down, cascadeRow(1)}, {XK_Left, row(Recent)},
                      {XK_Return, cascadeRow(0)}, {XK_Escape, row(Recent)}, {XK_Escape, lit(File)},
                      {XK_Escape, closed}}));

    // Right on an entry without cascade opens the next bar menu, Left the one before;
    // Enter runs the lit entry after the menus have closed. No key reached the text box.
    ASSERT_TRUE(keys({{XK_F10, lit(File)}, {XK_Return, row(New)}, {XK_Right, row(0, Edit)}, {XK_q, always},
                      {XK_Left, row(New)}, {XK_Down, row(Open)}, {XK_Return, called}}));
    settle();
    EXPECT_EQ(handlers.calls, Calls{"onOpen"});
    EXPECT_EQ(TestSupport::toUtf8(box->get$text()), "");
    EXPECT_EQ(focused(), box);
}

// Running an entry from the bar whose slot is empty, or whose menu has no
// root, ends the program with the exception's report. Each case runs in a
// new process of this program, which the environment tells what to do.
TEST_F(MenuBarTest, EntriesWithoutSlotOrRootAreFatalFromTheBar)
{
    char const* const CaseVariable = "VEXADROME_MENU_FATAL_CASE";
    if (char const* chosen = std::getenv(CaseVariable)) {
        Menu* plain = new Menu(); // a menu tree that never joined a root
        add(plain, File, u"File", FileRecords);
        if (std::string(chosen) == "root")
            bar->set$menu(plain);
        else
            root->setCallbackObject(0, nullptr);
        keys({{XK_F10, lit(File)}, {XK_Down, row(New)}, {XK_Down, row(Open)}, {XK_Return, closed}});
        settle();
        ADD_FAILURE() << "running the entry did not end the program";
        plain->release();
        return;
    }
    for (auto [which, type, message] :
         {std::tuple{"slot", "NoCallbackObjectException", "No object defined for callback slot 0"},
          std::tuple{"root", "NoRootMenuException", "No root menu defined"}}) {
        ::setenv(CaseVariable, which, 1);
        TestSupport::ChildResult result = TestSupport::runProgram(
            {TestSupport::programBesideTests("test_nyuser_menus"),
             "--gtest_filter=MenuBarTest.EntriesWithoutSlotOrRootAreFatalFromTheBar"},
            "");
        ::unsetenv(CaseVariable);
        std::regex const report("unhandeled exception:? NyUser.Models." + std::string(type) + "\n" + message + "\n");
        EXPECT_TRUE(result.exited && result.exitCode == 70) << which << "\n" << result.output << result.errors;
        EXPECT_TRUE(std::regex_search(result.output, report)) << which << "\n" << result.output;
    }
}

TEST_F(MenuBarTest, MenuIconsWidenThePopUpAndNewMenusCloseTheOpenOne)
{
    // The check icons stand in for a program's own: their column, the rows at
    // least four thirds of an icon high, and one reference held by the menu.
    NyToolkit::IconSet* icons = bar->get$style()->getIcons(Style::Check);
    ASSERT_TRUE(icons);
    Menu* edit = root->getSubMenu(Edit);
    int before = icons->get$referenceCount();
    edit->set$icons(icons);
    EXPECT_EQ(icons->get$referenceCount(), before + 1);
    edit->getElement(0)->set$icon(1);
    ASSERT_TRUE(step([&] { bar->openPopUp(Edit, true); }, [&] { return menuOpen(Edit); }));
    PopUpMenu* popUp = bar->get$popUp();
    int m = popUp->get$margin();
    NyCore::Graphics::Font* font = bar->get$style()->get$font();
    EXPECT_EQ(popUp->get$rowHeight(), std::max(fontHeight() * 4 / 3, icons->get$height() * 4 / 3));
    int label = std::max(font->measure(OwnedString(u"Copy")), font->measure(OwnedString(u"Cut")));
    EXPECT_EQ(popUp->get$width(), label + 10 * m + icons->get$width());
    drawn();
    std::uint32_t const background = bar->getColor(Style::Background);
    TestSupport::expectPixels(popUp->get$nativeWindow(),
                              {{"icon column", 2, popUp->get$height() - 2, Color::scale(background, 90)},
                               {"beside it", icons->get$width() + 4 * m + 2, popUp->get$height() - 2, background}});

    // A new colour redraws the bar anew and closes the open menu; so does another menu.
    ASSERT_TRUE(step([&] { bar->setColor(Style::HighlightBackground, 0x008000); }, closed));
    ASSERT_TRUE(step([&] { bar->openPopUp(Help, false); }, [&] { return menuOpen(Help); }));
    ASSERT_TRUE(step([&] { bar->set$menu(root); }, closed));
    edit->set$icons(nullptr);
    EXPECT_EQ(icons->get$referenceCount(), before);
}
