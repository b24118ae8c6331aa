// The file chooser on a real display over a folder of test files, driven
// with real keys and clicks: the listing, opening and saving by typed names
// and paths, the checks before it ends (a missing file, a missing folder, a
// file to replace), the list by keys and double clicks, and the filter index.
#include <gtest/gtest.h>

#include <X11/keysym.h>

#include <string>
#include <vector>

#include "nycore/io/directory.h"
#include "nytoolkit/lists/drop_list.h"
#include "nyuser/commondialogs/dialog_text_box.h"
#include "nyuser/commondialogs/file_browse_dialog.h"
#include "nyuser/commondialogs/file_chooser.h"
#include "nyuser/commondialogs/folder_list.h"
#include "nyuser/commondialogs/msg_window.h"
#include "tests/nyuser/commondialogs/dialog_driver.h"
#include "tests/support/screenshots.h"
#include "tests/support/temp_folder.h"

using namespace NyUser::CommonDialogs;
using namespace TestSupport;

namespace {

using Names = std::vector<std::string>;

FileChooser* chooser()
{
    return dynamic_cast<FileChooser*>(CommonDialog::get$current());
}

// The chooser is up with its name box focused (again, after a message).
bool chooserReady()
{
    return dialogReady<FileChooser>() && Widget::get$focused() == chooser()->get$nameBox();
}

Names listed()
{
    Names labels;
    NyToolkit::ListContents* contents = chooser()->get$list()->get$contents();
    for (int i = 0; i < contents->get$count(); ++i)
        labels.push_back(toUtf8(contents->getLabel(i)));
    return labels;
}

std::string nameText()
{
    return toUtf8(chooser()->get$nameBox()->get$text());
}

std::function<bool()> selected(int line)
{
    return [line] { return chooser()->get$list()->get$selectedIndex() == line; };
}

std::function<bool()> inFolder(std::string const& end)
{
    return [end] { return dialogReady<FileChooser>() && chooser()->get$folder().ends_with(end); };
}

// Clicks the list's line `index`, found through the list's own hit test.
void clickLine(int index)
{
    FolderList* list = chooser()->get$list();
    for (int y = 0; y < list->get$height(); ++y)
        if (list->lineAt(8, y) == index) {
            pointerTo(list, 8, y + 3);
            return click();
        }
    ADD_FAILURE() << "line " << index << " is not shown";
}

class FileChooserTest : public DialogTest {
protected:
    void SetUp() override
    {
        DialogTest::SetUp();
        for (char const* folder : {"sub", "Alpha", ".git", "v1.0"})
            ::mkdir(at(folder).c_str(), 0755);
        for (char const* file : {"a.graph", "b.vexscr", "c.txt", ".hidden.graph", "Zeta.graph", "sub/inner.graph"})
            writeBytes(at(file), std::string("contents of ") + file);
    }

    // Runs the open or save dialog over `folder` (the test folder when empty)
    // with `filterIndex`; "<null>" when cancelled.
    std::string run(bool save, std::vector<Step> const& steps, std::string folder = "")
    {
        messages.clear();
        folder = folder.empty() ? files.path : folder;
        OwnedString title(save ? u"Save Graph" : u"Open Document"), start(std::u16string(folder.begin(), folder.end()));
        NyCore::String const* filters[] = {all, graph, script, nullptr};
        NyCore::String* path = nullptr;
        play([&] { path = (save ? FileBrowseDialog::saveFile : FileBrowseDialog::openFile)(owner, title, start,
                                                                                          filters, &filterIndex); },
             steps);
        return OwnedString(path).utf8();
    }
    // A message window comes up: its text is kept and the button clicked (the close box for "").
    Step answer(std::string const& button)
    {
        return {dialogReady<MsgWindow>, [this, button] {
                    messages.push_back(messageText());
                    button.empty() ? sendDeleteWindow() : clickLabelled(button);
                }};
    }
    std::string at(std::string const& name) const { return files.at(name); }

