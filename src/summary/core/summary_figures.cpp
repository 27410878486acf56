#include "summary/core/summary_figures.h"

#include "common/error.h"
#include "common/prompter.h"
#include "common/statement_values.h"
#include "store/database.h"
#include "summary/core/summary_formats.h"

#include <functional>

namespace qv::summary {

namespace {

using Format = std::optional<QString> (*)(const QVariant&);

// One figure: where it lands, which statement and field it reads, how it shows.
struct Figure {
    int column;
    int row;
    int statement; // 0 = Q1 ... 3 = Q4
    const char* field;
    Format format;
};

const Figure figures[] = {
    {2, 3, 0, "Round Date", plainText},
    {2, 4, 0, "Stage", plainText},
    {2, 5, 0, "Pctg of BUs for High Bids", plainText},
    {2, 6, 0, "Net Bids", moneyText},
    {2, 7, 0, "Gross Bids", moneyText},
    {2, 8, 0, "Dollar Change in Net Bids", moneyText},
    {2, 9, -1, nullptr, nullptr}, // the previous bidding day
    {2, 10, 0, "New Bids", countText},
    {2, 11, 0, "Total High Bids", countText},
    {2, 12, 0, "Zelnar Held Licenses", countText},
    {5, 3, 0, "Withdrawals", countText},
    {5, 4, 0, "Eligibility Ratio", plainText},
    {5, 5, 0, "Pctg of Covered BUs", plainText},
    {5, 6, 0, "Bidders At Risk", countText},
    {5, 7, 0, "Eligible Bidders", countText},
    {5, 8, 1, "Req", countText},
    {5, 9, 0, "Waivers", countText},
    {5, 10, 0, "Number Reduced", countText},
    {5, 11, 3, "Mult", countText},
    {5, 12, 2, "Raising", countText},
};

// Opens a statement on its first row; null when it fails or returns nothing.
std::unique_ptr<store::Recordset> firstRow(store::Database& database, const QString& statement)
{
    try {
        auto rows = database.openRecordset(statement, store::RecordsetType::Snapshot);
        if (rows->eof())
            return nullptr;
        rows->moveFirst();
        return rows;
    } catch (const Error&) {
        return nullptr;
    }
}

std::unique_ptr<store::Recordset> firstRowOrThrow(store::Database& database, const QString& statement)
{
    auto rows = database.openRecordset(statement, store::RecordsetType::Snapshot);
    rows->moveFirst();
    return rows;
}

double netBids(const store::Recordset& rows)
{
    const QVariant value = rows.value(QStringLiteral("Net Bids"));
    bool ok = false;
    const double result = value.toDouble(&ok);
    if (value.isNull() || !ok)
        throw Error(err::InvalidUseOfNull, QStringLiteral("Invalid use of Null"));
    return result;
}

} // namespace

void FillSummary(store::Database& database, const QString& round, SummarySheet& sheet, Prompter& prompter)
{
    // The round is pasted into every statement: anything but a number runs none.
    if (!isRoundNumber(round))
        return;
    const QString q[4] = {
        QStringLiteral("SELECT [Round Date], [Stage], [Net Bids], [Gross Bids], "
                       "[Dollar Change in Net Bids], [New Bids], [Total High Bids], "
                       "[Zelnar Held Licenses], [Withdrawals], [Eligibility Ratio], "
                       "[Pctg of BUs for High Bids], [Bidders At Risk], [Eligible Bidders], "
                       "[Waivers], [Number Reduced], [Pctg of Covered BUs]"
                       " FROM [Round Statistics] WHERE [Round] = ") +
            round,
        QStringLiteral("SELECT Sum([Additional Activity Required]) As [Req], Sum([Current Eligibility]) As "
                       "[Cur] FROM [Bidders] WHERE [Round] = ") +
            round,
        QStringLiteral(
            "SELECT Count([Round]) AS [Raising] From [Bidders Raising Own High Bid] Where [Round] = ") +
            round,
        QStringLiteral("SELECT Count([Round]) AS [Mult] From [All Bids] Where [Increments of Bid] > 1 AND "
                       "[Round] = ") +
            round,
    };
    std::unique_ptr<store::Recordset> rows[4];
    for (int i = 0; i < 4; ++i)
        rows[i] = firstRow(database, q[i]);

    sheet.setText(3, 2, QStringLiteral("Round ") + round);
    for (const Figure& figure : figures) {
        if (figure.statement < 0) {
            sheet.setText(figure.column, figure.row, GetDay(database, round, prompter).value_or(QString()));
            continue;
        }
        const store::Recordset* set = rows[figure.statement].get();
        if (set == nullptr)
            continue;
        try {
            if (const auto text = figure.format(set->value(QLatin1String(figure.field))))
                sheet.setText(figure.column, figure.row, *text);
        } catch (const Error&) {
            // A figure that cannot be read leaves its cell as it was.
        }
    }
}

std::optional<QString> GetDay(store::Database& database, const QString& round, Prompter& prompter)
{
    try {
        if (!isRoundNumber(round))
            throw Error(err::TypeMismatch, QStringLiteral("Type mismatch"));
        // Inside out: the date of the round; the latest earlier date that is not
        // it (the previous bidding day); the last round held on that date.
        auto previous = database.openRecordset(
            QStringLiteral("SELECT TOP 1 [Round] FROM [Round Statistics] WHERE [Round Date] In(") +
                QStringLiteral(
                    "Select Top 1 [Round Date] From [Round Statistics] Where [Round Date] Not In (") +
                QStringLiteral("Select [Round Date] From [Round Statistics] Where [Round] = ") + round +
                QStringLiteral(")") + QStringLiteral(" AND [Round] < ") + round +
                QStringLiteral(" Order By [Round Date] DESC) ORDER BY [Round] DESC"),
            store::RecordsetType::Snapshot);
        const bool firstDay = previous->eof();
        auto current = firstRowOrThrow(
            database, QStringLiteral("SELECT [Net Bids] FROM [Round Statistics] Where [Round] = ") + round);
        const double now = netBids(*current);
        if (firstDay)
            return formatMoney(now);
        previous->moveFirst();
        auto before = firstRowOrThrow(
            database, QStringLiteral("SELECT [Net Bids] FROM [Round Statistics] Where [Round] = ") +
                          previous->value(QStringLiteral("Round")).toString());
        return formatMoney(now - netBids(*before));
    } catch (const Error& error) {
        prompter.error(error, ErrorLayout::Report);
        return std::nullopt;
    }
}

int GetAuction(store::Database& database, Prompter& prompter)
{
    try {
        auto rows = firstRowOrThrow(database, QStringLiteral("SELECT DISTINCT [Auction ID] FROM [Markets]"));
        const QVariant id = rows->value(QStringLiteral("Auction ID"));
        bool ok = false;
        const qlonglong number = id.toLongLong(&ok);
        if (!ok || number < INT32_MIN || number > INT32_MAX)
            throw Error(id.isNull() ? err::InvalidUseOfNull : err::TypeMismatch,
                        id.isNull() ? QStringLiteral("Invalid use of Null")
                                    : QStringLiteral("Type mismatch"));
        return static_cast<int>(number);
    } catch (const Error& error) {
        prompter.error(error, ErrorLayout::Report);
        return 0;
    }
}

} // namespace qv::summary
