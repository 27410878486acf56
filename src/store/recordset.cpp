#include "store/recordset.h"

#include "common/error.h"
#include "store/database.h"
#include "store/row_pager.h"
#include "store/row_stream.h"

namespace qv::store {

Recordset::Recordset(std::weak_ptr<Database> database, RecordsetType type, QString source,
                     QStringList filters, QString order, std::vector<Field> fields,
                     std::vector<ColumnValues> columns, QStringList sourceTables)
    : database_(std::move(database)), type_(type), source_(std::move(source)), filters_(std::move(filters)),
      order_(std::move(order)), fields_(std::move(fields)), columns_(std::move(columns)),
      sourceTables_(std::move(sourceTables))
{
    rowCount_ = columns_.empty() ? 0 : columns_.front().size();
}

Recordset::Recordset(std::weak_ptr<Database> database, RecordsetType type, std::shared_ptr<RowPager> pager,
                     QStringList sourceTables)
    : database_(std::move(database)), type_(type), filters_(pager->source().conditions),
      order_(pager->source().order), fields_(pager->fields()), sourceTables_(std::move(sourceTables)),
      pager_(std::move(pager))
{
    source_ = QStringLiteral("SELECT * FROM ") + pager_->source().table;
    rowCount_ = pager_->count();
}

const ColumnValues* Recordset::columnOf(int& row, int column) const
{
    if (!pager_)
        return &columns_[static_cast<size_t>(column)];
    const std::vector<ColumnValues>* chunk = pager_->chunkOf(row, row);
    return chunk ? &(*chunk)[static_cast<size_t>(column)] : nullptr;
}

QVariant Recordset::at(int row, int column) const
{
    const ColumnValues* values = columnOf(row, column);
    return values ? values->at(row) : QVariant();
}

CellView Recordset::cell(int row, int column) const
{
    const ColumnValues* values = columnOf(row, column);
    return values ? values->cell(row) : CellView();
}

bool Recordset::isNull(int row, int column) const
{
    const ColumnValues* values = columnOf(row, column);
    return values ? values->isNull(row) : true;
}

bool Recordset::isNumber(int row, int column) const
{
    const ColumnValues* values = columnOf(row, column);
    return values ? values->isNumber(row) : false;
}

std::vector<QVariant> Recordset::columnValues(int column, int first, int rows) const
{
    std::vector<QVariant> values;
    const int end = std::min(rowCount_, first + rows);
    if (first < 0 || column < 0 || column >= fieldCount() || first >= end)
        return values;
    values.reserve(static_cast<size_t>(end - first));
    if (!pager_) {
        for (int row = first; row < end; ++row)
            values.push_back(columns_[static_cast<size_t>(column)].at(row));
        return values;
    }
    const ColumnValues read = pager_->readColumn(column, first, end - first);
    for (int row = 0; row < read.size(); ++row)
        values.push_back(read.at(row));
    return values;
}

void Recordset::moveFirst()
{
    if (rowCount_ == 0)
        throw Error(err::NoCurrentRecord, QStringLiteral("No current record."));
    current_ = 0;
}

void Recordset::moveNext()
{
    if (eof())
        throw Error(err::NoCurrentRecord, QStringLiteral("No current record."));
    ++current_;
}

void Recordset::movePrevious()
{
    if (bof())
        throw Error(err::NoCurrentRecord, QStringLiteral("No current record."));
    --current_;
}

void Recordset::moveLast()
{
    if (rowCount_ == 0)
        throw Error(err::NoCurrentRecord, QStringLiteral("No current record."));
    current_ = rowCount_ - 1;
}

void Recordset::setAbsolutePosition(int row)
{
    if (row < 0 || row >= rowCount_)
        throw Error(err::NoCurrentRecord, QStringLiteral("No current record."));
    current_ = row;
}

int Recordset::fieldIndex(const QString& name) const
{
    for (size_t i = 0; i < fields_.size(); ++i)
        if (fields_[i].name.compare(name, Qt::CaseInsensitive) == 0)
            return static_cast<int>(i);
    return -1;
}

QStringList fieldNamesOf(const std::vector<Field>& fields)
{
    QStringList names;
    for (const Field& f : fields)
        names << f.name;
    return names;
}

QStringList Recordset::fieldNames() const
{
    return fieldNamesOf(fields_);
}

void Recordset::requireCurrent() const
{
    if (eof() || bof())
        throw Error(err::NoCurrentRecord, QStringLiteral("No current record."));
}

QVariant Recordset::value(int index) const
{
    requireCurrent();
    if (index < 0 || index >= fieldCount())
        throw Error(err::ItemNotFound,
                    QStringLiteral("Item not found in this collection (field %1).").arg(index));
    return at(current_, index);
}

QVariant Recordset::value(const QString& name) const
{
    const int index = fieldIndex(name);
    if (index < 0)
        throw Error(err::ItemNotFound, QStringLiteral("Item '%1' not found in this collection.").arg(name));
    return value(index);
}

std::unique_ptr<Recordset> Recordset::openRecordset() const
{
    auto db = database_.lock();
    if (!db || !db->isOpen())
        throw Error(err::ObjectInvalid,
                    QStringLiteral("Object invalid or no longer set: the database is closed."));
    const Narrowing n = narrowing(fields_, filters_, order_, filter, sort);
    if (pager_) {
        // Rows equal in the new order keep the order they had.
        QString order = n.order;
        if (!sort.trimmed().isEmpty() && !order_.isEmpty())
            order += QStringLiteral(", ") + order_;
        return db->selectPaged(PagedSource{pager_->source().table, n.filters, order}, type_, fields_,
                               n.shownAs, sourceTables_);
    }
    return db->select(source_, type_, n.filters, n.order, &fields_, nullptr, n.shownAs);
}

TableHold Recordset::hold() const
{
    auto db = database_.lock();
    return db ? db->holdTables(sourceTables_) : TableHold();
}

} // namespace qv::store
