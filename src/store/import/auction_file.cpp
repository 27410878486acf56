#include "store/import/auction_file.h"

#include "common/error.h"
#include "common/process_state.h"
#include "store/connection.h"
#include "store/sqlite_statement.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QRegularExpression>
#include <QStringList>

#include <cerrno>
#include <cstdio>
#include <cstring>

namespace qv {

namespace {

bool anySibling(const QString& path)
{
    for (const QString& s : journalSiblings(path))
        if (QFileInfo::exists(s))
            return true;
    return false;
}

// Opens the old file once as the engine would, so that a journal left by a
// killed run is rolled back into it. False when the old file is held by
// another program.
bool settle(const QString& path)
{
    try {
        store::ConnectionSetup setup;
        setup.busyWait = std::chrono::seconds(5);
        const store::Connection db(path, setup);
        store::exec(db, QStringLiteral("SELECT count(*) FROM sqlite_master"));
    } catch (const Error& e) {
        // Held by another program (a lock on the file or on its tables);
        // any other failure is the new file's to meet.
        return e.number() != err::FileInUse && e.number() != err::TableInUse;
    }
    return true;
}

} // namespace

namespace {

QString ownName(const QString& kind, const QString& name)
{
    return QStringLiteral(".qv-") + kind + QLatin1Char('.') + name + QLatin1Char('.') +
           QString::number(QCoreApplication::applicationPid());
}

} // namespace

QString extractedRoundName(const QString& member)
{
    return ownName(QStringLiteral("round"), member);
}

QString buildingAuctionName(const QString& auctionName)
{
    return ownName(QStringLiteral("building"), auctionName);
}

void clearLeftoversOfEndedRuns(const QString& folder)
{
    // Our name with its maker's process, then perhaps -journal, -wal, -shm,
    // a save file's .XXXXXX or a partly written .part.
    static const QRegularExpression ours(QStringLiteral(
        "^\\.qv-(round|building)\\..+\\.mdb\\.(\\d+)(-journal|-wal|-shm|\\.part|\\.[A-Za-z0-9]{6})?$"));
    const QDir dir(folder);
    for (const QString& name : dir.entryList(QDir::Files | QDir::Hidden)) {
        const QRegularExpressionMatch m = ours.match(name);
        if (m.hasMatch() && processHasEnded(m.captured(2).toLongLong()))
            QFile::remove(dir.filePath(name));
    }
}

QStringList journalSiblings(const QString& databasePath)
{
    return {databasePath + QStringLiteral("-journal"), databasePath + QStringLiteral("-wal"),
            databasePath + QStringLiteral("-shm")};
}

void removeWithSiblings(const QString& databasePath)
{
    QFile::remove(databasePath);
    for (const QString& s : journalSiblings(databasePath))
        QFile::remove(s);
}

void moveDatabaseIntoPlace(const QString& built, const QString& target)
{
    if (QFileInfo::exists(target) && anySibling(target)) {
        if (!settle(target))
            throw Error(err::FileInUse,
                        QStringLiteral("The auction database '%1' is in use by another program: it "
                                       "cannot be replaced now. Close that program and try again.")
                            .arg(target));
        // Whatever the engine did not clear up belongs to a file that is
        // about to go; it must not outlive it.
        for (const QString& s : journalSiblings(target))
            if (QFileInfo::exists(s) && !QFile::remove(s))
                throw Error(err::PathFileAccess,
                            QStringLiteral("Path/File access error: cannot remove '%1', which would "
                                           "damage the new auction database.")
                                .arg(s));
    }
    // rename() replaces the target in one step: there is no moment without
    // an auction file.
    if (std::rename(QFile::encodeName(built).constData(), QFile::encodeName(target).constData()) != 0)
        throw Error(err::PathFileAccess,
                    QStringLiteral("Path/File access error: cannot move '%1' to '%2' (%3).")
                        .arg(built, target, QString::fromLocal8Bit(std::strerror(errno))));
}

} // namespace qv
