#pragma once

#include <QObject>

struct sqlite3;

class QSocketNotifier;

namespace qv::cli {

// SIGINT, SIGTERM and SIGHUP ask a long-running command to end. The handler
// only sets a flag and writes one byte to a pipe; the event loop hears the
// pipe through stopRequested().
class StopSignal : public QObject {
    Q_OBJECT
public:
    // Installs the handlers for the life of the object (one at a time).
    explicit StopSignal(QObject* parent = nullptr);
    ~StopSignal() override;
    StopSignal(const StopSignal&) = delete;
    StopSignal& operator=(const StopSignal&) = delete;

    // True once a signal has arrived.
    static bool requested();
    // As if a signal had arrived (tests).
    static void request();
    // Forgets an earlier request (tests).
    static void reset();

signals:
    void stopRequested();

private:
    QSocketNotifier* notifier_ = nullptr;
};

// Makes a stop request interrupt the statement running on connection while
// a transaction is open, so that the transaction rolls back as a whole; work
// outside a transaction runs to its end.
void interruptTransactionOnStop(sqlite3* connection);

} // namespace qv::cli
