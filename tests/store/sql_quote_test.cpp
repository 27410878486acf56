// Names and texts reach statements only through the store's quoting: none can
// end its name or its text early, and each reads back as itself.
#include "common/error.h"
#include "store/database.h"
#include "store/sql_quote.h"

#include <QTemporaryDir>

#include <gtest/gtest.h>

#include "support/error_number.h"
#include "support/qt_printers.h"

using namespace qv;
using namespace qv::store;
using qv::test::errorOf;

TEST(SqlQuoteTest, EachQuoteDoublesOnlyItsOwnClosingCharacter)
{
    const struct {
        QString raw, bracketed, sqlite, text;
    } cases[] = {
        {QStringLiteral("Top Bids"), QStringLiteral("[Top Bids]"), QStringLiteral("\"Top Bids\""),
         QStringLiteral("'Top Bids'")},
        {QStringLiteral("Bob's Bids"), QStringLiteral("[Bob's Bids]"), QStringLiteral("\"Bob's Bids\""),
         QStringLiteral("'Bob''s Bids'")},
        {QStringLiteral("a]b]"), QStringLiteral("[a]]b]]]"), QStringLiteral("\"a]b]\""),
         QStringLiteral("'a]b]'")},
        {QStringLiteral("[x"), QStringLiteral("[[x]"), QStringLiteral("\"[x\""), QStringLiteral("'[x'")},
        {QStringLiteral("say \"hi\""), QStringLiteral("[say \"hi\"]"), QStringLiteral("\"say \"\"hi\"\"\""),
         QStringLiteral("'say \"hi\"'")},
        {QString(), QStringLiteral("[]"), QStringLiteral("\"\""), QStringLiteral("''")},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(bracketName(c.raw), c.bracketed) << c.raw.toStdString();
        EXPECT_EQ(quoteName(c.raw), c.sqlite) << c.raw.toStdString();
        EXPECT_EQ(quoteText(c.raw), c.text) << c.raw.toStdString();
    }
    EXPECT_EQ(quoteText(QStringLiteral("O'Hare \"Jr\""), QLatin1Char('"')),
              QStringLiteral("\"O'Hare \"\"Jr\"\"\""));
}

TEST(SqlQuoteTest, TheDialectReadsQuotedNamesAndTextsBack)
{
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    const DatabasePtr db = Database::create(dir.filePath(QStringLiteral("Auction5.mdb")));
    const QString bidder = QStringLiteral("O'Hare \"Jr\"");
    for (const QString& name : {QStringLiteral("Bob's ]Bids]"), QStringLiteral("say \"hi\"")}) {
        const QString table = bracketName(name);
        db->execute(QStringLiteral("CREATE TABLE ") + table + QStringLiteral(" ([Bidder] TEXT(20))"));
        EXPECT_TRUE(db->tableExists(name)) << name.toStdString();
        for (const QString& value : {bidder, QStringLiteral("O'Hare")})
            db->execute(QStringLiteral("INSERT INTO ") + table + QStringLiteral(" ([Bidder]) VALUES (") +
                        quoteText(value) + QLatin1Char(')'));
        for (const QChar quote : {QLatin1Char('\''), QLatin1Char('"')}) {
            auto rows = db->openRecordset(QStringLiteral("SELECT [Bidder] FROM ") + table +
                                          QStringLiteral(" WHERE [Bidder] = ") + quoteText(bidder, quote));
            ASSERT_EQ(rows->recordCount(), 1) << name.toStdString();
            EXPECT_EQ(rows->value(0).toString(), bidder);
        }
    }
    // The dialect has no way to write an opening bracket inside a name: it
    // refuses the name rather than reading another.
    EXPECT_EQ(errorOf([&] {
                  db->openRecordset(QStringLiteral("SELECT * FROM ") + bracketName(QStringLiteral("a[b")));
              }),
              err::SyntaxError);
}
