// The workbench driven as a person drives it: the real program on the test
// display, keys and clicks through XTest, files on disk, pixels on screen,
// and text taken away through the clipboard (a console selection, a script
// selected whole, a message box's Ctrl+C).
#include <gtest/gtest.h>

#include <X11/Xlib.h>
#include <X11/keysym.h>

#include <algorithm>
#include <cstdint>
#include <filesystem>
#include <functional>
#include <memory>
#include <string>
#include <utility>
#include <vector>

#include "nycore/graphics/png_reader.h"
#include "tests/support/program_session.h"
#include "tests/support/screenshots.h"
#include "tests/support/strings.h"
#include "tests/support/temp_folder.h"
#include "tests/support/windows.h"

using namespace TestSupport;

namespace {

// The main window's size, and the top of a tab's view (below the menu bar and the tabs).
constexpr int Width = 640, Height = 480, MenuBarHeight = 17, ViewTop = 42;
char const* const Caption = "Vexadrome";

class Workbench : public WindowTest {
protected:
    void start(std::vector<std::string> const& arguments = {})
    {
        session = std::make_unique<ProgramSession>(folder.path, arguments);
        ASSERT_NE(session->mainWindow(), 0u);
    }
    void TearDown() override
    {
        if (session && session->running()) {
            ADD_FAILURE() << "the workbench was still running";
        }
        session.reset();
    }
    ::Window main() const { return session->mainWindow(); }
    // The whole main window once it has painted: not one colour, and the same twice running.
    std::vector<std::uint32_t> paintedWindow()
    {
        std::vector<std::uint32_t> last, pixels;
        EXPECT_TRUE(ProgramSession::eventually([&] {
            last = std::exchange(pixels, readPixels(main(), 0, 0, Width, Height));
            return pixels == last && std::adjacent_find(pixels.begin(), pixels.end(), std::not_equal_to<>()) != pixels.end();
        }));
        return pixels;
    }

    // Text equal to `accepted`, or starting with it.
    static std::function<bool(std::string const&)> taking(std::string const& accepted, bool prefix = false)
    {
        return [=](std::string const& text) {
            return prefix ? text.compare(0, accepted.size(), accepted) == 0 : text == accepted;
        };
    }
    // Everything the calculator console shows, dragged over and copied; a
    // click then takes the selection away again.
    std::string consoleText(std::string const& expected, bool prefix = false)
    {
        std::string text = session->copiedText(
            [&] {
                session->dragIn(main(), 1, ViewTop + 1, Width - 20, Height - 4);
                session->press(XK_c, ControlMask);
            },
            taking(expected, prefix));
        session->clickAt(main(), Width - 20, Height - 4);
        return text;
    }
    // What the focused text (a script, a name box) holds, or its selection when `whole` is off.
    std::string focusedText(std::string const& expected, bool whole = true)
    {
        return session->copiedText(
            [&] {
                if (whole)
                    session->press(XK_a, ControlMask);
                session->press(XK_c, ControlMask);
            },
            taking(expected));
    }
    // The message of the topmost box titled "Vexadrome", or as much of it as `expected` when `prefix` is on.
    std::string boxMessage(std::string const& expected, bool prefix = false)
    {
        EXPECT_NE(session->waitForDialog(Caption), 0u) << "no box for: " << expected;
        return session->copiedText([&] { session->press(XK_c, ControlMask); }, taking(expected, prefix));
    }
    // Answers the topmost box with its n-th button (0 is the first, which has
    // the focus) and waits until it has gone.
    void answer(int button)
    {
        ::Window box = session->waitForDialog(Caption);
        ASSERT_NE(box, 0u);
        for (int i = 0; i < button; ++i)
            EXPECT_TRUE(session->pressMovingFocus(XK_Tab));
        session->press(XK_Return);
        EXPECT_TRUE(session->waitUntilGone(box));
        settle();
    }
    // Once no box is open, the main window's controls have the focus back;
    // when a box follows (or the program ends), that one is waited for instead.
    void settle()
    {
        ProgramSession::eventually(
            [&] { return !session->running() || session->focusInside(main()) || session->windowCount() > 1; });
    }
    // Every box and chooser has closed and the focus is back in the main window.
    void allClosed()
    {
        EXPECT_TRUE(session->waitUntilNoDialog());
        EXPECT_TRUE(session->waitForFocus(main()));
    }
    // The n-th entry of the Graph menu (1 is the first) through the keyboard:
    // F10 lights the bar's first menu, Right moves to Graph, Down opens it.
    void graphMenu(int entry)
    {
        session->press(XK_F10);
        session->press(XK_Right);
        for (int i = 0; i < entry; ++i)
            session->press(XK_Down);
        session->press(XK_Return);
    }
    // "Edit Expressions..." with the first row's text replaced, then Accept clicked.
    void acceptExpression(std::string const& text)
    {
        graphMenu(9);
        ::Window editor = session->waitForDialog("Edit Expressions");
        ASSERT_NE(editor, 0u);
        session->clickAt(editor, 315, 330);
        session->press(XK_a, ControlMask);
        session->type(text);
        session->clickAt(editor, 395, 379);
    }
    // The pixels of the menu bar.
    std::vector<std::uint32_t> menuBar() { return readPixels(main(), 0, 0, Width, MenuBarHeight); }
    // A new document through its name prompt, whose proposal is checked first.
    void newDocument(KeySym key, unsigned modifiers, std::string const& proposal)
    {
        session->press(key, modifiers);
        ASSERT_NE(session->waitForDialog(Caption), 0u);
        EXPECT_EQ(focusedText(proposal), proposal);
        session->press(XK_Return);
        allClosed();
    }
    void expectExit()
    {
        int code = -1;
        EXPECT_TRUE(session->waitForExit(&code));
        EXPECT_EQ(code, 0) << session->errors();
    }

