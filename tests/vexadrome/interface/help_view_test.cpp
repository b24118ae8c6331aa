// Help tabs in the workbench on a real X server: F1 and each Help menu entry
// open a tab titled "Vexadrome Help" on its page; a click on a page link
// navigates within the tab and Alt+Left comes back; a click on a
// "vexadrome://" link opens the sample in a new tab and leaves the page;
// sample names outside the program's folders open nothing; a missing page
// says so and leads back to the index. With VEXADROME_SCREENSHOTS set, each
// page is photographed.
#include <gtest/gtest.h>

#include "nyuser/viewers/html_helper.h"
#include "vexadrome/documents/graph_doc.h"
#include "vexadrome/interface/help_doc.h"
#include "vexadrome/interface/help_paths.h"
#include "vexadrome/interface/help_view.h"
#include "vexadrome/interface/interface_types.h"
#include "vexadrome/interface/vexadrome_app.h"
#include "vexadrome/interface/vexadrome_app_win.h"

#include <X11/keysym.h>
#include <unistd.h>

#include <filesystem>
#include <string>
#include <vector>

#include "nycore/text/string_functions.h"
#include "nyuser/views/multi_view.h"
#include "nyuser/views/view_tabs.h"
#include "tests/support/run_until.h"
#include "tests/support/screenshots.h"
#include "tests/support/strings.h"
#include "tests/support/temp_folder.h"
#include "tests/support/windows.h"

using namespace TestSupport;
using Vexadrome::Interface::HelpDoc;
using Vexadrome::Interface::HelpView;
using Vexadrome::Interface::VexadromeApp;
using Vexadrome::Interface::VexadromeAppWin;

namespace {

OwnedString fromUtf8(std::string const& text)
{
    return OwnedString(string_from_utf8(text.data(), static_cast<int>(text.size())));
}

bool endsWith(std::string const& text, std::string const& end)
{
    return text.size() >= end.size() && text.compare(text.size() - end.size(), end.size(), end) == 0;
}

// The workbench started in a folder of its own that holds a copy of the samples.
class HelpViewTest : public WindowTest {
protected:
    void SetUp() override
    {
        WindowTest::SetUp();
        std::filesystem::create_directory(folder.at("start"));
        std::filesystem::copy(std::string(SOURCE_DIR) + "/samples", folder.at("start/samples"));
        writeBytes(folder.at("outside.graph"), readBytes(folder.at("start/samples/sphere.graph")));
        previous = std::filesystem::current_path();
        std::filesystem::current_path(folder.at("start"));
        Vexadrome::Interface::registerInterfaceTypes();
        app = new VexadromeApp();
        app->startup();
        app->set$unattended(true);
        window = app->get$mainWindow();
        ASSERT_TRUE(runUntil([&] { return mapped(window); }));
    }
    void TearDown() override
    {
        window->close();
        runUntil([] { return true; });
        delete app;
        std::filesystem::current_path(previous);
    }
    int count() const { return app->get$documentCount(); }
    HelpView* helpView(int index) { return dynamic_cast<HelpView*>(window->get$multiView()->getChild(index)); }
    std::string uriOf(int index) { return toUtf8(helpView(index)->get$uri()); }
    // A new help tab after the keys, checked for its title and label, with its view on screen.
    HelpView* opened(int before)
    {
        EXPECT_TRUE(runUntil([&] { return count() == before + 1; }));
        if (count() != before + 1)
            return nullptr;
        auto* document = dynamic_cast<HelpDoc*>(app->getDocument(before));
        EXPECT_NE(document, nullptr);
        if (document) {
            EXPECT_EQ(toUtf8(document->get$title()), "Vexadrome Help");
        }
        EXPECT_EQ(toUtf8(window->get$multiView()->get$tabs()->getLabel(before)), "Vexadrome Help");
        HelpView* view = helpView(before);
        EXPECT_NE(view, nullptr);
        EXPECT_TRUE(view && runUntil([&] { return mapped(view) && NyCore::System::Widget::get$focused() == view; }));
        return view;
    }
    // Clicks the first run of text equal to `text` on the view's page.
    void clickOn(HelpView* view, char16_t const* text)
    {
        NyCore::Graphics::Rect box{};
        ASSERT_TRUE(html_helper_find_text(view->get$embedding(), OwnedString(text), &box)) << toUtf8(text);
        // Below the visible part, Page Down brings it up.
        while (box.y + box.height > view->get$top() + view->get$client().height) {
            int const top = view->get$top();
            tap(XK_Next);
            ASSERT_TRUE(runUntil([&] { return view->get$top() != top; })) << "scrolling to " << toUtf8(text);
        }
        pointerTo(view, box.x + box.width / 2, box.y - view->get$top() + box.height / 2);
        click();
    }
    void chord(KeySym modifier, KeySym sym)
    {
        key(modifier, true);
        tap(sym);
        key(modifier, false);
    }

