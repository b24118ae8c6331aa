// The HTML viewer on a real X server: text painted where the layout puts it,
// links clicked through XTest and offered to onLinkClicked, a refused link,
// fragments, back and forward by keys and side buttons, scrolling by keys and
// wheel, the missing page, selection copied to the clipboard.
#include <gtest/gtest.h>

#include <X11/Xlib.h>
#include <X11/extensions/XTest.h>
#include <X11/keysym.h>

#include <algorithm>
#include <string>
#include <vector>

#include "nycore/system/type.h"
#include "nycore/text/string_functions.h"
#include "nyuser/viewers/html_viewer.h"
#include "tests/support/bmp_builder.h"
#include "tests/support/clipboard_peer.h"
#include "tests/support/png_builder.h"
#include "tests/support/run_until.h"
#include "tests/support/strings.h"
#include "tests/support/temp_folder.h"
#include "tests/support/windows.h"

using namespace TestSupport;
using NyCore::System::Widget;
using NyUser::Viewers::HTMLViewer;

namespace {

constexpr int Width = 400, Height = 300;

// A viewer that records what it was asked and answers as told.
class RecordingViewer : public HTMLViewer {
    NY_REFLECTIVE(RecordingViewer)
public:
    static NyCore::Object* __create() { return new RecordingViewer(); }
    bool onLinkClicked(NyCore::String const* uri) override
    {
        asked.push_back(toUtf8(uri));
        return allow;
    }
    std::vector<std::string> asked;
    bool allow = true;
};

NyCore::TypeData RecordingViewer::MetaData = {&HTMLViewer::MetaData, nullptr, u"Tests.RecordingViewer"_str,
                                              NyCore::NoMethods, NyCore::NoEvents, &RecordingViewer::__create,
                                              sizeof(RecordingViewer), 0, nullptr};

std::string const FirstPage = R"(<html><head><title>First</title></head><body>
<h1>Heading</h1><p>Plain words here and <a href="second.htm">onward</a>.</p>
<p><a href="#bottom">downward</a></p>
<div style="height: 2000px">tall</div><p id="bottom">Bottom</p></body></html>)";
std::string const SecondPage = R"(<html><body><p>Second page <a href="first.htm">return</a></p></body></html>)";

class HtmlViewerTest : public WindowTest {
protected:
    void SetUp() override
    {
        WindowTest::SetUp();
        registerOnce(&RecordingViewer::MetaData);
        writeBytes(folder.at("first.htm"), FirstPage);
        writeBytes(folder.at("second.htm"), SecondPage);
        top = topWindow(Width, Height, u"NyToolkit.NytkWidget");
        viewer = static_cast<RecordingViewer*>(Widget::create(top, u"Tests.RecordingViewer", 0, 0, 0, Width, Height));
        ASSERT_TRUE(runUntil([&] { return mapped(viewer); }));
        viewer->focus();
    }
    void TearDown() override
    {
        if (top)
            top->close();
        runUntil([] { return HTMLViewer::get$liveCount() == 0; });
    }
    void open(std::string const& name)
    {
        std::string const path = folder.at(name);
        viewer->openUri(OwnedString(string_from_utf8(path.data(), static_cast<int>(path.size()))));
    }
    std::string uri() const { return toUtf8(viewer->get$uri()); }
    // The page box of a run of text, in the window's coordinates.
    NyCore::Graphics::Rect boxOf(char16_t const* text)
    {
        NyCore::Graphics::Rect box{};
        EXPECT_TRUE(html_helper_find_text(viewer->get$embedding(), OwnedString(text), &box)) << toUtf8(text);
        box.y -= viewer->get$top();
        return box;
    }
    void clickOn(char16_t const* text, unsigned button = 1)
    {
        NyCore::Graphics::Rect box = boxOf(text);
        pointerTo(viewer, box.x + box.width / 2, box.y + box.height / 2);
        click(button);
    }
    void chord(KeySym modifier, KeySym sym)
    {
        key(modifier, true);
        tap(sym);
        key(modifier, false);
    }
    std::string uriAfter(std::string const& expected)
    {
        runUntil([&] { return uri() == expected; });
        return uri();
    }

