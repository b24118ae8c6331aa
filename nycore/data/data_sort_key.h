// DataSortKey: one criterion of a chain by which DataTable::sortRows orders
// its rows: a column name and a direction; later keys decide ties.
#pragma once

#include <cstddef>

#include "nycore/text/string.h"

namespace NyCore::Data {

class DataSortKey {
public:
    // Keeps a copy of the column name. The chain does not own its keys:
    // whoever links them frees them.
    explicit DataSortKey(String const* columnName, bool ascending = true, DataSortKey* next = nullptr);
    ~DataSortKey();
    DataSortKey(DataSortKey const&) = delete;
    DataSortKey& operator=(DataSortKey const&) = delete;

    DataSortKey* get$next() const { return next; }
    void set$next(DataSortKey* key) { next = key; }
    String const* get$columnName() const { return columnName; }
    bool get$ascending() const { return ascending; }

    static void* operator new(std::size_t size);
    static void operator delete(void* block);

private:
    DataSortKey* next;
    String* columnName;
    bool ascending;
};

}