    TempFolder folder;
    std::filesystem::path previous;
    VexadromeApp* app = nullptr;
    VexadromeAppWin* window = nullptr;
};

}

TEST_F(HelpViewTest, F1AndEachHelpEntryOpenAHelpTabOnTheirPage)
{
    // The Help menu by keys: F10 lights "File", Right goes to "Help", Down opens it at its first entry.
    struct Entry {
        char const* name;
        std::vector<KeySym> keys;
        char const* page;
        char const* screenshot;
    } const entries[] = {
        {"F1", {XK_F1}, "help/index.htm", "help_index"},
        {"Help Topics", {XK_F10, XK_Right, XK_Down, XK_Return}, "help/index.htm", nullptr},
        {"Calculator Help", {XK_F10, XK_Right, XK_Down, XK_Down, XK_Return}, "help/calculator.htm", "help_calculator"},
        {"Graphing Help", {XK_F10, XK_Right, XK_Down, XK_Down, XK_Down, XK_Return}, "help/graph.htm", "help_graph"},
        {"Command Help", {XK_F10, XK_Right, XK_Down, XK_Down, XK_Down, XK_Down, XK_Return}, "help/command.htm",
         "help_command"},
    };
    // Tall enough for the pictures to show headings, lists, tables and code together.
    window->setRect(20, 20, 800, 980);
    for (Entry const& entry : entries) {
        int const before = count();
        for (KeySym sym : entry.keys)
            tap(sym);
        HelpView* view = opened(before);
        ASSERT_NE(view, nullptr) << entry.name;
        EXPECT_TRUE(endsWith(uriOf(before), entry.page)) << entry.name << ": " << uriOf(before);
        EXPECT_TRUE(std::filesystem::exists(uriOf(before))) << entry.name;
        NyCore::Graphics::Rect box{};
        EXPECT_TRUE(html_helper_find_text(view->get$embedding(), OwnedString(u"Help"), &box)) << entry.name;
        if (entry.screenshot) {
            EXPECT_TRUE(saveScreenshot(window, entry.screenshot));
        }
    }
    // The same page twice gave two tabs.
    EXPECT_EQ(count(), 5);
}

TEST_F(HelpViewTest, PageLinksNavigateInTheTabAndAltLeftComesBack)
{
    tap(XK_F1);
    HelpView* view = opened(0);
    ASSERT_NE(view, nullptr);
    std::string const index = uriOf(0);
    // The heading is painted where the layout put it: dark ink inside its box.
    NyCore::Graphics::Rect heading{};
    ASSERT_TRUE(html_helper_find_text(view->get$embedding(), OwnedString(u"Vexadrome"), &heading));
    EXPECT_TRUE(runUntil([&] {
        std::vector<std::uint32_t> const ink =
            readPixels(view->get$nativeWindow(), heading.x, heading.y, heading.width, heading.height);
        return std::any_of(ink.begin(), ink.end(), [](std::uint32_t p) { return ((p >> 8) & 0xFF) < 0x80; });
    }));

    clickOn(view, u"Calculator");
    EXPECT_TRUE(runUntil([&] { return endsWith(uriOf(0), "help/calculator.htm"); })) << uriOf(0);
    EXPECT_EQ(count(), 1) << "the page opened in the same tab";
    NyCore::Graphics::Rect box{};
    EXPECT_TRUE(html_helper_find_text(view->get$embedding(), OwnedString(u"Numbers"), &box));
    chord(XK_Alt_L, XK_Left);
    EXPECT_TRUE(runUntil([&] { return uriOf(0) == index; })) << uriOf(0);
}

