#pragma once

#include <QByteArray>
#include <QString>

struct sqlite3;

namespace qv::store::sample {

// The database's file image, as it would be written to disk.
QByteArray serializeDatabase(sqlite3* db);

// Writes zipPath as an archive holding one member, memberName, with the
// given contents. The member's time and attributes are fixed, so the same
// contents give the same archive bytes. Throws qv::Error on failure.
void writeRoundArchive(const QString& zipPath, const QString& memberName, const QByteArray& contents);

} // namespace qv::store::sample
