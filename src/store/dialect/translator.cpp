#include "store/dialect/translator.h"

#include "common/error.h"
#include "store/dialect/lexer.h"

#include <QDate>
#include <QDateTime>
#include <QRegularExpression>

namespace qv::store::dialect {

namespace {

[[noreturn]] void syntaxError(const QString& near)
{
    throw Error(err::SyntaxError, QStringLiteral("Syntax error in query expression near '%1'.").arg(near));
}

QString quoteText(const QString& text)
{
    QString q = text;
    q.replace(QLatin1Char('\''), QStringLiteral("''"));
    return QLatin1Char('\'') + q + QLatin1Char('\'');
}

// A two-digit year as the engine reads it: 00 to 29 are 2000s, 30 to 99 the 1900s.
QString withFullYear(const QString& text)
{
    static const QRegularExpression shortYear(QStringLiteral("^(\\s*\\d{1,2}/\\d{1,2}/)(\\d{2})(?!\\d)"));
    const QRegularExpressionMatch m = shortYear.match(text);
    if (!m.hasMatch())
        return text;
    const int year = m.captured(2).toInt();
    return m.captured(1) + QString::number(year < 30 ? 2000 + year : 1900 + year) +
           text.mid(m.capturedEnd(2));
}

// #date# literals are month/day/year, as users of the dialect write them, or ISO.
QString dateLiteral(const QString& written)
{
    const QString text = withFullYear(written);
    static const char* const formats[] = {"M/d/yyyy H:mm:ss",    "M/d/yyyy H:mm", "M/d/yyyy",
                                          "yyyy-MM-dd HH:mm:ss", "yyyy-MM-dd",    "d-MMM-yyyy"};
    for (const char* f : formats) {
        const QDateTime dt = QDateTime::fromString(text, QLatin1String(f));
        if (dt.isValid())
            return quoteText(dateToStorage(dt));
        const QDate d = QDate::fromString(text, QLatin1String(f));
        if (d.isValid())
            return quoteText(d.toString(Qt::ISODate));
    }
    syntaxError(QLatin1Char('#') + written + QLatin1Char('#'));
}

// Words that end an operand of &: the operators that bind less tightly, and the
// clauses around an expression.
bool endsConcatOperand(const std::vector<Token>& t, size_t i)
{
    const Token& tok = t[i];
    switch (tok.kind) {
    case TokenKind::Comma:
    case TokenKind::Semicolon:
    case TokenKind::End:
    case TokenKind::RParen:
        return true;
    case TokenKind::Operator:
        return tok.text == QLatin1String("=") || tok.text == QLatin1String("<>") ||
               tok.text == QLatin1String("<") || tok.text == QLatin1String(">") ||
               tok.text == QLatin1String("<=") || tok.text == QLatin1String(">=");
    case TokenKind::Word:
        break;
    default:
        return false;
    }
    static const char* const words[] = {
        "AND",   "OR",   "NOT",   "XOR",    "EQV",    "IMP",    "LIKE", "BETWEEN",  "IN",
        "IS",    "AS",   "FROM",  "WHERE",  "SELECT", "TOP",    "ALL",  "DISTINCT", "DISTINCTROW",
        "ORDER", "BY",   "GROUP", "HAVING", "UNION",  "INTO",   "ON",   "JOIN",     "INNER",
        "OUTER", "DESC", "ASC",   "SET",    "VALUES", "PERCENT"};
    for (const char* w : words)
        if (tok.isWord(QLatin1String(w)))
            return true;
    // Left( and Right( are functions; LEFT and RIGHT alone are joins.
    return (tok.isWord(QLatin1String("LEFT")) || tok.isWord(QLatin1String("RIGHT"))) &&
           (i + 1 >= t.size() || t[i + 1].kind != TokenKind::LParen);
}

// Rewrites every chain a & b & c into qv_concat(a, b, c), which treats Null as
// empty text as the engine does. An operand runs to the nearest word or
// operator that binds less tightly than & (+, -, *, / and Mod bind tighter);
// brackets are operands whole, rewritten inside.
class ConcatRewriter {
public:
    explicit ConcatRewriter(const std::vector<Token>& in) : in_(in) {}

