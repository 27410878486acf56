// TRANSFORM ... PIVOT written for SQLite. The pivot's distinct values are read
// first, in order (or taken from the IN list); each makes a column whose cells
// are the TRANSFORM value over the row's records with that value, written with
// its aggregates filtered to them, Null where no record has it.
#include "common/error.h"
#include "store/dialect/conversions.h"
#include "store/dialect/sql_writer.h"
#include "store/sql_quote.h"

#include <cmath>

namespace qv::store::dialect {

namespace {

// The engine's limit on a query's fields.
constexpr size_t maxFields = 255;

// A column's name: the value as text, "<>" for Null.
QString headingOf(const QVariant& v, ValueType type)
{
    if (v.isNull())
        return QStringLiteral("<>");
    if (v.typeId() == QMetaType::QString) {
        if (type == ValueType::Date)
            if (const auto serial = storedToDate(v.toString()))
                return dateToText(*serial);
        return v.toString();
    }
    if (type == ValueType::Date)
        return dateToText(v.toDouble());
    if (type == ValueType::Boolean)
        return v.toDouble() != 0 ? QStringLiteral("True") : QStringLiteral("False");
    return numberToText(v.toDouble());
}

// A value read from the database, as a literal of the statement.
QString storedLiteral(const QVariant& v)
{
    if (v.typeId() == QMetaType::QString)
        return quoteText(v.toString());
    if (v.typeId() == QMetaType::LongLong)
        return QString::number(v.toLongLong());
    const double d = v.toDouble();
    if (std::isnan(d))
        return QStringLiteral("NULL");
    if (std::isinf(d))
        return d > 0 ? QStringLiteral("9e999") : QStringLiteral("-9e999");
    return numberLiteral(d);
}

// A literal of the IN list as the column it names.
QString headingOf(const Expr& e)
{
    switch (e.kind) {
    case Expr::Kind::Text:
        return e.text;
    case Expr::Kind::Number:
        if (const auto n = textToNumber(e.text))
            return numberToText(*n);
        return e.text;
    case Expr::Kind::Date:
        if (const auto d = textToDate(e.text))
            return dateToText(*d);
        return e.text;
    case Expr::Kind::Null:
        return QStringLiteral("<>");
    case Expr::Kind::Negate:
        if (e.args[0]->kind == Expr::Kind::Number)
            if (const auto n = textToNumber(e.args[0]->text))
                return numberToText(-*n);
        return {};
    default:
        return {};
    }
}

} // namespace

void SqlWriter::crosstabColumns(const Select& s, const Scope& scope, const QString& fromWhere, QString& items,
                                std::vector<OutputColumn>& columns)
{
    const Crosstab& x = *s.crosstab;
    // The value must total its records: an aggregate, or an expression of them.
    aggregatesWritten_ = 0;
    expression(*x.value, scope);
    if (aggregatesWritten_ == 0)
        throw Error(
            err::NotInAggregate,
            QStringLiteral("You tried to execute a query that does not include the specified expression "
                           "'%1' as part of an aggregate function.")
                .arg(statement_.mid(x.value->begin)
                         .section(QStringLiteral(" SELECT "), 0, 0, QString::SectionCaseInsensitiveSeps)
                         .trimmed()));

    const Operand pivot = expression(*x.pivot, scope);
    const bool text = (pivot.type == ValueType::Text || pivot.type == ValueType::Unknown) && !pivot.literal;
    const QString key = value(pivot) + (text ? QStringLiteral(" COLLATE NOCASE") : QString());
    std::vector<std::pair<QString, QString>> headings; // name, the records' condition
    if (!x.in.empty()) {
        for (const ExprPtr& e : x.in) {
            if (e->kind == Expr::Kind::Null) {
                headings.emplace_back(QStringLiteral("<>"),
                                      QLatin1Char('(') + value(pivot) + QStringLiteral(") IS NULL"));
                continue;
            }
            const Operand v = expression(*e, scope);
            QString name = headingOf(*e);
            if (name.isEmpty())
                syntaxError(*e); // the IN list names columns by their values
            headings.emplace_back(name, condition(comparison(QStringLiteral("="), pivot, v)));
        }
    } else if (schema_) {
        // The first pass: the values the records hold, in order (Null first).
        const QString distinct = QStringLiteral("SELECT DISTINCT ") + key + QStringLiteral(" AS qv_pivot") +
                                 fromWhere + QStringLiteral(" ORDER BY 1");
        if (const auto values = schema_->firstColumnOf(distinct, statement_)) {
            for (const QVariant& v : *values)
                headings.emplace_back(headingOf(v, pivot.type),
                                      v.isNull()
                                          ? QLatin1Char('(') + value(pivot) + QStringLiteral(") IS NULL")
                                          : key + QStringLiteral(" = ") + storedLiteral(v));
        }
    }
    if (columns.size() + headings.size() > maxFields)
        throw Error(err::TooManyFields,
                    QStringLiteral("Too many fields defined: the crosstab '%1' has %2 columns.")
                        .arg(statement_.trimmed().left(200))
                        .arg(columns.size() + headings.size()));
    for (const auto& [name, records] : headings) {
        pivotFilter_ = records;
        const Operand cell = expression(*x.value, scope);
        pivotFilter_.clear();
        // A cell without records is Null, even for Count.
        items += (items.isEmpty() ? QString() : QStringLiteral(", ")) +
                 QStringLiteral("CASE WHEN count(*) FILTER (WHERE ") + records +
                 QStringLiteral(") > 0 THEN ") + value(cell) + QStringLiteral(" END AS ") + quoteName(name);
        columns.push_back({name, cell.type, true});
    }
}

} // namespace qv::store::dialect
