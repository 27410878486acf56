#pragma once

#include "common/error.h"

#include <QByteArray>
#include <QString>

#include <memory>
#include <optional>

class QIODevice;

namespace qv {

// Where a writer's bytes go, every write checked: a file being written or
// standard output. A failure throws qv::Error.
class ByteSink {
public:
    virtual ~ByteSink() = default;
    virtual void write(const char* data, qsizetype size) = 0;
    void write(const QByteArray& bytes) { write(bytes.constData(), bytes.size()); }
};

// Bytes gathered in memory, for a writer whose text is wanted as a value.
class ByteBuffer : public ByteSink {
public:
    using ByteSink::write;
    void write(const char* data, qsizetype size) override { bytes.append(data, size); }
    QByteArray bytes;
};

// The one way the program writes an output file, so that a failure never
// leaves half a file or reports success:
// - the bytes go to a new file beside the target (a hidden name carrying this
//   process's id), every write is checked, the data is synced and the close
//   checked, and only then is it renamed over the target;
// - an uncommitted writer removes its file when destroyed, leaving the
//   earlier target byte for byte as it was;
// - a target that exists and is not a regular file (a FIFO, a terminal,
//   /dev/null) is written directly, with the same checks; so is a name of
//   one of this process's open descriptors (/dev/stdout, /dev/fd/N), into
//   that descriptor, whatever it is open on;
// - a symbolic link (a chain of them, a dangling one too) is followed: the
//   file it names is written, the link stays;
// - a file the user may not write, or that grants no one write permission
//   (for root too), is refused and kept as it is.
// Failures throw qv::Error: 76 when the folder does not exist, 61 when the
// disk is full, 75 for anything else, each naming the target.
class SafeFile : public ByteSink {
public:
    explicit SafeFile(const QString& target);
    ~SafeFile() override;
    SafeFile(const SafeFile&) = delete;
    SafeFile& operator=(const SafeFile&) = delete;

    using ByteSink::write;
    void write(const char* data, qsizetype size) override;

    // For writers that take a QIODevice (images, SVG, PDF): whatever fails
    // through it is thrown by commit().
    QIODevice& device();
    // Raises what failed through device() so far, if anything: for a writer
    // that reports only that it failed, not why.
    void raiseDeviceFailure();

    // Syncs, closes and renames over the target. After a failure the target
    // is untouched and the temporary file gone.
    void commit();

    const QString& target() const { return target_; }

private:
    class Device;
    void writeBuffer();
    void discard();
    [[noreturn]] void fail(int errorNumber, const QString& doing);

    QString target_;
    QString temporary_; // empty when the target is written directly
    int fd_ = -1;
    QByteArray buffer_; // written out at 64 KiB and on commit
    bool committed_ = false;
    std::unique_ptr<Device> device_;
};

// True when SafeFile writes into what the name stands for rather than
// putting a new file in its place: a descriptor's name (/dev/stdout,
// /dev/fd/N), a pipe, a terminal, a device.
bool writesInPlace(const QString& target);

// Writes bytes to a file through SafeFile in one call.
void writeFileSafely(const QString& target, const QByteArray& bytes);

// Removes the temporary files that ended runs left beside their targets in a
// folder (a run killed while writing).
void clearWriterLeftovers(const QString& folder);

// Standard output with every write checked: a full disk or closed pipe is an
// error (61 or 75), not a silent success. Buffered; flush() at the end. The
// first failure is kept: every later write or flush raises it again, so one
// caught on the way (by a message that must not stop an import) is still
// reported at the end. Everything a command prints goes through here, so
// that nothing reaches standard output out of order.
class StandardOutput : public ByteSink {
public:
    static StandardOutput& instance();
    using ByteSink::write;
    void write(const char* data, qsizetype size) override;
    void write(const QString& text) { write(text.toUtf8()); }
    void flush();
    // A message (a message box's line, an error report), flushed at once.
    // Never raises: a failure is kept for finish(), so that a message cannot
    // break off the work in hand or an error's own report.
    void writeMessage(const QString& text) noexcept;
    // An error report, on standard error: never into a file the shell sent
    // standard output to. What standard output holds is flushed first, so
    // that on a terminal the two keep their order. Never raises.
    void reportError(const QString& text) noexcept;
    // The flush at the end of a command: a failure is said on standard error
    // and makes the exit code 1 (or keeps a failing one).
    int finish(int exitCode);

private:
    QByteArray buffer_;
    std::optional<Error> failure_;
};

} // namespace qv
