#include "grid/core/tab_export.h"

#include "common/cell_text.h"
#include "common/error.h"
#include "common/number_display.h"
#include "common/safe_file.h"

#include <cmath>

namespace qv::grid {

namespace {

// Appends a cell, replacing only when there is something to replace: most
// cells hold neither TAB nor line break.
void appendCell(QByteArray& line, const QString& text)
{
    for (const QChar c : text) {
        if (c == QLatin1Char('\t') || c == QLatin1Char('\r') || c == QLatin1Char('\n')) {
            line += oneLineCell(text).toUtf8();
            return;
        }
    }
    line += text.toUtf8();
}

// A record set's value as cellDisplay shows it, straight into the line.
void appendValue(QByteArray& line, const QVariant& value)
{
    if (!value.isValid() || value.isNull())
        return;
    switch (value.typeId()) {
    case QMetaType::Double: {
        // Whole numbers of up to 15 digits read the same as integers, and
        // most of an auction's numbers are whole.
        const double number = value.toDouble();
        if (number == std::trunc(number) && std::fabs(number) < WholeDigitsFrom) {
            line += QByteArray::number(static_cast<qint64>(number));
        } else {
            std::string digits;
            appendNumberText(digits, number);
            line.append(digits.data(), static_cast<qsizetype>(digits.size()));
        }
        return;
    }
    case QMetaType::Int:
    case QMetaType::LongLong:
        line += QByteArray::number(value.toLongLong());
        return;
    case QMetaType::QString:
        appendCell(line, *static_cast<const QString*>(value.constData()));
        return;
    default:
        appendCell(line, cellDisplay(value));
        return;
    }
}

} // namespace

TabRows recordsetRows(const store::Recordset& records)
{
    TabRows rows;
    rows.header = records.fieldNames();
    rows.rowCount = records.recordCount();
    rows.columnCount = records.fieldCount();
    rows.cell = [&records](int row, int column) { return cellDisplay(records.at(row, column)); };
    rows.appendCell = [&records](QByteArray& line, int row, int column) {
        appendValue(line, records.at(row, column));
    };
    return rows;
}

QString oneLineCell(const QString& text)
{
    QString line = text;
    line.replace(QStringLiteral("\r\n"), QStringLiteral(" "));
    line.replace(QLatin1Char('\r'), QLatin1Char(' '));
    line.replace(QLatin1Char('\n'), QLatin1Char(' '));
    line.replace(QLatin1Char('\t'), QLatin1Char(' '));
    return line;
}

void writeTabText(ByteSink& out, const TabRows& rows)
{
    QByteArray buffer;
    buffer.reserve(1 << 20);
    const auto flush = [&] {
        out.write(buffer);
        buffer.clear();
    };
    for (qsizetype c = 0; c < rows.header.size(); ++c) {
        if (c > 0)
            buffer += '\t';
        appendCell(buffer, rows.header[c]);
    }
    buffer += "\r\n";
    for (int r = 0; r < rows.rowCount; ++r) {
        for (int c = 0; c < rows.columnCount; ++c) {
            if (c > 0)
                buffer += '\t';
            if (rows.appendCell)
                rows.appendCell(buffer, r, c);
            else
                appendCell(buffer, rows.cell(r, c));
        }
        buffer += "\r\n";
        if (buffer.size() > (1 << 20))
            flush();
    }
    flush();
}

void exportTabFile(const QString& path, const TabRows& rows)
{
    SafeFile file(path);
    writeTabText(file, rows); // an exception leaves the new file uncommitted, and removed
    file.commit();
}

} // namespace qv::grid
