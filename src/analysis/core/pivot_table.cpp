#include "analysis/core/pivot_table.h"

#include "common/cell_text.h"

#include <algorithm>
#include <string_view>
#include <unordered_map>

namespace qv::analysis {

namespace {

bool isNumber(const QVariant& value)
{
    switch (value.typeId()) {
    case QMetaType::Int:
    case QMetaType::UInt:
    case QMetaType::LongLong:
    case QMetaType::ULongLong:
    case QMetaType::Double:
    case QMetaType::Float:
    case QMetaType::Short:
    case QMetaType::UShort:
        return true;
    default:
        return false;
    }
}

quint64 cellKey(int row, int column)
{
    return (static_cast<quint64>(static_cast<quint32>(row)) << 32) | static_cast<quint32>(column);
}

// The distinct items of one field: found by value while the rows are read,
// sorted once at the end.
class ItemCollector {
public:
    // A sheet's cell: a text the sheet holds is looked up by its number
    // there once, then found again by that number alone.
    int indexOf(const Sheet::CellView& cell)
    {
        if (cell.isNumber())
            return indexOfNumber(cell.number);
        if (cell.kind == Sheet::CellView::Kind::Text && !cell.text->isEmpty()) {
            if (cell.textId >= byTextId_.size())
                byTextId_.resize(size_t(cell.textId) + 1, -1);
            int& index = byTextId_[cell.textId];
            if (index < 0)
                index = indexOfText(*cell.text);
            return index;
        }
        if (cell.kind == Sheet::CellView::Kind::Other)
            return indexOf(*cell.other);
        return emptyIndex();
    }

    int indexOf(const QVariant& value)
    {
        // Numbers and texts, nearly every cell, are looked up without
        // making an item first.
        if (isNumber(value))
            return indexOfNumber(value.toDouble());
        if (value.typeId() == QMetaType::QString) {
            const QString& text = *static_cast<const QString*>(value.constData());
            if (!text.isEmpty())
                return indexOfText(text);
        }
        const PivotItem item = PivotItem::of(value);
        if (item.kind == PivotItem::Kind::Text)
            return indexOfText(item.text);
        return emptyIndex();
    }

    // Sorts the items; returns the new position of every old one.
    std::vector<int> sortInto(std::vector<PivotItem>* sorted) const
    {
        std::vector<int> order(items_.size());
        for (size_t i = 0; i < order.size(); ++i)
            order[i] = static_cast<int>(i);
        std::sort(order.begin(), order.end(),
                  [this](int a, int b) { return itemLess(items_[size_t(a)], items_[size_t(b)]); });
        std::vector<int> newPosition(items_.size());
        sorted->clear();
        for (size_t i = 0; i < order.size(); ++i) {
            newPosition[size_t(order[i])] = static_cast<int>(i);
            sorted->push_back(items_[size_t(order[i])]);
        }
        return newPosition;
    }

private:
    int emptyIndex()
    {
        if (empty_ < 0)
            empty_ = add(PivotItem{});
        return empty_;
    }

    int indexOfNumber(double number)
    {
        const auto it = numbers_.constFind(number);
        if (it != numbers_.constEnd())
            return it.value();
        PivotItem item;
        item.kind = PivotItem::Kind::Number;
        item.number = number;
        const int index = add(item);
        numbers_.insert(number, index);
        return index;
    }

    int indexOfText(const QString& text)
    {
        const auto it = texts_.find(text);
        if (it != texts_.end())
            return it->second;
        // A spelling not met before may still be an item met before, in
        // other letter case or composed otherwise.
        QString key = pivotTextKey(text);
        const auto same = keys_.find(key);
        int index = 0;
        if (same != keys_.end()) {
            index = same->second;
        } else {
            PivotItem item;
            item.kind = PivotItem::Kind::Text;
            item.text = text.normalized(QString::NormalizationForm_C);
            index = add(item);
            keys_.emplace(std::move(key), index);
        }
        texts_.emplace(text, index);
        return index;
    }

    int add(const PivotItem& item)
    {
        items_.push_back(item);
        return static_cast<int>(items_.size()) - 1;
    }

