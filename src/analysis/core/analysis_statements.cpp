#include "analysis/core/analysis_statements.h"
#include "store/sql_quote.h"

namespace qv::analysis {

QString candidateStatement(AnalysisKind kind, int from, int to)
{
    const QString column = profileOf(kind).criteriaColumn;
    if (column.isEmpty())
        return {};
    // In the order the engine compares the names: without regard to case.
    return QStringLiteral("SELECT DISTINCT ") + store::bracketName(column) +
           QStringLiteral(" FROM [All Bids] WHERE [Round] BETWEEN ") + QString::number(from) +
           QStringLiteral(" AND ") + QString::number(to) + QStringLiteral(" ORDER BY ") +
           store::bracketName(column);
}

QString inList(const QStringList& names)
{
    QString list = QStringLiteral("IN(");
    for (const QString& name : names)
        list += store::quoteText(name) + QStringLiteral(", ");
    // The last ", " becomes ") ".
    if (!names.isEmpty())
        list.chop(2);
    return list + QStringLiteral(") ");
}

QString analysisStatement(AnalysisKind kind, int from, int to, const QString& chosenList)
{
    QString sql =
        QStringLiteral(
            "SELECT a.[Auction ID], a.[Round], a.[License Name], a.[Market], a.[Block], a.[Submarket], "
            "m.[Market Name], a.[Bidder], "
            "a.[Increments of Bid], a.[Gross Bid Amount], a.[Net Bid Amount] "
            "FROM [All Bids] a, [Markets] m WHERE a.[Round] Between ") +
        QString::number(from) + QStringLiteral(" AND ") + QString::number(to);
    switch (kind) {
    case AnalysisKind::Markets:
        sql += QStringLiteral(" AND a.[License Name] ") + chosenList +
               QStringLiteral(" AND a.[License Name] = m.[License Name] AND a.[Auction ID] = m.[Auction ID] "
                              "AND a.[Round] = m.[Round] ORDER BY a.[Market]");
        break;
    case AnalysisKind::Bidders:
        // [Markets] has a [Market] column too: the ordering names the bids' own,
        // as the markets analysis does, or the engine finds it ambiguous.
        sql += QStringLiteral(" AND a.[Bidder] ") + chosenList +
               QStringLiteral(
                   " AND a.[License Name] = m.[License Name] "
                   "AND a.[Round] = m.[Round] AND a.[Auction ID] = m.[Auction ID] ORDER BY a.[Market]");
        break;
    case AnalysisKind::Rounds:
        sql += QStringLiteral(" AND a.[License Name] = m.[License Name] AND a.[Auction ID] = m.[Auction ID] "
                              "AND a.[Round] = m.[Round] ORDER BY a.[Round]");
        break;
    }
    return sql;
}

} // namespace qv::analysis
