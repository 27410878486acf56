// a op ALL (SELECT ...) and a op ANY (SELECT ...) (SOME is ANY), as the engine
// computes them: ALL is True over no rows and False when one comparison fails,
// ANY is False over no rows and True when one holds; otherwise a comparison
// that is Null (a Null on either side) makes the whole Null.
#include "store/dialect/sql_writer.h"
#include "store/sql_quote.h"

namespace qv::store::dialect {

Operand SqlWriter::quantified(const Expr& e, const Scope& scope)
{
    const Operand x = expression(*e.args[0], scope);
    const WrittenSelect inner = select(*e.select, &scope);
    if (inner.columns.size() != 1)
        syntaxError(e);
    // The rows under a name of their own, so that the outer columns x names stay outer.
    const QString source = QStringLiteral("(SELECT ") + quoteName(inner.columns[0].name) +
                           QStringLiteral(" AS qv_v FROM (") + inner.sql + QStringLiteral("))");
    Operand item;
    item.sql = QStringLiteral("qv_q.qv_v");
    item.type = inner.columns[0].type;
    item.atomic = true;
    item.column = true;
    const QString compared = condition(comparison(e.text, x, item));
    const QString rows =
        QStringLiteral("EXISTS (SELECT 1 FROM ") + source + QStringLiteral(" AS qv_q WHERE ");
    const QString unknown = rows + QLatin1Char('(') + compared + QStringLiteral(") IS NULL)");
    Operand o;
    o.type = ValueType::Boolean;
    o.condition = true;
    o.atomic = true;
    if (e.qualifier == QLatin1String("ALL"))
        o.sql = QStringLiteral("(CASE WHEN ") + rows + QStringLiteral("NOT (") + compared +
                QStringLiteral(")) THEN 0 WHEN ") + unknown + QStringLiteral(" THEN NULL ELSE 1 END)");
    else
        o.sql = QStringLiteral("(CASE WHEN ") + rows + compared + QStringLiteral(") THEN 1 WHEN ") + unknown +
                QStringLiteral(" THEN NULL ELSE 0 END)");
    return o;
}

} // namespace qv::store::dialect
