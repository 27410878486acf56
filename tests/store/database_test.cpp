#include "common/error.h"
#include "store/database.h"

#include <QDateTime>
#include <QFile>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include "support/error_number.h"
#include "support/qt_printers.h"

using namespace qv;
using namespace qv::store;
using qv::test::errorOf;

namespace {

class DatabaseTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_TRUE(dir.isValid());
        db = Database::create(path(QStringLiteral("Auction5.mdb")));
        db->execute(
            QStringLiteral("CREATE TABLE [All Bids] ([Round] Number, [Bidder] TEXT(20), [Amount] Number, "
                           "[Bid Date] DATETIME)"));
        const char* rows[] = {"(1, 'Alpha', 100, #3/2/2026#)", "(1, 'Beta', 250.5, #3/2/2026#)",
                              "(2, 'alpha', 300, #3/3/2026#)", "(2, 'Gamma', NULL, #3/3/2026#)",
                              "(3, 'Beta', 410, #3/4/2026#)"};
        for (const char* r : rows)
            db->execute(QStringLiteral("INSERT INTO [All Bids] VALUES ") + QString::fromUtf8(r));
    }

    QString path(const QString& name) const { return dir.filePath(name); }

    int count(const QString& statement)
    {
        auto rs = db->openRecordset(statement, RecordsetType::Snapshot);
        return rs->recordCount();
    }

    QTemporaryDir dir;
    DatabasePtr db;
};

} // namespace

TEST_F(DatabaseTest, OpenFailsOnMissingFilesAndNonDatabasesWithoutCreatingOne)
{
    EXPECT_EQ(errorOf([&] { Database::open(path(QStringLiteral("missing.mdb"))); }), err::EngineFileNotFound);
    EXPECT_FALSE(QFile::exists(path(QStringLiteral("missing.mdb"))));
    QFile junk(path(QStringLiteral("junk.mdb")));
    ASSERT_TRUE(junk.open(QIODevice::WriteOnly));
    junk.write(QByteArray(4096, 'x'));
    junk.close();
    EXPECT_EQ(errorOf([&] { Database::open(junk.fileName()); }), err::NotADatabase);
}

TEST_F(DatabaseTest, RecordsetNavigationValuesAndTypes)
{
    auto rs = db->openRecordset(QStringLiteral("SELECT * FROM [All Bids] ORDER BY [Round], [Bidder]"));
    EXPECT_EQ(rs->recordCount(), 5);
    ASSERT_EQ(rs->fieldCount(), 4);
    EXPECT_EQ(rs->fieldNames(), (QStringList{QStringLiteral("Round"), QStringLiteral("Bidder"),
                                             QStringLiteral("Amount"), QStringLiteral("Bid Date")}));
    EXPECT_EQ(rs->field(3).type, FieldType::Date);
    rs->moveFirst();
    EXPECT_EQ(rs->value(QStringLiteral("Bidder")).toString(), QStringLiteral("Alpha"));
    EXPECT_EQ(rs->value(0).toDouble(), 1.0);
    EXPECT_EQ(rs->value(QStringLiteral("Bid Date")).typeId(), QMetaType::QDateTime);
    EXPECT_EQ(rs->value(QStringLiteral("Bid Date")).toDate(), QDate(2026, 3, 2));
    int seen = 0;
    for (rs->moveFirst(); !rs->eof(); rs->moveNext())
        ++seen;
    EXPECT_EQ(seen, 5);
    rs->moveLast();
    EXPECT_EQ(rs->value(QStringLiteral("Amount")).toDouble(), 410.0);
    rs->moveFirst();
    rs->moveNext();
    rs->moveNext();
    rs->moveNext();
    EXPECT_TRUE(rs->value(QStringLiteral("amount")).isNull()); // names match without regard to case

    auto empty = db->openRecordset(QStringLiteral("SELECT * FROM [All Bids] WHERE [Round] = 99"));
    EXPECT_TRUE(empty->eof());
    EXPECT_EQ(errorOf([&] { empty->moveFirst(); }), err::NoCurrentRecord);
    EXPECT_EQ(errorOf([&] { empty->value(0); }), err::NoCurrentRecord);
    EXPECT_EQ(errorOf([&] { rs->value(QStringLiteral("Nope")); }), err::ItemNotFound);

    auto bare = db->openRecordset(QStringLiteral("All Bids"));
    EXPECT_EQ(bare->recordCount(), 5);
}

