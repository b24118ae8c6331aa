// The expression editor over a graph document, driven by real keys and
// clicks: the rows it shows, adding, deleting and editing them, and an
// accept that fails leaving the document as it was for a cancel.
#include <gtest/gtest.h>

#include "nytoolkit/lists/drop_list.h"
#include "nytoolkit/text/text_area.h"
#include "tests/support/screenshots.h"
#include "tests/vexadrome/interface/graph_dialog_host.h"
#include "vexadrome/interface/edit_exprs.h"

namespace {

using namespace GraphDialogTests;
using TestSupport::ModalStep;
using TestSupport::OwnedString;
using TestSupport::toUtf8;
using Vexadrome::Documents::GraphDoc;
using Vexadrome::Documents::GraphExpr;
using Vexadrome::Interface::EditExprs;

class EditExprsTest : public GraphDialogTest {};

EditExprs* editor()
{
    return current<EditExprs>();
}

template <typename T>
T* widget(char16_t const* id)
{
    return TestSupport::child<T>(editor(), id);
}

GraphExpr* addExpr(GraphDoc* doc, char16_t const* name, char16_t const* text)
{
    auto* e = new GraphExpr(doc);
    OwnedString n(name), t(text);
    e->set$name(n);
    e->set$exprString(t);
    doc->appendExpr(e);
    return e;
}

// The row is shown and the table has let go of the pointer after the click.
bool shown(int row)
{
    return editor()->get$shownRow() == row && released(editor()->get$exprList());
}

// Shown by a click on the table, whose focus has arrived there.
bool shownFocused(int row)
{
    return shown(row) && NyCore::System::Widget::get$focused() == editor()->get$exprList();
}

bool areaFocused()
{
    auto* area = widget<NyToolkit::TextArea>(u"wExprValue");
    return NyCore::System::Widget::get$focused() == area && released(area);
}

// Replaces the expression text: all of it selected and overwritten by typing.
void retype(std::string const& text)
{
    TestSupport::key(XK_Control_L, true);
    TestSupport::tap(XK_a);
    TestSupport::key(XK_Control_L, false);
    typeKeys(text);
}

TEST_F(EditExprsTest, RowsAreAddedEditedToggledAndDeletedWhileCancelLeavesTheGraph)
{
    GraphDoc doc(&host);
    CountingView view;
    doc.view = &view;
    play([&] { doc.onEditExprs(); },
         {
             // The placeholder text has the focus, to be typed over.
             {[] { return dialogReady<EditExprs>() && areaFocused(); },
              [&] {
                  // A graph without expressions opens with a new one, selected.
                  EditExprs* e = editor();
                  ASSERT_EQ(e->get$rowCount(), 1);
                  EXPECT_EQ(toUtf8(e->textCell(0, EditExprs::Name)), "Expr1");
                  EXPECT_EQ(toUtf8(e->textCell(0, EditExprs::Text)), "[enter expression]");
                  EXPECT_EQ(e->intCell(0, EditExprs::Color), 0);
                  EXPECT_EQ(e->get$shownRow(), 0);
                  auto* area = widget<NyToolkit::TextArea>(u"wExprValue");
                  EXPECT_EQ(toUtf8(area->get$text()), "[enter expression]");
                  EXPECT_EQ(std::abs(area->get$kernel().get$cursor() - area->get$kernel().get$anchor()),
                            area->get$text()->get$length());
                  TestSupport::saveScreenshot(e, "expredit");
                  for (int i = 0; i < 3; ++i)
                      clickMiddle(widget<NyToolkit::Buttons::TextButton>(u"wBtnAddExpr"));
              }},
             {[] { return editor()->get$rowCount() == 4; },
              [&] {
                  // Names and colours count the rows.
                  EditExprs* e = editor();
                  struct Row { int row; char const* name; };
                  for (Row r : {Row{1, "Expr2"}, Row{2, "Expr3"}, Row{3, "Expr4"}}) {
                      EXPECT_EQ(toUtf8(e->textCell(r.row, EditExprs::Name)), r.name);
                      EXPECT_EQ(e->intCell(r.row, EditExprs::Color), r.row) << r.name;
                      EXPECT_EQ(e->intCell(r.row, EditExprs::Mode), 0) << r.name;
                      EXPECT_EQ(e->intCell(r.row, EditExprs::NormalPColor), 1) << r.name;
                  }
                  EXPECT_EQ(e->get$shownRow(), 3);
                  // The mode list: opened by a click, the next item by Down and Enter.
                  clickMiddle(widget<NyToolkit::DropList>(u"wExprMode"));
              }},
             {[] { return widget<NyToolkit::DropList>(u"wExprMode")->get$popUp() != nullptr &&
                          NyCore::System::Widget::get$focused() == widget<NyToolkit::DropList>(u"wExprMode"); },
              [&] {
                  TestSupport::tap(XK_Down);
                  TestSupport::tap(XK_Return);
              }},
             {[] { return editor()->intCell(3, EditExprs::Mode) != 0; },
              [&] {
                  EXPECT_EQ(editor()->intCell(3, EditExprs::Mode), 1) << "stored the moment it changed";
                  clickMiddle(widget<NyToolkit::TextArea>(u"wExprValue"));
              }},
             {areaFocused,
              [&] {
                  retype("x*2");
                  clickCell(editor()->get$exprList(), 0, EditExprs::Name);
              }},
             {[] { return shown(0); },
              [&] {
                  EXPECT_EQ(toUtf8(editor()->textCell(3, EditExprs::Text)), "x*2")
                      << "kept when another row was selected";
                  EXPECT_EQ(toUtf8(widget<NyToolkit::TextArea>(u"wExprValue")->get$text()), "[enter expression]");
                  clickCell(editor()->get$exprList(), 0, EditExprs::Active);
              }},
             {[] { return editor()->intCell(0, EditExprs::Active) == 0 && released(editor()->get$exprList()); },
              [&] { clickCell(editor()->get$exprList(), 0, EditExprs::Active); }},
             {[] { return editor()->intCell(0, EditExprs::Active) == 1 && released(editor()->get$exprList()); },
              [&] {
                  // The first row deleted: the new first row is shown.
                  clickMiddle(widget<NyToolkit::Buttons::TextButton>(u"wBtnDelExpr"));
              }},
             {[] { return editor()->get$rowCount() == 3; },
              [&] {
                  EXPECT_EQ(editor()->get$shownRow(), 0);
                  EXPECT_EQ(toUtf8(widget<NyToolkit::TextBox>(u"wExprName")->get$text()), "Expr2");
                  clickCell(editor()->get$exprList(), 2, EditExprs::Name);
              }},
             {[] { return shown(2); },
              [&] {
                  // The last row deleted: the one before it is shown.
                  clickMiddle(widget<NyToolkit::Buttons::TextButton>(u"wBtnDelExpr"));
              }},
             {[] { return editor()->get$rowCount() == 2; },
              [&] {
                  EXPECT_EQ(editor()->get$shownRow(), 1);
                  clickMiddle(widget<NyToolkit::Buttons::TextButton>(u"wBtnDelExpr"));
                  clickMiddle(widget<NyToolkit::Buttons::TextButton>(u"wBtnDelExpr"));
              }},
             {[] { return editor()->get$rowCount() == 0; },
              [&] {
                  // Nothing left: the inputs are empty and disabled.
                  namespace WF = NyCore::System::WidgetFlags;
                  EXPECT_EQ(editor()->get$shownRow(), -1);
                  EXPECT_EQ(toUtf8(widget<NyToolkit::TextBox>(u"wExprName")->get$text()), "");
                  EXPECT_TRUE(widget<NyToolkit::TextBox>(u"wExprName")->get$flags() & WF::Disabled);
                  EXPECT_TRUE(widget<NyToolkit::Buttons::TextButton>(u"wBtnDelExpr")->get$flags() & WF::Disabled);
                  EXPECT_EQ(widget<NyToolkit::DropList>(u"wExprMode")->get$selectedIndex(), -1);
                  TestSupport::tap(XK_Escape);
              }},
         });
    EXPECT_EQ(doc.get$exprCount(), 0) << "a cancel changes no expression";
    EXPECT_FALSE(doc.get$isModified());
    EXPECT_EQ(view.refreshes, 1);
}

TEST_F(EditExprsTest, AFailedAcceptKeepsTheDialogAndACancelThenKeepsTheOriginalList)
{
    GraphDoc doc(&host);
    CountingView view;
    doc.view = &view;
    GraphExpr* originals[] = {addExpr(&doc, u"a", u"x"), addExpr(&doc, u"b", u"2*x"), addExpr(&doc, u"c", u"x*x")};
    Vexadrome::Parsing::Error none;
    ASSERT_EQ(doc.bindAllExprs(&none), -1);
    originals[2]->active = false;

    // What the engine says about the broken text, found the way the editor finds it.
    GraphExpr probe(&doc);
    OwnedString broken(u"2*x+qq");
    probe.set$exprString(broken);
    Vexadrome::Parsing::Error expected;
    ASSERT_FALSE(probe.bindExprString(&expected));
    ASSERT_TRUE(expected.hasLocation());
    std::string const message = "failed to parse expr #1: " + std::to_string(expected.code);

    for (bool closeBox : {false, true}) {
        play([&] { doc.onEditExprs(); },
             {
                 {dialogReady<EditExprs>,
                  [&] {
                      ASSERT_EQ(editor()->get$rowCount(), 3);
                      EXPECT_EQ(editor()->get$shownRow(), 0) << "the first expression is shown";
                      EXPECT_EQ(editor()->intCell(2, EditExprs::Active), 0);
                      clickCell(editor()->get$exprList(), 1, EditExprs::Name);
                  }},
                 {[] { return shownFocused(1); },
                  [&] { clickMiddle(widget<NyToolkit::TextArea>(u"wExprValue")); }},
                 {areaFocused,
                  [&] {
                      retype("2*x+qq");
                      clickMiddle(widget<NyToolkit::Buttons::TextButton>(u"wBtnAccept"));
                  }},
                 {messageReady,
                  [&] {
                      EXPECT_EQ(messageText().substr(0, message.size()), message);
                      EXPECT_GT(messageText().size(), message.size() + 1) << "the engine's words follow";
                      TestSupport::tap(XK_Return);
                  }},
                 {[] { return dialogReady<EditExprs>() && !CommonDialog::get$current(); },
                  [&] {
                      // Still open at the failing row, its offending text marked.
                      EXPECT_EQ(editor()->get$shownRow(), 1);
                      auto& kernel = widget<NyToolkit::TextArea>(u"wExprValue")->get$kernel();
                      EXPECT_EQ(std::min(kernel.get$anchor(), kernel.get$cursor()), expected.start);
                      EXPECT_EQ(std::abs(kernel.get$cursor() - kernel.get$anchor()), expected.length);
                      if (closeBox)
                          sendDeleteWindow(editor());
                      else
                          clickMiddle(widget<NyToolkit::Buttons::TextButton>(u"wBtnCancel"));
                  }},
             });
        // The cancel keeps the list the dialog opened with, untouched.
        ASSERT_EQ(doc.get$exprCount(), 3) << (closeBox ? "close box" : "Cancel");
        for (int i = 0; i < 3; ++i)
            EXPECT_EQ(doc.getExpr(i), originals[i]) << i;
        EXPECT_EQ(toUtf8(doc.getExpr(1)->get$exprString()), "2*x");
        EXPECT_TRUE(doc.getExpr(1)->get$isBound());
        EXPECT_FALSE(doc.get$isModified());
    }

    play([&] { doc.onEditExprs(); },
         {
             {dialogReady<EditExprs>, [&] { clickCell(editor()->get$exprList(), 1, EditExprs::Name); }},
             {[] { return shownFocused(1); },
              [&] { clickMiddle(widget<NyToolkit::TextArea>(u"wExprValue")); }},
             {areaFocused,
              [&] {
                  retype("3*x");
                  clickMiddle(widget<NyToolkit::Buttons::TextButton>(u"wBtnAccept"));
              }},
         });
    ASSERT_EQ(doc.get$exprCount(), 3);
    struct Case { char const* name; char const* text; bool active; };
    Case const cases[] = {{"a", "x", true}, {"b", "3*x", true}, {"c", "x*x", false}};
    for (int i = 0; i < 3; ++i) {
        GraphExpr const* e = doc.getExpr(i);
        EXPECT_EQ(toUtf8(e->get$name()), cases[i].name);
        EXPECT_EQ(toUtf8(e->get$exprString()), cases[i].text);
        EXPECT_EQ(e->active, cases[i].active) << cases[i].name << ": the drawn flag is the user's";
        EXPECT_TRUE(e->get$isBound()) << cases[i].name;
    }
    EXPECT_TRUE(doc.get$isModified());
    EXPECT_EQ(view.refreshes, 3);
}

TEST(EditExprsWithoutWindows, NothingOpensWithoutADialogOwner)
{
    DialogHost host;
    GraphDoc doc(&host);
    addExpr(&doc, u"a", u"x");
    doc.onEditExprs();
    doc.onEditGraph();
    doc.onEditLights();
    EXPECT_FALSE(doc.showEditWindow(nullptr));
    EXPECT_EQ(doc.get$exprCount(), 1);
    EXPECT_FALSE(doc.get$isModified());
}

}
