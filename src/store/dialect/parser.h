#pragma once

#include "store/dialect/lexer.h"
#include "store/dialect/syntax.h"

namespace qv::store::dialect {

// Reads the statements of the dialect into syntax trees. Malformed input
// raises error 3075 naming the statement as the user wrote it.
class Parser {
public:
    explicit Parser(QString statement);

    const QString& statement() const { return statement_; }

    // A SELECT with its clauses and UNIONs; at the word SELECT. INTO is read
    // only when allowed (the outermost SELECT of a make-table statement).
    SelectPtr select(bool allowInto);
    // TRANSFORM value SELECT ... PIVOT pivot [IN (values)]; at the word TRANSFORM.
    SelectPtr transform(bool allowInto);
    ExprPtr expression();
    // An ORDER BY list, as a record set's Sort.
    std::vector<OrderItem> orderList();

    const Token& peek(size_t ahead = 0) const { return tokens_[std::min(at_ + ahead, tokens_.size() - 1)]; }
    const Token& take() { return tokens_[at_ < tokens_.size() - 1 ? at_++ : at_]; }
    bool atEnd() const { return peek().kind == TokenKind::End || peek().kind == TokenKind::Semicolon; }
    bool takeWord(QLatin1String word);
    void expectWord(QLatin1String word);
    void expect(TokenKind kind);
    // A table or column name, bracketed or bare.
    QString takeName();
    // Nothing but an optional ';' may follow.
    void finish();

    [[noreturn]] void fail() const;
    [[noreturn]] void fail(qsizetype at) const;

    // How deep an expression may go: levels opened by brackets, calls, subqueries,
    // Not and signs, and operators chained below each other (1 + 1 + ...). Past it
    // the statement is the engine's error 3360, before anything runs out of stack.
    static constexpr int maxDepth = 64;

private:
    // One level opened while it is read; refused past maxDepth.
    class Level {
    public:
        explicit Level(Parser& p);
        ~Level() { --p_.levels_; }
        Level(const Level&) = delete;
        Level& operator=(const Level&) = delete;

    private:
        Parser& p_;
    };

    ExprPtr measured(ExprPtr e) const;
    void measure(Select& s) const;
    [[noreturn]] void tooComplex() const;

    ExprPtr joined(Expr::Kind kind, QString op, ExprPtr left, ExprPtr right) const;
    ExprPtr binaryLevel(int level);
    ExprPtr notLevel();
    ExprPtr comparison();
    ExprPtr concatenation();
    ExprPtr arithmetic(int level);
    ExprPtr unary();
    ExprPtr power();
    ExprPtr powerOperand();
    ExprPtr primary();
    ExprPtr nameOrCall(const Token& first);
    ExprPtr callArguments(ExprPtr call);
    ExprPtr bracketed(qsizetype begin);

    void selectCore(Select& s, bool allowInto);
    void selectItems(Select& s);
    TableRefPtr tableRef();
    TableRefPtr tablePrimary();
    QString optionalAlias(bool requireAs);

    QString statement_;
    std::vector<Token> tokens_;
    size_t at_ = 0;
    int levels_ = 0;
};

// Words that cannot name a column without brackets.
bool isReservedWord(const Token& token);

} // namespace qv::store::dialect
