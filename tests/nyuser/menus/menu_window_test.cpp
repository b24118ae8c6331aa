// The menu bar and its pop-ups on a real display: opened and run by the
// mouse (following along the bar, cascades kept open on the way into them,
// presses outside and on separators) and by the keys (F10, Alt alone, the
// arrows, Enter, Escape), with every handler running from the event loop
// after the pop-ups have gone; the layout and the pixels of lit entries and
// right-aligned shortcuts.
#include <gtest/gtest.h>

#include <X11/extensions/XTest.h>
#include <X11/keysym.h>

#include <algorithm>
#include <cstdlib>
#include <functional>
#include <regex>
#include <string>
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
using NyToolkit::Style;

namespace {

struct Step {
    std::function<bool()> ready;
    std::function<void()> act;
};

bool always()
{
    return true;
}

// Plays the steps in order from the event loop, each once the one before has
// led to its `ready` state, until all are done and `done` holds.
bool play(std::vector<Step> const& steps, std::function<bool()> const& done)
{
    std::size_t next = 0;
    return TestSupport::runUntil([&] {
        while (next < steps.size() && steps[next].ready()) {
            steps[next++].act();
            XSync(TestSupport::display(), False);
        }
        return next == steps.size() && done();
    });
}

// One action, then the state it leads to.
bool step(std::function<void()> const& act, std::function<bool()> const& done)
{
    return play({{always, act}}, done);
}

// The handlers of every entry. Each call notes the entry and whether the
// menus had all gone by then and the call came from the event loop.
class Handlers : public NyCore::Object {
    NY_REFLECTIVE(Handlers)
public:
    void note(char const* name)
    {
        bool shown = std::any_of(popUpWindows.begin(), popUpWindows.end(), [](unsigned long window) {
            XWindowAttributes attributes;
            return XGetWindowAttributes(TestSupport::display(), window, &attributes) &&
                   attributes.map_state == IsViewable;
        });
        bool closed = !shown && !bar->get$popUp() && !bar->get$isActive() && NyCore::System::EventLoop::get$depth() > 0;
        calls.push_back(std::string(name) + (closed ? "" : " (menus still open)"));
    }
    void onNew() { note("onNew"); }
    void onOpen() { note("onOpen"); }
    void onOne() { note("onOne"); }
    void onTwo() { note("onTwo"); }
    void onExit() { note("onExit"); }
    void onCut() { note("onCut"); }
    void onAbout() { note("onAbout"); }

