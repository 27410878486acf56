#include "common/safe_file.h"

#include "common/error.h"
#include "common/file_failure.h"
#include "common/process_state.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QIODevice>
#include <QRegularExpression>
#include <QTextStream>

#include <cerrno>
#include <climits>
#include <cstdlib>
#include <cstring>
#include <utility>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace qv {

namespace {

constexpr qsizetype bufferSize = 64 * 1024;

QString systemText(int code)
{
    return QString::fromLocal8Bit(std::strerror(code));
}

// A write, sync or close error as the program's error: a full disk is 61.
Error writeError(int code, const QString& target, const QString& doing)
{
    if (fileFailureOf(code) == FileFailure::DiskFull)
        return Error(err::DiskFull,
                     QStringLiteral("Disk full: cannot %1 '%2'. Make room on the disk and try again.")
                         .arg(doing, target));
    return Error(
        err::PathFileAccess,
        QStringLiteral("Path/File access error: cannot %1 '%2' (%3).").arg(doing, target, systemText(code)));
}

// Writes all of [data, data + size) to fd; errno on failure.
bool writeAll(int fd, const char* data, qsizetype size)
{
    while (size > 0) {
        const ssize_t n = ::write(fd, data, static_cast<size_t>(size));
        if (n < 0) {
            if (errno == EINTR)
                continue;
            return false;
        }
        if (n == 0) { // a device that takes nothing more is full
            errno = ENOSPC;
            return false;
        }
        data += n;
        size -= n;
    }
    return true;
}

QByteArray encoded(const QString& path)
{
    return QFile::encodeName(path);
}

// The descriptor a name stands for (/dev/stdout, /dev/stderr, /dev/fd/N,
// /proc/self/fd/N), -1 for any other name. Such a name reaches a regular file
// too when the shell sent standard output to one: that file must be written
// through the descriptor, at its place, not replaced.
int descriptorNamed(const QString& target)
{
    const QString path = QDir::cleanPath(target);
    if (path == QLatin1String("/dev/stdout"))
        return STDOUT_FILENO;
    if (path == QLatin1String("/dev/stderr"))
        return STDERR_FILENO;
    static const QRegularExpression descriptorPath(QStringLiteral("^/(dev|proc/self)/fd/(\\d{1,9})$"));
    const QRegularExpressionMatch m = descriptorPath.match(path);
    return m.hasMatch() ? m.captured(2).toInt() : -1;
}

// ".name.<pid>.qvpart" beside the target: hidden, and tied to this run so
// that a later run can tell a dead run's leftover from a live one's.
QString temporaryBeside(const QString& target)
{
    const QFileInfo info(target);
    QString name = info.fileName();
    if (name.size() > 200) // stay under the file system's name length
        name.truncate(200);
    return info.dir().filePath(
        QStringLiteral(".%1.%2.qvpart").arg(name).arg(QCoreApplication::applicationPid()));
}

// The name a chain of symbolic links ends at, whether or not a file is
// there; the name itself when it is no link. A relative link counts from its
// own folder.
QString followLinks(const QString& target)
{
    QString path = target;
    for (int hops = 0; hops < 40; ++hops) {
        struct stat st = {};
        const QByteArray name = encoded(path);
        if (::lstat(name.constData(), &st) != 0 || !S_ISLNK(st.st_mode))
            return path;
        QByteArray next(PATH_MAX, '\0');
        const ssize_t length = ::readlink(name.constData(), next.data(), static_cast<size_t>(next.size()));
        if (length < 0 || length >= next.size())
            throw writeError(length < 0 ? errno : ENAMETOOLONG, target, QStringLiteral("write"));
        next.truncate(length);
        const QString linked = QFile::decodeName(next);
        path = QDir::isAbsolutePath(linked) ? linked : QFileInfo(path).dir().filePath(linked);
    }
    throw writeError(ELOOP, target, QStringLiteral("write"));
}

// A file its owner made read-only (no write permission for anyone), or one
// this user may not write, is kept as it is, as the shell's ">" keeps it:
// replacing it by a rename would need only the folder's permission. The
// first holds for root too, whom the permissions do not stop, so that a
// file marked read-only is never overwritten by an export.
void refuseReadOnly(const QString& file, const struct stat& st, const QString& target)
{
    const bool nobodyWrites = (st.st_mode & (S_IWUSR | S_IWGRP | S_IWOTH)) == 0;
    if (!nobodyWrites && ::faccessat(AT_FDCWD, encoded(file).constData(), W_OK, AT_EACCESS) == 0)
        return;
    throw Error(
        err::PathFileAccess,
        QStringLiteral("Path/File access error: '%1' is read-only; it was left as it is.").arg(target));
}

} // namespace

