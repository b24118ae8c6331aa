// The file chooser on a real display over a folder of test files, driven
// with real keys and clicks: the listing, opening and saving by typed names
// and paths, the checks before it ends (a missing file, a missing folder, a
// file to replace), the list by keys and double clicks, and the filter index.
#include <gtest/gtest.h>

#include <X11/keysym.h>

#include <string>
#include <vector>

#include "nycore/io/directory.h"
#include "nytoolkit/buttons/text_button.h"
#include "nytoolkit/lists/drop_list.h"
#include "nytoolkit/text/text_box.h"
#include "nytoolkit/widgets/label.h"
#include "nyuser/commondialogs/dialog_text_box.h"
#include "nyuser/commondialogs/file_browse_dialog.h"
#include "nyuser/commondialogs/file_chooser.h"
#include "nyuser/commondialogs/folder_list.h"
#include "nyuser/commondialogs/msg_window.h"
#include "tests/nyuser/commondialogs/dialog_driver.h"
#include "tests/support/forms.h"
#include "tests/support/screenshots.h"
#include "tests/support/strings.h"
#include "tests/support/temp_folder.h"

using namespace NyUser::CommonDialogs;
using namespace TestSupport;
using NyCore::System::Widget;

namespace {

FileChooser* chooser()
{
    return dynamic_cast<FileChooser*>(CommonDialog::get$current());
}

// The chooser is up with its name box focused (again, after a message).
bool chooserReady()
{
    return dialogReady<FileChooser>() && Widget::get$focused() == chooser()->get$nameBox();
}

std::vector<std::string> listed()
{
    std::vector<std::string> labels;
    NyToolkit::ListContents* contents = chooser()->get$list()->get$contents();
    for (int i = 0; i < contents->get$count(); ++i)
        labels.push_back(toUtf8(contents->getLabel(i)));
    return labels;
}

std::string nameText()
{
    return toUtf8(chooser()->get$nameBox()->get$text());
}

// The message of the open message window.
std::string messageText()
{
    return toUtf8(static_cast<NyToolkit::Label*>(CommonDialog::get$current()->get$firstChild())->get$text());
}

// The point of the list's line `index`, found through the list's own hit test.
int lineY(int index)
{
    FolderList* list = chooser()->get$list();
    for (int y = 0; y < list->get$height(); ++y)
        if (list->lineAt(8, y) == index)
            return y + 3;
    ADD_FAILURE() << "line " << index << " is not shown";
    return 0;
}

void clickWidget(Widget* widget)
{
    pointerTo(widget, widget->get$width() / 2, widget->get$height() / 2);
    click();
}

// The open dialog's button with that label.
void clickLabelled(std::string const& label)
{
    Widget* first = CommonDialog::get$current()->get$firstChild();
    Widget* child = first;
    do {
        auto* button = dynamic_cast<NyToolkit::Buttons::TextButton*>(child);
        if (button && toUtf8(button->get$label()) == label) {
            clickWidget(button);
            return;
        }
        child = child->get$nextSibling();
    } while (child != first);
    ADD_FAILURE() << "no button " << label;
}

Step typeAndEnter(std::string const& text)
{
    return {chooserReady, [text] {
                typeText(text);
                tap(XK_Return);
            }};
}

class FileChooserTest : public WindowTest {
protected:
    void SetUp() override
    {
        WindowTest::SetUp();
        for (char const* file : {"a.graph", "b.vexscr", "c.txt", ".hidden.graph", "Zeta.graph"})
            writeBytes(files.at(file), std::string("contents of ") + file);
        for (char const* folder : {"sub", "Alpha", ".git", "v1.0"})
            ::mkdir(files.at(folder).c_str(), 0755);
        writeBytes(files.at("sub/inner.graph"), "inner");
        owner = formFromText(uR"(<NyToolkit.Form w="200" h="60" caption="Owner">
  <NyToolkit.TextBox id="box" x="10" y="10" w="150" h="22" flags="TabStop"/></NyToolkit.Form>)");
        ownerBox = child(owner, u"box");
        ownerBox->focus();
        ASSERT_TRUE(runUntil([&] { return Widget::get$focused() == ownerBox; }));
    }
    void TearDown() override { owner->close(); }

