// Crosstab queries (TRANSFORM ... PIVOT) as the engine's documentation
// describes them, and statements too deep to read: refused with "Query is too
// complex" at one level past the limit, wherever a statement comes from.
#include "common/error.h"
#include "store/database.h"
#include "store/dialect/parser.h"
#include "store/recordset.h"

#include "support/cli_run.h"
#include "support/temp_dir.h"

#include <QDateTime>

#include <gtest/gtest.h>

#include "support/qt_printers.h"

using namespace qv;
using namespace qv::store;

namespace {

class DialectCrosstab : public ::testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_TRUE(dir.isValid());
        db = Database::create(dir.file(QStringLiteral("Auction5.mdb")));
        db->execute(QStringLiteral("CREATE TABLE [Bids] ([Round] LONG, [Bidder] TEXT(20), [Amount] CURRENCY, "
                                   "[Placed] DATETIME)"));
        db->execute(
            QStringLiteral("INSERT INTO [Bids] VALUES (1, 'Alpha', 100, #1/5/2026#), (1, 'beta', 300, "
                           "#1/5/2026#), (2, 'ALPHA', 300, #1/6/2026#), (2, 'Gamma', 200, #1/6/2026#), "
                           "(3, 'Beta', 300, #1/7/2026#), (10, 'Gamma', 50, #1/8/2026#)"));
    }

    // The field names, then each row, cells joined by '|', texts upper case.
    QStringList table(const Recordset& rows)
    {
        QStringList names;
        for (int c = 0; c < rows.fieldCount(); ++c)
            names << rows.field(c).name.toUpper();
        QStringList out{names.join(QLatin1Char('|'))};
        for (int r = 0; r < rows.recordCount(); ++r) {
            QStringList cells;
            for (int c = 0; c < rows.fieldCount(); ++c) {
                const QVariant v = rows.at(r, c);
                cells << (v.isNull() ? QStringLiteral("-") : v.toString().toUpper());
            }
            out << cells.join(QLatin1Char('|'));
        }
        return out;
    }
    QStringList table(const QString& statement) { return table(*db->openRecordset(statement)); }

    int errorOf(const std::function<void()>& run)
    {
        try {
            run();
        } catch (const Error& e) {
            return e.number();
        }
        return 0;
    }

    test::TempDir dir;
    DatabasePtr db;
};

// Source: "TRANSFORM statement (Microsoft Access SQL)": a column per PIVOT value in
// order, the GROUP BY's row headings, Null where a cell has no records.
TEST_F(DialectCrosstab, pivotsEachValueIntoAColumnInOrder)
{
    EXPECT_EQ(table(QStringLiteral("TRANSFORM Sum([Amount]) SELECT [Bidder] FROM [Bids] GROUP BY [Bidder] "
                                   "PIVOT [Round]")),
              (QStringList{QStringLiteral("BIDDER|1|2|3|10"), QStringLiteral("ALPHA|100|300|-|-"),
                           QStringLiteral("BETA|300|-|300|-"), QStringLiteral("GAMMA|-|200|-|50")}));
    // Texts pivot without regard to case; a row heading of its own next to a total; WHERE first.
    EXPECT_EQ(table(QStringLiteral("TRANSFORM Count(*) SELECT [Round], Sum([Amount]) AS [All] FROM [Bids] "
                                   "WHERE [Round] < 3 GROUP BY [Round] PIVOT [Bidder]")),
              (QStringList{QStringLiteral("ROUND|ALL|ALPHA|BETA|GAMMA"), QStringLiteral("1|400|1|1|-"),
                           QStringLiteral("2|500|1|-|1")}));
    // Dates are headed as dates; Null is the column "<>", first; an expression of aggregates.
    EXPECT_EQ(table(QStringLiteral("TRANSFORM Sum([Amount]) / Count(*) SELECT [Round] FROM [Bids] WHERE "
                                   "[Round] < 10 GROUP BY [Round] ORDER BY [Round] DESC PIVOT [Placed]"))
                  .first(),
              QStringLiteral("ROUND|1/5/2026|1/6/2026|1/7/2026"));
    EXPECT_EQ(table(QStringLiteral("TRANSFORM Max([Amount]) SELECT [Bidder] FROM [Bids] GROUP BY [Bidder] "
                                   "PIVOT IIf([Round] > 2, Null, [Round])")),
              (QStringList{QStringLiteral("BIDDER|<>|1|2"), QStringLiteral("ALPHA|-|100|300"),
                           QStringLiteral("BETA|300|300|-"), QStringLiteral("GAMMA|50|-|200")}));
}

