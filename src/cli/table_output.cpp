#include "cli/table_output.h"

#include "common/number_display.h"
#include "common/statement_values.h"

#include <QDateTime>
#include <QTextStream>

#include <charconv>
#include <string>

#include <cmath>

namespace qv::cli {

namespace {

QString csvField(const QString& text)
{
    if (!text.contains(QLatin1Char(',')) && !text.contains(QLatin1Char('"')) &&
        !text.contains(QLatin1Char('\n')) && !text.contains(QLatin1Char('\r')))
        return text;
    return quotedText(text, QLatin1Char('"'));
}

// Tabs and line breaks inside a value would split its row.
QString tsvField(const QString& text)
{
    QString flat = text;
    for (QChar& c : flat)
        if (c == QLatin1Char('\t') || c == QLatin1Char('\n') || c == QLatin1Char('\r'))
            c = QLatin1Char(' ');
    return flat;
}

QString jsonString(const QString& text)
{
    QString quoted = QStringLiteral("\"");
    for (const QChar c : text) {
        switch (c.unicode()) {
        case '"':
            quoted += QStringLiteral("\\\"");
            break;
        case '\\':
            quoted += QStringLiteral("\\\\");
            break;
        case '\n':
            quoted += QStringLiteral("\\n");
            break;
        case '\r':
            quoted += QStringLiteral("\\r");
            break;
        case '\t':
            quoted += QStringLiteral("\\t");
            break;
        default:
            if (c.unicode() < 0x20)
                quoted += QStringLiteral("\\u%1").arg(c.unicode(), 4, 16, QLatin1Char('0'));
            else
                quoted += c;
        }
    }
    return quoted + QLatin1Char('"');
}

QString jsonValue(const QVariant& value)
{
    if (value.isNull())
        return QStringLiteral("null");
    switch (value.typeId()) {
    case QMetaType::Bool:
        return value.toBool() ? QStringLiteral("true") : QStringLiteral("false");
    case QMetaType::Int:
    case QMetaType::LongLong:
    case QMetaType::UInt:
    case QMetaType::ULongLong:
        return value.toString();
    case QMetaType::Double:
    case QMetaType::Float: {
        const double d = value.toDouble();
        if (!std::isfinite(d))
            return QStringLiteral("null");
        if (const double size = std::abs(d); size >= WholeDigitsFrom && size < WholeDigitsBelow)
            return numberText(d); // every digit, as in the other formats
        return QString::number(d, 'g', QLocale::FloatingPointShortest);
    }
    case QMetaType::QDateTime: {
        const QDateTime dt = value.toDateTime();
        return jsonString(dt.time() == QTime(0, 0) ? dt.date().toString(Qt::ISODate)
                                                   : dt.toString(QStringLiteral("yyyy-MM-ddTHH:mm:ss")));
    }
    case QMetaType::QDate:
        return jsonString(value.toDate().toString(Qt::ISODate));
    default:
        return jsonString(value.toString());
    }
}

} // namespace

std::optional<OutputFormat> outputFormatNamed(const QString& name)
{
    if (name == QLatin1String("tsv"))
        return OutputFormat::Tsv;
    if (name == QLatin1String("csv"))
        return OutputFormat::Csv;
    if (name == QLatin1String("json"))
        return OutputFormat::Json;
    return std::nullopt;
}

bool takeFormatOption(QStringList& args, OutputFormat& format)
{
    for (qsizetype i = 0; i < args.size(); ++i) {
        if (args[i] != QLatin1String("--format"))
            continue;
        const auto named = i + 1 < args.size() ? outputFormatNamed(args[i + 1]) : std::nullopt;
        if (!named) {
            QTextStream(stderr) << "--format takes tsv, csv or json\n";
            return false;
        }
        format = *named;
        args.remove(i, 2);
        --i;
    }
    return true;
}

bool takeFormatOption(QStringList& args, std::optional<OutputFormat>& format)
{
    if (!args.contains(QStringLiteral("--format")))
        return true;
    OutputFormat chosen = OutputFormat::Tsv;
    if (!takeFormatOption(args, chosen))
        return false;
    format = chosen;
    return true;
}

void TableWriter::header(const QStringList& fieldNames)
{
    fields_ = fieldNames;
    switch (format_) {
    case OutputFormat::Tsv: {
        QStringList cells;
        for (const QString& name : fieldNames)
            cells << tsvField(name);
        put(cells.join(QLatin1Char('\t')) + QLatin1Char('\n'));
        break;
    }
    case OutputFormat::Csv: {
        QStringList cells;
        for (const QString& name : fieldNames)
            cells << csvField(name);
        put(cells.join(QLatin1Char(',')) + QStringLiteral("\r\n"));
        break;
    }
    case OutputFormat::Json:
        put(QStringLiteral("["));
        break;
    }
}

void TableWriter::row(const QVariantList& values)
{
    QStringList cells;
    switch (format_) {
    case OutputFormat::Tsv:
        for (const QVariant& v : values)
            cells << tsvField(displayText(v));
        put(cells.join(QLatin1Char('\t')) + QLatin1Char('\n'));
        break;
    case OutputFormat::Csv:
        for (const QVariant& v : values)
            cells << csvField(displayText(v));
        put(cells.join(QLatin1Char(',')) + QStringLiteral("\r\n"));
        break;
    case OutputFormat::Json:
        for (qsizetype i = 0; i < values.size(); ++i)
            cells << jsonString(fields_.value(i)) + QLatin1Char(':') + jsonValue(values[i]);
        put((anyRow_ ? QStringLiteral(",\n{") : QStringLiteral("\n{")) + cells.join(QLatin1Char(',')) +
            QLatin1Char('}'));
        break;
    }
    anyRow_ = true;
}

void TableWriter::finish()
{
    if (format_ == OutputFormat::Json)
        put(anyRow_ ? QStringLiteral("\n]\n") : QStringLiteral("]\n"));
}

namespace {

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
    case Kind::Text: {
        // Tabs and line breaks inside a value would split its row.
        const std::size_t from = out.size();
        out.append(cell.text);
        for (std::size_t i = from; i < out.size(); ++i)
            if (out[i] == '\t' || out[i] == '\n' || out[i] == '\r')
                out[i] = ' ';
        return;
    }
    case Kind::Other:
        out += tsvField(displayText(records.at(row, column))).toStdString();
        return;
    }
}

} // namespace

void writeTabDelimited(ByteSink& out, const store::Recordset& records)
{
    // Whole tables are written as UTF-8 straight from the stored values, in large
    // pieces, without a QString a cell.
    QStringList names;
    for (const QString& name : records.fieldNames())
        names << tsvField(name);
    std::string text = names.join(QLatin1Char('\t')).toStdString() + '\n';
    const auto flush = [&] {
        out.write(text.data(), static_cast<qsizetype>(text.size()));
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

void writeTable(ByteSink& out, const store::Recordset& records, OutputFormat format)
{
    if (format == OutputFormat::Tsv)
        return writeTabDelimited(out, records);
    TableWriter writer(out, format);
    writer.header(records.fieldNames());
    for (int row = 0; row < records.recordCount(); ++row) {
        QVariantList values;
        values.reserve(records.fieldCount());
        for (int col = 0; col < records.fieldCount(); ++col)
            values << records.at(row, col);
        writer.row(values);
    }
    writer.finish();
}

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

} // namespace qv::cli
