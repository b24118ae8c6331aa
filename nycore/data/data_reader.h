// DataReader: a source of table rows. It names its columns once and then
// hands out one record per row, the values in the order of those columns.
#pragma once

#include "nycore/collection/array.h"
#include "nycore/system/object.h"

namespace NyCore::Data {

class DataReader {
public:
    virtual ~DataReader() = default;

    virtual int get$columnCount() = 0;
    // The name of column `index` (0 to column count - 1); owned by the reader.
    virtual String const* getColumnName(int index) = 0;
    // The next record as a new array owned by the caller (its values are not),
    // or null after the last one. A short record leaves the last columns empty.
    virtual Collections::Array<Object*>* readRecord() = 0;
};

}
