// The command text view in a window with real keys: a script typed (Enter
// starts a new line) and executed through its document, the value boxes and
// the success box answered with Enter, a failing command selected in the
// text, and the one font that all views share until the last one goes.
#include "vexadrome/documents/command_doc.h"
#include "vexadrome/interface/command_text_view.h"

#include <gtest/gtest.h>

#include <X11/keysym.h>

#include <string>
#include <vector>

#include "nytoolkit/text/text_area.h"
#include "nyuser/commondialogs/msg_window.h"
#include "tests/nyuser/commondialogs/dialog_driver.h"
#include "tests/support/screenshots.h"
#include "tests/vexadrome/interface/view_test_host.h"

using NyUser::CommonDialogs::MsgWindow;
using TestSupport::OwnedString;
using Vexadrome::Documents::CommandDoc;
using Vexadrome::Interface::CommandTextView;
using ViewTests::type;

namespace {

// The dialog driver's play() runs the boxes from inside their own loops. Its
// owner window is not needed here: the boxes stand over the views' windows.
class CommandTextViewTest : public TestSupport::DialogTest {
protected:
    void SetUp() override
    {
        DialogTest::SetUp();
        owner->close();
        owner = nullptr;
        TestSupport::registerOnce(&CommandTextView::MetaData);
    }
    void TearDown() override
    {
        host.closeAll();
        for (CommandDoc* doc : docs)
            delete doc;
    }

    // A new command document shown in its own window, its view focused.
    CommandTextView* open(char16_t const* title)
    {
        auto* doc = new CommandDoc(&host);
        docs.push_back(doc);
        doc->set$title(OwnedString(title));
        auto* view = dynamic_cast<CommandTextView*>(doc->createDefaultView());
        EXPECT_TRUE(view && doc->get$view() == view) << "the document attached its view";
        return view;
    }

    // A step that waits for the message box with that text and answers it with Enter.
    static TestSupport::Step answer(std::string const& message)
    {
        return {[message] { return TestSupport::dialogReady<MsgWindow>() && TestSupport::messageText() == message; },
                [] {
                    ::Window box = TestSupport::CommonDialog::get$current()->get$nativeWindow();
                    EXPECT_EQ(TestSupport::windowProperty(box, "WM_NAME"), "Vexadrome");
                    TestSupport::tap(XK_Return);
                }};
    }

    static std::string selectionOf(CommandTextView* view)
    {
        NyToolkit::TextKernel& kernel = view->get$textArea()->get$kernel();
        std::u16string text = TestSupport::toU16(view->get$commandString());
        auto const start = static_cast<std::size_t>(kernel.selectionStart());
        return TestSupport::toUtf8(text.substr(start, static_cast<std::size_t>(kernel.selectionEnd()) - start));
    }

    ViewTests::WindowHost host;
    std::vector<CommandDoc*> docs;
};

TEST_F(CommandTextViewTest, TypedScriptRunsShowingValuesThenSuccessOrSelectingTheFailure)
{
    CommandTextView* view = open(u"Command1");
    ASSERT_TRUE(view);
    CommandDoc* doc = docs.back();
    EXPECT_EQ(NyCore::System::Widget::get$focused(), view->get$textArea()) << "the script text takes the focus";
    EXPECT_FALSE(doc->get$isModified());

    // Enter starts a new line; one command spans two lines.
    type("a = 2;\na * 3;\nvector(a,\n 1)");
    std::string const script = "a = 2;\na * 3;\nvector(a,\n 1)";
    EXPECT_EQ(TestSupport::toUtf8(view->get$commandString()), script);
    EXPECT_EQ(view->get$textArea()->get$lineCount(), 4);
    EXPECT_TRUE(doc->get$isModified());

    play([&] { doc->onExecute(); },
         {answer("6"), answer("(2, 1)"), answer(TestSupport::toUtf8(CommandDoc::SuccessMessage))});
    EXPECT_TRUE(TestSupport::runUntil([&] { return NyCore::System::Widget::get$focused() == view->get$textArea(); }))
        << "the focus came back to the script";

    // The second command fails at an unknown name: its box, no success box, the name selected.
    view->get$textArea()->selectAll();
    type("b = 1; b + zz; 7");
    play([&] { doc->onExecute(); }, {answer("unknown variable or function")});
    EXPECT_EQ(selectionOf(view), "zz");
    EXPECT_TRUE(TestSupport::saveScreenshot(host.windows.back(), "command_view"));

    // A command with no position of its own is selected whole.
    view->set$commandString(OwnedString(u"1;  y = 2 +  ;2"));
    play([&] { doc->onExecute(); }, {answer("1"), answer("malformed expression")});
    EXPECT_EQ(selectionOf(view), "  y = 2 +  ");
}

TEST_F(CommandTextViewTest, TextComesBackAsSetAndAllViewsShareOneFont)
{
    CommandTextView* first = open(u"Command1");
    CommandTextView* second = open(u"Command2");
    ASSERT_TRUE(first && second);
    NyCore::Graphics::Font* font = CommandTextView::get$sharedFont();
    ASSERT_TRUE(font);
    EXPECT_EQ(CommandTextView::get$liveViews(), 2);
    EXPECT_EQ(font->get$size(), CommandTextView::FontSize);
    for (CommandTextView* view : {first, second})
        EXPECT_EQ(view->get$textArea()->get$style()->get$font(), font);

    // The text fills the view at any size.
    first->setSize(ViewTests::WindowHost::Width / 2, ViewTests::WindowHost::Height / 3);
    ViewTests::settle();
    EXPECT_EQ(first->get$textArea()->get$width(), first->get$width());
    EXPECT_EQ(first->get$textArea()->get$height(), first->get$height());

    for (char16_t const* text : {u"x = 1;\r\ny = x\n", u"", u"\t;;\n\n"}) {
        first->set$commandString(OwnedString(text));
        EXPECT_EQ(TestSupport::toU16(first->get$commandString()), text);
    }

    // The view always agrees to close; the other keeps the font and goes on working.
    font->addRef();
    EXPECT_TRUE(first->suggestClose());
    EXPECT_TRUE(TestSupport::runUntil([] { return CommandTextView::get$liveViews() == 1; }));
    EXPECT_EQ(CommandTextView::get$sharedFont(), font);
    ViewTests::WindowHost::focus(second);
    type("k;\n");
    EXPECT_EQ(TestSupport::toUtf8(second->get$commandString()), "k;\n");

    // The last view releases the font: only this test's reference is left.
    EXPECT_TRUE(second->suggestClose());
    EXPECT_TRUE(TestSupport::runUntil([] { return CommandTextView::get$liveViews() == 0; }));
    EXPECT_EQ(CommandTextView::get$sharedFont(), nullptr);
    EXPECT_EQ(font->get$referenceCount(), 1);
    font->release();
}

}
