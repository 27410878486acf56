#pragma once

#include <QByteArray>
#include <QString>

#include "common/zip_library.h"

namespace qv {

// A zip archive built in memory: its bytes then reach the file through the
// one writer (SafeFile), and the zip library leaves no temporary file of its
// own beside the target when a run is killed.
class MemoryZip {
public:
    // target names the file the archive is for, in error messages.
    explicit MemoryZip(QString target);
    ~MemoryZip();
    MemoryZip(const MemoryZip&) = delete;
    MemoryZip& operator=(const MemoryZip&) = delete;

    // Adds a member and returns its index. The bytes are read when the
    // archive is finished: content must live until then.
    zip_uint64_t add(const QString& name, const QByteArray& content);
    // For a member's compression, time and attributes; check() the result.
    zip_t* archive() const { return archive_.get(); }
    // Raises Error 75 with the library's reason when result is not 0.
    void check(int result) const;
    // Closes the archive and returns its bytes.
    QByteArray finish();

private:
    [[noreturn]] void fail(const QString& reason) const;

    QString target_;
    zip_source_t* buffer_ = nullptr;
    ZipArchive archive_; // discarded unless finish() closes it
};

} // namespace qv
