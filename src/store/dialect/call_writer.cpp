// The dialect's functions, each under the name its SQLite function is
// registered as. A name the dialect does not know is the engine's error 3085,
// so that no SQLite function answers under one of the dialect's names.
#include "common/error.h"
#include "store/dialect/sql_writer.h"

namespace qv::store::dialect {

namespace {

// How an argument is passed: 't' a text (a date as General Date), 'n' a number
// (a date as its serial), 'd' a date, 'a' as it is.
struct FunctionSpec {
    const char* name;
    const char* sql;
    int minArgs;
    int maxArgs;
    ValueType result; // Unknown: the type of the first argument
    const char* args;
};

constexpr ValueType T = ValueType::Text;
constexpr ValueType I = ValueType::Integer;
constexpr ValueType F = ValueType::Double;
constexpr ValueType D = ValueType::Date;
constexpr ValueType B = ValueType::Boolean;
constexpr ValueType Same = ValueType::Unknown;

const FunctionSpec functions[] = {
    {"left", "qv_left", 2, 2, T, "tn"},
    {"right", "qv_right", 2, 2, T, "tn"},
    {"mid", "qv_mid", 2, 3, T, "tnn"},
    {"len", "qv_len", 1, 1, I, "t"},
    {"ucase", "qv_ucase", 1, 1, T, "t"},
    {"lcase", "qv_lcase", 1, 1, T, "t"},
    {"trim", "qv_trim", 1, 1, T, "t"},
    {"ltrim", "qv_ltrim", 1, 1, T, "t"},
    {"rtrim", "qv_rtrim", 1, 1, T, "t"},
    {"space", "qv_space", 1, 1, T, "n"},
    {"string", "qv_string", 2, 2, T, "na"},
    {"chr", "qv_chr", 1, 1, T, "n"},
    {"asc", "qv_asc", 1, 1, I, "t"},
    {"str", "qv_str", 1, 1, T, "n"},
    {"hex", "qv_hex", 1, 1, T, "n"},
    {"oct", "qv_oct", 1, 1, T, "n"},
    {"val", "qv_val", 1, 1, F, "t"},
    {"cstr", "qv_cstr", 1, 1, T, "t"},
    {"clng", "qv_clng", 1, 1, I, "n"},
    {"cint", "qv_cint", 1, 1, I, "n"},
    {"cbyte", "qv_cbyte", 1, 1, I, "n"},
    {"cdbl", "qv_cdbl", 1, 1, F, "n"},
    {"csng", "qv_cdbl", 1, 1, F, "n"},
    {"ccur", "qv_cur", 1, 1, ValueType::Currency, "n"},
    {"cbool", "qv_cbool", 1, 1, B, "n"},
    {"cdate", "qv_cdate", 1, 1, D, "d"},
    {"cvdate", "qv_cdate", 1, 1, D, "d"},
    {"datevalue", "qv_datevalue", 1, 1, D, "d"},
    {"timevalue", "qv_timevalue", 1, 1, D, "d"},
    {"int", "qv_int", 1, 1, Same, "n"},
    {"fix", "qv_fix", 1, 1, Same, "n"},
    {"round", "qv_round", 1, 2, Same, "nn"},
    {"abs", "qv_abs", 1, 1, Same, "n"},
    {"sgn", "qv_sgn", 1, 1, I, "n"},
    {"sqr", "qv_sqr", 1, 1, F, "n"},
    {"exp", "qv_exp", 1, 1, F, "n"},
    {"log", "qv_log", 1, 1, F, "n"},
    {"sin", "qv_sin", 1, 1, F, "n"},
    {"cos", "qv_cos", 1, 1, F, "n"},
    {"tan", "qv_tan", 1, 1, F, "n"},
    {"atn", "qv_atn", 1, 1, F, "n"},
    {"isnumeric", "qv_isnumeric", 1, 1, B, "a"},
    {"isdate", "qv_isdate", 1, 1, B, "a"},
    {"year", "qv_year", 1, 1, I, "d"},
    {"month", "qv_month", 1, 1, I, "d"},
    {"day", "qv_day", 1, 1, I, "d"},
    {"hour", "qv_hour", 1, 1, I, "d"},
    {"minute", "qv_minute", 1, 1, I, "d"},
    {"second", "qv_second", 1, 1, I, "d"},
    {"weekday", "qv_weekday", 1, 2, I, "dn"},
    {"dateadd", "qv_dateadd", 3, 3, D, "tnd"},
    {"datediff", "qv_datediff", 3, 5, I, "tddnn"},
    {"datepart", "qv_datepart", 2, 4, I, "tdnn"},
    {"dateserial", "qv_dateserial", 3, 3, D, "nnn"},
    {"timeserial", "qv_timeserial", 3, 3, D, "nnn"},
    {"monthname", "qv_monthname", 1, 2, T, "nn"},
    {"weekdayname", "qv_weekdayname", 1, 3, T, "nnn"},
    {"now", "qv_now", 0, 0, D, ""},
    {"date", "qv_date", 0, 0, D, ""},
    {"time", "qv_time", 0, 0, D, ""},
    {"format", "qv_format", 1, 2, T, "at"},
    {"instr", "qv_instr", 2, 4, I, "ntta"},
    {"instrrev", "qv_instrrev", 2, 4, I, "ttna"},
    {"strreverse", "qv_strreverse", 1, 1, T, "t"},
    {"strconv", "qv_strconv", 2, 3, T, "tnn"},
    {"partition", "qv_partition", 4, 4, T, "nnnn"},
    {"strcomp", "qv_strcomp", 2, 3, I, "tta"},
    {"replace", "qv_replace", 3, 6, T, "tttnnn"},
};

const FunctionSpec* specOf(const QString& name)
{
    for (const FunctionSpec& f : functions)
        if (name.compare(QLatin1String(f.name), Qt::CaseInsensitive) == 0)
            return &f;
    return nullptr;
}

[[noreturn]] void undefined(const QString& name)
{
    throw Error(err::UndefinedFunction, QStringLiteral("Undefined function '%1' in expression.").arg(name));
}

[[noreturn]] void wrongCount(const QString& name)
{
    throw Error(
        err::SyntaxError,
        QStringLiteral("Wrong number of arguments used with function in query expression '%1'.").arg(name));
}

bool oneOf(const QString& name, std::initializer_list<const char*> names)
{
    for (const char* n : names)
        if (name.compare(QLatin1String(n), Qt::CaseInsensitive) == 0)
            return true;
    return false;
}

} // namespace

Operand SqlWriter::call(const Expr& e, const Scope& scope)
{
    QString name = e.text;
    if (oneOf(name, {"count", "sum", "avg", "min", "max", "first", "last", "stdev", "stdevp", "var", "varp"}))
        return aggregate(name.toLower(), e, scope);
    if (oneOf(name, {"iif", "switch", "choose", "nz", "isnull"}))
        return flowCall(name.toLower(), e, scope);

    // Left$, Trim$, Format$...: the text form, which refuses a Null.
    const bool textForm = name.endsWith(QLatin1Char('$'));
    if (textForm)
        name.chop(1);
    if (textForm && e.args.empty() && (oneOf(name, {"date", "time"}))) {
        Operand o;
        o.sql = name.compare(QLatin1String("date"), Qt::CaseInsensitive) == 0
                    ? QStringLiteral("qv_date_text_now()")
                    : QStringLiteral("qv_time_text_now()");
        o.type = ValueType::Text;
        o.atomic = true;
        return o;
    }
    const FunctionSpec* spec = specOf(name);
    if (!spec || (textForm && (spec->result != ValueType::Text || spec->minArgs == 0)))
        undefined(e.text);
    const int count = int(e.args.size());
    if (count < spec->minArgs || count > spec->maxArgs)
        wrongCount(e.text);

    std::vector<Operand> args;
    for (const auto& a : e.args)
        args.push_back(expression(*a, scope));
    std::vector<QString> sql;
    for (size_t k = 0; k < args.size(); ++k) {
        const char kind = spec->args[std::min(k, strlen(spec->args) - 1)];
        const Operand& a = args[k];
        sql.push_back(kind == 't' ? asText(a) : kind == 'n' ? asNumber(a) : value(a));
    }
    if (textForm)
        sql[0] = QStringLiteral("qv_no_null(") + sql[0] + QLatin1Char(')');

    // Optional arguments the SQLite functions take in full.
    const QString compareAsText = QStringLiteral("1"); // queries compare texts as the database does
    if (name.compare(QLatin1String("instr"), Qt::CaseInsensitive) == 0) {
        if (count == 2)
            sql.insert(sql.begin(), QStringLiteral("1"));
        if (sql.size() == 3)
            sql.push_back(compareAsText);
        if (count == 2) { // InStr(text, find): both are texts
            sql[1] = asText(args[0]);
            sql[2] = asText(args[1]);
        } else {
            sql[1] = asText(args[1]);
            sql[2] = asText(args[2]);
        }
    } else if (name.compare(QLatin1String("instrrev"), Qt::CaseInsensitive) == 0) {
        if (sql.size() == 2)
            sql.push_back(QStringLiteral("-1"));
        if (sql.size() == 3)
            sql.push_back(compareAsText);
    } else if (name.compare(QLatin1String("strcomp"), Qt::CaseInsensitive) == 0 && count == 2) {
        sql.push_back(compareAsText);
    } else if (name.compare(QLatin1String("replace"), Qt::CaseInsensitive) == 0) {
        const QString defaults[] = {QStringLiteral("1"), QStringLiteral("-1"), compareAsText};
        for (size_t k = sql.size(); k < 6; ++k)
            sql.push_back(defaults[k - 3]);
    }

    Operand o;
    o.sql = QLatin1String(spec->sql) + QLatin1Char('(');
    for (size_t k = 0; k < sql.size(); ++k)
        o.sql += (k > 0 ? QStringLiteral(", ") : QString()) + sql[k];
    o.sql += QLatin1Char(')');
    o.atomic = true;
    o.type = spec->result;
    if (spec->result == Same) {
        const ValueType first = args.empty() ? ValueType::Unknown : args[0].type;
        o.type = first == ValueType::Boolean   ? ValueType::Integer
                 : isNumeric(first)            ? first
                 : first == ValueType::Unknown ? ValueType::Unknown
                                               : ValueType::Double;
    }
    return o;
}

Operand SqlWriter::aggregate(const QString& name, const Expr& e, const Scope& scope)
{
    if (e.args.size() != 1)
        wrongCount(e.text);
    ++aggregatesWritten_;
    // A crosstab's cell takes only the records of its column.
    const QString filter = pivotFilter_.isEmpty()
                               ? QString()
                               : QStringLiteral(" FILTER (WHERE ") + pivotFilter_ + QLatin1Char(')');
    Operand o;
    o.atomic = true;
    if (name == QLatin1String("count")) {
        o.type = ValueType::Integer;
        o.sql = (e.args[0]->kind == Expr::Kind::AllOf
                     ? QStringLiteral("count(*)")
                     : QStringLiteral("count(") + value(expression(*e.args[0], scope)) + QLatin1Char(')')) +
                filter;
        return o;
    }
    const Operand a = expression(*e.args[0], scope);
    const QString arg = a.type == ValueType::Date && name != QLatin1String("min") &&
                                name != QLatin1String("max") && name != QLatin1String("first") &&
                                name != QLatin1String("last")
                            ? asNumber(a)
                            : value(a);
    const bool currency = a.type == ValueType::Currency;
    if (name == QLatin1String("sum")) {
        o.type = currency                                                       ? ValueType::Currency
                 : a.type == ValueType::Integer || a.type == ValueType::Boolean ? ValueType::Integer
                                                                                : ValueType::Double;
        if (currency)
            o.sql = QStringLiteral("qv_sum_cur(") + arg + QLatin1Char(')');
        else if (a.type == ValueType::Text)
            o.sql = QStringLiteral("sum(qv_cdbl(") + arg + QStringLiteral("))");
        else
            o.sql = QStringLiteral("sum(") + arg + QLatin1Char(')');
    } else if (name == QLatin1String("avg")) {
        o.type = currency ? ValueType::Currency : ValueType::Double;
        o.sql = (currency ? QStringLiteral("qv_avg_cur(") : QStringLiteral("avg(")) +
                (a.type == ValueType::Text ? QStringLiteral("qv_cdbl(") + arg + QLatin1Char(')') : arg) +
                QLatin1Char(')');
    } else if (name == QLatin1String("min") || name == QLatin1String("max")) {
        // Texts: the least and greatest without regard to case.
        o.type = a.type == ValueType::Boolean ? ValueType::Integer : a.type;
        const bool text = (a.type == ValueType::Text || a.type == ValueType::Unknown) && !a.column;
        o.sql = name + QLatin1Char('(') + arg + (text ? QStringLiteral(" COLLATE NOCASE") : QString()) +
                QLatin1Char(')');
    } else if (name == QLatin1String("first") || name == QLatin1String("last")) {
        o.type = a.type == ValueType::Boolean ? ValueType::Integer : a.type;
        o.sql = QStringLiteral("qv_") + name + QLatin1Char('(') + arg + QLatin1Char(')');
    } else { // stdev, stdevp, var, varp
        o.type = ValueType::Double;
        o.sql = QStringLiteral("qv_") + name + QLatin1Char('(') + arg + QLatin1Char(')');
    }
    o.sql += filter;
    return o;
}

// IIf, Switch and Choose evaluate only the part they give back; Nz gives a
// zero-length text for Null, as it does in a query.
Operand SqlWriter::flowCall(const QString& name, const Expr& e, const Scope& scope)
{
    const size_t count = e.args.size();
    Operand o;
    o.atomic = true;
    auto common = [](ValueType a, ValueType b) {
        if (a == b || b == ValueType::Null)
            return a;
        if (a == ValueType::Null)
            return b;
        if (isNumeric(a) && isNumeric(b))
            return a == ValueType::Double || b == ValueType::Double ? ValueType::Double : ValueType::Integer;
        return ValueType::Unknown;
    };
    if (name == QLatin1String("isnull")) {
        if (count != 1)
            wrongCount(e.text);
        const Operand a = expression(*e.args[0], scope);
        o.sql = QLatin1Char('(') + value(a) + QStringLiteral(" IS NULL)");
        o.type = ValueType::Boolean;
        o.condition = true;
        return o;
    }
    if (name == QLatin1String("nz")) {
        if (count < 1 || count > 2)
            wrongCount(e.text);
        const Operand a = expression(*e.args[0], scope);
        if (count == 2) {
            const Operand b = expression(*e.args[1], scope);
            o.sql =
                QStringLiteral("coalesce(") + value(a) + QStringLiteral(", ") + value(b) + QLatin1Char(')');
            o.type = common(a.type, b.type);
        } else {
            o.sql = QStringLiteral("coalesce(") + value(a) + QStringLiteral(", '')");
            o.type = a.type == ValueType::Text ? ValueType::Text : ValueType::Unknown;
        }
        return o;
    }
    if (name == QLatin1String("iif")) {
        if (count != 3)
            wrongCount(e.text);
        const Operand c = expression(*e.args[0], scope);
        const Operand a = expression(*e.args[1], scope);
        const Operand b = expression(*e.args[2], scope);
        o.sql = QStringLiteral("CASE WHEN ") + condition(c) + QStringLiteral(" THEN ") + value(a) +
                QStringLiteral(" ELSE ") + value(b) + QStringLiteral(" END");
        o.type = common(a.type, b.type);
        return o;
    }
    if (name == QLatin1String("switch")) {
        if (count < 2 || count % 2 != 0)
            wrongCount(e.text);
        o.sql = QStringLiteral("CASE");
        ValueType type = ValueType::Null;
        for (size_t k = 0; k < count; k += 2) {
            const Operand c = expression(*e.args[k], scope);
            const Operand v = expression(*e.args[k + 1], scope);
            o.sql += QStringLiteral(" WHEN ") + condition(c) + QStringLiteral(" THEN ") + value(v);
            type = common(type, v.type);
        }
        o.sql += QStringLiteral(" END");
        o.type = type;
        return o;
    }
    // Choose(index, a, b, ...): the index rounded to a whole number; Null outside the list.
    if (count < 2)
        wrongCount(e.text);
    const Operand index = expression(*e.args[0], scope);
    o.sql = QStringLiteral("CASE qv_index(") + asNumber(index) + QLatin1Char(')');
    ValueType type = ValueType::Null;
    for (size_t k = 1; k < count; ++k) {
        const Operand v = expression(*e.args[k], scope);
        o.sql += QStringLiteral(" WHEN ") + QString::number(k) + QStringLiteral(" THEN ") + value(v);
        type = common(type, v.type);
    }
    o.sql += QStringLiteral(" END");
    o.type = type;
    return o;
}

} // namespace qv::store::dialect
