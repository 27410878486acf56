#pragma once

#include "store/database.h"

#include <QString>
#include <QStringList>

namespace qv {

// The process-wide state: one open auction database and the paths that go
// with it. CurrentDatabase and its path change only through OpenAuctionDatabase
// and CloseAuctionDatabase. Each program sets LastImportFile as it starts; the
// import and the rebuild of user tables keep their working state in the other
// fields while they run.
struct Session {
    store::DatabasePtr CurrentDatabase;
    QString CurrentDatabasePath;
    QString LastImportFile;      // application folder + "/lastimp.inf"
    QString ExtractRenameTarget; // while not empty, archive extraction writes under this name
    QString RebuildTableName;    // the user table the query rebuild is working on
    QStringList OutOfDateTables; // user tables a rebuild left as they were because a window shows them
};

Session& session();

// Opens the auction database at path as CurrentDatabase (closing any previous
// one) and records its path. Engine errors pass to the caller.
void OpenAuctionDatabase(const QString& path);

// Closes CurrentDatabase; CurrentDatabasePath keeps its value.
void CloseAuctionDatabase();

} // namespace qv
