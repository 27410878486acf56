#include "analysis/core/zip_package.h"

#include "common/error.h"
#include "common/zip_library.h"

#include <QFile>

namespace qv::analysis {

namespace {

constexpr int PathFileAccessError = 75;

// The library's own default is deflate at its best compression (level 9),
// which spent three quarters of a large workbook's writing time; zlib's
// usual level 6 makes files about 3% larger in a quarter of the time.
constexpr zip_uint32_t DeflateLevel = 6;

[[noreturn]] void fail(const QString& path, const QString& why)
{
    throw Error(PathFileAccessError, QStringLiteral("Path/File access error: ") + path +
                                         QStringLiteral(" (") + why + QLatin1Char(')'));
}

} // namespace

void ZipPackage::add(const QString& name, QByteArray content)
{
    parts_.emplace_back(name, std::move(content));
}

void ZipPackage::write(const QString& path) const
{
    int code = 0;
    zip_t* archive =
        zipLibrary().zip_open(QFile::encodeName(path).constData(), ZIP_CREATE | ZIP_TRUNCATE, &code);
    if (archive == nullptr) {
        zip_error_t error;
        zipLibrary().zip_error_init_with_code(&error, code);
        const QString why = QString::fromUtf8(zipLibrary().zip_error_strerror(&error));
        zipLibrary().zip_error_fini(&error);
        fail(path, why);
    }
    for (const auto& [name, content] : parts_) {
        // The library reads the buffers when the archive closes; they live
        // as long as this package.
        zip_source_t* source = zipLibrary().zip_source_buffer(archive, content.constData(),
                                                              static_cast<zip_uint64_t>(content.size()), 0);
        zip_int64_t index = -1;
        if (source == nullptr ||
            (index = zipLibrary().zip_file_add(archive, name.toUtf8().constData(), source,
                                               ZIP_FL_ENC_UTF_8)) < 0 ||
            zipLibrary().zip_set_file_compression(archive, static_cast<zip_uint64_t>(index), ZIP_CM_DEFLATE,
                                                  DeflateLevel) < 0) {
            if (source != nullptr && index < 0)
                zipLibrary().zip_source_free(source);
            const QString why = QString::fromUtf8(zipLibrary().zip_strerror(archive));
            zipLibrary().zip_discard(archive);
            fail(path, why);
        }
    }
    if (zipLibrary().zip_close(archive) != 0) {
        const QString why = QString::fromUtf8(zipLibrary().zip_strerror(archive));
        zipLibrary().zip_discard(archive);
        fail(path, why);
    }
}

} // namespace qv::analysis
