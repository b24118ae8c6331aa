// The table viewer on a real X server, driven with XTest: selection by
// click, Shift-click, Ctrl-click and the arrow keys (scrolling past the last
// visible row), the cell events and their arguments, and the drawing of rows
// and of each data renderer, read back pixel by pixel.
#include <gtest/gtest.h>

#include <X11/keysym.h>

#include <algorithm>
#include <functional>
#include <string>
#include <vector>

#include "nycore/graphics/color.h"
#include "nycore/system/boxed_values.h"
#include "nytoolkit/table/currency_renderer.h"
#include "nytoolkit/table/icon_renderer.h"
#include "nytoolkit/table/list_item_renderer.h"
#include "nytoolkit/table/table_viewer.h"
#include "tests/support/canvas.h"
#include "tests/support/event_log.h"
#include "tests/support/forms.h"
#include "tests/support/strings.h"
#include "nycore/graphics/pixel_io.h"

using namespace NyToolkit;
using namespace TestSupport;

namespace {

// 260 x 150 with a one-pixel border: the client starts at (1, 1), 7 whole rows of 20 pixels.
std::u16string tableForm(std::u16string const& columns)
{
    return u"<NyToolkit.Form w=\"300\" h=\"200\"><NyToolkit.TableViewer id=\"t\" x=\"10\" y=\"10\" w=\"260\" "
           u"h=\"150\">" +
           columns + u"</NyToolkit.TableViewer></NyToolkit.Form>";
}

class TableViewerTest : public WindowTest {
protected:
    void open(std::u16string const& columns, int rows, std::function<std::vector<NyCore::Object*>(int)> const& cells)
    {
        form = formFromText(tableForm(columns));
        table = child<TableViewer>(form, u"t");
        ASSERT_NE(table, nullptr);
        for (int r = 0; r < rows; ++r) {
            std::vector<NyCore::Object*> row = cells(r);
            auto* values = NyCore::Collections::Array<NyCore::Object*>::alloc(static_cast<int>(row.size()));
            for (std::size_t i = 0; i < row.size(); ++i)
                (*values)[static_cast<int>(i)] = row[i];
            table->get$table()->appendRow(values);
            values->free();
            owned.insert(owned.end(), row.begin(), row.end());
        }
    }
    void TearDown() override
    {
        if (form)
            form->close();
        for (NyCore::Object* value : owned) {
            if (std::find(texts.begin(), texts.end(), reinterpret_cast<NyCore::String*>(value)) == texts.end())
                delete value;
        }
        for (NyCore::String* text : texts)
            string_free(text);
    }
    std::string selection() const
    {
        NyCore::Collections::Array<std::int32_t>* list = table->copySelectionList();
        std::string text;
        for (std::int32_t row : *list)
            text += (text.empty() ? "" : " ") + std::to_string(row);
        list->free();
        return text;
    }
    // The pixel at client point (x, y) of the table.
    std::uint32_t at(int x, int y) const { return pixelAt(table->get$nativeWindow(), 1 + x, 1 + y); }
    std::uint32_t color(int slot) const { return table->getColor(slot); }

    Form* form = nullptr;
    TableViewer* table = nullptr;
    std::vector<NyCore::Object*> owned;
    // Text cells: String blocks kept under Object pointers.
    std::vector<NyCore::String*> texts;
};

char16_t const* const NumberColumns =
    uR"(<column name="a" type="NyCore.Double" label="A" width="60">
          <rowRenderer type="NyToolkit.DataRenderers.DoubleRenderer" format="0.0"/></column>
        <column name="hidden" type="NyCore.Double" label="H" width="50"/>
        <column name="b" type="NyCore.Double" label="B" width="70">
          <rowRenderer type="NyToolkit.DataRenderers.DoubleRenderer"/></column>)";

std::vector<NyCore::Object*> numberRow(int row)
{
    return {new NyCore::Double(row), new NyCore::Double(-row), new NyCore::Double(row * 10)};
}