TEST_F(DatabaseTest, SortAndFilterCompose)
{
    auto base = db->openRecordset(QStringLiteral("All Bids"), RecordsetType::Snapshot);
    base->sort = QStringLiteral("[Bidder], [Round] DESC");
    auto sorted = base->openRecordset();
    EXPECT_EQ(sorted->type(), RecordsetType::Snapshot);
    sorted->moveFirst();
    // Text compares without regard to case, as the dialect does: alpha (2) before Alpha (1).
    EXPECT_EQ(sorted->value(QStringLiteral("Round")).toInt(), 2);

    sorted->filter = QStringLiteral("[Round] >1 And [Bidder] <> \"Gamma\"");
    auto filtered = sorted->openRecordset();
    ASSERT_EQ(filtered->recordCount(), 2);
    filtered->moveFirst();
    EXPECT_EQ(filtered->value(QStringLiteral("Bidder")).toString(), QStringLiteral("alpha"));
    filtered->moveNext();
    EXPECT_EQ(filtered->value(QStringLiteral("Bidder")).toString(), QStringLiteral("Beta"));

    filtered->filter = QStringLiteral("[Round] = 3"); // narrows the first filter
    auto narrowed = filtered->openRecordset();
    EXPECT_EQ(narrowed->recordCount(), 1);
    filtered->filter = QStringLiteral("[Bidder] = 'Gamma'"); // a row the first filter left out
    EXPECT_EQ(filtered->openRecordset()->recordCount(), 0);

    base->filter = QStringLiteral("[Nope] = 1");
    EXPECT_EQ(errorOf([&] { base->openRecordset(); }), err::UnknownColumn);
}

TEST_F(DatabaseTest, EngineErrorNumbers)
{
    EXPECT_EQ(errorOf([&] { db->execute(QStringLiteral("SELECT * INTO [All Bids] FROM [All Bids]")); }),
              err::TableExists);
    EXPECT_EQ(errorOf([&] { db->execute(QStringLiteral("CREATE TABLE [All Bids] ([x] Number)")); }),
              err::TableExists);
    EXPECT_EQ(errorOf([&] { db->execute(QStringLiteral("DROP TABLE [No Such]")); }), err::DropTableMissing);
    EXPECT_EQ(errorOf([&] { db->openRecordset(QStringLiteral("SELECT [Nope] FROM [All Bids]")); }),
              err::UnknownColumn);
    EXPECT_EQ(errorOf([&] { db->openRecordset(QStringLiteral("SELECT * FROM [No Such]")); }),
              err::TableNotFound);
    EXPECT_EQ(errorOf([&] { db->openRecordset(QStringLiteral("No Such")); }), err::TableNotFound);
    EXPECT_EQ(errorOf([&] { db->execute(QStringLiteral("DELETE * FROM [No Such] WHERE [Round] = 1")); }),
              err::TableNotFound);
    EXPECT_EQ(errorOf([&] {
                  db->execute(QStringLiteral("INSERT INTO [All Bids] ([Bidder]) VALUES "
                                             "('a name much longer than twenty')"));
              }),
              err::FieldTooSmall);
    EXPECT_EQ(errorOf([&] { db->execute(QStringLiteral("DELETE * FROM WHERE [x]")); }), err::SyntaxError);
    EXPECT_EQ(errorOf([&] { db->execute(QStringLiteral("SELECT * FROM [All Bids]")); }),
              err::CannotExecuteSelect);
    EXPECT_EQ(count(QStringLiteral("All Bids")), 5); // nothing above changed a row
}

