// LibreOffice Calc opens our .xlsx and computes the pivot table itself: its
// result must be the one our pivot view shows.
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

TEST(CalcPivot, CalcComputesThePivotTableWeShow)
{
    const QString soffice = QStandardPaths::findExecutable(QStringLiteral("soffice"));
    if (soffice.isEmpty())
        GTEST_SKIP() << "soffice is not installed (Debian package libreoffice-calc-nogui): the pivot table "
                        "LibreOffice Calc computes from our .xlsx files is not checked";
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

    const struct {
        const char* name;
        QStringList arguments;
    } analyses[] = {
        {"rounds",
         {QStringLiteral("rounds"), QStringLiteral("--from"), QStringLiteral("1"), QStringLiteral("--to"),
          QStringLiteral("6")}},
        {"bidders",
         {QStringLiteral("bidders"), QStringLiteral("--from"), QStringLiteral("2"), QStringLiteral("--to"),
          QStringLiteral("5"), QStringLiteral("--net")}},
    };
    for (const auto& analysis : analyses) {
        const QString xlsx = folder.file(QLatin1String(analysis.name) + QStringLiteral(".xlsx"));
        const CliRun ours = runCli(QStringList{QStringLiteral("pivot"), db} + analysis.arguments +
                                   QStringList{QStringLiteral("-o"), xlsx, QStringLiteral("--tsv")});
        ASSERT_EQ(ours.code, 0) << ours.out.toStdString();
        const QList<QStringList> expected = cellLines(ours.out);
        ASSERT_GT(expected.size(), 8);
        const QMap<QString, QString> sheets = calcSheets(soffice, folder, xlsx);
        const QList<QStringList> calc = cellLines(sheets.value(QStringLiteral("Sheet2")));
        ASSERT_FALSE(calc.isEmpty()) << analysis.name << ": Calc wrote no pivot sheet";
        EXPECT_EQ(calc.size(), expected.size()) << analysis.name;
        for (qsizetype i = 0; i < std::min(calc.size(), expected.size()); ++i)
            EXPECT_EQ(calc[i], expected[i]) << analysis.name << " line " << i;
        // The data sheet comes back as written: the header and one line a bid.
        const QList<QStringList> sheet1 = cellLines(sheets.value(QStringLiteral("Sheet1")));
        ASSERT_FALSE(sheet1.isEmpty());
        EXPECT_EQ(sheet1.first().first(), QStringLiteral("Auction ID"));
    }
}

} // namespace
} // namespace qv::test
