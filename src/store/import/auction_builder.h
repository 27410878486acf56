#pragma once

#include "common/error.h"
#include "store/auction_schema.h"
#include "store/import/import_routines.h"

#include <optional>

namespace qv {

// The first steps of creating an auction, alone or by batch: the file
// dialog, remembering its folder, and the round-1 check. Returns nothing
// when the routine ends there.
std::optional<QString> chooseFirstRoundFile(ImportHost& host);

// Makes the chosen first round's database the auction database, with its
// supplied tables listed and the system tables added, and opens it.
// Returns the auction number, or nothing when the user kept an existing
// auction file of that name or the file was refused.
std::optional<int> buildAuction(ImportHost& host, const QString& chosenPath,
                                store::schema::QueryBuilderLayout layout);

// How creating an auction ends on an error: a cancelled file dialog shows
// the opening dialog again, any other error the generic message.
void reportCreationError(ImportHost& host, const Error& error);

} // namespace qv