TEST_F(DatabaseTest, PrimaryKeyAddedLaterIsUniqueAndNotNull)
{
    db->execute(QStringLiteral("CREATE TABLE [sysQueryBuilder] ([Txt5] TEXT(65), [Txt0] TEXT(255))"));
    db->execute(
        QStringLiteral("ALTER TABLE [sysQueryBuilder] ADD CONSTRAINT [Primary] PRIMARY KEY ([Txt5])"));
    db->execute(QStringLiteral("INSERT INTO [sysQueryBuilder] VALUES ('q1', 'a')"));
    EXPECT_EQ(
        errorOf([&] { db->execute(QStringLiteral("INSERT INTO [sysQueryBuilder] VALUES ('q1', 'b')")); }),
        err::DuplicateKey);
    EXPECT_EQ(
        errorOf([&] { db->execute(QStringLiteral("INSERT INTO [sysQueryBuilder] ([Txt0]) VALUES ('c')")); }),
        err::NullInKey);
    EXPECT_EQ(count(QStringLiteral("sysQueryBuilder")), 1);

    // A key over duplicates already there is refused and leaves no index behind.
    db->execute(QStringLiteral("CREATE TABLE [d] ([k] Text)"));
    db->execute(QStringLiteral("INSERT INTO [d] VALUES ('x')"));
    db->execute(QStringLiteral("INSERT INTO [d] VALUES ('x')"));
    EXPECT_EQ(errorOf([&] {
                  db->execute(QStringLiteral("ALTER TABLE [d] ADD CONSTRAINT [Primary] PRIMARY KEY ([k])"));
              }),
              err::DuplicateKey);
    db->execute(QStringLiteral("INSERT INTO [d] VALUES ('x')"));
}

TEST_F(DatabaseTest, MakeTableKeepsTypesAndRows)
{
    db->execute(
        QStringLiteral("SELECT [Round], [Bidder], [Bid Date], Count(*) AS [N] INTO [Per Bidder] FROM "
                       "[All Bids] WHERE [Round] BETWEEN 1 AND 2 GROUP BY [Round], [Bidder], [Bid Date] "
                       "ORDER BY [Round] DESC"));
    auto rs = db->openRecordset(QStringLiteral("[Per Bidder]"));
    EXPECT_EQ(rs->recordCount(), 4);
    EXPECT_EQ(rs->field(2).type, FieldType::Date);
    EXPECT_EQ(rs->field(3).type, FieldType::Integer);
    rs->moveFirst();
    EXPECT_EQ(rs->value(QStringLiteral("Bid Date")).toDate(), QDate(2026, 3, 3));
    EXPECT_EQ(db->tableNames().last(), QStringLiteral("Per Bidder"));
}

