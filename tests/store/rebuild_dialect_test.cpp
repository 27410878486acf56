// What the rebuild after an import makes of the dialect's newer statements:
// a saved crosstab gains a column for a new value, and a statement too deep
// to read is refused with its error while the round stays imported.
#include "import_test_fixture.h"

#include "store/recordset.h"
#include "store/saved_query.h"

using namespace qv;
using namespace qv::test;

namespace {

class RebuildDialect : public ImportTest {
protected:
    void SetUp() override
    {
        ImportTest::SetUp();
        generate(3);
        ASSERT_TRUE(create(QStringLiteral("05_001.zip")));
        prompter.messages.clear();
    }

    void saveQuery(const QString& name, const QString& select, const QString& into, const QString& from,
                   const QString& where)
    {
        db().execute(QStringLiteral("INSERT INTO [sysQueryBuilder] ([Txt5], [Txt0], [Txt1], [Txt2], [Txt3], "
                                    "[Txt4]) VALUES ('%1', '%2', '%3', '%4', '%5', '')")
                         .arg(name, select, into, from, where));
    }

    QStringList fieldsOf(const QString& table)
    {
        auto rs = db().openRecordset(table);
        QStringList names;
        for (int c = 0; c < rs->fieldCount(); ++c)
            names << rs->field(c).name;
        return names;
    }
};

} // namespace

// The wizard's crosstab: TRANSFORM in Select, GROUP BY and PIVOT after Where.
TEST_F(RebuildDialect, aSavedCrosstabGainsTheColumnOfEachNewRound)
{
    store::SqlQuery query;
    query.name = QStringLiteral("Bids By Round");
    query.select = QStringLiteral("TRANSFORM Count(*) SELECT [Bidder]");
    query.into = QStringLiteral("[Bids By Round]");
    query.from = QStringLiteral("[All Bids]");
    query.where = QStringLiteral("[Gross Bid Amount] > 0 GROUP BY [Bidder] PIVOT [Round]");
    saveQuery(query.name, query.select, query.into, query.from, query.where);
    store::buildQueryTable(db(), query);
    EXPECT_EQ(fieldsOf(QStringLiteral("Bids By Round")),
              (QStringList{QStringLiteral("Bidder"), QStringLiteral("1")}));

    ASSERT_TRUE(import(QStringLiteral("05_002.zip")));
    EXPECT_EQ(fieldsOf(QStringLiteral("Bids By Round")),
              (QStringList{QStringLiteral("Bidder"), QStringLiteral("1"), QStringLiteral("2")}));
    EXPECT_EQ(count(QStringLiteral("SELECT * FROM [Bids By Round]")),
              column(QStringLiteral("SELECT Count(*) FROM (SELECT DISTINCT [Bidder] FROM [All Bids])"))
                  .first()
                  .toInt());
    EXPECT_EQ(prompter.statusTexts.last(), QStringLiteral("Completed Auto-Rebuilding Customized Table(s)!"));
}

// Planted statements thousands of levels deep: each is refused with error
// 3360 by name, the round stays imported and the program does not fall over.
TEST_F(RebuildDialect, aStatementTooDeepIsRefusedAndTheRoundStays)
{
    const QString deep =
        QString(6000, QLatin1Char('(')) + QStringLiteral("1") + QString(6000, QLatin1Char(')'));
    db().execute(QStringLiteral("SELECT [Round] INTO [Deep] FROM [Markets]"));
    db().execute(
        QStringLiteral("INSERT INTO [sysWizard] ([Table Name], [SQL String]) VALUES ('Deep', 'SELECT ") +
        deep + QStringLiteral(" AS [Round] INTO [Deep] FROM [Markets]')"));
    db().execute(QStringLiteral("INSERT INTO [sysTables] (TableName) VALUES ('Deep')"));
    saveQuery(QStringLiteral("q"), QStringLiteral("[Round]"), QStringLiteral("[Chained]"),
              QStringLiteral("[Markets]"),
              QStringLiteral("[Round] < ") + QStringList(20000, QStringLiteral("1")).join(QLatin1Char('+')));

    ASSERT_TRUE(import(QStringLiteral("05_002.zip")));
    EXPECT_EQ(column(QStringLiteral("SELECT Max([Round]) FROM [All Bids]")),
              QStringList{QStringLiteral("2")});
    int refused = 0;
    for (const auto& m : prompter.messages)
        refused += m.text.contains(QLatin1String("3360")) ? 1 : 0;
    EXPECT_EQ(refused, 2) << prompter.titles().join(QLatin1Char('/')).toStdString();
    // The wizard's table keeps the rows it had.
    EXPECT_EQ(count(QStringLiteral("SELECT * FROM [Deep] WHERE [Round] = 2")), 0);
}
