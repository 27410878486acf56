#pragma once

#include <QStringList>

namespace qv::store {
class Database;
}

namespace qv::test {

// The first column of a statement's rows as text, in the order they come.
QStringList statementColumn(store::Database& database, const QString& statement);

} // namespace qv::test
