#pragma once

#include <QString>

namespace qv::store {

class Database;
class Recordset;

// One saved query of the SQL query wizard: the clause texts exactly as typed,
// without their keywords (the fields Txt5, Txt0 .. Txt4 of sysQueryBuilder).
struct SqlQuery {
    QString name;   // Txt5, "Query Name"
    QString select; // Txt0
    QString into;   // Txt1, bare or [bracketed]
    QString from;   // Txt2
    QString where;  // Txt3, may be empty
    QString order;  // Txt4, may be empty

    // The clause of a field by the digit of its name (0 to 5).
    QString clause(int digit) const;
    void setClause(int digit, const QString& text);
};

// SELECT s INTO i FROM f[ WHERE w][ ORDER BY o], closed by ";" unless it
// already ends with one. A Select that starts with TRANSFORM (a crosstab) is
// written without the SELECT before it.
QString sqlQueryStatement(const SqlQuery& query);

// The saved query of a row of sysQueryBuilder; a field that is Null or
// missing reads as empty.
SqlQuery savedQueryAt(const Recordset& rows, int row);

// Builds a saved query's table in the place of the table of its name and
// lists it in sysTables once (rows listing it before go), in one transaction
// as replaceBuiltTable does: the SQL query wizard and the rebuild after an
// import both build this way. An Into that is not one name (3125) or names a
// table a user may not build (3033) is refused before anything runs. Returns
// the listed name.
QString buildQueryTable(Database& db, const SqlQuery& query);

} // namespace qv::store