    std::vector<Token> run()
    {
        std::vector<Token> out;
        size_t i = 0;
        sequence(i, out);
        while (i < in_.size()) // an unbalanced ')' : left for the writer to report
            out.push_back(in_[i++]);
        return out;
    }

private:
    // Rewrites from i up to the ')' that closes the current level (not taken).
    void sequence(size_t& i, std::vector<Token>& out)
    {
        while (i < in_.size() && in_[i].kind != TokenKind::RParen && in_[i].kind != TokenKind::End) {
            if (endsConcatOperand(in_, i)) {
                out.push_back(in_[i++]);
                // TOP n: the number is no operand.
                if (out.back().isWord(QLatin1String("TOP")) && i < in_.size() &&
                    in_[i].kind == TokenKind::Number)
                    out.push_back(in_[i++]);
                continue;
            }
            std::vector<std::vector<Token>> operands(1);
            for (;;) {
                operand(i, operands.back());
                if (i < in_.size() && in_[i].is(TokenKind::Operator, QLatin1String("&"))) {
                    ++i;
                    operands.emplace_back();
                    continue;
                }
                break;
            }
            if (operands.size() == 1) {
                out.insert(out.end(), operands[0].begin(), operands[0].end());
                continue;
            }
            const qsizetype at = operands[0].empty() ? 0 : operands[0].front().position;
            out.push_back({TokenKind::Word, QStringLiteral("qv_concat"), at});
            out.push_back({TokenKind::LParen, QStringLiteral("("), at});
            for (size_t k = 0; k < operands.size(); ++k) {
                if (operands[k].empty())
                    syntaxError(QStringLiteral("&"));
                if (k > 0)
                    out.push_back({TokenKind::Comma, QStringLiteral(","), at});
                out.insert(out.end(), operands[k].begin(), operands[k].end());
            }
            out.push_back({TokenKind::RParen, QStringLiteral(")"), at});
        }
    }

    // One operand: tokens up to an & or a word that ends it, brackets whole.
    void operand(size_t& i, std::vector<Token>& out)
    {
        while (i < in_.size() && !endsConcatOperand(in_, i) &&
               !in_[i].is(TokenKind::Operator, QLatin1String("&"))) {
            const bool open = in_[i].kind == TokenKind::LParen;
            out.push_back(in_[i++]);
            if (open) {
                sequence(i, out);
                if (i < in_.size() && in_[i].kind == TokenKind::RParen)
                    out.push_back(in_[i++]);
            }
        }
    }

    const std::vector<Token>& in_;
};

// Walks the tokens of one statement and writes its SQLite form.
class Writer {
public:
    explicit Writer(const std::vector<Token>& tokens) : t_(ConcatRewriter(tokens).run()) {}

    const Token& peek(size_t ahead = 0) const { return t_[std::min(i_ + ahead, t_.size() - 1)]; }
    const Token& take() { return t_[i_ < t_.size() - 1 ? i_++ : i_]; }
    bool atEnd() const { return peek().kind == TokenKind::End || peek().kind == TokenKind::Semicolon; }
    bool takeWord(QLatin1String w)
    {
        if (!peek().isWord(w))
            return false;
        ++i_;
        return true;
    }
    void expectWord(QLatin1String w)
    {
        if (!takeWord(w))
            syntaxError(peek().text.isEmpty() ? QString(w) : peek().text);
    }
    void expect(TokenKind kind)
    {
        if (peek().kind != kind)
            syntaxError(peek().text);
        ++i_;
    }

    // A table or column name, bracketed or bare.
    QString takeName()
    {
        const Token& tok = peek();
        if (tok.kind != TokenKind::Name && tok.kind != TokenKind::Word)
            syntaxError(tok.text.isEmpty() ? QStringLiteral("end of statement") : tok.text);
        ++i_;
        return tok.text;
    }

