#include "store/sql_quote.h"

#include "common/statement_values.h"

namespace qv::store {

namespace {

// Built in one allocation: statements quote every column they name.
QString enclosed(const QString& name, QChar open, QChar close)
{
    QString q;
    q.reserve(name.size() + 2);
    q += open;
    if (name.contains(close)) {
        QString doubled = name;
        q += doubled.replace(close, QString(2, close));
    } else {
        q += name;
    }
    q += close;
    return q;
}

} // namespace

QString bracketName(const QString& name)
{
    return enclosed(name, QLatin1Char('['), QLatin1Char(']'));
}

QString quoteName(const QString& name)
{
    return enclosed(name, QLatin1Char('"'), QLatin1Char('"'));
}

QString quoteText(const QString& text, QChar quote)
{
    return quotedText(text, quote);
}

} // namespace qv::store
