#pragma once

#include "common/prompter.h"
#include "store/database.h"

#include <QString>

#include <functional>

namespace qv::grid {

// A text as a quoted value of a statement: in apostrophes, an apostrophe
// inside doubled, so "Bob's Bids" is one value and matches only itself.
QString quotedValue(const QString& text);

// True when the table came with the round results files. A check that fails
// counts as finding none, as it always has.
bool isSuppliedTable(store::Database& database, const QString& table);

// Drops a user table and its rows in sysTables and sysWizard as one
// transaction: after a failure the table is still there and still listed.
// Its saved SQL query, if any, stays.
void dropUserTable(store::Database& database, const QString& table);

enum class DropOutcome { Refused, Declined, Dropped, Failed };

// Drop Table's rules: a supplied table is refused ("Access Denied"); any other
// is dropped after the "Caution" question is answered Yes. letGo runs just
// before the drop, so that whoever shows the table lets go of it. Errors are
// reported to the prompter as the error report.
DropOutcome dropTableAsked(store::Database& database, Prompter& prompter, const QString& table,
                           const std::function<void()>& letGo);

} // namespace qv::grid
