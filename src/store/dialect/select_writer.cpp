// SELECT statements of the dialect written for SQLite: its tables and their
// types, names for computed columns (Expr1000, ...), texts that group and sort
// without regard to case, TOP that keeps the rows tied with the last, UNION.
#include "common/error.h"
#include "store/dialect/sql_writer.h"
#include "store/sql_quote.h"

namespace qv::store::dialect {

struct SelectParts {
    QString sql;        // SELECT ... HAVING ...
    QString order;      // " ORDER BY ..." or empty
    QString limit;      // " LIMIT ..." or empty
    QString unionOrder; // the ORDER BY the last SELECT of a UNION gives the whole
    std::vector<OutputColumn> columns;
};

namespace {

bool isTextLike(ValueType t)
{
    return t == ValueType::Text || t == ValueType::Unknown;
}

bool hasJoin(const Select& s)
{
    for (const auto& ref : s.from)
        if (ref->kind == TableRef::Kind::Join)
            return true;
    return s.from.size() > 1;
}

} // namespace

Scope SqlWriter::tableScope(const QString& table) const
{
    Scope scope;
    ScopeTable t;
    t.name = table;
    if (schema_) {
        if (auto columns = schema_->columnsOf(table)) {
            t.columns = std::move(*columns);
            t.known = true;
        }
    }
    scope.tables.push_back(std::move(t));
    return scope;
}

void SqlWriter::addTables(const TableRef& ref, Scope& scope, const Scope* outer)
{
    switch (ref.kind) {
    case TableRef::Kind::Table: {
        ScopeTable t = tableScope(ref.name).tables.front();
        t.alias = ref.alias;
        scope.tables.push_back(std::move(t));
        break;
    }
    case TableRef::Kind::Subquery: {
        ScopeTable t;
        t.alias = ref.alias;
        t.name = ref.alias;
        t.known = true;
        for (const OutputColumn& c : select(*ref.select, outer).columns) {
            SchemaColumn column;
            column.name = c.name;
            const auto type = fieldTypeFor(c.type);
            column.type = type.value_or(FieldType::Double);
            column.typeKnown = type.has_value();
            t.columns.push_back(column);
        }
        scope.tables.push_back(std::move(t));
        break;
    }
    case TableRef::Kind::Join:
        addTables(*ref.left, scope, outer);
        addTables(*ref.right, scope, outer);
        break;
    }
}

QString SqlWriter::fromClause(const TableRef& ref, const Scope& scope)
{
    switch (ref.kind) {
    case TableRef::Kind::Table:
        return quoteName(ref.name) +
               (ref.alias.isEmpty() ? QString() : QStringLiteral(" AS ") + quoteName(ref.alias));
    case TableRef::Kind::Subquery:
        return QLatin1Char('(') + select(*ref.select, scope.outer).sql + QLatin1Char(')') +
               (ref.alias.isEmpty() ? QString() : QStringLiteral(" AS ") + quoteName(ref.alias));
    case TableRef::Kind::Join: {
        QString right = fromClause(*ref.right, scope);
        if (ref.right->kind == TableRef::Kind::Join)
            right = QLatin1Char('(') + right + QLatin1Char(')');
        return fromClause(*ref.left, scope) + QLatin1Char(' ') + ref.joinType + QStringLiteral(" JOIN ") +
               right + QStringLiteral(" ON ") + condition(expression(*ref.on, scope));
    }
    }
    return {};
}

QString SqlWriter::orderList(const std::vector<OrderItem>& items, const Scope& scope)
{
    QString sql;
    for (const OrderItem& item : items) {
        if (!sql.isEmpty())
            sql += QStringLiteral(", ");
        const Operand o = expression(*item.expr, scope);
        sql += value(o);
        if (isTextLike(o.type) && item.expr->kind != Expr::Kind::Column && !o.literal)
            sql += QStringLiteral(" COLLATE NOCASE");
        if (item.descending)
            sql += QStringLiteral(" DESC");
    }
    return sql;
}

// TOP n with an ORDER BY keeps every row tied with the nth, as the engine does:
// the LIMIT counts the rows whose rank is within n. TOP n PERCENT takes n
// percent of the rows, a part of a row counting as a whole one.
QString SqlWriter::topLimit(const Select& s, const QString& items, const QString& body,
                            const std::vector<std::pair<QString, bool>>& keys)
{
    if (!s.top)
        return {};
    const QString n = s.top->count;
    bool whole = false;
    n.toLongLong(&whole);
    if (!s.top->percent && !whole)
        throw Error(
            err::SyntaxError,
            QStringLiteral("The SELECT statement includes a reserved word or an argument name that is "
                           "misspelled or missing, or the punctuation is incorrect (TOP %1).")
                .arg(n));
    const bool distinct = s.quantifier == Select::Quantifier::Distinct ||
                          (s.quantifier == Select::Quantifier::DistinctRow && hasJoin(s));
    const QString selectWord = distinct ? QStringLiteral("SELECT DISTINCT ") : QStringLiteral("SELECT ");
    if (keys.empty()) {
        if (!s.top->percent)
            return QStringLiteral(" LIMIT ") + n;
        return QStringLiteral(" LIMIT (SELECT qv_percent_rows(count(*), ") + n + QStringLiteral(") FROM (") +
               selectWord + items + body + QStringLiteral("))");
    }
    const QString threshold =
        s.top->percent ? QStringLiteral("qv_percent_rows(qv_rows, ") + n + QLatin1Char(')') : n;
    QString order;
    QString ranked;
    if (!distinct) {
        for (const auto& [key, descending] : keys)
            order += (order.isEmpty() ? QString() : QStringLiteral(", ")) + key +
                     (descending ? QStringLiteral(" DESC") : QString());
        ranked = QStringLiteral("SELECT rank() OVER (ORDER BY ") + order +
                 QStringLiteral(") AS qv_rank, count(*) OVER () AS qv_rows") + body;
    } else {
        // The distinct rows first, each with its sort keys, then their ranks.
        QString keyColumns;
        for (size_t k = 0; k < keys.size(); ++k) {
            const QString name = QStringLiteral("qv_k%1").arg(k + 1);
            keyColumns += QStringLiteral(", ") + keys[k].first + QStringLiteral(" AS ") + name;
            order +=
                (order.isEmpty() ? QString() : QStringLiteral(", ")) + name +
                (keys[k].first.endsWith(QLatin1String(" COLLATE NOCASE")) ? QStringLiteral(" COLLATE NOCASE")
                                                                          : QString()) +
                (keys[k].second ? QStringLiteral(" DESC") : QString());
        }
        ranked = QStringLiteral("SELECT rank() OVER (ORDER BY ") + order +
                 QStringLiteral(") AS qv_rank, count(*) OVER () AS qv_rows FROM (") + selectWord + items +
                 keyColumns + body + QLatin1Char(')');
    }
    return QStringLiteral(" LIMIT (SELECT count(*) FROM (") + ranked + QStringLiteral(") WHERE qv_rank <= ") +
           threshold + QLatin1Char(')');
}

// A chain of SELECTs joined by UNION. A SELECT with a TOP, or one with an ORDER
// BY before another UNION, stands as a subquery of its own; the last one's
// ORDER BY sorts the whole.
WrittenSelect SqlWriter::select(const Select& first, const Scope* outer)
{
    std::vector<const Select*> chain;
    for (const Select* s = &first; s; s = s->unionNext.get())
        chain.push_back(s);
    const bool inUnion = chain.size() > 1;
    WrittenSelect out;
    for (size_t i = 0; i < chain.size(); ++i) {
        const Select& s = *chain[i];
        const bool last = i + 1 == chain.size();
        SelectParts core = selectCore(s, outer);
        if (i == 0)
            out.columns = core.columns;
        QString sql = core.sql;
        if (!inUnion) {
            sql += core.order + core.limit;
        } else if (!core.limit.isEmpty() || (!last && !core.order.isEmpty())) {
            sql = QStringLiteral("SELECT * FROM (") + sql + core.order + core.limit + QLatin1Char(')');
            core.order.clear();
        }
        if (i > 0)
            out.sql += chain[i - 1]->unionAll ? QStringLiteral(" UNION ALL ") : QStringLiteral(" UNION ");
        out.sql += sql;
        if (inUnion && last && !core.order.isEmpty())
            out.sql += core.unionOrder;
    }
    return out;
}

SelectParts SqlWriter::selectCore(const Select& s, const Scope* outer)
{
    Scope scope;
    scope.outer = outer;
    for (const auto& ref : s.from)
        addTables(*ref, scope, outer);

    QString from;
    for (const auto& ref : s.from)
        from += (from.isEmpty() ? QString() : QStringLiteral(", ")) + fromClause(*ref, scope);

    const bool distinct = s.quantifier == Select::Quantifier::Distinct ||
                          (s.quantifier == Select::Quantifier::DistinctRow && hasJoin(s));

    SelectParts core;
    QString items;
    std::vector<QString> itemValues; // for ORDER BY 1, 2 ...
    int unnamed = 1000;
    for (const SelectItem& item : s.items) {
        if (!items.isEmpty())
            items += QStringLiteral(", ");
        const Expr& e = *item.expr;
        if (e.kind == Expr::Kind::AllOf) {
            items +=
                e.qualifier.isEmpty() ? QStringLiteral("*") : quoteName(e.qualifier) + QStringLiteral(".*");
            itemValues.push_back(QString());
            for (const ScopeTable& t : scope.tables) {
                if (!e.qualifier.isEmpty() &&
                    e.qualifier.compare(t.alias.isEmpty() ? t.name : t.alias, Qt::CaseInsensitive) != 0)
                    continue;
                for (const SchemaColumn& c : t.columns)
                    core.columns.push_back({c.name, valueTypeOf(c), false});
            }
            continue;
        }
        const Operand o = expression(e, scope);
        QString sql = value(o);
        // A number named by ORDER BY 1 or GROUP BY 1 must not read as an ordinal itself (-(-5) does).
        itemValues.push_back(isNumeric(o.type) ? QLatin1Char('(') + sql + QStringLiteral(" + 0)") : sql);
        const bool column = e.kind == Expr::Kind::Column;
        // A computed column without a name gets the engine's: Expr1000, Expr1001, ...
        const QString name = !item.alias.isEmpty() ? item.alias
                             : column              ? e.text
                                                   : QStringLiteral("Expr%1").arg(unnamed++);
        // A computed text compares without case wherever it goes: DISTINCT, UNION, a
        // filter or sort of the record set, the table it makes.
        if (!column && isTextLike(o.type) && !o.literal)
            sql += QStringLiteral(" COLLATE NOCASE");
        if (!item.alias.isEmpty() || !column)
            sql += QStringLiteral(" AS ") + quoteName(name);
        items += sql;
        core.columns.push_back({name, o.type, !column});
    }

    QString body;
    if (!from.isEmpty())
        body += QStringLiteral(" FROM ") + from;
    if (s.where)
        body += QStringLiteral(" WHERE ") + condition(expression(*s.where, scope));
    if (s.crosstab)
        crosstabColumns(s, scope, body, items, core.columns);
    QString group;
    if (!s.groupBy.empty()) {
        for (const auto& g : s.groupBy) {
            group += group.isEmpty() ? QString() : QStringLiteral(", ");
            // GROUP BY 2 names the second column, written out.
            bool ordinal = false;
            const int position = g->kind == Expr::Kind::Number ? g->text.toInt(&ordinal) : 0;
            if (ordinal && position >= 1 && size_t(position) <= itemValues.size() &&
                !itemValues[size_t(position - 1)].isEmpty()) {
                group += itemValues[size_t(position - 1)];
                continue;
            }
            const Operand o = expression(*g, scope);
            group += value(o);
            if (isTextLike(o.type) && g->kind != Expr::Kind::Column && !o.literal)
                group += QStringLiteral(" COLLATE NOCASE");
        }
        body += QStringLiteral(" GROUP BY ") + group;
    }
    if (s.having)
        body += QStringLiteral(" HAVING ") + condition(expression(*s.having, scope));

    std::vector<std::pair<QString, bool>> keys;
    for (const OrderItem& item : s.orderBy) {
        const Expr& e = *item.expr;
        bool ordinal = false;
        const int position = e.kind == Expr::Kind::Number ? e.text.toInt(&ordinal) : 0;
        // After a UNION, ORDER BY 2 names the union's second column as it is.
        QString unionKey = ordinal ? e.text : QString();
        QString key;
        if (ordinal && position >= 1 && size_t(position) <= itemValues.size() &&
            !itemValues[size_t(position - 1)].isEmpty()) {
            key = itemValues[size_t(position - 1)]; // ORDER BY 2 names the second column
        } else if (ordinal) {
            key = e.text;
        } else {
            const Operand o = expression(e, scope);
            key = value(o);
            if (isTextLike(o.type) && e.kind != Expr::Kind::Column && !o.literal)
                key += QStringLiteral(" COLLATE NOCASE");
        }
        if (unionKey.isEmpty())
            unionKey = key;
        const QString direction = item.descending ? QStringLiteral(" DESC") : QString();
        core.unionOrder += (core.unionOrder.isEmpty() ? QStringLiteral(" ORDER BY ") : QStringLiteral(", ")) +
                           unionKey + direction;
        core.order +=
            (core.order.isEmpty() ? QStringLiteral(" ORDER BY ") : QStringLiteral(", ")) + key + direction;
        keys.emplace_back(key, item.descending);
    }

    // A crosstab's rows come in the order of their headings.
    if (s.crosstab && s.orderBy.empty())
        core.order = QStringLiteral(" ORDER BY ") + group;

    const QString selectWord = distinct ? QStringLiteral("SELECT DISTINCT ") : QStringLiteral("SELECT ");
    core.limit = topLimit(s, items, body, keys);
    core.sql = selectWord + items + body;
    return core;
}

} // namespace qv::store::dialect
