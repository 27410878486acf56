// Whole statements of the dialect: what UPDATE and INSERT write, how TOP and
// UNION combine, joins and subqueries that keep their types, and errors that
// name what the user wrote.
#include "common/error.h"
#include "store/database.h"
#include "store/recordset.h"

#include "support/temp_dir.h"

#include <QDateTime>

#include <gtest/gtest.h>

#include "support/qt_printers.h"

using namespace qv;
using namespace qv::store;

namespace {

class DialectStatements : public ::testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_TRUE(dir.isValid());
        db = Database::create(dir.file(QStringLiteral("Auction5.mdb")));
        db->execute(QStringLiteral("CREATE TABLE [Bids] ([Round] LONG, [Bidder] TEXT(20), [Amount] CURRENCY, "
                                   "[Placed] DATETIME)"));
        db->execute(
            QStringLiteral("INSERT INTO [Bids] VALUES (1, 'Alpha', 100, '1/5/2026'), (1, 'beta', 300, "
                           "#1/5/2026#), (2, 'ALPHA', 300, #1/6/2026#), (2, 'Gamma', 200, #1/6/2026#), "
                           "(3, 'Beta', 300, #1/7/2026#)"));
        db->execute(QStringLiteral("CREATE TABLE [Names] ([Bidder] TEXT(20), [City] TEXT(20))"));
        db->execute(QStringLiteral("INSERT INTO [Names] VALUES ('alpha', 'Reno'), ('BETA', 'Ely')"));
    }

    QStringList column(const QString& statement)
    {
        auto rows = db->openRecordset(statement);
        QStringList values;
        for (int r = 0; r < rows->recordCount(); ++r) {
            const QVariant v = rows->at(r, 0);
            values << (v.typeId() == QMetaType::QDateTime
                           ? v.toDateTime().toString(QStringLiteral("M/d/yyyy"))
                           : v.toString());
        }
        return values;
    }

    int errorOf(const QString& statement, QString* description = nullptr)
    {
        try {
            if (statement.startsWith(QLatin1String("SELECT")))
                db->openRecordset(statement);
            else
                db->execute(statement);
        } catch (const Error& e) {
            if (description)
                *description = e.description();
            return e.number();
        }
        return 0;
    }

    test::TempDir dir;
    DatabasePtr db;
};

TEST_F(DialectStatements, valuesWrittenIntoDateColumnsAreDates)
{
    // '1/5/2026' went in as the date, not as the text.
    EXPECT_EQ(column(QStringLiteral("SELECT [Placed] FROM [Bids] WHERE [Round] = 1")),
              QStringList({QStringLiteral("1/5/2026"), QStringLiteral("1/5/2026")}));
    db->execute(
        QStringLiteral("UPDATE [Bids] SET [Placed] = '2/1/2026', [Amount] = [Amount] * 2 WHERE [Bidder] "
                       "= 'gamma'"));
    EXPECT_EQ(column(QStringLiteral("SELECT [Placed] FROM [Bids] WHERE [Round] = 2 ORDER BY [Placed]")),
              QStringList({QStringLiteral("1/6/2026"), QStringLiteral("2/1/2026")}));
    EXPECT_EQ(column(QStringLiteral("SELECT [Amount] FROM [Bids] WHERE [Bidder] = 'GAMMA'")),
              QStringList{QStringLiteral("400")});
    db->execute(QStringLiteral("UPDATE [Bids] SET [Placed] = [Placed] + 7 WHERE [Round] = 3"));
    EXPECT_EQ(column(QStringLiteral("SELECT [Placed] FROM [Bids] WHERE [Round] = 3")),
              QStringList{QStringLiteral("1/14/2026")});
    // Gamma's bid of 2/1/2026 and round 3's of 1/14/2026 go.
    db->execute(QStringLiteral("DELETE * FROM [Bids] WHERE [Placed] > #1/13/2026#"));
    EXPECT_EQ(column(QStringLiteral("SELECT Count(*) FROM [Bids]")), QStringList{QStringLiteral("3")});
}

