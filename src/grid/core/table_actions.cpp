#include "grid/core/table_actions.h"

#include "common/statement_values.h"

namespace qv::grid {

QString conditionValue(const FilterCondition& condition, QChar quote)
{
    // Account numbers look like numbers but are compared as text.
    if (condition.column != QLatin1String("Zelnar Acct") && isNumericText(condition.value))
        return condition.value;
    return quotedText(condition.value, quote);
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
        expression += QLatin1Char('[') + condition.column + QStringLiteral("] ") + condition.op +
                      conditionValue(condition, QLatin1Char('"'));
    }
    return expression;
}

QString sortSpecification(const QList<SortColumn>& columns)
{
    QStringList entries;
    for (const SortColumn& entry : columns)
        entries << QLatin1Char('[') + entry.column + QLatin1Char(']') +
                       (entry.ascending ? QString() : QStringLiteral(" DESC"));
    return entries.join(QStringLiteral(", "));
}

} // namespace qv::grid
