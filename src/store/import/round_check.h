#pragma once

#include "store/database.h"
#include "store/import/table_columns.h"

#include <QStringList>

namespace qv {

// Why a round database cannot be taken as the given round: the first
// sentence of the refusal, naming the file and what is wrong, or empty when
// it is fit. The supplied tables are the auction's; their column types come
// from typesFrom (the auction, or the round database itself at creation).
// Checked before anything changes:
// - every supplied table but "Withdrawal Statistics" has a [Round] column;
// - numeric columns, and [Round], hold numbers, never text;
// - every row belongs to the round.
// Where a round database's tables are read: a connection, and the schema
// they go by there ("main" on a connection of their own, the attached name on
// the auction's).
struct RoundTables {
    sqlite3* connection = nullptr;
    QString schema;
};

QString roundFileProblem(store::Database& typesFrom, const QStringList& supplied, store::Database& roundDb,
                         int round, const QString& fileName);
// The same with the columns of both databases already read.
QString roundFileProblem(const TableColumns& typesFrom, const QStringList& supplied,
                         const RoundTables& roundDb, const TableColumns& roundColumns, int round,
                         const QString& fileName);

// A name that the program's statements cannot carry (a bracket in it):
// the refusal's first sentence, or empty.
QString tableNameProblem(const QString& table, const QString& fileName);

} // namespace qv
