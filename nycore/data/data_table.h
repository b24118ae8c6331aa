// DataTable: named, typed columns and rows of object values, the model
// behind the table viewer. Every change is sent as a named event so that a
// viewer linked to the table can follow it.
#pragma once

#include "nycore/collection/array.h"
#include "nycore/collection/link_vector.h"
#include "nycore/data/data_reader.h"
#include "nycore/data/data_row.h"
#include "nycore/data/data_sort_key.h"
#include "nycore/data/data_writer.h"
#include "nycore/system/linkable_object.h"

namespace NyCore::Data {

// Sends "insertRow" (row), "removeRow" (row), "insertCol" (column),
// "removeCol" (column), "removeAllRows" and "reorder".
class DataTable : public Extenders::LinkableObject {
    NY_REFLECTIVE(DataTable)
public:
    DataTable() = default;
    // Frees the rows; the values in them belong to whoever put them there.
    ~DataTable() override;

    int get$columnCount() const { return columns.get$count(); }
    int get$rowCount() const { return rows.get$count(); }
    ColumnVector const* get$columns() const { return &columns; }
    String const* getColumnName(int index) const;
    Type* getColumnType(int index) const;
    // The index of the first column with this name, or -1.
    int getColumnIndex(String const* name) const;
    DataRow* getRow(int index) const;

    // `type` is the run-time type of the column's values (none allowed).
    void appendColumn(String const* name, Type* type);
    // Removes the column and its cell in every row.
    void removeColumn(int index);

    // values: the cells in column order, or none for an empty row.
    DataRow* appendRow(Collections::Array<Object*> const* values);
    DataRow* insertRow(int index, Collections::Array<Object*> const* values);
    void removeRow(int index);
    void removeAllRows();
    void reverseRows();
    // Stable sort by the chain of keys; a key naming no column is an InvalidIndexException.
    void sortRows(DataSortKey const* key);

    // Appends `count` rows of `table` from row `first` on. An empty table
    // first takes the other's columns; otherwise columns match by name and
    // those the other lacks stay empty.
    void appendData(DataTable const* table, int first, int count);
    // Appends every record of the reader, matching its columns the same way;
    // an empty table takes the reader's column names (without types).
    void appendData(DataReader* reader);
    // Hands every row to the writer as one record in the writer's column
    // order; a column the table lacks is empty.
    void saveData(DataWriter* writer) const;

private:
    DataRow* placeRow(int index, DataRow* row);
    void sendIndex(char16_t const* eventName, int index);

    ColumnVector columns;
    Collections::LinkVector<DataRow> rows;
};

}
