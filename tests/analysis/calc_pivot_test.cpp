// LibreOffice Calc opens our .xlsx and computes the pivot table itself: its
// result must be the one our pivot view shows.
#include "store/database.h"
#include "support/bid_auction.h"
#include "support/cli_run.h"
#include "support/temp_dir.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QMap>
#include <QStandardPaths>
#include <QUrl>

#include <gtest/gtest.h>

namespace qv::test {
namespace {

// Lines of cells without the empty lines and the empty cells at line ends.
QList<QStringList> cellLines(const QString& text)
{
    QList<QStringList> lines;
    for (const QString& line : text.split(QLatin1Char('\n'))) {
        QStringList cells = QString(line).remove(QLatin1Char('\r')).split(QLatin1Char('\t'));
        while (!cells.isEmpty() && cells.last().isEmpty())
            cells.removeLast();
        if (!cells.isEmpty())
            lines << cells;
    }
    return lines;
}

// Every sheet of the file as TAB-separated text, computed by Calc, by sheet name.
QMap<QString, QString> calcSheets(const QString& soffice, const TempDir& folder, const QString& xlsx)
{
    const QString filter =
        QStringLiteral("csv:Text - txt - csv (StarCalc):9,34,76,1,,0,false,true,false,false,false,-1");
    const QString profile = QUrl::fromLocalFile(folder.file(QStringLiteral("profile"))).toString();
    const QString out = folder.file(QStringLiteral("csv-") + QFileInfo(xlsx).completeBaseName());
    QProcess calc;
    calc.start(soffice, {QStringLiteral("-env:UserInstallation=") + profile, QStringLiteral("--headless"),
                         QStringLiteral("--convert-to"), filter, QStringLiteral("--outdir"), out, xlsx});
    calc.waitForFinished(180000);
    QMap<QString, QString> sheets;
    const QString prefix = QFileInfo(xlsx).completeBaseName() + QLatin1Char('-');
    for (const QFileInfo& file : QDir(out).entryInfoList({QStringLiteral("*.csv")})) {
        QFile csv(file.filePath());
        if (csv.open(QIODevice::ReadOnly))
            sheets.insert(file.completeBaseName().mid(prefix.size()), QString::fromUtf8(csv.readAll()));
    }
    return sheets;
}

QString sofficePath()
{
    return QStandardPaths::findExecutable(QStringLiteral("soffice"));
}

const char* const noCalc =
    "soffice is not installed (Debian package libreoffice-calc-nogui): the pivot table "
    "LibreOffice Calc computes from our .xlsx files is not checked";

// Our pivot of an analysis (its --tsv) against the one Calc computes from
// our .xlsx of it, line by line; the lines compared.
QList<QStringList> expectCalcAgrees(const QString& soffice, const TempDir& folder, const QString& db,
                                    const QString& name, const QStringList& arguments)
{
    const QString xlsx = folder.file(name + QStringLiteral(".xlsx"));
    const CliRun ours = runCli(QStringList{QStringLiteral("pivot"), db} + arguments +
                               QStringList{QStringLiteral("-o"), xlsx, QStringLiteral("--tsv")});
    EXPECT_EQ(ours.code, 0) << ours.out.toStdString();
    const QList<QStringList> expected = cellLines(ours.out);
    const QMap<QString, QString> sheets = calcSheets(soffice, folder, xlsx);
    const QList<QStringList> calc = cellLines(sheets.value(QStringLiteral("Sheet2")));
    EXPECT_FALSE(calc.isEmpty()) << name.toStdString() << ": Calc wrote no pivot sheet";
    EXPECT_EQ(calc.size(), expected.size()) << name.toStdString();
    for (qsizetype i = 0; i < std::min(calc.size(), expected.size()); ++i)
        EXPECT_EQ(calc[i], expected[i]) << name.toStdString() << " line " << i;
    // The data sheet comes back as written: the header and one line a bid.
    const QList<QStringList> sheet1 = cellLines(sheets.value(QStringLiteral("Sheet1")));
    EXPECT_EQ(sheet1.value(0).value(0), QStringLiteral("Auction ID"));
    return expected;
}

TEST(CalcPivot, CalcComputesThePivotTableWeShow)
{
    const QString soffice = sofficePath();
    if (soffice.isEmpty())
        GTEST_SKIP() << noCalc;
    TempDir folder;
    const QString rounds = folder.file(QStringLiteral("rounds"));
    ASSERT_EQ(runCli({QStringLiteral("sample"), rounds, QStringLiteral("--rounds"), QStringLiteral("6"),
                      QStringLiteral("--licenses"), QStringLiteral("24"), QStringLiteral("--bidders"),
                      QStringLiteral("6")})
                  .code,
              0);
    const QString app = folder.file(QStringLiteral("app"));
    ASSERT_EQ(runCli({QStringLiteral("--app-dir"), app, QStringLiteral("--yes"), QStringLiteral("batch"),
                      rounds + QStringLiteral("/05_001.zip")})
                  .code,
              0);
    const QString db = app + QStringLiteral("/Auction5.mdb");
    EXPECT_GT(expectCalcAgrees(soffice, folder, db, QStringLiteral("rounds"),
                               {QStringLiteral("rounds"), QStringLiteral("--from"), QStringLiteral("1"),
                                QStringLiteral("--to"), QStringLiteral("6")})
                  .size(),
              8);
    EXPECT_GT(expectCalcAgrees(soffice, folder, db, QStringLiteral("bidders"),
                               {QStringLiteral("bidders"), QStringLiteral("--from"), QStringLiteral("2"),
                                QStringLiteral("--to"), QStringLiteral("5"), QStringLiteral("--net")})
                  .size(),
              8);
}

// Names that differ only in letter case or in composed and decomposed
// accents are one bidder to Calc, as to the database engine; names with
// control characters and with what reads as the file's own escape come back
// as they were; a sum of a quadrillion keeps its digits.
TEST(CalcPivot, CalcGroupsAndReadsNamesAsWeDo)
{
    const QString soffice = sofficePath();
    if (soffice.isEmpty())
        GTEST_SKIP() << noCalc;
    TempDir folder;
    const QString db = makeBidAuction(folder.path());
    {
        auto auction = store::Database::open(db);
        // The bids of makeBidAuction, each found by what sets it apart.
        const struct {
            const char* bid;
            QString set;
        } changes[] = {
            {"[Round] = 1 AND [License Name] = 'B-2'", QStringLiteral("[Bidder] = 'Bell\x01"
                                                                      "Co'")},
            {"[Round] = 3 AND [License Name] = 'B-2'", QStringLiteral("[Bidder] = 'Bell\x1f"
                                                                      "Co'")},
            {"[Round] = 1 AND [License Name] = 'A-1'", QStringLiteral("[Bidder] = 'Lit_x0041_eral '")},
            {"[Round] = 2 AND [Increments of Bid] = 2", QStringLiteral("[Bidder] = 'Cafe\u0301 Mobile'")},
            {"[Round] = 4 AND [License Name] = 'A-1'", QStringLiteral("[Bidder] = 'CAF\u00c9 MOBILE'")},
            // Two bids in one cell once KESTREL is Kestrel.
            {"[Round] = 2 AND [Gross Bid Amount] = 1100",
             QStringLiteral("[Gross Bid Amount] = 629500000000000")},
            {"[Round] = 2 AND [Gross Bid Amount] = 1150",
             QStringLiteral("[Bidder] = 'KESTREL', [Gross Bid Amount] = 629500000000000")},
        };
        for (const auto& c : changes)
            auction->execute(QStringLiteral("UPDATE [All Bids] SET ") + c.set + QStringLiteral(" WHERE ") +
                             QLatin1String(c.bid));
    }
    const QList<QStringList> lines =
        expectCalcAgrees(soffice, folder, db, QStringLiteral("names"),
                         {QStringLiteral("rounds"), QStringLiteral("--from"), QStringLiteral("1"),
                          QStringLiteral("--to"), QStringLiteral("4")});
    // Line 5 names the bidders where their groups begin.
    ASSERT_GT(lines.size(), 7);
    const QStringList bidders = lines[5];
    EXPECT_EQ(bidders.count(QStringLiteral("Kestrel")), 1) << bidders.join(QLatin1Char('|')).toStdString();
    EXPECT_FALSE(bidders.contains(QStringLiteral("KESTREL")));
    EXPECT_TRUE(bidders.contains(QStringLiteral("Bell\x01"
                                                "Co")));
    EXPECT_TRUE(bidders.contains(QStringLiteral("Bell\x1f"
                                                "Co")));
    EXPECT_TRUE(bidders.contains(QStringLiteral("Lit_x0041_eral ")));
    EXPECT_EQ(bidders.count(QStringLiteral("Caf\u00e9 Mobile")), 1);
    bool sum = false;
    for (const QStringList& line : lines)
        sum = sum || line.contains(QStringLiteral("1259000000000000"));
    EXPECT_TRUE(sum);
}

} // namespace
} // namespace qv::test
