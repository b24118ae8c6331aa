// EditExprs: the expression editor of a graph document. A table of the
// graph's expressions (drawn flag, name, mode, material, colour, text and
// normals) with inputs for the selected one; accepting compiles every
// expression and gives the document the new list only when all compile.
#pragma once

#include "nytoolkit/buttons/text_button.h"
#include "nytoolkit/lists/drop_list.h"
#include "nytoolkit/table/table_viewer.h"
#include "nytoolkit/text/text_area.h"
#include "nytoolkit/text/text_box.h"
#include "vexadrome/documents/graph_doc.h"
#include "vexadrome/interface/form_dialog.h"

namespace Vexadrome::Interface {

class EditExprs : public FormDialog {
    NY_REFLECTIVE(EditExprs)
public:
    // The table's columns; Text is not shown.
    enum Column { Active, Name, Mode, Material, Color, Text, NormalLength, NormalPColor, NormalNColor, ColumnCount };

    EditExprs() = default;
    ~EditExprs() override;
    static NyCore::Object* __create();

    void setParameters(NyCore::XML::Element* element) override;

    // One row per expression of the graph; a graph without any gets a new one.
    void rdExprs(Documents::GraphDoc* graph);
    // Compiles the rows over the graph's variables. When all compile they
    // replace the graph's expressions and the result is true; otherwise the
    // graph is left as it was and the first failure is shown.
    bool wrExprs(Documents::GraphDoc* graph);
    // Selects the row, tells the user and marks the offending text.
    void selectError(int index, Parsing::Error const* error);

    void onCancel();
    void onAccept();
    void onAddExpr();
    void onDelExpr();
    void onDupExpr();
    void onSelect();
    void onCellClick(int row, int column);
    void onChangeMaterial(int index);
    void onChangeColor(int index);
    void onChangeMode(int index);
    void onChangeName();

    NyToolkit::TableViewer* get$exprList() const { return exprList; }
    int get$shownRow() const { return shownRow; }
    int get$rowCount() const;
    // The cell as an integer, a number or a text (the column's own type).
    int intCell(int row, int column) const;
    double doubleCell(int row, int column) const;
    NyCore::String const* textCell(int row, int column) const;

private:
    void appendRow(NyCore::Collections::Array<NyCore::Object*>* cells, int index);
    void releaseRow(int row);
    void setCell(int row, int column, NyCore::Object* value);
    void setTextCell(int row, int column, NyCore::String const* text);
    void setIntCell(int row, int column, int value);
    void savePrevSelected();
    void setInputsEnabled(bool enabled);
    // Stores a list's choice into the shown row's column (not while loading, not "none").
    void storeChoice(int column, NyToolkit::DropList* list);
    void selectAndShow(int row);

    NyToolkit::TableViewer* exprList = nullptr;
    NyToolkit::TextBox* exprName = nullptr;
    NyToolkit::DropList* exprMode = nullptr;
    NyToolkit::DropList* exprColor = nullptr;
    NyToolkit::DropList* exprMat = nullptr;
    NyToolkit::TextArea* exprValue = nullptr;
    NyToolkit::TextBox* normLength = nullptr;
    NyToolkit::DropList* normColor1 = nullptr;
    NyToolkit::DropList* normColor2 = nullptr;
    NyToolkit::Buttons::TextButton* btnDelExpr = nullptr;
    NyToolkit::Buttons::TextButton* btnDupExpr = nullptr;
    NyToolkit::ListContents* colors = nullptr;
    int shownRow = -1;
    bool loading = false;
};

}
