#include "common/error.h"
#include "common/safe_file.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <functional>

#include <fcntl.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

using namespace qv;

namespace {

QByteArray contentOf(const QString& path)
{
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray("<unreadable>");
}

void put(const QString& path, const QByteArray& bytes)
{
    QFile f(path);
    ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    f.write(bytes);
}

int errorNumberOf(const std::function<void()>& work)
{
    try {
        work();
    } catch (const Error& e) {
        return e.number();
    }
    return 0;
}

QStringList namesIn(const QString& folder)
{
    return QDir(folder).entryList(QDir::Files | QDir::Hidden | QDir::System);
}

} // namespace

TEST(SafeFile, ReplacesOnlyOnCommitAndKeepsTheOldFileOtherwise)
{
    QTemporaryDir dir;
    const QString target = dir.filePath(QStringLiteral("out.txt"));
    put(target, "old");
    ::chmod(QFile::encodeName(target).constData(), 0640);
    {
        SafeFile file(target);
        file.write("half");
        EXPECT_EQ(contentOf(target), "old") << "nothing reaches the target before commit";
    } // destroyed uncommitted: an exception on the way
    EXPECT_EQ(contentOf(target), "old");
    EXPECT_EQ(namesIn(dir.path()), QStringList{QStringLiteral("out.txt")}) << "no temporary file is left";

    SafeFile file(target);
    file.write("new ");
    file.device().write("through the device");
    file.commit();
    EXPECT_EQ(contentOf(target), "new through the device");
    struct stat st = {};
    ::stat(QFile::encodeName(target).constData(), &st);
    EXPECT_EQ(st.st_mode & 0777, 0640u) << "the old file's permissions are kept";
    EXPECT_EQ(namesIn(dir.path()), QStringList{QStringLiteral("out.txt")});

    // A new file has the permissions any new file gets (not a temporary
    // file's owner-only ones).
    const mode_t mask = ::umask(022);
    const QString fresh = dir.filePath(QStringLiteral("new.txt"));
    writeFileSafely(fresh, "x");
    ::umask(mask);
    ::stat(QFile::encodeName(fresh).constData(), &st);
    EXPECT_EQ(st.st_mode & 0777, 0644u);
}

TEST(SafeFile, ReplacesTheFileALinkNamesNotTheLink)
{
    QTemporaryDir dir;
    const QString real = dir.filePath(QStringLiteral("real.txt"));
    const QString link = dir.filePath(QStringLiteral("link.txt"));
    put(real, "old");
    ASSERT_TRUE(QFile::link(real, link));
    writeFileSafely(link, "new");
    EXPECT_TRUE(QFileInfo(link).isSymLink());
    EXPECT_EQ(contentOf(real), "new");
}

TEST(SafeFile, WritesThroughADanglingLinkOrAChainOfThem)
{
    QTemporaryDir dir;
    ASSERT_TRUE(QDir(dir.path()).mkdir(QStringLiteral("sub")));
    // A relative link counts from its own folder; the second link names the first.
    const QString first = dir.filePath(QStringLiteral("sub/first.txt"));
    const QString second = dir.filePath(QStringLiteral("second.txt"));
    ASSERT_TRUE(QFile::link(QStringLiteral("made.txt"), first));
    ASSERT_TRUE(QFile::link(QStringLiteral("sub/first.txt"), second));
    writeFileSafely(second, "new");
    EXPECT_TRUE(QFileInfo(second).isSymLink());
    EXPECT_TRUE(QFileInfo(first).isSymLink());
    EXPECT_EQ(contentOf(dir.filePath(QStringLiteral("sub/made.txt"))), "new");

    // Links that name each other lead nowhere: nothing is written.
    const QString loop = dir.filePath(QStringLiteral("loop.txt"));
    ASSERT_TRUE(QFile::link(QStringLiteral("loop.txt"), loop));
    EXPECT_EQ(errorNumberOf([&] { writeFileSafely(loop, "x"); }), err::PathFileAccess);
    EXPECT_TRUE(QFileInfo(loop).isSymLink());
}

TEST(SafeFile, KeepsAFileTheUserMayNotWrite)
{
    QTemporaryDir dir;
    const QString target = dir.filePath(QStringLiteral("kept.txt"));
    put(target, "old");
    // No write permission for anyone: kept for every user. Root, whom the
    // permissions do not stop (the shell's ">" writes it), is refused too:
    // the file says it is not to be written, and the tests run as root in CI.
    ::chmod(QFile::encodeName(target).constData(), 0444);
    EXPECT_EQ(errorNumberOf([&] { writeFileSafely(target, "new"); }), err::PathFileAccess);
    EXPECT_EQ(contentOf(target), "old");
    // Writable by its group but not its owner: kept from the owner, as
    // open() would refuse it; root may write it.
    ::chmod(QFile::encodeName(target).constData(), 0464);
    EXPECT_EQ(errorNumberOf([&] { writeFileSafely(target, "new"); }),
              ::geteuid() == 0 ? 0 : err::PathFileAccess);
    EXPECT_EQ(contentOf(target), ::geteuid() == 0 ? QByteArray("new") : QByteArray("old"));
    EXPECT_EQ(namesIn(dir.path()), QStringList{QStringLiteral("kept.txt")}) << "no temporary file is left";
}

