// Data tables: the events a linked viewer receives, cells by name and index,
// stable multi-key sorting, and copying rows between tables, readers and writers.
#include <gtest/gtest.h>

#include <algorithm>
#include <functional>
#include <initializer_list>
#include <memory>
#include <string>
#include <tuple>
#include <utility>
#include <vector>

#include "nycore/data/data_table.h"
#include "nycore/system/boxed_values.h"
#include "nycore/text/string_functions.h"
#include "tests/support/child_process.h"
#include "tests/support/strings.h"

using namespace NyCore;
using namespace NyCore::Data;
using Values = Collections::Array<Object*>;
using Lines = std::vector<std::string>;

namespace {

Type* const StringType = asType(&StringMetaData);
Type* const IntegerType = asType(&Integer32::MetaData);

// Strings travel in cells as Object pointers.
Object* cell(String const* text)
{
    return reinterpret_cast<Object*>(const_cast<String*>(text));
}

// Records the events of the table it watches, with their indexes.
class Viewer : public Extenders::LinkableObject {
    NY_REFLECTIVE(Viewer)
public:
    void onInsertRow(int row) { log.push_back("insertRow " + std::to_string(row)); }
    void onRemoveRow(int row) { log.push_back("removeRow " + std::to_string(row)); }
    void onInsertCol(int column) { log.push_back("insertCol " + std::to_string(column)); }
    void onRemoveCol(int column) { log.push_back("removeCol " + std::to_string(column)); }
    void onRemoveAllRows() { log.push_back("removeAllRows"); }
    void onReorder() { log.push_back("reorder"); }

    void watch(DataTable* table)
    {
        for (auto const& [event, method] : {std::pair{u"insertRow", u"onInsertRow"}, {u"removeRow", u"onRemoveRow"},
                                            {u"insertCol", u"onInsertCol"}, {u"removeCol", u"onRemoveCol"},
                                            {u"removeAllRows", u"onRemoveAllRows"}, {u"reorder", u"onReorder"}})
            ASSERT_TRUE(Object::link(table, this, event, method));
    }

    // The log since the last call.
    Lines take() { return std::exchange(log, {}); }

private:
    Lines log;
};

MethodEntry const ViewerMethods[] = {
    {u"onInsertRow", NY_METHOD(Viewer::onInsertRow)},   {u"onRemoveRow", NY_METHOD(Viewer::onRemoveRow)},
    {u"onInsertCol", NY_METHOD(Viewer::onInsertCol)},   {u"onRemoveCol", NY_METHOD(Viewer::onRemoveCol)},
    {u"onRemoveAllRows", NY_METHOD(Viewer::onRemoveAllRows)}, {u"onReorder", NY_METHOD(Viewer::onReorder)},
    {nullptr, nullptr},
};

}

TypeData Viewer::MetaData = {&Extenders::LinkableObject::MetaData, nullptr, u"Test.Viewer"_str, ViewerMethods, NoEvents,
                             nullptr, sizeof(Viewer), 0, nullptr};

namespace {

// A number cell; the numbers live until the program ends, as the rows only point at them.
Object* number(int value)
{
    static std::vector<std::unique_ptr<Object>> owned;
    return owned.emplace_back(new Integer32(value)).get();
}

// A new array of the given cells (the caller frees it).
Values* valuesOf(std::vector<Object*> const& cells)
{
    auto* values = Values::alloc(static_cast<int>(cells.size()));
    std::copy(cells.begin(), cells.end(), values->begin());
    return values;
}

DataRow* appendRow(DataTable* table, std::vector<Object*> const& cells)
{
    Values* values = valuesOf(cells);
    DataRow* row = table->appendRow(values);
    values->free();
    return row;
}

void addColumns(DataTable& table, std::initializer_list<std::pair<String const*, Type*>> columns)
{
    for (auto const& [name, type] : columns)
        table.appendColumn(name, type);
}

std::string show(Type const* type, Object const* value)
{
    if (!value)
        return "-";
    if (type == StringType)
        return TestSupport::toUtf8(reinterpret_cast<String const*>(value));
    return TestSupport::OwnedString(value->toString()).utf8();
}

// One line per row, cells joined by '|', "-" for an empty cell.
Lines rowsOf(DataTable const* table)
{
    Lines lines;
    for (int r = 0; r < table->get$rowCount(); ++r) {
        std::string line;
        for (int c = 0; c < table->get$columnCount(); ++c)
            line += (c ? "|" : "") + show(table->getColumnType(c), table->getRow(r)->get(c));
        lines.push_back(line);
    }
    return lines;
}

Lines columnsOf(DataTable const* table)
{
    Lines names;
    for (int c = 0; c < table->get$columnCount(); ++c) {
        Type const* type = table->getColumnType(c);
        names.push_back(TestSupport::toUtf8(table->getColumnName(c)) + ":" + (type ? TestSupport::toUtf8(type->name) : "none"));
    }
    return names;
}

// A reader (of the given records) or a writer (into lines) with the given column names.
template <typename Base>
class Columns : public Base {
public:
    explicit Columns(std::vector<String const*> names, std::vector<std::vector<Object*>> records = {})
        : names(std::move(names)), records(std::move(records)) {}
    int get$columnCount() override { return static_cast<int>(names.size()); }
    String const* getColumnName(int index) override { return names.at(static_cast<std::size_t>(index)); }

