#pragma once

#include <QDir>
#include <QString>
#include <QTemporaryDir>

namespace qv::test {

// A fresh folder for one test, removed with everything in it at the end.
class TempDir {
public:
    TempDir() : dir_(QDir::tempPath() + QStringLiteral("/quorvane-test-XXXXXX")) {}

    bool isValid() const { return dir_.isValid(); }
    QString path() const { return dir_.path(); }
    // The path of a file or folder inside it.
    QString file(const QString& name) const { return dir_.filePath(name); }

private:
    QTemporaryDir dir_;
};

} // namespace qv::test
