#include "common/error.h"
#include "store/dialect/translator.h"

#include <gtest/gtest.h>

#include "support/qt_printers.h"

using namespace qv;
using namespace qv::store::dialect;
using qv::store::dialect::SchemaColumn;

namespace {

QString sql(const char* statement)
{
    return translate(QString::fromUtf8(statement)).sql;
}

int errorOf(const char* statement)
{
    try {
        translate(QString::fromUtf8(statement));
    } catch (const Error& e) {
        return e.number();
    }
    return 0;
}

} // namespace

TEST(DialectTranslator, NamesAndLiteralsBecomeSqliteQuoting)
{
    EXPECT_EQ(sql("SELECT [Auction ID] FROM [Round Statistics]"),
              QStringLiteral("SELECT \"Auction ID\" FROM \"Round Statistics\""));
    EXPECT_EQ(sql("select a from t where b = \"it\"\"s\" or c = 'O''Neil'"),
              QStringLiteral("SELECT \"a\" FROM \"t\" WHERE (\"b\" = 'it\"s') OR (\"c\" = 'O''Neil')"));
    EXPECT_EQ(sql("SELECT [a \"b\"] FROM t"), QStringLiteral("SELECT \"a \"\"b\"\"\" FROM \"t\""));
    EXPECT_EQ(
        sql("SELECT a.[Round], m.* FROM [All Bids] a, [Markets] m"),
        QStringLiteral("SELECT \"a\".\"Round\", \"m\".* FROM \"All Bids\" AS \"a\", \"Markets\" AS \"m\""));
    // A date literal is the date as it is stored.
    EXPECT_TRUE(sql("SELECT x FROM t WHERE d > #3/14/2026#").contains(QLatin1String("'2026-03-14'")));
}

TEST(DialectTranslator, TopWithoutOrderIsALimitOfItsOwnSelect)
{
    EXPECT_EQ(sql("SELECT TOP 1 [Round] FROM [sysRounds]"),
              QStringLiteral("SELECT \"Round\" FROM \"sysRounds\" LIMIT 1"));
    // The previous bidding day: TOP inside IN (subquery), nested twice.
    const QString previousDay =
        QStringLiteral("SELECT TOP 1 [Round] FROM [Round Statistics] WHERE [Round Date] In(Select Top 1 "
                       "[Round Date] From [Round "
                       "Statistics] Where [Round Date] Not In (Select [Round Date] From [Round Statistics] "
                       "Where [Round] = 7) AND "
                       "[Round] < 7 Order By [Round Date] DESC) ORDER BY [Round] DESC");
    EXPECT_EQ(translate(previousDay).kind, StatementKind::Select);
    EXPECT_EQ(errorOf("SELECT TOP 2.5 [a] FROM t"), err::SyntaxError);
}

