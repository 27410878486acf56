// Saved SQL queries: the statement each builds, where it is stored, and how a
// run replaces the table it builds.
#include "common/error.h"
#include "query/core/saved_queries.h"
#include "query/core/sql_query.h"
#include "store/auction_schema.h"
#include "store/database.h"
#include "support/statement_column.h"
#include "support/temp_dir.h"

#include <gtest/gtest.h>

using qv::query::SqlQuery;
namespace schema = qv::store::schema;

namespace {

SqlQuery query(const char* select, const QString& into, const char* from, const char* where = "",
               const char* order = "")
{
    return SqlQuery{QStringLiteral("q"),     QString::fromUtf8(select), into,
                    QString::fromUtf8(from), QString::fromUtf8(where),  QString::fromUtf8(order)};
}

SqlQuery query(const char* select, const char* into, const char* from, const char* where = "",
               const char* order = "")
{
    return query(select, QString::fromUtf8(into), from, where, order);
}

class SqlQueries : public ::testing::Test {
protected:
    void open(schema::QueryBuilderLayout layout)
    {
        db_ = qv::store::Database::create(dir_.file(QStringLiteral("Auction5.mdb")));
        db_->beginTrans();
        db_->execute(schema::CreateSuppliedTables);
        db_->execute(schema::insertSuppliedTable(QStringLiteral("All Bids")));
        for (const QString& statement : schema::systemTableStatements(5, layout))
            db_->execute(statement);
        db_->execute(
            QStringLiteral("CREATE TABLE [All Bids] ([Round] Number, [Bidder] Text, [Gross Bid Amount] "
                           "Number)"));
        db_->execute(QStringLiteral("INSERT INTO [All Bids] VALUES (1, 'Heron', 50000)"));
        db_->execute(QStringLiteral("INSERT INTO [All Bids] VALUES (1, 'Kestrel', 250000)"));
        db_->execute(QStringLiteral("INSERT INTO [All Bids] VALUES (2, 'Osprey', 150000)"));
        db_->commitTrans();
    }
    void SetUp() override { open(schema::QueryBuilderLayout::Single); }

    QStringList column(const QString& statement) { return qv::test::statementColumn(*db_, statement); }
    int listedTimes(const QString& name)
    {
        return static_cast<int>(column(QStringLiteral("SELECT [TableName] FROM [sysTables]")).count(name));
    }

    qv::test::TempDir dir_;
    qv::store::DatabasePtr db_;
};

} // namespace

TEST(SqlQueryStatement, ClausesKeywordsAndTheClosingSemicolon)
{
    using qv::query::sqlQueryStatement;
    EXPECT_EQ(sqlQueryStatement(query("*", "[T]", "[All Bids]")),
              QStringLiteral("SELECT * INTO [T] FROM [All Bids];"));
    EXPECT_EQ(sqlQueryStatement(query("[Bidder]", "T", "[All Bids]", "[Round] = 1")),
              QStringLiteral("SELECT [Bidder] INTO T FROM [All Bids] WHERE [Round] = 1;"));
    // An ordering without a condition gets no WHERE.
    EXPECT_EQ(sqlQueryStatement(query("*", "T", "[All Bids]", "", "[Bidder] DESC")),
              QStringLiteral("SELECT * INTO T FROM [All Bids] ORDER BY [Bidder] DESC;"));
    EXPECT_EQ(sqlQueryStatement(query("*", "T", "[All Bids]", "[Round] = 1", "[Bidder]")),
              QStringLiteral("SELECT * INTO T FROM [All Bids] WHERE [Round] = 1 ORDER BY [Bidder];"));
    // A closing ";" typed in the last box is not doubled.
    EXPECT_EQ(sqlQueryStatement(query("*", "T", "[All Bids]", "", "[Bidder];")),
              QStringLiteral("SELECT * INTO T FROM [All Bids] ORDER BY [Bidder];"));
    EXPECT_EQ(sqlQueryStatement(query("*", "T", "[All Bids];")),
              QStringLiteral("SELECT * INTO T FROM [All Bids];"));
}

