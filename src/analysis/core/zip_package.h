#pragma once

#include <QByteArray>
#include <QString>

#include <vector>

namespace qv::analysis {

// The parts of a zip package, written in one go. The file appears whole or
// not at all: the package is built in memory and written through SafeFile.
class ZipPackage {
public:
    void add(const QString& name, QByteArray content);
    // Raises Error 75 when the file cannot be written (61 on a full disk,
    // 76 when its folder does not exist).
    void write(const QString& path) const;

private:
    std::vector<std::pair<QString, QByteArray>> parts_;
};

} // namespace qv::analysis