TEST_F(DialectStatements, topAndUnionKeepEachSelectsOwnRows)
{
    // TOP 1 by amount: the three bids of 300 tie.
    EXPECT_EQ(column(QStringLiteral("SELECT TOP 1 [Bidder] FROM [Bids] ORDER BY [Amount] DESC")).size(), 3);
    // The bids of the last day with bids before round 3's day.
    EXPECT_EQ(
        column(QStringLiteral("SELECT [Round] FROM [Bids] WHERE [Placed] In (SELECT TOP 1 [Placed] FROM "
                              "[Bids] WHERE [Placed] < #1/7/2026# ORDER BY [Placed] DESC)")),
        QStringList({QStringLiteral("2"), QStringLiteral("2")}));
    // Each SELECT's TOP is its own; the last ORDER BY sorts the whole; UNION compares without case.
    EXPECT_EQ(
        column(QStringLiteral("SELECT TOP 1 [Bidder] FROM [Bids] WHERE [Round] = 1 ORDER BY [Amount] UNION "
                              "SELECT [Bidder] FROM [Names] ORDER BY [Bidder] DESC"))
            .join(QLatin1Char(' '))
            .toUpper(),
        QStringLiteral("BETA ALPHA"));
    EXPECT_EQ(
        column(QStringLiteral("SELECT [Bidder] FROM [Names] UNION ALL SELECT [Bidder] FROM [Names]")).size(),
        4);
    // DISTINCT with TOP: the distinct amounts, the highest two.
    EXPECT_EQ(column(QStringLiteral("SELECT DISTINCT TOP 2 [Amount] FROM [Bids] ORDER BY [Amount] DESC")),
              QStringList({QStringLiteral("300"), QStringLiteral("200")}));
}

TEST_F(DialectStatements, joinsAndSubqueriesKeepTheirTypes)
{
    // Texts join without regard to case.
    EXPECT_EQ(
        column(QStringLiteral("SELECT n.[City] FROM [Bids] AS b INNER JOIN [Names] AS n ON b.[Bidder] = "
                              "n.[Bidder] WHERE b.[Round] = 2")),
        QStringList{QStringLiteral("Reno")});
    EXPECT_EQ(
        column(QStringLiteral("SELECT Count(*) FROM [Bids] b LEFT JOIN [Names] n ON b.[Bidder] = n.[Bidder] "
                              "WHERE n.[City] Is Null")),
        QStringList{QStringLiteral("1")});
    // A date of a subquery is still a date.
    EXPECT_EQ(
        column(QStringLiteral("SELECT [Day] + 1 FROM (SELECT Max([Placed]) AS [Day] FROM [Bids]) AS q")),
        QStringList{QStringLiteral("1/8/2026")});
    EXPECT_EQ(column(QStringLiteral("SELECT [Bidder] FROM [Bids] WHERE [Amount] = (SELECT Min([Amount]) FROM "
                                    "[Bids])")),
              QStringList{QStringLiteral("Alpha")});
    EXPECT_EQ(column(QStringLiteral("SELECT [Bidder] FROM [Names] WHERE Exists (SELECT * FROM [Bids] WHERE "
                                    "[Bids].[Bidder] = [Names].[Bidder] AND [Round] = 3)")),
              QStringList{QStringLiteral("BETA")});
    // GROUP BY a text expression: one group whatever the case, HAVING on an aggregate.
    EXPECT_EQ(
        column(QStringLiteral("SELECT UCase(First([Bidder])) FROM [Bids] GROUP BY Left([Bidder], 3) HAVING "
                              "Sum([Amount]) = 400")),
        QStringList{QStringLiteral("ALPHA")});
}

TEST_F(DialectStatements, errorsNameWhatTheUserWrote)
{
    QString description;
    EXPECT_EQ(errorOf(QStringLiteral("SELECT [Bidder] FROM [Bids] WHERE [Round] = 1 AND"), &description),
              err::SyntaxError);
    EXPECT_TRUE(description.contains(QLatin1String("[Round] = 1 AND"))) << description.toStdString();
    EXPECT_EQ(errorOf(QStringLiteral("SELECT [Nope] FROM [Bids]"), &description), err::UnknownColumn);
    EXPECT_TRUE(description.contains(QLatin1String("Nope"))) << description.toStdString();
    EXPECT_EQ(errorOf(QStringLiteral("SELECT Sum(First([Amount])) FROM [Bids]"), &description),
              err::SyntaxError);
    EXPECT_FALSE(description.contains(QLatin1String("qv_"))) << description.toStdString();
    EXPECT_TRUE(description.contains(QLatin1String("SELECT Sum(First([Amount])) FROM [Bids]")))
        << description.toStdString();
    EXPECT_EQ(errorOf(QStringLiteral("UPDATE [Bids] SET [Amount] = [Amount] / 0"), &description), 11);
    EXPECT_EQ(description, QStringLiteral("Division by zero"));
    EXPECT_EQ(errorOf(QStringLiteral("SELECT Foo([Amount]) FROM [Bids]"), &description),
              err::UndefinedFunction);
    EXPECT_EQ(description, QStringLiteral("Undefined function 'Foo' in expression."));
    // A failed UPDATE changes nothing.
    EXPECT_EQ(column(QStringLiteral("SELECT Sum([Amount]) FROM [Bids]")),
              QStringList{QStringLiteral("1200")});
}

} // namespace