TEST_F(DatabaseTest, UsersExpressions)
{
    auto one = [&](const QString& expr) {
        auto rs = db->openRecordset(QStringLiteral("SELECT ") + expr +
                                    QStringLiteral(" AS [v] FROM [All Bids] WHERE [Round] = 3"));
        rs->moveFirst();
        return rs->value(0);
    };
    EXPECT_EQ(count(QStringLiteral("SELECT * FROM [All Bids] WHERE [Bidder] Like 'a*'")), 2);
    EXPECT_EQ(count(QStringLiteral("SELECT * FROM [All Bids] WHERE [Bidder] Like '?eta'")), 2);
    EXPECT_EQ(count(QStringLiteral("SELECT * FROM [All Bids] WHERE [Bidder] Not Like '*a'")), 0);
    EXPECT_EQ(count(QStringLiteral("SELECT * FROM [All Bids] WHERE [Bidder] = 'BETA'")), 2);
    EXPECT_EQ(count(QStringLiteral("SELECT * FROM [All Bids] WHERE [Round] IN (1, 3)")), 3);
    EXPECT_EQ(count(QStringLiteral("SELECT * FROM [All Bids] WHERE [Round] NOT IN (SELECT TOP 1 [Round] FROM "
                                   "[All Bids] ORDER BY [Round] DESC)")),
              4);
    EXPECT_EQ(count(QStringLiteral("SELECT DISTINCT [Bidder] FROM [All Bids]")), 3);
    EXPECT_EQ(count(QStringLiteral("SELECT * FROM [All Bids] WHERE [Bid Date] >= #3/3/2026#")), 3);
    EXPECT_EQ(one(QStringLiteral("IIf([Amount] > 400, 'big', 'small')")).toString(), QStringLiteral("big"));
    EXPECT_EQ(one(QStringLiteral("Left([Bidder], 2) & Right([Bidder], 1) & Mid([Bidder], 2, 2)")).toString(),
              QStringLiteral("Beaet"));
    EXPECT_EQ(one(QStringLiteral("Len([Bidder]) + Val('12abc')")).toInt(), 16);
    EXPECT_EQ(one(QStringLiteral("UCase([Bidder]) & LCase('X') & Trim('  y ')")).toString(),
              QStringLiteral("BETAxy"));
    EXPECT_EQ(one(QStringLiteral("Nz(NULL, 7) + CLng('2.5') + Int(2.7) + CDbl('0.5')")).toDouble(), 11.5);
    EXPECT_EQ(
        one(QStringLiteral("CStr([Round]) & '-' & Year([Bid Date]) & Month([Bid Date]) & Day([Bid Date])"))
            .toString(),
        QStringLiteral("3-202634"));
    EXPECT_EQ(one(QStringLiteral("Format([Bid Date], 'mm/dd/yyyy')")).toString(),
              QStringLiteral("03/04/2026"));
    EXPECT_EQ(one(QStringLiteral("Format(1234.5, '#,##0.00')")).toString(), QStringLiteral("1,234.50"));
    EXPECT_EQ(one(QStringLiteral("Sum([Amount])")).toDouble(), 410.0);
}

TEST_F(DatabaseTest, HeldTableCannotBeDroppedUntilReleased)
{
    db->execute(QStringLiteral("SELECT * INTO [Mine] FROM [All Bids]"));
    auto rs = db->openRecordset(QStringLiteral("SELECT m.[Bidder] FROM [Mine] m WHERE m.[Round] = 1"));
    EXPECT_EQ(rs->sourceTables(), QStringList{QStringLiteral("Mine")});
    {
        TableHold hold = rs->hold();
        EXPECT_EQ(errorOf([&] { db->execute(QStringLiteral("DROP TABLE [Mine]")); }), err::TableInUse);
        EXPECT_TRUE(db->tableExists(QStringLiteral("Mine")));
        TableHold second = rs->hold();
        second.release();
        EXPECT_EQ(errorOf([&] { db->execute(QStringLiteral("DROP TABLE [mine]")); }), err::TableInUse);
    }
    db->execute(QStringLiteral("DROP TABLE [Mine]"));
    EXPECT_FALSE(db->tableExists(QStringLiteral("Mine")));
}