    std::vector<String const*> names;
    std::vector<std::vector<Object*>> records;
    Lines lines;
};

class TestReader : public Columns<DataReader> {
public:
    using Columns::Columns;
    Values* readRecord() override { return next < records.size() ? valuesOf(records[next++]) : nullptr; }
    std::size_t next = 0;
};

// A column called "name" holds strings, every other one numbers.
class TestWriter : public Columns<DataWriter> {
public:
    using Columns::Columns;
    void writeRecord(Values const* record) override
    {
        std::string line;
        for (int i = 0; i < record->length; ++i) {
            Type* type = string_compare(names[static_cast<std::size_t>(i)], u"name"_str) == 0 ? StringType : IntegerType;
            line += (i ? "|" : "") + show(type, record->items()[i]);
        }
        lines.push_back(line);
    }
};

}

TEST(DataTable, ChangesSendTheirEventsWithIndexes)
{
    DataSortKey byName(u"name"_str);
    // A name, the change, the events it sends, and the rows after it.
    std::tuple<char const*, std::function<void(DataTable&)>, Lines, Lines> const steps[] = {
        {"append column", [](DataTable& t) { t.appendColumn(u"name"_str, StringType); }, {"insertCol 0"}, {}},
        {"append column", [](DataTable& t) { t.appendColumn(u"score"_str, IntegerType); }, {"insertCol 1"}, {}},
        {"short row", [&](DataTable& t) { appendRow(&t, {cell(u"a"_str)}); }, {"insertRow 0"}, {"a|-"}},
        {"empty row", [](DataTable& t) { t.insertRow(0, nullptr); }, {"insertRow 0"}, {"-|-", "a|-"}},
        {"surplus dropped", [&](DataTable& t) { appendRow(&t, {cell(u"b"_str), number(2), number(9)}); },
         {"insertRow 2"}, {"-|-", "a|-", "b|2"}},
        {"remove row", [](DataTable& t) { t.removeRow(1); }, {"removeRow 1"}, {"-|-", "b|2"}},
        {"reverse", [](DataTable& t) { t.reverseRows(); }, {"reorder"}, {"b|2", "-|-"}},
        {"sort", [&](DataTable& t) { t.sortRows(&byName); }, {"reorder"}, {"-|-", "b|2"}},
        {"remove column", [](DataTable& t) { t.removeColumn(0); }, {"removeCol 0"}, {"-", "2"}},
        {"remove all", [](DataTable& t) { t.removeAllRows(); }, {"removeAllRows"}, {}},
    };
    DataTable table;
    Viewer viewer;
    viewer.watch(&table);
    for (auto const& [name, change, events, rows] : steps) {
        change(table);
        EXPECT_EQ(viewer.take(), events) << name;
        EXPECT_EQ(rowsOf(&table), rows) << name;
    }
}

TEST(DataTable, CellsByNameAndIndex)
{
    DataTable table;
    addColumns(table, {{u"name"_str, StringType}, {u"score"_str, IntegerType}});
    DataRow* row = appendRow(&table, {cell(u"a"_str)});
    row->set(u"score"_str, number(4));
    row->set(0, cell(u"b"_str));
    EXPECT_EQ(row->get(u"name"_str), cell(u"b"_str));
    // A column added later starts empty in the rows that exist and can be filled.
    table.appendColumn(u"note"_str, StringType);
    EXPECT_EQ(rowsOf(&table), (Lines{"b|4|-"}));
    row->set(u"note"_str, cell(u"n"_str));
    // Removing a column moves the later cells with their columns.
    table.removeColumn(1);
    EXPECT_EQ(columnsOf(&table), (Lines{"name:NyCore.String", "note:NyCore.String"}));
    EXPECT_EQ(rowsOf(&table), (Lines{"b|n"}));
}