    MenuBar* bar = nullptr;
    std::vector<unsigned long> popUpWindows;
    std::vector<std::string> calls;
};

NyCore::MethodEntry const HandlerMethods[] = {
    {u"onNew", NY_METHOD(Handlers::onNew)},   {u"onOpen", NY_METHOD(Handlers::onOpen)},
    {u"onOne", NY_METHOD(Handlers::onOne)},   {u"onTwo", NY_METHOD(Handlers::onTwo)},
    {u"onExit", NY_METHOD(Handlers::onExit)}, {u"onCut", NY_METHOD(Handlers::onCut)},
    {u"onAbout", NY_METHOD(Handlers::onAbout)}, {nullptr, nullptr}};
NyCore::TypeData Handlers::MetaData = {&NyCore::Object::MetaData, nullptr, u"Tests.MenuWindowHandlers"_str,
                                       HandlerMethods, NyCore::NoEvents, nullptr, sizeof(Handlers), 0, nullptr};

MenuItemData const FileRecords[] = {{u"New"_str, u"onNew"_str, 0, -1},   {u"Open..."_str, u"onOpen"_str, 0, -1},
                                    {nullptr, nullptr, 0, -1},            {u"Recent"_str, nullptr, 0, -1},
                                    {nullptr, nullptr, 0, -1},            {u"Exit"_str, u"onExit"_str, 0, -1},
                                    {nullptr, nullptr, -1000, -1}};
MenuItemData const RecentRecords[] = {{u"One"_str, u"onOne"_str, 0, -1}, {u"Two"_str, u"onTwo"_str, 0, -1},
                                      {nullptr, nullptr, -1000, -1}};
MenuItemData const EditRecords[] = {{u"Cut"_str, u"onCut"_str, 0, -1}, {u"Copy"_str, u"onCut"_str, 0, -1},
                                    {nullptr, nullptr, -1000, -1}};
MenuItemData const HelpRecords[] = {{u"About"_str, u"onAbout"_str, 0, -1}, {nullptr, nullptr, -1000, -1}};
MenuItemData const NoRecords[] = {{nullptr, nullptr, -1000, -1}};

// Bar entries: File, a separator, Edit, Help. File's rows: New, Open...,
// a separator, Recent (a cascade of One and Two), a separator, Exit.
enum { File = 0, BarSeparator = 1, Edit = 2, Help = 3 };
enum { New = 0, Open = 1, Recent = 3, Exit = 5 };

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
        root = Menu::createRoot(NoRecords);
        root->setCallbackObject(root->createObjectSlots(1), &handlers);
        Menu* file = Menu::createMenu(FileRecords);
        Menu* recent = Menu::createMenu(RecentRecords);
        file->remove(Recent);
        file->insertNew(Recent, new SubMenu(TestSupport::OwnedString(u"Recent"), recent));
        static_cast<MenuItem*>(file->getElement(New))->set$shortcut(TestSupport::OwnedString(u"Ctrl+Shift+N"));
        static_cast<MenuItem*>(file->getElement(Exit))->set$shortcut(TestSupport::OwnedString(u"Alt+F4"));
        root->appendNew(new SubMenu(TestSupport::OwnedString(u"File"), file));
        root->appendNew(nullptr);
        Menu* edit = Menu::createMenu(EditRecords);
        root->appendNew(new SubMenu(TestSupport::OwnedString(u"Edit"), edit));
        Menu* help = Menu::createMenu(HelpRecords);
        root->appendNew(new SubMenu(TestSupport::OwnedString(u"Help"), help));
        for (Menu* menu : {file, recent, edit, help})
            menu->release();
        bar->set$menu(root);
        handlers.bar = bar;
        box->focus();
        ASSERT_TRUE(TestSupport::runUntil([&] { return NyCore::System::Widget::get$focused() == box; }));
    }

    void TearDown() override
    {
        if (form)
            form->close();
        TestSupport::runUntil(always);
        root->release();
    }

    int fontHeight() const { return bar->get$style()->get$font()->get$height(); }

    // The middle of bar entry i, and of row r of a pop-up.
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
        if (std::find(handlers.popUpWindows.begin(), handlers.popUpWindows.end(), popUp->get$nativeWindow()) ==
            handlers.popUpWindows.end())
            handlers.popUpWindows.push_back(popUp->get$nativeWindow());
        return popUp;
    }
    PopUpMenu* menuOpen(int entry) { return bar->get$openIndex() == entry ? shown(bar->get$popUp()) : nullptr; }
    PopUpMenu* cascadeOpen()
    {
        return bar->get$popUp() ? shown(bar->get$popUp()->get$cascade()) : nullptr;
    }
    bool allClosed() const { return !bar->get$popUp() && !bar->get$isActive(); }
    bool ran(std::vector<std::string> const& expected) const { return handlers.calls == expected; }
    // A round of the event loop after which a wrongly posted call would have run.
    void settle()
    {
        bool done = false;
        NyCore::System::EventLoop::postCall(&handlers, NY_METHOD(Handlers::onNew));
        step([] {}, [&] { return done = !handlers.calls.empty() && handlers.calls.back().starts_with("onNew"); });
        EXPECT_TRUE(done);
        if (done)
            handlers.calls.pop_back();
    }

    NyToolkit::Form* form = nullptr;
    NyToolkit::TextBox* box = nullptr;
    MenuBar* bar = nullptr;
    MenuRoot* root = nullptr;
    Handlers handlers;
};

}

