#include "support/round_files.h"

#include <QFile>

#include <gtest/gtest.h>
#include <zip.h>

namespace qv::test {

void writeZip(const QString& zipPath, const QString& storedName, const QByteArray& content)
{
    int code = 0;
    zip_t* z = zip_open(QFile::encodeName(zipPath).constData(), ZIP_CREATE | ZIP_TRUNCATE, &code);
    ASSERT_NE(z, nullptr);
    // libzip reads the buffer when the archive is closed: keep a copy alive until then.
    auto* copy = new QByteArray(content);
    zip_source_t* src = zip_source_buffer(z, copy->constData(), static_cast<zip_uint64_t>(copy->size()), 0);
    ASSERT_GE(zip_file_add(z, storedName.toUtf8().constData(), src, ZIP_FL_OVERWRITE), 0);
    ASSERT_EQ(zip_close(z), 0);
    delete copy;
}

QByteArray readFile(const QString& path)
{
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

QByteArray memberOf(const QString& zipPath)
{
    int code = 0;
    zip_t* z = zip_open(QFile::encodeName(zipPath).constData(), ZIP_RDONLY, &code);
    if (!z)
        return {};
    zip_stat_t st;
    zip_stat_index(z, 0, 0, &st);
    QByteArray data(static_cast<qsizetype>(st.size), '\0');
    zip_file_t* f = zip_fopen_index(z, 0, 0);
    zip_fread(f, data.data(), st.size);
    zip_fclose(f);
    zip_discard(z);
    return data;
}

} // namespace qv::test
