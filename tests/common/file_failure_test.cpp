#include "common/file_failure.h"

#include <QFile>

#include <gtest/gtest.h>

#include <cerrno>

using namespace qv;

// A failed write is judged by its error number, never by the wording of
// the system's message (which follows the user's language).
TEST(FileFailureTest, ErrorNumbersSortIntoKinds)
{
    const struct {
        int code;
        FileFailure kind;
    } cases[] = {
        {ENOSPC, FileFailure::DiskFull}, {EDQUOT, FileFailure::DiskFull}, {EACCES, FileFailure::NoAccess},
        {EPERM, FileFailure::NoAccess},  {EROFS, FileFailure::NoAccess},  {EIO, FileFailure::Other},
        {ENOENT, FileFailure::Other},    {0, FileFailure::Other},
    };
    for (const auto& c : cases)
        EXPECT_EQ(fileFailureOf(c.code), c.kind) << c.code;

    // The error number read right after the failure wins over Qt's account.
    QFile missing(QStringLiteral("/nonexistent-folder/file"));
    ASSERT_FALSE(missing.open(QIODevice::WriteOnly));
    EXPECT_EQ(failureCode(missing, EROFS), EROFS);
    EXPECT_EQ(failureCode(missing, 0), 0);
}
