#pragma once

#include "common/prompter.h"
#include "store/database.h"

#include <QString>

#include <functional>

namespace qv::grid {

// Drops a user table and its rows in sysTables and sysWizard as one
// transaction: after a failure the table is still there and still listed.
// Its saved SQL query, if any, stays.
void dropUserTable(store::Database& database, const QString& table);

enum class DropOutcome { Refused, Declined, Dropped, Failed };

// Drop Table's rules: a table that is not a user table (listed in sysTables,
// not supplied, not the program's or the engine's own) is refused ("Access
// Denied"); a user table is dropped after the "Caution" question is answered Yes. letGo runs just
// before the drop, so that whoever shows the table lets go of it. Errors are
// reported to the prompter as the error report.
DropOutcome dropTableAsked(store::Database& database, Prompter& prompter, const QString& table,
                           const std::function<void()>& letGo);

} // namespace qv::grid