TEST_F(HelpViewTest, SampleLinksOpenANewTabAndLeaveThePage)
{
    tap(XK_F1);
    HelpView* view = opened(0);
    ASSERT_NE(view, nullptr);
    std::string const index = uriOf(0);
    clickOn(view, u"Sphere");
    ASSERT_TRUE(runUntil([&] { return count() == 2; }));
    EXPECT_NE(dynamic_cast<Vexadrome::Documents::GraphDoc*>(app->getDocument(1)), nullptr);
    EXPECT_EQ(uriOf(0), index) << "the help page stayed";

    // The scheme in capitals opens too; names outside the start-up directory and the data folders open nothing.
    struct Link {
        char const* uri;
        bool opens;
    } const links[] = {
        {"VEXADROME://samples/parametric_curve.graph", true},
        {"vexadrome://../outside.graph", false},
        {"vexadrome://samples/../../outside.graph", false},
        {"vexadrome://", false},
        {"vexadrome://samples/missing.graph", false},
    };
    std::string const absolute = "vexadrome://" + folder.at("outside.graph");
    for (Link const& link : links) {
        int const before = count();
        bool const follows = view->onLinkClicked(fromUtf8(link.uri));
        EXPECT_EQ(follows, std::string(link.uri) == "vexadrome://") << link.uri;
        EXPECT_EQ(count(), before + (link.opens ? 1 : 0)) << link.uri;
    }
    EXPECT_FALSE(view->onLinkClicked(fromUtf8(absolute)));
    EXPECT_EQ(count(), 3) << absolute;
    EXPECT_EQ(uriOf(0), index);
}

TEST_F(HelpViewTest, AMissingPageNamesTheFileAndLeadsBackToTheIndex)
{
    std::string const missing = folder.at("start/help/nothere.htm");
    app->appendDocument(string_copy(HelpDoc::Title), new HelpDoc(app, fromUtf8(missing)));
    HelpView* view = opened(0);
    ASSERT_NE(view, nullptr);
    html_helper_select_all(view->get$embedding());
    std::string const text = OwnedString(html_helper_selected_text(view->get$embedding())).utf8();
    EXPECT_NE(text.find("Page not found"), std::string::npos) << text;
    EXPECT_NE(text.find(missing), std::string::npos) << text;
    clickOn(view, u"index");
    EXPECT_TRUE(runUntil([&] { return endsWith(uriOf(0), "help/index.htm"); })) << uriOf(0);
}

TEST(HelpPaths, SamplesOnlyOpenFromInsideTheStartUpDirectory)
{
    TempFolder folder;
    std::filesystem::create_directories(folder.at("start/samples"));
    writeBytes(folder.at("start/samples/a.graph"), "<graph/>");
    writeBytes(folder.at("secret.graph"), "<graph/>");
    std::filesystem::create_symlink(folder.at("secret.graph"), folder.at("start/samples/link.graph"));
    OwnedString base = fromUtf8(folder.at("start") + "/");
    struct Case {
        std::string name;
        bool found;
    } const cases[] = {
        {"samples/a.graph", true},
        {"samples/./a.graph", true},
        {"samples/../samples/a.graph", true},
        {"../secret.graph", false},
        {"samples/../../secret.graph", false},
        {folder.at("secret.graph"), false},
        {"samples/link.graph", false},
        {"samples/none.graph", false},
        {"samples", false},
        {"", false},
    };
    for (Case const& c : cases) {
        OwnedString path(Vexadrome::Interface::findSampleFile(base, fromUtf8(c.name)));
        EXPECT_EQ(path.get() != nullptr, c.found) << c.name << " -> " << (path.get() ? path.utf8() : "none");
        if (path.get()) {
            EXPECT_TRUE(std::filesystem::equivalent(path.utf8(), folder.at("start/samples/a.graph"))) << c.name;
        }
    }
    // A help page is found beside the program when the start-up directory has none.
    OwnedString page(Vexadrome::Interface::findHelpPage(base, OwnedString(u"help/index.htm")));
    EXPECT_TRUE(std::filesystem::exists(page.utf8())) << page.utf8();
    OwnedString none(Vexadrome::Interface::findHelpPage(base, OwnedString(u"help/none.htm")));
    EXPECT_EQ(none.utf8(), folder.at("start") + "/help/none.htm");
}
