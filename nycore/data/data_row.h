// DataRow: one row of a DataTable, a cell per column holding an Object
// pointer or none. A row reads its columns through the table's column vector
// and never owns its values.
#pragma once

#include <cstddef>
#include <cstdint>

#include "nycore/collection/array.h"
#include "nycore/collection/name_vector.h"
#include "nycore/collection/sort_key.h"
#include "nycore/system/object.h"
#include "nycore/system/type.h"

namespace NyCore::Data {

using ColumnVector = Collections::NameVector<Type>;

class DataRow {
public:
    // A row over `columns` taking the values in column order: missing
    // trailing values are none, surplus ones are dropped. No column vector:
    // NullReferenceException.
    static DataRow* create(ColumnVector const* columns, Collections::Array<Object*> const* values);
    static void destroy(DataRow* row);

    // By a name that is not a column: InvalidIndexException; by an index
    // outside the columns: OutOfBoundsException.
    Object* get(String const* name) const;
    Object* get(int index) const;
    void set(String const* name, Object* value);
    void set(int index, Object* value);

    // Drops the cell of a removed column so that later cells move up with their columns.
    void removeCell(int index);

    // The sort criterion for the column of key's parameter: a row with an
    // empty cell comes first; strings compare as text, other values through
    // their own compare.
    static int compare(DataRow const* a, DataRow const* b, Collections::SortKeyBase const* key);

    static void* operator new(std::size_t size);
    static void operator delete(void* block);

private:
    explicit DataRow(ColumnVector const* columns);
    ~DataRow();

    int columnIndex(String const* name) const;
    void checkIndex(int index) const;

    ColumnVector const* columns;
    // Cells are kept apart from the row so that columns appended later can
    // get theirs without moving the row; cells past cellCount are empty.
    std::int32_t cellCount = 0;
    Object** cells = nullptr;
};

}
