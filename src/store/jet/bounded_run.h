#pragma once

#include <QtGlobal>

#include <chrono>
#include <functional>

namespace qv::store::jet {

// How a piece of work run apart from the program ended.
enum class BoundedEnd {
    Finished, // it returned (or threw: the program meets that itself when it does the work)
    TooLong,  // still running at the time limit: stopped
    TooLoud,  // printed more than the cap: stopped
    Crashed,  // ended by a signal of its own
};

// Runs work in a child process (a fork of this one) that may run for at most
// limit and print at most outputCap bytes to standard output and standard
// error together; what it prints is discarded. The child only reads: nothing
// it does reaches this process. Without a pipe or a child process it is not
// run, and Finished is returned. Work that reads a damaged file through a
// library that may loop for ever (libmdb) is tried this way first.
BoundedEnd runBounded(const std::function<void()>& work, std::chrono::milliseconds limit, qint64 outputCap);

} // namespace qv::store::jet
