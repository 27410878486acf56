#include "store/field_type.h"
#include "store/sql_quote.h"

#include <QDateTime>

namespace qv::store {

QString declaredType(FieldType type, int textLength)
{
    switch (type) {
    case FieldType::Integer:
        return QStringLiteral("LONG");
    case FieldType::Double:
        return QStringLiteral("DOUBLE");
    case FieldType::Currency:
        return QStringLiteral("CURRENCY");
    case FieldType::Date:
        return QStringLiteral("DATETIME");
    case FieldType::Text:
        return QStringLiteral("TEXT(%1)").arg(textLength > 0 ? textLength : 255);
    case FieldType::Memo:
        return QStringLiteral("LONGTEXT");
    case FieldType::Boolean:
        return QStringLiteral("YESNO");
    }
    return QStringLiteral("LONGTEXT");
}

FieldType fieldTypeOf(const QString& declared)
{
    const QString t = declared.trimmed().toUpper();
    if (t.contains(QLatin1String("DATE")) || t.contains(QLatin1String("TIME")))
        return FieldType::Date;
    if (t.startsWith(QLatin1String("CURRENCY")) || t.startsWith(QLatin1String("MONEY")))
        return FieldType::Currency;
    if (t.startsWith(QLatin1String("YESNO")) || t.startsWith(QLatin1String("BIT")) ||
        t.startsWith(QLatin1String("BOOL")))
        return FieldType::Boolean;
    if (t.contains(QLatin1String("INT")) || t == QLatin1String("LONG") || t == QLatin1String("BYTE") ||
        t == QLatin1String("COUNTER") || t == QLatin1String("AUTOINCREMENT"))
        return FieldType::Integer;
    if (t.startsWith(QLatin1String("MEMO")) || t.startsWith(QLatin1String("LONGTEXT")))
        return FieldType::Memo;
    if (t.contains(QLatin1String("CHAR")) || t.contains(QLatin1String("TEXT")) ||
        t.contains(QLatin1String("CLOB")) || t.startsWith(QLatin1String("STRING")))
        return FieldType::Text;
    return FieldType::Double;
}

int declaredLength(const QString& declared)
{
    const QString t = declared.trimmed().toUpper();
    if (!(t.startsWith(QLatin1String("TEXT")) || t.contains(QLatin1String("CHAR"))))
        return 0;
    const qsizetype open = t.indexOf(QLatin1Char('('));
    const qsizetype close = t.indexOf(QLatin1Char(')'));
    if (open < 0 || close < open)
        return t.startsWith(QLatin1String("TEXT")) ? 255 : 0;
    bool ok = false;
    const int n = t.mid(open + 1, close - open - 1).trimmed().toInt(&ok);
    return ok ? n : 255;
}

QString columnDefinition(const QString& name, FieldType type, int textLength, bool lengthCheck)
{
    QString def = quoteName(name) + QLatin1Char(' ') + declaredType(type, textLength);
    // Text compares and sorts without regard to case, as the dialect expects.
    if (type == FieldType::Text || type == FieldType::Memo)
        def += QStringLiteral(" COLLATE NOCASE");
    if (type == FieldType::Text && lengthCheck) {
        // The check's name lets the engine adapter report error 3163 naming the column.
        def += QStringLiteral(" CONSTRAINT ") + quoteName(QStringLiteral("qv_len:") + name) +
               QStringLiteral(" CHECK (length(") + quoteName(name) + QStringLiteral(") <= ") +
               QString::number(textLength > 0 ? textLength : 255) + QLatin1Char(')');
    }
    return def;
}

QString dateToStorage(const QVariant& value)
{
    if (value.typeId() == QMetaType::QDate)
        return value.toDate().toString(Qt::ISODate);
    const QDateTime dt = value.toDateTime();
    if (dt.time() == QTime(0, 0))
        return dt.date().toString(Qt::ISODate);
    return dt.toString(QStringLiteral("yyyy-MM-dd HH:mm:ss"));
}

QVariant dateFromStorage(const QString& text)
{
    if (text.size() <= 10) {
        const QDate d = QDate::fromString(text, Qt::ISODate);
        if (d.isValid())
            return QDateTime(d, QTime(0, 0));
    }
    QDateTime dt = QDateTime::fromString(text, QStringLiteral("yyyy-MM-dd HH:mm:ss"));
    if (!dt.isValid())
        dt = QDateTime::fromString(text, Qt::ISODate);
    return dt.isValid() ? QVariant(dt) : QVariant(text);
}

} // namespace qv::store
