// EditGraph: the options dialog of a graph document. Title, coordinate
// system, the variables with their ranges (a table edited in place through
// two floating text boxes), the camera planes, field of view, frame rate,
// axes length and background. Values that would break the graph are refused
// with a message that names the field, and the dialog stays open.
#pragma once

#include "nytoolkit/lists/drop_list.h"
#include "nytoolkit/table/table_viewer.h"
#include "nytoolkit/text/text_box.h"
#include "vexadrome/documents/graph_doc.h"
#include "vexadrome/interface/form_dialog.h"

namespace Vexadrome::Interface {

class EditGraph : public FormDialog {
    NY_REFLECTIVE(EditGraph)
public:
    enum Column { Name, Min, Max, Res, Tick, ColumnCount };

    EditGraph() = default;
    ~EditGraph() override;
    static NyCore::Object* __create();

    void setParameters(NyCore::XML::Element* element) override;

    void readOptions(Documents::GraphDoc* graph);
    void applyOptions(Documents::GraphDoc* graph);

    void onAddVariable();
    void onDelVariable();
    // Ends the run with 1 once every field holds a value the graph can use.
    void onConfirm();
    void onCancel();
    void onListScroll();
    void onSelection();
    void onCellClick(int row, int column);
    // Commits the cell being edited and hides the editors.
    void updateAndUnselect();
    // Escape while a cell is edited drops the edit; otherwise it cancels.
    void onEscape() override;

    void onEditorEnter();
    void onValueTyped();

    NyToolkit::TableViewer* get$varList() const { return varList; }
    NyToolkit::TextBox* get$nameEditor() const { return nameEditor; }
    NyToolkit::TextBox* get$valueEditor() const { return valueEditor; }
    int get$editRow() const { return editRow; }
    int get$editColumn() const { return editColumn; }
    int get$rowCount() const;
    double numberCell(int row, int column) const;
    NyCore::String const* nameCell(int row) const;

private:
    void appendVariable(NyCore::String const* name, double min, double max, double res, double tick);
    void releaseRow(int row);
    void setCell(int row, int column, NyCore::Object* value);
    void hideEditors();
    // The first field that would break the graph, told to the user; true when none.
    bool checkOptions();
    bool refuse(NyCore::String const* message, NyCore::System::Widget* field);

    NyToolkit::TableViewer* varList = nullptr;
    NyToolkit::DropList* graphMode = nullptr;
    NyToolkit::TextBox* graphName = nullptr;
    NyToolkit::TextBox* nerPlane = nullptr;
    NyToolkit::TextBox* farPlane = nullptr;
    NyToolkit::TextBox* fovAngle = nullptr;
    NyToolkit::TextBox* frameRate = nullptr;
    NyToolkit::TextBox* axesLength = nullptr;
    NyToolkit::DropList* bkgndColor = nullptr;
    NyToolkit::TextBox* nameEditor = nullptr;
    NyToolkit::TextBox* valueEditor = nullptr;
    // The text the value editor was opened with, and whether the user typed in it.
    NyCore::String* shownValue = nullptr;
    bool valueTyped = false;
    int editRow = -1;
    int editColumn = -1;
};

}
