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
    struct Hooks {
        // The full path of the next expected round file (it may not exist yet);
        // an Error when the auction cannot be read.
        std::function<QString()> expectedFile;
        // Imports the file; false when the import failed (already reported).
        std::function<bool(const QString&)> importFile;
        // A line for the person watching (waiting, retry notes).
        std::function<void(const QString&)> note;
    };

    RoundWatcher(Hooks hooks, int intervalMs, QObject* parent = nullptr);

    // Looks at once, then whenever the folder changes and every interval.
    void start();
    // Ends after the import in progress, if any.
    void stop();

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
    bool importing_ = false;
    bool stopping_ = false;
};

} // namespace qv::cli
