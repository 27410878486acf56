// Expressions of the dialect written for SQLite. Where both sides' types are
// known the writer keeps SQLite's own operators (and so its indexes); where the
// dialect's engine computes otherwise it calls the dialect's functions.
#include "common/error.h"
#include "store/dialect/conversions.h"
#include "store/dialect/sql_writer.h"
#include "store/sql_quote.h"

#include <cmath>

namespace qv::store::dialect {

namespace {

QString bracket(const Operand& o, const QString& sql)
{
    return o.atomic ? sql : QLatin1Char('(') + sql + QLatin1Char(')');
}

[[noreturn]] void mismatchInCriteria()
{
    throw Error(3464, errorText(3464));
}

ValueType numericResult(ValueType a, ValueType b)
{
    if (a == ValueType::Double || b == ValueType::Double)
        return ValueType::Double;
    if (a == ValueType::Currency || b == ValueType::Currency)
        return ValueType::Currency;
    return ValueType::Integer;
}

Operand made(QString sql, ValueType type, bool atomic = false)
{
    Operand o;
    o.sql = std::move(sql);
    o.type = type;
    o.atomic = atomic;
    return o;
}

Operand madeCondition(QString sql)
{
    Operand o = made(std::move(sql), ValueType::Boolean);
    o.condition = true;
    return o;
}

QString fn(const char* name, std::initializer_list<QString> args)
{
    QString s = QLatin1String(name) + QLatin1Char('(');
    bool first = true;
    for (const QString& a : args) {
        if (!first)
            s += QStringLiteral(", ");
        s += a;
        first = false;
    }
    return s + QLatin1Char(')');
}

} // namespace

ValueType valueTypeOf(const SchemaColumn& column)
{
    if (!column.typeKnown)
        return ValueType::Unknown;
    switch (column.type) {
    case FieldType::Integer:
        return ValueType::Integer;
    case FieldType::Double:
        return ValueType::Double;
    case FieldType::Currency:
        return ValueType::Currency;
    case FieldType::Date:
        return ValueType::Date;
    case FieldType::Text:
    case FieldType::Memo:
        return ValueType::Text;
    case FieldType::Boolean:
        return ValueType::Boolean;
    }
    return ValueType::Unknown;
}

std::optional<FieldType> fieldTypeFor(ValueType type)
{
    switch (type) {
    case ValueType::Boolean:
        return FieldType::Boolean;
    case ValueType::Integer:
        return FieldType::Integer;
    case ValueType::Double:
        return FieldType::Double;
    case ValueType::Currency:
        return FieldType::Currency;
    case ValueType::Date:
        return FieldType::Date;
    case ValueType::Text:
        return FieldType::Text;
    default:
        return std::nullopt;
    }
}

ValueType Scope::typeOf(const QString& qualifier, const QString& name) const
{
    for (const Scope* s = this; s; s = s->outer) {
        for (const ScopeTable& t : s->tables) {
            if (!qualifier.isEmpty() &&
                qualifier.compare(t.alias.isEmpty() ? t.name : t.alias, Qt::CaseInsensitive) != 0)
                continue;
            for (const SchemaColumn& c : t.columns)
                if (c.name.compare(name, Qt::CaseInsensitive) == 0)
                    return valueTypeOf(c);
            if (!qualifier.isEmpty())
                return ValueType::Unknown;
        }
    }
    return ValueType::Unknown;
}

QString numberLiteral(double value)
{
    if (value == std::trunc(value) && std::fabs(value) < 9.0e15)
        return QString::number(qint64(value));
    return QString::number(value, 'g', 17);
}

SqlWriter::SqlWriter(const Schema* schema, QString statement)
    : schema_(schema), statement_(std::move(statement))
{
}

void SqlWriter::syntaxError(const Expr& at) const
{
    throw Error(err::SyntaxError,
                QStringLiteral("Syntax error in query expression '%1' near '%2'.")
                    .arg(statement_.trimmed().left(200), statement_.mid(at.begin, 40).trimmed()));
}

QString SqlWriter::value(const Operand& o)
{
    return o.condition ? QStringLiteral("-(") + o.sql + QLatin1Char(')') : o.sql;
}

QString SqlWriter::condition(const Operand& o)
{
    return o.sql;
}

QString SqlWriter::asText(const Operand& o)
{
    if (o.type == ValueType::Date)
        return fn("qv_date_text", {o.sql});
    return value(o);
}

QString SqlWriter::asNumber(const Operand& o)
{
    if (o.type == ValueType::Date)
        return fn("qv_date_num", {o.sql});
    return value(o);
}

Operand SqlWriter::literalOf(const Expr& e) const
{
    Operand o;
    o.atomic = true;
    o.literal = &e;
    switch (e.kind) {
    case Expr::Kind::Number: {
        o.sql = e.text;
        const bool fraction = e.text.contains(QLatin1Char('.')) || e.text.contains(QLatin1Char('e')) ||
                              e.text.contains(QLatin1Char('E'));
        o.type = fraction || e.text.size() > 18 ? ValueType::Double : ValueType::Integer;
        if (o.sql.startsWith(QLatin1Char('.')))
            o.sql.prepend(QLatin1Char('0'));
        break;
    }
    case Expr::Kind::Text:
        o.sql = quoteText(e.text);
        o.type = ValueType::Text;
        break;
    case Expr::Kind::Date: {
        const auto serial = textToDate(e.text);
        if (!serial)
            syntaxError(e);
        o.sql = quoteText(dateToStored(*serial));
        o.type = ValueType::Date;
        break;
    }
    case Expr::Kind::Boolean:
        o.sql = e.text;
        o.type = ValueType::Boolean;
        break;
    default:
        o.sql = QStringLiteral("NULL");
        o.type = ValueType::Null;
        break;
    }
    return o;
}

Operand SqlWriter::expression(const Expr& e, const Scope& scope)
{
    switch (e.kind) {
    case Expr::Kind::Number:
    case Expr::Kind::Text:
    case Expr::Kind::Date:
    case Expr::Kind::Boolean:
    case Expr::Kind::Null:
        return literalOf(e);
    case Expr::Kind::Column: {
        QString sql = quoteName(e.text);
        if (!e.qualifier.isEmpty())
            sql = quoteName(e.qualifier) + QLatin1Char('.') + sql;
        Operand o = made(sql, scope.typeOf(e.qualifier, e.text), true);
        o.column = true;
        return o;
    }
    case Expr::Kind::AllOf:
        syntaxError(e);
    case Expr::Kind::Negate: {
        const Operand a = expression(*e.args[0], scope);
        if (a.literal && a.literal->kind == Expr::Kind::Number) {
            Operand o = made(QLatin1Char('-') + a.sql, a.type, true);
            o.literal = &e;
            return o;
        }
        // Always in brackets: "-" before "-5" would start an SQL comment.
        if (isNumeric(a.type) && !a.condition)
            return made(QStringLiteral("-(") + a.sql + QLatin1Char(')'),
                        a.type == ValueType::Boolean ? ValueType::Integer : a.type);
        if (a.condition)
            return made(a.sql, ValueType::Integer); // -(-(x)): 1 for True
        return made(fn("qv_neg", {asNumber(a)}), ValueType::Double, true);
    }
    case Expr::Kind::Binary:
        if (e.text == QLatin1String("&"))
            return concatenation(e, scope);
        return arithmetic(e, scope);
    case Expr::Kind::Compare:
        return comparison(e.text, expression(*e.args[0], scope), expression(*e.args[1], scope));
    case Expr::Kind::Logical:
        return logical(e, scope);
    case Expr::Kind::Not: {
        const Operand a = expression(*e.args[0], scope);
        if (a.type == ValueType::Boolean)
            return madeCondition(QStringLiteral("NOT ") + bracket(a, condition(a)));
        return made(fn("qv_not", {asNumber(a)}), ValueType::Integer, true);
    }
    case Expr::Kind::Like:
        return like(e, scope);
    case Expr::Kind::Between:
        return between(e, scope);
    case Expr::Kind::InList:
    case Expr::Kind::InSelect:
        return inList(e, scope);
    case Expr::Kind::IsNull: {
        const Operand a = expression(*e.args[0], scope);
        return madeCondition(bracket(a, value(a)) +
                             (e.negated ? QStringLiteral(" IS NOT NULL") : QStringLiteral(" IS NULL")));
    }
    case Expr::Kind::Exists:
        return madeCondition(QStringLiteral("EXISTS (") + select(*e.select, &scope).sql + QLatin1Char(')'));
    case Expr::Kind::Subquery: {
        const WrittenSelect inner = select(*e.select, &scope);
        return made(QLatin1Char('(') + inner.sql + QLatin1Char(')'),
                    inner.columns.size() == 1 ? inner.columns[0].type : ValueType::Unknown, true);
    }
    case Expr::Kind::Call:
        return call(e, scope);
    case Expr::Kind::AllAny:
        return quantified(e, scope);
    }
    syntaxError(e);
}

Operand SqlWriter::arithmetic(const Expr& e, const Scope& scope)
{
    const Operand a = expression(*e.args[0], scope);
    const Operand b = expression(*e.args[1], scope);
    const QString& op = e.text;
    const bool numbers = isNumeric(a.type) && isNumeric(b.type);
    const bool nulls = a.type == ValueType::Null || b.type == ValueType::Null;
    if (nulls && op != QLatin1String("^"))
        return made(QStringLiteral("NULL"), ValueType::Null, true);
    auto native = [&](ValueType type) {
        const QString sql =
            bracket(a, value(a)) + QLatin1Char(' ') + op + QLatin1Char(' ') + bracket(b, value(b));
        // Currency stays exact to four decimals.
        if (type == ValueType::Currency)
            return made(fn("qv_cur", {sql}), type, true);
        return made(sql, type);
    };
    if (op == QLatin1String("+")) {
        if (numbers)
            return native(numericResult(a.type, b.type));
        if (a.type == ValueType::Date && (isNumeric(b.type) || b.type == ValueType::Date))
            return made(fn("qv_date_add", {a.sql, asNumber(b)}), ValueType::Date, true);
        if (b.type == ValueType::Date && isNumeric(a.type))
            return made(fn("qv_date_add", {b.sql, value(a)}), ValueType::Date, true);
        if (a.type == ValueType::Text && b.type == ValueType::Text)
            return made(bracket(a, a.sql) + QStringLiteral(" || ") + bracket(b, b.sql), ValueType::Text);
        return made(fn("qv_add", {asNumber(a), asNumber(b)}), ValueType::Unknown, true);
    }
    if (op == QLatin1String("-")) {
        if (numbers)
            return native(numericResult(a.type, b.type));
        if (a.type == ValueType::Date && b.type == ValueType::Date)
            return made(fn("qv_date_diff", {a.sql, b.sql}), ValueType::Double, true);
        if (a.type == ValueType::Date)
            return made(fn("qv_date_sub", {a.sql, asNumber(b)}), ValueType::Date, true);
        return made(fn("qv_sub", {asNumber(a), asNumber(b)}), ValueType::Double, true);
    }
    if (op == QLatin1String("*")) {
        if (numbers)
            return native(numericResult(a.type, b.type));
        return made(fn("qv_mul", {asNumber(a), asNumber(b)}), ValueType::Double, true);
    }
    if (op == QLatin1String("/"))
        return made(fn("qv_div", {asNumber(a), asNumber(b)}), ValueType::Double, true);
    if (op == QLatin1String("\\"))
        return made(fn("qv_idiv", {asNumber(a), asNumber(b)}), ValueType::Integer, true);
    if (op == QLatin1String("Mod"))
        return made(fn("qv_mod", {asNumber(a), asNumber(b)}), ValueType::Integer, true);
    return made(fn("qv_pow", {asNumber(a), asNumber(b)}), ValueType::Double, true); // ^
}

// a & b & c: one call for the whole chain; Null counts as empty text.
Operand SqlWriter::concatenation(const Expr& e, const Scope& scope)
{
    std::vector<const Expr*> parts;
    const Expr* left = &e;
    while (left->kind == Expr::Kind::Binary && left->text == QLatin1String("&")) {
        parts.push_back(left->args[1].get());
        left = left->args[0].get();
    }
    parts.push_back(left);
    QString sql = QStringLiteral("qv_concat(");
    for (size_t k = parts.size(); k-- > 0;) {
        sql += asText(expression(*parts[k], scope));
        if (k > 0)
            sql += QStringLiteral(", ");
    }
    return made(sql + QLatin1Char(')'), ValueType::Text, true);
}

ValueType SqlWriter::meetingType(ValueType a, ValueType b)
{
    if (a == ValueType::Date || b == ValueType::Date)
        return ValueType::Date;
    if (isNumeric(a) || isNumeric(b))
        return ValueType::Double;
    if (a == ValueType::Text || b == ValueType::Text)
        return ValueType::Text;
    return ValueType::Unknown;
}

// One side of a comparison written for the type both sides meet at. A literal
// is converted at once: letters where a number or a date is wanted are the
// engine's error 3464 before anything runs.
QString SqlWriter::coerced(const Operand& o, ValueType target) const
{
    if (o.type == ValueType::Null || o.type == ValueType::Unknown || o.type == target ||
        (isNumeric(o.type) && isNumeric(target)))
        return value(o);
    const bool literal = o.literal != nullptr;
    if (target == ValueType::Date) {
        if (literal && o.type == ValueType::Text) {
            const auto d = textToDate(o.literal->text);
            if (!d)
                mismatchInCriteria();
            return quoteText(dateToStored(*d));
        }
        if (literal && isNumeric(o.type))
            return quoteText(dateToStored(o.sql.toDouble()));
        return fn("qv_crit_date", {value(o)});
    }
    if (isNumeric(target)) {
        if (literal && o.type == ValueType::Text) {
            const auto n = textToNumber(o.literal->text);
            if (!n)
                mismatchInCriteria();
            return numberLiteral(*n);
        }
        return fn("qv_crit_num", {value(o)});
    }
    return value(o);
}

Operand SqlWriter::comparison(const QString& op, const Operand& a, const Operand& b) const
{
    const ValueType target = meetingType(a.type, b.type);
    QString sql = bracket(a, coerced(a, target)) + QLatin1Char(' ') + op + QLatin1Char(' ') +
                  bracket(b, coerced(b, target));
    // Texts compare without regard to case, whatever side they come from. A
    // column's own collation (NOCASE for text) rules when one side is a column,
    // and keeps its index usable.
    if ((target == ValueType::Text || target == ValueType::Unknown) && !a.column && !b.column)
        sql += QStringLiteral(" COLLATE NOCASE");
    return madeCondition(sql);
}

Operand SqlWriter::logical(const Expr& e, const Scope& scope)
{
    const Operand a = expression(*e.args[0], scope);
    const Operand b = expression(*e.args[1], scope);
    const QString& op = e.text;
    if (a.type == ValueType::Boolean && b.type == ValueType::Boolean) {
        // Truths as SQLite's: 1 for True, 0 for False.
        auto truth = [](const Operand& o) {
            return o.condition ? bracket(o, o.sql) : QLatin1Char('(') + o.sql + QStringLiteral(" <> 0)");
        };
        if (op == QLatin1String("AND") || op == QLatin1String("OR"))
            return madeCondition(bracket(a, a.sql) + QLatin1Char(' ') + op + QLatin1Char(' ') +
                                 bracket(b, b.sql));
        if (op == QLatin1String("XOR"))
            return madeCondition(truth(a) + QStringLiteral(" <> ") + truth(b));
        if (op == QLatin1String("EQV"))
            return madeCondition(truth(a) + QStringLiteral(" = ") + truth(b));
        return madeCondition(QStringLiteral("NOT ") + truth(a) + QStringLiteral(" OR ") + truth(b)); // IMP
    }
    // On numbers they work bit by bit: 10 And 8 is 8.
    static const QHash<QString, const char*> functions = {{QStringLiteral("AND"), "qv_and"},
                                                          {QStringLiteral("OR"), "qv_or"},
                                                          {QStringLiteral("XOR"), "qv_xor"},
                                                          {QStringLiteral("EQV"), "qv_eqv"},
                                                          {QStringLiteral("IMP"), "qv_imp"}};
    return made(fn(functions.value(op), {asNumber(a), asNumber(b)}), ValueType::Integer, true);
}

Operand SqlWriter::like(const Expr& e, const Scope& scope)
{
    const Operand a = expression(*e.args[0], scope);
    const Operand pattern = expression(*e.args[1], scope);
    const QString sql = bracket(a, asText(a)) + QStringLiteral(" LIKE ") + bracket(pattern, asText(pattern));
    return madeCondition(e.negated ? QStringLiteral("NOT (") + sql + QLatin1Char(')') : sql);
}

// Between takes its bounds in either order.
Operand SqlWriter::between(const Expr& e, const Scope& scope)
{
    const Operand x = expression(*e.args[0], scope);
    const Operand low = expression(*e.args[1], scope);
    const Operand high = expression(*e.args[2], scope);
    const ValueType target = meetingType(meetingType(x.type, low.type), high.type);
    const bool text = target == ValueType::Text || target == ValueType::Unknown;
    QString first = coerced(low, target);
    QString second = coerced(high, target);
    QString sql = bracket(x, coerced(x, target));
    if (text && !x.column)
        sql += QStringLiteral(" COLLATE NOCASE");
    const bool constants =
        low.literal && high.literal && low.type != ValueType::Null && high.type != ValueType::Null;
    if (constants) {
        // Known bounds are put in order here, so that an index still serves.
        bool swap = false;
        if (target == ValueType::Date || target == ValueType::Text || target == ValueType::Unknown) {
            const QString l = first.mid(1, first.size() - 2);
            const QString h = second.mid(1, second.size() - 2);
            swap = QString::compare(l, h, text ? Qt::CaseInsensitive : Qt::CaseSensitive) > 0;
        } else {
            swap = first.toDouble() > second.toDouble();
        }
        if (swap)
            std::swap(first, second);
        sql += QStringLiteral(" BETWEEN ") + first + QStringLiteral(" AND ") + second;
    } else {
        const QString collate = text ? QStringLiteral(" COLLATE NOCASE") : QString();
        sql += QStringLiteral(" BETWEEN min(") + first + collate + QStringLiteral(", ") + second +
               QStringLiteral(") AND max(") + first + collate + QStringLiteral(", ") + second +
               QLatin1Char(')');
    }
    return madeCondition(e.negated ? QStringLiteral("NOT (") + sql + QLatin1Char(')') : sql);
}

Operand SqlWriter::inList(const Expr& e, const Scope& scope)
{
    const Operand x = expression(*e.args[0], scope);
    QString sql;
    if (e.kind == Expr::Kind::InSelect) {
        const WrittenSelect inner = select(*e.select, &scope);
        const ValueType itemType = inner.columns.size() == 1 ? inner.columns[0].type : ValueType::Unknown;
        const ValueType target = meetingType(x.type, itemType);
        sql = bracket(x, coerced(x, target));
        if ((target == ValueType::Text || target == ValueType::Unknown) && !x.column)
            sql += QStringLiteral(" COLLATE NOCASE");
        sql += QStringLiteral(" IN (") + inner.sql + QLatin1Char(')');
    } else {
        std::vector<Operand> items;
        ValueType target = x.type;
        for (size_t k = 1; k < e.args.size(); ++k) {
            items.push_back(expression(*e.args[k], scope));
            if (x.type == ValueType::Unknown || x.type == ValueType::Null)
                target = meetingType(target, items.back().type);
        }
        if (x.type != ValueType::Unknown && x.type != ValueType::Null)
            target = isNumeric(x.type) ? ValueType::Double : x.type;
        sql = bracket(x, coerced(x, target));
        if ((target == ValueType::Text || target == ValueType::Unknown) && !x.column)
            sql += QStringLiteral(" COLLATE NOCASE");
        sql += QStringLiteral(" IN (");
        for (size_t k = 0; k < items.size(); ++k) {
            if (k > 0)
                sql += QStringLiteral(", ");
            sql += coerced(items[k], target);
        }
        sql += QLatin1Char(')');
    }
    return madeCondition(e.negated ? QStringLiteral("NOT (") + sql + QLatin1Char(')') : sql);
}

} // namespace qv::store::dialect