    // Runs the open or save dialog over the test folder; "<null>" when cancelled.
    std::string run(bool save, std::vector<Step> const& steps, int* filterIndex, std::string folder = "")
    {
        OwnedString title(save ? u"Save Graph" : u"Open Document");
        OwnedString start(toU16(folder.empty() ? files.path : folder));
        NyCore::String const* filters[] = {all, graph, script, nullptr};
        NyCore::String* path = nullptr;
        std::string stuck;
        EXPECT_TRUE(runDialog(
            [&] {
                path = save ? FileBrowseDialog::saveFile(owner, title, start, filters, filterIndex)
                            : FileBrowseDialog::openFile(owner, title, start, filters, filterIndex);
            },
            steps, &stuck))
            << stuck;
        EXPECT_TRUE(runUntil([&] { return Widget::get$focused() == ownerBox; })) << "the focus is back on the owner";
        OwnedString owned(path);
        return toUtf8(owned);
    }
    std::string at(std::string const& name) const { return files.at(name); }
    static std::u16string toU16(std::string const& text) { return std::u16string(text.begin(), text.end()); }

    TempFolder files;
    OwnedString all{u"All Vexadrome Files\t*.vexscr;*.graph"};
    OwnedString graph{u"Vexadrome Graph\t*.graph\tgraph"};
    OwnedString script{u"Command Script\t*.vexscr\tvexscr"};
    NyToolkit::Form* owner = nullptr;
    Widget* ownerBox = nullptr;
};

TEST_F(FileChooserTest, ListsFoldersThenMatchingFilesAndOpensATypedName)
{
    int filterIndex = 0;
    std::vector<std::string> seen;
    std::vector<int> grown;
    std::string folder;
    std::string path = run(false,
                           {{chooserReady, [&] {
                                 seen = listed();
                                 folder = chooser()->get$folder();
                                 saveScreenshot(chooser(), "file_chooser");
                                 // Made larger, the list and the name box grow and the buttons keep to the corner.
                                 FileChooser* c = chooser();
                                 Widget* cancel = c->get$lastChild();
                                 std::vector<int> before = {c->get$list()->get$width(), c->get$list()->get$height(),
                                                            c->get$nameBox()->get$width(), c->get$nameBox()->get$x(),
                                                            cancel->get$x(), cancel->get$y()};
                                 c->setSize(c->get$width() + 60, c->get$height() + 40);
                                 std::vector<int> after = {c->get$list()->get$width(), c->get$list()->get$height(),
                                                           c->get$nameBox()->get$width(), c->get$nameBox()->get$x(),
                                                           cancel->get$x(), cancel->get$y()};
                                 for (std::size_t i = 0; i < before.size(); ++i)
                                     grown.push_back(after[i] - before[i]);
                                 typeText("a.graph");
                                 tap(XK_Return);
                             }}},
                           &filterIndex);
    EXPECT_EQ(seen, (std::vector<std::string>{"Alpha/", "sub/", "v1.0/", "a.graph", "b.vexscr", "Zeta.graph"}));
    EXPECT_EQ(grown, (std::vector<int>{60, 40, 60, 0, 60, 40})) << "list width and height, name box width and place, "
                                                                  "Cancel's place";
    EXPECT_EQ(folder, files.path + "/");
    EXPECT_EQ(path, at("a.graph"));
    EXPECT_EQ(filterIndex, 0);
}

TEST_F(FileChooserTest, OpeningAMissingFileSaysSoAndKeepsTheChooserOpen)
{
    int filterIndex = 1;
    std::string message;
    bool backInChooser = false;
    std::string path = run(false,
                           {typeAndEnter("missing.graph"),
                            {dialogReady<MsgWindow>, [&] {
                                 message = messageText();
                                 tap(XK_Return);
                             }},
                            {chooserReady, [&] {
                                 backInChooser = nameText() == "missing.graph";
                                 tap(XK_Escape);
                             }}},
                           &filterIndex);
    EXPECT_EQ(message, "The file \"" + at("missing.graph") + "\" does not exist.");
    EXPECT_TRUE(backInChooser) << "the typed name is kept";
    EXPECT_EQ(path, "<null>");
    EXPECT_EQ(filterIndex, 1) << "a cancelled dialog leaves the index";

    // A folder that cannot be read is reported, and the chooser stays where it was.
    std::string folderAfter;
    bool opened = true;
    path = run(false,
               {{chooserReady, [&] { opened = chooser()->openFolder(at("c.txt")); }},
                {dialogReady<MsgWindow>, [&] {
                     message = messageText();
                     tap(XK_Return);
                 }},
                {chooserReady, [&] {
                     folderAfter = chooser()->get$folder();
                     tap(XK_Escape);
                 }}},
               &filterIndex);
    EXPECT_FALSE(opened);
    EXPECT_EQ(message.rfind("The folder \"" + at("c.txt") + "/\" cannot be read: ", 0), 0u) << message;
    EXPECT_EQ(folderAfter, files.path + "/");
    EXPECT_EQ(path, "<null>");
}

TEST_F(FileChooserTest, TypedRelativePathsAndFolderPaths)
{
    int filterIndex = 0;
    std::vector<std::string> inSub;
    std::string folder, box;
    std::string path = run(false,
                           {typeAndEnter("sub"),
                            {[] { return chooserReady() && chooser()->get$folder().ends_with("/sub/"); }, [&] {
                                 inSub = listed();
                                 folder = chooser()->get$folder();
                                 box = nameText();
                                 typeText("../b.vexscr");
                                 tap(XK_Return);
                             }}},
                           &filterIndex);
    EXPECT_EQ(folder, at("sub/"));
    EXPECT_EQ(inSub, (std::vector<std::string>{"inner.graph"}));
    EXPECT_EQ(box, "") << "opening a folder empties the name box";
    EXPECT_EQ(path, at("b.vexscr"));

    // An absolute path from anywhere; a folder that cannot be opened to start with gives the current one.
    OwnedString current(directory_get_cur());
    std::string started;
    path = run(false,
               {{chooserReady, [&] {
                     started = chooser()->get$folder();
                     typeText(at("sub/inner.graph"));
                     tap(XK_Return);
                 }}},
               &filterIndex, at("no such folder"));
    EXPECT_EQ(started, current.utf8());
    EXPECT_EQ(path, at("sub/inner.graph"));
}

TEST_F(FileChooserTest, TheListByClicksKeysAndDoubleClicks)
{
    int filterIndex = 0;
    std::string afterClick, afterUp;
    std::vector<std::string> inSub;
    std::string path = run(
        false,
        {{chooserReady, [] {
              pointerTo(chooser()->get$list(), 8, lineY(3));
              click();
          }},
         // One click on a file puts its name in the box; Up moves to the folder above it.
         {[] { return chooser()->get$list()->get$selectedIndex() == 3; }, [&] {
              afterClick = nameText();
              tap(XK_Up);
              tap(XK_Up);
          }},
         {[] { return chooser()->get$list()->get$selectedIndex() == 1; }, [&] {
              afterUp = nameText();
              tap(XK_Return);
          }},
         // Enter on a folder opens it; Down takes the first line and Enter chooses the file.
         {[] { return chooser()->get$folder().ends_with("/sub/"); }, [&] {
              inSub = listed();
              tap(XK_Down);
          }},
         {[] { return chooser()->get$list()->get$selectedIndex() == 0; }, [] { tap(XK_Return); }}},
        &filterIndex);
    EXPECT_EQ(afterClick, "a.graph");
    EXPECT_EQ(afterUp, "a.graph") << "choosing a folder leaves the name";
    EXPECT_EQ(inSub, (std::vector<std::string>{"inner.graph"}));
    EXPECT_EQ(path, at("sub/inner.graph"));

    // The Up button goes back with the folder left chosen; End, Home; a double click chooses.
    std::string upFolder;
    int upChosen = -1;
    path = run(false,
               {{chooserReady, [] { clickLabelled("Up"); }},
                {[] { return !chooser()->get$folder().ends_with("/sub/"); }, [&] {
                     upFolder = chooser()->get$folder();
                     upChosen = chooser()->get$list()->get$selectedIndex();
                     pointerTo(chooser()->get$list(), 8, lineY(0));
                     click();
                 }},
                {[] { return chooser()->get$list()->get$selectedIndex() == 0; }, [] { tap(XK_End); }},
                {[] { return chooser()->get$list()->get$selectedIndex() == 5; }, [] { tap(XK_Home); }},
                {[] { return chooser()->get$list()->get$selectedIndex() == 0; }, [] {
                     pointerTo(chooser()->get$list(), 8, lineY(4));
                     click();
                     click();
                 }}},
               &filterIndex, at("sub"));
    EXPECT_EQ(upFolder, files.path + "/");
    EXPECT_EQ(upChosen, 1) << "the folder left is chosen";
    EXPECT_EQ(path, at("b.vexscr"));
}

TEST_F(FileChooserTest, SavingAddsTheDefaultExtensionAndNeedsAnExistingFolder)
{
    struct Case {
        char const* typed;
        int filter;
        char const* expected;
    } const cases[] = {
        {"report", 1, "report.graph"},
        {"report", 2, "report.vexscr"},
        {"report", 0, "report"},
        {"notes.txt", 1, "notes.txt"},
        {"v1.0/report", 1, "v1.0/report.graph"},
        {"sub/../new", 1, "new.graph"},
    };
    for (Case const& c : cases) {
        int filterIndex = c.filter;
        EXPECT_EQ(run(true, {typeAndEnter(c.typed)}, &filterIndex), at(c.expected)) << c.typed;
        EXPECT_EQ(filterIndex, c.filter) << c.typed;
        EXPECT_FALSE(exists(at(c.expected))) << "the dialog writes nothing";
    }

    // A folder that does not exist: a message, the chooser stays, Cancel gives nothing.
    int filterIndex = 1;
    std::string message;
    std::string path = run(true,
                           {typeAndEnter("nowhere/report"),
                            {dialogReady<MsgWindow>, [&] {
                                 message = messageText();
                                 clickLabelled("OK");
                             }},
                            {chooserReady, [] { clickLabelled("Cancel"); }}},
                           &filterIndex);
    EXPECT_EQ(message, "The folder \"" + at("nowhere/") + "\" does not exist.");
    EXPECT_EQ(path, "<null>");
}

TEST_F(FileChooserTest, SavingOverAnExistingFileAsksFirst)
{
    // "a" becomes a.graph, which exists: No keeps the chooser open, Yes takes it.
    int filterIndex = 1;
    std::vector<std::string> messages;
    bool stayed = false;
    std::string path = run(true,
                           {typeAndEnter("a"),
                            {dialogReady<MsgWindow>, [&] {
                                 messages.push_back(messageText());
                                 clickLabelled("No");
                             }},
                            {chooserReady, [&] {
                                 stayed = nameText() == "a";
                                 clickLabelled("Save");
                             }},
                            {dialogReady<MsgWindow>, [&] {
                                 messages.push_back(messageText());
                                 clickLabelled("Yes");
                             }}},
                           &filterIndex);
    std::string const question = "The file \"" + at("a.graph") + "\" already exists.\nDo you want to replace it?";
    EXPECT_EQ(messages, (std::vector<std::string>{question, question}));
    EXPECT_TRUE(stayed);
    EXPECT_EQ(path, at("a.graph"));
    EXPECT_EQ(readBytes(at("a.graph")), "contents of a.graph") << "asking changes nothing";

    // The close box of the question is No as well.
    path = run(true,
               {typeAndEnter("Zeta"),
                {dialogReady<MsgWindow>, [] { sendDeleteWindow(CommonDialog::get$current()); }},
                {chooserReady, [] { sendDeleteWindow(CommonDialog::get$current()); }}},
               &filterIndex);
    EXPECT_EQ(path, "<null>");
}

TEST_F(FileChooserTest, TheFilterIndexIsPreselectedFollowedAndReturned)
{
    int filterIndex = 2;
    int preselected = -1;
    std::vector<std::string> scripts, graphs;
    std::string path = run(true,
                           {{chooserReady, [&] {
                                 preselected = chooser()->get$filterList()->get$selectedIndex();
                                 scripts = listed();
                                 clickWidget(chooser()->get$filterList());
                             }},
                            {[] { return chooser()->get$filterList()->get$popUp() &&
                                         mapped(chooser()->get$filterList()->get$popUp()); },
                             [] {
                                 tap(XK_Up);
                                 tap(XK_Return);
                             }},
                            {[] { return !chooser()->get$filterList()->get$popUp() &&
                                         chooser()->get$filterList()->get$selectedIndex() == 1; },
                             [&] {
                                 graphs = listed();
                                 pointerTo(chooser()->get$nameBox(), 5, 5);
                                 click();
                             }},
                            {chooserReady, [] {
                                 typeText("fresh");
                                 clickLabelled("Save");
                             }}},
                           &filterIndex);
    EXPECT_EQ(preselected, 2);
    EXPECT_EQ(scripts, (std::vector<std::string>{"Alpha/", "sub/", "v1.0/", "b.vexscr"}));
    EXPECT_EQ(graphs, (std::vector<std::string>{"Alpha/", "sub/", "v1.0/", "a.graph", "Zeta.graph"}));
    EXPECT_EQ(path, at("fresh.graph"));
    EXPECT_EQ(filterIndex, 1);
}

TEST_F(FileChooserTest, TabVisitsEveryControlAndEscapeInAnyOfThemCancels)
{
    auto describe = [](Widget* widget) -> std::string {
        if (auto* button = dynamic_cast<NyToolkit::Buttons::TextButton*>(widget))
            return toUtf8(button->get$label());
        if (dynamic_cast<DialogTextBox*>(widget))
            return "name box";
        if (dynamic_cast<NyToolkit::DropList*>(widget))
            return "filters";
        if (dynamic_cast<FolderList*>(widget))
            return "list";
        return "?";
    };
    char const* const order[] = {"name box", "Open", "filters", "Cancel", "Up", "Home", "list"};
    for (int tabs = 0; tabs < 7; ++tabs) {
        int filterIndex = 0;
        std::string focused;
        Widget* last = nullptr;
        std::vector<Step> steps = {{chooserReady, [&] { last = Widget::get$focused(); }}};
        // Each Tab waits until the one before has moved the focus.
        for (int t = 0; t <= tabs; ++t)
            steps.push_back({[&, t] { return t == 0 || Widget::get$focused() != last; }, [&, t, tabs] {
                                 last = Widget::get$focused();
                                 if (t < tabs) {
                                     tap(XK_Tab);
                                     return;
                                 }
                                 focused = describe(last);
                                 tap(XK_Escape);
                             }});
        EXPECT_EQ(run(false, steps, &filterIndex), "<null>") << tabs << " tabs";
        EXPECT_EQ(focused, order[tabs]) << tabs << " tabs";
    }
}

}
