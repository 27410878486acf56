#include "cli/watched_auction.h"

#include "cli/stop_signal.h"
#include "common/error.h"
#include "store/import/import_folder.h"
#include "store/session.h"

#include <QDir>
#include <QFile>

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
    return QDir(folder).filePath(nextRoundFileBaseName());
}

} // namespace qv::cli