    std::vector<PivotItem> items_;
    QHash<double, int> numbers_;
    // Hashed as plain UTF-16 by the standard library, cheaper than Qt's
    // seeded hash on these short texts (a tenth of a large pivot's time).
    struct TextHash {
        size_t operator()(const QString& text) const noexcept
        {
            return std::hash<std::u16string_view>{}(
                std::u16string_view(reinterpret_cast<const char16_t*>(text.utf16()), size_t(text.size())));
        }
    };
    std::unordered_map<QString, int, TextHash> texts_; // every spelling met
    std::unordered_map<QString, int, TextHash> keys_;  // by pivotTextKey
    std::vector<int> byTextId_;                        // by the sheet's text number; -1 when not met yet
    int empty_ = -1;
};

// The keys of one axis: the sorted items of each field, the distinct keys
// (one item position per field) in order, and where each source row's key is
// among them.
struct AxisKeys {
    std::vector<std::vector<PivotItem>> items; // per field, sorted
    std::vector<std::vector<int>> distinct;    // sorted, without repeats
    std::vector<int> positionOfRow;            // per source row, in distinct
};

AxisKeys collectAxis(const Sheet& source, const std::vector<int>& columns)
{
    AxisKeys axis;
    const size_t rows = size_t(std::max(0, source.rowCount() - 1));
    const size_t fields = columns.size();
    // Every row's key, one after another.
    std::vector<int> keys(rows * fields);
    std::vector<ItemCollector> collectors(fields);
    for (size_t r = 0; r < rows; ++r) {
        for (size_t f = 0; f < fields; ++f)
            keys[r * fields + f] = collectors[f].indexOf(source.view(static_cast<int>(r) + 2, columns[f]));
    }
    axis.items.resize(fields);
    for (size_t f = 0; f < fields; ++f) {
        const std::vector<int> newPosition = collectors[f].sortInto(&axis.items[f]);
        for (size_t r = 0; r < rows; ++r)
            keys[r * fields + f] = newPosition[size_t(keys[r * fields + f])];
    }
    // The rows in key order; equal keys make one distinct key. A table with
    // no field on an axis still has one row or column (the empty key).
    const auto keyOf = [&keys, fields](size_t row) { return keys.cbegin() + std::ptrdiff_t(row * fields); };
    const auto width = std::ptrdiff_t(fields);
    std::vector<size_t> order(rows);
    for (size_t r = 0; r < rows; ++r)
        order[r] = r;
    std::sort(order.begin(), order.end(), [&keyOf, width](size_t a, size_t b) {
        return std::lexicographical_compare(keyOf(a), keyOf(a) + width, keyOf(b), keyOf(b) + width);
    });
    axis.positionOfRow.resize(rows);
    for (size_t i = 0; i < rows; ++i) {
        const size_t row = order[i];
        if (i == 0 || !std::equal(keyOf(row), keyOf(row) + width, keyOf(order[i - 1])))
            axis.distinct.emplace_back(keyOf(row), keyOf(row) + width);
        axis.positionOfRow[row] = static_cast<int>(axis.distinct.size()) - 1;
    }
    return axis;
}

void accumulate(std::optional<double>* total, double amount)
{
    *total = total->value_or(0.0) + amount;
}

} // namespace

QString pivotTextKey(const QString& text)
{
    QString key = text.normalized(QString::NormalizationForm_C).toCaseFolded();
    // Folded in full, as spreadsheet programs compare: "STRASSE" is "Straße".
    key.replace(QChar(0x00DF), QLatin1String("ss"));
    return key;
}

PivotItem PivotItem::of(const QVariant& value)
{
    PivotItem item;
    if (!value.isValid() || value.isNull()) {
        item.kind = Kind::Empty;
    } else if (isNumber(value)) {
        item.kind = Kind::Number;
        item.number = value.toDouble();
    } else {
        item.text = cellDisplay(value);
        item.kind = item.text.isEmpty() ? Kind::Empty : Kind::Text;
    }
    return item;
}

QString PivotItem::display() const
{
    switch (kind) {
    case Kind::Number:
        return cellDisplay(QVariant(number));
    case Kind::Text:
        return text;
    case Kind::Empty:
        break;
    }
    return QStringLiteral("(empty)");
}

bool PivotItem::operator==(const PivotItem& other) const
{
    if (kind != other.kind)
        return false;
    return kind == Kind::Number ? number == other.number : text == other.text;
}

bool itemLess(const PivotItem& a, const PivotItem& b)
{
    if (a.kind != b.kind)
        return a.kind < b.kind;
    if (a.kind == PivotItem::Kind::Number)
        return a.number < b.number;
    const int folded = a.text.compare(b.text, Qt::CaseInsensitive);
    return folded != 0 ? folded < 0 : a.text < b.text;
}

const PivotItem& PivotResult::rowItem(int row, int level) const
{
    return rowItems_[size_t(level)][size_t(rowKeys_[size_t(row)][size_t(level)])];
}

const PivotItem& PivotResult::columnItem(int column, int level) const
{
    return columnItems_[size_t(level)][size_t(columnKeys_[size_t(column)][size_t(level)])];
}

std::optional<double> PivotResult::value(int row, int column) const
{
    const auto it = cells_.constFind(cellKey(row, column));
    if (it == cells_.constEnd())
        return std::nullopt;
    return it.value();
}

std::vector<PivotResult::Cell> PivotResult::cellsInOrder() const
{
    std::vector<Cell> cells;
    cells.reserve(size_t(cells_.size()));
    for (auto it = cells_.constBegin(); it != cells_.constEnd(); ++it)
        cells.push_back(
            {static_cast<int>(it.key() >> 32), static_cast<int>(it.key() & 0xffffffffu), it.value()});
    std::sort(cells.begin(), cells.end(), [](const Cell& a, const Cell& b) {
        return a.row != b.row ? a.row < b.row : a.column < b.column;
    });
    return cells;
}

std::optional<double> PivotResult::rowTotal(int row) const
{
    return rowTotals_.at(size_t(row));
}

std::optional<double> PivotResult::columnTotal(int column) const
{
    return columnTotals_.at(size_t(column));
}

bool PivotResult::startsGroup(int column, int level) const
{
    return groupFirst_[size_t(level)][size_t(column)] == column;
}

int PivotResult::groupFirst(int column, int level) const
{
    return groupFirst_[size_t(level)][size_t(column)];
}

int PivotResult::groupLast(int column, int level) const
{
    return groupLast_[size_t(level)][size_t(column)];
}

void PivotResult::findGroups()
{
    const size_t levels = columnItems_.size();
    const int count = columnCount();
    groupFirst_.assign(levels, std::vector<int>(size_t(count)));
    groupLast_.assign(levels, std::vector<int>(size_t(count)));
    for (size_t level = 0; level < levels; ++level) {
        std::vector<int>& first = groupFirst_[level];
        for (int c = 0; c < count; ++c) {
            bool starts = c == 0;
            for (size_t l = 0; l <= level && !starts; ++l)
                starts = columnKeys_[size_t(c)][l] != columnKeys_[size_t(c - 1)][l];
            first[size_t(c)] = starts ? c : first[size_t(c - 1)];
        }
        std::vector<int>& last = groupLast_[level];
        for (int c = count - 1; c >= 0; --c) {
            const bool ends = c == count - 1 || first[size_t(c + 1)] != first[size_t(c)];
            last[size_t(c)] = ends ? c : last[size_t(c + 1)];
        }
    }
}

PivotResult computePivot(const Sheet& source, const PivotDefinition& definition)
{
    PivotResult result;
    result.rowGrand = definition.rowGrand;
    result.columnGrand = definition.columnGrand;
    std::vector<int> rowColumns;
    std::vector<int> columnColumns;
    for (const QString& name : definition.rowFields) {
        rowColumns.push_back(definition.firstColumn + definition.fieldIndex(name));
        result.rowFields << definition.field(name)->caption;
    }
    for (const QString& name : definition.columnFields) {
        columnColumns.push_back(definition.firstColumn + definition.fieldIndex(name));
        result.columnFields << definition.field(name)->caption;
    }
    AxisKeys rows = collectAxis(source, rowColumns);
    AxisKeys columns = collectAxis(source, columnColumns);
    result.rowItems_ = std::move(rows.items);
    result.columnItems_ = std::move(columns.items);
    result.rowKeys_ = std::move(rows.distinct);
    result.columnKeys_ = std::move(columns.distinct);
    result.rowTotals_.assign(result.rowKeys_.size(), std::nullopt);
    result.columnTotals_.assign(result.columnKeys_.size(), std::nullopt);
    result.findGroups();

    const PivotFieldSettings* data =
        definition.dataFields.isEmpty() ? nullptr : definition.field(definition.dataFields.first());
    if (data == nullptr)
        return result;
    result.dataCaption = data->caption;
    const int dataColumn = definition.firstColumn + definition.fieldIndex(data->source);
    const bool counting = data->function == PivotFunction::Count;
    result.cells_.reserve(qsizetype(rows.positionOfRow.size()));
    for (size_t r = 0; r < rows.positionOfRow.size(); ++r) {
        const Sheet::CellView cell = source.view(static_cast<int>(r) + 2, dataColumn);
        double amount = 0;
        if (cell.isNumber()) {
            amount = counting ? 1 : cell.number;
        } else if (cell.kind == Sheet::CellView::Kind::Other) {
            const QVariant& value = *cell.other;
            if (counting ? PivotItem::of(value).kind == PivotItem::Kind::Empty : !isNumber(value))
                continue;
            amount = counting ? 1 : value.toDouble();
        } else if (counting && cell.kind == Sheet::CellView::Kind::Text && !cell.text->isEmpty()) {
            amount = 1;
        } else {
            continue; // texts and empty cells add nothing to a sum
        }
        const int row = rows.positionOfRow[r];
        const int column = columns.positionOfRow[r];
        result.cells_[cellKey(row, column)] += amount;
        accumulate(&result.rowTotals_[size_t(row)], amount);
        accumulate(&result.columnTotals_[size_t(column)], amount);
        accumulate(&result.grand_, amount);
    }
    return result;
}

PivotResult computePivot(const Workbook& book, const PivotDefinition& definition)
{
    const Sheet* source = book.sheet(definition.sourceSheet);
    if (source == nullptr)
        return computePivot(Sheet(definition.sourceSheet), definition);
    return computePivot(*source, definition);
}

} // namespace qv::analysis
