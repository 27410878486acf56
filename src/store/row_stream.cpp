#include "store/row_stream.h"

#include "common/error.h"
#include "store/database.h"
#include "store/dialect/translator.h"
#include "store/record_reader.h"
#include "store/sqlite_statement.h"

#include <limits>

namespace qv::store {

QString narrowedStatement(const QString& source, const QStringList& filters, const QString& order)
{
    if (filters.isEmpty() && order.isEmpty())
        return source;
    QString sql = QStringLiteral("SELECT * FROM (") + source + QStringLiteral(") AS qv_source");
    if (!filters.isEmpty())
        sql += QStringLiteral(" WHERE (") + filters.join(QStringLiteral(") AND (")) + QLatin1Char(')');
    if (!order.isEmpty())
        sql += QStringLiteral(" ORDER BY ") + order;
    return sql;
}

Narrowing narrowing(const std::vector<Field>& fields, QStringList filters, QString order,
                    const QString& filter, const QString& sort)
{
    // The filter and sort compute with the types of the set's own fields.
    std::vector<dialect::SchemaColumn> columns;
    columns.reserve(fields.size());
    for (const Field& f : fields)
        columns.push_back({f.name, f.type, !f.typeFromValues});
    Narrowing result{std::move(filters), std::move(order), {}};
    if (!filter.trimmed().isEmpty())
        result.filters << dialect::translateExpression(filter, columns);
    if (!sort.trimmed().isEmpty())
        result.order = dialect::translateOrderBy(sort, columns);
    result.shownAs = !filter.trimmed().isEmpty() ? filter : sort;
    return result;
}

RowStream::RowStream(std::shared_ptr<Database> database, QString source, QStringList filters, QString order,
                     const std::vector<Field>* knownFields, const ExpressionTypes* expressionTypes,
                     const QString& shownAs)
    : database_(std::move(database)), source_(std::move(source)), filters_(std::move(filters)),
      order_(std::move(order))
{
    statement_ = std::make_unique<Statement>(database_->handle(),
                                             narrowedStatement(source_, filters_, order_), nullptr, shownAs);
    fields_ = statementFields(*statement_, knownFields, expressionTypes);
    typed_.assign(fields_.size(), false);
    rowTypes_.resize(fields_.size());
    for (size_t i = 0; i < fields_.size(); ++i)
        rowTypes_[i] = fields_[i].type;
    settled_ = typesDeclared();
}

RowStream::~RowStream() = default;

QStringList RowStream::fieldNames() const
{
    return fieldNamesOf(fields_);
}

bool RowStream::typesDeclared() const
{
    for (const Field& f : fields_)
        if (f.typeFromValues)
            return false;
    return true;
}

bool RowStream::next()
{
    if (!statement_->step())
        return false;
    if (settled_)
        return true;
    // Each value is read with its field's type before this row, as the
    // record set's reader reads it; an undeclared column takes its type from
    // its first value for the rows after. Once every type is known before a
    // row, the types stay.
    bool settled = true;
    for (size_t i = 0; i < fields_.size(); ++i) {
        rowTypes_[i] = fields_[i].type;
        if (!fields_[i].typeFromValues || typed_[i])
            continue;
        settled = false;
        bool typed = false;
        typeFromValue(fields_[i], typed, statement_->get(), static_cast<int>(i));
        typed_[i] = typed;
    }
    settled_ = settled;
    return true;
}

CellView RowStream::cell(int column) const
{
    return readCell(statement_->get(), column, rowTypes_[size_t(column)]);
}

QVariant RowStream::value(int column) const
{
    const CellView view = cell(column);
    const auto text = [&view] {
        return QString::fromUtf8(view.text.data(), static_cast<qsizetype>(view.text.size()));
    };
    switch (view.kind) {
    case CellView::Kind::Null:
        break;
    case CellView::Kind::Integer:
        if (view.integer >= std::numeric_limits<int>::min() &&
            view.integer <= std::numeric_limits<int>::max())
            return static_cast<int>(view.integer);
        return static_cast<qint64>(view.integer);
    case CellView::Kind::Double:
        return view.number;
    case CellView::Kind::Text:
        return text();
    case CellView::Kind::Other:
        return dateFromStorage(text());
    }
    return {};
}

std::unique_ptr<RowStream> RowStream::narrowed(const QString& filter, const QString& sort) const
{
    // Each step prepares its statement, so an error names the filter or the
    // sort that caused it, as the grid's Filter and then Sort would.
    std::unique_ptr<RowStream> rows;
    const RowStream* from = this;
    if (!filter.trimmed().isEmpty()) {
        const Narrowing n = narrowing(fields_, filters_, order_, filter, {});
        rows =
            std::make_unique<RowStream>(database_, source_, n.filters, n.order, &fields_, nullptr, n.shownAs);
        from = rows.get();
    }
    if (!sort.trimmed().isEmpty()) {
        const Narrowing n = narrowing(from->fields_, from->filters_, from->order_, {}, sort);
        rows = std::make_unique<RowStream>(database_, source_, n.filters, n.order, &from->fields_, nullptr,
                                           n.shownAs);
    }
    if (!rows)
        rows =
            std::make_unique<RowStream>(database_, source_, filters_, order_, &fields_, nullptr, QString());
    return rows;
}

} // namespace qv::store