// Hands a Qt writer's bytes to the SafeFile, keeping the first failure for
// commit() to throw.
class SafeFile::Device : public QIODevice {
public:
    explicit Device(SafeFile& file) : file_(file) { open(QIODevice::WriteOnly | QIODevice::Unbuffered); }
    bool isSequential() const override { return true; }
    const std::unique_ptr<Error>& failure() const { return failure_; }

protected:
    qint64 readData(char*, qint64) override { return -1; }
    qint64 writeData(const char* data, qint64 size) override
    {
        if (failure_)
            return -1;
        try {
            file_.write(data, static_cast<qsizetype>(size));
        } catch (const Error& e) {
            failure_ = std::make_unique<Error>(e);
            setErrorString(e.description());
            return -1;
        }
        return size;
    }

private:
    SafeFile& file_;
    std::unique_ptr<Error> failure_;
};

SafeFile::SafeFile(const QString& target) : target_(target)
{
    if (const int descriptor = descriptorNamed(target); descriptor >= 0) {
        fd_ = ::fcntl(descriptor, F_DUPFD_CLOEXEC, 0);
        if (fd_ < 0)
            throw writeError(errno, target, QStringLiteral("write"));
        return;
    }
    // Through a symbolic link the file it names is written, not the link: a
    // dangling link's too, which the write makes.
    const QString followed = followLinks(target);
    const QByteArray path = encoded(followed);
    struct stat st = {};
    const bool exists = ::stat(path.constData(), &st) == 0;
    if (exists && !S_ISREG(st.st_mode)) {
        if (S_ISDIR(st.st_mode))
            throw Error(err::PathFileAccess,
                        QStringLiteral("Path/File access error: '%1' is a folder.").arg(target));
        // A pipe, a terminal or a device: written into, never replaced.
        fd_ = ::open(path.constData(), O_WRONLY | O_CLOEXEC);
        if (fd_ < 0)
            throw writeError(errno, target, QStringLiteral("write"));
        return;
    }
    if (exists)
        refuseReadOnly(followed, st, target);
    QString real = followed;
    if (char* resolved = ::realpath(
            encoded(exists ? followed : QFileInfo(followed).absolutePath()).constData(), nullptr)) {
        real = QFile::decodeName(resolved);
        std::free(resolved);
        if (!exists)
            real = QDir(real).filePath(QFileInfo(followed).fileName());
    }
    const QString folder = QFileInfo(real).absolutePath();
    if (!QFileInfo(folder).isDir())
        throw Error(err::PathNotFound, QStringLiteral("Path not found"));
    clearWriterLeftovers(folder);
    target_ = real;
    temporary_ = temporaryBeside(real);
    const mode_t mode = exists ? (st.st_mode & 07777) : 0666;
    fd_ = ::open(encoded(temporary_).constData(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, mode);
    if (fd_ < 0)
        throw writeError(errno, target, QStringLiteral("write"));
    if (exists)
        ::fchmod(fd_, mode); // the old file's permissions, whatever the umask
}

SafeFile::~SafeFile()
{
    if (fd_ >= 0)
        ::close(fd_);
    if (!committed_ && !temporary_.isEmpty())
        ::unlink(encoded(temporary_).constData());
}

void SafeFile::discard()
{
    if (fd_ >= 0)
        ::close(fd_);
    fd_ = -1;
    if (!temporary_.isEmpty())
        ::unlink(encoded(temporary_).constData());
    temporary_.clear();
}

void SafeFile::fail(int errorNumber, const QString& doing)
{
    const Error error = writeError(errorNumber, target_, doing);
    discard();
    throw error;
}

void SafeFile::write(const char* data, qsizetype size)
{
    if (fd_ < 0)
        throw Error(err::PathFileAccess,
                    QStringLiteral("Path/File access error: '%1' is closed.").arg(target_));
    // Writers hand over a row or a PDF object at a time: gathered, they cost
    // one system call per 64 KiB.
    buffer_.append(data, size);
    if (buffer_.size() >= bufferSize)
        writeBuffer();
}

void SafeFile::writeBuffer()
{
    const QByteArray pending = std::exchange(buffer_, QByteArray());
    if (!writeAll(fd_, pending.constData(), pending.size()))
        fail(errno, QStringLiteral("write"));
}

QIODevice& SafeFile::device()
{
    if (!device_)
        device_ = std::make_unique<Device>(*this);
    return *device_;
}

void SafeFile::raiseDeviceFailure()
{
    if (device_ && device_->failure()) {
        const Error error = *device_->failure();
        discard();
        throw error;
    }
}

void SafeFile::commit()
{
    raiseDeviceFailure();
    if (fd_ < 0)
        throw Error(err::PathFileAccess,
                    QStringLiteral("Path/File access error: '%1' is closed.").arg(target_));
    writeBuffer();
    const bool direct = temporary_.isEmpty();
    // A pipe or terminal cannot be synced; a file must be, before the rename.
    if (::fsync(fd_) != 0 && !(direct && (errno == EINVAL || errno == EROFS)))
        fail(errno, QStringLiteral("write"));
    const int fd = std::exchange(fd_, -1);
    if (::close(fd) != 0)
        fail(errno, QStringLiteral("write"));
    if (direct) {
        committed_ = true;
        return;
    }
    if (::rename(encoded(temporary_).constData(), encoded(target_).constData()) != 0)
        fail(errno, QStringLiteral("replace"));
    committed_ = true;
    // The rename itself is kept only once the folder is synced.
    const int folder =
        ::open(encoded(QFileInfo(target_).absolutePath()).constData(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (folder >= 0) {
        ::fsync(folder);
        ::close(folder);
    }
}

bool writesInPlace(const QString& target)
{
    struct stat st = {};
    return descriptorNamed(target) >= 0 ||
           (::stat(encoded(target).constData(), &st) == 0 && !S_ISREG(st.st_mode) && !S_ISDIR(st.st_mode));
}

void writeFileSafely(const QString& target, const QByteArray& bytes)
{
    SafeFile file(target);
    file.write(bytes);
    file.commit();
}

void clearWriterLeftovers(const QString& folder)
{
    static const QRegularExpression leftover(QStringLiteral("^\\..+\\.(\\d+)\\.qvpart$"));
    const QDir dir(folder);
    for (const QString& name : dir.entryList({QStringLiteral(".*.qvpart")}, QDir::Files | QDir::Hidden)) {
        const QRegularExpressionMatch m = leftover.match(name);
        if (m.hasMatch() && processHasEnded(m.captured(1).toLongLong()))
            QFile::remove(dir.filePath(name));
    }
}

StandardOutput& StandardOutput::instance()
{
    static StandardOutput output;
    return output;
}

void StandardOutput::write(const char* data, qsizetype size)
{
    if (failure_)
        throw *failure_;
    buffer_.append(data, size);
    if (buffer_.size() >= bufferSize)
        flush();
}

void StandardOutput::flush()
{
    if (failure_)
        throw *failure_;
    const QByteArray pending = std::exchange(buffer_, QByteArray());
    if (pending.isEmpty())
        return;
    if (!writeAll(STDOUT_FILENO, pending.constData(), pending.size())) {
        failure_ = writeError(errno, QStringLiteral("standard output"), QStringLiteral("write"));
        throw *failure_;
    }
}

void StandardOutput::writeMessage(const QString& text) noexcept
{
    try {
        write(text);
        flush();
    } catch (...) {
        // Kept in failure_ (or out of memory): finish() reports it.
    }
}

void StandardOutput::reportError(const QString& text) noexcept
{
    try {
        flush();
    } catch (...) {
        // Kept in failure_: finish() reports it.
    }
    QByteArray bytes = text.toUtf8();
    if (!bytes.endsWith('\n'))
        bytes.append('\n');
    // Nothing is left to tell of a standard error that cannot be written.
    [[maybe_unused]] const bool written = writeAll(STDERR_FILENO, bytes.constData(), bytes.size());
}

int StandardOutput::finish(int exitCode)
{
    try {
        flush();
        return exitCode;
    } catch (const Error& e) {
        QTextStream(stderr) << errorText(ErrorLayout::Report, e) << '\n';
        return exitCode != 0 ? exitCode : 1;
    }
}

} // namespace qv
