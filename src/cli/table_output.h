#pragma once

#include "common/safe_file.h"
#include "store/row_source.h"

#include <QStringList>
#include <QVariantList>

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

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
// first, then the rows, then finish(). Rows go to the sink in 64 KiB pieces as
// they are made; every write is checked by the sink.
class TableWriter {
public:
    TableWriter(ByteSink& out, OutputFormat format) : out_(out), format_(format) {}
    void header(const QStringList& fieldNames);
    void row(const QVariantList& values);
    // A row cell by cell, straight from the values: beginRow(), one call a
    // cell, endRow().
    void beginRow();
    void nullCell();
    void integerCell(std::int64_t value);
    void numberCell(double value);
    void textCell(std::string_view utf8);
    void valueCell(const QVariant& value); // anything else: dates...
    // The current row's value of a column of rows.
    void cell(const store::RowSource& rows, int column);
    void endRow();
    void finish();

private:
    void separate();
    void append(const QString& text);
    void appendValue(const QVariant& value);

    ByteSink& out_;
    OutputFormat format_;
    std::vector<std::string> keys_; // JSON: each field's name, quoted, and the colon
    std::string text_;              // what is not yet written
    std::size_t column_ = 0;
    bool anyRow_ = false;
};

// Rows in one of the formats, written as they are read.
void writeTable(ByteSink& out, store::RowSource& rows, OutputFormat format);

// A value as text: dates as yyyy-MM-dd (with the time when it has one),
// numbers without trailing zeros, null as empty text.
QString displayText(const QVariant& value);

} // namespace qv::cli