// Source: "TRANSFORM statement (Microsoft Access SQL)" (IN: fixed columns, in that order).
TEST_F(DialectCrosstab, anInListFixesTheColumnsAndKeepsEmptyOnes)
{
    EXPECT_EQ(table(QStringLiteral("TRANSFORM Sum([Amount]) SELECT [Bidder] FROM [Bids] GROUP BY [Bidder] "
                                   "PIVOT [Round] - 2 IN (1, -1, 2)")),
              (QStringList{QStringLiteral("BIDDER|1|-1|2"), QStringLiteral("ALPHA|-|100|-"),
                           QStringLiteral("BETA|300|300|-"), QStringLiteral("GAMMA|-|-|-")}));
    EXPECT_EQ(table(QStringLiteral("TRANSFORM Count(*) SELECT [Round] FROM [Bids] WHERE [Round] = 1 GROUP BY "
                                   "[Round] PIVOT [Bidder] In ('BETA', 'Delta')")),
              (QStringList{QStringLiteral("ROUND|BETA|DELTA"), QStringLiteral("1|1|-")}));
}

// A crosstab works where a SELECT does: a filter over its rows, a table it makes.
TEST_F(DialectCrosstab, worksWhereASelectDoes)
{
    auto crossed = db->openRecordset(QStringLiteral(
        "TRANSFORM Sum([Amount]) SELECT [Bidder] FROM [Bids] GROUP BY [Bidder] PIVOT [Round]"));
    crossed->filter = QStringLiteral("[2] > 250");
    EXPECT_EQ(table(*crossed->openRecordset()).mid(1), QStringList{QStringLiteral("ALPHA|100|300|-|-")});
    db->execute(QStringLiteral("TRANSFORM Sum([Amount]) SELECT [Bidder] INTO [Crossed] FROM [Bids] GROUP BY "
                               "[Bidder] PIVOT [Round]"));
    auto made = db->openRecordset(QStringLiteral("Crossed"));
    EXPECT_EQ(table(*made).first(), QStringLiteral("BIDDER|1|2|3|10"));
    EXPECT_EQ(made->field(1).type, FieldType::Currency);
    // A value that totals nothing is refused; a crosstab needs its GROUP BY.
    EXPECT_EQ(errorOf([&] {
                  db->openRecordset(QStringLiteral(
                      "TRANSFORM [Amount] SELECT [Bidder] FROM [Bids] GROUP BY [Bidder] PIVOT [Round]"));
              }),
              err::NotInAggregate);
    EXPECT_EQ(errorOf([&] {
                  db->openRecordset(
                      QStringLiteral("TRANSFORM Sum([Amount]) SELECT [Bidder] FROM [Bids] PIVOT "
                                     "[Round]"));
              }),
              err::SyntaxError);
}