TEST(SqlQueryStatement, ListedNamesOfIntoTexts)
{
    using qv::store::schema::listedTableName;
    EXPECT_EQ(listedTableName(QStringLiteral("  [Top Bidders] ")), QStringLiteral("Top Bidders"));
    EXPECT_EQ(listedTableName(QStringLiteral("Leaders")), QStringLiteral("Leaders"));
}

// Which Into texts a saved query may have: one name, and none of the tables
// of the round results files, the program's or the engine's. A refused one
// is refused when saved and when run, and nothing is dropped.
TEST_F(SqlQueries, AnIntoMustBeOneNameOfATableTheUserMayBuild)
{
    db_->execute(QStringLiteral("CREATE TABLE [Top] ([Bidder] Text)"));
    const struct {
        const char* into;
        int refusal; // 0: accepted
    } cases[] = {
        {"Leaders", 0},
        {" [Top Bidders] ", 0},
        {"Round_2$", 0},
        {"Systematic", 0}, // only sys... names are the program's
        {"Top Bids", qv::err::InvalidName},
        {"[x] junk", qv::err::InvalidName},
        {"[Top]]", qv::err::InvalidName},
        {"Top-Bids", qv::err::InvalidName},
        {"[]", qv::err::InvalidName},
        {"[All Bids]", qv::err::NoPermission},
        {"[ALL BIDS]", qv::err::NoPermission},
        {"sysRounds", qv::err::NoPermission},
        {"SYSROUNDS", qv::err::NoPermission}, // the engine reaches sysRounds
        {"sysNew", qv::err::NoPermission},
        {"sqlite_master", qv::err::NoPermission},
        {"[SQLite_x]", qv::err::NoPermission},
        {"MSysObjects", qv::err::NoPermission},
    };
    qv::query::SavedQueries saved(*db_);
    for (const auto& c : cases) {
        const QString into = QString::fromUtf8(c.into);
        SCOPED_TRACE(c.into);
        SqlQuery q = query("[Bidder]", into, "[All Bids]");
        q.name = into;
        const QString listed = schema::listedTableName(into);
        try {
            saved.add(q);
            EXPECT_EQ(c.refusal, 0);
            EXPECT_EQ(qv::query::runSqlQuery(*db_, q), listed);
            EXPECT_EQ(column(QStringLiteral("SELECT [Bidder] FROM [") + listed + QLatin1Char(']')).size(), 3);
        } catch (const qv::Error& e) {
            EXPECT_EQ(e.number(), c.refusal) << e.description().toStdString();
            if (c.refusal != qv::err::InvalidName) {
                EXPECT_TRUE(e.description().contains(QLatin1Char('\'') + listed + QLatin1Char('\'')))
                    << e.description().toStdString();
            }
            EXPECT_THROW(qv::query::runSqlQuery(*db_, q), qv::Error);
            EXPECT_FALSE(saved.find(into).has_value());
        }
    }
    EXPECT_EQ(column(QStringLiteral("SELECT [Bidder] FROM [All Bids]")).size(), 3);
    EXPECT_EQ(column(QStringLiteral("SELECT [Round] FROM [sysRounds]")), QStringList{QStringLiteral("1")});
    EXPECT_EQ(column(QStringLiteral("SELECT [Bidder] FROM [Top]")), QStringList());
    EXPECT_FALSE(db_->tableExists(QStringLiteral("sysNew")));
}