TEST_F(MenuBarTest, BarAndPopUpLayoutFollowTheFont)
{
    NyCore::Graphics::Font* font = bar->get$style()->get$font();
    int h = fontHeight();
    int gap = bar->get$style()->get$gap();
    std::vector<int> expected = {0};
    for (char16_t const* label : std::vector<char16_t const*>{u"File", nullptr, u"Edit", u"Help"})
        expected.push_back(expected.back() + 3 * h / 4 + (label ? font->measure(TestSupport::OwnedString(label)) : gap));
    std::vector<int> actual;
    for (int i = 0; i <= 4; ++i)
        actual.push_back(bar->get$coordinate(i));
    EXPECT_EQ(actual, expected);

    ASSERT_TRUE(step([&] { bar->openPopUp(File, false); }, [&] { return menuOpen(File); }));
    PopUpMenu* popUp = bar->get$popUp();
    int m = h / 5;
    int row = h * 4 / 3;
    int separator = gap + 2 * m;
    // Rows from m on; the width has room for the widest label, the arrow and the widest shortcut.
    std::vector<int> rows = {m, m + row, m + 2 * row, m + 2 * row + separator, m + 3 * row + separator,
                             m + 3 * row + 2 * separator, m + 4 * row + 2 * separator};
    std::vector<int> actualRows;
    for (int i = 0; i <= 6; ++i)
        actualRows.push_back(popUp->get$coordinate(i));
    EXPECT_EQ(actualRows, rows);
    int arrow = bar->get$style()->getIcons(Style::HArrow)->get$width();
    int widestShortcut = std::max(font->measure(TestSupport::OwnedString(u"Ctrl+Shift+N")),
                                  font->measure(TestSupport::OwnedString(u"Alt+F4")));
    EXPECT_EQ(popUp->get$width(),
              font->measure(TestSupport::OwnedString(u"Open...")) + 6 * m + 2 * m + arrow + widestShortcut + 2 * h);
    EXPECT_EQ(popUp->get$height(), rows.back() + m);
    // Below the entry, overlapping the bar by the gap.
    NyCore::System::WidgetRect barRect, popUpRect;
    bar->getScreenRect(&barRect);
    popUp->getScreenRect(&popUpRect);
    EXPECT_EQ(popUpRect.x, barRect.x + bar->get$coordinate(File));
    EXPECT_EQ(popUpRect.y, barRect.y + bar->get$height() - gap);

    // The cascade opens beside its row.
    ASSERT_TRUE(step([&] { popUp->openCascade(Recent, false); }, [&] { return cascadeOpen(); }));
    NyCore::System::WidgetRect cascadeRect;
    popUp->get$cascade()->getScreenRect(&cascadeRect);
    EXPECT_EQ(cascadeRect.x, popUpRect.x + popUp->get$width() + gap - m);
    EXPECT_EQ(cascadeRect.y, popUpRect.y + popUp->get$coordinate(Recent) - m);
    ASSERT_TRUE(step([&] { bar->deactivate(); }, [&] { return allClosed(); }));
}

