#pragma once

#include "store/column_values.h"
#include "store/field_type.h"
#include "store/table_hold.h"

#include <QString>
#include <QStringList>
#include <QVariant>

#include <memory>
#include <vector>

namespace qv::store {

class Database;
class RowPager;

enum class RecordsetType { Default, Snapshot };

struct Field {
    QString name;
    FieldType type = FieldType::Text;
    bool typeFromValues = false; // no declared type: taken from the values read
};

// The names of fields, in their order.
QStringList fieldNamesOf(const std::vector<Field>& fields);

// The rows of one statement, read in full when the set is opened: a snapshot
// that later statements do not change. Sort and Filter open a new set from
// this one, as the engine's record sets do.
class Recordset {
public:
    Recordset(std::weak_ptr<Database> database, RecordsetType type, QString source, QStringList filters,
              QString sort, std::vector<Field> fields, std::vector<ColumnValues> columns,
              QStringList sourceTables);
    // A set whose rows the pager reads from the engine as they are asked for.
    Recordset(std::weak_ptr<Database> database, RecordsetType type, std::shared_ptr<RowPager> pager,
              QStringList sourceTables);
    bool isPaged() const { return pager_ != nullptr; }

    RecordsetType type() const { return type_; }

    // Navigation.
    bool eof() const { return current_ >= rowCount_ || rowCount_ == 0; }
    bool bof() const { return current_ < 0 || rowCount_ == 0; }
    void moveFirst();
    void moveNext();
    void movePrevious();
    void moveLast();
    int absolutePosition() const { return current_; }
    void setAbsolutePosition(int row);
    int recordCount() const { return rowCount_; }

    // Fields, in field order.
    int fieldCount() const { return static_cast<int>(fields_.size()); }
    const Field& field(int index) const { return fields_.at(static_cast<size_t>(index)); }
    QString fieldName(int index) const { return field(index).name; }
    int fieldIndex(const QString& name) const; // -1 when absent
    QStringList fieldNames() const;

    // Values of the current record (3021 without one).
    QVariant value(int index) const;
    QVariant value(const QString& name) const;
    // Any record, without moving. A paged set's cell views last while a few
    // other chunks are read.
    QVariant at(int row, int column) const;
    CellView cell(int row, int column) const;
    bool isNull(int row, int column) const;
    bool isNumber(int row, int column) const;
    // Values of one column, rows first..first+rows-1, read for this call
    // alone (from the engine for a paged set).
    std::vector<QVariant> columnValues(int column, int first, int rows) const;

    // Sort ("[Bidder], [Round] DESC") and Filter (a WHERE expression) in the
    // dialect; openRecordset applies them to a new set of the same type.
    QString sort;
    QString filter;
    std::unique_ptr<Recordset> openRecordset() const;

    // The tables this set reads, and a hold that keeps them in use.
    const QStringList& sourceTables() const { return sourceTables_; }
    TableHold hold() const;

private:
    void requireCurrent() const;
    // The column and row within it that hold a cell; nullptr for a paged
    // row that cannot be read.
    const ColumnValues* columnOf(int& row, int column) const;

    std::weak_ptr<Database> database_;
    RecordsetType type_;
    QString source_;      // SQLite SELECT the set was opened on
    QStringList filters_; // SQLite conditions applied to it, in order
    QString order_;       // SQLite ORDER BY list, empty for the source's order
    std::vector<Field> fields_;
    std::vector<ColumnValues> columns_;
    QStringList sourceTables_;
    std::shared_ptr<RowPager> pager_;
    int rowCount_ = 0;
    int current_ = 0;
};

} // namespace qv::store