// A run that fails leaves the table it built before, and its listing, as they were.
TEST_F(SqlQueries, AFailedRunKeepsTheEarlierTable)
{
    SqlQuery tenth = query("[Bidder], CInt([Gross Bid Amount] / 10) AS [Tenth]", "[Tenths]", "[All Bids]");
    qv::query::runSqlQuery(*db_, tenth);
    const QStringList before = column(QStringLiteral("SELECT [Tenth] FROM [Tenths]"));
    ASSERT_EQ(before.size(), 3);
    // One row that overflows CInt, then a column that does not exist.
    db_->execute(QStringLiteral("INSERT INTO [All Bids] VALUES (3, 'Heron', 400000)"));
    EXPECT_THROW(qv::query::runSqlQuery(*db_, tenth), qv::Error);
    tenth.select = QStringLiteral("[Nope]");
    EXPECT_THROW(qv::query::runSqlQuery(*db_, tenth), qv::Error);
    EXPECT_EQ(column(QStringLiteral("SELECT [Tenth] FROM [Tenths]")), before);
    EXPECT_EQ(listedTimes(QStringLiteral("Tenths")), 1);
    // A query may read the table it replaces.
    tenth.select = QStringLiteral("[Bidder], [Tenth] * 2 AS [Tenth]");
    tenth.from = QStringLiteral("[Tenths]");
    qv::query::runSqlQuery(*db_, tenth);
    EXPECT_EQ(column(QStringLiteral("SELECT [Tenth] FROM [Tenths]")).first(),
              QString::number(before.first().toInt() * 2));
}

TEST_F(SqlQueries, ARunBuildsListsOnceAndReplacesTheTable)
{
    const SqlQuery top = query("[Bidder], [Gross Bid Amount]", "[Top Bids]", "[All Bids]",
                               "[Gross Bid Amount] > 100000", "[Gross Bid Amount] DESC");
    EXPECT_EQ(qv::query::runSqlQuery(*db_, top), QStringLiteral("Top Bids"));
    EXPECT_EQ(column(QStringLiteral("SELECT [Bidder] FROM [Top Bids]")),
              (QStringList{QStringLiteral("Kestrel"), QStringLiteral("Osprey")}));
    EXPECT_EQ(listedTimes(QStringLiteral("Top Bids")), 1);

    // Run again after new rows: the table is replaced, listed once.
    db_->execute(QStringLiteral("INSERT INTO [All Bids] VALUES (3, 'Heron', 400000)"));
    EXPECT_EQ(qv::query::runSqlQuery(*db_, top), QStringLiteral("Top Bids"));
    EXPECT_EQ(column(QStringLiteral("SELECT [Bidder] FROM [Top Bids]")).first(), QStringLiteral("Heron"));
    EXPECT_EQ(listedTimes(QStringLiteral("Top Bids")), 1);

    // An Into name with blanks and an apostrophe.
    const SqlQuery bob = query("*", "[Bob's Bids]", "[All Bids]", "[Bidder] = 'Heron'");
    EXPECT_EQ(qv::query::runSqlQuery(*db_, bob), QStringLiteral("Bob's Bids"));
    EXPECT_EQ(qv::query::runSqlQuery(*db_, bob), QStringLiteral("Bob's Bids"));
    EXPECT_EQ(listedTimes(QStringLiteral("Bob's Bids")), 1);
}

// The wizard's run and the rebuild after an import build alike: a table an
// older version listed twice is listed once afterwards.
TEST_F(SqlQueries, ARunListsATableListedTwiceOnce)
{
    for (int i = 0; i < 2; ++i)
        db_->execute(QStringLiteral("INSERT INTO [sysTables] (TableName) VALUES ('Top Bids')"));
    qv::query::runSqlQuery(*db_, query("*", "[Top Bids]", "[All Bids]"));
    EXPECT_EQ(listedTimes(QStringLiteral("Top Bids")), 1);
}

TEST_F(SqlQueries, ATableOnShowIsLetGoBeforeItIsDropped)
{
    const SqlQuery top = query("*", "[Top Bids]", "[All Bids]");
    qv::query::runSqlQuery(*db_, top);
    // A window shows the table: it holds it until it switches away.
    auto shown = std::make_unique<qv::store::TableHold>(db_->holdTables({QStringLiteral("Top Bids")}));
    int switches = 0;
    qv::query::ShownTable window{[](const QString& into) { return into == QLatin1String("Top Bids"); },
                                 [&] {
                                     ++switches;
                                     shown.reset();
                                 }};
    EXPECT_EQ(qv::query::runSqlQuery(*db_, top, window), QStringLiteral("Top Bids"));
    EXPECT_EQ(switches, 1);

    // Held elsewhere (another window): the drop fails and is reported.
    auto elsewhere = db_->holdTables({QStringLiteral("Top Bids")});
    try {
        qv::query::runSqlQuery(*db_, top, window);
        FAIL() << "a table in use must be reported";
    } catch (const qv::Error& e) {
        EXPECT_EQ(e.number(), qv::err::TableInUse);
    }
    EXPECT_TRUE(db_->tableExists(QStringLiteral("Top Bids")));
}