TEST_F(MenuBarTest, MouseOpensFollowsAlongTheBarAndRunsAfterClosing)
{
    PopUpMenu* file = nullptr;
    ASSERT_TRUE(play({{always, [&] { toEntry(File); TestSupport::click(); }},
                      {[&] { return menuOpen(File); }, [&] { toEntry(Edit); }},
                      {[&] { return menuOpen(Edit); }, [&] { toEntry(BarSeparator); }},
                      {always, [&] { toEntry(File); }},
                      {[&] { return file = menuOpen(File); }, [&] { toRow(file, Open); }},
                      {[&] { return file->get$highlighted() == Open; }, [&] { TestSupport::click(); }}},
                     [&] { return !handlers.calls.empty(); }));
    EXPECT_TRUE(ran({"onOpen"}));
    EXPECT_TRUE(allClosed());
    EXPECT_EQ(NyCore::System::Widget::get$focused(), box);

    // Pressed on the bar, dragged down and released over Exit: Exit runs.
    handlers.calls.clear();
    auto button = [](bool down) { XTestFakeButtonEvent(TestSupport::display(), 1, down, CurrentTime); };
    ASSERT_TRUE(play({{always, [&] { toEntry(File); button(true); }},
                      {[&] { return file = menuOpen(File); }, [&] { toRow(file, Recent); }},
                      {[&] { return cascadeOpen(); }, [&] { toRow(file, Exit); }},
                      {[&] { return file->get$highlighted() == Exit; }, [&] { button(false); }}},
                     [&] { return !handlers.calls.empty(); }));
    EXPECT_TRUE(ran({"onExit"}));
    // A plain click leaves the menu open: the release on the bar chooses nothing.
    ASSERT_TRUE(step([&] { toEntry(Edit); TestSupport::click(); }, [&] { return menuOpen(Edit); }));
    settle();
    EXPECT_TRUE(menuOpen(Edit));
    ASSERT_TRUE(step([&] { TestSupport::tap(XK_Escape); TestSupport::tap(XK_Escape); }, [&] { return allClosed(); }));

    // A press on the open entry closes its menu, a second press opens it again;
    // a press outside the bar and every pop-up closes it and runs nothing.
    handlers.calls.clear();
    ASSERT_TRUE(play({{always, [&] { toEntry(Help); TestSupport::click(); }},
                      {[&] { return menuOpen(Help); }, [&] { TestSupport::click(); }},
                      {[&] { return allClosed(); }, [&] { TestSupport::click(); }},
                      {[&] { return menuOpen(Help); }, [&] { TestSupport::pointerTo(form, 300, 230); TestSupport::click(); }}},
                     [&] { return allClosed(); }));
    settle();
    EXPECT_TRUE(ran({}));

    // A press on a separator row closes the chain and runs nothing either.
    ASSERT_TRUE(play({{always, [&] { toEntry(File); TestSupport::click(); }},
                      {[&] { return file = menuOpen(File); }, [&] { toRow(file, 2); TestSupport::click(); }}},
                     [&] { return allClosed(); }));
    settle();
    EXPECT_TRUE(ran({}));
    EXPECT_EQ(bar->get$hoverIndex(), -1);
}

TEST_F(MenuBarTest, CascadeStaysOpenOnTheWayIntoIt)
{
    PopUpMenu* file = nullptr;
    PopUpMenu* cascade = nullptr;
    int h = fontHeight();
    // Diagonally down-right from Recent across the separator and Exit: the cascade stays.
    ASSERT_TRUE(play({{always, [&] { toEntry(File); TestSupport::click(); }},
                      {[&] { return file = menuOpen(File); }, [&] { toRow(file, Recent, file->get$width() / 3); }},
                      {[&] { return cascade = cascadeOpen(); }, [&] { toRow(file, 4, file->get$width() / 3 + h); }},
                      {always, [&] { toRow(file, Exit, file->get$width() - 3); }},
                      {always, [&] { toRow(cascade, 1); }},
                      {[&] { return cascade->get$highlighted() == 1; }, [&] { TestSupport::click(); }}},
                     [&] { return !handlers.calls.empty(); }));
    EXPECT_TRUE(ran({"onTwo"}));
    EXPECT_TRUE(allClosed());

    // Straight down from Recent by more than a font height: Exit is lit and the cascade goes.
    handlers.calls.clear();
    ASSERT_TRUE(play({{always, [&] { toEntry(File); TestSupport::click(); }},
                      {[&] { return file = menuOpen(File); }, [&] { toRow(file, Recent, 30); }},
                      {[&] { return cascadeOpen(); }, [&] { toRow(file, Exit, 30); }}},
                     [&] { return file->get$highlighted() == Exit && !file->get$cascade(); }));
    // Moving up again into Recent opens it anew; moving left out of the cascade's way closes it at Open.
    ASSERT_TRUE(play({{always, [&] { toRow(file, Recent, 40); }},
                      {[&] { return cascadeOpen(); }, [&] { toRow(file, Open, 10); }}},
                     [&] { return file->get$highlighted() == Open && !file->get$cascade(); }));
    ASSERT_TRUE(step([&] { TestSupport::pointerTo(form, 300, 230); TestSupport::click(); }, [&] { return allClosed(); }));
    settle();
    EXPECT_TRUE(ran({}));
}

