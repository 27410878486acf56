#include "store/import/round_archive.h"

#include "common/error.h"
#include "common/paths.h"

#include <QFile>
#include <QFileInfo>
#include <QSaveFile>

#include <zip.h>

#include <memory>

namespace qv {

namespace {

struct ArchiveCloser {
    void operator()(zip_t* z) const { zip_discard(z); }
};
struct FileCloser {
    void operator()(zip_file_t* f) const { zip_fclose(f); }
};

QString baseName(const QString& stored)
{
    QString name = stored;
    name.replace(QLatin1Char('\\'), QLatin1Char('/'));
    return name.mid(name.lastIndexOf(QLatin1Char('/')) + 1);
}

} // namespace

QString extractRoundDatabase(const QString& archive, const QString& member, const QString& folder,
                             const QString& renameTarget)
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
    std::unique_ptr<zip_t, ArchiveCloser> zip(
        zip_open(QFile::encodeName(archive).constData(), ZIP_RDONLY, &code));
    if (!zip)
        throw Error(
            75,
            QStringLiteral("The round results file '%1' is damaged or is not a zip archive.").arg(archive));

    zip_int64_t found = -1;
    const zip_int64_t entries = zip_get_num_entries(zip.get(), 0);
    for (zip_int64_t i = 0; i < entries && found < 0; ++i) {
        const char* name = zip_get_name(zip.get(), static_cast<zip_uint64_t>(i), ZIP_FL_ENC_GUESS);
        if (name && baseName(QString::fromUtf8(name)).compare(member, Qt::CaseInsensitive) == 0)
            found = i;
    }
    if (found < 0)
        throw Error(err::FileNotFound,
                    QStringLiteral("File not found: the round results file '%1' holds no '%2'.")
                        .arg(archive, member));

    std::unique_ptr<zip_file_t, FileCloser> in(
        zip_fopen_index(zip.get(), static_cast<zip_uint64_t>(found), 0));
    if (!in)
        throw Error(75, QStringLiteral("The round results file '%1' is damaged: %2 cannot be read.")
                            .arg(archive, member));

    const QString target = joinPath(folder, outputName);
    // Written beside the target and moved into place only when complete.
    QSaveFile out(target);
    if (!out.open(QIODevice::WriteOnly))
        throw Error(err::PathNotFound, QStringLiteral("Path not found: cannot write '%1'.").arg(target));
    char buffer[64 * 1024];
    for (;;) {
        const zip_int64_t n = zip_fread(in.get(), buffer, sizeof buffer);
        if (n < 0) {
            out.cancelWriting();
            throw Error(75,
                        QStringLiteral("The round results file '%1' is damaged: %2 does not read back whole.")
                            .arg(archive, member));
        }
        if (n == 0)
            break;
        if (out.write(buffer, n) != n) {
            out.cancelWriting();
            throw Error(75, QStringLiteral("Cannot write '%1': %2").arg(target, out.errorString()));
        }
    }
    if (!out.commit())
        throw Error(75, QStringLiteral("Cannot write '%1': %2").arg(target, out.errorString()));
    return target;
}

} // namespace qv
