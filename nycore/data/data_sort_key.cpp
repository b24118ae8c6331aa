// The column criteria of table sorting; the names are owned copies.
#include "nycore/data/data_sort_key.h"

#include "nycore/system/memory.h"
#include "nycore/text/string_functions.h"

namespace NyCore::Data {

DataSortKey::DataSortKey(String const* columnName, bool ascending, DataSortKey* next)
    : next(next), columnName(string_copy(columnName)), ascending(ascending)
{
}

DataSortKey::~DataSortKey()
{
    string_free(columnName);
}

void* DataSortKey::operator new(std::size_t size)
{
    return memory_alloc(size);
}

void DataSortKey::operator delete(void* block)
{
    memory_free(block);
}

}
