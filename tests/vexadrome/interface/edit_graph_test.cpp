// The options dialog over a graph document, driven by real keys and clicks:
// the settings it shows, the variable table and its cell editors, the
// values it refuses, and an accepted change that breaks an expression.
#include <gtest/gtest.h>

#include "nytoolkit/text/text_area.h"
#include "tests/support/screenshots.h"
#include "tests/support/temp_folder.h"
#include "tests/vexadrome/interface/graph_dialog_host.h"
#include "vexadrome/interface/edit_exprs.h"
#include "vexadrome/interface/edit_graph.h"
#include "vexadrome/interface/equation_graph_view.h"
#include "vexadrome/interface/vexadrome_app.h"
#include "vexadrome/interface/vexadrome_app_win.h"

namespace {

using namespace GraphDialogTests;
using TestSupport::ModalStep;
using TestSupport::OwnedString;
using TestSupport::toUtf8;
using Vexadrome::Documents::GraphDoc;
using Vexadrome::Documents::GraphExpr;
using Vexadrome::Interface::EditExprs;
using Vexadrome::Interface::EditGraph;

class EditGraphTest : public GraphDialogTest {};

EditGraph* options()
{
    return current<EditGraph>();
}

template <typename T = NyToolkit::TextBox>
T* widget(char16_t const* id)
{
    return TestSupport::child<T>(options(), id);
}

void clickButton(char16_t const* id, int times = 1)
{
    for (int i = 0; i < times; ++i)
        clickMiddle(widget<NyToolkit::Buttons::TextButton>(id));
}

std::string text(char16_t const* id)
{
    return toUtf8(widget(id)->get$text());
}

std::vector<std::string> names()
{
    std::vector<std::string> result;
    for (int row = 0; row < options()->get$rowCount(); ++row)
        result.push_back(toUtf8(options()->nameCell(row)));
    return result;
}

bool optionsOnly()
{
    return dialogReady<EditGraph>() && !CommonDialog::get$current();
}

// No cell editor is open: the keys typed into the last one have all arrived.
bool idle()
{
    return optionsOnly() && options()->get$editRow() == -1;
}

// A click on the cell (once `ready`), then, when its editor has the focus and
// the table has let go of the pointer, the cell's own step.
std::vector<ModalStep> editCell(int row, int column, std::function<void()> const& typed,
                                std::function<bool()> const& ready = idle)
{
    return {{ready, [row, column] { clickCell(options()->get$varList(), row, column); }},
            {[row, column] {
                 EditGraph* o = options();
                 NyCore::System::Widget* editor = o->get$valueEditor();
                 if (column == EditGraph::Name)
                     editor = o->get$nameEditor();
                 return o->get$editRow() == row && o->get$editColumn() == column &&
                        NyCore::System::Widget::get$focused() == editor && released(o->get$varList());
             },
             typed}};
}

std::vector<ModalStep> operator+(std::vector<ModalStep> a, std::vector<ModalStep> const& b)
{
    a.insert(a.end(), b.begin(), b.end());
    return a;
}

TEST_F(EditGraphTest, DefaultsVariablesAddedAndDeletedAndCancelLeavesTheGraphUnmarked)
{
    GraphDoc doc(&host);
    CountingView view;
    doc.view = &view;
    play([&] { doc.onEditGraph(); },
         std::vector<ModalStep>{
             {dialogReady<EditGraph>,
              [&] {
                  struct Field { char16_t const* id; char const* shown; };
                  Field const fields[] = {{u"wFovAngle", "50"}, {u"wNerPlane", "0.1"}, {u"wFarPlane", "1000"},
                                          {u"wAxesLength", "50"}, {u"wFrameRate", "30"}, {u"wGraphName", ""}};
                  for (Field const& f : fields)
                      EXPECT_EQ(text(f.id), f.shown) << toUtf8(OwnedString(f.id));
                  EXPECT_EQ(widget<NyToolkit::DropList>(u"wBkgndColor")->get$selectedIndex(), 14);
                  EXPECT_EQ(widget<NyToolkit::DropList>(u"wGraphMode")->get$selectedIndex(), 0);
                  ASSERT_EQ(names(), std::vector<std::string>{"x"});
                  double const range[] = {-10, 10, 25, 25};
                  for (int column = EditGraph::Min; column <= EditGraph::Tick; ++column)
                      EXPECT_EQ(options()->numberCell(0, column), range[column - 1]) << column;
                  TestSupport::saveScreenshot(options(), "grphedit");
                  clickButton(u"wBtnAddVar", 2);
              }},
             {[] { return options()->get$rowCount() == 3; },
              [] { EXPECT_EQ(names(), (std::vector<std::string>{"x", "y", "z"})); }},
         } + editCell(1, EditGraph::Min, [] {
             EXPECT_EQ(toUtf8(options()->get$valueEditor()->get$text()), "-10.000");
             clickButton(u"wBtnDelVar");
         }) + std::vector<ModalStep>{
             {[] { return options()->get$rowCount() == 2; },
              [] {
                  EXPECT_EQ(names(), (std::vector<std::string>{"x", "z"}));
                  EXPECT_EQ(options()->get$varList()->get$firstSelected(), 1) << "the row that took its place";
                  clickButton(u"wBtnAddVar");
              }},
             {[] { return options()->get$rowCount() == 3; },
              [] { EXPECT_EQ(names(), (std::vector<std::string>{"x", "z", "z"})) << "named by the row count"; }},
         } + editCell(2, EditGraph::Res, [] {
             EXPECT_EQ(toUtf8(options()->get$valueEditor()->get$text()), "25");
             clickButton(u"wBtnDelVar");
         }) + std::vector<ModalStep>{
             {[] { return options()->get$rowCount() == 2; },
              [] {
                  EXPECT_EQ(options()->get$varList()->get$firstSelected(), 1) << "the last row went: the new last";
                  clickButton(u"wBtnAddVar", 7);
              }},
             {messageReady,
              [] {
                  EXPECT_EQ(messageText(), "The limit on the number of graph varaibles is 8.");
                  EXPECT_EQ(options()->get$rowCount(), 8);
                  EXPECT_EQ(names().back(), "d");
                  TestSupport::tap(XK_Return);
              }},
             {optionsOnly, [] { clickButton(u"wBtnDelVar", 8); }},
             {messageReady,
              [] {
                  EXPECT_EQ(messageText(), "There must be at least one variable within the graph.");
                  EXPECT_EQ(options()->get$rowCount(), 1);
                  TestSupport::tap(XK_Return);
              }},
             {optionsOnly, [] { clickButton(u"wBtnCancel"); }},
         });
    EXPECT_EQ(doc.get$varCount(), 1);
    EXPECT_FALSE(doc.get$isModified());
    EXPECT_TRUE(host.titles.empty());
    EXPECT_EQ(view.refreshes, 0);
}

TEST_F(EditGraphTest, CellEditorsWriteBackOnlyWhatWasTypedAndAcceptApplies)
{
    GraphDoc doc(&host);
    CountingView view;
    doc.view = &view;
    OwnedString x(u"x");
    double const max = 0.123456789;
    doc.updateVariable(0, x, -10.0, max, 25, 25);
    play([&] { doc.onEditGraph(); },
         editCell(0, EditGraph::Max, [] {
             EXPECT_EQ(toUtf8(options()->get$valueEditor()->get$text()), "0.123");
             TestSupport::saveScreenshot(options(), "grphedit_cell");
         }) + editCell(0, EditGraph::Min, [&] {
             EXPECT_EQ(options()->numberCell(0, EditGraph::Max), max) << "a cell only clicked keeps its value";
             EXPECT_EQ(toUtf8(options()->get$valueEditor()->get$text()), "-10.000");
             // The letter is refused, so what is stored is the number after it.
             typeKeys("a-2.5\n");
         }, optionsOnly) + editCell(0, EditGraph::Res, [] {
             EXPECT_EQ(options()->numberCell(0, EditGraph::Min), -2.5);
             typeKeys("12.9\n");
         }) + editCell(0, EditGraph::Name, [] {
             EXPECT_EQ(options()->numberCell(0, EditGraph::Res), 12);
             typeKeys("t\n");
         }) + std::vector<ModalStep>{
             {idle,
              [] {
                  EXPECT_EQ(names(), std::vector<std::string>{"t"});
                  OwnedString title(u"Waves");
                  widget(u"wGraphName")->setText(title);
                  clickButton(u"wBtnOkay");
              }},
         });
    ASSERT_EQ(doc.get$varCount(), 1);
    EXPECT_EQ(toUtf8(doc.getVarName(0)), "t");
    EXPECT_EQ(doc.getRange(0)->min, -2.5);
    EXPECT_EQ(doc.getRange(0)->max, max);
    EXPECT_EQ(doc.getRange(0)->res, 12);
    EXPECT_EQ(doc.get$pointCount(), 13);
    EXPECT_EQ(toUtf8(doc.get$title()), "Waves");
    EXPECT_EQ(host.titles, std::vector<std::string>{"Waves"});
    EXPECT_EQ(view.refreshes, 1);
    EXPECT_TRUE(doc.get$isModified());
}

TEST_F(EditGraphTest, ValuesThatWouldBreakTheGraphAreRefusedNamingTheField)
{
    GraphDoc doc(&host);
    // A field given a bad text (or a variable cell a bad entry), the word its message must hold, and the
    // good text that puts it right again.
    struct Case { char16_t const* field; int column; char const* bad; char const* named; char const* good; };
    Case const cases[] = {
        {u"wFrameRate", -1, "0", "frame rate", "30"},
        {u"wFrameRate", -1, "1001", "frame rate", "30"},
        {u"wFrameRate", -1, "2.5", "frame rate", "30"},
        {u"wNerPlane", -1, "0", "near plane", "0.1"},
        {u"wNerPlane", -1, "-1", "near plane", "0.1"},
        {u"wFarPlane", -1, "0.05", "far plane", "1000"},
        {u"wFarPlane", -1, "0.1", "far plane", "1000"},
        {u"wFovAngle", -1, "0", "field of view", "50"},
        {u"wFovAngle", -1, "180", "field of view", "50"},
        {nullptr, EditGraph::Res, "0", "'x'", "25"},
        {nullptr, EditGraph::Res, "4194304", "sample points", "25"},
    };
    std::vector<ModalStep> steps;
    for (Case const& c : cases) {
        auto enter = [c](char const* value) {
            std::string const typed = value;
            if (c.field)
                return std::vector<ModalStep>{{optionsOnly, [c, typed] {
                                                   OwnedString shown(std::u16string(typed.begin(), typed.end()));
                                                   widget(c.field)->setText(shown);
                                               }}};
            return editCell(0, c.column, [typed] { typeKeys(typed + "\n"); });
        };
        steps = steps + enter(c.bad) + std::vector<ModalStep>{
            {idle, [] { clickButton(u"wBtnOkay"); }},
            {messageReady,
             [c] {
                 EXPECT_NE(messageText().find(c.named), std::string::npos) << messageText() << " for " << c.bad;
                 EXPECT_TRUE(options()->get$isRunning()) << "the dialog stays open";
                 TestSupport::tap(XK_Return);
             }},
        } + enter(c.good);
    }
    steps.push_back({idle, [] { clickButton(u"wBtnCancel"); }});
    play([&] { doc.onEditGraph(); }, steps);
    EXPECT_EQ(doc.frameRate, GraphDoc::DefaultFrameRate);
    EXPECT_EQ(doc.getRange(0)->res, 25);
    EXPECT_FALSE(doc.get$isModified());
}

TEST_F(EditGraphTest, AnExpressionBrokenByTheOptionsOpensTheExpressionEditorAtIt)
{
    GraphDoc doc(&host);
    CountingView view;
    doc.view = &view;
    OwnedString x(u"x"), y(u"y"), text(u"x*y");
    doc.resetVariables(2);
    doc.updateVariable(0, x, -1, 1, 4, 4);
    doc.updateVariable(1, y, -1, 1, 4, 4);
    auto* e = new GraphExpr(&doc);
    e->set$exprString(text);
    doc.appendExpr(e);
    Vexadrome::Parsing::Error none;
    ASSERT_EQ(doc.bindAllExprs(&none), -1);

    // The error the same text gives over x alone.
    GraphDoc alone(&host);
    GraphExpr probe(&alone);
    probe.set$exprString(text);
    Vexadrome::Parsing::Error expected;
    ASSERT_FALSE(probe.bindExprString(&expected));
    std::string const message = "failed to parse expr #0: " + std::to_string(expected.code);

    play([&] { doc.onEditGraph(); },
         editCell(1, EditGraph::Min, [] { clickButton(u"wBtnDelVar"); }) + std::vector<ModalStep>{
             {[] { return optionsOnly() && options()->get$rowCount() == 1; }, [] { clickButton(u"wBtnOkay"); }},
             {[] { return messageReady() && dynamic_cast<EditExprs*>(CommonDialog::get$current()->get$parent()); },
              [&] {
                  EXPECT_EQ(messageText().substr(0, message.size()), message);
                  TestSupport::tap(XK_Return);
              }},
             {[] { return dialogReady<EditExprs>() && !CommonDialog::get$current(); },
              [] {
                  EXPECT_EQ(current<EditExprs>()->get$shownRow(), 0);
                  clickMiddle(TestSupport::child<NyToolkit::Buttons::TextButton>(current<EditExprs>(), u"wBtnCancel"));
              }},
         });
    EXPECT_EQ(doc.get$varCount(), 1);
    EXPECT_FALSE(doc.getExpr(0)->active) << "left inactive by the failed compile";
    EXPECT_TRUE(doc.get$isModified()) << "the options were applied";
    EXPECT_EQ(host.titles.size(), 1u);
    EXPECT_EQ(view.refreshes, 1);
}

// A graph file opened in the workbench whose second expression does not
// compile: the editor opens at it with its error, and the fix it takes is a
// change of the document (to be saved before closing), drawn by the view at
// once, with the animation timer the fixed expression's time asks for.
class OpenGraphTest : public TestSupport::WindowTest {
protected:
    void SetUp() override
    {
        WindowTest::SetUp();
        Vexadrome::Interface::registerInterfaceTypes();
    }
};

TEST_F(OpenGraphTest, AFixTakenInTheEditorModifiesTheDocumentAndRefreshesTheView)
{
    TestSupport::TempFolder folder;
    TestSupport::writeBytes(
        folder.at("broken.graph"),
        R"(<graph title="Broken" near="0.1" far="1000" frame-rate="25" fov-angle="50" axes-length="12" )"
        R"(background="14" mode="euclidian"><variables><variable name="x" min="-2" max="2" res="8" tick="4"/>)"
        R"(</variables><lights><light active="true" color="0" directional="false" x="0" y="20" z="0"/></lights>)"
        R"(<expressions><expression name="good" color="5" mode="wireframe">vector(x, x, 0)</expression>)"
        R"(<expression name="bad" color="6" mode="wireframe">x +* 2</expression></expressions></graph>)");

    // The error the failing text gives, found the way the file's compile finds it.
    DialogHost host;
    GraphDoc alone(&host);
    GraphExpr probe(&alone);
    OwnedString broken(u"x +* 2");
    probe.set$exprString(broken);
    Vexadrome::Parsing::Error expected;
    ASSERT_FALSE(probe.bindExprString(&expected));
    std::string const message = "failed to parse expr #1: " + std::to_string(expected.code);

    auto* app = new Vexadrome::Interface::VexadromeApp();
    app->startup();
    ASSERT_TRUE(TestSupport::runUntil([&] { return TestSupport::mapped(app->get$mainWindow()); }));
    OwnedString path(folder.string("broken.graph"));
    bool opened = false;
    auto const area = [] { return TestSupport::child<NyToolkit::TextArea>(current<EditExprs>(), u"wExprValue"); };
    std::size_t played = 0;
    std::vector<ModalStep> const steps = {
        {[] { return messageReady() && dynamic_cast<EditExprs*>(CommonDialog::get$current()->get$parent()); },
         [&] {
             EXPECT_EQ(messageText().substr(0, message.size()), message);
             TestSupport::tap(XK_Return);
         }},
        {[] { return dialogReady<EditExprs>() && !CommonDialog::get$current(); },
         [&] {
             EXPECT_EQ(current<EditExprs>()->get$shownRow(), 1) << "the editor opens at the failing expression";
             clickMiddle(area());
         }},
        {[&] { return dialogReady<EditExprs>() && Widget::get$focused() == area() && released(area()); },
         [&] {
             TestSupport::key(XK_Control_L, true);
             TestSupport::tap(XK_a);
             TestSupport::key(XK_Control_L, false);
             typeKeys("vector(x, time(2), 0)");
             clickMiddle(TestSupport::child<NyToolkit::Buttons::TextButton>(current<EditExprs>(), u"wBtnAccept"));
         }},
    };
    bool const done = TestSupport::playModal([&] { opened = app->openDataFile(path); }, steps, [] {
        if (CommonDialog* box = CommonDialog::get$current())
            box->endDialog(-1);
        if (FormDialog* dialog = FormDialog::get$current())
            dialog->endDialog(0);
        TestSupport::tap(XK_Escape);
    }, &played);
    EXPECT_TRUE(done) << played << " of " << steps.size() << " steps played";
    EXPECT_TRUE(opened);
    EXPECT_FALSE(FormDialog::get$current());

    ASSERT_EQ(app->get$documentCount(), 1);
    auto* graph = dynamic_cast<GraphDoc*>(app->getDocument(0));
    ASSERT_NE(graph, nullptr);
    ASSERT_EQ(graph->get$exprCount(), 2);
    EXPECT_EQ(toUtf8(graph->getExpr(1)->get$exprString()), "vector(x, time(2), 0)");
    EXPECT_TRUE(graph->getExpr(1)->get$isBound());
    EXPECT_TRUE(graph->get$isModified()) << "the fix is a change that closing must ask about";
    auto* view = dynamic_cast<Vexadrome::Interface::EquationGraphView*>(graph->view);
    ASSERT_NE(view, nullptr);
    ASSERT_TRUE(view->get$hasTimer()) << "the view was refreshed for the expression that now uses time";
    EXPECT_EQ(view->get$timer()->interval, 1000u / 25u);

    // Saved, it closes with the window without a question.
    graph->markSaved();
    app->get$mainWindow()->close();
    TestSupport::runUntil([] { return true; });
    delete app;
}

}
