#pragma once

class QFileDevice;

namespace qv {

// What a failed file operation's error number means to the user.
enum class FileFailure {
    DiskFull, // no room left, or the user's quota spent
    NoAccess, // the folder or file may not be written, or the volume is read-only
    Other,
};

FileFailure fileFailureOf(int code);

// The error number of file's last failed operation: saved (errno read right
// after it) when set, else the nearest to what Qt says of the failure.
int failureCode(const QFileDevice& file, int saved);

} // namespace qv