TEST(DialectTranslator, StatementKinds)
{
    Translation t =
        translate(QStringLiteral("SELECT [Round], [Bidder] INTO [MyTable] FROM [All Bids]  WHERE "
                                 "[Round] >=5 And [Bidder] ='X' ORDER BY [Round] DESC,  [Bidder];"));
    EXPECT_EQ(t.kind, StatementKind::MakeTable);
    EXPECT_EQ(t.target, QStringLiteral("MyTable"));
    EXPECT_EQ(t.sql,
              QStringLiteral("SELECT \"Round\", \"Bidder\" FROM \"All Bids\" WHERE (\"Round\" >= 5) AND "
                             "(\"Bidder\" = 'X') ORDER BY \"Round\" DESC, \"Bidder\""));
    EXPECT_EQ(translate(QStringLiteral("SELECT * INTO Bare FROM t")).target, QStringLiteral("Bare"));

    t = translate(QStringLiteral("INSERT INTO [All Bids] IN \"/tmp/Auction5.mdb\" SELECT * FROM [All Bids]"));
    EXPECT_EQ(t.kind, StatementKind::InsertIn);
    EXPECT_EQ(t.target, QStringLiteral("All Bids"));
    EXPECT_EQ(t.externalPath, QStringLiteral("/tmp/Auction5.mdb"));
    EXPECT_EQ(t.sql, QStringLiteral("SELECT * FROM \"All Bids\""));

    EXPECT_EQ(sql("DELETE * FROM [Markets] WHERE [Round] = 12"),
              QStringLiteral("DELETE FROM \"Markets\" WHERE \"Round\" = 12"));
    EXPECT_EQ(sql("DELETE [TableName] FROM [sysTables] WHERE [TableName] = 'My Table'"),
              QStringLiteral("DELETE FROM \"sysTables\" WHERE \"TableName\" = 'My Table'"));
    EXPECT_EQ(sql("INSERT INTO [sysSuppliedTables] (TableName) VALUES (\"All Bids\")"),
              QStringLiteral("INSERT INTO \"sysSuppliedTables\" (\"TableName\") VALUES ('All Bids')"));
    EXPECT_EQ(sql("INSERT INTO sysRounds (Round) VALUES (3)"),
              QStringLiteral("INSERT INTO \"sysRounds\" (\"Round\") VALUES (3)"));
    EXPECT_EQ(sql("INSERT INTO [sysTables] SELECT * FROM [sysSuppliedTables]"),
              QStringLiteral("INSERT INTO \"sysTables\" SELECT * FROM \"sysSuppliedTables\""));

    t = translate(
        QStringLiteral("CREATE TABLE [sysQueryBuilder] ([Txt5] TEXT(255), [Txt0] MEMO, [Txt1] TEXT(65), "
                       "[Txt2] MEMO, [Txt3] MEMO, [Txt4] MEMO)"));
    ASSERT_EQ(t.kind, StatementKind::CreateTable);
    ASSERT_EQ(t.columns.size(), 6u);
    EXPECT_EQ(t.columns[0].type, qv::store::FieldType::Text);
    EXPECT_EQ(t.columns[0].length, 255);
    EXPECT_EQ(t.columns[1].type, qv::store::FieldType::Memo);
    EXPECT_EQ(t.columns[2].length, 65);
    t = translate(QStringLiteral("CREATE TABLE [sysRounds] ([Round] Number)"));
    EXPECT_EQ(t.columns[0].type, qv::store::FieldType::Double);
    t = translate(QStringLiteral("CREATE TABLE [sysTables] ([TableName] Text)"));
    EXPECT_EQ(t.columns[0].length, 255);

    t = translate(
        QStringLiteral("ALTER TABLE [sysQueryBuilder] ADD CONSTRAINT [Primary] PRIMARY KEY ([Txt5])"));
    EXPECT_EQ(t.kind, StatementKind::AddPrimaryKey);
    EXPECT_EQ(t.constraintName, QStringLiteral("Primary"));
    EXPECT_EQ(t.keyColumn, QStringLiteral("Txt5"));

    t = translate(QStringLiteral("drop table My_Table"));
    EXPECT_EQ(t.kind, StatementKind::DropTable);
    EXPECT_EQ(t.target, QStringLiteral("My_Table"));
}

TEST(DialectTranslator, MalformedInputIsASyntaxErrorNeverAnotherStatement)
{
    EXPECT_EQ(errorOf("SELECT * FROM [All Bids"), err::SyntaxError);
    EXPECT_EQ(errorOf("SELECT * FROM t WHERE a = 'open"), err::SyntaxError);
    EXPECT_EQ(errorOf("SELECT * FROM t WHERE a = \"open"), err::SyntaxError);
    EXPECT_EQ(errorOf("SELECT * FROM t WHERE d = #1/2/2026"), err::SyntaxError);
    EXPECT_EQ(errorOf("SELECT * FROM [a]b]"), err::SyntaxError); // a name holding "]"
    EXPECT_EQ(errorOf("SELECT * FROM t; DROP TABLE t"), err::SyntaxError);
    EXPECT_EQ(errorOf("SELECT (a FROM t"), err::SyntaxError);
    EXPECT_EQ(errorOf("SELECT a) FROM t"), err::SyntaxError);
    EXPECT_EQ(errorOf("FROM t"), err::SyntaxError);
    EXPECT_EQ(errorOf(""), err::SyntaxError);
    EXPECT_EQ(errorOf("DROP TABLE"), err::SyntaxError);
    EXPECT_EQ(errorOf("CREATE TABLE t (a Blob)"), err::InvalidFieldType);
    EXPECT_EQ(errorOf("SELECT * FROM t WHERE a = #not a date#"), err::SyntaxError);
    EXPECT_EQ(errorOf("SELECT * FROM t WHERE a ` 1"), err::SyntaxError);
}