    void finish()
    {
        if (peek().kind == TokenKind::Semicolon)
            ++i_;
        if (peek().kind != TokenKind::End)
            syntaxError(peek().text);
    }

    // Writes tokens up to the end of the statement. Handles TOP (as LIMIT at
    // the end of its own SELECT) and, at the outer level when allowed, INTO.
    QString rest(QString* intoTarget = nullptr)
    {
        QString out;
        std::vector<Frame> selects;
        int depth = 0;
        // TOP in a SELECT that a UNION follows limits that SELECT alone: it
        // becomes a subquery of its own, as SQLite allows no LIMIT there.
        auto closeSelects = [&](int level, bool beforeUnion) {
            while (!selects.empty() && selects.back().depth >= level) {
                const Frame& frame = selects.back();
                if (!frame.limit.isEmpty() && beforeUnion) {
                    out.insert(frame.start, QStringLiteral("SELECT * FROM ("));
                    out += QStringLiteral(" LIMIT ") + frame.limit + QLatin1Char(')');
                } else if (!frame.limit.isEmpty()) {
                    out += QStringLiteral(" LIMIT ") + frame.limit;
                }
                selects.pop_back();
            }
        };
        while (!atEnd()) {
            const Token tok = take();
            switch (tok.kind) {
            case TokenKind::LParen:
                ++depth;
                append(out, QStringLiteral("("));
                break;
            case TokenKind::RParen:
                if (depth == 0)
                    syntaxError(QStringLiteral(")"));
                closeSelects(depth, false);
                --depth;
                out += QLatin1Char(')');
                break;
            case TokenKind::Name:
                append(out, quoteName(tok.text));
                break;
            case TokenKind::Text:
                append(out, quoteText(tok.text));
                break;
            case TokenKind::Date:
                append(out, dateLiteral(tok.text));
                break;
            case TokenKind::Number:
                append(out, tok.text);
                break;
            case TokenKind::Comma:
                out += QLatin1Char(',');
                break;
            case TokenKind::Dot:
                out += QLatin1Char('.');
                break;
            case TokenKind::Operator:
                if (tok.text == QLatin1String("&"))
                    append(out, QStringLiteral("||"));
                else if (tok.text == QLatin1String("\\") || tok.text == QLatin1String("^"))
                    syntaxError(tok.text);
                else
                    append(out, tok.text);
                break;
            case TokenKind::Word:
                if (tok.isWord(QLatin1String("UNION"))) {
                    closeSelects(depth, true);
                    append(out, QStringLiteral("UNION"));
                    break;
                }
                word(tok, out, depth, selects, intoTarget);
                break;
            case TokenKind::Semicolon:
            case TokenKind::End:
                break;
            }
        }
        if (depth != 0)
            syntaxError(QStringLiteral("("));
        closeSelects(0, false);
        return out;
    }

private:
    // One SELECT being written: its depth in brackets, where it starts in the
    // output, and its TOP.
    struct Frame {
        int depth;
        qsizetype start;
        QString limit;
    };

    // True when the FROM clause of the SELECT whose tokens follow names one
    // table (or none): no comma and no JOIN at its own level.
    bool selectsFromOneTable() const
    {
        int level = 0;
        bool inFrom = false;
        for (size_t k = i_; k < t_.size(); ++k) {
            const Token& tok = t_[k];
            if (tok.kind == TokenKind::End || tok.kind == TokenKind::Semicolon)
                break;
            if (tok.kind == TokenKind::LParen) {
                ++level;
            } else if (tok.kind == TokenKind::RParen) {
                if (--level < 0)
                    break;
            } else if (level == 0 && tok.isWord(QLatin1String("FROM"))) {
                inFrom = true;
            } else if (level == 0 && inFrom) {
                if (tok.kind == TokenKind::Comma || tok.isWord(QLatin1String("JOIN")))
                    return false;
                if (tok.isWord(QLatin1String("WHERE")) || tok.isWord(QLatin1String("GROUP")) ||
                    tok.isWord(QLatin1String("ORDER")) || tok.isWord(QLatin1String("HAVING")) ||
                    tok.isWord(QLatin1String("UNION")))
                    break;
            }
        }
        return true;
    }