TEST_F(DatabaseTest, InsertInCopiesRowsByNameIntoTheOpenTarget)
{
    auto round = Database::create(path(QStringLiteral("05_004.mdb")));
    round->execute(QStringLiteral("CREATE TABLE [All Bids] ([Bid Date] DATETIME, [Amount] Number, [Bidder] "
                                  "TEXT(20), [Round] Number)"));
    round->execute(QStringLiteral("INSERT INTO [All Bids] VALUES (#3/5/2026#, 5, 'Delta', 4)"));
    round->execute(QStringLiteral("INSERT INTO [All Bids] VALUES (#3/5/2026#, 6, 'Eps', 4)"));

    db->beginTrans();
    round->execute(QStringLiteral("INSERT INTO [All Bids] IN \"") + db->path() +
                   QStringLiteral("\" SELECT * FROM [All Bids]"));
    EXPECT_EQ(count(QStringLiteral("SELECT * FROM [All Bids] WHERE [Round] = 4 AND [Bidder] = 'Delta'")), 1);
    db->rollback(); // the copy belongs to the target's transaction
    EXPECT_EQ(count(QStringLiteral("SELECT * FROM [All Bids] WHERE [Round] = 4")), 0);

    round->execute(QStringLiteral("INSERT INTO [All Bids] IN \"") + db->path() +
                   QStringLiteral("\" SELECT * FROM [All Bids]"));
    EXPECT_EQ(count(QStringLiteral("SELECT * FROM [All Bids] WHERE [Round] = 4")), 2);

    // The same copy with the round file attached to the target's connection.
    round->close();
    round = Database::open(path(QStringLiteral("05_004.mdb")));
    db->attachSource(round->path());
    db->beginTrans();
    round->execute(QStringLiteral("INSERT INTO [All Bids] IN \"") + db->path() +
                   QStringLiteral("\" SELECT * FROM [All Bids]"));
    EXPECT_EQ(count(QStringLiteral("SELECT * FROM [All Bids] WHERE [Round] = 4 AND [Bidder] = 'Eps'")), 2);
    db->rollback();
    db->detachSource();
    EXPECT_EQ(count(QStringLiteral("SELECT * FROM [All Bids] WHERE [Round] = 4")), 2);

    round->execute(QStringLiteral("CREATE TABLE [Extra] ([Nope] Number)"));
    db->execute(QStringLiteral("CREATE TABLE [Extra] ([Round] Number)"));
    round->execute(QStringLiteral("INSERT INTO [Extra] VALUES (1)"));
    EXPECT_EQ(errorOf([&] {
                  round->execute(QStringLiteral("INSERT INTO [Extra] IN \"") + db->path() +
                                 QStringLiteral("\" SELECT * FROM [Extra]"));
              }),
              err::UnknownInsertField);
    EXPECT_EQ(errorOf([&] {
                  round->execute(QStringLiteral("INSERT INTO [Missing] IN \"") + db->path() +
                                 QStringLiteral("\" SELECT * FROM [Extra]"));
              }),
              err::TableNotFound);
}

TEST_F(DatabaseTest, TableDefinitionsInCreationOrderAndCompaction)
{
    db->execute(QStringLiteral("CREATE TABLE [sysRounds] ([Round] Number)"));
    db->execute(QStringLiteral("CREATE TABLE [Zeta] ([Round] Number)"));
    EXPECT_EQ(db->tableNames(),
              (QStringList{QStringLiteral("All Bids"), QStringLiteral("sysRounds"), QStringLiteral("Zeta")}));
    EXPECT_EQ(db->tableDefCount(), 3);
    EXPECT_EQ(db->tableDefName(1), QStringLiteral("sysRounds"));

    const QString source = db->path();
    db->close();
    const QString copy = path(QStringLiteral("REORG.MDB"));
    Database::compact(source, copy);
    auto compacted = Database::open(copy);
    EXPECT_EQ(compacted->openRecordset(QStringLiteral("All Bids"))->recordCount(), 5);
    EXPECT_EQ(compacted->tableNames().size(), 3);
    EXPECT_EQ(errorOf([&] { Database::compact(source, copy); }), err::DatabaseExists); // never overwrites
}

