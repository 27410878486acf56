#include "store/sample/round_archive.h"

#include "common/error.h"
#include "common/memory_zip.h"
#include "common/safe_file.h"
#include "common/zip_library.h"

#include <sqlite3.h>

namespace qv::store::sample {

namespace {

// 1 January 2026, 08:00, in the DOS form zip members carry.
constexpr zip_uint16_t memberDate = ((2026 - 1980) << 9) | (1 << 5) | 1;
constexpr zip_uint16_t memberTime = 8 << 11;

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
    MemoryZip zip(zipPath);
    const zip_uint64_t member = zip.add(memberName, contents);
    zip.check(zipLibrary().zip_file_set_dostime(zip.archive(), member, memberTime, memberDate, 0));
    zip.check(zipLibrary().zip_file_set_external_attributes(zip.archive(), member, 0, ZIP_OPSYS_UNIX,
                                                            0100644u << 16));
    writeFileSafely(zipPath, zip.finish());
}

} // namespace qv::store::sample