TEST(SafeFile, WritesIntoSpecialFilesWithoutReplacingThem)
{
    QTemporaryDir dir;
    const QString fifo = dir.filePath(QStringLiteral("pipe"));
    ASSERT_EQ(::mkfifo(QFile::encodeName(fifo).constData(), 0600), 0);
    const pid_t reader = ::fork();
    if (reader == 0) {
        const int fd = ::open(QFile::encodeName(fifo).constData(), O_RDONLY);
        char buffer[64] = {};
        const ssize_t n = ::read(fd, buffer, sizeof buffer);
        ::_exit(n == 5 && QByteArray(buffer, 5) == "bytes" ? 0 : 1);
    }
    writeFileSafely(fifo, "bytes");
    int status = 0;
    ::waitpid(reader, &status, 0);
    EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0) << "the reader got the bytes";
    EXPECT_FALSE(QFileInfo(fifo).isFile()) << "the FIFO is still a FIFO";

    EXPECT_EQ(errorNumberOf([] { writeFileSafely(QStringLiteral("/dev/full"), "x"); }), err::DiskFull);
    EXPECT_EQ(errorNumberOf([] { writeFileSafely(QStringLiteral("/dev/null"), "x"); }), 0);
}

TEST(SafeFile, RefusesAMissingFolderAndAFolderAsTarget)
{
    QTemporaryDir dir;
    EXPECT_EQ(errorNumberOf([&] { writeFileSafely(dir.filePath(QStringLiteral("no/such.txt")), "x"); }),
              err::PathNotFound);
    EXPECT_EQ(errorNumberOf([&] { writeFileSafely(dir.path(), "x"); }), err::PathFileAccess);

    // A folder made in the target's place while the file is written: the
    // rename fails, and that is an error, not a success.
    const QString target = dir.filePath(QStringLiteral("late.txt"));
    SafeFile file(target);
    file.write("x");
    ASSERT_TRUE(QDir(dir.path()).mkpath(QStringLiteral("late.txt/inside")));
    try {
        file.commit();
        ADD_FAILURE() << "a replace that failed was reported as done";
    } catch (const Error& e) {
        EXPECT_EQ(e.number(), err::PathFileAccess);
        EXPECT_TRUE(e.description().contains(QStringLiteral("cannot replace")))
            << e.description().toStdString();
    }
    EXPECT_TRUE(QFileInfo(target).isDir());
    EXPECT_EQ(namesIn(dir.path()), QStringList()) << "the written copy is not left beside it";
}

TEST(SafeFile, ClearsWhatEndedRunsLeftButNotALiveRunsFile)
{
    QTemporaryDir dir;
    // A process that has ended: a child reaped at once.
    const pid_t child = ::fork();
    if (child == 0)
        ::_exit(0);
    ::waitpid(child, nullptr, 0);
    const QString dead = dir.filePath(QStringLiteral(".out.xlsx.%1.qvpart").arg(child));
    const QString live = dir.filePath(QStringLiteral(".out.xlsx.%1.qvpart").arg(::getppid()));
    const QString other = dir.filePath(QStringLiteral(".notes.%1.part").arg(child));
    put(dead, "dead");
    put(live, "live");
    put(other, "user's");
    writeFileSafely(dir.filePath(QStringLiteral("out.xlsx")), "x");
    EXPECT_FALSE(QFileInfo::exists(dead));
    EXPECT_TRUE(QFileInfo::exists(live));
    EXPECT_TRUE(QFileInfo::exists(other));
}

TEST(StandardOutput, AFullStandardOutputIsAnError)
{
    fflush(stdout);
    const int saved = ::dup(STDOUT_FILENO);
    const int full = ::open("/dev/full", O_WRONLY);
    ::dup2(full, STDOUT_FILENO);
    StandardOutput& out = StandardOutput::instance();
    out.write(QByteArray("short"));
    const int afterFlush = errorNumberOf([&] { out.flush(); });
    ::dup2(saved, STDOUT_FILENO);
    ::close(full);
    ::close(saved);
    EXPECT_EQ(afterFlush, err::DiskFull);
}
