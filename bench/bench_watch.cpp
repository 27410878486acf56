// CPU time of `quorvane-cli watch` while it waits for the next round file,
// and how soon after a round file is complete it has been imported.
//
//   bench_watch [SECONDS]   (default 60; or $QUORVANE_BENCH_WAIT_SECONDS)

#include <QCoreApplication>
#include <QDeadlineTimer>
#include <QElapsedTimer>
#include <QFile>
#include <QProcess>
#include <QTemporaryDir>
#include <QTextStream>
#include <QThread>

#include <csignal>
#include <cstdio>
#include <unistd.h>

namespace {

struct ProcessTimes {
    double cpuSeconds = 0;
    long voluntarySwitches = 0; // one for every time it went to sleep
};

ProcessTimes timesOf(qint64 pid)
{
    ProcessTimes times;
    QFile stat(QStringLiteral("/proc/%1/stat").arg(pid));
    if (stat.open(QIODevice::ReadOnly)) {
        const QByteArray line = stat.readAll();
        // Fields after the command name in parentheses; utime and stime are 14 and 15.
        const QList<QByteArray> fields = line.mid(line.lastIndexOf(')') + 2).split(' ');
        const double ticks = static_cast<double>(sysconf(_SC_CLK_TCK));
        times.cpuSeconds = (fields.value(11).toDouble() + fields.value(12).toDouble()) / ticks;
    }
    QFile status(QStringLiteral("/proc/%1/status").arg(pid));
    if (status.open(QIODevice::ReadOnly)) {
        for (const QByteArray& line : status.readAll().split('\n'))
            if (line.startsWith("voluntary_ctxt_switches:"))
                times.voluntarySwitches = line.mid(line.indexOf(':') + 1).trimmed().toLong();
    }
    return times;
}

int run(const QStringList& args)
{
    QProcess p;
    p.start(QStringLiteral(QV_CLI_PATH), args);
    p.waitForFinished(120000);
    return p.exitCode();
}

bool waitForOutput(QProcess& process, QByteArray& seen, const QByteArray& text, int ms)
{
    QDeadlineTimer deadline(ms);
    while (!seen.contains(text) && !deadline.hasExpired()) {
        process.waitForReadyRead(20);
        seen += process.readAllStandardOutput() + process.readAllStandardError();
    }
    return seen.contains(text);
}

} // namespace

int main(int argc, char** argv)
{
    QCoreApplication app(argc, argv);
    QTextStream out(stdout);
    int seconds = qEnvironmentVariableIntValue("QUORVANE_BENCH_WAIT_SECONDS");
    if (argc > 1)
        seconds = QString::fromLocal8Bit(argv[1]).toInt();
    if (seconds <= 0)
        seconds = 60;

    QTemporaryDir work;
    const QString source = work.filePath(QStringLiteral("source"));
    const QString incoming = work.filePath(QStringLiteral("incoming"));
    const QString appDir = work.filePath(QStringLiteral("app"));
    if (run({QStringLiteral("sample"), source, QStringLiteral("--rounds"), QStringLiteral("3"),
             QStringLiteral("--licenses"), QStringLiteral("1500"), QStringLiteral("--bidders"),
             QStringLiteral("150")}) != 0)
        return 1;
    QDir().mkpath(incoming);
    QFile::copy(source + QStringLiteral("/05_001.zip"), incoming + QStringLiteral("/05_001.zip"));
    if (run({QStringLiteral("--app-dir"), appDir, QStringLiteral("create"),
             incoming + QStringLiteral("/05_001.zip")}) != 0)
        return 1;

    QProcess watch;
    watch.start(QStringLiteral(QV_CLI_PATH),
                {QStringLiteral("--app-dir"), appDir, QStringLiteral("watch"),
                 appDir + QStringLiteral("/Auction5.mdb"), QStringLiteral("--folder"), incoming,
                 QStringLiteral("--interval"), QStringLiteral("1")});
    QByteArray seen;
    if (!waitForOutput(watch, seen, "Waiting for", 10000))
        return 1;
    QThread::msleep(500);
    const ProcessTimes before = timesOf(watch.processId());
    QThread::sleep(static_cast<unsigned long>(seconds));
    const ProcessTimes after = timesOf(watch.processId());
    const double cpu = after.cpuSeconds - before.cpuSeconds;
    out << "Waiting " << seconds << " s with --interval 1: CPU time " << QString::number(cpu, 'f', 3)
        << " s (" << QString::number(100.0 * cpu / seconds, 'f', 3) << "% of one core), "
        << (after.voluntarySwitches - before.voluntarySwitches) << " wake-ups\n";

    // Round 2 of the large auction arrives: from the moment it is complete
    // (renamed into place) to its line.
    QFile::copy(source + QStringLiteral("/05_002.zip"), incoming + QStringLiteral("/05_002.part"));
    QElapsedTimer clock;
    clock.start();
    std::rename(QFile::encodeName(incoming + QStringLiteral("/05_002.part")).constData(),
                QFile::encodeName(incoming + QStringLiteral("/05_002.zip")).constData());
    if (!waitForOutput(watch, seen, "Round 2: ", 30000))
        return 1;
    out << "Round 2 (1,500 licences) imported "
        << QString::number(static_cast<double>(clock.elapsed()) / 1000, 'f', 2)
        << " s after it was complete\n";
    ::kill(static_cast<pid_t>(watch.processId()), SIGTERM);
    watch.waitForFinished(10000);
    return watch.exitCode();
}
