#include "floor_in_process.h"

#include "bench_support.h"
#include "common/zip_library.h"

#include <QFile>
#include <QFileInfo>

#include <sqlite3.h>

namespace qv::bench {

namespace {

void run(sqlite3* db, const QString& sql)
{
    char* error = nullptr;
    if (sqlite3_exec(db, sql.toUtf8().constData(), nullptr, nullptr, &error) != SQLITE_OK) {
        const QString why = QString::fromUtf8(error ? error : "");
        sqlite3_free(error);
        fail(QStringLiteral("floor statement failed: ") + why);
    }
}

// The round database's bytes, read as the shell's zipfile() reads them.
QByteArray unzipMember(const QString& zip, const QString& member)
{
    const ZipLibrary& z = zipLibrary();
    int error = 0;
    zip_t* archive = z.zip_open(QFile::encodeName(zip).constData(), ZIP_RDONLY, &error);
    if (!archive)
        fail(QStringLiteral("cannot open ") + zip);
    QByteArray data;
    for (zip_int64_t i = 0; i < z.zip_get_num_entries(archive, 0); ++i) {
        if (QString::fromUtf8(z.zip_get_name(archive, zip_uint64_t(i), 0)) != member)
            continue;
        zip_stat_t stat;
        z.zip_stat_init(&stat);
        z.zip_stat_index(archive, zip_uint64_t(i), 0, &stat);
        data.resize(qsizetype(stat.size));
        zip_file_t* file = z.zip_fopen_index(archive, zip_uint64_t(i), 0);
        if (!file || z.zip_fread(file, data.data(), stat.size) != zip_int64_t(stat.size))
            fail(QStringLiteral("cannot read ") + member);
        z.zip_fclose(file);
    }
    z.zip_discard(archive);
    return data;
}

} // namespace

FloorConnection::FloorConnection(const QString& auction)
{
    if (sqlite3_open(QFile::encodeName(auction).constData(), &db_) != SQLITE_OK)
        fail(QStringLiteral("cannot open ") + auction);
    // The program's open has read the schema before an import starts.
    run(db_, QStringLiteral("SELECT count(*) FROM sqlite_master"));
}

FloorConnection::~FloorConnection()
{
    sqlite3_close(db_);
}

void FloorConnection::importRound(const QString& zip, const QString& scratch, const QString& script)
{
    const QByteArray data = unzipMember(zip, QFileInfo(zip).completeBaseName() + QStringLiteral(".mdb"));
    QFile out(scratch);
    if (!out.open(QIODevice::WriteOnly | QIODevice::Truncate) || out.write(data) != data.size())
        fail(QStringLiteral("cannot write ") + scratch);
    out.close();
    run(db_, script);
    QFile::remove(scratch);
}

} // namespace qv::bench