TEST_F(TableViewerTest, MouseSelectsRowsAndReportsTheCellUnderThePointer)
{
    open(NumberColumns, 5, numberRow);
    table->getColumn(1)->set$visible(false);
    EventLog changes, clicks, doubles;
    ASSERT_TRUE(changes.listen(table, u"selectionChange"));
    ASSERT_TRUE(clicks.listen(table, u"cellClick"));
    ASSERT_TRUE(doubles.listen(table, u"cellDoubleClick"));

    // x is in client pixels: column 0 covers 0-59, the hidden column none, column 2 60-129.
    struct Case {
        char const* name;
        int row, x;
        KeySym modifier;
        bool single;
        char const* selected;
        int column;  // -1: no cellClick
    } const cases[] = {
        {"plain click right of the hidden column", 1, 70, 0, false, "1", 2},
        {"shift extends from the anchor", 3, 10, XK_Shift_L, false, "1 2 3", 0},
        {"ctrl on the selected anchor removes it", 1, 100, XK_Control_L, false, "2 3", 2},
        {"ctrl adds a row", 4, 20, XK_Control_L, false, "2 3 4", 0},
        {"beyond the last column selects, sends no click", 0, 200, 0, false, "0", -1},
        {"single selection ignores shift", 3, 30, XK_Shift_L, true, "3", 0},
    };
    for (Case const& c : cases) {
        table->set$singleSelection(c.single);
        int const before = clicks.count();
        int const changesBefore = changes.count();
        pointerTo(table, 1 + c.x, 1 + c.row * 20 + 10);
        if (c.modifier)
            key(c.modifier, true);
        click();
        if (c.modifier)
            key(c.modifier, false);
        EXPECT_TRUE(runUntil([&] {
            return selection() == c.selected && !(table->get$viewerFlags() & TableViewer::Dragging);
        })) << c.name << ": " << selection();
        EXPECT_EQ(changes.count(), changesBefore + 1) << c.name;
        EXPECT_EQ(table->get$focusRow(), c.row) << c.name;
        if (c.column < 0) {
            EXPECT_EQ(clicks.count(), before) << c.name;
        } else {
            EXPECT_EQ(clicks.count(), before + 1) << c.name;
            EXPECT_EQ(clicks.last(), (EventLog::Call{c.row, c.column})) << c.name;
        }
    }

    // A second press at the same place is a double click on that cell.
    table->set$singleSelection(false);
    pointerTo(table, 1 + 65, 1 + 2 * 20 + 5);
    click();
    click();
    ASSERT_TRUE(runUntil([&] { return doubles.count() == 1; }));
    EXPECT_EQ(doubles.last(), (EventLog::Call{2, 2}));

    table->clearSelection();
    EXPECT_EQ(selection(), "");
    EXPECT_EQ(std::make_tuple(table->get$firstSelected(), table->get$focusRow(), table->get$anchorRow()),
              std::make_tuple(-1, -1, -1));
}

