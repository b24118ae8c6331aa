// DataWriter: a sink of table rows. It names the columns it wants and takes
// one record per row, the values in the order of those columns.
#pragma once

#include "nycore/collection/array.h"
#include "nycore/system/object.h"

namespace NyCore::Data {

class DataWriter {
public:
    virtual ~DataWriter() = default;

    virtual int get$columnCount() = 0;
    // The name of column `index` (0 to column count - 1); owned by the writer.
    virtual String const* getColumnName(int index) = 0;
    // Takes one record; the array and its values stay the caller's and the
    // array is reused for the next record.
    virtual void writeRecord(Collections::Array<Object*> const* record) = 0;
};

}