    TempFolder folder;
    Widget* top = nullptr;
    RecordingViewer* viewer = nullptr;
};

TEST_F(HtmlViewerTest, TextIsPaintedWhereTheLayoutPutsIt)
{
    open("first.htm");
    OwnedString title(html_helper_title(viewer->get$embedding()));
    EXPECT_EQ(title.utf8(), "First");
    NyCore::Graphics::Rect heading = boxOf(u"Heading");
    ASSERT_GT(heading.width, 0);
    // The heading's run holds dark glyph pixels; the margin to its left stays white.
    std::vector<std::uint32_t> inside, margin;
    ASSERT_TRUE(runUntil([&] {
        inside = readPixels(viewer->get$nativeWindow(), heading.x, heading.y, heading.width, heading.height);
        return std::any_of(inside.begin(), inside.end(), [](std::uint32_t p) { return (p & 0xFF) < 0x60; });
    }));
    margin = readPixels(viewer->get$nativeWindow(), 0, heading.y, heading.x, heading.height);
    EXPECT_TRUE(std::all_of(margin.begin(), margin.end(), [](std::uint32_t p) { return p == 0xFFFFFF; }));
    // A bold 2em heading is taller than the paragraph's text.
    EXPECT_GT(heading.height, boxOf(u"Plain").height);
    // The link is painted in the link colour.
    NyCore::Graphics::Rect link = boxOf(u"onward");
    std::vector<std::uint32_t> linkPixels = readPixels(viewer->get$nativeWindow(), link.x, link.y, link.width, link.height);
    EXPECT_TRUE(std::any_of(linkPixels.begin(), linkPixels.end(), [](std::uint32_t p) {
        return (p & 0xFF) > ((p >> 16) & 0xFF) + 0x40;
    }));
}

TEST_F(HtmlViewerTest, PicturesBackgroundsAndBordersArePainted)
{
    // A 10 x 10 red PNG beside a 10 x 10 blue BMP, then a green box with a 3-pixel black border.
    std::vector<std::uint8_t> red;
    for (int i = 0; i < 100; ++i)
        red.insert(red.end(), {255, 0, 0, 255});
    writeBytes(folder.at("red.png"), buildPng(10, 10, red));
    BmpPicture blue;
    blue.width = blue.height = 10;
    blue.values.assign(100, 0x0000FF);
    writeBytes(folder.at("blue.bmp"), buildBmp(blue));
    writeBytes(folder.at("pictures.htm"),
               "<html><body style=\"margin: 0\"><div style=\"height: 20px\"><img src=\"red.png\" style=\"vertical-align: top\">"
               "<img src=\"blue.bmp\" style=\"vertical-align: top\"></div>"
               "<div style=\"margin-top: 10px; width: 40px; height: 20px; background-color: #00ff00;"
               " border: 3px solid #000000\"></div></body></html>");
    open("pictures.htm");
    unsigned long const window = viewer->get$nativeWindow();
    ASSERT_TRUE(runUntil([&] { return pixelAt(window, 5, 5) == 0xFF0000; })) << std::hex << pixelAt(window, 5, 5);
    int const boxTop = 20 + 10;
    expectPixels(window, {
        {"the PNG", 9, 9, 0xFF0000},
        {"the BMP", 15, 5, 0x0000FF},
        {"past the pictures", 25, 5, 0xFFFFFF},
        {"the border's top", 20, boxTop + 1, 0x000000},
        {"the border's left", 1, boxTop + 12, 0x000000},
        {"the background", 20, boxTop + 12, 0x00FF00},
        {"the border's right", 44, boxTop + 12, 0x000000},
        {"past the box", 50, boxTop + 12, 0xFFFFFF},
    });
}