TEST_F(MenuBarTest, KeysLightTheBarAndWalkTheMenus)
{
    auto press = [](KeySym sym) { return [sym] { TestSupport::tap(sym); }; };
    PopUpMenu* file = nullptr;
    // F10 lights File; Right skips the bar's separator and wraps; Escape ends it.
    std::vector<int> lit;
    auto note = [&] { lit.push_back(bar->get$hoverIndex()); };
    // The pointer rests away from the menus: the grabs' crossing reports must not undo what the keys light.
    ASSERT_TRUE(step([&] { TestSupport::pointerTo(form, 300, 230); }, always));
    ASSERT_TRUE(play({{always, press(XK_F10)},
                      {[&] { return bar->get$isActive(); }, [&] { note(); TestSupport::tap(XK_Right); }},
                      {[&] { return bar->get$hoverIndex() == Edit; }, [&] { note(); TestSupport::tap(XK_Right); }},
                      {[&] { return bar->get$hoverIndex() == Help; }, [&] { note(); TestSupport::tap(XK_Right); }},
                      {[&] { return bar->get$hoverIndex() == File; }, [&] { note(); TestSupport::tap(XK_Left); }},
                      {[&] { return bar->get$hoverIndex() == Help; }, [&] { note(); TestSupport::tap(XK_Escape); }}},
                     [&] { return allClosed(); }));
    EXPECT_EQ(lit, (std::vector<int>{File, Edit, Help, File, Help}));
    EXPECT_EQ(NyCore::System::Widget::get$focused(), box);

    // Alt pressed and released alone toggles the bar; Alt with another key does not.
    ASSERT_TRUE(step(press(XK_Alt_L), [&] { return bar->get$isActive() && bar->get$hoverIndex() == File; }));
    ASSERT_TRUE(step(press(XK_Alt_L), [&] { return allClosed(); }));
    ASSERT_TRUE(step([] { TestSupport::key(XK_Alt_L, true); TestSupport::tap(XK_Down); TestSupport::key(XK_Alt_L, false); },
                     always));
    settle();
    EXPECT_FALSE(bar->get$isActive());

    // Down opens File at New; Up wraps to Exit, Down wraps back; separators are skipped.
    std::vector<int> rows;
    auto noteRow = [&] { rows.push_back(file->get$highlighted()); };
    auto at = [&](int row) { return [&, row] { return file && file->get$highlighted() == row; }; };
    ASSERT_TRUE(play({{always, press(XK_F10)},
                      {[&] { return bar->get$isActive(); }, press(XK_Down)},
                      {[&] { return (file = menuOpen(File)) && file->get$highlighted() == New; }, [&] { noteRow(); TestSupport::tap(XK_Up); }},
                      {at(Exit), [&] { noteRow(); TestSupport::tap(XK_Down); }},
                      {at(New), [&] { noteRow(); TestSupport::tap(XK_Down); }},
                      {at(Open), [&] { noteRow(); TestSupport::tap(XK_Down); }},
                      {at(Recent), [&] { noteRow(); TestSupport::tap(XK_Down); }},
                      {at(Exit), [&] { noteRow(); TestSupport::tap(XK_Up); }}},
                     at(Recent)));
    EXPECT_EQ(rows, (std::vector<int>{New, Exit, New, Open, Recent, Exit}));

    // Right opens the cascade at its first entry, Left closes it, Escape closes one level at a time.
    PopUpMenu* cascade = nullptr;
    ASSERT_TRUE(play({{always, press(XK_Right)},
                      {[&] { return (cascade = cascadeOpen()) && cascade->get$highlighted() == 0; }, press(XK_Down)},
                      {[&] { return cascade->get$highlighted() == 1; }, press(XK_Left)},
                      {[&] { return !file->get$cascade() && file->get$highlighted() == Recent; }, press(XK_Return)},
                      {[&] { return (cascade = cascadeOpen()) && cascade->get$highlighted() == 0; }, press(XK_Escape)},
                      {[&] { return !file->get$cascade(); }, press(XK_Escape)}},
                     [&] { return !bar->get$popUp() && bar->get$isActive() && bar->get$hoverIndex() == File; }));
    ASSERT_TRUE(step(press(XK_Escape), [&] { return allClosed(); }));
    EXPECT_EQ(NyCore::System::Widget::get$focused(), box);

    // Right on an entry without cascade opens the next bar menu, Left the one before;
    // Enter runs the lit entry after the menus have closed. No key reached the text box.
    PopUpMenu* edit = nullptr;
    ASSERT_TRUE(play({{always, press(XK_F10)},
                      {[&] { return bar->get$isActive(); }, press(XK_Return)},
                      {[&] { return menuOpen(File); }, press(XK_Right)},
                      {[&] { return (edit = menuOpen(Edit)) && edit->get$highlighted() == 0; }, press(XK_q)},
                      {always, press(XK_Left)},
                      {[&] { return (file = menuOpen(File)) && file->get$highlighted() == New; }, press(XK_Down)},
                      {at(Open), press(XK_Return)}},
                     [&] { return !handlers.calls.empty(); }));
    settle();
    EXPECT_TRUE(ran({"onOpen"}));
    EXPECT_EQ(TestSupport::toUtf8(box->get$text()), "");
    EXPECT_EQ(NyCore::System::Widget::get$focused(), box);
}

