#pragma once

#include "analysis/core/spreadsheet_application.h"

#include <QString>
#include <QStringList>
#include <QVariant>

#include <cstdint>
#include <memory>
#include <vector>

namespace qv::analysis {

// One sheet's cells, rows and columns counted from 1. Null is an empty cell.
// Stored by column in blocks of rows, a kind and 32 bits a cell: an analysis
// copies every bid in, and a QVariant a cell made its sheet the largest part
// of the program's memory. Whole numbers, doubles and texts are kept so,
// texts once each (the licence, market and bidder names repeat on every
// bid); a value of any other type keeps its QVariant. What is read back has
// the type that was set.
class Sheet {
public:
    explicit Sheet(QString name);
    ~Sheet();
    Sheet(Sheet&&) noexcept;
    Sheet& operator=(Sheet&&) noexcept;

    // A cell as stored, without making a QVariant; its text and other point
    // into the sheet until it next changes.
    struct CellView {
        enum class Kind : std::uint8_t { Empty, Int, LongLong, Double, Text, Other };
        Kind kind = Kind::Empty;
        double number = 0;               // Int, LongLong and Double
        std::int64_t integer = 0;        // Int and LongLong
        const QString* text = nullptr;   // Text
        std::uint32_t textId = 0;        // Text: the same text has the same number
        const QVariant* other = nullptr; // Other

        bool isNumber() const { return kind == Kind::Int || kind == Kind::LongLong || kind == Kind::Double; }
    };

    const QString& name() const { return name_; }
    void setCell(int row, int column, const QVariant& value);
    QVariant cell(int row, int column) const;
    CellView view(int row, int column) const;
    // The distinct texts held so far; every view's textId is below it.
    int textCount() const { return static_cast<int>(texts_.size()); }
    // The used range: the last row and column that hold a value.
    int rowCount() const { return rowCount_; }
    int columnCount() const { return columnCount_; }
    // How numbers show in a whole column ("#,##0"); empty for the general way.
    void setNumberFormat(int column, const QString& format);
    QString numberFormat(int column) const;

private:
    struct Block;
    struct Column {
        std::vector<std::unique_ptr<Block>> blocks;
        int length = 0; // rows stored, the ones past it empty
    };
    std::uint32_t textId(const QString& text);

    QString name_;
    std::vector<Column> columns_; // by column, from 1
    int rowCount_ = 0;
    int columnCount_ = 0;
    std::vector<QString> texts_;
    struct TextIndex;
    std::unique_ptr<TextIndex> textIndex_;
    std::vector<QVariant> others_;
    std::vector<QString> numberFormats_; // by column, from 1
};

struct PivotFieldSettings {
    QString source;  // the source column's name
    QString caption; // the field's own name ("Sum of Gross Bid Amount")
    PivotOrientation orientation = PivotOrientation::Hidden;
    bool subtotals = true; // any kind of subtotal on
    PivotFunction function = PivotFunction::Sum;
    QString numberFormat; // of a data field's sums; empty for the general way
};

// A pivot table as it was set up: its source, its fields and where they go.
struct PivotDefinition {
    QString name;
    QString sheet;       // the sheet that holds it
    QString sourceSheet; // the source range: whole columns firstColumn..lastColumn
    int firstColumn = 1;
    int lastColumn = 1;
    std::vector<PivotFieldSettings> fields; // one per source column
    QStringList rowFields;                  // source names, outermost first
    QStringList columnFields;
    QStringList dataFields;
    bool columnGrand = true;
    bool rowGrand = true;

    const PivotFieldSettings* field(const QString& sourceName) const;
    int fieldIndex(const QString& sourceName) const; // position in the source range, -1 if none
};

struct Workbook {
    QString name; // "Book1"
    std::vector<Sheet> sheets;
    int activeSheet = 0;
    std::vector<PivotDefinition> pivots;

    Sheet* sheet(const QString& name); // by name, case ignored
    const Sheet* sheet(const QString& name) const;
};

// The spreadsheet application as a model: workbooks of sheets and pivot
// definitions. Pivot values are computed from the sheets when asked.
class WorkbookModel : public SpreadsheetApplication {
public:
    void addWorkbook() override;
    void activateSheet(const QString& name) override;
    void setCell(int row, int column, const QVariant& value) override;
    void selectColumns(const QString& range) override;
    void setColumnsNumberFormat(const QString& range, const QString& format) override;
    void pivotTableWizard(int sourceType, const QString& sourceData, const QString& tableDestination,
                          const QString& tableName) override;
    void setPivotFieldSubtotals(const QString& table, const QString& field,
                                const PivotSubtotals& subtotals) override;
    void addPivotFields(const QString& table, const QStringList& rowFields,
                        const QStringList& columnFields) override;
    void setPivotFieldOrientation(const QString& table, const QString& field,
                                  PivotOrientation orientation) override;
    void setPivotFieldName(const QString& table, const QString& field, const QString& name) override;
    void setPivotFieldFunction(const QString& table, const QString& field, PivotFunction function) override;
    void setPivotFieldNumberFormat(const QString& table, const QString& field,
                                   const QString& format) override;
    void setColumnGrand(const QString& table, bool on) override;
    void setRowGrand(const QString& table, bool on) override;
    void setVisible(bool visible) override { visible_ = visible; }

    bool isVisible() const { return visible_; }
    int workbookCount() const { return static_cast<int>(workbooks_.size()); }
    const Workbook& workbook(int index) const { return workbooks_.at(static_cast<size_t>(index)); }
    Workbook& workbook(int index) { return workbooks_.at(static_cast<size_t>(index)); }
    void removeWorkbook(int index);
    const QString& selection() const { return selection_; }

private:
    Workbook& current();
    Sheet& activeSheet();
    PivotDefinition& pivot(const QString& table);
    PivotFieldSettings& pivotField(const QString& table, const QString& field);

    std::vector<Workbook> workbooks_;
    int booksMade_ = 0;
    QString selection_;
    bool visible_ = false;
};

// Reads "Sheet1!C1:C11" (whole columns in row-column notation) or
// "Sheet1!A:K"; false when the text is neither.
bool parseColumnRange(const QString& text, QString* sheet, int* firstColumn, int* lastColumn);
// "A" -> 1, "K" -> 11, "AA" -> 27; 0 for anything else.
int columnNumber(const QString& letters);
QString columnLetters(int column);

} // namespace qv::analysis
