#include "bench_support.h"

#include "common/error.h"
#include "store/import/import_routines.h"
#include "store/sample/sample_auction.h"
#include "store/session.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QProcess>
#include <QTextStream>

#include <algorithm>
#include <cstdlib>
#include <ctime>
#include <sys/resource.h>
#include <unistd.h>

namespace qv::bench {

namespace {

bool isLarge(const SampleSize& size)
{
    return size.licences == LargeSize.licences && size.bidders == LargeSize.bidders &&
           size.rounds == LargeSize.rounds;
}

// The large auction keeps the names its cache has always had.
QString sizeTag(const SampleSize& size)
{
    return isLarge(size) ? QString()
                         : QStringLiteral("-%1x%2x%3").arg(size.licences).arg(size.bidders).arg(size.rounds);
}

QString roundFile(int round)
{
    return QStringLiteral("05_%1.zip").arg(round, 3, 10, QLatin1Char('0'));
}

QString builtAuctionPath(const SampleSize& size)
{
    return cacheFolder() + (isLarge(size) ? QStringLiteral("/Auction5-250.mdb")
                                          : QStringLiteral("/Auction5%1.mdb").arg(sizeTag(size)));
}

} // namespace

double timeIt(const std::function<void()>& work)
{
    const auto start = std::chrono::steady_clock::now();
    work();
    return std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
}

double median(std::vector<double> values)
{
    if (values.empty())
        return 0;
    std::sort(values.begin(), values.end());
    const size_t mid = values.size() / 2;
    return values.size() % 2 ? values[mid] : (values[mid - 1] + values[mid]) / 2;
}

double processorSeconds()
{
    return double(std::clock()) / CLOCKS_PER_SEC;
}

double childProcessorSeconds()
{
    rusage usage{};
    getrusage(RUSAGE_CHILDREN, &usage);
    return double(usage.ru_utime.tv_sec + usage.ru_stime.tv_sec) +
           double(usage.ru_utime.tv_usec + usage.ru_stime.tv_usec) / 1e6;
}

Answer SilentPrompter::message(const QString& text, const QString&, Icon, Buttons buttons, Answer)
{
    messages << text;
    return buttons == Buttons::YesNo || buttons == Buttons::YesNoCancel ? Answer::Yes : Answer::OK;
}

std::optional<QString> SilentPrompter::input(const QString&, const QString&, const QString& defaultText)
{
    return defaultText;
}

QString SilentPrompter::openFile(const FileChoice&)
{
    return file;
}
QString SilentPrompter::saveFile(const FileChoice&)
{
    return file;
}

void useApplicationFolder(const QString& folder)
{
    QDir().mkpath(folder);
    CloseAuctionDatabase();
    qputenv("QUORVANE_HOME", folder.toUtf8());
    session() = Session{};
    session().LastImportFile = folder + QStringLiteral("/lastimp.inf");
}

QString cacheFolder()
{
    const QString env = qEnvironmentVariable("QUORVANE_BENCH_CACHE");
    const QString folder = env.isEmpty() ? QStringLiteral("/tmp/quorvane-bench-cache") : env;
    QDir().mkpath(folder);
    return folder;
}

SampleSize sampleSizeNamed(const QString& name)
{
    if (name.isEmpty() || name == QLatin1String("large"))
        return LargeSize;
    if (name == QLatin1String("very-large"))
        return VeryLargeSize;
    if (name == QLatin1String("50"))
        return FiftyRoundsSize;
    fail(QStringLiteral("unknown size '%1' (large, very-large or 50)").arg(name));
}

QString nextRoundZip(const SampleSize& size)
{
    return cacheFolder() + QStringLiteral("/round%1%2/").arg(size.rounds + 1).arg(sizeTag(size)) +
           roundFile(size.rounds + 1);
}

QString sampleFolder(const SampleSize& size)
{
    const QString folder = cacheFolder() + QStringLiteral("/auction5%1-rounds").arg(sizeTag(size));
    const QString next = nextRoundZip(size);
    if (QFileInfo::exists(folder + QLatin1Char('/') + roundFile(size.rounds)) && QFileInfo::exists(next))
        return folder;
    // Written beside the cache and renamed, so an interrupted run leaves no
    // half-made folder behind that looks complete.
    const QString partial = folder + QStringLiteral(".partial");
    QDir(partial).removeRecursively();
    QDir(folder).removeRecursively();
    store::sample::SampleOptions options;
    options.auction = 5;
    options.rounds = size.rounds + 1;
    options.licenses = size.licences;
    options.bidders = size.bidders;
    options.seed = 1;
    QTextStream(stdout) << "Generating the " << size.name << " sample auction (once) ..." << Qt::endl;
    const double before = processorSeconds();
    const double seconds = timeIt([&] { store::sample::writeSampleAuction(partial, options); });
    QTextStream(stdout) << "  generated " << options.rounds << " rounds in " << seconds << " s (processor "
                        << processorSeconds() - before << " s, peak resident " << peakResidentKiB() / 1024
                        << " MiB)" << Qt::endl;
    QDir().mkpath(QFileInfo(next).path());
    QFile::remove(next);
    if (!QFile::rename(partial + QLatin1Char('/') + roundFile(size.rounds + 1), next) ||
        !QDir().rename(partial, folder))
        fail(QStringLiteral("cannot move the generated files into ") + folder);
    return folder;
}

void storeBuiltAuction(const SampleSize& size, const QString& built)
{
    copyFresh(built, builtAuctionPath(size));
}

QString builtAuction(const SampleSize& size)
{
    const QString cached = builtAuctionPath(size);
    if (QFileInfo::exists(cached))
        return cached;
    const QString rounds = sampleFolder(size);
    const QString app = cacheFolder() + QStringLiteral("/build-app");
    QDir(app).removeRecursively();
    useApplicationFolder(app);
    SilentPrompter prompter;
    prompter.file = rounds + QStringLiteral("/05_001.zip");
    ImportHost host{prompter};
    QTextStream(stdout) << "Batch-importing the " << size.name << " auction (once) ..." << Qt::endl;
    if (!BatchImportAuction(host))
        fail(QStringLiteral("batch import of the %1 auction failed").arg(QLatin1String(size.name)),
             &prompter);
    CloseAuctionDatabase();
    storeBuiltAuction(size, app + QStringLiteral("/Auction5.mdb"));
    QDir(app).removeRecursively();
    return cached;
}

QString largeSampleFolder()
{
    return sampleFolder(LargeSize);
}

QString largeRound251Zip()
{
    return nextRoundZip(LargeSize);
}

void storeLargeAuction250(const QString& built)
{
    storeBuiltAuction(LargeSize, built);
}

QString largeAuction250()
{
    return builtAuction(LargeSize);
}

void copyFresh(const QString& from, const QString& to)
{
    QFile::remove(to);
    if (!QFile::copy(from, to))
        throw Error(err::FileNotFound, QStringLiteral("cannot copy %1 to %2").arg(from, to));
    QFile(to).setPermissions(QFileDevice::ReadOwner | QFileDevice::WriteOwner);
}

double runShell(const QString& database, const QString& script)
{
    QProcess shell;
    shell.setStandardOutputFile(QProcess::nullDevice());
    settle();
    double seconds = 0;
    seconds = timeIt([&] {
        shell.start(QStringLiteral("sqlite3"), {QStringLiteral("-bail"), database});
        shell.write(script.toUtf8());
        shell.closeWriteChannel();
        shell.waitForFinished(-1);
    });
    const QString errors = QString::fromUtf8(shell.readAllStandardError());
    if (shell.exitStatus() != QProcess::NormalExit || shell.exitCode() != 0 || !errors.isEmpty())
        throw Error(err::EngineFailure, QStringLiteral("sqlite3 shell failed: ") + errors);
    return seconds;
}

ProcessFigures timeProcess(const QString& program, const QStringList& args, const QString& outputFile,
                           const QString& input)
{
    const QString times = outputFile + QStringLiteral(".time");
    QProcess process;
    process.setStandardOutputFile(outputFile);
    settle();
    process.start(QStringLiteral("/usr/bin/time"),
                  QStringList{QStringLiteral("-f"), QStringLiteral("%e %U %S %M"), QStringLiteral("-o"),
                              times, program} +
                      args);
    process.write(input.toUtf8());
    process.closeWriteChannel();
    process.waitForFinished(-1);
    if (process.exitStatus() != QProcess::NormalExit || process.exitCode() != 0)
        fail(program + QLatin1Char(' ') + args.join(QLatin1Char(' ')) + QStringLiteral(" failed: ") +
             QString::fromUtf8(process.readAllStandardError()));
    QFile file(times);
    if (!file.open(QIODevice::ReadOnly))
        fail(QStringLiteral("no figures from /usr/bin/time"));
    const QStringList figures = QString::fromUtf8(file.readAll()).trimmed().split(QLatin1Char(' '));
    if (figures.size() != 4)
        fail(QStringLiteral("unexpected figures from /usr/bin/time: ") + figures.join(QLatin1Char(' ')));
    return {figures[0].toDouble(), figures[1].toDouble() + figures[2].toDouble(),
            figures[3].toDouble() / 1024};
}

std::vector<ProcessFigures> alternatedMedians(const std::vector<TimedCommand>& commands,
                                              const QString& outputFile, int runs)
{
    std::vector<std::vector<ProcessFigures>> taken(commands.size());
    for (int run = 0; run < runs; ++run)
        for (size_t c = 0; c < commands.size(); ++c)
            taken[c].push_back(
                timeProcess(commands[c].program, commands[c].args, outputFile, commands[c].input));
    std::vector<ProcessFigures> medians;
    for (const std::vector<ProcessFigures>& runsOfOne : taken) {
        std::vector<double> wall, processor, peak;
        for (const ProcessFigures& f : runsOfOne) {
            wall.push_back(f.wall);
            processor.push_back(f.processor);
            peak.push_back(f.peakMiB);
        }
        medians.push_back({median(wall), median(processor), median(peak)});
    }
    return medians;
}

QStringList suppliedTables(const QString& auctionPath)
{
    QProcess shell;
    shell.start(QStringLiteral("sqlite3"),
                {QStringLiteral("-readonly"), auctionPath,
                 QStringLiteral("SELECT TableName FROM sysSuppliedTables ORDER BY rowid")});
    shell.waitForFinished(-1);
    QStringList tables =
        QString::fromUtf8(shell.readAllStandardOutput()).split(QLatin1Char('\n'), Qt::SkipEmptyParts);
    if (tables.isEmpty())
        fail(QStringLiteral("no supplied tables in ") + auctionPath);
    return tables;
}

QString quoted(const QString& name)
{
    QString inner = name;
    inner.replace(QLatin1Char('"'), QStringLiteral("\"\""));
    return QLatin1Char('"') + inner + QLatin1Char('"');
}

QString literal(const QString& text)
{
    QString inner = text;
    inner.replace(QLatin1Char('\''), QStringLiteral("''"));
    return QLatin1Char('\'') + inner + QLatin1Char('\'');
}

QString roundCopyScript(const QString& roundDatabase, const QStringList& tables, int round, bool deleteOld,
                        bool recordRound, const QString& checks)
{
    const QString r = QString::number(round);
    QString script = QStringLiteral("ATTACH ") + literal(roundDatabase) + QStringLiteral(" AS r;\n") +
                     checks + QStringLiteral("BEGIN;\n");
    for (const QString& t : tables) {
        if (t == QLatin1String("Withdrawal Statistics"))
            script += QStringLiteral("DELETE FROM main.") + quoted(t) + QStringLiteral(";\n");
        else if (deleteOld)
            script += QStringLiteral("DELETE FROM main.") + quoted(t) + QStringLiteral(" WHERE Round=") + r +
                      QStringLiteral(";\n");
        script += QStringLiteral("INSERT INTO main.") + quoted(t) + QStringLiteral(" SELECT * FROM r.") +
                  quoted(t) + QStringLiteral(";\n");
    }
    if (recordRound)
        script += QStringLiteral("DELETE FROM sysRounds WHERE Round=") + r +
                  QStringLiteral(";\nINSERT INTO sysRounds (Round) VALUES (") + r + QStringLiteral(");\n");
    script += QStringLiteral("COMMIT;\nDETACH r;\n");
    return script;
}

QString roundZipCopyScript(const QString& zip, const QString& scratch, const QStringList& tables, int round,
                           bool deleteOld, bool recordRound, const QString& checks)
{
    const QString member = QFileInfo(zip).completeBaseName() + QStringLiteral(".mdb");
    return QStringLiteral("SELECT writefile(") + literal(scratch) + QStringLiteral(", data) FROM zipfile(") +
           literal(zip) + QStringLiteral(") WHERE name = ") + literal(member) + QStringLiteral(";\n") +
           roundCopyScript(scratch, tables, round, deleteOld, recordRound, checks);
}

QStringList numericColumns(const QString& auctionPath)
{
    QProcess shell;
    shell.start(
        QStringLiteral("sqlite3"),
        {QStringLiteral("-readonly"), QStringLiteral("-separator"), QStringLiteral("\t"), auctionPath,
         QStringLiteral("SELECT m.name, p.name FROM sqlite_master AS m JOIN pragma_table_info(m.name) "
                        "AS p WHERE m.name IN (SELECT TableName FROM sysSuppliedTables) AND (p.name = "
                        "'Round' OR upper(p.type) IN ('LONG', 'DOUBLE', 'CURRENCY')) ORDER BY m.name, "
                        "p.cid")});
    shell.waitForFinished(-1);
    return QString::fromUtf8(shell.readAllStandardOutput()).split(QLatin1Char('\n'), Qt::SkipEmptyParts);
}

QString roundCheckScript(const QStringList& tables, const QStringList& numeric, int round)
{
    QString script = QStringLiteral("PRAGMA r.quick_check(1);\n");
    for (const QString& t : tables) {
        QStringList texts;
        for (const QString& line : numeric)
            if (line.section(QLatin1Char('\t'), 0, 0) == t)
                texts << QStringLiteral("typeof(") + quoted(line.section(QLatin1Char('\t'), 1)) +
                             QStringLiteral(") = 'text'");
        if (!texts.isEmpty())
            script += QStringLiteral("SELECT 1 FROM r.") + quoted(t) + QStringLiteral(" WHERE ") +
                      texts.join(QStringLiteral(" OR ")) + QStringLiteral(" LIMIT 1;\n");
        if (t != QLatin1String("Withdrawal Statistics"))
            script += QStringLiteral("SELECT 1 FROM r.") + quoted(t) +
                      QStringLiteral(" WHERE Round IS NULL OR Round <> %1 LIMIT 1;\n").arg(round);
    }
    return script;
}

QString roundIndexScript(const QString& auctionPath)
{
    QProcess shell;
    shell.start(QStringLiteral("sqlite3"),
                {QStringLiteral("-readonly"), auctionPath,
                 QStringLiteral("SELECT sql || ';' FROM sqlite_master WHERE type = 'index' AND name LIKE "
                                "'qv_round:%'")});
    shell.waitForFinished(-1);
    const QString script = QString::fromUtf8(shell.readAllStandardOutput());
    if (script.isEmpty())
        fail(QStringLiteral("no [Round] indexes in ") + auctionPath);
    return script;
}

void settle()
{
    ::sync();
}

long peakResidentKiB()
{
    QFile status(QStringLiteral("/proc/self/status"));
    if (!status.open(QIODevice::ReadOnly))
        return -1;
    for (const QByteArray& line : status.readAll().split('\n'))
        if (line.startsWith("VmHWM:"))
            return line.mid(6).trimmed().split(' ').value(0).toLong();
    return -1;
}

void fail(const QString& what, const SilentPrompter* prompter)
{
    QTextStream err(stderr);
    err << "FAILED: " << what << Qt::endl;
    if (prompter)
        for (const QString& m : prompter->messages)
            err << "  prompter: " << QString(m).replace(QLatin1Char('\r'), QLatin1Char(' ')) << Qt::endl;
    std::exit(1);
}

} // namespace qv::bench