TEST_F(MenuBarTest, LitEntriesAndRightAlignedShortcutsByPixel)
{
    ASSERT_TRUE(step([] { TestSupport::tap(XK_F10); }, [&] { return bar->get$hoverIndex() == File; }));
    // A lit bar entry: the highlight colour at 160 percent inside its outline.
    std::uint32_t hover = NyCore::Graphics::Color::scale(bar->getColor(Style::HighlightBackground), 160);
    TestSupport::expectPixels(bar->get$nativeWindow(),
                              {{"lit entry", 2, 2, hover},
                               {"its outline", 0, 2, bar->getColor(Style::HighlightBackground)},
                               {"Edit unlit", bar->get$coordinate(Edit) + 2, 2, bar->getColor(Style::Background)}});
    PopUpMenu* file = nullptr;
    ASSERT_TRUE(step([] { TestSupport::tap(XK_Down); }, [&] { return (file = menuOpen(File)); }));
    // The open entry is drawn pressed; New is lit in the pop-up, Open is not.
    int m = file->get$margin();
    TestSupport::expectPixels(bar->get$nativeWindow(), {{"pressed entry", 2, 2, bar->getColor(Style::HighlightBackground)}});
    int newTop = file->get$coordinate(New);
    int openTop = file->get$coordinate(Open);
    TestSupport::expectPixels(file->get$nativeWindow(),
                              {{"lit row", 3, newTop + 2, bar->getColor(Style::HighlightBackground)},
                               {"lit row outline", 1, newTop + 2, bar->getColor(Style::HighlightFrame)},
                               {"plain row", 3, openTop + 2, bar->getColor(Style::Background)},
                               {"frame", 0, openTop + 2, bar->getColor(Style::Frame)},
                               {"separator", m + 2, file->get$coordinate(2) + m, bar->getColor(Style::Separator)}});

    // The shortcut texts of New (lit) and Exit end at the same right edge, short of the arrow column.
    auto rightmostInk = [&](int row, std::uint32_t paper) {
        int top = file->get$coordinate(row);
        int rowHeight = file->get$coordinate(row + 1) - top;
        std::vector<std::uint32_t> pixels =
            TestSupport::readPixels(file->get$nativeWindow(), 0, top + 2, file->get$width(), rowHeight - 4);
        int right = -1;
        for (std::size_t i = 0; i < pixels.size(); ++i) {
            int x = static_cast<int>(i % static_cast<std::size_t>(file->get$width()));
            if (x > 2 && x < file->get$width() - 3 && pixels[i] != paper)
                right = std::max(right, x);
        }
        return right;
    };
    int edge = file->get$shortcutRight();
    int litRight = rightmostInk(New, bar->getColor(Style::HighlightBackground));
    int plainRight = rightmostInk(Exit, bar->getColor(Style::Background));
    EXPECT_LE(std::abs(litRight - plainRight), 1);
    EXPECT_LT(plainRight, edge);
    EXPECT_GE(plainRight, edge - 3);
    EXPECT_LT(edge + 2 * m, file->get$width() - bar->get$style()->getIcons(Style::HArrow)->get$width());

    // The picture of the documentation: the bar, File open and the Recent cascade.
    PopUpMenu* cascade = nullptr;
    ASSERT_TRUE(play({{always, [] { TestSupport::tap(XK_Up); }},
                      {[&] { return file->get$highlighted() == Exit; }, [] { TestSupport::tap(XK_Up); }},
                      {[&] { return file->get$highlighted() == Recent; }, [] { TestSupport::tap(XK_Right); }}},
                     [&] { return (cascade = cascadeOpen()) && cascade->get$highlighted() == 0; }));
    EXPECT_TRUE(TestSupport::saveScreenshot(form, "menu", 0, 0));
    ASSERT_TRUE(step([] { TestSupport::tap(XK_F10); }, [&] { return allClosed(); }));
}

