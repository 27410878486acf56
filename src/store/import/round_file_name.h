#pragma once

#include <QString>

namespace qv {

// A round results file name: auction number in characters 1 to 2, round
// number in characters 4 to 6 ("05_012.zip"). Text that is not a number
// raises the type-mismatch error (13).
int auctionNumberOf(const QString& fileName);
int roundNumberOf(const QString& fileName);

// The database inside an archive: the archive's name with ".mdb" for ".zip".
QString memberNameOf(const QString& fileName);

} // namespace qv
