#pragma once

#include "common/safe_file.h"
#include "store/recordset.h"

#include <QStringList>
#include <QVariantList>

#include <optional>

namespace qv::cli {

// How a command prints rows: tab-delimited text (the default), CSV quoted as
// RFC 4180, or JSON (an array with one object per row, field names as keys,
// numbers as numbers, dates as ISO 8601 text, null as null).
enum class OutputFormat { Tsv, Csv, Json };

std::optional<OutputFormat> outputFormatNamed(const QString& name);

// Takes "--format NAME" out of args. False, after printing why on the error
// output, when the name is missing or unknown.
bool takeFormatOption(QStringList& args, OutputFormat& format);
// The same for commands whose output without --format is not a table: the
// format stays empty when none was given.
bool takeFormatOption(QStringList& args, std::optional<OutputFormat>& format);

// Writes a table row by row in one of the formats, as UTF-8: the header
// first, then the rows, then finish(). Every write is checked by the sink.
class TableWriter {
public:
    TableWriter(ByteSink& out, OutputFormat format) : out_(out), format_(format) {}
    void header(const QStringList& fieldNames);
    void row(const QVariantList& values);
    void finish();

private:
    void put(const QString& text) { out_.write(text.toUtf8()); }

    ByteSink& out_;
    OutputFormat format_;
    QStringList fields_;
    bool anyRow_ = false;
};

// A whole record set in one of the formats.
void writeTable(ByteSink& out, const store::Recordset& records, OutputFormat format);

// Writes a record set as tab-delimited text: a header line of field names,
// then one line per record.
void writeTabDelimited(ByteSink& out, const store::Recordset& records);

// A value as text: dates as yyyy-MM-dd (with the time when it has one),
// numbers without trailing zeros, null as empty text.
QString displayText(const QVariant& value);

} // namespace qv::cli
