// Every file the program writes for the user, against the real quorvane-cli,
// by kind of fault: a full disk, a run killed while writing, a target that
// is not a regular file, a full standard output.
#include "support/cli_auction.h"
#include "support/round_files.h"
#include "support/scratch_volume.h"

#include <QDir>
#include <QFileInfo>
#include <QThread>

#include <gtest/gtest.h>

#include <functional>

#include <sys/stat.h>
#include <sys/sysmacros.h>

namespace qv::test {
namespace {

// A writer's command, words split at '|': {db} stands for the auction, {out}
// for the target and {dir} for its folder.
struct Writer {
    const char* command;
    QString file;
    // For a killed run: true when the bytes are a whole output of this writer.
    std::function<bool(const QByteArray&)> whole = {};
};

QStringList argsOf(const char* command, const QString& db, const QString& target)
{
    QStringList args = QString::fromUtf8(command).split(QLatin1Char('|'));
    for (QString& a : args)
        a.replace(QStringLiteral("{db}"), db)
            .replace(QStringLiteral("{out}"), target)
            .replace(QStringLiteral("{dir}"), QFileInfo(target).path());
    return args;
}

QStringList namesIn(const QString& folder)
{
    return QDir(folder).entryList(QDir::Files | QDir::Hidden | QDir::System, QDir::Name);
}

void put(const QString& path, const QByteArray& bytes)
{
    QFile f(path);
    ASSERT_TRUE(f.open(QIODevice::WriteOnly) && f.write(bytes) == bytes.size());
}

const QByteArray earlier = "the earlier file, which must survive\r\n";

} // namespace

TEST(WriterFaults, AFullDiskFailsEveryWriterAndKeepsTheEarlierFile)
{
    const CliAuction auction;
    ScratchVolume volume(512, false);
    if (!volume.isMounted())
        GTEST_SKIP() << "cannot mount a small file system here (needs the right to mount)";
    std::vector<Writer> writers = {
        {"export|{db}|All Bids|2|-o|{out}", QStringLiteral("bids.txt")},
        {"export|{db}|All Bids|2|--format|csv|-o|{out}", QStringLiteral("bids.csv")},
        {"export|{db}|All Bids|2|--format|json|-o|{out}", QStringLiteral("bids.json")},
        {"print|{db}|Bidders|-o|{out}", QStringLiteral("bids.pdf")},
        {"pivot|{db}|rounds|--from|1|--to|2|-o|{out}", QStringLiteral("bids.xlsx")},
        {"sample|{dir}|--rounds|1", QStringLiteral("05_001.zip")},
#ifdef QV_HAVE_CHARTS
        {"pivot|{db}|rounds|--from|1|--to|2|--chart|{out}", QStringLiteral("bids.png")},
        {"pivot|{db}|rounds|--from|1|--to|2|--chart|{out}", QStringLiteral("bids.svg")},
        {"standings|{db}|--chart|net|-o|{out}", QStringLiteral("net.png")},
        {"report|{db}|-o|{out}", QStringLiteral("report.html")},
#endif
    };
    for (const Writer& writer : writers) {
        SCOPED_TRACE(writer.file.toStdString());
        for (const QString& name : namesIn(volume.path()))
            QFile::remove(QDir(volume.path()).filePath(name));
        const QString target = QDir(volume.path()).filePath(writer.file);
        put(target, earlier);
        volume.fillLeaving(4096); // every output here is larger than a page
        const CliRun run = runCli(argsOf(writer.command, auction.db, target));
        EXPECT_EQ(run.code, 1) << run.out.toStdString() << run.err.toStdString();
        EXPECT_TRUE((run.out + run.err).contains(QStringLiteral("Disk full"))) << run.err.toStdString();
        EXPECT_EQ(readFile(target), earlier);
        QStringList left = namesIn(volume.path());
        left.removeOne(QStringLiteral("filler"));
        EXPECT_EQ(left, QStringList{writer.file});
    }
}

TEST(WriterFaults, AKilledWriteLeavesTheEarlierFileAndNothingElse)
{
    const CliAuction auction(7); // 31,360 bids: outputs long enough to kill a run in the middle
    const auto endsWith = [](const char* tail) {
        return [tail](const QByteArray& b) { return b.endsWith(tail); };
    };
    std::vector<Writer> writers = {
        {"export|{db}|All Bids|-o|{out}", QStringLiteral("bids.txt")},
        {"export|{db}|All Bids|--format|csv|-o|{out}", QStringLiteral("bids.csv")},
        {"export|{db}|All Bids|--format|json|-o|{out}", QStringLiteral("bids.json")},
        {"print|{db}|All Bids|1|-o|{out}", QStringLiteral("bids.pdf"), endsWith("%%EOF\n")},
        // A zip ends with its central directory's end record.
        {"pivot|{db}|rounds|--from|1|--to|2|-o|{out}", QStringLiteral("bids.xlsx"),
         [](const QByteArray& b) { return b.right(22).startsWith("PK\x05\x06"); }},
#ifdef QV_HAVE_CHARTS
        {"pivot|{db}|rounds|--from|1|--to|2|--chart|{out}", QStringLiteral("bids.svg"), endsWith("</svg>\n")},
#endif
    };
    for (Writer& writer : writers) {
        SCOPED_TRACE(writer.file.toStdString());
        if (!writer.whole) { // a whole export is what the command prints without -o
            const QStringList args = argsOf(writer.command, auction.db, {});
            const QByteArray reference = runCli(args.mid(0, args.size() - 2)).out.toUtf8();
            writer.whole = [reference](const QByteArray& b) { return b == reference; };
        }
        TempDir out;
        const QString target = out.file(writer.file);
        int killed = 0;
        for (int attempt = 0; attempt < 3 && killed == 0; ++attempt) {
            put(target, earlier);
            // Killed at the first sign of writing: a new file, or the target changed.
            QProcess run;
            run.start(QStringLiteral(QV_CLI_PATH), argsOf(writer.command, auction.db, target));
            ASSERT_TRUE(run.waitForStarted());
            while (!run.waitForFinished(0)) {
                if (namesIn(out.path()) != QStringList{writer.file} ||
                    QFileInfo(target).size() != earlier.size()) {
                    run.kill();
                    break;
                }
                QThread::usleep(200);
            }
            run.waitForFinished();
            killed += run.exitStatus() == QProcess::CrashExit ? 1 : 0;
            const QByteArray now = readFile(target);
            EXPECT_TRUE(now == earlier || writer.whole(now)) << "half a file: " << now.size() << " bytes";
        }
        EXPECT_EQ(killed, 1) << "never caught writing";
        // The next write in that folder clears what the killed run left.
        EXPECT_EQ(runCli({QStringLiteral("export"), auction.db, QStringLiteral("Bidders"),
                          QStringLiteral("-o"), out.file(QStringLiteral("next.txt"))})
                      .code,
                  0);
        EXPECT_EQ(namesIn(out.path()), (QStringList{writer.file, QStringLiteral("next.txt")}));
    }
}

TEST(WriterFaults, SpecialFilesAreWrittenIntoNotReplaced)
{
    const CliAuction auction;
    TempDir out;
    for (const char* format : {"tsv", "csv"}) { // the text export and the table writer
        SCOPED_TRACE(format);
        const QStringList args = argsOf("export|{db}|Bidders|--format", auction.db, {})
                                 << QLatin1String(format);
        const QString reference = runCli(args).out;
        struct stat st = {};
        const auto kind = [&st](const QString& path) {
            return ::lstat(QFile::encodeName(path).constData(), &st) == 0 ? st.st_mode & S_IFMT : 0u;
        };

        // A FIFO: a reader gets the export, and the FIFO stays.
        const QString fifo = out.file(QStringLiteral("pipe"));
        ASSERT_EQ(::mkfifo(QFile::encodeName(fifo).constData(), 0600), 0);
        QProcess reader;
        reader.start(QStringLiteral("cat"), {fifo});
        EXPECT_EQ(runCli(args + QStringList{QStringLiteral("-o"), fifo}).code, 0);
        if (!reader.waitForFinished(10000))
            reader.kill();
        EXPECT_EQ(QString::fromUtf8(reader.readAllStandardOutput()), reference);
        EXPECT_EQ(kind(fifo), unsigned(S_IFIFO));

        // A character device of our own (the null device): it stays one.
        const QString device = out.file(QStringLiteral("mynull"));
        const bool madeDevice =
            ::mknod(QFile::encodeName(device).constData(), S_IFCHR | 0600, makedev(1, 3)) == 0;
        if (madeDevice) {
            EXPECT_EQ(runCli(args + QStringList{QStringLiteral("-o"), device}).code, 0);
            EXPECT_EQ(kind(device), unsigned(S_IFCHR));
        }

        // Standard output sent to a file, named as /dev/fd/1: that file is
        // written, not replaced by another.
        const QString sent = out.file(QStringLiteral("sent.txt"));
        put(sent, QByteArray());
        kind(sent);
        const ino_t before = st.st_ino;
        QProcess run;
        run.setStandardOutputFile(sent, QIODevice::Append);
        run.start(QStringLiteral(QV_CLI_PATH),
                  args + QStringList{QStringLiteral("-o"), QStringLiteral("/dev/fd/1")});
        ASSERT_TRUE(run.waitForFinished(60000));
        EXPECT_EQ(run.exitCode(), 0) << run.readAllStandardError().toStdString();
        EXPECT_EQ(QString::fromUtf8(readFile(sent)),
                  reference + QStringLiteral("Operation Complete:        Export completed.\n"));
        EXPECT_TRUE(kind(sent) == S_IFREG && st.st_ino == before);
        QStringList expected = {QStringLiteral("pipe"), QStringLiteral("sent.txt")};
        if (madeDevice)
            expected.prepend(QStringLiteral("mynull"));
        EXPECT_EQ(namesIn(out.path()), expected) << "nothing else is left";
        for (const QString& name : expected)
            QFile::remove(out.file(name));
    }
}

TEST(WriterFaults, AFullStandardOutputIsAnErrorInEveryCommand)
{
    const CliAuction auction;
    for (const char* command :
         {"show|{db}|All Bids", "show|{db}|All Bids|--format|json", "sql|{db}|SELECT * FROM [Bidders]",
          "sql|{db}|SELECT * FROM [Bidders]|--format|csv", "summary|{db}", "pivot|{db}|rounds|--from|1|--tsv",
          "export|{db}|All Bids", "export|{db}|All Bids|--format|csv", "export|{db}|All Bids|--format|json",
          "query|{db}|list", "standings|{db}|--by|bidder", "tables|{db}", "export|--help", "--help"}) {
        SCOPED_TRACE(command);
        QProcess run;
        run.setStandardOutputFile(QStringLiteral("/dev/full"));
        run.start(QStringLiteral(QV_CLI_PATH), argsOf(command, auction.db, {}));
        ASSERT_TRUE(run.waitForFinished(60000));
        EXPECT_EQ(run.exitCode(), 1);
        const QString said = QString::fromUtf8(run.readAllStandardError());
        EXPECT_TRUE(said.contains(QStringLiteral("Error 61: Disk full: cannot write 'standard output'")))
            << said.toStdString();
    }
}

} // namespace qv::test
