#pragma once

#include <QString>

#include <memory>
#include <optional>
#include <vector>

namespace qv::store::dialect {

struct Select;

// One expression of the dialect as the user wrote it.
struct Expr {
    enum class Kind {
        Number,  // text: the digits as written
        Text,    // text: the value
        Date,    // text: what stood between the # signs
        Boolean, // True or False; text: "-1" or "0"
        Null,
        Column,   // text: the name; qualifier: the table or alias, if any
        AllOf,    // t.* or * inside Count(); qualifier: the table, if any
        Negate,   // -a (args[0])
        Binary,   // text: + - * / \ ^ & Mod
        Compare,  // text: = <> < > <= >=
        Logical,  // text: And Or Xor Eqv Imp
        Not,      // Not a
        Like,     // a Like b; negated for Not Like
        Between,  // a Between b And c
        InList,   // a In (b, c, ...)
        InSelect, // a In (SELECT ...)
        IsNull,   // a Is Null; negated for Is Not Null
        Exists,   // Exists (SELECT ...)
        Subquery, // (SELECT ...) as a value
        Call,     // text: the function's name as written
        AllAny,   // a op ALL (SELECT ...), ANY or SOME; text: the operator, qualifier: ALL or ANY
    };

    Kind kind;
    QString text;
    QString qualifier;
    std::vector<std::unique_ptr<Expr>> args;
    std::unique_ptr<Select> select;
    bool negated = false;
    bool bracketed = false; // written inside its own parentheses
    int depth = 1;          // the levels of the tree below and with it, subqueries included
    qsizetype begin = 0;    // where it starts and ends in the statement
    qsizetype end = 0;

    Expr(Kind k, QString t = {}) : kind(k), text(std::move(t)) {}
};
using ExprPtr = std::unique_ptr<Expr>;

struct SelectItem {
    ExprPtr expr;  // an AllOf for * and t.*
    QString alias; // AS alias, if given
};

// A table of the FROM clause: a named table, a subquery, or a join of two.
struct TableRef {
    enum class Kind { Table, Subquery, Join };
    Kind kind = Kind::Table;
    QString name;  // Table: the table's name
    QString alias; // AS alias, if given
    std::unique_ptr<Select> select;
    QString joinType; // Join: "INNER", "LEFT" or "RIGHT"
    std::unique_ptr<TableRef> left;
    std::unique_ptr<TableRef> right;
    ExprPtr on;
};
using TableRefPtr = std::unique_ptr<TableRef>;

struct OrderItem {
    ExprPtr expr;
    bool descending = false;
};

// TRANSFORM value SELECT ... PIVOT pivot [IN (in)]: a column for each value of
// the pivot, each cell the value over that row's records with that pivot value.
struct Crosstab {
    ExprPtr value;
    ExprPtr pivot;
    std::vector<ExprPtr> in; // the columns, when listed
};

struct Top {
    QString count; // as written
    bool percent = false;
};

// One SELECT, and the SELECTs a UNION joins to it.
struct Select {
    enum class Quantifier { All, Distinct, DistinctRow };
    Quantifier quantifier = Quantifier::All;
    std::optional<Top> top;
    std::vector<SelectItem> items;
    QString into;
    std::vector<TableRefPtr> from; // separated by commas
    ExprPtr where;
    std::vector<ExprPtr> groupBy;
    ExprPtr having;
    std::vector<OrderItem> orderBy;
    std::unique_ptr<Select> unionNext;
    bool unionAll = false;
    std::unique_ptr<Crosstab> crosstab;
    int depth = 0; // the deepest expression in it
};
using SelectPtr = std::unique_ptr<Select>;

} // namespace qv::store::dialect