TEST_F(TableViewerTest, ArrowKeysMoveTheSelectionAndScrollByOneRow)
{
    open(NumberColumns, 10, numberRow);
    EventLog changes;
    ASSERT_TRUE(changes.listen(table, u"selectionChange"));
    table->focus();
    ASSERT_TRUE(runUntil([&] { return table->get$flags() & NyCore::System::WidgetFlags::HasFocus; }));
    table->selectRow(5);

    struct Case {
        KeySym key;
        int times;
        bool shift;
        char const* selected;
        int focus, first;
    } const cases[] = {
        {XK_Down, 1, false, "6", 6, 0},
        {XK_Down, 1, false, "7", 7, 1},   // past the seventh visible row: scrolled by one
        {XK_Down, 2, true, "7 8 9", 9, 3},
        {XK_Down, 1, false, "7 8 9", 9, 3},  // the last row: nothing happens
        {XK_Up, 1, true, "7 8", 8, 3},
        {XK_Up, 6, false, "2", 2, 2},      // above the first shown row: it becomes the first
    };
    for (Case const& c : cases) {
        if (c.shift)
            key(XK_Shift_L, true);
        for (int i = 0; i < c.times; ++i)
            tap(c.key);
        if (c.shift)
            key(XK_Shift_L, false);
        EXPECT_TRUE(runUntil([&] { return table->get$focusRow() == c.focus && selection() == c.selected; }))
            << c.selected << " got " << selection();
        EXPECT_EQ(table->get$firstRow(), c.first) << c.selected;
        EXPECT_EQ(table->get$vscroll(), c.first) << c.selected;
    }
    EXPECT_GE(changes.count(), 7);

    // After the block copies each line shows its own row's band.
    std::uint32_t const even = NyCore::Graphics::Color::scale(color(Style::Background), 100);
    std::uint32_t const odd = NyCore::Graphics::Color::scale(color(Style::Background), 93);
    for (int line = 1; line < 7; ++line)
        EXPECT_EQ(at(200, line * 20 + 10), (table->get$firstRow() + line) % 2 == 0 ? even : odd) << line;
}

}

namespace {

char16_t const* const RendererColumns =
    uR"(<column name="amount" type="NyCore.Double" label="Amount" width="60">
          <rowRenderer type="NyToolkit.DataRenderers.CurrencyRenderer" format="0.00" negitiveColor="#00A000"/>
          <note format="#"/></column>
        <column name="when" type="NyCore.DateTime" label="When" width="40">
          <rowRenderer type="NyToolkit.DataRenderers.DateTimeRenderer"/></column>
        <column name="pic" type="NyCore.Integer32" label="Pic" width="40" align="Center Middle">
          <rowRenderer type="NyToolkit.DataRenderers.IconRenderer" icons="icons/radio.icons"/><note/></column>
        <column name="on" type="NyCore.Integer32" label="On" width="30">
          <rowRenderer type="NyToolkit.DataRenderers.CheckBoxRenderer"/></column>
        <column name="name" type="NyCore.String" label="Name" width="40">
          <rowRenderer type="NyToolkit.DataRenderers.StringRenderer"/></column>
        <column name="item" type="NyCore.Integer32" label="Item" width="20">
          <rowRenderer type="NyToolkit.DataRenderers.ListItemRenderer"/></column>)";

// The cell's pixels, client rectangle (x, y, w, h).
std::vector<std::uint32_t> cellPixels(TableViewer* table, int x, int y, int w, int h)
{
    return readPixels(table->get$nativeWindow(), 1 + x, 1 + y, w, h);
}

bool contains(std::vector<std::uint32_t> const& pixels, std::uint32_t rgb)
{
    return std::find(pixels.begin(), pixels.end(), rgb) != pixels.end();
}

// The cell (x, w) of `row` shows icon `index` of the set centred on
// `background` (between the lines that mark a focus row).
void expectCentredIcon(TableViewer* table, IconSet* icons, int index, int x, int w, int row, std::uint32_t background)
{
    Canvas expected(w, 20);
    gc_set_background(expected.gc(), background);
    gc_rect_fill(expected.gc(), 0, 0, w, 20);
    icons->draw(expected.gc(), (w - icons->get$width()) / 2, (20 - icons->get$height()) / 2, index);
    std::vector<std::uint32_t> const picture = readPixels(expected.pixmap.get$drawable(), 0, 1, w, 18);
    ASSERT_NE(picture, std::vector<std::uint32_t>(picture.size(), background)) << "icon " << index << " shows";
    EXPECT_EQ(cellPixels(table, x, row * 20 + 1, w, 18), picture) << "icon " << index << " in row " << row;
}

