#include "support/statement_column.h"

#include "store/database.h"

namespace qv::test {

QStringList statementColumn(store::Database& database, const QString& statement)
{
    QStringList values;
    auto rows = database.openRecordset(statement, store::RecordsetType::Snapshot);
    for (int row = 0; row < rows->recordCount(); ++row)
        values << rows->at(row, 0).toString();
    return values;
}

} // namespace qv::test
