#include "grid/core/tab_export.h"

#include "common/cell_text.h"
#include "common/error.h"
#include "common/number_display.h"
#include "common/safe_file.h"

#include <charconv>
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

// A whole number's digits, without a QByteArray of their own.
void appendInteger(QByteArray& line, qint64 value)
{
    char digits[24];
    const char* end = std::to_chars(digits, digits + sizeof digits, value).ptr;
    line.append(digits, static_cast<qsizetype>(end - digits));
}

// A number as cellDisplay shows it. Whole numbers of up to 15 digits read
// the same as integers, and most of an auction's numbers are whole.
void appendNumber(QByteArray& line, double number)
{
    if (number == std::trunc(number) && std::fabs(number) < WholeDigitsFrom) {
        appendInteger(line, static_cast<qint64>(number));
    } else {
        std::string digits;
        appendNumberText(digits, number);
        line.append(digits.data(), static_cast<qsizetype>(digits.size()));
    }
}

// A value as cellDisplay shows it, straight into the line.
void appendValue(QByteArray& line, const QVariant& value)
{
    if (!value.isValid() || value.isNull())
        return;
    switch (value.typeId()) {
    case QMetaType::Double:
        return appendNumber(line, value.toDouble());
    case QMetaType::Int:
    case QMetaType::LongLong:
        appendInteger(line, value.toLongLong());
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

QString oneLineCell(const QString& text)
{
    QString line = text;
    line.replace(QStringLiteral("\r\n"), QStringLiteral(" "));
    line.replace(QLatin1Char('\r'), QLatin1Char(' '));
    line.replace(QLatin1Char('\n'), QLatin1Char(' '));
    line.replace(QLatin1Char('\t'), QLatin1Char(' '));
    return line;
}

namespace {

constexpr qsizetype WritePiece = 1 << 16;

void appendHeader(QByteArray& buffer, const QStringList& header)
{
    for (qsizetype c = 0; c < header.size(); ++c) {
        if (c > 0)
            buffer += '\t';
        appendCell(buffer, header[c]);
    }
    buffer += "\r\n";
}

// The current row's value of a column as the grid shows it, straight from the
// engine's value: ASCII texts without TAB or line break byte by byte.
void appendSourceCell(QByteArray& line, const store::RowSource& rows, int column)
{
    using Kind = store::CellView::Kind;
    const store::CellView cell = rows.cell(column);
    switch (cell.kind) {
    case Kind::Null:
        return;
    case Kind::Integer:
        appendInteger(line, static_cast<qint64>(cell.integer));
        return;
    case Kind::Double:
        return appendNumber(line, cell.number);
    case Kind::Text:
        for (const char c : cell.text) {
            if ((c & 0x80) != 0 || c == '\t' || c == '\r' || c == '\n')
                return appendCell(line, QString::fromUtf8(cell.text.data(), qsizetype(cell.text.size())));
        }
        line.append(cell.text.data(), static_cast<qsizetype>(cell.text.size()));
        return;
    case Kind::Other:
        return appendValue(line, rows.value(column));
    }
}

} // namespace

void writeTabText(ByteSink& out, const TabRows& rows)
{
    QByteArray buffer;
    appendHeader(buffer, rows.header);
    for (int r = 0; r < rows.rowCount; ++r) {
        for (int c = 0; c < rows.columnCount; ++c) {
            if (c > 0)
                buffer += '\t';
            appendCell(buffer, rows.cell(r, c));
        }
        buffer += "\r\n";
        if (buffer.size() >= WritePiece) {
            out.write(buffer);
            buffer.clear();
        }
    }
    out.write(buffer);
}

void writeTabText(ByteSink& out, store::RowSource& rows)
{
    QByteArray buffer;
    buffer.reserve(2 * WritePiece);
    appendHeader(buffer, rows.fieldNames());
    const int columns = rows.fieldCount();
    while (rows.next()) {
        for (int c = 0; c < columns; ++c) {
            if (c > 0)
                buffer += '\t';
            appendSourceCell(buffer, rows, c);
        }
        buffer += "\r\n";
        if (buffer.size() >= WritePiece) {
            out.write(buffer);
            buffer.clear();
        }
    }
    out.write(buffer);
}

void exportTabFile(const QString& path, const TabRows& rows)
{
    SafeFile file(path);
    writeTabText(file, rows); // an exception leaves the new file uncommitted, and removed
    file.commit();
}

} // namespace qv::grid
