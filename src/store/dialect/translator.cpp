#include "store/dialect/translator.h"

#include "common/error.h"
#include "store/dialect/conversions.h"
#include "store/dialect/parser.h"
#include "store/dialect/sql_writer.h"
#include "store/sql_quote.h"

namespace qv::store::dialect {

namespace {

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

Translation createTable(Parser& p)
{
    Translation tr;
    tr.kind = StatementKind::CreateTable;
    tr.target = p.takeName();
    p.expect(TokenKind::LParen);
    for (;;) {
        ColumnSpec col;
        col.name = p.takeName();
        if (p.peek().kind != TokenKind::Word)
            p.fail();
        col.type = typeOfWord(p.take().text, &col.length);
        if (p.peek().kind == TokenKind::LParen) {
            p.take();
            if (p.peek().kind != TokenKind::Number)
                p.fail();
            const int n = p.take().text.toInt();
            if (col.type == FieldType::Text) {
                if (n < 1 || n > 255)
                    throw Error(err::SyntaxError,
                                QStringLiteral("Size of field '%1' is out of range.").arg(col.name));
                col.length = n;
            }
            if (p.peek().kind == TokenKind::Comma) { // NUMERIC(p, s)
                p.take();
                p.take();
            }
            p.expect(TokenKind::RParen);
        }
        for (;;) {
            if (p.takeWord(QLatin1String("NOT"))) {
                p.expectWord(QLatin1String("NULL"));
                col.notNull = true;
            } else if (p.takeWord(QLatin1String("PRIMARY"))) {
                p.expectWord(QLatin1String("KEY"));
                col.primaryKey = true;
            } else {
                break;
            }
        }
        tr.columns.push_back(col);
        if (p.peek().kind == TokenKind::Comma) {
            p.take();
            continue;
        }
        p.expect(TokenKind::RParen);
        break;
    }
    p.finish();
    return tr;
}

Translation alterTable(Parser& p)
{
    Translation tr;
    tr.kind = StatementKind::AddPrimaryKey;
    tr.target = p.takeName();
    p.expectWord(QLatin1String("ADD"));
    p.expectWord(QLatin1String("CONSTRAINT"));
    tr.constraintName = p.takeName();
    p.expectWord(QLatin1String("PRIMARY"));
    p.expectWord(QLatin1String("KEY"));
    p.expect(TokenKind::LParen);
    tr.keyColumn = p.takeName();
    if (p.peek().kind == TokenKind::Comma)
        p.fail();
    p.expect(TokenKind::RParen);
    p.finish();
    return tr;
}

// A value written into a column: a literal text becomes a date for a date
// column, as the engine converts it.
QString assigned(const Operand& o, ValueType column)
{
    if (o.literal && o.type == ValueType::Text && column == ValueType::Date)
        if (const auto d = textToDate(o.literal->text))
            return quoteText(dateToStored(*d));
    return SqlWriter::value(o);
}

ValueType columnType(const Scope& scope, const QString& column)
{
    return scope.typeOf(QString(), column);
}

QString withSelect(Parser& p, SqlWriter& w)
{
    if (!p.peek().isWord(QLatin1String("SELECT")))
        p.fail();
    const SelectPtr s = p.select(false);
    p.finish();
    return w.select(*s, nullptr).sql;
}

Translation insert(Parser& p, SqlWriter& w)
{
    Translation tr;
    p.expectWord(QLatin1String("INTO"));
    const QString target = p.takeName();
    if (p.takeWord(QLatin1String("IN"))) {
        if (p.peek().kind != TokenKind::Text)
            p.fail();
        tr.kind = StatementKind::InsertIn;
        tr.target = target;
        tr.externalPath = p.take().text;
        if (p.peek(1).is(TokenKind::Operator, QLatin1String("*")) &&
            p.peek(2).isWord(QLatin1String("FROM")) &&
            (p.peek(3).kind == TokenKind::Name || p.peek(3).kind == TokenKind::Word) &&
            (p.peek(4).kind == TokenKind::End || p.peek(4).kind == TokenKind::Semicolon))
            tr.sourceTable = p.peek(3).text;
        tr.sql = withSelect(p, w);
        return tr;
    }
    tr.kind = StatementKind::Action;
    tr.target = target;
    QStringList columns;
    if (p.peek().kind == TokenKind::LParen) {
        p.take();
        for (;;) {
            columns << p.takeName();
            if (p.peek().kind != TokenKind::Comma)
                break;
            p.take();
        }
        p.expect(TokenKind::RParen);
    }
    QString sql = QStringLiteral("INSERT INTO ") + quoteName(target);
    if (!columns.isEmpty()) {
        QStringList quoted;
        for (const QString& c : columns)
            quoted << quoteName(c);
        sql += QStringLiteral(" (") + quoted.join(QStringLiteral(", ")) + QLatin1Char(')');
    }
    if (!p.takeWord(QLatin1String("VALUES"))) {
        tr.sql = sql + QLatin1Char(' ') + withSelect(p, w);
        return tr;
    }
    const Scope scope = w.tableScope(target);
    const ScopeTable& table = scope.tables.front();
    QStringList rows;
    do { // VALUES (...), (...): a row each
        p.expect(TokenKind::LParen);
        QStringList values;
        for (int k = 0;; ++k) {
            const ExprPtr e = p.expression();
            QString column = k < columns.size() ? columns[k] : QString();
            if (columns.isEmpty() && size_t(k) < table.columns.size())
                column = table.columns[size_t(k)].name;
            values << assigned(w.expression(*e, scope), columnType(scope, column));
            if (p.peek().kind != TokenKind::Comma)
                break;
            p.take();
        }
        p.expect(TokenKind::RParen);
        rows << QLatin1Char('(') + values.join(QStringLiteral(", ")) + QLatin1Char(')');
    } while (p.peek().kind == TokenKind::Comma && p.take().kind == TokenKind::Comma);
    p.finish();
    tr.sql = sql + QStringLiteral(" VALUES ") + rows.join(QStringLiteral(", "));
    return tr;
}

Translation deleteRows(Parser& p, SqlWriter& w)
{
    // DELETE *, DELETE [col], DELETE t.* and DELETE all delete whole rows.
    while (!p.atEnd() && !p.peek().isWord(QLatin1String("FROM")))
        p.take();
    p.expectWord(QLatin1String("FROM"));
    Translation tr;
    tr.kind = StatementKind::Action;
    const QString table = p.takeName();
    tr.target = table;
    tr.sql = QStringLiteral("DELETE FROM ") + quoteName(table);
    if (p.takeWord(QLatin1String("WHERE"))) {
        const ExprPtr e = p.expression();
        tr.sql += QStringLiteral(" WHERE ") + SqlWriter::condition(w.expression(*e, w.tableScope(table)));
    }
    p.finish();
    return tr;
}

Translation update(Parser& p, SqlWriter& w)
{
    Translation tr;
    tr.kind = StatementKind::Action;
    const QString table = p.takeName();
    tr.target = table;
    const Scope scope = w.tableScope(table);
    p.expectWord(QLatin1String("SET"));
    QStringList assignments;
    for (;;) {
        QString column = p.takeName();
        if (p.peek().kind == TokenKind::Dot) { // [t].[column]
            p.take();
            column = p.takeName();
        }
        if (!p.peek().is(TokenKind::Operator, QLatin1String("=")))
            p.fail();
        p.take();
        const ExprPtr e = p.expression();
        assignments << quoteName(column) + QStringLiteral(" = ") +
                           assigned(w.expression(*e, scope), columnType(scope, column));
        if (p.peek().kind != TokenKind::Comma)
            break;
        p.take();
    }
    tr.sql = QStringLiteral("UPDATE ") + quoteName(table) + QStringLiteral(" SET ") +
             assignments.join(QStringLiteral(", "));
    if (p.takeWord(QLatin1String("WHERE"))) {
        const ExprPtr e = p.expression();
        tr.sql += QStringLiteral(" WHERE ") + SqlWriter::condition(w.expression(*e, scope));
    }
    p.finish();
    return tr;
}

Scope columnsScope(const std::vector<SchemaColumn>& columns)
{
    Scope scope;
    ScopeTable t;
    t.columns = columns;
    t.known = !columns.empty();
    scope.tables.push_back(std::move(t));
    return scope;
}

} // namespace

Translation translate(const QString& statement, const Schema* schema)
{
    Parser p(statement);
    SqlWriter w(schema, statement);
    const Token first = p.peek();
    if (first.isWord(QLatin1String("SELECT")) || first.isWord(QLatin1String("TRANSFORM"))) {
        const SelectPtr s = first.isWord(QLatin1String("SELECT")) ? p.select(true) : p.transform(true);
        p.finish();
        Translation tr;
        const WrittenSelect written = w.select(*s, nullptr);
        tr.sql = written.sql;
        tr.target = s->into;
        tr.kind = tr.target.isEmpty() ? StatementKind::Select : StatementKind::MakeTable;
        for (const OutputColumn& c : written.columns)
            if (c.expression)
                if (const auto type = fieldTypeFor(c.type))
                    tr.expressionTypes.emplace_back(c.name, *type);
        return tr;
    }
    p.take();
    if (first.isWord(QLatin1String("INSERT")))
        return insert(p, w);
    if (first.isWord(QLatin1String("DELETE")))
        return deleteRows(p, w);
    if (first.isWord(QLatin1String("UPDATE")))
        return update(p, w);
    if (first.isWord(QLatin1String("CREATE")) && p.takeWord(QLatin1String("TABLE")))
        return createTable(p);
    if (first.isWord(QLatin1String("ALTER")) && p.takeWord(QLatin1String("TABLE")))
        return alterTable(p);
    if (first.isWord(QLatin1String("DROP")) && p.takeWord(QLatin1String("TABLE"))) {
        Translation tr;
        tr.kind = StatementKind::DropTable;
        tr.target = p.takeName();
        p.finish();
        return tr;
    }
    p.fail(first.position);
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

QString translateExpression(const QString& expression, const std::vector<SchemaColumn>& columns)
{
    Parser p(expression);
    const ExprPtr e = p.expression();
    p.finish();
    SqlWriter w(nullptr, expression);
    return SqlWriter::condition(w.expression(*e, columnsScope(columns)));
}

QString translateOrderBy(const QString& sort, const std::vector<SchemaColumn>& columns)
{
    Parser p(sort);
    const std::vector<OrderItem> items = p.orderList();
    p.finish();
    SqlWriter w(nullptr, sort);
    return w.orderList(items, columnsScope(columns));
}

} // namespace qv::store::dialect