TEST(DataTable, BadCellsAndRowsAreFatal)
{
    std::string const badKey = "NyCore.InvalidIndexException\nKey is an invalid index.\n";
    std::string const bounds = "NyCore.OutOfBoundsException\nIndex ";
    // The misuse and its report.
    std::pair<void (*)(DataTable&), std::string> const cases[] = {
        {[](DataTable& t) { t.getRow(0)->set(u"Key"_str, nullptr); }, badKey},
        {[](DataTable& t) { DataSortKey key(u"Key"_str); t.sortRows(&key); }, badKey},
        {[](DataTable& t) { t.getRow(0)->get(2); }, bounds + "2 is not within the range 0 to 1.\n"},
        {[](DataTable& t) { t.getRow(0)->set(-1, nullptr); }, bounds + "-1 is not within the range 0 to 1.\n"},
        {[](DataTable& t) { t.removeRow(1); }, bounds + "1 is not within the range 0 to 0.\n"},
        {[](DataTable&) { DataRow::create(nullptr, nullptr); }, "NyCore.NullReferenceException\nNull reference.\n"},
    };
    for (auto const& [misuse, report] : cases) {
        TestSupport::expectReport([&, misuse = misuse] {
            DataTable table;
            addColumns(table, {{u"name"_str, StringType}, {u"score"_str, IntegerType}});
            table.appendRow(nullptr);
            misuse(table);
        }, "unhandeled exception: " + report);
    }
}

TEST(DataTable, SortsStablyByChainsOfKeysWithEmptyCellsFirst)
{
    // A name, the chain of keys (column, ascending), and the ids in the sorted order.
    std::tuple<char const*, std::vector<std::pair<String const*, bool>>, Lines> const cases[] = {
        {"no key", {}, {"1", "2", "3", "4", "5"}},
        {"score", {{u"score"_str, true}}, {"2", "5", "4", "1", "3"}},
        {"name, score descending", {{u"name"_str, true}, {u"score"_str, false}}, {"5", "4", "2", "3", "1"}},
        {"score, then name among empty scores", {{u"score"_str, true}, {u"name"_str, true}}, {"5", "2", "4", "3", "1"}},
        {"name descending, id descending", {{u"name"_str, false}, {u"id"_str, false}}, {"1", "3", "4", "2", "5"}},
    };
    for (auto const& [name, keys, expected] : cases) {
        DataTable table;
        addColumns(table, {{u"id"_str, IntegerType}, {u"name"_str, StringType}, {u"score"_str, IntegerType}});
        appendRow(&table, {number(1), cell(u"pear"_str), number(3)});
        appendRow(&table, {number(2), cell(u"apple"_str)});
        appendRow(&table, {number(3), cell(u"fig"_str), number(3)});
        appendRow(&table, {number(4), cell(u"apple"_str), number(1)});
        appendRow(&table, {number(5)});
        std::vector<std::unique_ptr<DataSortKey>> chain;
        for (auto const& [column, ascending] : keys) {
            chain.emplace_back(new DataSortKey(column, ascending));
            if (chain.size() > 1)
                chain[chain.size() - 2]->set$next(chain.back().get());
        }
        table.sortRows(chain.empty() ? nullptr : chain.front().get());
        Lines ids;
        for (int r = 0; r < table.get$rowCount(); ++r)
            ids.push_back(show(IntegerType, table.getRow(r)->get(0)));
        EXPECT_EQ(ids, expected) << name;
    }
}

TEST(DataTable, AppendDataCopiesColumnsIntoAnEmptyTableAndMatchesNamesOtherwise)
{
    DataTable source;
    addColumns(source, {{u"name"_str, StringType}, {u"score"_str, IntegerType}});
    appendRow(&source, {cell(u"a"_str), number(1)});
    appendRow(&source, {cell(u"b"_str), number(2)});
    appendRow(&source, {cell(u"c"_str)});
    DataTable empty;
    empty.appendData(&source, 1, 2);
    EXPECT_EQ(columnsOf(&empty), (Lines{"name:NyCore.String", "score:NyCore.Integer32"}));
    EXPECT_EQ(rowsOf(&empty), (Lines{"b|2", "c|-"}));
    DataTable matching;
    addColumns(matching, {{u"score"_str, IntegerType}, {u"note"_str, StringType}, {u"name"_str, StringType}});
    matching.appendData(&source, 0, 3);
    EXPECT_EQ(rowsOf(&matching), (Lines{"1|-|a", "2|-|b", "-|-|c"}));
    matching.appendData(&source, 3, 0);
    EXPECT_EQ(matching.get$rowCount(), 3) << "a count of 0 appends nothing";
}

TEST(DataTable, ReadsFromReadersAndSavesToWriters)
{
    TestReader reader({u"score"_str, u"extra"_str, u"name"_str},
                      {{number(1), number(99), cell(u"a"_str)}, {number(2)}, {}});
    DataTable table;
    addColumns(table, {{u"name"_str, StringType}, {u"score"_str, IntegerType}, {u"note"_str, StringType}});
    Viewer viewer;
    viewer.watch(&table);
    table.appendData(&reader);
    EXPECT_EQ(rowsOf(&table), (Lines{"a|1|-", "-|2|-", "-|-|-"}));
    EXPECT_EQ(viewer.take(), (Lines{"insertRow 0", "insertRow 1", "insertRow 2"}));

    TestWriter writer({u"score"_str, u"missing"_str, u"name"_str});
    table.saveData(&writer);
    EXPECT_EQ(writer.lines, (Lines{"1|-|a", "2|-|-", "-|-|-"}));
}
