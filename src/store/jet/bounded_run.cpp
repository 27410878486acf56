#include "store/jet/bounded_run.h"

#include <poll.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>

namespace qv::store::jet {

namespace {

void closeBoth(int fds[2])
{
    ::close(fds[0]);
    ::close(fds[1]);
}

[[noreturn]] void runChild(const std::function<void()>& work, int out, std::chrono::milliseconds limit)
{
    // Bounded by itself too, should this process end without stopping it.
    ::signal(SIGALRM, SIG_DFL);
    ::alarm(static_cast<unsigned>(std::chrono::ceil<std::chrono::seconds>(limit).count()) + 1);
    // Its own output goes to the pipe; nothing of the program's (atexit
    // handlers, buffered streams, open databases) runs at its end.
    ::dup2(out, STDOUT_FILENO);
    ::dup2(out, STDERR_FILENO);
    ::close(out);
    ::signal(SIGPIPE, SIG_DFL);
    // A stop request is the program's to meet: the child, whose time is
    // bounded, neither passes it on through the program's handlers nor dies of it.
    for (const int stop : {SIGINT, SIGTERM, SIGHUP})
        ::signal(stop, SIG_IGN);
    try {
        work();
    } catch (...) {
        // The program meets the same failure when it does the work itself.
    }
    ::_exit(0);
}

// Reads what the child prints until it closes its end, the time is up or
// the cap is passed.
BoundedEnd watchOutput(int in, std::chrono::milliseconds limit, qint64 outputCap)
{
    using Clock = std::chrono::steady_clock;
    const Clock::time_point deadline = Clock::now() + limit;
    qint64 printed = 0;
    char buffer[16 * 1024];
    for (;;) {
        const auto left = std::chrono::duration_cast<std::chrono::milliseconds>(deadline - Clock::now());
        if (left.count() <= 0)
            return BoundedEnd::TooLong;
        pollfd waiting{in, POLLIN, 0};
        const int ready = ::poll(&waiting, 1, static_cast<int>(left.count()));
        if (ready < 0 && errno == EINTR)
            continue;
        if (ready == 0)
            return BoundedEnd::TooLong;
        if (ready < 0) // cannot watch: the child's own alarm bounds it
            return BoundedEnd::Finished;
        const ssize_t n = ::read(in, buffer, sizeof buffer);
        if (n < 0 && errno == EINTR)
            continue;
        if (n <= 0)
            return BoundedEnd::Finished;
        printed += n;
        if (printed > outputCap)
            return BoundedEnd::TooLoud;
    }
}

} // namespace

BoundedEnd runBounded(const std::function<void()>& work, std::chrono::milliseconds limit, qint64 outputCap)
{
    int fds[2];
    // Without a pipe or a child the work is left to the program, as before.
    if (::pipe(fds) != 0)
        return BoundedEnd::Finished;
    const pid_t child = ::fork();
    if (child < 0) {
        closeBoth(fds);
        return BoundedEnd::Finished;
    }
    if (child == 0) {
        ::close(fds[0]);
        runChild(work, fds[1], limit);
    }
    ::close(fds[1]);
    BoundedEnd end = watchOutput(fds[0], limit, outputCap);
    ::close(fds[0]);
    if (end != BoundedEnd::Finished)
        ::kill(child, SIGKILL);
    int status = 0;
    while (::waitpid(child, &status, 0) < 0 && errno == EINTR) {
    }
    if (end == BoundedEnd::Finished && WIFSIGNALED(status))
        end = BoundedEnd::Crashed;
    return end;
}

} // namespace qv::store::jet
