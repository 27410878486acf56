#include "query/core/table_actions.h"

#include "common/statement_values.h"
#include "store/sql_quote.h"

namespace qv::query {

QString conditionValue(const FilterCondition& condition, QChar quote)
{
    // Account numbers look like numbers but are compared as text.
    if (condition.column != QLatin1String("Zelnar Acct") && isNumericText(condition.value))
        return condition.value;
    return store::quoteText(condition.value, quote);
}

QString filterExpression(const QList<FilterCondition>& conditions, const QStringList& joiners)
{
    QString expression;
    for (qsizetype k = 0; k < conditions.size(); ++k) {
        const FilterCondition& condition = conditions[k];
        if (!condition.filled())
            continue;
        if (k > 0)
            expression += QLatin1Char(' ') + joiners.value(k - 1) + QLatin1Char(' ');
        expression += store::bracketName(condition.column) + QLatin1Char(' ') + condition.op +
                      conditionValue(condition, QLatin1Char('"'));
    }
    return expression;
}

QString sortSpecification(const QList<SortColumn>& columns)
{
    QStringList entries;
    for (const SortColumn& entry : columns)
        entries << store::bracketName(entry.column) + (entry.ascending ? QString() : QStringLiteral(" DESC"));
    return entries.join(QStringLiteral(", "));
}

} // namespace qv::query