    TempFolder files;
    OwnedString all{u"All Vexadrome Files\t*.vexscr;*.graph"}, graph{u"Vexadrome Graph\t*.graph\tgraph"},
        script{u"Command Script\t*.vexscr\tvexscr"};
    int filterIndex = 0;
    std::vector<std::string> messages;
};

TEST_F(FileChooserTest, ListsFoldersThenFilesGrowsWithTheWindowAndWorksByTypedFolderNamesKeysAndClicks)
{
    auto places = [] {
        FileChooser* c = chooser();
        return std::vector<int>{c->get$list()->get$width(),    c->get$list()->get$height(),
                                c->get$nameBox()->get$width(), c->get$nameBox()->get$x(),
                                c->get$lastChild()->get$x(),   c->get$lastChild()->get$y()};
    };
    auto look = [&] {
        EXPECT_EQ(listed(), (Names{"Alpha/", "sub/", "v1.0/", "a.graph", "b.vexscr", "Zeta.graph"}));
        saveScreenshot(chooser(), "file_chooser");
        std::vector<int> expected = places(), growth = {60, 40, 60, 0, 60, 40};
        chooser()->setSize(chooser()->get$width() + 60, chooser()->get$height() + 40);
        for (std::size_t i = 0; i < expected.size(); ++i)
            expected[i] += growth[i];
        EXPECT_EQ(places(), expected) << "list width and height, name box width and place, Cancel's place";
        typeText("sub\n");
    };
    // A typed folder name opens it and empties the box; the Up button goes back with
    // the folder left chosen; a click on a file puts its name in the box, and the
    // arrows, End and Home keep it; Enter opens a folder and a double click chooses a file.
    std::string const root = files.path + "/";
    std::vector<Step> const steps = {
        {chooserReady, look},
        {inFolder("/sub/"), [] {
             EXPECT_EQ(listed(), Names{"inner.graph"});
             EXPECT_EQ(nameText(), "");
             clickLabelled("Up");
         }},
        {[&] { return inFolder(root)() && selected(1)(); }, [] { clickLine(3); }},
        {selected(3), [] { EXPECT_EQ(nameText(), "a.graph"); tap(XK_Up); tap(XK_Up); }},
        {selected(1), [] { EXPECT_EQ(nameText(), "a.graph"); tap(XK_End); }},
        {selected(5), [] { tap(XK_Home); }},
        {selected(0), [] { tap(XK_Down); }},
        {selected(1), [] { tap(XK_Return); }},
        {inFolder("/sub/"), [] { clickLine(0); click(); }},
    };
    EXPECT_EQ(run(false, steps), at("sub/inner.graph"));
}

TEST_F(FileChooserTest, OpeningNeedsAnExistingFileTakesPathsAndReportsAnUnreadableFolder)
{
    // A folder that cannot be opened to start with gives the current one. A missing
    // file is refused with the name kept; an absolute folder path opens that folder;
    // a folder that cannot be read leaves the chooser where it was; a relative name
    // is taken from the folder shown.
    OwnedString current(directory_get_cur());
    filterIndex = 1;
    std::vector<Step> const steps = {
        {chooserReady, [&] {
             EXPECT_EQ(chooser()->get$folder(), current.utf8());
             typeText(at("missing.graph") + "\n");
         }},
        answer("OK"),
        {chooserReady, [&] {
             EXPECT_EQ(nameText(), at("missing.graph"));
             chooser()->get$nameBox()->setText(nullptr);
             typeText(at("sub") + "\n");
         }},
        {inFolder("/sub/"), [&] { EXPECT_FALSE(chooser()->openFolder(at("c.txt"))); }},
        answer("OK"),
        {chooserReady, [&] { EXPECT_EQ(chooser()->get$folder(), at("sub/")); typeText("../b.vexscr\n"); }},
    };
    EXPECT_EQ(run(false, steps, at("no such folder")), at("b.vexscr"));
    ASSERT_EQ(messages.size(), 2u);
    EXPECT_EQ(messages[0], "The file \"" + at("missing.graph") + "\" does not exist.");
    EXPECT_EQ(messages[1].rfind("The folder \"" + at("c.txt") + "/\" cannot be read: ", 0), 0u) << messages[1];
    EXPECT_EQ(filterIndex, 1);
}

TEST_F(FileChooserTest, SavingAddsTheDefaultExtension)
{
    struct Case {
        char const* typed;
        int filter;
        char const* expected;
    } const cases[] = {
        {"report", 1, "report.graph"},    {"report", 2, "report.vexscr"},          {"report", 0, "report"},
        {"notes.txt", 1, "notes.txt"},    {"v1.0/report", 1, "v1.0/report.graph"}, {"sub/../new", 1, "new.graph"},
    };
    for (Case const& c : cases) {
        filterIndex = c.filter;
        auto type = [&] { typeText(c.typed + std::string("\n")); };
        EXPECT_EQ(run(true, {{chooserReady, type}}), at(c.expected)) << c.typed;
        EXPECT_EQ(filterIndex, c.filter) << c.typed;
        EXPECT_FALSE(exists(at(c.expected))) << "the dialog writes nothing";
    }
}

TEST_F(FileChooserTest, SavingFollowsTheFilterNeedsAnExistingFolderAndAsksBeforeReplacing)
{
    // The filter index is preselected, and another filter chosen lists its files; a
    // missing folder is refused; "a" becomes a.graph, which exists: the question's
    // close box is No and keeps the chooser open with the name; Yes takes it.
    filterIndex = 2;
    NyToolkit::DropList* filters = nullptr;
    std::vector<Step> const steps = {
        {chooserReady, [&] {
             filters = chooser()->get$filterList();
             EXPECT_EQ(filters->get$selectedIndex(), 2);
             EXPECT_EQ(listed(), (Names{"Alpha/", "sub/", "v1.0/", "b.vexscr"}));
             clickMiddle(filters);
         }},
        {[&] { return filters->get$popUp() && mapped(filters->get$popUp()); }, [] { tap(XK_Up); tap(XK_Return); }},
        {[&] { return !filters->get$popUp() && filters->get$selectedIndex() == 1; }, [] {
             EXPECT_EQ(listed(), (Names{"Alpha/", "sub/", "v1.0/", "a.graph", "Zeta.graph"}));
             clickMiddle(chooser()->get$nameBox());
         }},
        {chooserReady, [] { typeText("nowhere/report\n"); }},
        answer("OK"),
        {chooserReady, [] { chooser()->get$nameBox()->setText(nullptr); typeText("a\n"); }},
        answer(""),
        {chooserReady, [] { EXPECT_EQ(nameText(), "a"); clickLabelled("Save"); }},
        answer("Yes"),
    };
    EXPECT_EQ(run(true, steps), at("a.graph"));
    std::string const question = "The file \"" + at("a.graph") + "\" already exists.\nDo you want to replace it?";
    EXPECT_EQ(messages, (Names{"The folder \"" + at("nowhere/") + "\" does not exist.", question, question}));
    EXPECT_EQ(readBytes(at("a.graph")), "contents of a.graph") << "asking changes nothing";
    EXPECT_EQ(filterIndex, 1);
}

TEST_F(FileChooserTest, TabVisitsEveryControlAndEscapeInAnyOfThemCancelsLeavingTheIndex)
{
    auto describe = [](Widget* widget) -> std::string {
        if (auto* button = dynamic_cast<TextButton*>(widget))
            return toUtf8(button->get$label());
        return dynamic_cast<DialogTextBox*>(widget)        ? "name box"
               : dynamic_cast<NyToolkit::DropList*>(widget) ? "filters"
               : dynamic_cast<FolderList*>(widget)          ? "list"
                                                            : "?";
    };
    char const* const order[] = {"name box", "Open", "filters", "Cancel", "Up", "Home", "list"};
    for (int tabs = 0; tabs < 7; ++tabs) {
        std::string focused;
        Widget* last = nullptr;
        // Each Tab waits until the one before has moved the focus; the last key is Escape.
        std::vector<Step> steps = {{chooserReady, [&] { last = Widget::get$focused(); }}};
        for (int t = 0; t <= tabs; ++t)
            steps.push_back({[&, t] { return t == 0 || Widget::get$focused() != last; }, [&, t, tabs] {
                                 last = Widget::get$focused();
                                 focused = describe(last);
                                 tap(t < tabs ? XK_Tab : XK_Escape);
                             }});
        filterIndex = 2;
        EXPECT_EQ(run(false, steps), "<null>") << tabs << " tabs";
        EXPECT_EQ(focused, order[tabs]) << tabs << " tabs";
        EXPECT_EQ(filterIndex, 2) << "a cancelled dialog leaves the index";
    }
}

}