    // The rows of a calculator's view that hold ink in the column of the
    // "math>" and "answ>" marks (left of the caret), counted as bands of lines.
    int inkBands()
    {
        int const left = 3, width = 42, height = Height - ViewTop - 4;
        std::vector<std::uint32_t> const pixels = readPixels(main(), left, ViewTop, width, height);
        std::uint32_t const paper = pixels.back();
        int bands = 0;
        bool inBand = false;
        for (int row = 0; row < height; ++row) {
            auto const begin = pixels.begin() + row * width;
            bool const ink = std::any_of(begin, begin + width, [&](std::uint32_t p) { return p != paper; });
            bands += ink && !inBand;
            inBand = ink;
        }
        return bands;
    }

    TempFolder folder;
    std::unique_ptr<ProgramSession> session;
};

}

TEST_F(Workbench, CalculatorsTypeRecallAndShareDefinitions)
{
    start();
    std::vector<std::uint32_t> const empty = paintedWindow();
    // The prompt proposes the next name; cancelling it creates nothing.
    session->press(XK_n, ControlMask);
    ASSERT_NE(session->waitForDialog(Caption), 0u);
    EXPECT_EQ(focusedText("Calculator1"), "Calculator1");
    session->press(XK_Escape);
    allClosed();
    EXPECT_TRUE(ProgramSession::eventually([&] { return readPixels(main(), 0, 0, Width, Height) == empty; }))
        << "a cancelled prompt changed the window";

    newDocument(XK_n, ControlMask, "Calculator1");
    EXPECT_EQ(consoleText("math> "), "math> ");
    EXPECT_EQ(inkBands(), 1) << "the prompt alone";
    session->type("a = 2\na * 21\n");
    std::string transcript = "math> a = 2\nmath> a * 21\nansw> 42\nmath> ";
    EXPECT_EQ(consoleText(transcript), transcript);
    EXPECT_TRUE(ProgramSession::eventually([&] { return inkBands() == 4; }))
        << inkBands() << " bands for two commands, an answer and the prompt";

    // Up, Up, Down recalls the last command; Enter runs it again.
    session->press(XK_Up);
    session->press(XK_Up);
    session->press(XK_Down);
    session->press(XK_Return);
    transcript += "a * 21\nansw> 42\nmath> ";
    EXPECT_EQ(consoleText(transcript), transcript);

    // A second calculator sees the first one's definitions.
    newDocument(XK_n, ControlMask, "Calculator2");
    session->type("a + 1\nzz\n");
    // The error's marker stands under the unknown name.
    std::string const second = "math> a + 1\nansw> 3\nmath> zz\n      *\nerrr> ";
    EXPECT_EQ(consoleText(second, true).substr(0, second.size()), second);
    // Back in the first tab, its own transcript is there.
    EXPECT_TRUE(session->pressMovingFocus(XK_Page_Up, ControlMask));
    EXPECT_EQ(consoleText(transcript), transcript);

    // Calculators hold nothing to save: Exit asks nothing.
    session->press(XK_q, ControlMask);
    expectExit();
}

