#include "cli/table_output.h"

#include "common/number_display.h"
#include "common/statement_values.h"

#include <QDateTime>
#include <QTextStream>

#include <algorithm>
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
    const QLatin1Char separator(format_ == OutputFormat::Csv ? ',' : '\t');
    QStringList cells;
    switch (format_) {
    case OutputFormat::Tsv:
    case OutputFormat::Csv:
        for (const QString& name : fieldNames)
            cells << (format_ == OutputFormat::Csv ? csvField(name) : tsvField(name));
        append(cells.join(separator));
        text_ += format_ == OutputFormat::Csv ? "\r\n" : "\n";
        break;
    case OutputFormat::Json:
        for (const QString& name : fieldNames)
            keys_.push_back((jsonString(name) + QLatin1Char(':')).toStdString());
        text_ += '[';
        break;
    }
}

void TableWriter::row(const QVariantList& values)
{
    beginRow();
    for (const QVariant& value : values)
        valueCell(value);
    endRow();
}

void TableWriter::beginRow()
{
    column_ = 0;
    if (format_ == OutputFormat::Json)
        text_ += anyRow_ ? ",\n{" : "\n{";
}

void TableWriter::separate()
{
    if (column_ > 0 && format_ != OutputFormat::Tsv)
        text_ += ',';
    else if (column_ > 0)
        text_ += '\t';
    if (format_ == OutputFormat::Json)
        text_ += column_ < keys_.size() ? std::string_view(keys_[column_]) : std::string_view("\"\":");
    ++column_;
}

void TableWriter::append(const QString& text)
{
    const QByteArray utf8 = text.toUtf8();
    text_.append(utf8.constData(), static_cast<size_t>(utf8.size()));
}

void TableWriter::nullCell()
{
    separate();
    if (format_ == OutputFormat::Json)
        text_ += "null";
}

void TableWriter::integerCell(std::int64_t value)
{
    separate();
    char digits[24];
    text_.append(digits, std::to_chars(digits, digits + sizeof digits, value).ptr);
}

void TableWriter::numberCell(double value)
{
    if (format_ == OutputFormat::Json) {
        separate();
        return append(jsonValue(value));
    }
    separate();
    appendNumberText(text_, value);
}

void TableWriter::textCell(std::string_view utf8)
{
    // Texts of ASCII alone are written byte by byte; any other goes through
    // QString, as a QVariant's would, so that the bytes are the same.
    const bool ascii = std::all_of(utf8.begin(), utf8.end(), [](char c) { return (c & 0x80) == 0; });
    if (format_ != OutputFormat::Tsv && !ascii)
        return valueCell(QString::fromUtf8(utf8.data(), static_cast<qsizetype>(utf8.size())));
    separate();
    const std::size_t from = text_.size();
    switch (format_) {
    case OutputFormat::Tsv:
        // Tabs and line breaks inside a value would split its row.
        text_.append(utf8);
        for (std::size_t i = from; i < text_.size(); ++i)
            if (text_[i] == '\t' || text_[i] == '\n' || text_[i] == '\r')
                text_[i] = ' ';
        break;
    case OutputFormat::Csv:
        if (utf8.find_first_of(",\"\n\r") == std::string_view::npos) {
            text_.append(utf8);
            break;
        }
        text_ += '"';
        for (const char c : utf8) {
            if (c == '"')
                text_ += '"';
            text_ += c;
        }
        text_ += '"';
        break;
    case OutputFormat::Json:
        text_ += '"';
        for (const char c : utf8) {
            switch (c) {
            case '"':
                text_ += "\\\"";
                break;
            case '\\':
                text_ += "\\\\";
                break;
            case '\n':
                text_ += "\\n";
                break;
            case '\r':
                text_ += "\\r";
                break;
            case '\t':
                text_ += "\\t";
                break;
            default:
                if (static_cast<unsigned char>(c) < 0x20) {
                    static const char hex[] = "0123456789abcdef";
                    text_ += "\\u00";
                    text_ += hex[(c >> 4) & 0xf];
                    text_ += hex[c & 0xf];
                } else {
                    text_ += c;
                }
            }
        }
        text_ += '"';
        break;
    }
}

void TableWriter::valueCell(const QVariant& value)
{
    separate();
    appendValue(value);
}

void TableWriter::appendValue(const QVariant& value)
{
    switch (format_) {
    case OutputFormat::Tsv:
        return append(tsvField(displayText(value)));
    case OutputFormat::Csv:
        return append(csvField(displayText(value)));
    case OutputFormat::Json:
        return append(jsonValue(value));
    }
}

void TableWriter::cell(const store::RowSource& rows, int column)
{
    using Kind = store::CellView::Kind;
    const store::CellView view = rows.cell(column);
    switch (view.kind) {
    case Kind::Null:
        return nullCell();
    case Kind::Integer:
        return integerCell(view.integer);
    case Kind::Double:
        return numberCell(view.number);
    case Kind::Text:
        return textCell(view.text);
    case Kind::Other:
        return valueCell(rows.value(column));
    }
}

void TableWriter::endRow()
{
    switch (format_) {
    case OutputFormat::Tsv:
        text_ += '\n';
        break;
    case OutputFormat::Csv:
        text_ += "\r\n";
        break;
    case OutputFormat::Json:
        text_ += '}';
        break;
    }
    anyRow_ = true;
    if (text_.size() >= (std::size_t(1) << 16)) {
        out_.write(text_.data(), static_cast<qsizetype>(text_.size()));
        text_.clear();
    }
}

void TableWriter::finish()
{
    if (format_ == OutputFormat::Json)
        text_ += anyRow_ ? "\n]\n" : "]\n";
    out_.write(text_.data(), static_cast<qsizetype>(text_.size()));
    text_.clear();
}

void writeTable(ByteSink& out, store::RowSource& rows, OutputFormat format)
{
    TableWriter writer(out, format);
    writer.header(rows.fieldNames());
    const int columns = rows.fieldCount();
    while (rows.next()) {
        writer.beginRow();
        for (int column = 0; column < columns; ++column)
            writer.cell(rows, column);
        writer.endRow();
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