TEST_F(DatabaseTest, LikeListsRangesDigitsAndNegation)
{
    const auto bidders = [&](const char* pattern) {
        auto rs =
            db->openRecordset(QStringLiteral("SELECT [Bidder] FROM [All Bids] WHERE [Bidder] Like '") +
                              QString::fromUtf8(pattern) + QStringLiteral("' ORDER BY [Round], [Bidder]"));
        QStringList names;
        for (int row = 0; row < rs->recordCount(); ++row)
            names << rs->at(row, 0).toString();
        return names.join(QLatin1Char(','));
    };
    EXPECT_EQ(bidders("[!a]*"), QStringLiteral("Beta,Gamma,Beta"));
    EXPECT_EQ(bidders("[a-b]*"), QStringLiteral("Alpha,Beta,alpha,Beta"));
    EXPECT_EQ(bidders("[!a-b]*"), QStringLiteral("Gamma"));
    EXPECT_EQ(bidders("*[mp]?a"), QStringLiteral("Alpha,alpha,Gamma"));
    EXPECT_EQ(bidders("*a*a"), QStringLiteral("Alpha,alpha,Gamma"));
    EXPECT_EQ(bidders("[ab"), QString());
    EXPECT_EQ(
        count(QStringLiteral("SELECT * FROM [All Bids] WHERE 'R2D2' Like 'R#D#' AND 'R2DD' Not Like 'R#D#'")),
        5);
}

// Operands long enough that matching per * by recursion overflowed the stack,
// and a pattern that took exponential time, both answered at once.
TEST_F(DatabaseTest, LikeMatchesLongOperandsWithoutRecursion)
{
    const auto like = [&](const QString& text, const QString& pattern) {
        auto rs =
            db->openRecordset(QStringLiteral("SELECT IIf('") + text + QStringLiteral("' Like '") + pattern +
                              QStringLiteral("', 1, 0) AS [m] FROM [All Bids] WHERE [Round] = 3"));
        rs->moveFirst();
        return rs->value(0).toInt();
    };
    const QString as(20000, QLatin1Char('a'));
    EXPECT_EQ(like(as, QStringLiteral("*a").repeated(5000)), 1);
    EXPECT_EQ(like(as, QStringLiteral("*a").repeated(5000) + QStringLiteral("z")), 0);
    EXPECT_EQ(like(QString(60, QLatin1Char('a')), QStringLiteral("*a*a*a*a*a*a*a*a*z")), 0);
    EXPECT_EQ(like(QString(60, QLatin1Char('a')) + QStringLiteral("z"), QStringLiteral("*a*a*a*a*a*a*a*a*z")),
              1);
}

TEST_F(DatabaseTest, InsertInTheSameFileCopiesTheRowsOnce)
{
    db->execute(QStringLiteral("INSERT INTO [All Bids] IN \"") + db->path() +
                QStringLiteral("\" SELECT * FROM [All Bids]"));
    EXPECT_EQ(count(QStringLiteral("All Bids")), 10);
    db->execute(QStringLiteral("INSERT INTO [All Bids] IN \"") + db->path() +
                QStringLiteral("\" SELECT [Round], [Bidder] FROM [All Bids] WHERE [Round] = 3"));
    EXPECT_EQ(count(QStringLiteral("SELECT * FROM [All Bids] WHERE [Round] = 3")), 4);

    // A second connection to the same file as the source.
    auto again = Database::open(db->path());
    again->execute(QStringLiteral("INSERT INTO [All Bids] IN \"") + db->path() +
                   QStringLiteral("\" SELECT * FROM [All Bids] WHERE [Round] = 3"));
    EXPECT_EQ(count(QStringLiteral("SELECT * FROM [All Bids] WHERE [Round] = 3")), 8);
}

