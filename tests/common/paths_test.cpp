#include "common/error.h"
#include "common/paths.h"

#include <QDir>
#include <QFileInfo>

#include <gtest/gtest.h>

#include <unistd.h>

using namespace qv;

TEST(SplitPath, SplitsAtTheLastSlash)
{
    EXPECT_EQ(SplitPath(QStringLiteral("/home/a/05_001.zip"), true), QStringLiteral("05_001.zip"));
    EXPECT_EQ(SplitPath(QStringLiteral("/home/a/05_001.zip"), false), QStringLiteral("/home/a/"));
    EXPECT_EQ(SplitPath(QStringLiteral("05_001.zip"), true), QStringLiteral("05_001.zip"));
    EXPECT_EQ(SplitPath(QStringLiteral("05_001.zip"), false), QString());
    EXPECT_EQ(SplitPath(QStringLiteral("/home/a/"), true), QString());
}

TEST(ErrorText, FourLayouts)
{
    const Error e(3061, QStringLiteral("Unknown column 'X'."));
    EXPECT_EQ(errorText(ErrorLayout::Report, e), QStringLiteral("Error 3061: Unknown column 'X'."));
    EXPECT_EQ(errorText(ErrorLayout::Generic, e), QStringLiteral("Error:3061 Unknown column 'X'."));
    EXPECT_EQ(errorText(ErrorLayout::Command, e), QStringLiteral("Error: 3061 Unknown column 'X'."));
    EXPECT_EQ(errorText(ErrorLayout::Export, e), QStringLiteral("Error 3061 Unknown column 'X'."));
}

TEST(ApplicationFolder, ComesFromQuorvaneHomeAndIsCreated)
{
    const QString dir = QStringLiteral("/tmp/qv-home-test-%1/app").arg(::getpid());
    qputenv("QUORVANE_HOME", dir.toUtf8());
    EXPECT_EQ(applicationFolder(), dir);
    EXPECT_TRUE(QFileInfo(dir).isDir());
    QDir(dir).removeRecursively();
    qunsetenv("QUORVANE_HOME");
}
