#pragma once

#include <QByteArray>
#include <QString>

#include <vector>

namespace qv::analysis {

// The parts of a zip package, written in one go. The file appears whole or
// not at all: the zip library writes a copy beside it and renames it at the end.
class ZipPackage {
public:
    void add(const QString& name, QByteArray content);
    // Raises Error 75 when the file cannot be written.
    void write(const QString& path) const;

private:
    std::vector<std::pair<QString, QByteArray>> parts_;
};

} // namespace qv::analysis
