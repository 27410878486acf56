#pragma once

#include <QString>

namespace qv::test {

// A small auction database: rounds 1 to 3 of "All Bids", "Markets" and
// "Round Statistics", the system tables, and a user table "Leaders" without
// a [Round] column. Returns its path inside folder.
QString makeSmallAuction(const QString& folder);

} // namespace qv::test
