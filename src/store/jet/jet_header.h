#pragma once

#include <QByteArrayView>
#include <QString>

namespace qv::store::jet {

enum class JetVersion { Jet3, Jet4 };

// What the header page says about the file's layout.
struct JetFileLayout {
    JetVersion version = JetVersion::Jet4;
    int pageSize = 4096;
    qsizetype pageCount = 0;
};

// True when the first bytes carry the engine's signature ("Standard Jet DB" at byte 4).
bool hasJetSignature(QByteArrayView head);

// Checks the whole content of the database at `path` before any page of it is parsed: signature,
// version, a size that is a whole number of pages, the catalogue's definition page, and the
// encryption key and password fields of the header page. Throws qv::Error 3343 for a file that is
// not a readable Jet database and 3031 for an encrypted or password-protected one.
JetFileLayout checkJetFile(const QString& path, QByteArrayView bytes);

} // namespace qv::store::jet
