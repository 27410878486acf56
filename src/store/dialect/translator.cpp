#include "store/dialect/translator.h"

#include "common/error.h"
#include "store/dialect/lexer.h"

#include <QDate>
#include <QDateTime>

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

// #date# literals are month/day/year, as users of the dialect write them, or ISO.
QString dateLiteral(const QString& text)
{
    static const char* const formats[] = {"M/d/yyyy H:mm:ss",    "M/d/yyyy H:mm", "M/d/yyyy",  "M/d/yy",
                                          "yyyy-MM-dd HH:mm:ss", "yyyy-MM-dd",    "d-MMM-yyyy"};
    for (const char* f : formats) {
        const QDateTime dt = QDateTime::fromString(text, QLatin1String(f));
        if (dt.isValid())
            return quoteText(dateToStorage(dt));
        const QDate d = QDate::fromString(text, QLatin1String(f));
        if (d.isValid()) {
            QDate date = d;
            if (QLatin1String(f) == QLatin1String("M/d/yy") && date.year() < 1930)
                date = date.addYears(100);
            return quoteText(date.toString(Qt::ISODate));
        }
    }
    syntaxError(QLatin1Char('#') + text + QLatin1Char('#'));
}

// Walks the tokens of one statement and writes its SQLite form.
class Writer {
public:
    explicit Writer(std::vector<Token> tokens) : t_(std::move(tokens)) {}

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
        struct Frame {
            int depth;
            QString limit;
        };
        std::vector<Frame> selects;
        int depth = 0;
        auto closeSelects = [&](int level) {
            while (!selects.empty() && selects.back().depth >= level) {
                if (!selects.back().limit.isEmpty())
                    out += QStringLiteral(" LIMIT ") + selects.back().limit;
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
                closeSelects(depth);
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
                word(tok, out, depth, selects, intoTarget);
                break;
            case TokenKind::Semicolon:
            case TokenKind::End:
                break;
            }
        }
        if (depth != 0)
            syntaxError(QStringLiteral("("));
        closeSelects(0);
        return out;
    }

private:
    template <typename Frames>
    void word(const Token& tok, QString& out, int depth, Frames& selects, QString* intoTarget)
    {
        if (tok.isWord(QLatin1String("SELECT"))) {
            append(out, QStringLiteral("SELECT"));
            selects.push_back({depth, QString()});
            if (takeWord(QLatin1String("DISTINCTROW")) || takeWord(QLatin1String("DISTINCT")))
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
        } else if (tok.isWord(QLatin1String("UNION")) || tok.isWord(QLatin1String("ORDER")) ||
                   tok.isWord(QLatin1String("GROUP"))) {
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
    throw Error(3259, QStringLiteral("Invalid field data type '%1'.").arg(word));
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