    void word(const Token& tok, QString& out, int depth, std::vector<Frame>& selects, QString* intoTarget)
    {
        if (tok.isWord(QLatin1String("SELECT"))) {
            append(out, QStringLiteral("SELECT"));
            selects.push_back({depth, out.size() - 6, QString()});
            // DISTINCTROW drops rows that repeat whole records of the tables
            // read: over one table, whose records differ, it keeps every row.
            if (takeWord(QLatin1String("DISTINCTROW"))) {
                if (!selectsFromOneTable())
                    append(out, QStringLiteral("DISTINCT"));
            } else if (takeWord(QLatin1String("DISTINCT")))
                append(out, QStringLiteral("DISTINCT"));
            else if (takeWord(QLatin1String("ALL")))
                append(out, QStringLiteral("ALL"));
            if (takeWord(QLatin1String("TOP"))) {
                if (peek().kind != TokenKind::Number)
                    syntaxError(peek().text);
                selects.back().limit = take().text;
                if (peek().isWord(QLatin1String("PERCENT")))
                    syntaxError(peek().text);
            }
            return;
        }
        if (tok.isWord(QLatin1String("INTO")) && intoTarget && depth == 0 && selects.size() == 1) {
            if (!intoTarget->isEmpty())
                syntaxError(tok.text);
            *intoTarget = takeName();
            if (peek().isWord(QLatin1String("IN")) && peek(1).kind == TokenKind::Text)
                syntaxError(QStringLiteral("IN"));
            return;
        }
        if (tok.isWord(QLatin1String("TRUE"))) {
            append(out, QStringLiteral("-1"));
        } else if (tok.isWord(QLatin1String("FALSE"))) {
            append(out, QStringLiteral("0"));
        } else if (tok.isWord(QLatin1String("MOD"))) {
            append(out, QStringLiteral("%"));
        } else if (tok.isWord(QLatin1String("ORDER")) || tok.isWord(QLatin1String("GROUP"))) {
            append(out, tok.text.toUpper());
        } else if (peek().kind == TokenKind::LParen &&
                   (tok.isWord(QLatin1String("LEFT")) || tok.isWord(QLatin1String("RIGHT")))) {
            // Left( and Right( are the dialect's functions, not join keywords.
            append(out, quoteName(tok.text.toLower()));
        } else {
            append(out, tok.text);
        }
    }

    static void append(QString& out, const QString& piece)
    {
        // No space after "(" or "." (a.*, [a].[b]); one between other pieces.
        if (!out.isEmpty() && !out.endsWith(QLatin1Char('(')) && !out.endsWith(QLatin1Char('.')))
            out += QLatin1Char(' ');
        out += piece;
    }

