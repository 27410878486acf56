#include "common/file_failure.h"

#include <QFileDevice>

#include <cerrno>

namespace qv {

FileFailure fileFailureOf(int code)
{
    switch (code) {
    case ENOSPC:
    case EDQUOT:
        return FileFailure::DiskFull;
    case EACCES:
    case EPERM:
    case EROFS:
        return FileFailure::NoAccess;
    default:
        return FileFailure::Other;
    }
}

int failureCode(const QFileDevice& file, int saved)
{
    if (saved != 0)
        return saved;
    switch (file.error()) {
    case QFileDevice::ResourceError: // what Qt says of a write that found no room
        return ENOSPC;
    case QFileDevice::PermissionsError:
        return EACCES;
    default:
        return 0;
    }
}

} // namespace qv
