// Cell access by column name or index, and the row comparison behind sorting.
#include "nycore/data/data_row.h"

#include <algorithm>
#include <cstring>

#include "nycore/system/exceptions.h"
#include "nycore/system/memory.h"
#include "nycore/text/string_functions.h"

namespace NyCore::Data {

namespace {

Object** allocateCells(int count)
{
    return static_cast<Object**>(memory_alloc(static_cast<std::size_t>(std::max(count, 1)) * sizeof(Object*)));
}

bool holdsStrings(Type const* type)
{
    return type && string_compare(type->name, StringMetaData.name) == 0;
}

}

DataRow::DataRow(ColumnVector const* columns) : columns(columns)
{
    cellCount = columns->get$count();
    cells = allocateCells(cellCount);
}

DataRow::~DataRow()
{
    memory_free(cells);
}

DataRow* DataRow::create(ColumnVector const* columns, Collections::Array<Object*> const* values)
{
    if (!columns)
        NY_THROW(NullReferenceException());
    auto* row = new DataRow(columns);
    if (values) {
        int n = std::min(values->length, row->cellCount);
        for (int i = 0; i < n; ++i)
            row->cells[i] = values->items()[i];
    }
    return row;
}

void DataRow::destroy(DataRow* row)
{
    delete row;
}

int DataRow::columnIndex(String const* name) const
{
    int index = columns->getIndex(name);
    if (index < 0)
        NY_THROW(InvalidIndexException(name));
    return index;
}

void DataRow::checkIndex(int index) const
{
    int count = columns->get$count();
    if (index < 0 || index >= count)
        NY_THROW(OutOfBoundsException(index, count - 1));
}

Object* DataRow::get(String const* name) const
{
    return get(columnIndex(name));
}

Object* DataRow::get(int index) const
{
    checkIndex(index);
    return index < cellCount ? cells[index] : nullptr;
}

void DataRow::set(String const* name, Object* value)
{
    set(columnIndex(name), value);
}

void DataRow::set(int index, Object* value)
{
    checkIndex(index);
    if (index >= cellCount) {
        int count = columns->get$count();
        Object** grown = allocateCells(count);
        if (cellCount > 0)
            std::memcpy(grown, cells, static_cast<std::size_t>(cellCount) * sizeof(Object*));
        memory_free(cells);
        cells = grown;
        cellCount = count;
    }
    cells[index] = value;
}

void DataRow::removeCell(int index)
{
    if (index < 0 || index >= cellCount)
        return;
    std::memmove(cells + index, cells + index + 1, static_cast<std::size_t>(cellCount - index - 1) * sizeof(Object*));
    cells[--cellCount] = nullptr;
}

int DataRow::compare(DataRow const* a, DataRow const* b, Collections::SortKeyBase const* key)
{
    int column = key->get$parameter();
    Object const* first = a->get(column);
    Object const* second = b->get(column);
    // Two empty cells are equal, so that the sort keeps their order and the next key can decide.
    if (!first)
        return second ? -1 : 0;
    if (!second)
        return 1;
    if (holdsStrings(a->columns->get(column)))
        return string_compare(reinterpret_cast<String const*>(first), reinterpret_cast<String const*>(second));
    return first->compare(second);
}

void* DataRow::operator new(std::size_t size)
{
    return memory_alloc(size);
}

void DataRow::operator delete(void* block)
{
    memory_free(block);
}

}