TEST(DialectTranslator, FilterAndSortExpressionsComputeWithTheFieldsTypes)
{
    const std::vector<SchemaColumn> fields = {{QStringLiteral("Round"), qv::store::FieldType::Integer},
                                              {QStringLiteral("Bidder"), qv::store::FieldType::Text}};
    EXPECT_EQ(translateExpression(QStringLiteral("[Round] >5 And [Bidder] =\"X\""), fields),
              QStringLiteral("(\"Round\" > 5) AND (\"Bidder\" = 'X')"));
    // An expression of text compares without case by itself.
    EXPECT_EQ(translateExpression(QStringLiteral("Left([Bidder], 2) = 'ab'"), fields),
              QStringLiteral("qv_left(\"Bidder\", 2) = 'ab' COLLATE NOCASE"));
    EXPECT_EQ(translateOrderBy(QStringLiteral("[Bidder], [Round] DESC"), fields),
              QStringLiteral("\"Bidder\", \"Round\" DESC"));
    EXPECT_EQ(bareTableName(QStringLiteral("[All Bids]")), QStringLiteral("All Bids"));
    EXPECT_EQ(bareTableName(QStringLiteral("sysRounds")), QStringLiteral("sysRounds"));
    EXPECT_EQ(bareTableName(QStringLiteral("All Bids")), QStringLiteral("All Bids"));
    EXPECT_EQ(bareTableName(QStringLiteral("SELECT * FROM t")), QString());
}

TEST(DialectTranslator, TwoDigitYearsFollowTheEnginesCentury)
{
    EXPECT_EQ(sql("SELECT #1/1/05#"), QStringLiteral("SELECT '2005-01-01' AS \"Expr1000\""));
    EXPECT_EQ(sql("SELECT #1/1/00#"), QStringLiteral("SELECT '2000-01-01' AS \"Expr1000\""));
    EXPECT_EQ(sql("SELECT #12/31/29#"), QStringLiteral("SELECT '2029-12-31' AS \"Expr1000\""));
    EXPECT_EQ(sql("SELECT #1/1/30#"), QStringLiteral("SELECT '1930-01-01' AS \"Expr1000\""));
    EXPECT_EQ(sql("SELECT #2/3/99 10:30#"), QStringLiteral("SELECT '1999-02-03 10:30:00' AS \"Expr1000\""));
    EXPECT_EQ(sql("SELECT #1/1/1905#"), QStringLiteral("SELECT '1905-01-01' AS \"Expr1000\""));
    EXPECT_EQ(sql("SELECT #3/4/0029#"), QStringLiteral("SELECT '0029-03-04' AS \"Expr1000\""));
    EXPECT_EQ(errorOf("SELECT #13/1/05#"), err::SyntaxError);
}

TEST(DialectTranslator, DistinctRowIsDistinctOnlyOverSeveralTables)
{
    EXPECT_FALSE(sql("SELECT DISTINCTROW a FROM [t] WHERE b IN (SELECT c FROM u, v)")
                     .contains(QLatin1String("DISTINCT")));
    EXPECT_TRUE(sql("SELECT DISTINCTROW t.a FROM t, u WHERE t.a = u.a")
                    .startsWith(QLatin1String("SELECT DISTINCT ")));
    EXPECT_TRUE(sql("SELECT DISTINCTROW t.a FROM t INNER JOIN u ON t.a = u.a")
                    .startsWith(QLatin1String("SELECT DISTINCT ")));
}

TEST(DialectTranslator, MalformedOperandsAndFunctions)
{
    EXPECT_EQ(errorOf("SELECT a & FROM t"), err::SyntaxError);
    EXPECT_EQ(errorOf("SELECT & a FROM t"), err::SyntaxError);
    EXPECT_EQ(errorOf("SELECT Substr(a, 1) FROM t"), err::UndefinedFunction); // SQLite's, not the dialect's
    EXPECT_EQ(errorOf("SELECT IsNull() FROM t"), err::SyntaxError);
    EXPECT_EQ(errorOf("SELECT Switch(1, 2, 3) FROM t"), err::SyntaxError);
}
