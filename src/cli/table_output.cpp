#include "cli/table_output.h"

#include "common/number_text.h"

#include <QDateTime>
#include <QIODevice>

#include <charconv>
#include <string>

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
        return numberText(value.toDouble());
    default:
        return value.toString();
    }
}

void appendDisplayText(std::string& out, const store::Recordset& records, int row, int column)
{
    using Kind = store::CellView::Kind;
    const store::CellView cell = records.cell(row, column);
    switch (cell.kind) {
    case Kind::Null:
        return;
    case Kind::Integer: {
        char digits[24];
        out.append(digits, std::to_chars(digits, digits + sizeof digits, cell.integer).ptr);
        return;
    }
    case Kind::Double:
        return appendNumberText(out, cell.number);
    case Kind::Text:
        out.append(cell.text);
        return;
    case Kind::Other:
        out += displayText(records.at(row, column)).toStdString();
        return;
    }
}

void writeTabDelimited(QTextStream& out, const store::Recordset& records)
{
    // Whole tables are written as UTF-8 straight from the stored values, in large
    // pieces, without a QString a cell.
    out.flush();
    QIODevice* device = out.device();
    std::string text = records.fieldNames().join(QLatin1Char('\t')).toStdString() + '\n';
    const auto flush = [&] {
        if (device != nullptr)
            device->write(text.data(), static_cast<qint64>(text.size()));
        else
            out << QString::fromStdString(text);
        text.clear();
    };
    for (int row = 0; row < records.recordCount(); ++row) {
        for (int col = 0; col < records.fieldCount(); ++col) {
            if (col > 0)
                text += '\t';
            appendDisplayText(text, records, row, col);
        }
        text += '\n';
        if (text.size() > (1 << 20))
            flush();
    }
    flush();
}

} // namespace qv::cli