TEST_F(Workbench, ScriptsRunSaveReopenAndAskBeforeLosingChanges)
{
    start();
    newDocument(XK_n, ControlMask | ShiftMask, "Command1");
    std::string const script = "b = 4;\nb * 2";
    session->type(script);
    EXPECT_EQ(focusedText(script), script) << "the new tab's script has the focus";
    // F5: each value in a box, then the success box.
    session->press(XK_End, ControlMask);
    session->press(XK_F5);
    EXPECT_EQ(boxMessage("8"), "8");
    answer(0);
    EXPECT_EQ(boxMessage("Successfully executed the commands(s)."), "Successfully executed the commands(s).");
    answer(0);
    // A failing command: its message, then it is selected in the script.
    session->type(";\nb + zz");
    session->press(XK_F5);
    answer(0);
    EXPECT_EQ(boxMessage("unknown variable or function"), "unknown variable or function");
    answer(0);
    EXPECT_EQ(focusedText("zz", false), "zz") << "the unknown name is selected";

    // Save As through the chooser by keyboard: the name gets the extension.
    session->press(XK_s, ControlMask | ShiftMask);
    ASSERT_NE(session->waitForDialog("Select file destination"), 0u);
    session->type("first\n");
    allClosed();
    std::string const saved = folder.at("first.vexscr");
    ASSERT_TRUE(ProgramSession::eventually([&] { return std::filesystem::exists(saved); }));
    std::string const bytes = readBytes(saved);
    EXPECT_NE(bytes.find("b + zz"), std::string::npos) << bytes;

    // Closed without a question, reopened through the chooser, saved again: the same bytes.
    EXPECT_TRUE(session->pressMovingFocus(XK_w, ControlMask));
    session->press(XK_o, ControlMask);
    ASSERT_NE(session->waitForDialog("Select a file to open"), 0u) << "the tab closed without a question";
    session->type("first.vexscr\n");
    allClosed();
    std::string const typed = script + ";\nb + zz";
    EXPECT_EQ(focusedText(typed), typed);
    session->press(XK_s, ControlMask);
    allClosed();
    EXPECT_EQ(readBytes(saved), bytes);

    // A change, then Close: Escape and the box's close button keep it, No drops it.
    session->press(XK_End, ControlMask);
    session->type(";\nb");
    session->press(XK_w, ControlMask);
    EXPECT_EQ(boxMessage("Would you like to save 'Command1'?"), "Would you like to save 'Command1'?");
    session->press(XK_Escape);
    allClosed();
    session->press(XK_w, ControlMask);
    session->requestClose(session->waitForDialog(Caption));
    allClosed();
    session->press(XK_w, ControlMask);
    answer(2);
    EXPECT_EQ(focusedText(typed + ";\nb"), typed + ";\nb") << "Cancel kept the tab and its text";
    session->press(XK_w, ControlMask);
    answer(1);
    EXPECT_EQ(readBytes(saved), bytes) << "No wrote nothing";

    // Reopened, changed and closed with Yes: the change is in the file.
    session->press(XK_o, ControlMask);
    ASSERT_NE(session->waitForDialog("Select a file to open"), 0u) << "No closed the tab";
    session->type("first.vexscr\n");
    allClosed();
    session->press(XK_End, ControlMask);
    session->type(";\nc = 1");
    session->press(XK_w, ControlMask);
    answer(0);
    EXPECT_TRUE(ProgramSession::eventually([&] { return readBytes(saved).find("c = 1") != std::string::npos; }));
    session->press(XK_q, ControlMask);
    expectExit();
}

