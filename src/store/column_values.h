#pragma once

#include <QString>
#include <QVariant>

#include <cstdint>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

namespace qv::store {

// A value as stored, without building a QVariant: whole numbers, fractions and
// texts (UTF-8, valid until the column changes) directly; anything else (dates,
// values of a mixed column) through at().
struct CellView {
    enum class Kind : std::uint8_t { Null, Integer, Double, Text, Other };
    Kind kind = Kind::Null;
    std::int64_t integer = 0;
    double number = 0;
    std::string_view text;
};

// One column of a record set, stored compactly by the kind of its values:
// whole numbers as 32-bit numbers until one needs 64 bits, fractions as
// doubles, texts as numbers into one buffer of distinct UTF-8 texts, and
// dates as their stored text. A column whose values are of mixed kinds falls
// back to one QVariant a value. Nulls are a bit each.
class ColumnValues {
public:
    ColumnValues();
    ~ColumnValues();
    ColumnValues(ColumnValues&&) noexcept;
    ColumnValues& operator=(ColumnValues&&) noexcept;

    void appendNull();
    void appendInteger(std::int64_t value);
    void appendDouble(double value);
    void appendText(std::string_view utf8);
    // A date kept as the text it is stored as; read back through dateFromStorage.
    void appendDate(std::string_view stored);
    // Drops what only reading needed (the table that finds repeated texts).
    void finishReading();

    int size() const { return count_; }
    bool isNull(int row) const { return nulls_[static_cast<size_t>(row)]; }
    bool isNumber(int row) const;
    QVariant at(int row) const;
    CellView cell(int row) const;

private:
    enum class Kind : std::uint8_t { Empty, Int32, Int64, Double, Text, Date, Variant };

    void startAs(Kind kind);
    void becomeVariant();
    void appendVariant(QVariant value);
    std::uint32_t textId(std::string_view utf8);
    QString textOf(std::uint32_t id) const;

    Kind kind_ = Kind::Empty;
    int count_ = 0;
    std::vector<bool> nulls_;
    std::vector<std::int32_t> int32_;
    std::vector<std::int64_t> int64_;
    std::vector<double> doubles_;
    std::vector<std::uint32_t> textIds_;    // texts and dates
    std::string textBuffer_;                // the distinct texts, one after another
    std::vector<std::uint32_t> textStarts_; // where each distinct text starts; one more at the end
    std::vector<QVariant> variants_;
    struct TextIndex;
    std::unique_ptr<TextIndex> index_;
};

} // namespace qv::store