    std::vector<Token> t_;
    size_t i_ = 0;
};

FieldType typeOfWord(const QString& word, int* length)
{
    const QString w = word.toUpper();
    if (w == QLatin1String("TEXT") || w == QLatin1String("CHAR") || w == QLatin1String("VARCHAR") ||
        w == QLatin1String("STRING") || w == QLatin1String("ALPHANUMERIC") ||
        w == QLatin1String("NVARCHAR")) {
        *length = 255;
        return FieldType::Text;
    }
    if (w == QLatin1String("MEMO") || w == QLatin1String("LONGTEXT") || w == QLatin1String("NOTE") ||
        w == QLatin1String("LONGCHAR"))
        return FieldType::Memo;
    if (w == QLatin1String("NUMBER") || w == QLatin1String("DOUBLE") || w == QLatin1String("FLOAT") ||
        w == QLatin1String("FLOAT8") || w == QLatin1String("SINGLE") || w == QLatin1String("REAL") ||
        w == QLatin1String("FLOAT4") || w == QLatin1String("NUMERIC") || w == QLatin1String("DECIMAL"))
        return FieldType::Double;
    if (w == QLatin1String("LONG") || w == QLatin1String("INTEGER") || w == QLatin1String("INT") ||
        w == QLatin1String("SHORT") || w == QLatin1String("SMALLINT") || w == QLatin1String("BYTE") ||
        w == QLatin1String("COUNTER") || w == QLatin1String("AUTOINCREMENT") ||
        w == QLatin1String("INTEGER4"))
        return FieldType::Integer;
    if (w == QLatin1String("CURRENCY") || w == QLatin1String("MONEY"))
        return FieldType::Currency;
    if (w == QLatin1String("DATE") || w == QLatin1String("DATETIME") || w == QLatin1String("TIME") ||
        w == QLatin1String("TIMESTAMP"))
        return FieldType::Date;
    if (w == QLatin1String("YESNO") || w == QLatin1String("BIT") || w == QLatin1String("LOGICAL") ||
        w == QLatin1String("BOOLEAN"))
        return FieldType::Boolean;
    throw Error(err::InvalidFieldType, QStringLiteral("Invalid field data type '%1'.").arg(word));
}

Translation createTable(Writer& w)
{
    Translation tr;
    tr.kind = StatementKind::CreateTable;
    tr.target = w.takeName();
    w.expect(TokenKind::LParen);
    for (;;) {
        ColumnSpec col;
        col.name = w.takeName();
        if (w.peek().kind != TokenKind::Word)
            syntaxError(w.peek().text);
        col.type = typeOfWord(w.take().text, &col.length);
        if (w.peek().kind == TokenKind::LParen) {
            w.take();
            if (w.peek().kind != TokenKind::Number)
                syntaxError(w.peek().text);
            const int n = w.take().text.toInt();
            if (col.type == FieldType::Text) {
                if (n < 1 || n > 255)
                    throw Error(err::SyntaxError,
                                QStringLiteral("Size of field '%1' is out of range.").arg(col.name));
                col.length = n;
            }
            if (w.peek().kind == TokenKind::Comma) { // NUMERIC(p, s)
                w.take();
                w.take();
            }
            w.expect(TokenKind::RParen);
        }
        for (;;) {
            if (w.takeWord(QLatin1String("NOT"))) {
                w.expectWord(QLatin1String("NULL"));
                col.notNull = true;
            } else if (w.takeWord(QLatin1String("PRIMARY"))) {
                w.expectWord(QLatin1String("KEY"));
                col.primaryKey = true;
            } else {
                break;
            }
        }
        tr.columns.push_back(col);
        if (w.peek().kind == TokenKind::Comma) {
            w.take();
            continue;
        }
        w.expect(TokenKind::RParen);
        break;
    }
    w.finish();
    return tr;
}

Translation alterTable(Writer& w)
{
    Translation tr;
    tr.kind = StatementKind::AddPrimaryKey;
    tr.target = w.takeName();
    w.expectWord(QLatin1String("ADD"));
    w.expectWord(QLatin1String("CONSTRAINT"));
    tr.constraintName = w.takeName();
    w.expectWord(QLatin1String("PRIMARY"));
    w.expectWord(QLatin1String("KEY"));
    w.expect(TokenKind::LParen);
    tr.keyColumn = w.takeName();
    if (w.peek().kind == TokenKind::Comma)
        syntaxError(QStringLiteral(","));
    w.expect(TokenKind::RParen);
    w.finish();
    return tr;
}

Translation insert(Writer& w)
{
    Translation tr;
    w.expectWord(QLatin1String("INTO"));
    const QString target = w.takeName();
    if (w.takeWord(QLatin1String("IN"))) {
        if (w.peek().kind != TokenKind::Text)
            syntaxError(w.peek().text);
        tr.kind = StatementKind::InsertIn;
        tr.target = target;
        tr.externalPath = w.take().text;
        if (!w.peek().isWord(QLatin1String("SELECT")))
            syntaxError(w.peek().text);
        if (w.peek(1).is(TokenKind::Operator, QLatin1String("*")) &&
            w.peek(2).isWord(QLatin1String("FROM")) &&
            (w.peek(3).kind == TokenKind::Name || w.peek(3).kind == TokenKind::Word) &&
            (w.peek(4).kind == TokenKind::End || w.peek(4).kind == TokenKind::Semicolon))
            tr.sourceTable = w.peek(3).text;
        tr.sql = w.rest();
        w.finish();
        return tr;
    }
    tr.kind = StatementKind::Action;
    tr.sql = QStringLiteral("INSERT INTO ") + quoteName(target) + QLatin1Char(' ') + w.rest();
    w.finish();
    return tr;
}

Translation deleteRows(Writer& w)
{
    // DELETE *, DELETE [col], DELETE t.* and DELETE all delete whole rows.
    while (!w.atEnd() && !w.peek().isWord(QLatin1String("FROM")))
        w.take();
    w.expectWord(QLatin1String("FROM"));
    Translation tr;
    tr.kind = StatementKind::Action;
    tr.sql = QStringLiteral("DELETE FROM ") + w.rest();
    w.finish();
    return tr;
}

} // namespace

Translation translate(const QString& statement)
{
    Writer w(tokenize(statement));
    const Token first = w.peek();
    if (first.isWord(QLatin1String("SELECT"))) {
        Translation tr;
        tr.sql = w.rest(&tr.target);
        w.finish();
        tr.kind = tr.target.isEmpty() ? StatementKind::Select : StatementKind::MakeTable;
        return tr;
    }
    w.take();
    if (first.isWord(QLatin1String("INSERT")))
        return insert(w);
    if (first.isWord(QLatin1String("DELETE")))
        return deleteRows(w);
    if (first.isWord(QLatin1String("UPDATE"))) {
        Translation tr;
        tr.sql = QStringLiteral("UPDATE ") + w.rest();
        w.finish();
        return tr;
    }
    if (first.isWord(QLatin1String("CREATE")) && w.takeWord(QLatin1String("TABLE")))
        return createTable(w);
    if (first.isWord(QLatin1String("ALTER")) && w.takeWord(QLatin1String("TABLE")))
        return alterTable(w);
    if (first.isWord(QLatin1String("DROP")) && w.takeWord(QLatin1String("TABLE"))) {
        Translation tr;
        tr.kind = StatementKind::DropTable;
        tr.target = w.takeName();
        w.finish();
        return tr;
    }
    syntaxError(first.kind == TokenKind::End ? QString() : first.text);
}

QString bareTableName(const QString& text)
{
    std::vector<Token> tokens;
    try {
        tokens = tokenize(text);
    } catch (const Error&) {
        return {};
    }
    if (tokens.size() == 2 && tokens[0].kind == TokenKind::Name)
        return tokens[0].text;
    if (tokens.size() == 2 && tokens[0].kind == TokenKind::Word && !tokens[0].isWord(QLatin1String("SELECT")))
        return tokens[0].text;
    // A name with spaces, written bare: every token a word.
    bool allWords = tokens.size() > 2;
    for (size_t k = 0; k + 1 < tokens.size(); ++k)
        allWords = allWords && tokens[k].kind == TokenKind::Word;
    if (allWords && !tokens[0].isWord(QLatin1String("SELECT")) && !tokens[0].isWord(QLatin1String("TABLE")))
        return text.trimmed();
    return {};
}

QString translateExpression(const QString& expression)
{
    Writer w(tokenize(expression));
    const QString sql = w.rest();
    w.finish();
    return sql;
}

QString translateOrderBy(const QString& sort)
{
    return translateExpression(sort);
}

} // namespace qv::store::dialect