TEST_F(Workbench, CommandLineFilesFailuresAndTheWindowsCloseButton)
{
    writeBytes(folder.at("good.vexscr"), "<command title=\"Good\">g = 1</command>");
    writeBytes(folder.at("bad.vexscr"), "<command title=\"Bad\">unclosed");
    std::filesystem::create_directory(folder.at("sub"));
    writeBytes(folder.at("sub/other.vexscr"), "<command title=\"Other\">o = 2</command>");
    start({"good.vexscr", "bad.vexscr", "sub/other.vexscr"});
    // The bad file's box names the failure and its reason; the others open.
    std::string const failure = boxMessage("Failed to open document.\n", true);
    EXPECT_EQ(failure.substr(0, 25), "Failed to open document.\n") << failure;
    EXPECT_GT(failure.size(), 25u) << "a reason follows";
    answer(0);
    EXPECT_EQ(focusedText("o = 2"), "o = 2") << "the last file's tab is active";
    std::vector<std::uint32_t> const commandBar = menuBar();
    EXPECT_TRUE(session->pressMovingFocus(XK_Tab, ControlMask));
    EXPECT_EQ(focusedText("g = 1"), "g = 1") << "Ctrl+Tab wraps to the first tab";

    // A write that fails names the file and leaves the document modified.
    EXPECT_TRUE(session->pressMovingFocus(XK_Page_Down, ControlMask));
    std::filesystem::remove_all(folder.at("sub"));
    session->press(XK_End, ControlMask);
    session->type(" + 1");
    session->press(XK_s, ControlMask);
    std::string const named = "Could not save 'sub/other.vexscr'.\n";
    std::string const refused = boxMessage(named, true);
    EXPECT_EQ(refused.substr(0, named.size()), named);
    EXPECT_GT(refused.size(), named.size()) << "a reason follows";
    answer(0);

    // Save All passes over a calculator and writes the scripts it can.
    newDocument(XK_n, ControlMask, "Calculator3");
    // The menus follow the active tab: a calculator's bar, then a script's again.
    EXPECT_TRUE(ProgramSession::eventually([&] { return menuBar() != commandBar; }));
    session->type("v = vector(1, 2, 3)\nv * 2\nmatrix((1, 2), (3, 4)) * vector(1, 1)\n");
    std::string const answers = "math> v = vector(1, 2, 3)\nmath> v * 2\nansw> (2, 4, 6)\nmath> ";
    EXPECT_TRUE(ProgramSession::eventually([&] { return inkBands() == 6; })) << "three commands, two answers, the prompt";
    saveScreenshot(main(), "workbench_calculator");
    EXPECT_EQ(consoleText(answers, true).substr(0, answers.size()), answers);
    EXPECT_TRUE(session->pressMovingFocus(XK_Page_Up, ControlMask));
    EXPECT_TRUE(ProgramSession::eventually([&] { return menuBar() == commandBar; }));
    EXPECT_TRUE(session->pressMovingFocus(XK_Tab, ControlMask | ShiftMask));
    session->press(XK_Home, ControlMask);
    session->type("0 + ");
    // F10 lights the bar, Down opens File at "Open...", seven more reach "Save All".
    session->press(XK_F10);
    for (int i = 0; i < 8; ++i)
        session->press(XK_Down);
    session->press(XK_Return);
    // The failing script's refusal comes again; no chooser for the calculator.
    EXPECT_EQ(boxMessage(named, true).substr(0, named.size()), named);
    answer(0);
    EXPECT_TRUE(ProgramSession::eventually([&] { return readBytes(folder.at("good.vexscr")).find("0 + g") != std::string::npos; }))
        << readBytes(folder.at("good.vexscr"));
    saveScreenshot(main(), "workbench_command");

    // The window's close button asks as Exit does, once: Cancel keeps everything.
    session->requestClose(main());
    session->requestClose(main());
    EXPECT_EQ(boxMessage("Would you like to save 'Other'?"), "Would you like to save 'Other'?");
    answer(2);
    EXPECT_TRUE(session->running());
    session->press(XK_q, ControlMask);
    answer(2);
    EXPECT_TRUE(session->running()) << "Exit, then Cancel";
    session->press(XK_q, ControlMask);
    answer(1);
    expectExit();
}

