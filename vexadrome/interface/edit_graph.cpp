// The options dialog: reading and writing the graph's settings, the
// variable table with its in-place editors, and the checks before accepting.
#include "vexadrome/interface/edit_graph.h"

#include <cmath>

#include "nycore/system/boxed_values.h"
#include "nycore/system/method_thunk.h"
#include "nycore/text/string_functions.h"
#include "nytoolkit/buttons/text_button.h"
#include "nytoolkit/text/text_kernel.h"
#include "nyuser/commondialogs/msg_window.h"
#include "vexadrome/interface/graph_colors.h"

namespace Vexadrome::Interface {

using NyCore::Collections::Array;
using NyCore::Object;
using NyCore::String;
using Documents::GraphDoc;
namespace WF = NyCore::System::WidgetFlags;

namespace {

NyCore::MethodEntry const EditGraphMethods[] = {
    {u"onAddVariable", NY_METHOD(EditGraph::onAddVariable)},
    {u"onDelVariable", NY_METHOD(EditGraph::onDelVariable)},
    {u"onConfirm", NY_METHOD(EditGraph::onConfirm)},
    {u"onCancel", NY_METHOD(EditGraph::onCancel)},
    {u"onListScroll", NY_METHOD(EditGraph::onListScroll)},
    {u"onSelection", NY_METHOD(EditGraph::onSelection)},
    {u"onCellClick", NY_METHOD(EditGraph::onCellClick)},
    {u"updateAndUnselect", NY_METHOD(EditGraph::updateAndUnselect)},
    {u"readOptions", NY_METHOD(EditGraph::readOptions)},
    {u"applyOptions", NY_METHOD(EditGraph::applyOptions)},
    {u"onEditorEnter", NY_METHOD(EditGraph::onEditorEnter)},
    {u"onValueTyped", NY_METHOD(EditGraph::onValueTyped)},
    {nullptr, nullptr}};

String const* const Caption = u"Vexadrome"_str;
String const* const TooManyVariables = u"The limit on the number of graph varaibles is 8."_str;
String const* const TooFewVariables = u"There must be at least one variable within the graph."_str;
String const* const BadFrameRate = u"The frame rate must be a whole number from 1 to 1000."_str;
String const* const BadNearPlane = u"The near plane must be further than 0."_str;
String const* const BadFarPlane = u"The far plane must be further than the near plane."_str;
String const* const BadFovAngle = u"The field of view must be an angle between 0 and 180 degrees."_str;
String const* const BadResolutionStart = u"The resolution of variable '"_str;
String const* const BadResolutionEnd = u"' must be at least 1."_str;
String const* const TooManyPoints =
    u"The graph would have too many sample points: the resolutions plus one, multiplied, may be at most {0}."_str;
String const* const DecimalFormat = u"0.000"_str;
String const* const WholeFormat = u"0"_str;
char16_t const* const VariableNames[GraphDoc::MaxVariables] = {u"x", u"y", u"z", u"w", u"a", u"b", u"c", u"d"};

double numberOf(NyToolkit::TextBox* box)
{
    return string_to_real(box->get$text());
}

void showNumber(NyToolkit::TextBox* box, double value)
{
    NyCore::Double number(value);
    String* text = number.toString();
    box->setText(text);
    string_free(text);
}

}

NyCore::TypeData EditGraph::MetaData = {&FormDialog::MetaData, nullptr, u"Vexadrome.Interface.EditGraph"_str,
                                        EditGraphMethods, NyCore::NoEvents, &EditGraph::__create,
                                        sizeof(EditGraph), 0, nullptr};

EditGraph::~EditGraph()
{
    if (varList) {
        for (int row = get$rowCount() - 1; row >= 0; --row)
            releaseRow(row);
    }
    string_free(shownValue);
}

Object* EditGraph::__create()
{
    return new EditGraph();
}

void EditGraph::setParameters(NyCore::XML::Element* element)
{
    FormDialog::setParameters(element);
    varList = require<NyToolkit::TableViewer>(u"wVarList"_str);
    graphMode = require<NyToolkit::DropList>(u"wGraphMode"_str);
    graphName = require<NyToolkit::TextBox>(u"wGraphName"_str);
    nerPlane = require<NyToolkit::TextBox>(u"wNerPlane"_str);
    farPlane = require<NyToolkit::TextBox>(u"wFarPlane"_str);
    fovAngle = require<NyToolkit::TextBox>(u"wFovAngle"_str);
    frameRate = require<NyToolkit::TextBox>(u"wFrameRate"_str);
    axesLength = require<NyToolkit::TextBox>(u"wAxesLength"_str);
    bkgndColor = require<NyToolkit::DropList>(u"wBkgndColor"_str);
    if (varList->get$columnCount() != ColumnCount)
        missingWidget(u"wVarList"_str);

    link(require<NyToolkit::Buttons::TextButton>(u"wBtnAddVar"_str), this, u"click",
         NY_METHOD(EditGraph::onAddVariable));
    link(require<NyToolkit::Buttons::TextButton>(u"wBtnDelVar"_str), this, u"click",
         NY_METHOD(EditGraph::onDelVariable));
    link(require<NyToolkit::Buttons::TextButton>(u"wBtnOkay"_str), this, u"click", NY_METHOD(EditGraph::onConfirm));
    link(require<NyToolkit::Buttons::TextButton>(u"wBtnCancel"_str), this, u"click", NY_METHOD(EditGraph::onCancel));
    link(varList, this, u"vscrollChange", NY_METHOD(EditGraph::onListScroll));
    link(varList, this, u"selectionChange", NY_METHOD(EditGraph::onSelection));
    link(varList, this, u"cellClick", NY_METHOD(EditGraph::onCellClick));
    // A click soon after another on the same cell comes as a double click; it edits the cell too.
    link(varList, this, u"cellDoubleClick", NY_METHOD(EditGraph::onCellClick));

    int const rowHeight = varList->get$rowHeight();
    nameEditor = static_cast<NyToolkit::TextBox*>(
        Widget::create(varList, u"NyToolkit.TextBox", WF::Hidden, 0, 0, varList->getColumn(Name)->get$width(),
                       rowHeight));
    valueEditor = static_cast<NyToolkit::TextBox*>(
        Widget::create(varList, u"NyToolkit.TextBox", WF::Hidden, 0, 0, varList->getColumn(Min)->get$width(),
                       rowHeight));
    valueEditor->set$textFlags(valueEditor->get$textFlags() | NyToolkit::TextKernel::Numeric);
    link(nameEditor, this, u"enterPressed", NY_METHOD(EditGraph::onEditorEnter));
    link(valueEditor, this, u"enterPressed", NY_METHOD(EditGraph::onEditorEnter));
    link(valueEditor, this, u"characterEntered", NY_METHOD(EditGraph::onValueTyped));

    NyToolkit::ListContents* colors = createGraphColorList();
    bkgndColor->set$contents(colors);
    colors->release();
    bkgndColor->set$selectedIndex(0);
    varList->set$singleSelection(true);
    initialFocus = graphName;
    cancelResult = -1;
}

int EditGraph::get$rowCount() const
{
    return varList->get$table()->get$rowCount();
}

double EditGraph::numberCell(int row, int column) const
{
    return static_cast<NyCore::Double const*>(varList->get$table()->getRow(row)->get(column))->value;
}

String const* EditGraph::nameCell(int row) const
{
    return reinterpret_cast<String const*>(varList->get$table()->getRow(row)->get(Name));
}

void EditGraph::appendVariable(String const* name, double min, double max, double res, double tick)
{
    Array<Object*>* cells = Array<Object*>::alloc(ColumnCount);
    (*cells)[Name] = reinterpret_cast<Object*>(string_copy(name));
    (*cells)[Min] = new NyCore::Double(min);
    (*cells)[Max] = new NyCore::Double(max);
    (*cells)[Res] = new NyCore::Double(res);
    (*cells)[Tick] = new NyCore::Double(tick);
    varList->get$table()->appendRow(cells);
    cells->free();
}

void EditGraph::releaseRow(int row)
{
    NyCore::Data::DataRow* cells = varList->get$table()->getRow(row);
    string_free(reinterpret_cast<String*>(cells->get(Name)));
    cells->set(Name, nullptr);
    for (int column = Min; column < ColumnCount; ++column) {
        delete cells->get(column);
        cells->set(column, nullptr);
    }
}

void EditGraph::setCell(int row, int column, Object* value)
{
    NyCore::Data::DataRow* cells = varList->get$table()->getRow(row);
    Object* old = cells->get(column);
    cells->set(column, value);
    if (column == Name)
        string_free(reinterpret_cast<String*>(old));
    else
        delete old;
}

void EditGraph::readOptions(GraphDoc* graph)
{
    showNumber(fovAngle, graph->fovAngle);
    showNumber(farPlane, graph->farPlane);
    showNumber(nerPlane, graph->nearPlane);
    showNumber(axesLength, graph->axesLength);
    NyCore::Integer32 rate(graph->frameRate);
    String* rateText = rate.toString();
    frameRate->setText(rateText);
    string_free(rateText);
    graphName->setText(graph->get$title() ? graph->get$title() : NyCore::Text::EmptyString);
    bkgndColor->set$selectedIndex(graph->background);
    graphMode->set$selectedIndex(graph->mode);
    varList->setDrawingSuppressed(true);
    for (int i = 0; i < graph->get$varCount(); ++i) {
        Documents::VarRange const* range = graph->getRange(i);
        appendVariable(graph->getVarName(i), range->min, range->max, range->res, range->tick);
    }
    varList->setDrawingSuppressed(false);
    varList->redraw();
}

void EditGraph::applyOptions(GraphDoc* graph)
{
    if (graphMode->get$selectedIndex() >= 0)
        graph->mode = static_cast<Documents::GraphMode::Enum>(graphMode->get$selectedIndex());
    graph->set$title(graphName->get$text());
    graph->fovAngle = numberOf(fovAngle);
    graph->farPlane = numberOf(farPlane);
    graph->nearPlane = numberOf(nerPlane);
    graph->frameRate = string_to_int(frameRate->get$text(), 10);
    graph->axesLength = numberOf(axesLength);
    if (bkgndColor->get$selectedIndex() >= 0)
        graph->background = bkgndColor->get$selectedIndex();
    int const count = get$rowCount();
    if (!graph->resetVariables(count))
        return;
    for (int i = 0; i < count; ++i)
        graph->updateVariable(i, nameCell(i), numberCell(i, Min), numberCell(i, Max),
                              static_cast<int>(std::trunc(numberCell(i, Res))),
                              static_cast<int>(std::trunc(numberCell(i, Tick))));
}

bool EditGraph::refuse(String const* message, NyCore::System::Widget* field)
{
    NyUser::CommonDialogs::MsgWindow::show(this, Caption, message, 0);
    if (field)
        field->focus();
    return false;
}

bool EditGraph::checkOptions()
{
    String const* rateText = frameRate->get$text();
    double const rate = string_to_real(rateText);
    if (!string_is_real(rateText) || rate != std::trunc(rate) || !(rate >= GraphDoc::MinFrameRate) ||
        !(rate <= GraphDoc::MaxFrameRate))
        return refuse(BadFrameRate, frameRate);
    double const nearValue = numberOf(nerPlane);
    if (!(nearValue > 0.0) || !std::isfinite(nearValue))
        return refuse(BadNearPlane, nerPlane);
    double const farValue = numberOf(farPlane);
    if (!(farValue > nearValue) || !std::isfinite(farValue))
        return refuse(BadFarPlane, farPlane);
    double const fov = numberOf(fovAngle);
    if (!(fov > 0.0 && fov < 180.0))
        return refuse(BadFovAngle, fovAngle);
    // The product of the sample counts, in doubles: eight variables overflow any integer.
    double points = 1.0;
    for (int row = 0; row < get$rowCount(); ++row) {
        double const res = std::trunc(numberCell(row, Res));
        if (!(res >= 1.0)) {
            varList->selectRow(row);
            String* start = string_append(BadResolutionStart, nameCell(row));
            String* message = string_append(start, BadResolutionEnd);
            string_free(start);
            refuse(message, varList);
            string_free(message);
            return false;
        }
        points *= res + 1.0;
    }
    if (points > static_cast<double>(GraphDoc::MaxPointCount)) {
        NyCore::Integer32 limit(static_cast<std::int32_t>(GraphDoc::MaxPointCount));
        String* message = String::format(TooManyPoints, &limit);
        refuse(message, varList);
        string_free(message);
        return false;
    }
    return true;
}

void EditGraph::onAddVariable()
{
    int const n = get$rowCount();
    if (n >= GraphDoc::MaxVariables) {
        NyUser::CommonDialogs::MsgWindow::show(this, Caption, TooManyVariables, 0);
        return;
    }
    updateAndUnselect();
    String* name = string_from_cstr(VariableNames[n]);
    appendVariable(name, -10.0, 10.0, 25.0, 25.0);
    string_free(name);
}

void EditGraph::onDelVariable()
{
    int const n = get$rowCount();
    if (n <= 1) {
        NyUser::CommonDialogs::MsgWindow::show(this, Caption, TooFewVariables, 0);
        return;
    }
    updateAndUnselect();
    int const row = varList->get$firstSelected();
    if (row < 0)
        return;
    releaseRow(row);
    varList->get$table()->removeRow(row);
    // The row that took its place, or the new last row when the last went.
    varList->selectRow(row < n - 1 ? row : n - 2);
}

void EditGraph::onConfirm()
{
    updateAndUnselect();
    if (checkOptions())
        endDialog(1);
}

void EditGraph::onCancel()
{
    endDialog(0);
}

void EditGraph::onListScroll()
{
    updateAndUnselect();
}

void EditGraph::onSelection()
{
    updateAndUnselect();
}

void EditGraph::onCellClick(int row, int column)
{
    updateAndUnselect();
    if (row < 0 || row >= get$rowCount() || column < 0 || column >= ColumnCount)
        return;
    editRow = row;
    editColumn = column;
    NyCore::System::WidgetRect const& client = varList->get$client();
    int const y = client.y + (row - varList->get$firstRow()) * varList->get$rowHeight();
    int x = client.x;
    for (int i = 0; i < column; ++i)
        x += varList->getColumn(i)->get$width();
    if (column == Name) {
        nameEditor->setRect(x, y, varList->getColumn(Name)->get$width(), varList->get$rowHeight());
        nameEditor->setText(nameCell(row));
        nameEditor->show();
        nameEditor->selectAll();
        nameEditor->focus();
        return;
    }
    NyCore::Double value(numberCell(row, column));
    string_free(shownValue);
    shownValue = value.toString(column == Min || column == Max ? DecimalFormat : WholeFormat);
    valueTyped = false;
    valueEditor->setRect(x, y, varList->getColumn(column)->get$width(), varList->get$rowHeight());
    valueEditor->setText(shownValue);
    valueEditor->show();
    valueEditor->selectAll();
    valueEditor->focus();
}

void EditGraph::updateAndUnselect()
{
    if (editRow >= 0 && editRow < get$rowCount()) {
        if (editColumn == Name) {
            setCell(editRow, Name, reinterpret_cast<Object*>(string_copy(nameEditor->get$text())));
        } else if (valueTyped || string_compare(valueEditor->get$text(), shownValue) != 0) {
            // Only an edit is written back: the editor shows the value rounded.
            double value = string_to_real(valueEditor->get$text());
            if (editColumn == Res || editColumn == Tick)
                value = std::trunc(value);
            setCell(editRow, editColumn, new NyCore::Double(value));
        }
        varList->redrawRow(editRow);
    }
    hideEditors();
}

void EditGraph::hideEditors()
{
    bool const hadFocus = (nameEditor->get$flags() | valueEditor->get$flags()) & WF::HasFocus;
    nameEditor->hide();
    valueEditor->hide();
    editRow = -1;
    editColumn = -1;
    valueTyped = false;
    if (hadFocus)
        varList->focus();
}

void EditGraph::onEscape()
{
    if (editRow >= 0) {
        hideEditors();
        return;
    }
    FormDialog::onEscape();
}

void EditGraph::onEditorEnter()
{
    updateAndUnselect();
}

void EditGraph::onValueTyped()
{
    valueTyped = true;
}

}