TEST_F(TableViewerTest, RowsAndRenderersDrawFromTheStyle)
{
    open(RendererColumns, 3, [this](int row) {
        texts.push_back(makeString(u"Row" + std::u16string(1, static_cast<char16_t>(u'0' + row))));
        return std::vector<NyCore::Object*>{new NyCore::Double(row == 1 ? -2.5 : 2.5),
                                            new NyCore::DateTime(2024, 1, 2), new NyCore::Integer32(2),
                                            new NyCore::Integer32(row % 2),
                                            reinterpret_cast<NyCore::Object*>(texts.back()),
                                            new NyCore::Integer32(row)};
    });
    auto* items = new ListContents();
    items->append(u"A"_str, nullptr, -1);
    items->append(u"B"_str, nullptr, -1);
    static_cast<DataRenderers::ListItemRenderer*>(table->getColumn(5)->get$renderer())->set$list(items);
    items->release();
    table->redraw();
    // The renderers read their own element, not the one after it.
    auto* currency = static_cast<DataRenderers::CurrencyRenderer*>(table->getColumn(0)->get$renderer());
    EXPECT_EQ(toUtf8(currency->get$format()), "0.00");
    std::uint32_t const negative = NyCore::Graphics::Color::create(u"00A000"_str);
    EXPECT_EQ(currency->get$negitiveColor(), negative);
    IconSet* icons = static_cast<DataRenderers::IconRenderer*>(table->getColumn(2)->get$renderer())->get$icons();
    ASSERT_NE(icons, nullptr);

    std::uint32_t const even = NyCore::Graphics::Color::scale(color(Style::Background), 100);
    std::uint32_t const odd = NyCore::Graphics::Color::scale(color(Style::Background), 93);
    ASSERT_TRUE(runUntil([&] { return at(235, 30) == odd; }));
    expectPixels(table->get$nativeWindow(), {{"row 0 band", 236, 11, even},
                                             {"row 1 band", 236, 31, odd},
                                             {"row 2 band", 236, 51, even},
                                             {"below the rows", 236, 71, color(Style::Background)}});

    std::vector<std::uint32_t> const positive = cellPixels(table, 0, 0, 60, 20);
    EXPECT_TRUE(contains(positive, color(Style::Text)));
    EXPECT_FALSE(contains(positive, negative));
    std::vector<std::uint32_t> const minus = cellPixels(table, 0, 20, 60, 20);
    EXPECT_TRUE(contains(minus, negative)) << "-2.5 in the negative colour";
    EXPECT_FALSE(contains(minus, color(Style::Text)));
    EXPECT_EQ(cellPixels(table, 60, 20, 40, 20), std::vector<std::uint32_t>(800, odd)) << "a date without format";
    expectCentredIcon(table, icons, 2, 100, 40, 0, even);
    IconSet* check = Style::getDefaultStyle(Style::Control)->getIcons(Style::Check);
    expectCentredIcon(table, check, 0, 140, 30, 0, even);
    expectCentredIcon(table, check, 3, 140, 30, 1, odd);
    struct Text {
        char const* name;
        int x, w, row;
        bool drawn;
    } const textCells[] = {{"a name", 170, 40, 0, true}, {"item 1", 210, 20, 1, true}, {"no item 2", 210, 20, 2, false}};
    for (Text const& c : textCells)
        EXPECT_EQ(contains(cellPixels(table, c.x, c.row * 20, c.w, 20), color(Style::Text)), c.drawn) << c.name;

    table->selectRow(2);
    ASSERT_TRUE(runUntil([&] { return at(235, 50) == color(Style::HighlightBackground); }));
    expectPixels(table->get$nativeWindow(), {{"focus line on top", 236, 41, color(Style::HighlightFrame)},
                                             {"focus line below", 236, 60, color(Style::HighlightFrame)},
                                             {"inside the focus row", 236, 42, color(Style::HighlightBackground)},
                                             {"the row above", 236, 40, odd}});
    EXPECT_TRUE(contains(cellPixels(table, 170, 40, 40, 20), color(Style::HighlightText))) << "selected text";
    EXPECT_FALSE(contains(cellPixels(table, 170, 40, 40, 20), color(Style::Text)));
    expectCentredIcon(table, icons, 2, 100, 40, 2, color(Style::HighlightBackground));
}

}