TEST_F(Workbench, GraphsAreMadeDrawnTurnedSavedReopenedAndExported)
{
    start();
    std::vector<std::uint32_t> const empty = paintedWindow();
    // New Graph opens the options first; cancelled, no graph is made.
    session->press(XK_g, ControlMask);
    ASSERT_NE(session->waitForDialog("Graph Options"), 0u);
    session->press(XK_Escape);
    allClosed();
    EXPECT_TRUE(ProgramSession::eventually([&] { return readPixels(main(), 0, 0, Width, Height) == empty; }));
    session->press(XK_g, ControlMask);
    ::Window options = session->waitForDialog("Graph Options");
    ASSERT_NE(options, 0u);
    session->clickAt(options, 427, 313);
    allClosed();
    EXPECT_TRUE(ProgramSession::eventually([&] { return menuBar() != std::vector<std::uint32_t>(empty.begin(), empty.begin() + Width * MenuBarHeight); }))
        << "the Graph menu came";

    // An expression typed into the editor is drawn in its colour (grey, the first).
    std::uint32_t const grey = 0xBFBFBF;
    auto greyPixels = [&] {
        std::vector<std::uint32_t> const view = readPixels(main(), 1, ViewTop, Width - 2, Height - ViewTop - 1);
        return std::count(view.begin(), view.end(), grey);
    };
    EXPECT_EQ(greyPixels(), 0);
    acceptExpression("x * x / 10");
    allClosed();
    EXPECT_TRUE(ProgramSession::eventually([&] { return greyPixels() > 50; })) << "the parabola is drawn";
    std::vector<std::uint32_t> const drawn = readPixels(main(), 0, ViewTop, Width, Height - ViewTop);

    // One that does not compile keeps the editor open with the engine's message; Cancel then keeps the graph.
    acceptExpression("x +* 2");
    std::string const refusal = boxMessage("failed to parse expr #0: ", true);
    EXPECT_EQ(refusal.substr(0, 25), "failed to parse expr #0: ");
    answer(0);
    EXPECT_NE(session->waitForDialog("Edit Expressions"), 0u) << "the editor stays open";
    session->press(XK_Escape);
    allClosed();
    EXPECT_TRUE(ProgramSession::eventually([&] { return readPixels(main(), 0, ViewTop, Width, Height - ViewTop) == drawn; }))
        << "Cancel kept the drawn expression";

    // The arrow keys turn the camera.
    session->clickAt(main(), Width / 2, Height / 2);
    session->press(XK_Left);

    EXPECT_TRUE(ProgramSession::eventually([&] { return readPixels(main(), 0, ViewTop, Width, Height - ViewTop) != drawn; }));

    // Saved through the chooser, closed, reopened: the same picture from the default camera, the same bytes.
    session->press(XK_s, ControlMask);
    ASSERT_NE(session->waitForDialog("Select file destination"), 0u);
    session->type("curve\n");
    allClosed();
    std::string const saved = folder.at("curve.graph");
    ASSERT_TRUE(ProgramSession::eventually([&] { return std::filesystem::exists(saved); }));
    std::string const bytes = readBytes(saved);
    EXPECT_NE(bytes.find(">x * x / 10</expression>"), std::string::npos) << bytes;
    EXPECT_TRUE(session->pressMovingFocus(XK_w, ControlMask)) << "a saved graph closes without a question";
    session->press(XK_o, ControlMask);
    ASSERT_NE(session->waitForDialog("Select a file to open"), 0u);
    session->type("curve.graph\n");
    allClosed();
    EXPECT_TRUE(ProgramSession::eventually([&] { return readPixels(main(), 0, ViewTop, Width, Height - ViewTop) == drawn; }))
        << "the reopened graph looks as it did";
    session->press(XK_s, ControlMask);
    allClosed();
    EXPECT_EQ(readBytes(saved), bytes);

    // Export Image writes the picture as a PNG file.
    graphMenu(11);
    ASSERT_NE(session->waitForDialog("Export Image"), 0u);
    session->type("picture\n");
    allClosed();
    EXPECT_TRUE(ProgramSession::eventually([&] { return readBytes(folder.at("picture.png")).substr(1, 3) == "PNG"; }));
    // The file holds the picture the tab shows: decoded, it is found in the
    // window below the menu bar, pixel for pixel.
    std::string const png = readBytes(folder.at("picture.png"));
    NyCore::Graphics::BitmapImage image = {};
    ASSERT_TRUE(png_decode(reinterpret_cast<std::uint8_t const*>(png.data()), png.size(), &image)) << png.size() << " bytes";
    std::vector<std::uint32_t> const picture(image.pixels, image.pixels + image.width * image.height);
    int const w = image.width, h = image.height;
    bitmap_image_destroy(&image);
    ASSERT_TRUE(w > Width / 2 && w <= Width && h > (Height - ViewTop) / 2 && h <= Height - MenuBarHeight) << w << "x" << h;
    std::vector<std::uint32_t> window;
    auto shownAt = [&](int x, int y) {
        for (int row = 0; row < h; ++row)
            if (!std::equal(picture.begin() + row * w, picture.begin() + (row + 1) * w,
                            window.begin() + (y + row) * Width + x))
                return false;
        return true;
    };
    // Read again until the view has drawn again after the chooser.
    EXPECT_TRUE(ProgramSession::eventually([&] {
        window = readPixels(main(), 0, 0, Width, Height);
        for (int y = MenuBarHeight; y + h <= Height; ++y)
            for (int x = 0; x + w <= Width; ++x)
                if (shownAt(x, y))
                    return true;
        return false;
    })) << "the exported " << w << "x" << h << " picture is the one the view shows";
    EXPECT_NE(std::adjacent_find(picture.begin(), picture.end(), std::not_equal_to<>()), picture.end())
        << "more than the background";
    session->press(XK_q, ControlMask);
    expectExit();
}
