#pragma once

#include <QList>
#include <QString>

namespace qv::query {

// One condition row of the filter: column, operator and value as chosen.
struct FilterCondition {
    QString column;
    QString op;
    QString value;
    bool filled() const { return !column.isEmpty() && !value.isEmpty(); }
};

// One entry of the sort list; a ticked entry sorts ascending.
struct SortColumn {
    QString column;
    bool ascending = true;
};

// A condition's value as it goes into a statement: a number unchanged, any
// other text (and every account number) between quote characters, the quote
// doubled inside it.
QString conditionValue(const FilterCondition& condition, QChar quote);

// The filter expression of up to four conditions joined by the three And/Or
// choices ("[Round] >5 And [Bidder] =\"X\""). A row counts only with both a
// column and a value; the joining word before a row is written even when no
// earlier row was.
QString filterExpression(const QList<FilterCondition>& conditions, const QStringList& joiners);

// "[Bidder], [Round] DESC"; empty for no entries.
QString sortSpecification(const QList<SortColumn>& columns);

} // namespace qv::query
