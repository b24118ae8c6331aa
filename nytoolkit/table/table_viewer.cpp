// The table viewer: following its table, drawing rows, scrolling by block
// copies, and the selection by mouse and keys.
#include "nytoolkit/table/table_viewer.h"

#include <algorithm>
#include <cstdlib>

#include "nycore/graphics/color.h"
#include "nycore/graphics/gc.h"
#include "nycore/system/method_thunk.h"
#include "nycore/text/string_functions.h"
#include "nycore/xml/xml_node.h"

namespace NyToolkit {

namespace {

NyCore::MethodEntry const TableViewerMethods[] = {{u"selectRow", NY_METHOD(TableViewer::selectRow)},
                                                  {u"unselectRow", NY_METHOD(TableViewer::unselectRow)},
                                                  {u"clearSelection", NY_METHOD(TableViewer::clearSelection)},
                                                  {u"showRow", NY_METHOD(TableViewer::showRow)},
                                                  {u"redrawRow", NY_METHOD(TableViewer::redrawRow)},
                                                  {nullptr, nullptr}};

char16_t const* const TableViewerEvents[] = {u"selectionChange", u"cellClick", u"cellDoubleClick", nullptr};

using NyCore::System::MouseKeys::Ctrl;
using NyCore::System::MouseKeys::Shift;

}

NyCore::TypeData TableViewer::MetaData = {&ScrollView::MetaData,
                                          nullptr,
                                          u"NyToolkit.TableViewer"_str,
                                          TableViewerMethods,
                                          TableViewerEvents,
                                          &TableViewer::__create,
                                          sizeof(TableViewer),
                                          0,
                                          nullptr};

TableViewer::~TableViewer()
{
    for (int i = 0; i < columns.get$count(); ++i)
        delete columns.get(i);
}

NyCore::Object* TableViewer::__create()
{
    return new TableViewer();
}

void TableViewer::onCreate()
{
    ScrollView::onCreate();
    setStyleClass(Style::Display, false);
    set$hvisible(false);
    viewerFlags = 0;
    rowHeight = DefaultRowHeight;
    firstRow = 0;
    visibleRows = client.height / rowHeight;
    focusRow = -1;
    anchorRow = -1;
    link(&table, this, u"insertRow", NY_METHOD(TableViewer::onInsertRow));
    link(&table, this, u"insertCol", NY_METHOD(TableViewer::onInsertCol));
    link(&table, this, u"removeRow", NY_METHOD(TableViewer::onRemoveRow));
    link(&table, this, u"removeCol", NY_METHOD(TableViewer::onRemoveCol));
    link(&table, this, u"removeAllRows", NY_METHOD(TableViewer::onRemoveAllRows));
    // A sorted or reversed table is shown in its new order at once.
    link(&table, this, u"reorder", NY_METHOD(TableViewer::onReorder));
    setVRange(0, pageRows());
}

void TableViewer::setParameters(NyCore::XML::Element* element)
{
    ScrollView::setParameters(element);
    if (!xml_has_children(element))
        return;
    viewerFlags |= ReadingColumns;
    for (NyCore::XML::Node* node = xml_first_child(element); node; node = xml_next_sibling(node)) {
        if (xml_get_type(node) != NyCore::XML::ElementNode || string_compare(xml_get_name(node), u"column"_str) != 0)
            continue;
        auto* columnElement = static_cast<NyCore::XML::Element*>(node);
        NyCore::String const* name = xml_get_attribute(columnElement, u"name");
        NyCore::String const* typeName = xml_get_attribute(columnElement, u"type");
        NyCore::Type* type = typeName ? NyCore::Type::getType(typeName) : nullptr;
        appendColumn(name, type, new TableViewerColumn(this, columnElement));
    }
    viewerFlags &= ~ReadingColumns;
    redraw();
}

void TableViewer::appendColumn(NyCore::String const* name, NyCore::Type* type, TableViewerColumn* column)
{
    columns.append(column);
    table.appendColumn(name ? name : NyCore::Text::EmptyString, type);
    if (!(viewerFlags & ReadingColumns))
        redraw();
}

TableViewerColumn* TableViewer::getColumn(int index) const
{
    return index >= 0 && index < columns.get$count() ? columns.get(index) : nullptr;
}

void TableViewer::set$singleSelection(bool single)
{
    if (single)
        viewerFlags |= SingleSelection;
    else
        viewerFlags &= ~SingleSelection;
}

// ---- following the table

void TableViewer::onInsertRow(int row)
{
    rowStates.insert(rowStates.begin() + std::clamp(row, 0, rowCount()), std::uint16_t{0});
    // The focus and the anchor stay on the rows they marked.
    if (focusRow >= row)
        ++focusRow;
    if (anchorRow >= row)
        ++anchorRow;
    updateFrom(row);
}

void TableViewer::onRemoveRow(int row)
{
    if (row < 0 || row >= rowCount())
        return;
    rowStates.erase(rowStates.begin() + row);
    if (focusRow == row)
        focusRow = -1;
    else if (focusRow > row)
        --focusRow;
    if (anchorRow == row)
        anchorRow = -1;
    else if (anchorRow > row)
        --anchorRow;
    updateFrom(row);
}

void TableViewer::onInsertCol(int) {}

void TableViewer::onRemoveCol(int) {}

void TableViewer::onRemoveAllRows()
{
    rowStates.clear();
    focusRow = -1;
    anchorRow = -1;
    setVRange(0, pageRows());
    paintRows(firstRow, clientBottom());
}

void TableViewer::onReorder()
{
    setVRange(rowCount(), pageRows());
    paintRows(firstRow, clientBottom());
}

void TableViewer::updateFrom(int row)
{
    setVRange(rowCount(), pageRows());
    int const from = std::max(row, firstRow);
    if (rowTop(from) < clientBottom())
        paintRows(from, clientBottom());
}

// ---- drawing

bool TableViewer::canDraw() const
{
    return window != 0 && !(flags & NyCore::System::WidgetFlags::DrawingSuppressed);
}

bool TableViewer::isRowOnScreen(int row) const
{
    return row >= firstRow && row <= firstRow + visibleRows && row < rowCount();
}

int TableViewer::drawRow(NyCore::Graphics::GC* gc, int y, int index, NyCore::Data::DataRow* row)
{
    bool const selected = (rowStates[static_cast<std::size_t>(index)] & RowSelected) != 0;
    std::uint32_t const background =
        selected ? getColor(Style::HighlightBackground)
                 : NyCore::Graphics::Color::scale(getColor(Style::Background), index % 2 == 0 ? 100 : 93);
    gc_set_foreground(gc, getColor(selected ? Style::HighlightText : Style::Text));
    gc_set_background(gc, background);
    gc_rect_fill(gc, client.x, y, client.width, rowHeight);

    int x = client.x;
    int const right = client.x + client.width;
    int const bottom = std::min(y + rowHeight, clientBottom());
    int const top = std::max(y, client.y);
    for (int i = 0; i < table.get$columnCount() && x < right; ++i) {
        TableViewerColumn* column = getColumn(i);
        if (!column || !column->get$visible())
            continue;
        NyCore::Object* value = row->get(i);
        int const width = column->get$width();
        int const cellRight = std::min(x + width, right);
        if (value && column->get$renderer() && cellRight > x && bottom > top) {
            NyCore::Graphics::Rect const cell{x, y, width, rowHeight};
            // Each cell is kept inside its column so that a long text never runs into its neighbour.
            gc_set_clip(gc, x, top, cellRight - x, bottom - top);
            column->get$renderer()->render(value, gc, &cell, column->get$alignment());
        }
        x += width;
    }
    gc_set_clip(gc, client.x, client.y, client.width, client.height);

    if (index == focusRow) {
        gc_set_foreground(gc, getColor(Style::HighlightFrame));
        gc_line(gc, client.x, y, right - 1, y);
        gc_line(gc, client.x, y + rowHeight - 1, right - 1, y + rowHeight - 1);
    }
    return rowHeight;
}

void TableViewer::drawRows(NyCore::Graphics::GC* gc, int row, int yLimit)
{
    gc_set_clip(gc, client.x, client.y, client.width, client.height);
    int y = rowTop(row);
    while (row < rowCount() && y < yLimit) {
        y += drawRow(gc, y, row, table.getRow(row));
        ++row;
    }
    if (row >= rowCount() && y < yLimit) {
        gc_set_background(gc, getColor(Style::Background));
        gc_rect_fill(gc, client.x, y, client.width, std::min(yLimit, clientBottom()) - y);
    }
    gc_set_clip(gc, 0, 0, 0, 0);
}

void TableViewer::beginWindowDrawing(NyCore::Graphics::GC* gc)
{
    wgc_construct(gc, window);
    gc_set_font(gc, style->get$font());
}

void TableViewer::paintRows(int row, int yLimit)
{
    if (!canDraw())
        return;
    NyCore::Graphics::GC gc{};
    beginWindowDrawing(&gc);
    drawRows(&gc, row, yLimit);
    wgc_destroy(&gc);
}

void TableViewer::paintRow(NyCore::Graphics::GC* gc, int row)
{
    gc_set_clip(gc, client.x, client.y, client.width, client.height);
    drawRow(gc, rowTop(row), row, table.getRow(row));
    gc_set_clip(gc, 0, 0, 0, 0);
}

void TableViewer::onDraw(NyCore::Graphics::GC* gc)
{
    ScrollView::onDraw(gc);
    gc_set_background(gc, getColor(Style::Background));
    gc_rect_fill(gc, client.x, client.y, client.width, client.height);
    if (rowCount() > 0) {
        gc_set_font(gc, style->get$font());
        drawRows(gc, firstRow, clientBottom());
    }
}

void TableViewer::redrawRow(int row)
{
    if (!isRowOnScreen(row) || !canDraw())
        return;
    NyCore::Graphics::GC gc{};
    beginWindowDrawing(&gc);
    paintRow(&gc, row);
    wgc_destroy(&gc);
}

// ---- scrolling

void TableViewer::onVScroll(int)
{
    int const delta = get$vscroll() - firstRow;
    firstRow = get$vscroll();
    if (delta == 0 || !canDraw())
        return;
    int const shift = std::abs(delta) * rowHeight;
    if (shift >= client.height) {
        paintRows(firstRow, clientBottom());
        return;
    }
    NyCore::Graphics::GC gc{};
    beginWindowDrawing(&gc);
    // The rows still in view move with one copy; only the rows that came into view are drawn.
    if (delta > 0) {
        gc_copy_rect(&gc, client.x, client.y, &gc, client.x, client.y + shift, client.width, client.height - shift);
        drawRows(&gc, firstRow + (client.height - shift) / rowHeight, clientBottom());
    } else {
        gc_copy_rect(&gc, client.x, client.y + shift, &gc, client.x, client.y, client.width, client.height - shift);
        drawRows(&gc, firstRow, client.y + shift);
    }
    wgc_destroy(&gc);
}

void TableViewer::showRow(int row)
{
    set$vscroll(row);
}

bool TableViewer::onResize(int dw, int dh)
{
    bool const again = ScrollView::onResize(dw, dh);
    visibleRows = client.height / rowHeight;
    setVRange(rowCount(), pageRows());
    return again;
}

// ---- selection

bool TableViewer::isRowSelected(int row) const
{
    return row >= 0 && row < rowCount() && (rowStates[static_cast<std::size_t>(row)] & RowSelected) != 0;
}

void TableViewer::selectRange(int from, int to, bool exclusive, bool select)
{
    if (viewerFlags & SingleSelection) {
        from = to;
        exclusive = true;
        select = true;
    }
    int const count = rowCount();
    if (count == 0)
        return;
    int const target = std::clamp(to, 0, count - 1);
    int const oldFocus = focusRow;
    focusRow = target;
    int const lo = std::min(from, target);
    int const hi = std::max(from, target);

    bool changed = false;
    bool drawing = false;
    NyCore::Graphics::GC gc{};
    for (int i = 0; i < count; ++i) {
        std::uint16_t& state = rowStates[static_cast<std::size_t>(i)];
        bool const in = lo <= i && i <= hi;
        bool const was = (state & RowSelected) != 0;
        bool const now = select ? in || (was && !exclusive) : was && !in;
        if (now != was) {
            state = now ? state | RowSelected : state & ~RowSelected;
            changed = true;
        }
        bool const focusMoved = oldFocus != target && (i == oldFocus || i == target);
        if ((now != was || focusMoved) && isRowOnScreen(i) && canDraw()) {
            if (!drawing) {
                beginWindowDrawing(&gc);
                drawing = true;
            }
            paintRow(&gc, i);
        }
    }
    if (drawing)
        wgc_destroy(&gc);
    if (changed)
        send(u"selectionChange");
}

void TableViewer::selectRow(int row)
{
    selectRange(row, row, false, true);
    anchorRow = std::clamp(row, -1, rowCount() - 1);
}

void TableViewer::unselectRow(int row)
{
    selectRange(row, row, false, false);
}

void TableViewer::clearSelection()
{
    bool changed = false;
    int const oldFocus = focusRow;
    focusRow = -1;
    anchorRow = -1;
    for (int i = 0; i < rowCount(); ++i) {
        std::uint16_t& state = rowStates[static_cast<std::size_t>(i)];
        if (state & RowSelected) {
            state &= ~RowSelected;
            changed = true;
            redrawRow(i);
        } else if (i == oldFocus) {
            redrawRow(i);
        }
    }
    if (changed)
        send(u"selectionChange");
}

int TableViewer::get$firstSelected() const
{
    for (int i = 0; i < rowCount(); ++i) {
        if (isRowSelected(i))
            return i;
    }
    return -1;
}

int TableViewer::get$selectionCount() const
{
    return static_cast<int>(
        std::count_if(rowStates.begin(), rowStates.end(), [](std::uint16_t s) { return (s & RowSelected) != 0; }));
}

NyCore::Collections::Array<std::int32_t>* TableViewer::copySelectionList() const
{
    auto* list = NyCore::Collections::Array<std::int32_t>::alloc(get$selectionCount());
    int n = 0;
    for (int i = 0; i < rowCount(); ++i) {
        if (isRowSelected(i))
            list->items()[n++] = i;
    }
    return list;
}

// ---- mouse and keys

int TableViewer::columnAt(int x) const
{
    int right = client.x;
    for (int i = 0; i < columns.get$count(); ++i) {
        TableViewerColumn* column = columns.get(i);
        // Hidden columns take no width on the screen, so they take none here either.
        if (!column->get$visible())
            continue;
        right += column->get$width();
        if (x < right)
            return x >= client.x ? i : -1;
    }
    return -1;
}

int TableViewer::rowAt(int y) const
{
    int const offset = y >= client.y ? (y - client.y) / rowHeight : -1 - (client.y - y - 1) / rowHeight;
    return std::clamp(firstRow + offset, 0, std::max(rowCount() - 1, 0));
}

void TableViewer::handleClick(int x, int y, int keys, char16_t const* eventName)
{
    focus();
    if (!isPointInClient(x, y))
        return;
    int const offset = (y - client.y) / rowHeight;
    int const row = firstRow + offset;
    if (offset < 0 || offset > visibleRows || row >= rowCount())
        return;
    pointerCapture();
    viewerFlags |= Dragging;
    viewerFlags &= ~DeselectingDrag;
    if (!(keys & Shift) || anchorRow < 0)
        anchorRow = row;
    if ((keys & Ctrl) && row == anchorRow && isRowSelected(row))
        viewerFlags |= DeselectingDrag;
    selectRange(anchorRow, row, !(keys & Ctrl), !(viewerFlags & DeselectingDrag));
    int const column = columnAt(x);
    if (column >= 0) {
        NyCore::Object::CallbackParams params{2, {row, column}};
        send(eventName, &params);
    }
}

void TableViewer::onMouseDown(int x, int y, int button, int keys)
{
    if (button == 0 && isPointInClient(x, y))
        handleClick(x, y, keys, u"cellClick");
    else
        ScrollView::onMouseDown(x, y, button, keys);
}

void TableViewer::onDoubleClick(int x, int y, int button, int keys)
{
    if (button == 0 && isPointInClient(x, y))
        handleClick(x, y, keys, u"cellDoubleClick");
    else
        ScrollView::onDoubleClick(x, y, button, keys);
}

void TableViewer::onMouseMove(int x, int y, int keys)
{
    if (!(viewerFlags & Dragging)) {
        ScrollView::onMouseMove(x, y, keys);
        return;
    }
    if (rowCount() > 0)
        selectRange(anchorRow, rowAt(y), !(keys & Ctrl), !(viewerFlags & DeselectingDrag));
}

void TableViewer::onMouseUp(int x, int y, int button, int keys)
{
    if (button == 0 && (viewerFlags & Dragging)) {
        viewerFlags &= ~(Dragging | DeselectingDrag);
        pointerRelease();
        return;
    }
    ScrollView::onMouseUp(x, y, button, keys);
}

void TableViewer::onSystemKeyDown(int code, int modifiers)
{
    namespace Keys = NyCore::System::SystemKeys;
    switch (code) {
    case Keys::PageUp: vPageUp(); return;
    case Keys::PageDown: vPageDown(); return;
    case Keys::Up:
    case Keys::Down: break;
    default: ScrollView::onSystemKeyDown(code, modifiers); return;
    }
    int const row = focusRow + (code == Keys::Up ? -1 : 1);
    if (row < 0 || row >= rowCount())
        return;
    if (!(modifiers & NyCore::System::KeyModifiers::Shift) || anchorRow < 0)
        anchorRow = row;
    selectRange(anchorRow, row, true, true);
    if (row >= firstRow + visibleRows)
        set$vscroll(row + 1 - visibleRows);
    else if (row < firstRow)
        set$vscroll(row);
}

void TableViewer::onFocusLost()
{
    ScrollView::onFocusLost();
    if (rowCount() > 0 && focusRow >= 0) {
        int const old = focusRow;
        focusRow = -1;
        redrawRow(old);
    }
}

}
