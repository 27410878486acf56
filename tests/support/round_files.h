#pragma once

#include <QString>

namespace qv::test {

// Writes a zip archive holding one file under the given stored name.
void writeZip(const QString& zipPath, const QString& storedName, const QByteArray& content);
QByteArray readFile(const QString& path);
// The database stored inside a round results archive.
QByteArray memberOf(const QString& zipPath);

} // namespace qv::test
