#include "store/dialect/lexer.h"

#include "common/error.h"

namespace qv::store::dialect {

namespace {

[[noreturn]] void syntaxError(const QString& statement, qsizetype at, const char* what)
{
    throw Error(err::SyntaxError, QStringLiteral("Syntax error (%1) in query expression '%2'.")
                                      .arg(QLatin1String(what), statement.mid(at, 40)));
}

bool isWordStart(QChar c)
{
    return c.isLetter() || c == QLatin1Char('_') || c == QLatin1Char('$');
}
bool isWordChar(QChar c)
{
    return c.isLetterOrNumber() || c == QLatin1Char('_') || c == QLatin1Char('$');
}

} // namespace

std::vector<Token> tokenize(const QString& s)
{
    std::vector<Token> tokens;
    const qsizetype n = s.size();
    qsizetype i = 0;
    while (i < n) {
        const QChar c = s[i];
        if (c.isSpace()) {
            ++i;
            continue;
        }
        const qsizetype start = i;
        if (c == QLatin1Char('[')) {
            // A doubled closing bracket stands for one inside the name.
            QString name;
            qsizetype close = s.indexOf(QLatin1Char(']'), i + 1);
            qsizetype from = i + 1;
            while (close >= 0 && close + 1 < n && s[close + 1] == QLatin1Char(']')) {
                name += QStringView(s).mid(from, close + 1 - from);
                from = close + 2;
                close = s.indexOf(QLatin1Char(']'), from);
            }
            if (close < 0)
                syntaxError(s, start, "missing closing bracket");
            name += QStringView(s).mid(from, close - from);
            if (name.contains(QLatin1Char('[')))
                syntaxError(s, start, "invalid bracketing of name");
            tokens.push_back({TokenKind::Name, name, start});
            i = close + 1;
        } else if (c == QLatin1Char('\'') || c == QLatin1Char('"')) {
            QString text;
            ++i;
            bool closed = false;
            while (i < n) {
                if (s[i] == c) {
                    if (i + 1 < n && s[i + 1] == c) {
                        text += c;
                        i += 2;
                        continue;
                    }
                    closed = true;
                    ++i;
                    break;
                }
                text += s[i++];
            }
            if (!closed)
                syntaxError(s, start, "missing operator or unterminated string");
            tokens.push_back({TokenKind::Text, text, start});
        } else if (c == QLatin1Char('#')) {
            const qsizetype close = s.indexOf(QLatin1Char('#'), i + 1);
            if (close < 0)
                syntaxError(s, start, "invalid date");
            tokens.push_back({TokenKind::Date, s.mid(i + 1, close - i - 1).trimmed(), start});
            i = close + 1;
        } else if (c.isDigit() || (c == QLatin1Char('.') && i + 1 < n && s[i + 1].isDigit())) {
            while (i < n && (s[i].isDigit() || s[i] == QLatin1Char('.')))
                ++i;
            if (i < n && (s[i] == QLatin1Char('e') || s[i] == QLatin1Char('E'))) {
                qsizetype j = i + 1;
                if (j < n && (s[j] == QLatin1Char('+') || s[j] == QLatin1Char('-')))
                    ++j;
                if (j < n && s[j].isDigit()) {
                    i = j;
                    while (i < n && s[i].isDigit())
                        ++i;
                }
            }
            if (i < n && isWordStart(s[i]))
                syntaxError(s, start, "invalid number");
            tokens.push_back({TokenKind::Number, s.mid(start, i - start), start});
        } else if (isWordStart(c)) {
            while (i < n && isWordChar(s[i]))
                ++i;
            tokens.push_back({TokenKind::Word, s.mid(start, i - start), start});
        } else if (c == QLatin1Char(',')) {
            tokens.push_back({TokenKind::Comma, QStringLiteral(","), i++});
        } else if (c == QLatin1Char('.')) {
            tokens.push_back({TokenKind::Dot, QStringLiteral("."), i++});
        } else if (c == QLatin1Char('(')) {
            tokens.push_back({TokenKind::LParen, QStringLiteral("("), i++});
        } else if (c == QLatin1Char(')')) {
            tokens.push_back({TokenKind::RParen, QStringLiteral(")"), i++});
        } else if (c == QLatin1Char(';')) {
            tokens.push_back({TokenKind::Semicolon, QStringLiteral(";"), i++});
        } else if (c == QLatin1Char('<') || c == QLatin1Char('>')) {
            QString op(c);
            if (i + 1 < n &&
                (s[i + 1] == QLatin1Char('=') || (c == QLatin1Char('<') && s[i + 1] == QLatin1Char('>'))))
                op += s[++i];
            ++i;
            tokens.push_back({TokenKind::Operator, op, start});
        } else if (QStringLiteral("=+-*/&\\^").contains(c)) {
            tokens.push_back({TokenKind::Operator, QString(c), i++});
        } else {
            syntaxError(s, start, "invalid character");
        }
    }
    tokens.push_back({TokenKind::End, QString(), n});
    return tokens;
}

} // namespace qv::store::dialect
