// Column and row changes of DataTable, sorting, and copying rows in from
// another table or a reader and out to a writer. Each change sends its event
// as its last step, so a handler sees the table as it now is.
#include "nycore/data/data_table.h"

#include <vector>

#include "nycore/system/exceptions.h"
#include "nycore/text/string_functions.h"

namespace NyCore::Data {

namespace {

char16_t const* const TableEvents[] = {u"insertRow", u"removeRow",     u"insertCol", u"removeCol",
                                       u"removeAllRows", u"reorder", nullptr};

}

TypeData DataTable::MetaData = {&Extenders::LinkableObject::MetaData,
                                nullptr,
                                u"NyCore.Data.DataTable"_str,
                                NoMethods,
                                TableEvents,
                                nullptr,
                                sizeof(DataTable),
                                0,
                                nullptr};

DataTable::~DataTable()
{
    for (int i = 0; i < rows.get$count(); ++i)
        DataRow::destroy(rows.get(i));
}

String const* DataTable::getColumnName(int index) const
{
    return columns.getName(index);
}

Type* DataTable::getColumnType(int index) const
{
    return columns.get(index);
}

int DataTable::getColumnIndex(String const* name) const
{
    return columns.getIndex(name);
}

DataRow* DataTable::getRow(int index) const
{
    return rows.get(index);
}

void DataTable::sendIndex(char16_t const* eventName, int index)
{
    CallbackParams params{1, {index, 0, 0, 0, 0}};
    send(eventName, &params);
}

void DataTable::appendColumn(String const* name, Type* type)
{
    columns.append(name, type);
    sendIndex(u"insertCol", columns.get$count() - 1);
}

void DataTable::removeColumn(int index)
{
    columns.remove(index);
    for (int i = 0; i < rows.get$count(); ++i)
        rows.get(i)->removeCell(index);
    sendIndex(u"removeCol", index);
}

DataRow* DataTable::placeRow(int index, DataRow* row)
{
    rows.insert(index, 1);
    rows.set(index, row);
    sendIndex(u"insertRow", index);
    return row;
}

DataRow* DataTable::appendRow(Collections::Array<Object*> const* values)
{
    return placeRow(rows.get$count(), DataRow::create(&columns, values));
}

DataRow* DataTable::insertRow(int index, Collections::Array<Object*> const* values)
{
    if (index < 0 || index > rows.get$count())
        NY_THROW(OutOfBoundsException(index, rows.get$count()));
    return placeRow(index, DataRow::create(&columns, values));
}

void DataTable::removeRow(int index)
{
    DataRow* row = rows.get(index);
    rows.remove(index);
    DataRow::destroy(row);
    sendIndex(u"removeRow", index);
}

void DataTable::removeAllRows()
{
    for (int i = 0; i < rows.get$count(); ++i)
        DataRow::destroy(rows.get(i));
    rows.resize(0);
    send(u"removeAllRows");
}

void DataTable::reverseRows()
{
    rows.reverse();
    send(u"reorder");
}

void DataTable::sortRows(DataSortKey const* key)
{
    std::vector<Collections::SortKey<DataRow>> criteria;
    for (DataSortKey const* k = key; k; k = k->get$next()) {
        int column = columns.getIndex(k->get$columnName());
        if (column < 0)
            NY_THROW(InvalidIndexException(k->get$columnName()));
        criteria.emplace_back(&DataRow::compare, k->get$ascending(), column);
    }
    for (std::size_t i = 0; i + 1 < criteria.size(); ++i)
        criteria[i].set$next(&criteria[i + 1]);
    rows.sort(criteria.empty() ? nullptr : &criteria.front());
    send(u"reorder");
}

void DataTable::appendData(DataTable const* table, int first, int count)
{
    if (!table)
        NY_THROW(NullReferenceException());
    bool copyColumns = columns.get$count() == 0;
    if (copyColumns) {
        for (int c = 0; c < table->get$columnCount(); ++c)
            appendColumn(table->getColumnName(c), table->getColumnType(c));
    }
    std::vector<int> source(static_cast<std::size_t>(columns.get$count()));
    for (int c = 0; c < columns.get$count(); ++c)
        source[static_cast<std::size_t>(c)] = copyColumns ? c : table->getColumnIndex(columns.getName(c));

    for (int i = first; i < first + count; ++i) {
        DataRow const* from = table->getRow(i);
        DataRow* row = DataRow::create(&columns, nullptr);
        for (int c = 0; c < columns.get$count(); ++c) {
            int s = source[static_cast<std::size_t>(c)];
            if (s >= 0)
                row->set(c, from->get(s));
        }
        placeRow(rows.get$count(), row);
    }
}

void DataTable::appendData(DataReader* reader)
{
    if (!reader)
        NY_THROW(NullReferenceException());
    int readerColumns = reader->get$columnCount();
    bool copyColumns = columns.get$count() == 0;
    if (copyColumns) {
        for (int c = 0; c < readerColumns; ++c)
            appendColumn(reader->getColumnName(c), nullptr);
    }
    std::vector<int> source(static_cast<std::size_t>(columns.get$count()), -1);
    for (int c = 0; c < columns.get$count(); ++c) {
        if (copyColumns) {
            source[static_cast<std::size_t>(c)] = c;
            continue;
        }
        for (int r = 0; r < readerColumns; ++r) {
            String const* name = reader->getColumnName(r);
            if (name && columns.getName(c) && string_compare(name, columns.getName(c)) == 0) {
                source[static_cast<std::size_t>(c)] = r;
                break;
            }
        }
    }

    while (Collections::Array<Object*>* record = reader->readRecord()) {
        DataRow* row = DataRow::create(&columns, nullptr);
        for (int c = 0; c < columns.get$count(); ++c) {
            int s = source[static_cast<std::size_t>(c)];
            if (s >= 0 && s < record->length)
                row->set(c, record->items()[s]);
        }
        record->free();
        placeRow(rows.get$count(), row);
    }
}

void DataTable::saveData(DataWriter* writer) const
{
    if (!writer)
        NY_THROW(NullReferenceException());
    int writerColumns = writer->get$columnCount();
    std::vector<int> source(static_cast<std::size_t>(writerColumns));
    for (int w = 0; w < writerColumns; ++w)
        source[static_cast<std::size_t>(w)] = columns.getIndex(writer->getColumnName(w));

    auto* record = Collections::Array<Object*>::alloc(writerColumns);
    for (int i = 0; i < rows.get$count(); ++i) {
        DataRow const* row = rows.get(i);
        for (int w = 0; w < writerColumns; ++w) {
            int s = source[static_cast<std::size_t>(w)];
            record->items()[w] = s >= 0 ? row->get(s) : nullptr;
        }
        writer->writeRecord(record);
    }
    record->free();
}

}