// Nesting at the limit runs; one level past it, from any place a statement comes
// from, is error 3360 and nothing runs out of stack.
TEST_F(DialectCrosstab, statementsTooDeepAreRefusedAtTheLimit)
{
    const int limit = dialect::Parser::maxDepth;
    // Brackets: the SELECT's item counts no level of its own; each bracket opens one.
    auto bracketed = [](int depth) {
        return QString(depth, QLatin1Char('(')) + QStringLiteral("1") + QString(depth, QLatin1Char(')'));
    };
    // A chain: each operator one level below the one after it.
    auto chained = [](int terms) {
        QStringList ones(terms, QStringLiteral("1"));
        return ones.join(QStringLiteral(" + "));
    };
    auto value = [&](const QString& expression) {
        return db->openRecordset(QStringLiteral("SELECT ") + expression + QStringLiteral(" FROM [Bids]"))
            ->at(0, 0);
    };
    EXPECT_EQ(value(bracketed(limit)).toInt(), 1);
    EXPECT_EQ(errorOf([&] { value(bracketed(limit + 1)); }), err::QueryTooComplex);
    EXPECT_EQ(value(chained(limit)).toInt(), limit);
    EXPECT_EQ(errorOf([&] { value(chained(limit + 1)); }), err::QueryTooComplex);
    EXPECT_EQ(errorOf([&] { value(bracketed(5000)); }), err::QueryTooComplex);
    EXPECT_EQ(errorOf([&] { value(chained(20000)); }), err::QueryTooComplex);
    EXPECT_EQ(errorOf([&] { value(QString(20000, QLatin1Char('-')) + QStringLiteral("1")); }),
              err::QueryTooComplex);
    EXPECT_EQ(errorOf([&] { value(QStringLiteral("Not ").repeated(20000) + QStringLiteral("1")); }),
              err::QueryTooComplex);
    // Subqueries nest too.
    QString nested = QStringLiteral("1");
    for (int k = 0; k < 3000; ++k)
        nested = QStringLiteral("(SELECT ") + nested + QStringLiteral(" FROM [Bids])");
    EXPECT_EQ(errorOf([&] { value(nested); }), err::QueryTooComplex);
    // Joins, each nesting the ones before it.
    QString joins = QStringLiteral("SELECT 1 FROM [Bids] AS b0");
    for (int k = 1; k <= 5000; ++k)
        joins += QStringLiteral(" INNER JOIN [Bids] AS b%1 ON b%1.[Round] = b0.[Round]").arg(k);
    EXPECT_EQ(errorOf([&] { db->openRecordset(joins); }), err::QueryTooComplex);
    // A filter.
    auto all = db->openRecordset(QStringLiteral("SELECT * FROM [Bids]"));
    all->filter = QStringLiteral("[Round] = ") + bracketed(limit);
    EXPECT_EQ(all->openRecordset()->recordCount(), 2);
    all->filter = QStringLiteral("[Round] = ") + chained(20000);
    EXPECT_EQ(errorOf([&] { all->openRecordset(); }), err::QueryTooComplex);
    // The statement's text is named, shortened.
    try {
        value(bracketed(limit + 1));
    } catch (const Error& e) {
        EXPECT_TRUE(e.description().startsWith(QLatin1String("Query is too complex")))
            << e.description().toStdString();
    }
}

// The program itself: a crosstab through sql, and a statement 5,000 levels deep
// answered with the error, not a crash.
TEST_F(DialectCrosstab, theSqlCommandAnswersBoth)
{
    const QString path = dir.file(QStringLiteral("Auction5.mdb"));
    db.reset();
    const test::CliRun crossed = test::runCli(
        {QStringLiteral("sql"), path,
         QStringLiteral("TRANSFORM Sum([Amount]) SELECT [Round] FROM [Bids] GROUP BY [Round] PIVOT "
                        "[Bidder] IN ('Gamma', 'Alpha')")});
    EXPECT_EQ(crossed.code, 0) << crossed.err.toStdString();
    EXPECT_TRUE(crossed.out.startsWith(QStringLiteral("Round\tGamma\tAlpha\n1\t\t")))
        << crossed.out.toStdString();
    const test::CliRun deep =
        test::runCli({QStringLiteral("sql"), path,
                      QStringLiteral("SELECT ") + QString(5000, QLatin1Char('(')) + QStringLiteral("1") +
                          QString(5000, QLatin1Char(')')) + QStringLiteral(" AS v FROM [Bids]")});
    EXPECT_EQ(deep.code, 1);
    EXPECT_TRUE((deep.out + deep.err).contains(QLatin1String("3360"))) << deep.err.toStdString();
}

} // namespace
