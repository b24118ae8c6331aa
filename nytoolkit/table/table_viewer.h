// TableViewer: the toolkit's grid. It owns a data table and shows one
// fixed-height line per row with one cell per visible column, each drawn by
// its column's renderer. It keeps a per-row selection with an anchor and a
// focus row, scrolls vertically by whole rows and reports clicks as cell
// events ("cellClick", "cellDoubleClick" with row and column) and every
// change of the selection as "selectionChange".
#pragma once

#include <cstdint>
#include <vector>

#include "nycore/collection/array.h"
#include "nycore/collection/link_vector.h"
#include "nycore/data/data_table.h"
#include "nytoolkit/scroll/scroll_view.h"
#include "nytoolkit/table/table_viewer_column.h"

namespace NyToolkit {

class TableViewer : public ScrollView {
    NY_REFLECTIVE(TableViewer)
public:
    enum ViewerFlags : std::uint16_t {
        DeselectingDrag = 1,  // the current drag removes rows from the selection
        Dragging = 2,         // a drag is in progress, the pointer captured
        SingleSelection = 4,  // set by the viewer's owner, never by the form
        ReadingColumns = 8,   // the form's columns are being read
    };
    // The selected bit of a row's state word.
    static constexpr std::uint16_t RowSelected = 0x8000;
    static constexpr int DefaultRowHeight = 20;

    TableViewer() = default;
    ~TableViewer() override;
    static NyCore::Object* __create();

    void onCreate() override;
    // One column per "column" child: a table column named by "name" of the
    // registered type named by "type", shown as the element describes.
    void setParameters(NyCore::XML::Element* element) override;
    void onDraw(NyCore::Graphics::GC* gc) override;
    void onMouseDown(int x, int y, int button, int keys) override;
    void onMouseUp(int x, int y, int button, int keys) override;
    void onMouseMove(int x, int y, int keys) override;
    void onDoubleClick(int x, int y, int button, int keys) override;
    void onSystemKeyDown(int code, int modifiers) override;
    void onFocusLost() override;
    bool onResize(int dw, int dh) override;
    void onVScroll(int change) override;

    // Followers of the table's events.
    void onInsertRow(int row);
    void onRemoveRow(int row);
    void onInsertCol(int column);
    void onRemoveCol(int column);
    void onRemoveAllRows();
    void onReorder();

    // Adds `row` to the selection and makes it the anchor.
    void selectRow(int row);
    void unselectRow(int row);
    // Leaves no row selected, no focus row and no anchor.
    void clearSelection();
    // Scrolls so that `row` is the first row shown (as far as the range allows).
    void showRow(int row);
    // Redraws the row when it is on screen.
    void redrawRow(int row);
    // Sets the selected flags of the rows between `from` and `to` (which
    // becomes the focus row, limited to the rows): `select` adds them (and
    // with `exclusive` removes every other row), otherwise removes them.
    void selectRange(int from, int to, bool exclusive, bool select);

    bool isRowSelected(int row) const;
    // The lowest selected row, -1 when none.
    int get$firstSelected() const;
    int get$selectionCount() const;
    // The selected rows in ascending order, in a new array owned by the caller.
    NyCore::Collections::Array<std::int32_t>* copySelectionList() const;

    NyCore::Data::DataTable* get$table() { return &table; }
    int get$columnCount() const { return columns.get$count(); }
    // Null outside the columns.
    TableViewerColumn* getColumn(int index) const;
    // Adds a table column of that name and type shown by `column` (the viewer takes it).
    void appendColumn(NyCore::String const* name, NyCore::Type* type, TableViewerColumn* column);
    // The visible column under client x (columns start at the client's left), -1 when none.
    int columnAt(int x) const;

    int get$rowHeight() const { return rowHeight; }
    int get$firstRow() const { return firstRow; }
    int get$visibleRows() const { return visibleRows; }
    int get$focusRow() const { return focusRow; }
    int get$anchorRow() const { return anchorRow; }
    std::uint16_t get$viewerFlags() const { return viewerFlags; }
    void set$singleSelection(bool single);

private:
    int rowCount() const { return static_cast<int>(rowStates.size()); }
    int pageRows() const { return visibleRows > 0 ? visibleRows : 1; }
    // Row on the screen: one of the visible rows or the partly visible one below them.
    bool isRowOnScreen(int row) const;
    bool canDraw() const;
    int rowTop(int row) const { return client.y + rowHeight * (row - firstRow); }
    int clientBottom() const { return client.y + client.height; }
    // Range from the row count; then the rows from `row` down are drawn again.
    void updateFrom(int row);
    // Draws one row at y and gives its height.
    int drawRow(NyCore::Graphics::GC* gc, int y, int index, NyCore::Data::DataRow* row);
    // Draws the rows from `row` while they start above yLimit; space left below the last row is cleared.
    void drawRows(NyCore::Graphics::GC* gc, int row, int yLimit);
    // The same through a context of its own, outside a paint.
    void paintRows(int row, int yLimit);
    void paintRow(NyCore::Graphics::GC* gc, int row);
    void beginWindowDrawing(NyCore::Graphics::GC* gc);
    void handleClick(int x, int y, int keys, char16_t const* eventName);
    // The row under client y limited to the rows.
    int rowAt(int y) const;

    std::vector<std::uint16_t> rowStates;
    NyCore::Collections::LinkVector<TableViewerColumn> columns;
    NyCore::Data::DataTable table;
    std::uint16_t viewerFlags = 0;
    int rowHeight = DefaultRowHeight;
    int firstRow = 0;
    int visibleRows = 0;
    int focusRow = -1;
    int anchorRow = -1;
};

}