// Running an entry from the bar whose slot is empty, or whose menu has no
// root, ends the program with the exception's report. Each case runs in a
// new process of this program, which the environment tells what to do.
TEST_F(MenuBarTest, EntriesWithoutSlotOrRootAreFatalFromTheBar)
{
    char const* const CaseVariable = "VEXADROME_MENU_FATAL_CASE";
    if (char const* chosen = std::getenv(CaseVariable)) {
        std::string const which = chosen;
        Menu* plain = nullptr;
        if (which == "root") {
            // The bar shows a menu tree that never joined a root.
            plain = new Menu();
            Menu* file = Menu::createMenu(FileRecords);
            plain->appendNew(new SubMenu(TestSupport::OwnedString(u"File"), file));
            file->release();
            bar->set$menu(plain);
        } else {
            root->setCallbackObject(0, nullptr);
        }
        PopUpMenu* file = nullptr;
        play({{always, [&] { toEntry(File); TestSupport::click(); }},
              {[&] { return file = menuOpen(File); }, [&] { toRow(file, Open); }},
              {[&] { return file->get$highlighted() == Open; }, [&] { TestSupport::click(); }}},
             [&] { return allClosed(); });
        settle();
        ADD_FAILURE() << "running the entry did not end the program";
        if (plain)
            plain->release();
        return;
    }
    struct Case {
        char const* which;
        char const* type;
        char const* message;
    };
    for (Case const& c : {Case{"slot", "NyUser.Models.NoCallbackObjectException", "No object defined for callback slot 0"},
                          Case{"root", "NyUser.Models.NoRootMenuException", "No root menu defined"}}) {
        ::setenv(CaseVariable, c.which, 1);
        TestSupport::ChildResult result = TestSupport::runProgram(
            {TestSupport::programBesideTests("test_nyuser_menus"),
             "--gtest_filter=MenuBarTest.EntriesWithoutSlotOrRootAreFatalFromTheBar"},
            "");
        ::unsetenv(CaseVariable);
        std::regex const report("unhandeled exception:? " + std::string(c.type) + "\n" + c.message + "\n");
        EXPECT_TRUE(result.exited && result.exitCode == 70) << c.which << "\n" << result.output;
        EXPECT_TRUE(std::regex_search(result.output, report)) << c.which << "\n" << result.output;
        EXPECT_EQ(result.output.find("did not end the program"), std::string::npos) << c.which;
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
    PopUpMenu* popUp = nullptr;
    ASSERT_TRUE(step([&] { bar->openPopUp(Edit, true); }, [&] { return popUp = menuOpen(Edit); }));
    int h = fontHeight();
    int m = popUp->get$margin();
    NyCore::Graphics::Font* font = bar->get$style()->get$font();
    EXPECT_EQ(popUp->get$rowHeight(), std::max(h * 4 / 3, icons->get$height() * 4 / 3));
    EXPECT_EQ(popUp->get$width(), std::max(font->measure(TestSupport::OwnedString(u"Copy")),
                                           font->measure(TestSupport::OwnedString(u"Cut"))) +
                                      10 * m + icons->get$width());
    TestSupport::runUntil(always);
    TestSupport::expectPixels(popUp->get$nativeWindow(),
                              {{"icon column", 2, popUp->get$height() - 2,
                                NyCore::Graphics::Color::scale(bar->getColor(Style::Background), 90)},
                               {"beside it", icons->get$width() + 4 * m + 2, popUp->get$height() - 2,
                                bar->getColor(Style::Background)}});

    // A new colour redraws the bar anew and closes the open menu; so does another menu.
    ASSERT_TRUE(step([&] { bar->setColor(Style::HighlightBackground, 0x008000); }, [&] { return allClosed(); }));
    ASSERT_TRUE(step([&] { bar->openPopUp(Help, false); }, [&] { return menuOpen(Help); }));
    ASSERT_TRUE(step([&] { bar->set$menu(root); }, [&] { return allClosed(); }));
    edit->set$icons(nullptr);
    EXPECT_EQ(icons->get$referenceCount(), before);
}

TEST_F(MenuBarTest, MenusStayOnTheScreenAtItsRightEdge)
{
    // The window moved so that the pop-up and its cascade would reach past the screen's right edge.
    NyCore::System::WidgetPoint screen;
    NyCore::System::Widget::screenSize(&screen);
    ASSERT_TRUE(step([&] { bar->openPopUp(File, false); }, [&] { return menuOpen(File); }));
    int popUpWidth = bar->get$popUp()->get$width();
    ASSERT_TRUE(step([&] { bar->deactivate(); }, [&] { return allClosed(); }));
    int left = screen.x - popUpWidth / 2;
    ASSERT_TRUE(step([&] { form->setPosition(left, 40); }, [&] {
        NyCore::System::WidgetRect rect;
        form->getScreenRect(&rect);
        return rect.x == left;
    }));
    ASSERT_TRUE(step([&] { bar->openPopUp(File, false); }, [&] { return menuOpen(File); }));
    PopUpMenu* file = bar->get$popUp();
    ASSERT_TRUE(step([&] { file->openCascade(Recent, false); }, [&] { return cascadeOpen(); }));
    NyCore::System::WidgetRect fileRect, cascadeRect;
    file->getScreenRect(&fileRect);
    file->get$cascade()->getScreenRect(&cascadeRect);
    int m = file->get$margin();
    int gap = bar->get$style()->get$gap();
    EXPECT_EQ(fileRect.x + fileRect.width, screen.x);
    EXPECT_EQ(cascadeRect.x + cascadeRect.width, fileRect.x + m - gap);
    ASSERT_TRUE(step([&] { bar->deactivate(); }, [&] { return allClosed(); }));
}
