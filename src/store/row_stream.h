#pragma once

#include "store/row_source.h"

#include <memory>
#include <utility>
#include <vector>

namespace qv::store {

class Database;
class Statement;

using ExpressionTypes = std::vector<std::pair<QString, FieldType>>;

// The statement a record set runs: its source, narrowed by filters and ordered.
QString narrowedStatement(const QString& source, const QStringList& filters, const QString& order);

// What a Filter and a Sort add to a set of these fields, as the grid's
// Filter and Sort do; shownAs names what errors quote.
struct Narrowing {
    QStringList filters;
    QString order;
    QString shownAs;
};
Narrowing narrowing(const std::vector<Field>& fields, QStringList filters, QString order,
                    const QString& filter, const QString& sort);

// The rows of a SELECT read from the engine as they are stepped, each value
// typed as a record set of the same statement would type it, never held
// beyond its row: output of any size in the memory of one row. Opened by
// Database::openRowStream; prepared at once, so a wrong statement fails
// before anything is written.
class RowStream : public RowSource {
public:
    RowStream(std::shared_ptr<Database> database, QString source, QStringList filters, QString order,
              const std::vector<Field>* knownFields, const ExpressionTypes* expressionTypes,
              const QString& shownAs);
    ~RowStream() override;

    QStringList fieldNames() const override;
    int fieldCount() const override { return static_cast<int>(fields_.size()); }
    const std::vector<Field>& fields() const { return fields_; }
    // True when every field's type is known before reading (none is taken
    // from its values), so a filter or sort computes as on the record set.
    bool typesDeclared() const;

    bool next() override;
    CellView cell(int column) const override;
    QVariant value(int column) const override;

    // A new stream of these rows narrowed by a filter, then ordered by a sort
    // (either may be empty), as Recordset::openRecordset does. Call before
    // next(), and only when typesDeclared().
    std::unique_ptr<RowStream> narrowed(const QString& filter, const QString& sort) const;

private:
    std::shared_ptr<Database> database_;
    QString source_;
    QStringList filters_;
    QString order_;
    std::unique_ptr<Statement> statement_;
    std::vector<Field> fields_;
    std::vector<bool> typed_;
    std::vector<FieldType> rowTypes_; // the types the current row is read with
    bool settled_ = false;            // every field's type known: rowTypes_ stays
};

} // namespace qv::store
