// Help in the real program, driven as a person drives it: F1 opens the help
// tab, links are clicked, text comes back through the clipboard. The page is
// the start-up directory's own help/index.htm (it comes before the installed
// pages), one link per 40-pixel row, so that each link's place is known.
#include <gtest/gtest.h>

#include <X11/Xlib.h>
#include <X11/keysym.h>

#include <filesystem>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "tests/support/pixels.h"
#include "tests/support/program_session.h"
#include "tests/support/temp_folder.h"
#include "tests/support/windows.h"

using namespace TestSupport;

namespace {

constexpr int Width = 640, MenuBarHeight = 17, ViewTop = 42, Row = 40;

std::string const Links[] = {"second.htm", "vexadrome://samples/sphere.graph", "vexadrome://../outside.graph",
                             "nothere.htm"};

std::string indexPage()
{
    std::string rows;
    for (std::string const& link : Links)
        rows += "<div style=\"height: 40px; font-size: 20px\"><a href=\"" + link + "\">link</a></div>";
    return "<html><body style=\"margin: 0\">" + rows + "<p>Index end</p></body></html>";
}

class HelpSession : public WindowTest {
protected:
    void SetUp() override
    {
        WindowTest::SetUp();
        std::filesystem::create_directories(folder.at("start/help"));
        std::filesystem::create_directories(folder.at("start/samples"));
        writeBytes(folder.at("start/help/index.htm"), indexPage());
        writeBytes(folder.at("start/help/second.htm"), "<html><body><p>Second page</p></body></html>");
        std::filesystem::copy_file(std::string(SOURCE_DIR) + "/samples/sphere.graph", folder.at("start/samples/sphere.graph"));
        std::filesystem::copy_file(std::string(SOURCE_DIR) + "/samples/sphere.graph", folder.at("outside.graph"));
        session = std::make_unique<ProgramSession>(folder.at("start"));
        ASSERT_NE(session->mainWindow(), 0u);
    }
    void TearDown() override
    {
        if (session && session->running()) {
            session->press(XK_q, ControlMask);
            EXPECT_TRUE(session->waitForExit());
        }
    }
    ::Window main() const { return session->mainWindow(); }
    // The whole page's text, selected and copied by keys.
    std::string pageText(std::string const& expectedStart)
    {
        return session->copiedText(
            [&] {
                session->press(XK_a, ControlMask);
                session->press(XK_c, ControlMask);
            },
            [&](std::string const& text) { return text.rfind(expectedStart, 0) == 0; });
    }
    void clickLink(int row) { session->clickAt(main(), 20, ViewTop + Row * row + Row / 2); }
    std::vector<std::uint32_t> menuBar() { return readPixels(main(), 0, 0, Width, MenuBarHeight); }

    TempFolder folder;
    std::unique_ptr<ProgramSession> session;
};

}

TEST_F(HelpSession, LinksNavigateOpenSamplesAndRefuseNamesOutside)
{
    // The empty workbench has the keyboard: F1 works before any tab exists.
    // Its first paint is done once the program has answered.
    ASSERT_TRUE(session->sync());
    std::vector<std::uint32_t> const noDocument = menuBar();
    session->press(XK_F1);
    ASSERT_TRUE(session->waitForFocus(main())) << "the help tab took the focus";
    EXPECT_EQ(pageText("link\nlink"), "link\nlink\nlink\nlink\nIndex end");

    // A page link navigates in the tab; Alt+Left comes back.
    clickLink(0);
    EXPECT_EQ(pageText("Second"), "Second page");
    session->press(XK_Left, Mod1Mask);
    EXPECT_EQ(pageText("link"), "link\nlink\nlink\nlink\nIndex end");

    // A sample link opens the graph in a new tab (its menus appear); the help tab kept its page.
    clickLink(1);
    EXPECT_TRUE(ProgramSession::eventually([&] { return menuBar() != noDocument; })) << "no graph tab";
    EXPECT_TRUE(session->pressMovingFocus(XK_Page_Up, ControlMask));
    EXPECT_TRUE(ProgramSession::eventually([&] { return menuBar() == noDocument; }));
    EXPECT_EQ(pageText("link"), "link\nlink\nlink\nlink\nIndex end");

    // A name outside the start-up directory opens nothing and says so.
    clickLink(2);
    ::Window box = session->waitForDialog("Vexadrome");
    ASSERT_NE(box, 0u);
    std::string const refused = "The sample '../outside.graph' is not among the program's files.";
    EXPECT_EQ(session->copiedText([&] { session->press(XK_c, ControlMask); },
                                  [&](std::string const& text) { return text == refused; }),
              refused);
    session->press(XK_Return);
    EXPECT_TRUE(session->waitUntilGone(box));
    EXPECT_TRUE(session->waitForFocus(main()));
    EXPECT_EQ(pageText("link"), "link\nlink\nlink\nlink\nIndex end");

    // A page that does not exist says so, names the file and leads back to the index.
    clickLink(3);
    std::string const missing = pageText("Page not found");
    EXPECT_NE(missing.find(folder.at("start/help/nothere.htm")), std::string::npos) << missing;
    EXPECT_NE(missing.find("Back to the help index"), std::string::npos) << missing;
}
