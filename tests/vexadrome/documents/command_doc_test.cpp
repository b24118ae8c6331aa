// The command document: how a script is split and run, what each value and
// failure shows, which text a failure selects, and when the document counts
// as modified.
#include <gtest/gtest.h>

#include "nycore/io/memory_stream.h"
#include "tests/vexadrome/documents/document_test_support.h"
#include "vexadrome/documents/command_doc.h"

using namespace Vexadrome::Documents;
using namespace DocumentTests;

namespace {

struct RunCase { std::u16string script; std::vector<std::string> events; bool succeeds; };

// Runs each script in a fresh store through a document with a recording view.
void expectRuns(std::vector<RunCase> const& cases)
{
    for (auto const& c : cases) {
        SCOPED_TRACE(TestSupport::toUtf8(c.script));
        TestHost host;
        RecordingCommandView view;
        CommandDoc document(&host);
        document.set$view(&view);
        EXPECT_EQ(document.processCmndList(TestSupport::OwnedString(c.script)), c.succeeds);
        EXPECT_EQ(view.events, c.events);
    }
}

}

TEST(CommandDoc, ScriptSplitting)
{
    std::string const success = "success Successfully executed the commands(s).";
    expectRuns({
        {u" ; ;\r\n;;", {success}, true},
        {u"a = 2; a * 3", {"value 6", success}, true},
        {u"1+1;;2\n+2;", {"value 2", "value 4", success}, true},
        // Values as the shared formatter writes them, matrix rows on lines of their own.
        {u"vector(1, 2, 3); vector(0.5); matrix((1, 2), (3, 4), (5, 6)); matrix((1, 2, 3))",
         {"value (1, 2, 3)", "value 0.5", "value [[1, 2]\n [3, 4]\n [5, 6]]", "value [[1, 2, 3]]", success}, true},
        // The first failure stops the run; the bad token is selected within the whole script.
        {u"1; 2 3; 4", {"value 1", "failure malformed expression", "select 5+1"}, false},
        {u"2;  f(x, x) = 1", {"value 2", "failure duplicate parameter name", "select 9+1"}, false},
        // Without a location the whole command is selected, leading blanks included.
        {u"1;  vector(1,2)+1 ;5", {"value 1", "failure invalid command parameters", "select 2+16"}, false},
        {u"a = 1;\nb = a +* 2;\nb", {"failure malformed expression", "select 6+11"}, false},
    });
    // Which commands are skipped as empty.
    for (auto [text, notEmpty] : {std::pair{u"", false}, {u" \t\r\n", false}, {u"  x ", true}, {u"\v", true}})
        EXPECT_EQ(CommandDoc::isNotEmpty(TestSupport::OwnedString(text)), notEmpty) << TestSupport::toUtf8(text);
}

TEST(CommandDoc, ModifiedState)
{
    TestHost host;
    RecordingCommandView view;
    host.view = &view;
    CommandDoc document(&host);  // after the view it borrows, so that it goes first
    document.set$title(u"Command1"_str);
    document.set$commandString(u"a = 1"_str);

    EXPECT_EQ(document.createDefaultView(), &view);
    EXPECT_EQ(host.requests, std::vector<std::string>{"Vexadrome.Interface.CommandTextView 'Command1' 0"});
    EXPECT_EQ(view.text.utf8(), "a = 1") << "the view shows the script";
    EXPECT_FALSE(document.get$isModified());

    view.type(u"a = 12");
    EXPECT_TRUE(document.get$isModified());
    view.type(u"a = 1");
    EXPECT_FALSE(document.get$isModified()) << "typing back the saved text";

    view.type(u"a = 2");
    NyCore::IO::StreamWriter writer;
    memwriter_construct(&writer);
    document.writeTo(&writer);
    TestSupport::OwnedString written(memwriter_get_text(&writer));
    memwriter_destroy(&writer);
    EXPECT_EQ(written.utf8(), "<command title=\"Command1\">a = 2</command>");
    EXPECT_TRUE(document.get$isModified()) << "written is not yet saved";
    document.markSaved();
    EXPECT_FALSE(document.get$isModified()) << "saving takes the view's text";
}

TEST(CommandDoc, WithoutWindowsAndFromTheMenu)
{
    TestHost host;
    CommandDoc document(&host);
    document.set$commandString(u"k = 7; nonsense +; m = 2"_str);
    EXPECT_FALSE(document.get$isModified()) << "no view";
    // Without a view nothing is shown, but definitions are made and failures stop the run.
    EXPECT_EQ(document.invokeMethod(u"onExecute"_str, nullptr), 0);
    EXPECT_NE(host.store.getFunction(u"k"_str), nullptr) << "Execute runs the document's own text";
    EXPECT_EQ(host.store.getFunction(u"m"_str), nullptr);

    // With a view, Execute runs the view's live text, with the definitions made before the failure.
    RecordingCommandView view;
    document.set$view(&view);
    view.type(u"k * 6");
    document.onExecute();
    EXPECT_EQ(view.events, (std::vector<std::string>{"value 42", "success Successfully executed the commands(s)."}));
    document.set$view(nullptr);
}