TEST_F(HtmlViewerTest, APictureInAClippedBoxLeavesNoClipBehind)
{
    // A 10 x 10 red PNG in a 6 x 10 box that hides its overflow, then a green box and a line of text below it.
    std::vector<std::uint8_t> red;
    for (int i = 0; i < 100; ++i)
        red.insert(red.end(), {255, 0, 0, 255});
    writeBytes(folder.at("red.png"), buildPng(10, 10, red));
    writeBytes(folder.at("clipped.htm"),
               "<html><body style=\"margin: 0\"><div style=\"overflow: hidden; width: 6px; height: 10px\">"
               "<img src=\"red.png\" style=\"vertical-align: top\"></div>"
               "<div style=\"width: 40px; height: 20px; background-color: #00ff00\"></div>"
               "<p style=\"margin: 0\">Afterwards</p></body></html>");
    open("clipped.htm");
    unsigned long const window = viewer->get$nativeWindow();
    ASSERT_TRUE(runUntil([&] { return pixelAt(window, 3, 5) == 0xFF0000; })) << std::hex << pixelAt(window, 3, 5);
    expectPixels(window, {
        {"the picture past its box", 8, 5, 0xFFFFFF},
        {"the green box", 20, 20, 0x00FF00},
        {"the green box's far corner", 39, 29, 0x00FF00},
    });
    NyCore::Graphics::Rect text = boxOf(u"Afterwards");
    ASSERT_GT(text.width, 0);
    std::vector<std::uint32_t> pixels = readPixels(window, text.x, text.y, text.width, text.height);
    EXPECT_TRUE(std::any_of(pixels.begin(), pixels.end(), [](std::uint32_t p) { return (p & 0xFF) < 0x60; }));
}

TEST_F(HtmlViewerTest, LinksAreOfferedAndFollowedAndHistoryGoesBackAndForth)
{
    open("first.htm");
    std::string const first = folder.at("first.htm"), second = folder.at("second.htm");
    ASSERT_EQ(viewer->asked, std::vector<std::string>{first});
    EXPECT_EQ(uri(), first);

    clickOn(u"onward");
    EXPECT_EQ(uriAfter(second), second);
    EXPECT_EQ(viewer->asked.back(), second);
    chord(XK_Alt_L, XK_Left);
    EXPECT_EQ(uriAfter(first), first);
    chord(XK_Alt_L, XK_Right);
    EXPECT_EQ(uriAfter(second), second);
    // The mouse's side buttons: 8 back, 9 forward.
    pointerTo(viewer, 200, 200);
    click(8);
    EXPECT_EQ(uriAfter(first), first);
    click(9);
    EXPECT_EQ(uriAfter(second), second);

    // A refused link leaves the page and the URI as they were.
    viewer->allow = false;
    std::size_t const before = viewer->asked.size();
    clickOn(u"return");
    EXPECT_TRUE(runUntil([&] { return viewer->asked.size() == before + 1; }));
    EXPECT_EQ(viewer->asked.back(), first);
    EXPECT_EQ(uri(), second);
    NyCore::Graphics::Rect stay{};
    EXPECT_TRUE(html_helper_find_text(viewer->get$embedding(), OwnedString(u"Second"), &stay));
}

TEST_F(HtmlViewerTest, FragmentsScrollWithinThePage)
{
    open("first.htm");
    clickOn(u"downward");
    std::string const bottom = folder.at("first.htm") + "#bottom";
    EXPECT_EQ(uriAfter(bottom), bottom);
    NyCore::Graphics::Rect box{};
    ASSERT_TRUE(html_helper_find_text(viewer->get$embedding(), OwnedString(u"Bottom"), &box));
    EXPECT_TRUE(runUntil([&] { return viewer->get$top() > 0; }));
    EXPECT_LE(viewer->get$top(), box.y);
    chord(XK_Alt_L, XK_Left);
    EXPECT_TRUE(runUntil([&] { return viewer->get$top() == 0; }));
}

