#include "common/cell_text.h"

#include "common/number_display.h"

#include <QDate>
#include <QDateTime>

namespace qv {

QString cellDisplay(const QVariant& value)
{
    if (!value.isValid() || value.isNull())
        return {};
    switch (value.typeId()) {
    case QMetaType::Double:
    case QMetaType::Float:
        return numberText(value.toDouble());
    case QMetaType::Bool:
        return value.toBool() ? QStringLiteral("True") : QStringLiteral("False");
    case QMetaType::QDate:
        return value.toDate().toString(QStringLiteral("M/d/yyyy"));
    case QMetaType::QDateTime: {
        const QDateTime when = value.toDateTime();
        if (when.time() == QTime(0, 0))
            return when.date().toString(QStringLiteral("M/d/yyyy"));
        return when.toString(QStringLiteral("M/d/yyyy h:mm:ss AP"));
    }
    default:
        return value.toString();
    }
}

} // namespace qv
