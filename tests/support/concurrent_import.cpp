#include "support/concurrent_import.h"

#include "store/database.h"

#include <QDir>
#include <QFileInfo>
#include <QThread>

namespace qv::test {

int runCli(const QStringList& args, QString* output)
{
    QProcess process;
    process.start(QStringLiteral(QV_CLI_PATH), args);
    process.waitForFinished(120000);
    if (output != nullptr)
        *output = QString::fromUtf8(process.readAllStandardOutput() + process.readAllStandardError());
    return process.exitStatus() == QProcess::NormalExit ? process.exitCode() : -1;
}

QString GeneratedAuction::roundFile(int round) const
{
    return QDir(filesDir).filePath(QStringLiteral("07_%1.zip").arg(round, 3, 10, QLatin1Char('0')));
}

GeneratedAuction makeGeneratedAuction(const QString& folder, int rounds)
{
    GeneratedAuction auction;
    auction.appDir = QDir(folder).filePath(QStringLiteral("app"));
    auction.filesDir = QDir(folder).filePath(QStringLiteral("files"));
    auction.path = QDir(auction.appDir).filePath(QStringLiteral("Auction7.mdb"));
    QDir().mkpath(auction.appDir);
    QDir().mkpath(auction.filesDir);
    runCli({QStringLiteral("sample"), auction.filesDir, QStringLiteral("--auction"), QStringLiteral("7"),
            QStringLiteral("--rounds"), QString::number(rounds), QStringLiteral("--licenses"),
            QStringLiteral("1500"), QStringLiteral("--bidders"), QStringLiteral("150")});
    runCli({QStringLiteral("--app-dir"), auction.appDir, QStringLiteral("create"), auction.roundFile(1)});
    return auction;
}

ImportingProcess::ImportingProcess(const GeneratedAuction& auction, int round)
    : journal_(auction.path + QStringLiteral("-journal"))
{
    process_.start(QStringLiteral(QV_CLI_PATH),
                   {QStringLiteral("--app-dir"), auction.appDir, QStringLiteral("import"), auction.path,
                    auction.roundFile(round)});
    process_.waitForStarted();
}

ImportingProcess::~ImportingProcess()
{
    if (process_.state() != QProcess::NotRunning) {
        process_.kill();
        process_.waitForFinished();
    }
}

bool ImportingProcess::waitUntilWriting()
{
    while (process_.state() != QProcess::NotRunning) {
        if (QFileInfo::exists(journal_))
            return true;
        QThread::usleep(200);
        // Keeps the process's state current without an event loop.
        process_.waitForFinished(0);
    }
    return false;
}

int ImportingProcess::finish()
{
    if (!process_.waitForFinished(120000))
        return -1;
    output_ = QString::fromUtf8(process_.readAllStandardOutput() + process_.readAllStandardError());
    return process_.exitStatus() == QProcess::NormalExit ? process_.exitCode() : -1;
}

QList<int> roundsOf(const QString& auctionPath)
{
    auto db = store::Database::open(auctionPath);
    QList<int> rounds;
    auto rows = db->openRecordset(QStringLiteral("SELECT [Round] FROM [sysRounds] ORDER BY [Round]"));
    for (; !rows->eof(); rows->moveNext())
        rounds << rows->value(0).toInt();
    return rounds;
}

int rowCount(const QString& databasePath, const QString& table, const QString& where)
{
    auto db = store::Database::open(databasePath);
    auto rows =
        db->openRecordset(QStringLiteral("SELECT Count(*) AS [N] FROM [") + table + QStringLiteral("]") +
                          (where.isEmpty() ? QString() : QStringLiteral(" WHERE ") + where));
    return rows->value(0).toInt();
}

} // namespace qv::test
