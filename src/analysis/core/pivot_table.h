#pragma once

#include "analysis/core/workbook.h"

#include <QHash>
#include <QString>
#include <QStringList>
#include <QVariant>

#include <optional>
#include <vector>

namespace qv::analysis {

// One distinct value of a row or column field. Numbers come first in
// ascending order, then texts without regard to case, then the empty item.
// Texts are grouped as the database engine groups them: see pivotTextKey.
struct PivotItem {
    enum class Kind { Number, Text, Empty };
    Kind kind = Kind::Empty;
    double number = 0;
    QString text;

    static PivotItem of(const QVariant& value);
    QString display() const; // "(empty)" for the empty item
    bool operator==(const PivotItem& other) const;
};

bool itemLess(const PivotItem& a, const PivotItem& b);

// What a text item is grouped by: texts that differ only in letter case, or
// in composed and decomposed accents, are one item, shown as first met
// (composed).
QString pivotTextKey(const QString& text);

// A pivot table's values as computed from its source: the row keys (one item
// per row field), the column keys (one item per column field, outermost
// first) and the sums where a row and a column meet. Only combinations that
// occur in the source have a key. A cell with no number in it is empty.
class PivotResult {
public:
    QString dataCaption;   // "Sum of Gross Bid Amount"
    QStringList rowFields; // field names as shown
    QStringList columnFields;
    bool rowGrand = false;    // a total column at the right
    bool columnGrand = false; // a total row at the bottom

    int rowCount() const { return static_cast<int>(rowKeys_.size()); }
    int columnCount() const { return static_cast<int>(columnKeys_.size()); }
    const PivotItem& rowItem(int row, int level) const;
    const PivotItem& columnItem(int column, int level) const;
    std::optional<double> value(int row, int column) const;
    std::optional<double> rowTotal(int row) const;
    std::optional<double> columnTotal(int column) const;
    std::optional<double> grandTotal() const { return grand_; }

    // The cells that hold a sum, row by row and left to right: most of a
    // pivot's cells are empty, and its writers pass over those.
    struct Cell {
        int row;
        int column;
        double value;
    };
    std::vector<Cell> cellsInOrder() const;

    // The sorted items of each row and column field, and the keys as
    // positions in them.
    const std::vector<PivotItem>& rowFieldItems(int level) const { return rowItems_.at(size_t(level)); }
    const std::vector<PivotItem>& columnFieldItems(int level) const { return columnItems_.at(size_t(level)); }
    const std::vector<int>& rowKey(int row) const { return rowKeys_.at(size_t(row)); }
    const std::vector<int>& columnKey(int column) const { return columnKeys_.at(size_t(column)); }

    // Columns that share their items at a level and every level further out
    // form a group, shown under one heading.
    bool startsGroup(int column, int level) const;
    int groupFirst(int column, int level) const;
    int groupLast(int column, int level) const;

private:
    friend PivotResult computePivot(const Sheet& source, const PivotDefinition& definition);
    void findGroups();

    std::vector<std::vector<PivotItem>> rowItems_;    // per row field: its sorted items
    std::vector<std::vector<PivotItem>> columnItems_; // per column field
    std::vector<std::vector<int>> rowKeys_;           // item positions, one per row field
    std::vector<std::vector<int>> columnKeys_;
    QHash<quint64, double> cells_;
    std::vector<std::optional<double>> rowTotals_;
    std::vector<std::optional<double>> columnTotals_;
    std::optional<double> grand_;
    std::vector<std::vector<int>> groupFirst_; // per level, per column
    std::vector<std::vector<int>> groupLast_;
};

// Sums (or counts) the data field over the source rows below the header row.
// Uses the first data field; without one the values are all empty.
PivotResult computePivot(const Sheet& source, const PivotDefinition& definition);
// The same over the pivot's source sheet in its workbook (no sheet: no rows).
PivotResult computePivot(const Workbook& book, const PivotDefinition& definition);

} // namespace qv::analysis