TEST_F(DatabaseTest, OperatorsAndConversionsGiveTheEnginesAnswers)
{
    auto one = [&](const QString& expr) {
        auto rs = db->openRecordset(QStringLiteral("SELECT ") + expr +
                                    QStringLiteral(" AS [v] FROM [All Bids] WHERE [Bidder] = 'Gamma'"));
        rs->moveFirst();
        return rs->value(0);
    };
    EXPECT_EQ(db->openRecordset(QStringLiteral("SELECT 7 Mod 3 AS [v]"))->value(0).toInt(), 1);
    EXPECT_EQ(one(QStringLiteral("-7 Mod 3")).toInt(), -1);
    // Gamma's Amount is Null; Nz gives a query a zero-length text for it.
    EXPECT_EQ(one(QStringLiteral("Nz([Amount]) & 'x'")).toString(), QStringLiteral("x"));
    EXPECT_EQ(one(QStringLiteral("Nz([Amount], 5)")).toInt(), 5);
    EXPECT_EQ(one(QStringLiteral("'a' & Null & [Amount] & 'b'")).toString(), QStringLiteral("ab"));
    EXPECT_TRUE(one(QStringLiteral("Null & [Amount]")).isNull());
    EXPECT_EQ(one(QStringLiteral("[Round] + 1 & [Bidder]")).toString(), QStringLiteral("3Gamma"));
    EXPECT_EQ(one(QStringLiteral("2.5 & '/' & 3")).toString(), QStringLiteral("2.5/3"));
    EXPECT_EQ(
        one(QStringLiteral("CInt(-32768.4) + CInt(32767.4) + CLng(2147483647) + CLng(2.5)")).toLongLong(),
        2147483648 - 1 - 1 + 2);
    EXPECT_EQ(one(QStringLiteral("Int(-2.5) & Fix(-2.5) & Int(9007199254740993)")).toString(),
              QStringLiteral("-3-29007199254740993"));

    for (const char* overflowing : {"CInt(32767.5)", "CInt(-32769)", "CLng(2147483648)", "CLng(-1e20)",
                                    "Int(1e19)", "Fix(-1e300)", "CLng('3000000000')"}) {
        SCOPED_TRACE(overflowing);
        try {
            one(QString::fromUtf8(overflowing));
            ADD_FAILURE() << "no overflow";
        } catch (const Error& e) {
            EXPECT_EQ(e.number(), err::Overflow);
            EXPECT_EQ(e.description(), QStringLiteral("Overflow"));
        }
    }
}

TEST_F(DatabaseTest, UnionTopDistinctRowAndTwoDigitYears)
{
    EXPECT_EQ(
        count(QStringLiteral("SELECT TOP 1 [Bidder] FROM [All Bids] ORDER BY [Amount] DESC UNION SELECT "
                             "[Bidder] FROM [All Bids] WHERE [Round] = 1")),
        2); // Beta (410) with Alpha and Beta of round 1: Beta once
    EXPECT_EQ(count(QStringLiteral("SELECT TOP 2 [Round] FROM [All Bids] ORDER BY [Round] UNION ALL SELECT "
                                   "[Round] FROM [All Bids]")),
              7);
    EXPECT_EQ(count(QStringLiteral("SELECT DISTINCTROW [Round] FROM [All Bids]")), 5);
    EXPECT_EQ(count(QStringLiteral("SELECT DISTINCT [Round] FROM [All Bids]")), 3);

    db->execute(QStringLiteral("INSERT INTO [All Bids] ([Round], [Bid Date]) VALUES (9, #6/30/05#)"));
    db->execute(QStringLiteral("INSERT INTO [All Bids] ([Round], [Bid Date]) VALUES (9, #6/30/31#)"));
    EXPECT_EQ(count(QStringLiteral("SELECT * FROM [All Bids] WHERE [Bid Date] = #6/30/2005#")), 1);
    EXPECT_EQ(count(QStringLiteral("SELECT * FROM [All Bids] WHERE [Bid Date] = #6/30/1931#")), 1);
    EXPECT_EQ(count(QStringLiteral("SELECT * FROM [All Bids] WHERE [Bid Date] > #12/31/04#")), 6);
    EXPECT_EQ(count(QStringLiteral("SELECT * FROM [All Bids] WHERE [Bid Date] < #1/1/30#")), 0);
}
