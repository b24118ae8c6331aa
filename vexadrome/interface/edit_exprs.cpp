// The expression editor: rows of the table follow the graph's expressions,
// the inputs below edit the selected row, and accepting compiles the rows
// into a new expression list.
#include "vexadrome/interface/edit_exprs.h"

#include <algorithm>
#include <vector>

#include "nycore/graphics/font.h"
#include "nycore/system/boxed_values.h"
#include "nycore/system/method_thunk.h"
#include "nycore/text/string_functions.h"
#include "nytoolkit/table/icon_renderer.h"
#include "nytoolkit/table/list_item_renderer.h"
#include "nyuser/commondialogs/msg_window.h"
#include "vexadrome/interface/graph_colors.h"

namespace Vexadrome::Interface {

using NyCore::Collections::Array;
using NyCore::Object;
using NyCore::String;
using Documents::GraphDoc;
using Documents::GraphExpr;

namespace {

NyCore::MethodEntry const EditExprsMethods[] = {
    {u"onCancel", NY_METHOD(EditExprs::onCancel)},
    {u"onAccept", NY_METHOD(EditExprs::onAccept)},
    {u"onAddExpr", NY_METHOD(EditExprs::onAddExpr)},
    {u"onDelExpr", NY_METHOD(EditExprs::onDelExpr)},
    {u"onDupExpr", NY_METHOD(EditExprs::onDupExpr)},
    {u"onSelect", NY_METHOD(EditExprs::onSelect)},
    {u"onCellClick", NY_METHOD(EditExprs::onCellClick)},
    {u"onChangeMaterial", NY_METHOD(EditExprs::onChangeMaterial)},
    {u"onChangeColor", NY_METHOD(EditExprs::onChangeColor)},
    {u"onChangeMode", NY_METHOD(EditExprs::onChangeMode)},
    {u"onChangeName", NY_METHOD(EditExprs::onChangeName)},
    {u"rdExprs", NY_METHOD(EditExprs::rdExprs)},
    {u"wrExprs", NY_METHOD(EditExprs::wrExprs)},
    {u"selectError", NY_METHOD(EditExprs::selectError)},
    {nullptr, nullptr}};

String const* const Caption = u"Vexadrome"_str;
String const* const ParseFailure = u"failed to parse expr #{0}: {1}"_str;
String const* const NewExprName = u"Expr{0}"_str;
String const* const NewExprText = u"[enter expression]"_str;
String const* const ExprFontFace = u"courier new"_str;
constexpr int ExprFontSize = 14;

bool isTextColumn(int column)
{
    return column == EditExprs::Name || column == EditExprs::Text;
}

// Text cells hold String blocks under the table's Object pointers.
Object* textValue(String const* text)
{
    return reinterpret_cast<Object*>(string_copy(text));
}

}

NyCore::TypeData EditExprs::MetaData = {&FormDialog::MetaData, nullptr, u"Vexadrome.Interface.EditExprs"_str,
                                        EditExprsMethods, NyCore::NoEvents, &EditExprs::__create,
                                        sizeof(EditExprs), 0, nullptr};

EditExprs::~EditExprs()
{
    if (exprList) {
        for (int row = get$rowCount() - 1; row >= 0; --row)
            releaseRow(row);
    }
    if (colors)
        colors->release();
}

Object* EditExprs::__create()
{
    return new EditExprs();
}

void EditExprs::setParameters(NyCore::XML::Element* element)
{
    FormDialog::setParameters(element);
    exprList = require<NyToolkit::TableViewer>(u"wExprList"_str);
    exprName = require<NyToolkit::TextBox>(u"wExprName"_str);
    exprMode = require<NyToolkit::DropList>(u"wExprMode"_str);
    exprColor = require<NyToolkit::DropList>(u"wExprColor"_str);
    exprMat = require<NyToolkit::DropList>(u"wExprMat"_str);
    exprValue = require<NyToolkit::TextArea>(u"wExprValue"_str);
    normLength = require<NyToolkit::TextBox>(u"wNormLength"_str);
    normColor1 = require<NyToolkit::DropList>(u"wNormColor1"_str);
    normColor2 = require<NyToolkit::DropList>(u"wNormColor2"_str);
    btnDelExpr = require<NyToolkit::Buttons::TextButton>(u"wBtnDelExpr"_str);
    btnDupExpr = require<NyToolkit::Buttons::TextButton>(u"wBtnDupExpr"_str);
    if (exprList->get$columnCount() != ColumnCount)
        missingWidget(u"wExprList"_str);

    link(require<NyToolkit::Buttons::TextButton>(u"wBtnCancel"_str), this, u"click", NY_METHOD(EditExprs::onCancel));
    link(require<NyToolkit::Buttons::TextButton>(u"wBtnAccept"_str), this, u"click", NY_METHOD(EditExprs::onAccept));
    link(require<NyToolkit::Buttons::TextButton>(u"wBtnAddExpr"_str), this, u"click",
         NY_METHOD(EditExprs::onAddExpr));
    link(btnDelExpr, this, u"click", NY_METHOD(EditExprs::onDelExpr));
    link(btnDupExpr, this, u"click", NY_METHOD(EditExprs::onDupExpr));
    link(exprList, this, u"selectionChange", NY_METHOD(EditExprs::onSelect));
    link(exprList, this, u"cellClick", NY_METHOD(EditExprs::onCellClick));
    // A second click soon after the first comes as a double click; it toggles the flag back.
    link(exprList, this, u"cellDoubleClick", NY_METHOD(EditExprs::onCellClick));
    link(exprMat, this, u"change", NY_METHOD(EditExprs::onChangeMaterial));
    link(exprColor, this, u"change", NY_METHOD(EditExprs::onChangeColor));
    link(exprMode, this, u"change", NY_METHOD(EditExprs::onChangeMode));
    link(exprName, this, u"focusLost", NY_METHOD(EditExprs::onChangeName));

    colors = createGraphColorList();
    exprColor->set$contents(colors);
    normColor1->set$contents(colors);
    normColor2->set$contents(colors);

    exprList->getColumn(Text)->set$visible(false);
    for (int column : {Color, NormalPColor, NormalNColor}) {
        auto* swatches = new NyToolkit::DataRenderers::IconRenderer();
        swatches->set$icons(colors->get$icons());
        exprList->getColumn(column)->set$renderer(swatches);
    }
    auto* materials = new NyToolkit::DataRenderers::ListItemRenderer();
    materials->set$list(exprMat->get$contents());
    exprList->getColumn(Material)->set$renderer(materials);
    auto* modes = new NyToolkit::DataRenderers::ListItemRenderer();
    modes->set$list(exprMode->get$contents());
    exprList->getColumn(Mode)->set$renderer(modes);
    exprList->set$singleSelection(true);

    NyCore::Graphics::Font* font = NyCore::Graphics::Font::create(ExprFontFace, ExprFontSize, 0);
    exprValue->set$font(font);
    font->release();

    setInputsEnabled(false);
    initialFocus = exprList;
}

int EditExprs::get$rowCount() const
{
    return exprList->get$table()->get$rowCount();
}

int EditExprs::intCell(int row, int column) const
{
    return static_cast<NyCore::Integer32 const*>(exprList->get$table()->getRow(row)->get(column))->value;
}

double EditExprs::doubleCell(int row, int column) const
{
    return static_cast<NyCore::Double const*>(exprList->get$table()->getRow(row)->get(column))->value;
}

String const* EditExprs::textCell(int row, int column) const
{
    return reinterpret_cast<String const*>(exprList->get$table()->getRow(row)->get(column));
}

void EditExprs::appendRow(Array<Object*>* cells, int index)
{
    exprList->get$table()->insertRow(index, cells);
    cells->free();
}

void EditExprs::releaseRow(int row)
{
    NyCore::Data::DataRow* cells = exprList->get$table()->getRow(row);
    for (int column = 0; column < ColumnCount; ++column) {
        Object* value = cells->get(column);
        if (isTextColumn(column))
            string_free(reinterpret_cast<String*>(value));
        else
            delete value;
        cells->set(column, nullptr);
    }
}

void EditExprs::setCell(int row, int column, Object* value)
{
    NyCore::Data::DataRow* cells = exprList->get$table()->getRow(row);
    Object* old = cells->get(column);
    cells->set(column, value);
    if (isTextColumn(column))
        string_free(reinterpret_cast<String*>(old));
    else
        delete old;
}

void EditExprs::setTextCell(int row, int column, String const* text)
{
    setCell(row, column, textValue(text));
}

void EditExprs::setIntCell(int row, int column, int value)
{
    setCell(row, column, new NyCore::Integer32(value));
}

void EditExprs::rdExprs(GraphDoc* graph)
{
    if (graph->get$exprCount() == 0) {
        onAddExpr();
    } else {
        exprList->setDrawingSuppressed(true);
        for (int i = 0; i < graph->get$exprCount(); ++i) {
            GraphExpr const* e = graph->getExpr(i);
            Array<Object*>* cells = Array<Object*>::alloc(ColumnCount);
            (*cells)[Active] = new NyCore::Integer32(e->active ? 1 : 0);
            (*cells)[Name] = textValue(e->get$name());
            (*cells)[Mode] = new NyCore::Integer32(e->rendMode);
            (*cells)[Material] = new NyCore::Integer32(e->material);
            (*cells)[Color] = new NyCore::Integer32(e->color);
            (*cells)[Text] = textValue(e->get$exprString());
            (*cells)[NormalLength] = new NyCore::Double(e->normalLength);
            (*cells)[NormalPColor] = new NyCore::Integer32(e->normalPColor);
            (*cells)[NormalNColor] = new NyCore::Integer32(e->normalNColor);
            appendRow(cells, get$rowCount());
        }
        exprList->setDrawingSuppressed(false);
        exprList->redraw();
        selectAndShow(0);
    }
    // The first expression's text takes the focus, all selected, ready to be typed over.
    exprValue->selectAll();
    initialFocus = exprValue;
}

bool EditExprs::wrExprs(GraphDoc* graph)
{
    int const count = get$rowCount();
    std::vector<GraphExpr*> built;
    int failed = -1;
    Parsing::Error firstError;
    for (int row = 0; row < count; ++row) {
        auto* e = new GraphExpr(graph);
        e->set$name(textCell(row, Name));
        e->set$exprString(textCell(row, Text));
        e->rendMode = static_cast<Documents::ExprRendMode::Enum>(intCell(row, Mode));
        e->color = intCell(row, Color);
        e->material = static_cast<Documents::ExprMaterial::Enum>(intCell(row, Material));
        e->normalLength = doubleCell(row, NormalLength);
        e->normalPColor = intCell(row, NormalPColor);
        e->normalNColor = intCell(row, NormalNColor);
        Parsing::Error error;
        // A failed compile clears `active`; the row's own flag is what the user chose.
        if (!e->bindExprString(&error) && failed < 0) {
            failed = row;
            firstError = error;
        }
        e->active = intCell(row, Active) != 0;
        built.push_back(e);
    }
    if (failed >= 0) {
        for (GraphExpr* e : built)
            delete e;
        selectError(failed, &firstError);
        return false;
    }
    graph->resetExprs();
    for (GraphExpr* e : built)
        graph->appendExpr(e);
    return true;
}

void EditExprs::selectError(int index, Parsing::Error const* error)
{
    if (index >= 0 && index < get$rowCount())
        selectAndShow(index);
    NyCore::Integer32 number(index);
    NyCore::Integer32 code(error->code);
    String* text = String::format(ParseFailure, &number, &code);
    // The engine's own words for the code follow on a line of their own.
    String* message = string_append(text, u"\n"_str);
    string_free(text);
    text = string_append(message, Res::Strings::errorMessage(error->code));
    string_free(message);
    NyUser::CommonDialogs::MsgWindow::show(this, Caption, text, 0);
    string_free(text);
    if (shownRow != index)
        return;
    int const length = exprValue->get$text()->get$length();
    if (error->hasLocation() && error->start < length)
        exprValue->setSelection(error->start, std::min(error->length, length - error->start));
    else
        exprValue->selectAll();
    exprValue->focus();
}

void EditExprs::onCancel()
{
    endDialog(0);
}

void EditExprs::onAccept()
{
    savePrevSelected();
    endDialog(1);
}

void EditExprs::selectAndShow(int row)
{
    exprList->selectRow(row);
    int const visible = exprList->get$visibleRows();
    if (row < exprList->get$firstRow())
        exprList->showRow(row);
    else if (visible > 0 && row >= exprList->get$firstRow() + visible)
        exprList->showRow(row + 1 - visible);
}

void EditExprs::onAddExpr()
{
    int const n = get$rowCount();
    Array<Object*>* cells = Array<Object*>::alloc(ColumnCount);
    NyCore::Integer32 number(n + 1);
    (*cells)[Active] = new NyCore::Integer32(1);
    (*cells)[Name] = reinterpret_cast<Object*>(String::format(NewExprName, &number));
    (*cells)[Mode] = new NyCore::Integer32(Documents::ExprRendMode::Wireframe);
    (*cells)[Material] = new NyCore::Integer32(Documents::ExprMaterial::Plastic);
    (*cells)[Color] = new NyCore::Integer32(colors->get$count() > 0 ? n % colors->get$count() : 0);
    (*cells)[Text] = textValue(NewExprText);
    (*cells)[NormalLength] = new NyCore::Double(0.0);
    (*cells)[NormalPColor] = new NyCore::Integer32(1);
    (*cells)[NormalNColor] = new NyCore::Integer32(1);
    appendRow(cells, n);
    selectAndShow(n);
}

void EditExprs::onDelExpr()
{
    int const row = exprList->get$firstSelected();
    if (row < 0)
        return;
    shownRow = -1;
    releaseRow(row);
    exprList->get$table()->removeRow(row);
    int const remaining = get$rowCount();
    if (remaining == 0) {
        setInputsEnabled(false);
        return;
    }
    selectAndShow(row > 0 ? row - 1 : 0);
}

void EditExprs::onDupExpr()
{
    savePrevSelected();
    int const row = exprList->get$firstSelected();
    if (row < 0)
        return;
    Array<Object*>* cells = Array<Object*>::alloc(ColumnCount);
    for (int column = 0; column < ColumnCount; ++column) {
        if (isTextColumn(column))
            (*cells)[column] = textValue(textCell(row, column));
        else if (column == NormalLength)
            (*cells)[column] = new NyCore::Double(doubleCell(row, column));
        else
            (*cells)[column] = new NyCore::Integer32(intCell(row, column));
    }
    appendRow(cells, row + 1);
    selectAndShow(row + 1);
}

void EditExprs::savePrevSelected()
{
    if (shownRow < 0 || shownRow >= get$rowCount())
        return;
    setTextCell(shownRow, Name, exprName->get$text());
    setTextCell(shownRow, Text, exprValue->get$text());
    setCell(shownRow, NormalLength, new NyCore::Double(string_to_real(normLength->get$text())));
    if (normColor1->get$selectedIndex() >= 0)
        setIntCell(shownRow, NormalPColor, normColor1->get$selectedIndex());
    if (normColor2->get$selectedIndex() >= 0)
        setIntCell(shownRow, NormalNColor, normColor2->get$selectedIndex());
    exprList->redrawRow(shownRow);
}

void EditExprs::onSelect()
{
    savePrevSelected();
    shownRow = exprList->get$firstSelected();
    if (shownRow < 0) {
        setInputsEnabled(false);
        return;
    }
    setInputsEnabled(true);
    loading = true;
    exprMode->set$selectedIndex(intCell(shownRow, Mode));
    exprColor->set$selectedIndex(intCell(shownRow, Color));
    exprMat->set$selectedIndex(intCell(shownRow, Material));
    normColor1->set$selectedIndex(intCell(shownRow, NormalPColor));
    normColor2->set$selectedIndex(intCell(shownRow, NormalNColor));
    NyCore::Double length(doubleCell(shownRow, NormalLength));
    String* lengthText = length.toString();
    normLength->setText(lengthText);
    string_free(lengthText);
    exprName->setText(textCell(shownRow, Name));
    exprValue->setText(textCell(shownRow, Text));
    loading = false;
}

void EditExprs::onCellClick(int row, int column)
{
    if (column != Active || row < 0 || row >= get$rowCount())
        return;
    setIntCell(row, Active, intCell(row, Active) ? 0 : 1);
    exprList->redrawRow(row);
}

void EditExprs::storeChoice(int column, NyToolkit::DropList* list)
{
    // The list's own index, not the reported one: the wheel may report an index past the items.
    int const index = list->get$selectedIndex();
    if (loading || shownRow < 0 || index < 0)
        return;
    setIntCell(shownRow, column, index);
    exprList->redrawRow(shownRow);
}

void EditExprs::onChangeMaterial(int)
{
    storeChoice(Material, exprMat);
}

void EditExprs::onChangeColor(int)
{
    storeChoice(Color, exprColor);
}

void EditExprs::onChangeMode(int)
{
    storeChoice(Mode, exprMode);
}

void EditExprs::onChangeName()
{
    if (loading || shownRow < 0)
        return;
    setTextCell(shownRow, Name, exprName->get$text());
    exprList->redrawRow(shownRow);
}

void EditExprs::setInputsEnabled(bool enabled)
{
    NyCore::System::Widget* const inputs[] = {exprName, exprValue, exprMode, exprColor, exprMat,
                                              normColor1, normColor2, normLength, btnDelExpr, btnDupExpr};
    if (!enabled) {
        shownRow = -1;
        loading = true;
        exprName->setText(NyCore::Text::EmptyString);
        exprValue->setText(NyCore::Text::EmptyString);
        normLength->setText(NyCore::Text::EmptyString);
        for (NyToolkit::DropList* list : {exprMode, exprColor, exprMat, normColor1, normColor2})
            list->set$selectedIndex(-1);
        loading = false;
    }
    for (NyCore::System::Widget* input : inputs) {
        if (enabled) {
            input->enable();
            continue;
        }
        // The keyboard focus never stays on a disabled input, where no key would reach the dialog.
        if (get$focused() == input)
            exprList->focus();
        input->disable();
    }
}

}
