#pragma once

#include <QString>

#include <vector>

namespace qv::store::dialect {

enum class TokenKind {
    Word,     // keyword or bare name: SELECT, sysRounds
    Name,     // [Bracketed Name], text without the brackets
    Text,     // 'text' or "text", text without quotes, doubled quotes undone
    Date,     // #1/2/2026#, text without the hashes
    Number,   // 12, 2.5, 1E3
    Operator, // = <> <= >= < > + - * / & \ ^
    Comma,
    Dot,
    LParen,
    RParen,
    Semicolon,
    End,
};

struct Token {
    TokenKind kind;
    QString text;
    qsizetype position; // offset in the statement, for error messages

    bool isWord(QLatin1String word) const
    {
        return kind == TokenKind::Word && text.compare(word, Qt::CaseInsensitive) == 0;
    }
    bool is(TokenKind k, QLatin1String t) const { return kind == k && text == t; }
};

// Splits a statement of the dialect into tokens. Unterminated quotes,
// brackets and dates, a ']' outside brackets and unknown characters raise
// error 3075 naming the offending text.
std::vector<Token> tokenize(const QString& statement);

} // namespace qv::store::dialect
