#include "store/import/round_archive.h"

#include "common/error.h"
#include "common/file_failure.h"
#include "common/paths.h"
#include "common/zip_library.h"
#include "store/import/auction_file.h"

#include <QFile>
#include <QFileInfo>
#include <QSaveFile>
#include <QStorageInfo>

#include <sys/statvfs.h>

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <memory>

namespace qv {

namespace {

struct FileCloser {
    void operator()(zip_file_t* f) const { zipLibrary().zip_fclose(f); }
};

QString baseName(const QString& stored)
{
    QString name = stored;
    name.replace(QLatin1Char('\\'), QLatin1Char('/'));
    return name.mid(name.lastIndexOf(QLatin1Char('/')) + 1);
}

// Why a member cannot be read: an unsupported compression method or
// encryption is named as such, anything else is damage.
QString unreadableMember(zip_t* zip, const QString& archive, const QString& member)
{
    const int why = zipLibrary().zip_error_code_zip(zipLibrary().zip_get_error(zip));
    if (why == ZIP_ER_COMPNOTSUPP)
        return QStringLiteral("The round results file '%1' holds %2 compressed with a method this program "
                              "cannot read; extract it with another tool and zip it again.")
            .arg(archive, member);
    if (why == ZIP_ER_ENCRNOTSUPP || why == ZIP_ER_NOPASSWD || why == ZIP_ER_WRONGPASSWD)
        return QStringLiteral("The round results file '%1' holds %2 encrypted; it cannot be read.")
            .arg(archive, member);
    return QStringLiteral("The round results file '%1' is damaged: %2 cannot be read.").arg(archive, member);
}

// A missing folder is "path not found" (creation makes it and tries again);
// a folder that exists but cannot be written is said as such.
void requireWritableFolder(const QString& folder, const QString& target)
{
    const QFileInfo info(folder);
    if (!info.exists())
        throw Error(err::PathNotFound, QStringLiteral("Path not found: cannot write '%1'.").arg(target));
    if (!info.isDir())
        throw Error(err::PathFileAccess,
                    QStringLiteral("Path/File access error: the application folder '%1' is not a folder.")
                        .arg(folder));
}

Error diskFull(const QString& folder, const QString& target, qint64 needed)
{
    return Error(
        err::DiskFull,
        QStringLiteral("Disk full: there is no room in '%1' to write '%2'%3. Make room on the disk "
                       "and try again.")
            .arg(folder, target, needed > 0 ? QStringLiteral(" (%1 bytes needed)").arg(needed) : QString()));
}

void requireRoom(const QString& folder, const QString& target, qint64 needed)
{
    // statvfs() alone: QStorageInfo reads the whole mount table first, on
    // every round of a batch.
    struct statvfs volume = {};
    if (::statvfs(QFile::encodeName(folder).constData(), &volume) != 0)
        return;
    const qint64 available = static_cast<qint64>(volume.f_bavail) * static_cast<qint64>(volume.f_frsize);
    if (available < needed)
        throw diskFull(folder, target, needed);
}

// Why the size a member declares cannot be true, or empty: past the largest
// round database there could be, other than its stored size when stored as
// it is, or past what deflating can shrink its compressed bytes from (at most
// 1032 to 1).
QString impossibleSize(const zip_stat_t& stat)
{
    constexpr zip_uint64_t largestRound = zip_uint64_t(1) << 30;
    constexpr zip_uint64_t deflateRatio = 1032;
    const QString declares = QStringLiteral("declares %1 bytes").arg(stat.size);
    if (stat.size > largestRound)
        return declares + QStringLiteral(", more than any round database holds");
    if (!(stat.valid & ZIP_STAT_COMP_SIZE) || !(stat.valid & ZIP_STAT_COMP_METHOD))
        return {};
    if (stat.comp_method == ZIP_CM_STORE && stat.size != stat.comp_size)
        return declares + QStringLiteral(" but stores %1").arg(stat.comp_size);
    if (stat.comp_method == ZIP_CM_DEFLATE && stat.size > stat.comp_size * deflateRatio + 1024)
        return declares + QStringLiteral(", more than its %1 compressed bytes can hold").arg(stat.comp_size);
    return {};
}

// code is the error number of the failed operation, why its account.
Error cannotWrite(const QString& folder, const QString& target, int code, const QString& why)
{
    const FileFailure failure = fileFailureOf(code);
    if (failure == FileFailure::DiskFull)
        return diskFull(folder, target, 0);
    if (failure == FileFailure::NoAccess || QStorageInfo(folder).isReadOnly() ||
        !QFileInfo(folder).isWritable())
        return Error(err::PathFileAccess,
                     QStringLiteral("Path/File access error: the application folder '%1' is not writable, so "
                                    "'%2' cannot be written (%3).")
                         .arg(folder, target, why));
    return Error(err::PathFileAccess, QStringLiteral("Cannot write '%1': %2").arg(target, why));
}

// The same for a failed open, write or commit of out; saved is errno read
// right after it.
Error cannotWrite(const QString& folder, const QString& target, const QFileDevice& out, int saved)
{
    return cannotWrite(folder, target, failureCode(out, saved), out.errorString());
}

} // namespace

QString extractRoundDatabase(const QString& archive, const QString& member, const QString& folder,
                             const QString& renameTarget, bool temporary)
{
    if (!QFileInfo(archive).isFile())
        throw Error(
            err::FileNotFound,
            QStringLiteral("File not found: the round results file '%1' does not exist.").arg(archive));
    const QString outputName = renameTarget.isEmpty() ? member : renameTarget;
    if (outputName.isEmpty() || outputName.contains(QLatin1Char('/')) ||
        outputName.contains(QLatin1Char('\\')) || outputName == QLatin1String("..") ||
        outputName == QLatin1String("."))
        throw Error(err::PathNotFound,
                    QStringLiteral("Path not found: '%1' is not a plain file name.").arg(outputName));

    int code = 0;
    ZipArchive zip(zipLibrary().zip_open(QFile::encodeName(archive).constData(), ZIP_RDONLY, &code));
    if (!zip) {
        if (code == ZIP_ER_OPEN || code == ZIP_ER_READ)
            throw Error(err::PathFileAccess,
                        QStringLiteral("Path/File access error: the round results file '%1' cannot be read.")
                            .arg(archive));
        throw Error(
            err::PathFileAccess,
            QStringLiteral("The round results file '%1' is damaged or is not a zip archive.").arg(archive));
    }

    zip_int64_t found = -1;
    const zip_int64_t entries = zipLibrary().zip_get_num_entries(zip.get(), 0);
    for (zip_int64_t i = 0; i < entries && found < 0; ++i) {
        const char* name =
            zipLibrary().zip_get_name(zip.get(), static_cast<zip_uint64_t>(i), ZIP_FL_ENC_GUESS);
        if (name && baseName(QString::fromUtf8(name)).compare(member, Qt::CaseInsensitive) == 0)
            found = i;
    }
    if (found < 0)
        throw Error(err::FileNotFound,
                    QStringLiteral("File not found: the round results file '%1' holds no '%2'.")
                        .arg(archive, member));

    std::unique_ptr<zip_file_t, FileCloser> in(
        zipLibrary().zip_fopen_index(zip.get(), static_cast<zip_uint64_t>(found), 0));
    if (!in)
        throw Error(err::PathFileAccess, unreadableMember(zip.get(), archive, member));

    const QString target = joinPath(folder, outputName);
    requireWritableFolder(folder, target);
    zip_stat_t stat;
    zipLibrary().zip_stat_init(&stat);
    if (zipLibrary().zip_stat_index(zip.get(), static_cast<zip_uint64_t>(found), 0, &stat) == 0 &&
        (stat.valid & ZIP_STAT_SIZE)) {
        // A size no round could have is damage, not a full disk (which
        // would be tried again and again).
        if (const QString lie = impossibleSize(stat); !lie.isEmpty())
            throw Error(
                err::PathFileAccess,
                QStringLiteral("The round results file '%1' is damaged: %2 %3.").arg(archive, member, lie));
        requireRoom(folder, target, static_cast<qint64>(stat.size));
    }

    // Written beside the target and moved into place only when complete. A
    // temporary copy, removed after the import, is not forced to the disk:
    // a crash loses nothing that the round results file does not still hold.
    const QString partial = target + QStringLiteral(".part");
    std::unique_ptr<QFileDevice> out;
    if (temporary)
        out = std::make_unique<QFile>(partial);
    else
        out = std::make_unique<QSaveFile>(target);
    auto cancel = [&] {
        if (auto* saving = qobject_cast<QSaveFile*>(out.get())) {
            saving->cancelWriting();
        } else {
            out->close();
            QFile::remove(partial);
        }
    };
    errno = 0;
    if (!out->open(QIODevice::WriteOnly | QIODevice::Truncate))
        throw cannotWrite(folder, target, *out, errno);
    char buffer[64 * 1024];
    for (;;) {
        const zip_int64_t n = zipLibrary().zip_fread(in.get(), buffer, sizeof buffer);
        if (n < 0) {
            cancel();
            throw Error(err::PathFileAccess,
                        QStringLiteral("The round results file '%1' is damaged: %2 does not read back whole.")
                            .arg(archive, member));
        }
        if (n == 0)
            break;
        errno = 0;
        if (out->write(buffer, n) != n) {
            // Taken before cancelling, which replaces the account.
            const Error error = cannotWrite(folder, target, *out, errno);
            cancel();
            throw error;
        }
    }
    // A journal left beside an earlier file of this name would be played
    // back into the new one when it is opened.
    for (const QString& sibling : journalSiblings(target))
        QFile::remove(sibling);
    errno = 0;
    if (auto* saving = qobject_cast<QSaveFile*>(out.get())) {
        if (!saving->commit())
            throw cannotWrite(folder, target, *saving, errno);
        return target;
    }
    if (!out->flush()) {
        const Error error = cannotWrite(folder, target, *out, errno);
        cancel();
        throw error;
    }
    out->close();
    if (std::rename(QFile::encodeName(partial).constData(), QFile::encodeName(target).constData()) != 0) {
        const int failure = errno;
        QFile::remove(partial);
        throw cannotWrite(folder, target, failure, QString::fromLocal8Bit(std::strerror(failure)));
    }
    return target;
}

} // namespace qv
