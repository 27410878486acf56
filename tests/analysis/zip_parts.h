#pragma once

#include <QByteArray>
#include <QFile>
#include <QMap>
#include <QString>

#include <zip.h>

namespace qv::test {

// Every member of a zip file by name; empty when the file is not a zip.
inline QMap<QString, QByteArray> zipParts(const QString& path)
{
    QMap<QString, QByteArray> parts;
    int code = 0;
    zip_t* archive = zip_open(QFile::encodeName(path).constData(), ZIP_RDONLY, &code);
    if (archive == nullptr)
        return parts;
    const zip_int64_t count = zip_get_num_entries(archive, 0);
    for (zip_int64_t i = 0; i < count; ++i) {
        zip_stat_t stat;
        if (zip_stat_index(archive, static_cast<zip_uint64_t>(i), 0, &stat) != 0)
            continue;
        zip_file_t* file = zip_fopen_index(archive, static_cast<zip_uint64_t>(i), 0);
        QByteArray content(static_cast<qsizetype>(stat.size), '\0');
        zip_fread(file, content.data(), stat.size);
        zip_fclose(file);
        parts.insert(QString::fromUtf8(stat.name), content);
    }
    zip_close(archive);
    return parts;
}

} // namespace qv::test
