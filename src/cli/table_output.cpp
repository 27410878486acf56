#include "cli/table_output.h"

#include <QDateTime>

namespace qv::cli {

QString displayText(const QVariant& value)
{
    if (value.isNull())
        return {};
    switch (value.typeId()) {
    case QMetaType::QDateTime: {
        const QDateTime dt = value.toDateTime();
        return dt.time() == QTime(0, 0) ? dt.date().toString(Qt::ISODate)
                                        : dt.toString(QStringLiteral("yyyy-MM-dd HH:mm:ss"));
    }
    case QMetaType::Double:
        return QString::number(value.toDouble(), 'g', 15);
    default:
        return value.toString();
    }
}

void writeTabDelimited(QTextStream& out, const store::Recordset& records)
{
    out << records.fieldNames().join(QLatin1Char('\t')) << '\n';
    for (int row = 0; row < records.recordCount(); ++row) {
        for (int col = 0; col < records.fieldCount(); ++col) {
            if (col > 0)
                out << '\t';
            out << displayText(records.at(row, col));
        }
        out << '\n';
    }
}

} // namespace qv::cli
