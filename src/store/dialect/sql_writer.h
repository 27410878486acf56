#pragma once

#include "store/dialect/schema.h"
#include "store/dialect/syntax.h"

#include <QString>

#include <vector>

namespace qv::store::dialect {

// The tables an expression can name: those of its own SELECT, then those of
// the SELECTs around it.
struct ScopeTable {
    QString name;
    QString alias;
    std::vector<SchemaColumn> columns;
    bool known = false;
};
struct Scope {
    const Scope* outer = nullptr;
    std::vector<ScopeTable> tables;

    // The type of a column, Unknown when no table in reach has it.
    ValueType typeOf(const QString& qualifier, const QString& name) const;
};

// An expression written for SQLite. A condition is SQLite's truth (1, 0 or
// Null) where the dialect's value of True is -1.
struct Operand {
    QString sql;
    ValueType type = ValueType::Unknown;
    bool condition = false;
    bool atomic = false;           // a name, a literal or a call: needs no brackets
    bool column = false;           // a column read as it is: it compares by its own collation
    const Expr* literal = nullptr; // a literal as written, converted at once where needed
};

struct OutputColumn {
    QString name;
    ValueType type = ValueType::Unknown;
    bool expression = false; // computed, not a column read as it is
};

struct WrittenSelect {
    QString sql;
    std::vector<OutputColumn> columns;
};

struct SelectParts;

// Writes the syntax trees of one statement as SQLite, computing as the
// dialect's engine does: its operators, its functions, its types.
class SqlWriter {
public:
    SqlWriter(const Schema* schema, QString statement);

    WrittenSelect select(const Select& s, const Scope* outer);
    Operand expression(const Expr& e, const Scope& scope);
    QString orderList(const std::vector<OrderItem>& items, const Scope& scope);
    // The scope of a statement on one table.
    Scope tableScope(const QString& table) const;

    static QString value(const Operand& o);
    static QString condition(const Operand& o);

    [[noreturn]] void syntaxError(const Expr& at) const;

private:
    Operand literalOf(const Expr& e) const;
    Operand arithmetic(const Expr& e, const Scope& scope);
    Operand concatenation(const Expr& e, const Scope& scope);
    Operand comparison(const QString& op, const Operand& a, const Operand& b) const;
    Operand logical(const Expr& e, const Scope& scope);
    Operand like(const Expr& e, const Scope& scope);
    Operand between(const Expr& e, const Scope& scope);
    Operand inList(const Expr& e, const Scope& scope);
    Operand call(const Expr& e, const Scope& scope);
    Operand aggregate(const QString& name, const Expr& e, const Scope& scope);
    Operand flowCall(const QString& name, const Expr& e, const Scope& scope);

    // The type two sides of a comparison meet at, and each side written for it.
    static ValueType meetingType(ValueType a, ValueType b);
    QString coerced(const Operand& o, ValueType target) const;
    // A date where a text or a number is wanted.
    static QString asText(const Operand& o);
    static QString asNumber(const Operand& o);

    SelectParts selectCore(const Select& s, const Scope* outer);
    // The crosstab's columns, one for each pivot value, added to items.
    void crosstabColumns(const Select& s, const Scope& scope, const QString& fromWhere, QString& items,
                         std::vector<OutputColumn>& columns);
    // a op ALL (SELECT ...), a op ANY (SELECT ...).
    Operand quantified(const Expr& e, const Scope& scope);
    void addTables(const TableRef& ref, Scope& scope, const Scope* outer);
    QString fromClause(const TableRef& ref, const Scope& scope);
    QString topLimit(const Select& s, const QString& items, const QString& body,
                     const std::vector<std::pair<QString, bool>>& keys);

    const Schema* schema_;
    QString statement_;
    QString pivotFilter_; // while a crosstab's cell is written: its column's condition
    int aggregatesWritten_ = 0;
};

QString numberLiteral(double value);

} // namespace qv::store::dialect