TEST_F(HtmlViewerTest, KeysAndWheelScroll)
{
    open("first.htm");
    int const page = Height - HTMLViewer::LineStep;
    int const end = html_helper_page_height(viewer->get$embedding()) - Height;
    struct Step {
        char const* name;
        KeySym sym;
        unsigned modifiersHeld;
        int expected;
    } const steps[] = {
        {"Down", XK_Down, 0, HTMLViewer::LineStep},
        {"Page Down", XK_Next, 0, HTMLViewer::LineStep + page},
        {"Up", XK_Up, 0, page},
        {"Space", XK_space, 0, 2 * page},
        {"Shift+Space", XK_space, ShiftMask, page},
        {"Page Up", XK_Prior, 0, 0},
        {"End", XK_End, 0, end},
        {"Home", XK_Home, 0, 0},
    };
    for (Step const& step : steps) {
        if (step.modifiersHeld)
            chord(XK_Shift_L, step.sym);
        else
            tap(step.sym);
        EXPECT_TRUE(runUntil([&] { return viewer->get$top() == step.expected; }))
            << step.name << ": at " << viewer->get$top() << ", expected " << step.expected;
    }
    pointerTo(viewer, 100, 100);
    click(5);
    click(5);
    EXPECT_TRUE(runUntil([&] { return viewer->get$top() == 2 * HTMLViewer::WheelStep; }));
    click(4);
    EXPECT_TRUE(runUntil([&] { return viewer->get$top() == HTMLViewer::WheelStep; }));
}

TEST_F(HtmlViewerTest, AMissingPageSaysSoAndNamesTheFile)
{
    open("nowhere.htm");
    std::string const missing = folder.at("nowhere.htm");
    EXPECT_EQ(uri(), missing);
    html_helper_select_all(viewer->get$embedding());
    OwnedString text(html_helper_selected_text(viewer->get$embedding()));
    EXPECT_NE(text.utf8().find("Page not found"), std::string::npos) << text.utf8();
    EXPECT_NE(text.utf8().find(missing), std::string::npos) << text.utf8();
}

TEST_F(HtmlViewerTest, DraggedTextIsCopiedWithCtrlC)
{
    open("first.htm");
    NyCore::Graphics::Rect from = boxOf(u"Plain"), to = boxOf(u"here");
    pointerTo(viewer, from.x + 1, from.y + from.height / 2);
    XTestFakeButtonEvent(display(), 1, True, CurrentTime);
    pointerTo(viewer, to.x + to.width / 2, to.y + to.height / 2);
    XTestFakeButtonEvent(display(), 1, False, CurrentTime);
    XFlush(display());
    EXPECT_TRUE(runUntil([&] { return OwnedString(html_helper_selected_text(viewer->get$embedding())).utf8() == "Plain words here"; }));
    chord(XK_Control_L, XK_c);
    ClipboardReader reader;
    Atom type = 0;
    std::string copied;
    EXPECT_TRUE(runUntil([&] { return (copied = reader.read("UTF8_STRING", &type)) == "Plain words here"; }))
        << copied;
    // A selection is no click: the page stayed.
    EXPECT_EQ(uri(), folder.at("first.htm"));
}

TEST_F(HtmlViewerTest, AStringOfHtmlLeavesNoUriBehind)
{
    open("first.htm");
    viewer->showHtmlContent(OwnedString(u"<p>From a string</p>"));
    EXPECT_EQ(uri(), "");
    NyCore::Graphics::Rect box{};
    EXPECT_TRUE(html_helper_find_text(viewer->get$embedding(), OwnedString(u"string"), &box));
    // Two viewers share the helpers, which stop with the last.
    Widget* second = Widget::create(top, u"NyUser.Viewers.HTMLViewer", 0, 0, 0, 50, 50);
    EXPECT_EQ(HTMLViewer::get$liveCount(), 2);
    second->close();
    EXPECT_TRUE(runUntil([] { return HTMLViewer::get$liveCount() == 1; }));
}

}
