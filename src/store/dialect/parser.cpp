#include "store/dialect/parser.h"

#include "common/error.h"

namespace qv::store::dialect {

namespace {

bool isWordIn(const Token& t, std::initializer_list<const char*> words)
{
    for (const char* w : words)
        if (t.isWord(QLatin1String(w)))
            return true;
    return false;
}

bool isOperator(const Token& t, const char* op)
{
    return t.kind == TokenKind::Operator && t.text == QLatin1String(op);
}

ExprPtr make(Expr::Kind kind, const Token& at, QString text = {})
{
    auto e = std::make_unique<Expr>(kind, std::move(text));
    e->begin = at.position;
    return e;
}

} // namespace

bool isReservedWord(const Token& t)
{
    return t.kind == TokenKind::Word &&
           isWordIn(t, {"SELECT", "FROM", "WHERE",  "GROUP",  "BY",          "HAVING",  "ORDER", "UNION",
                        "INTO",   "AS",   "ON",     "JOIN",   "INNER",       "OUTER",   "AND",   "OR",
                        "NOT",    "XOR",  "EQV",    "IMP",    "LIKE",        "BETWEEN", "IN",    "IS",
                        "NULL",   "TRUE", "FALSE",  "MOD",    "DESC",        "ASC",     "TOP",   "DISTINCT",
                        "ALL",    "SET",  "VALUES", "EXISTS", "DISTINCTROW", "PERCENT"});
}

Parser::Parser(QString statement) : statement_(std::move(statement)), tokens_(tokenize(statement_))
{
}

void Parser::fail() const
{
    fail(peek().position);
}

void Parser::fail(qsizetype at) const
{
    const QString near =
        at >= statement_.size() ? QStringLiteral("the end") : statement_.mid(at, 40).trimmed();
    throw Error(err::SyntaxError, QStringLiteral("Syntax error in query expression '%1' near '%2'.")
                                      .arg(statement_.trimmed().left(200), near));
}

bool Parser::takeWord(QLatin1String word)
{
    if (!peek().isWord(word))
        return false;
    ++at_;
    return true;
}

void Parser::expectWord(QLatin1String word)
{
    if (!takeWord(word))
        fail();
}

void Parser::expect(TokenKind kind)
{
    if (peek().kind != kind)
        fail();
    ++at_;
}

QString Parser::takeName()
{
    const Token& t = peek();
    if (t.kind != TokenKind::Name && (t.kind != TokenKind::Word || isReservedWord(t)))
        fail();
    ++at_;
    return t.text;
}

void Parser::finish()
{
    if (peek().kind == TokenKind::Semicolon)
        ++at_;
    if (peek().kind != TokenKind::End)
        fail();
}

// Operators from the loosest: Imp, Eqv, Xor, Or, And; then Not, then comparisons.
ExprPtr Parser::expression()
{
    return binaryLevel(0);
}

ExprPtr Parser::binaryLevel(int level)
{
    static const char* const words[] = {"IMP", "EQV", "XOR", "OR", "AND"};
    if (level == 5)
        return notLevel();
    ExprPtr left = binaryLevel(level + 1);
    while (peek().isWord(QLatin1String(words[level]))) {
        take();
        left = joined(Expr::Kind::Logical, QString::fromLatin1(words[level]), std::move(left),
                      binaryLevel(level + 1));
    }
    return left;
}

ExprPtr Parser::notLevel()
{
    if (peek().isWord(QLatin1String("NOT"))) {
        const Level level(*this);
        ExprPtr e = make(Expr::Kind::Not, take());
        e->args.push_back(notLevel());
        return measured(std::move(e));
    }
    return comparison();
}

ExprPtr Parser::comparison()
{
    ExprPtr left = concatenation();
    for (;;) {
        const Token& t = peek();
        if (t.kind == TokenKind::Operator &&
            (t.text == QLatin1String("=") || t.text == QLatin1String("<>") || t.text == QLatin1String("<") ||
             t.text == QLatin1String(">") || t.text == QLatin1String("<=") ||
             t.text == QLatin1String(">="))) {
            const QString op = take().text;
            // a > ALL (SELECT ...), a = ANY (SELECT ...); SOME is ANY.
            if (isWordIn(peek(), {"ALL", "ANY", "SOME"}) && peek(1).kind == TokenKind::LParen) {
                const Level level(*this);
                auto e = std::make_unique<Expr>(Expr::Kind::AllAny, op);
                e->begin = left->begin;
                e->qualifier =
                    peek().isWord(QLatin1String("ALL")) ? QStringLiteral("ALL") : QStringLiteral("ANY");
                take();
                take();
                if (!peek().isWord(QLatin1String("SELECT")))
                    fail();
                e->select = select(false);
                expect(TokenKind::RParen);
                e->args.push_back(std::move(left));
                left = measured(std::move(e));
                continue;
            }
            left = joined(Expr::Kind::Compare, op, std::move(left), concatenation());
            continue;
        }
        if (t.isWord(QLatin1String("IS"))) {
            take();
            auto e = std::make_unique<Expr>(Expr::Kind::IsNull);
            e->begin = left->begin;
            e->negated = takeWord(QLatin1String("NOT"));
            expectWord(QLatin1String("NULL"));
            e->args.push_back(std::move(left));
            left = measured(std::move(e));
            continue;
        }
        const bool negated = t.isWord(QLatin1String("NOT")) && isWordIn(peek(1), {"LIKE", "BETWEEN", "IN"});
        const Token& op = peek(negated ? 1 : 0);
        if (!isWordIn(op, {"LIKE", "BETWEEN", "IN"}))
            return left;
        if (negated)
            take();
        take();
        auto e = std::make_unique<Expr>(Expr::Kind::Like);
        e->begin = left->begin;
        e->negated = negated;
        e->args.push_back(std::move(left));
        if (op.isWord(QLatin1String("LIKE"))) {
            e->args.push_back(concatenation());
        } else if (op.isWord(QLatin1String("BETWEEN"))) {
            e->kind = Expr::Kind::Between;
            e->args.push_back(concatenation());
            expectWord(QLatin1String("AND"));
            e->args.push_back(concatenation());
        } else {
            const Level level(*this);
            expect(TokenKind::LParen);
            if (peek().isWord(QLatin1String("SELECT"))) {
                e->kind = Expr::Kind::InSelect;
                e->select = select(false);
            } else {
                e->kind = Expr::Kind::InList;
                for (;;) {
                    e->args.push_back(expression());
                    if (peek().kind != TokenKind::Comma)
                        break;
                    take();
                }
            }
            expect(TokenKind::RParen);
        }
        left = measured(std::move(e));
    }
}

ExprPtr Parser::concatenation()
{
    ExprPtr left = arithmetic(0);
    while (isOperator(peek(), "&")) {
        take();
        left = joined(Expr::Kind::Binary, QStringLiteral("&"), std::move(left), arithmetic(0));
    }
    return left;
}

// + and -, then Mod, then \, then * and /: each binds more tightly than the one before.
ExprPtr Parser::arithmetic(int level)
{
    if (level == 4)
        return unary();
    ExprPtr left = arithmetic(level + 1);
    for (;;) {
        const Token& t = peek();
        QString op;
        if (level == 0 && (isOperator(t, "+") || isOperator(t, "-")))
            op = t.text;
        else if (level == 1 && t.isWord(QLatin1String("MOD")))
            op = QStringLiteral("Mod");
        else if (level == 2 && isOperator(t, "\\"))
            op = t.text;
        else if (level == 3 && (isOperator(t, "*") || isOperator(t, "/")))
            op = t.text;
        else
            return left;
        take();
        left = joined(Expr::Kind::Binary, op, std::move(left), arithmetic(level + 1));
    }
}

// Negation binds less tightly than ^: -2 ^ 2 is -4.
ExprPtr Parser::unary()
{
    if (isOperator(peek(), "-")) {
        const Level level(*this);
        ExprPtr e = make(Expr::Kind::Negate, take());
        e->args.push_back(unary());
        return measured(std::move(e));
    }
    if (isOperator(peek(), "+")) {
        const Level level(*this);
        take();
        return unary();
    }
    return power();
}

ExprPtr Parser::power()
{
    ExprPtr left = primary();
    while (isOperator(peek(), "^")) {
        take();
        left = joined(Expr::Kind::Binary, QStringLiteral("^"), std::move(left), powerOperand());
    }
    return left;
}

// An exponent may carry its own sign: 2 ^ -2.
ExprPtr Parser::powerOperand()
{
    if (isOperator(peek(), "-")) {
        const Level level(*this);
        ExprPtr e = make(Expr::Kind::Negate, take());
        e->args.push_back(powerOperand());
        return measured(std::move(e));
    }
    if (isOperator(peek(), "+")) {
        const Level level(*this);
        take();
        return powerOperand();
    }
    return primary();
}

ExprPtr Parser::primary()
{
    const Token& t = peek();
    switch (t.kind) {
    case TokenKind::Number:
        return make(Expr::Kind::Number, take(), t.text);
    case TokenKind::Text:
        return make(Expr::Kind::Text, take(), t.text);
    case TokenKind::Date:
        return make(Expr::Kind::Date, take(), t.text);
    case TokenKind::LParen:
        return bracketed(take().position);
    case TokenKind::Name:
        return nameOrCall(take());
    case TokenKind::Word:
        if (t.isWord(QLatin1String("NULL")))
            return make(Expr::Kind::Null, take());
        if (t.isWord(QLatin1String("TRUE")))
            return make(Expr::Kind::Boolean, take(), QStringLiteral("-1"));
        if (t.isWord(QLatin1String("FALSE")))
            return make(Expr::Kind::Boolean, take(), QStringLiteral("0"));
        if (t.isWord(QLatin1String("NOT"))) { // a = Not b
            const Level level(*this);
            ExprPtr e = make(Expr::Kind::Not, take());
            e->args.push_back(comparison());
            return measured(std::move(e));
        }
        if (t.isWord(QLatin1String("EXISTS")) && peek(1).kind == TokenKind::LParen) {
            const Level level(*this);
            ExprPtr e = make(Expr::Kind::Exists, take());
            take();
            if (!peek().isWord(QLatin1String("SELECT")))
                fail();
            e->select = select(false);
            expect(TokenKind::RParen);
            return measured(std::move(e));
        }
        // Left( and Right( are functions, whatever else LEFT and RIGHT are.
        if (!isReservedWord(t) || peek(1).kind == TokenKind::LParen)
            return nameOrCall(take());
        break;
    case TokenKind::Operator:
        if (t.text == QLatin1String("*")) // Count(*)
            return make(Expr::Kind::AllOf, take());
        break;
    default:
        break;
    }
    fail();
}

ExprPtr Parser::bracketed(qsizetype begin)
{
    const Level level(*this);
    if (peek().isWord(QLatin1String("SELECT"))) {
        auto e = std::make_unique<Expr>(Expr::Kind::Subquery);
        e->begin = begin;
        e->select = select(false);
        expect(TokenKind::RParen);
        return measured(std::move(e));
    }
    ExprPtr inner = expression();
    expect(TokenKind::RParen);
    inner->bracketed = true;
    return inner;
}

ExprPtr Parser::nameOrCall(const Token& first)
{
    if (first.kind == TokenKind::Word && peek().kind == TokenKind::LParen) {
        take();
        return callArguments(make(Expr::Kind::Call, first, first.text));
    }
    if (peek().kind == TokenKind::Dot) {
        take();
        if (isOperator(peek(), "*")) {
            take();
            ExprPtr all = make(Expr::Kind::AllOf, first);
            all->qualifier = first.text;
            return all;
        }
        ExprPtr column = make(Expr::Kind::Column, first, takeName());
        column->qualifier = first.text;
        return column;
    }
    return make(Expr::Kind::Column, first, first.text);
}

ExprPtr Parser::callArguments(ExprPtr call)
{
    const Level level(*this);
    if (peek().kind == TokenKind::RParen) {
        take();
        return call;
    }
    // Count(DISTINCT x) is not the dialect's; Count(*) and Count(t.*) are.
    for (;;) {
        call->args.push_back(expression());
        if (peek().kind != TokenKind::Comma)
            break;
        take();
    }
    expect(TokenKind::RParen);
    return measured(std::move(call));
}

SelectPtr Parser::select(bool allowInto)
{
    auto s = std::make_unique<Select>();
    selectCore(*s, allowInto);
    if (takeWord(QLatin1String("ORDER"))) {
        expectWord(QLatin1String("BY"));
        s->orderBy = orderList();
    }
    if (takeWord(QLatin1String("UNION"))) {
        const Level level(*this);
        s->unionAll = takeWord(QLatin1String("ALL"));
        if (peek().kind == TokenKind::LParen && peek(1).isWord(QLatin1String("SELECT"))) {
            take();
            s->unionNext = select(false);
            expect(TokenKind::RParen);
        } else {
            if (!peek().isWord(QLatin1String("SELECT")))
                fail();
            s->unionNext = select(false);
        }
    }
    measure(*s);
    return s;
}

std::vector<OrderItem> Parser::orderList()
{
    std::vector<OrderItem> items;
    for (;;) {
        OrderItem item;
        item.expr = expression();
        if (takeWord(QLatin1String("DESC")))
            item.descending = true;
        else
            takeWord(QLatin1String("ASC"));
        items.push_back(std::move(item));
        if (peek().kind != TokenKind::Comma)
            return items;
        take();
    }
}

void Parser::selectCore(Select& s, bool allowInto)
{
    expectWord(QLatin1String("SELECT"));
    if (takeWord(QLatin1String("DISTINCTROW")))
        s.quantifier = Select::Quantifier::DistinctRow;
    else if (takeWord(QLatin1String("DISTINCT")))
        s.quantifier = Select::Quantifier::Distinct;
    else
        takeWord(QLatin1String("ALL"));
    if (takeWord(QLatin1String("TOP"))) {
        if (peek().kind != TokenKind::Number)
            fail();
        Top top;
        top.count = take().text;
        top.percent = takeWord(QLatin1String("PERCENT"));
        s.top = top;
    }
    selectItems(s);
    if (peek().isWord(QLatin1String("INTO"))) {
        if (!allowInto)
            fail();
        take();
        s.into = takeName();
        if (peek().isWord(QLatin1String("IN")))
            fail();
    }
    if (takeWord(QLatin1String("FROM"))) {
        for (;;) {
            s.from.push_back(tableRef());
            if (peek().kind != TokenKind::Comma)
                break;
            take();
        }
    }
    if (takeWord(QLatin1String("WHERE")))
        s.where = expression();
    if (takeWord(QLatin1String("GROUP"))) {
        expectWord(QLatin1String("BY"));
        for (;;) {
            s.groupBy.push_back(expression());
            if (peek().kind != TokenKind::Comma)
                break;
            take();
        }
    }
    if (takeWord(QLatin1String("HAVING")))
        s.having = expression();
}

void Parser::selectItems(Select& s)
{
    for (;;) {
        SelectItem item;
        if (isOperator(peek(), "*")) {
            item.expr = make(Expr::Kind::AllOf, take());
        } else {
            item.expr = expression();
            if (takeWord(QLatin1String("AS"))) {
                if (peek().kind == TokenKind::Text)
                    item.alias = take().text;
                else
                    item.alias = takeName();
            }
        }
        s.items.push_back(std::move(item));
        if (peek().kind != TokenKind::Comma)
            return;
        take();
    }
}

QString Parser::optionalAlias(bool requireAs)
{
    if (takeWord(QLatin1String("AS")))
        return takeName();
    const Token& t = peek();
    if (!requireAs && (t.kind == TokenKind::Name ||
                       (t.kind == TokenKind::Word && !isReservedWord(t) && !t.isWord(QLatin1String("LEFT")) &&
                        !t.isWord(QLatin1String("RIGHT")) && !t.isWord(QLatin1String("PIVOT")))))
        return take().text;
    return {};
}

TableRefPtr Parser::tableRef()
{
    TableRefPtr left = tablePrimary();
    // Each join nests the ones before it.
    for (int joins = 0;; ++joins) {
        if (joins > maxDepth)
            tooComplex();
        QString type;
        if (takeWord(QLatin1String("INNER"))) {
            type = QStringLiteral("INNER");
        } else if (peek().isWord(QLatin1String("LEFT")) || peek().isWord(QLatin1String("RIGHT"))) {
            type = take().text.toUpper();
            takeWord(QLatin1String("OUTER"));
        } else if (!peek().isWord(QLatin1String("JOIN"))) {
            return left;
        }
        expectWord(QLatin1String("JOIN"));
        auto join = std::make_unique<TableRef>();
        join->kind = TableRef::Kind::Join;
        join->joinType = type.isEmpty() ? QStringLiteral("INNER") : type;
        join->left = std::move(left);
        join->right = tablePrimary();
        expectWord(QLatin1String("ON"));
        join->on = expression();
        left = std::move(join);
    }
}

TableRefPtr Parser::tablePrimary()
{
    auto ref = std::make_unique<TableRef>();
    if (peek().kind == TokenKind::LParen) {
        const Level level(*this);
        take();
        if (peek().isWord(QLatin1String("SELECT"))) {
            ref->kind = TableRef::Kind::Subquery;
            ref->select = select(false);
            expect(TokenKind::RParen);
            ref->alias = optionalAlias(false);
            return ref;
        }
        TableRefPtr inner = tableRef();
        expect(TokenKind::RParen);
        return inner;
    }
    ref->name = takeName();
    ref->alias = optionalAlias(false);
    return ref;
}

} // namespace qv::store::dialect
