#include "common/memory_zip.h"

#include "common/error.h"
#include "common/zip_library.h"

#include <utility>

namespace qv {

MemoryZip::MemoryZip(QString target) : target_(std::move(target))
{
    const ZipLibrary& zip = zipLibrary();
    zip_error_t error;
    zip.zip_error_init(&error);
    buffer_ = zip.zip_source_buffer_create(nullptr, 0, 0, &error);
    if (buffer_ != nullptr) {
        archive_.reset(zip.zip_open_from_source(buffer_, ZIP_CREATE | ZIP_TRUNCATE, &error));
        if (archive_ == nullptr) {
            zip.zip_source_free(buffer_);
            buffer_ = nullptr;
        }
    }
    if (archive_ == nullptr) {
        const QString reason = QString::fromUtf8(zip.zip_error_strerror(&error));
        zip.zip_error_fini(&error);
        fail(reason);
    }
    zip.zip_error_fini(&error);
    // The buffer outlives the archive: its bytes are read after the close.
    zip.zip_source_keep(buffer_);
}

MemoryZip::~MemoryZip()
{
    archive_.reset(); // before the buffer it writes into
    if (buffer_ != nullptr)
        zipLibrary().zip_source_free(buffer_);
}

void MemoryZip::fail(const QString& reason) const
{
    throw Error(err::PathFileAccess,
                QStringLiteral("Path/File access error: cannot write '%1' (%2).").arg(target_, reason));
}

zip_uint64_t MemoryZip::add(const QString& name, const QByteArray& content)
{
    const ZipLibrary& zip = zipLibrary();
    zip_source_t* source =
        zip.zip_source_buffer(archive(), content.constData(), static_cast<zip_uint64_t>(content.size()), 0);
    const zip_int64_t index =
        source == nullptr ? -1
                          : zip.zip_file_add(archive(), name.toUtf8().constData(), source, ZIP_FL_ENC_UTF_8);
    if (index < 0) {
        if (source != nullptr)
            zip.zip_source_free(source);
        fail(QString::fromUtf8(zip.zip_strerror(archive())));
    }
    return static_cast<zip_uint64_t>(index);
}

void MemoryZip::check(int result) const
{
    if (result != 0)
        fail(QString::fromUtf8(zipLibrary().zip_strerror(archive())));
}

QByteArray MemoryZip::finish()
{
    const ZipLibrary& zip = zipLibrary();
    if (zip.zip_close(archive()) != 0)
        fail(QString::fromUtf8(zip.zip_strerror(archive())));
    archive_.release(); // closed: the library has freed it
    const auto sourceFailure = [&] {
        fail(QString::fromUtf8(zip.zip_error_strerror(zip.zip_source_error(buffer_))));
    };
    zip_stat_t stat;
    zip.zip_stat_init(&stat);
    if (zip.zip_source_stat(buffer_, &stat) != 0 || (stat.valid & ZIP_STAT_SIZE) == 0 ||
        zip.zip_source_open(buffer_) != 0)
        sourceFailure();
    QByteArray bytes(static_cast<qsizetype>(stat.size), Qt::Uninitialized);
    qsizetype read = 0;
    while (read < bytes.size()) {
        const zip_int64_t n =
            zip.zip_source_read(buffer_, bytes.data() + read, static_cast<zip_uint64_t>(bytes.size() - read));
        if (n <= 0)
            break;
        read += static_cast<qsizetype>(n);
    }
    zip.zip_source_close(buffer_);
    if (read != bytes.size())
        sourceFailure();
    return bytes;
}

} // namespace qv
