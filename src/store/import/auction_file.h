#pragma once

#include <QString>

namespace qv {

// The engine keeps a database's unfinished work in files beside it
// (-journal, -wal, -shm). Left behind by a killed run, they would be played
// back into any new file put under the same name.
QStringList journalSiblings(const QString& databasePath);

// Removes a file we own and every journal sibling of it.
void removeWithSiblings(const QString& databasePath);

// Removes what runs killed part-way left in the application folder: round
// databases extracted under a run's own name ("05_002.mdb.<process>") by a
// process that has ended, half-written extractions and half-built auctions,
// with their journal siblings. (Two runs building the same auction at once
// are not provided for.)
void clearLeftoversOfEndedRuns(const QString& folder);

// Moves the finished, closed database at built over target. An old target
// first has its unfinished work settled (a journal left by a killed run is
// rolled back) and its journal siblings removed, so that nothing of the old
// file can be played into the new one; a crash at any point leaves either
// the old database whole or the new one. The old file in use by another
// program stops the move with an error that names it.
void moveDatabaseIntoPlace(const QString& built, const QString& target);

} // namespace qv
