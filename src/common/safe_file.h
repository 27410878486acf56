#pragma once

#include <QByteArray>
#include <QString>

#include <memory>

class QIODevice;

namespace qv {

// The one way the program writes an output file, so that a failure never
// leaves half a file or reports success:
// - the bytes go to a new file beside the target (a hidden name carrying this
//   process's id), every write is checked, the data is synced and the close
//   checked, and only then is it renamed over the target;
// - an uncommitted writer removes its file when destroyed, leaving the
//   earlier target byte for byte as it was;
// - a target that exists and is not a regular file (a FIFO, a terminal,
//   /dev/stdout, /dev/null) is written directly, with the same checks.
// Failures throw qv::Error: 76 when the folder does not exist, 61 when the
// disk is full, 75 for anything else, each naming the target.
class SafeFile {
public:
    explicit SafeFile(const QString& target);
    ~SafeFile();
    SafeFile(const SafeFile&) = delete;
    SafeFile& operator=(const SafeFile&) = delete;

    void write(const char* data, qsizetype size);
    void write(const QByteArray& bytes) { write(bytes.constData(), bytes.size()); }

    // For writers that take a QIODevice (images, SVG, PDF): whatever fails
    // through it is thrown by commit().
    QIODevice& device();

    // Syncs, closes and renames over the target. After a failure the target
    // is untouched and the temporary file gone.
    void commit();

    const QString& target() const { return target_; }

private:
    class Device;
    void discard();
    [[noreturn]] void fail(int errorNumber, const QString& doing);

    QString target_;
    QString temporary_; // empty when the target is written directly
    int fd_ = -1;
    bool committed_ = false;
    std::unique_ptr<Device> device_;
};

// Writes bytes to a file through SafeFile in one call.
void writeFileSafely(const QString& target, const QByteArray& bytes);

// Removes the temporary files that ended runs left beside their targets in a
// folder (a run killed while writing).
void clearWriterLeftovers(const QString& folder);

// Standard output with every write checked: a full disk or closed pipe is an
// error (61 or 75), not a silent success. Buffered; flush() at the end.
class StandardOutput {
public:
    static StandardOutput& instance();
    void write(const char* data, qsizetype size);
    void write(const QByteArray& bytes) { write(bytes.constData(), bytes.size()); }
    void write(const QString& text) { write(text.toUtf8()); }
    void flush();

private:
    QByteArray buffer_;
};

} // namespace qv
