#pragma once

#include "cli/round_file_readiness.h"

#include <QElapsedTimer>
#include <QFileSystemWatcher>
#include <QObject>
#include <QTimer>

#include <functional>

namespace qv::cli {

// Waits for the next expected round file and hands it over for import once it
// is complete, then goes on with the round after it. It sleeps in the event
// loop: file notifications wake it, and a periodic look covers folders where
// notifications do not arrive (network shares).
class RoundWatcher : public QObject {
    Q_OBJECT
public:
    enum class ImportOutcome {
        Imported,
        FileRefused,       // the file itself is at fault: tried again when it changes
        FailedForNow,      // a failure that can pass (disk full, auction busy): tried again after a wait
        StoppedImporting,  // a stop request rolled the round back
        StoppedRebuilding, // the round is in; a stop request ended the rebuild of the user tables
    };
    struct Hooks {
        // The full path of the next expected round file (it may not exist yet);
        // an Error when the auction cannot be read.
        std::function<QString()> expectedFile;
        // Imports the file, reporting its failures; retry is true when the try
        // before failed for now (what it said need not be said again).
        std::function<ImportOutcome(const QString& path, bool retry)> importFile;
        // A line for the person watching (waiting, retry notes).
        std::function<void(const QString&)> note;
    };

    RoundWatcher(Hooks hooks, int intervalMs, QObject* parent = nullptr);

    // Looks at once, then whenever the folder changes and every interval.
    void start();
    // Ends after the import in progress, if any.
    void stop();
    // True when a stop request cut the import of a round, or the rebuild of
    // the user tables after it, short.
    bool stoppedMidWork() const { return stoppedMidWork_; }

signals:
    void stopped();

private:
    void check();
    void follow(const QString& path);

    Hooks hooks_;
    int intervalMs_;
    QFileSystemWatcher notifications_;
    QTimer periodic_;
    QElapsedTimer clock_;
    RoundFileReadiness readiness_;
    QString expected_;
    QString lastProblem_;
    QTimer retry_;
    int failuresForNow_ = 0; // in a row, on the file followed
    bool importing_ = false;
    bool stopping_ = false;
    bool stoppedMidWork_ = false;
};

// The wait before the next try after failures (that can pass) in a row:
// two seconds, doubling up to a minute.
int retryDelayMs(int failures);

} // namespace qv::cli
