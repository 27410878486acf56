#include "store/sample/round_archive.h"

#include "common/error.h"
#include "common/zip_library.h"

#include <QFile>

#include <sqlite3.h>

namespace qv::store::sample {

namespace {

// 1 January 2026, 08:00, in the DOS form zip members carry.
constexpr zip_uint16_t memberDate = ((2026 - 1980) << 9) | (1 << 5) | 1;
constexpr zip_uint16_t memberTime = 8 << 11;

[[noreturn]] void failZip(const QString& path, const QString& reason)
{
    throw Error(err::PathNotFound, QStringLiteral("Cannot write %1: %2").arg(path, reason));
}

} // namespace

QByteArray serializeDatabase(sqlite3* db)
{
    sqlite3_int64 size = 0;
    unsigned char* image = sqlite3_serialize(db, "main", &size, 0);
    if (image == nullptr)
        throw Error(err::EngineFailure, QStringLiteral("Cannot take the image of a round database"));
    QByteArray bytes(reinterpret_cast<const char*>(image), static_cast<qsizetype>(size));
    sqlite3_free(image);
    return bytes;
}

void writeRoundArchive(const QString& zipPath, const QString& memberName, const QByteArray& contents)
{
    QFile::remove(zipPath);
    const QByteArray path = QFile::encodeName(zipPath);
    int openError = 0;
    zip_t* archive = zipLibrary().zip_open(path.constData(), ZIP_CREATE | ZIP_TRUNCATE, &openError);
    if (archive == nullptr) {
        zip_error_t error;
        zipLibrary().zip_error_init_with_code(&error, openError);
        const QString reason = QString::fromUtf8(zipLibrary().zip_error_strerror(&error));
        zipLibrary().zip_error_fini(&error);
        failZip(zipPath, reason);
    }
    // The archive reads the bytes when it is closed; contents outlives that.
    zip_source_t* source = zipLibrary().zip_source_buffer(archive, contents.constData(),
                                                          static_cast<zip_uint64_t>(contents.size()), 0);
    const QByteArray name = memberName.toUtf8();
    const zip_int64_t index =
        source == nullptr ? -1
                          : zipLibrary().zip_file_add(archive, name.constData(), source, ZIP_FL_ENC_UTF_8);
    if (index < 0) {
        const QString reason = QString::fromUtf8(zipLibrary().zip_strerror(archive));
        if (source != nullptr)
            zipLibrary().zip_source_free(source);
        zipLibrary().zip_discard(archive);
        failZip(zipPath, reason);
    }
    const zip_uint64_t member = static_cast<zip_uint64_t>(index);
    if (zipLibrary().zip_file_set_dostime(archive, member, memberTime, memberDate, 0) != 0 ||
        zipLibrary().zip_file_set_external_attributes(archive, member, 0, ZIP_OPSYS_UNIX, 0100644u << 16) !=
            0 ||
        zipLibrary().zip_close(archive) != 0) {
        const QString reason = QString::fromUtf8(zipLibrary().zip_strerror(archive));
        zipLibrary().zip_discard(archive);
        failZip(zipPath, reason);
    }
}

} // namespace qv::store::sample
