#pragma once

#include <QString>
#include <QStringList>
#include <QVariant>

#include <array>

namespace qv::analysis {

// Where a pivot field goes.
enum class PivotOrientation { Hidden = 0, Row = 1, Column = 2, Page = 3, Data = 4 };

// How a data field sums up its values.
enum class PivotFunction { Sum = -4157, Count = -4112 };

// The source of a pivot table: a list range with its field names in the first row.
inline constexpr int SourceTypeDatabase = 1;

// One flag per kind of subtotal (automatic, sum, count, average, ...).
using PivotSubtotals = std::array<bool, 12>;

// The spreadsheet application the analyses drive: workbooks, sheets, cells
// and pivot tables, with the operations the analyses call and nothing more.
// Each call acts on the workbook added last and its active sheet. Failures
// raise qv::Error (9: no such sheet, 1004: the operation cannot be done).
class SpreadsheetApplication {
public:
    virtual ~SpreadsheetApplication() = default;

    virtual void addWorkbook() = 0;
    // Sheet names compare without regard to case.
    virtual void activateSheet(const QString& name) = 0;
    // Rows and columns count from 1.
    virtual void setCell(int row, int column, const QVariant& value) = 0;
    // "A:K": whole columns of the active sheet.
    virtual void selectColumns(const QString& range) = 0;
    // How numbers show in whole columns of the active sheet ("J:K", "#,##0");
    // the cells keep their values.
    virtual void setColumnsNumberFormat(const QString& range, const QString& format) = 0;

    // Makes a pivot table over SourceData ("Sheet1!C1:C11": columns 1 to 11 of
    // Sheet1), on a new sheet when TableDestination is empty.
    virtual void pivotTableWizard(int sourceType, const QString& sourceData, const QString& tableDestination,
                                  const QString& tableName) = 0;
    // Fields are found by their source column's name or by their own name.
    virtual void setPivotFieldSubtotals(const QString& table, const QString& field,
                                        const PivotSubtotals& subtotals) = 0;
    virtual void addPivotFields(const QString& table, const QStringList& rowFields,
                                const QStringList& columnFields) = 0;
    virtual void setPivotFieldOrientation(const QString& table, const QString& field,
                                          PivotOrientation orientation) = 0;
    virtual void setPivotFieldName(const QString& table, const QString& field, const QString& name) = 0;
    virtual void setPivotFieldFunction(const QString& table, const QString& field,
                                       PivotFunction function) = 0;
    // How a data field's sums show ("#,##0").
    virtual void setPivotFieldNumberFormat(const QString& table, const QString& field,
                                           const QString& format) = 0;
    virtual void setColumnGrand(const QString& table, bool on) = 0;
    virtual void setRowGrand(const QString& table, bool on) = 0;

    virtual void setVisible(bool visible) = 0;
};

} // namespace qv::analysis