TEST_F(SqlQueries, ARejectedStatementRecordsNothing)
{
    EXPECT_THROW(qv::query::runSqlQuery(*db_, query("[Nope]", "[Bad]", "[All Bids]")), qv::Error);
    EXPECT_EQ(listedTimes(QStringLiteral("Bad")), 0);
}

TEST_F(SqlQueries, SavedQueriesKeepTextsAsTypedAndRefuseTooLongOnes)
{
    qv::query::SavedQueries saved(*db_);
    SqlQuery top = query("[Bidder]", "[Top Bids]", "[All Bids]", "[Bidder] <> 'O''Neil'");
    top.name = QStringLiteral("Top's");
    // Another saved query, which no change to this one touches.
    SqlQuery other = query("[Round]", "", "[Markets]", "", "[Round] DESC");
    other.name = QStringLiteral("Other");
    saved.add(other);
    saved.add(top);
    EXPECT_THROW(saved.add(top), qv::Error); // the name is the key
    saved.setClause(QStringLiteral("Top's"), 4, QStringLiteral("[Bidder]"));
    auto found = saved.find(QStringLiteral("Top's"));
    ASSERT_TRUE(found.has_value());
    EXPECT_EQ(found->where, QStringLiteral("[Bidder] <> 'O''Neil'"));
    EXPECT_EQ(found->order, QStringLiteral("[Bidder]"));
    saved.setClause(QStringLiteral("Top's"), 5, QStringLiteral("Top"));
    EXPECT_FALSE(saved.find(QStringLiteral("Top's")).has_value());

    // Single-created: names up to 255, clauses long, Into at most 65.
    saved.setClause(QStringLiteral("Top"), 0, QString(1000, QLatin1Char('x')));
    try {
        saved.setClause(QStringLiteral("Top"), 1, QString(66, QLatin1Char('x')));
        FAIL() << "an Into text over 65 characters must be refused";
    } catch (const qv::Error& e) {
        EXPECT_EQ(e.number(), qv::err::FieldTooSmall);
    }
    EXPECT_EQ(saved.find(QStringLiteral("Top"))->into, QStringLiteral("[Top Bids]"));
    saved.remove(QStringLiteral("Top"));
    const QList<SqlQuery> left = saved.all();
    ASSERT_EQ(left.size(), 1);
    EXPECT_EQ(left.front().name, QStringLiteral("Other"));
    EXPECT_EQ(left.front().select, QStringLiteral("[Round]"));
    EXPECT_EQ(left.front().order, QStringLiteral("[Round] DESC"));
}

TEST_F(SqlQueries, BatchCreatedAuctionsKeepShorterTexts)
{
    db_.reset();
    QFile::remove(dir_.file(QStringLiteral("Auction5.mdb")));
    open(schema::QueryBuilderLayout::Batch);
    qv::query::SavedQueries saved(*db_);
    SqlQuery q = query("*", QString(255, QLatin1Char('i')), "[All Bids]");
    q.name = QString(65, QLatin1Char('n'));
    saved.add(q);
    q.name = QString(66, QLatin1Char('n'));
    EXPECT_THROW(saved.add(q), qv::Error);
    EXPECT_THROW(saved.setClause(QString(65, QLatin1Char('n')), 0, QString(256, QLatin1Char('s'))),
                 qv::Error);
    EXPECT_EQ(saved.all().size(), 1);
}
