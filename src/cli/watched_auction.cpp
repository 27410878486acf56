#include "cli/watched_auction.h"

#include "cli/stop_signal.h"
#include "common/error.h"
#include "store/import/import_folder.h"
#include "store/session.h"

#include <QDir>
#include <QFile>

#include <cmath>
#include <sys/stat.h>

namespace qv::cli {

void WatchedAuction::ensureOpen()
{
    struct stat info = {};
    const bool present = ::stat(QFile::encodeName(path_).constData(), &info) == 0;
    const bool same = present && info.st_dev == device_ && info.st_ino == inode_;
    if (session().CurrentDatabase && session().CurrentDatabase->isOpen() && same)
        return;
    OpenAuctionDatabase(path_);
    device_ = present ? info.st_dev : 0;
    inode_ = present ? info.st_ino : 0;
    interruptTransactionOnStop(session().CurrentDatabase->handle());
}

QString WatchedAuction::expectedRoundFile(const QString& folder) const
{
    auto& db = *session().CurrentDatabase;
    auto rounds =
        db.openRecordset(QStringLiteral("SELECT TOP 1 [Round] FROM [sysRounds] ORDER BY [Round] DESC"));
    auto auction =
        db.openRecordset(QStringLiteral("SELECT [Auction ID] FROM [Round Statistics] WHERE [Round] = 1"));
    rounds->moveFirst();
    auction->moveFirst();
    const int highest = rounds->value(QStringLiteral("Round")).toInt();
    const QVariant id = auction->value(QStringLiteral("Auction ID"));
    bool numeric = false;
    const double number = id.toDouble(&numeric);
    const QString idText =
        numeric && number == std::floor(number)
            ? QStringLiteral("%1").arg(static_cast<qint64>(number), 2, 10, QLatin1Char('0'))
            : id.toString();
    return QDir(folder).filePath(idText + QLatin1Char('_') + roundDigits(highest + 1) +
                                 QStringLiteral(".zip"));
}

} // namespace qv::cli
