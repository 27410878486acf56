#include "cli/round_watcher.h"

#include "cli/stop_signal.h"
#include "common/error.h"

#include <QFileInfo>

namespace qv::cli {

namespace {

// A file that stays the same but does not open as an archive is taken as
// damaged after this many intervals, and its import reports why.
constexpr int graceIntervals = 5;
constexpr qint64 minimumGraceMs = 3000;

} // namespace

int retryDelayMs(int failures)
{
    constexpr int firstMs = 2000;
    constexpr int capMs = 60000;
    int delay = firstMs;
    for (int i = 1; i < failures && delay < capMs; ++i)
        delay *= 2;
    return std::min(delay, capMs);
}

RoundWatcher::RoundWatcher(Hooks hooks, int intervalMs, QObject* parent)
    : QObject(parent), hooks_(std::move(hooks)), intervalMs_(intervalMs),
      // Timers may fire a little early: a file unchanged for most of an
      // interval has stayed the same from one look to the next.
      readiness_(intervalMs * 3 / 4, std::max<qint64>(qint64{graceIntervals} * intervalMs, minimumGraceMs))
{
    periodic_.setInterval(intervalMs_);
    connect(&periodic_, &QTimer::timeout, this, &RoundWatcher::check);
    // A change starts the settle time again: the next look comes one interval
    // after the last write.
    auto changed = [this] {
        check();
        if (!stopping_)
            periodic_.start();
    };
    connect(&notifications_, &QFileSystemWatcher::directoryChanged, this, changed);
    connect(&notifications_, &QFileSystemWatcher::fileChanged, this, changed);
    retry_.setSingleShot(true);
    connect(&retry_, &QTimer::timeout, this, [this] {
        readiness_.retry();
        check();
    });
}

void RoundWatcher::start()
{
    clock_.start();
    periodic_.start();
    check();
}

void RoundWatcher::stop()
{
    stopping_ = true;
    periodic_.stop();
    retry_.stop();
    if (!importing_)
        emit stopped();
}

void RoundWatcher::follow(const QString& path)
{
    if (path == expected_)
        return;
    if (!notifications_.files().isEmpty())
        notifications_.removePaths(notifications_.files());
    if (!notifications_.directories().isEmpty())
        notifications_.removePaths(notifications_.directories());
    expected_ = path;
    failuresForNow_ = 0;
    retry_.stop();
    hooks_.note(QStringLiteral("Waiting for ") + path);
}

void RoundWatcher::check()
{
    if (stopping_ || importing_)
        return;
    QString path;
    try {
        path = hooks_.expectedFile();
    } catch (const Error& error) {
        const QString problem = errorText(ErrorLayout::Generic, error);
        if (problem != lastProblem_)
            hooks_.note(problem);
        lastProblem_ = problem;
        return;
    }
    lastProblem_.clear();
    follow(path);
    // A folder that did not exist yet is followed once it does.
    const QString folder = QFileInfo(path).absolutePath();
    if (notifications_.directories().isEmpty() && QFileInfo(folder).isDir())
        notifications_.addPath(folder);
    const FileSignature signature = signatureOf(path);
    // The file itself is followed once it exists (writes into it do not always
    // touch the folder) and may be read: following one we may not read fails,
    // with a warning at every look.
    if (signature.size >= 0 && !notifications_.files().contains(path) && QFileInfo(path).isReadable())
        notifications_.addPath(path);
    const auto verdict =
        readiness_.observe(path, signature, clock_.elapsed(), [&] { return isCompleteArchive(path); });
    if (verdict != RoundFileReadiness::Verdict::Import)
        return;

    importing_ = true;
    const ImportOutcome outcome = hooks_.importFile(path, failuresForNow_ > 0);
    importing_ = false;
    switch (outcome) {
    case ImportOutcome::Imported:
    case ImportOutcome::StoppedRebuilding:
        readiness_.imported();
        failuresForNow_ = 0;
        break;
    case ImportOutcome::FailedForNow:
        // Left alone until the wait is over, or until it changes.
        readiness_.failed();
        if (++failuresForNow_ == 1)
            hooks_.note(QStringLiteral("Not imported for now: ") + path +
                        QStringLiteral(" will be tried again, after waits that grow to a minute"));
        retry_.start(retryDelayMs(failuresForNow_));
        break;
    case ImportOutcome::StoppedImporting:
        readiness_.failed();
        hooks_.note(QStringLiteral("Stopped during the import: nothing of ") + path +
                    QStringLiteral(" was kept"));
        break;
    case ImportOutcome::FileRefused:
        readiness_.failed();
        failuresForNow_ = 0;
        hooks_.note(QStringLiteral("Not imported: ") + path +
                    QStringLiteral(" will be tried again when it changes"));
        break;
    }
    if (outcome == ImportOutcome::StoppedImporting || outcome == ImportOutcome::StoppedRebuilding)
        stoppedMidWork_ = true;
    if (stopping_ || StopSignal::requested()) {
        stop();
        return;
    }
    // The next round may be there already.
    QTimer::singleShot(0, this, &RoundWatcher::check);
}

} // namespace qv::cli
