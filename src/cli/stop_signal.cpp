#include "cli/stop_signal.h"

#include <QSocketNotifier>

#include <sqlite3.h>

#include <atomic>
#include <csignal>
#include <fcntl.h>
#include <unistd.h>

namespace qv::cli {

namespace {

constexpr int stopSignals[] = {SIGINT, SIGTERM, SIGHUP};
std::atomic<bool> stopFlag{false};
int wakePipe[2] = {-1, -1};

extern "C" void onStopSignal(int)
{
    stopFlag.store(true);
    if (wakePipe[1] >= 0) {
        const char byte = 's';
        [[maybe_unused]] const ssize_t written = ::write(wakePipe[1], &byte, 1);
    }
}

int onProgress(void* connection)
{
    return stopFlag.load() && sqlite3_get_autocommit(static_cast<sqlite3*>(connection)) == 0 ? 1 : 0;
}

} // namespace

StopSignal::StopSignal(QObject* parent) : QObject(parent)
{
    if (::pipe2(wakePipe, O_CLOEXEC | O_NONBLOCK) != 0)
        wakePipe[0] = wakePipe[1] = -1;
    struct sigaction action = {};
    action.sa_handler = onStopSignal;
    sigemptyset(&action.sa_mask);
    action.sa_flags = SA_RESTART;
    // A closed terminal (SIGHUP) ends the command as a stop asked for does.
    for (const int stop : stopSignals)
        sigaction(stop, &action, nullptr);
    if (wakePipe[0] >= 0) {
        notifier_ = new QSocketNotifier(wakePipe[0], QSocketNotifier::Read, this);
        connect(notifier_, &QSocketNotifier::activated, this, [this] {
            char buffer[16];
            while (::read(wakePipe[0], buffer, sizeof buffer) > 0) {
            }
            emit stopRequested();
        });
    }
}

StopSignal::~StopSignal()
{
    for (const int stop : stopSignals)
        std::signal(stop, SIG_DFL);
    delete notifier_;
    for (int& fd : wakePipe) {
        if (fd >= 0)
            ::close(fd);
        fd = -1;
    }
}

bool StopSignal::requested()
{
    return stopFlag.load();
}

void StopSignal::request()
{
    onStopSignal(SIGTERM);
}

void StopSignal::reset()
{
    stopFlag.store(false);
}

void interruptTransactionOnStop(sqlite3* connection)
{
    sqlite3_progress_handler(connection, 256, onProgress, connection);
}

} // namespace qv::cli
