#pragma once

#include <QString>

namespace qv {

// The engine keeps a database's unfinished work in files beside it
// (-journal, -wal, -shm). Left behind by a killed run, they would be played
// back into any new file put under the same name.
QStringList journalSiblings(const QString& databasePath);

// Removes a file we own and every journal sibling of it.
void removeWithSiblings(const QString& databasePath);

// The names a run gives the files it makes in the application folder: a
// round database extracted for one import (".qv-round.05_002.mdb.<process>")
// and an auction being built (".qv-building.Auction5.mdb.<process>"). The
// prefix is ours and the process is the maker: no file of the user's is
// named so.
QString extractedRoundName(const QString& member);
QString buildingAuctionName(const QString& auctionName);

// Removes what runs killed part-way left in the application folder: files
// named as above (half-written extractions and journal siblings included)
// whose process has ended. Nothing else is ever removed: a user's
// "Auction5.mdb.20261207" stays.
void clearLeftoversOfEndedRuns(const QString& folder);

// Moves the finished, closed database at built over target. An old target
// first has its unfinished work settled (a journal left by a killed run is
// rolled back) and its journal siblings removed, so that nothing of the old
// file can be played into the new one; a crash at any point leaves either
// the old database whole or the new one. The old file in use by another
// program stops the move with an error that names it.
void moveDatabaseIntoPlace(const QString& built, const QString& target);

} // namespace qv
