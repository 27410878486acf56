#include "analysis/core/workbook.h"

#include "common/error.h"

#include <QRegularExpression>

namespace qv::analysis {

namespace {

constexpr int SubscriptOutOfRange = 9;
constexpr int CannotBeDone = 1004;

[[noreturn]] void fail(const QString& description)
{
    throw Error(CannotBeDone, description);
}

} // namespace

// ---- Sheet

void Sheet::setCell(int row, int column, const QVariant& value)
{
    if (row < 1 || column < 1)
        fail(QStringLiteral("Application-defined or object-defined error"));
    if (row > rowCount()) {
        if (value.isNull())
            return;
        rows_.resize(static_cast<size_t>(row));
    }
    std::vector<QVariant>& cells = rows_[static_cast<size_t>(row - 1)];
    if (column > static_cast<int>(cells.size())) {
        if (value.isNull())
            return;
        // A new row is filled cell by cell: room for as many as the widest
        // row at once, not a reallocation every few cells.
        if (cells.empty())
            cells.reserve(static_cast<size_t>(std::max(columns_, column)));
        cells.resize(static_cast<size_t>(column));
    }
    cells[static_cast<size_t>(column - 1)] = value;
    if (!value.isNull())
        columns_ = std::max(columns_, column);
}

QVariant Sheet::cell(int row, int column) const
{
    return cellAt(row, column);
}

const QVariant& Sheet::cellAt(int row, int column) const
{
    static const QVariant empty;
    if (row < 1 || row > rowCount() || column < 1)
        return empty;
    const std::vector<QVariant>& cells = rows_[static_cast<size_t>(row - 1)];
    return column <= static_cast<int>(cells.size()) ? cells[static_cast<size_t>(column - 1)] : empty;
}

void Sheet::setNumberFormat(int column, const QString& format)
{
    if (column < 1)
        fail(QStringLiteral("Application-defined or object-defined error"));
    if (column > static_cast<int>(numberFormats_.size()))
        numberFormats_.resize(static_cast<size_t>(column));
    numberFormats_[static_cast<size_t>(column - 1)] = format;
}

QString Sheet::numberFormat(int column) const
{
    return column >= 1 && column <= static_cast<int>(numberFormats_.size())
               ? numberFormats_[static_cast<size_t>(column - 1)]
               : QString();
}

// ---- Pivot definitions and workbooks

int PivotDefinition::fieldIndex(const QString& sourceName) const
{
    for (size_t i = 0; i < fields.size(); ++i) {
        if (fields[i].source.compare(sourceName, Qt::CaseInsensitive) == 0)
            return static_cast<int>(i);
    }
    return -1;
}

const PivotFieldSettings* PivotDefinition::field(const QString& sourceName) const
{
    const int index = fieldIndex(sourceName);
    return index < 0 ? nullptr : &fields[static_cast<size_t>(index)];
}

Sheet* Workbook::sheet(const QString& sheetName)
{
    for (Sheet& s : sheets) {
        if (s.name().compare(sheetName, Qt::CaseInsensitive) == 0)
            return &s;
    }
    return nullptr;
}

const Sheet* Workbook::sheet(const QString& sheetName) const
{
    return const_cast<Workbook*>(this)->sheet(sheetName);
}

// ---- The application

void WorkbookModel::addWorkbook()
{
    Workbook book;
    book.name = QStringLiteral("Book%1").arg(++booksMade_);
    book.sheets.emplace_back(QStringLiteral("Sheet1"));
    workbooks_.push_back(std::move(book));
    selection_.clear();
}

void WorkbookModel::removeWorkbook(int index)
{
    if (index >= 0 && index < workbookCount())
        workbooks_.erase(workbooks_.begin() + index);
}

Workbook& WorkbookModel::current()
{
    if (workbooks_.empty())
        throw objectNotSet();
    return workbooks_.back();
}

Sheet& WorkbookModel::activeSheet()
{
    Workbook& book = current();
    return book.sheets.at(static_cast<size_t>(book.activeSheet));
}

void WorkbookModel::activateSheet(const QString& name)
{
    Workbook& book = current();
    for (size_t i = 0; i < book.sheets.size(); ++i) {
        if (book.sheets[i].name().compare(name, Qt::CaseInsensitive) == 0) {
            book.activeSheet = static_cast<int>(i);
            return;
        }
    }
    throw Error(SubscriptOutOfRange, QStringLiteral("Subscript out of range"));
}

void WorkbookModel::setCell(int row, int column, const QVariant& value)
{
    activeSheet().setCell(row, column, value);
}

namespace {

// "A:K" as its first and last column; a failure of the Range method otherwise.
std::pair<int, int> wholeColumns(const QString& range)
{
    static const QRegularExpression columns(QStringLiteral("^([A-Za-z]{1,3}):([A-Za-z]{1,3})$"));
    const QRegularExpressionMatch match = columns.match(range);
    const int first = match.hasMatch() ? columnNumber(match.captured(1)) : 0;
    const int last = match.hasMatch() ? columnNumber(match.captured(2)) : 0;
    if (first == 0 || last == 0)
        fail(QStringLiteral("Method 'Range' of object '_Worksheet' failed"));
    return {std::min(first, last), std::max(first, last)};
}

} // namespace

void WorkbookModel::selectColumns(const QString& range)
{
    wholeColumns(range);
    activeSheet();
    selection_ = range.toUpper();
}

void WorkbookModel::setColumnsNumberFormat(const QString& range, const QString& format)
{
    const auto [first, last] = wholeColumns(range);
    Sheet& sheet = activeSheet();
    for (int column = first; column <= last; ++column)
        sheet.setNumberFormat(column, format);
}

void WorkbookModel::pivotTableWizard(int sourceType, const QString& sourceData,
                                     const QString& tableDestination, const QString& tableName)
{
    Workbook& book = current();
    QString sourceName;
    int first = 0;
    int last = 0;
    if (sourceType != SourceTypeDatabase || !parseColumnRange(sourceData, &sourceName, &first, &last) ||
        book.sheet(sourceName) == nullptr)
        fail(QStringLiteral("Reference isn't valid."));
    if (!tableDestination.isEmpty())
        fail(QStringLiteral("PivotTableWizard method of Worksheet class failed"));
    const Sheet& source = *book.sheet(sourceName);

    PivotDefinition pivot;
    pivot.name = tableName.isEmpty() ? QStringLiteral("PivotTable%1").arg(book.pivots.size() + 1) : tableName;
    pivot.sourceSheet = source.name();
    pivot.firstColumn = first;
    pivot.lastColumn = last;
    // The field names are the source's first row, read now.
    for (int column = first; column <= last; ++column) {
        const QString name = source.cell(1, column).toString();
        if (name.isEmpty() || pivot.fieldIndex(name) >= 0)
            fail(QStringLiteral("The PivotTable field name is not valid. To create a PivotTable report, you "
                                "must use data that is organized as a list with labeled columns."));
        PivotFieldSettings field;
        field.source = name;
        field.caption = name;
        pivot.fields.push_back(field);
    }
    // A new sheet for it, which becomes the active one.
    int number = static_cast<int>(book.sheets.size()) + 1;
    while (book.sheet(QStringLiteral("Sheet%1").arg(number)) != nullptr)
        ++number;
    pivot.sheet = QStringLiteral("Sheet%1").arg(number);
    book.sheets.emplace_back(pivot.sheet);
    book.activeSheet = static_cast<int>(book.sheets.size()) - 1;
    book.pivots.push_back(std::move(pivot));
}

PivotDefinition& WorkbookModel::pivot(const QString& table)
{
    for (PivotDefinition& p : current().pivots) {
        if (p.name.compare(table, Qt::CaseInsensitive) == 0)
            return p;
    }
    fail(QStringLiteral("Unable to get the PivotTables property of the Worksheet class"));
}

PivotFieldSettings& WorkbookModel::pivotField(const QString& table, const QString& field)
{
    PivotDefinition& p = pivot(table);
    for (PivotFieldSettings& f : p.fields) {
        if (f.caption.compare(field, Qt::CaseInsensitive) == 0)
            return f;
    }
    const int index = p.fieldIndex(field);
    if (index < 0)
        fail(QStringLiteral("Unable to get the PivotFields property of the PivotTable class"));
    return p.fields[static_cast<size_t>(index)];
}

void WorkbookModel::setPivotFieldSubtotals(const QString& table, const QString& field,
                                           const PivotSubtotals& subtotals)
{
    bool any = false;
    for (bool on : subtotals)
        any = any || on;
    pivotField(table, field).subtotals = any;
}

void WorkbookModel::addPivotFields(const QString& table, const QStringList& rowFields,
                                   const QStringList& columnFields)
{
    PivotDefinition& p = pivot(table);
    // Every name must be known before anything moves.
    for (const QString& name : rowFields + columnFields)
        pivotField(table, name);
    for (PivotFieldSettings& f : p.fields) {
        if (f.orientation == PivotOrientation::Row || f.orientation == PivotOrientation::Column)
            f.orientation = PivotOrientation::Hidden;
    }
    p.rowFields.clear();
    p.columnFields.clear();
    for (const QString& name : rowFields) {
        PivotFieldSettings& f = pivotField(table, name);
        f.orientation = PivotOrientation::Row;
        p.rowFields << f.source;
    }
    for (const QString& name : columnFields) {
        PivotFieldSettings& f = pivotField(table, name);
        f.orientation = PivotOrientation::Column;
        p.columnFields << f.source;
    }
}

void WorkbookModel::setPivotFieldOrientation(const QString& table, const QString& field,
                                             PivotOrientation orientation)
{
    PivotDefinition& p = pivot(table);
    PivotFieldSettings& f = pivotField(table, field);
    p.rowFields.removeAll(f.source);
    p.columnFields.removeAll(f.source);
    p.dataFields.removeAll(f.source);
    f.orientation = orientation;
    switch (orientation) {
    case PivotOrientation::Row:
        p.rowFields << f.source;
        break;
    case PivotOrientation::Column:
        p.columnFields << f.source;
        break;
    case PivotOrientation::Data:
        p.dataFields << f.source;
        if (f.caption == f.source)
            f.caption = QStringLiteral("Sum of ") + f.source;
        break;
    case PivotOrientation::Hidden:
    case PivotOrientation::Page:
        break;
    }
}

void WorkbookModel::setPivotFieldName(const QString& table, const QString& field, const QString& name)
{
    if (name.isEmpty())
        fail(QStringLiteral("Unable to set the Name property of the PivotField class"));
    pivotField(table, field).caption = name;
}

void WorkbookModel::setPivotFieldFunction(const QString& table, const QString& field, PivotFunction function)
{
    pivotField(table, field).function = function;
}

void WorkbookModel::setPivotFieldNumberFormat(const QString& table, const QString& field,
                                              const QString& format)
{
    pivotField(table, field).numberFormat = format;
}

void WorkbookModel::setColumnGrand(const QString& table, bool on)
{
    pivot(table).columnGrand = on;
}

void WorkbookModel::setRowGrand(const QString& table, bool on)
{
    pivot(table).rowGrand = on;
}

// ---- Range texts

int columnNumber(const QString& letters)
{
    if (letters.isEmpty() || letters.size() > 3)
        return 0;
    int number = 0;
    for (QChar c : letters) {
        const char16_t u = c.toUpper().unicode();
        if (u < u'A' || u > u'Z')
            return 0;
        number = number * 26 + (u - u'A' + 1);
    }
    return number;
}

QString columnLetters(int column)
{
    QString letters;
    while (column > 0) {
        const int digit = (column - 1) % 26;
        letters.prepend(QChar(u'A' + digit));
        column = (column - 1) / 26;
    }
    return letters;
}

bool parseColumnRange(const QString& text, QString* sheet, int* firstColumn, int* lastColumn)
{
    static const QRegularExpression rowColumn(QStringLiteral("^(.+)!C(\\d{1,5}):C(\\d{1,5})$"),
                                              QRegularExpression::CaseInsensitiveOption);
    static const QRegularExpression letters(QStringLiteral("^(.+)!([A-Za-z]{1,3}):([A-Za-z]{1,3})$"));
    int first = 0;
    int last = 0;
    QString name;
    if (const QRegularExpressionMatch m = rowColumn.match(text); m.hasMatch()) {
        name = m.captured(1);
        first = m.captured(2).toInt();
        last = m.captured(3).toInt();
    } else if (const QRegularExpressionMatch l = letters.match(text); l.hasMatch()) {
        name = l.captured(1);
        first = columnNumber(l.captured(2));
        last = columnNumber(l.captured(3));
    }
    if (first < 1 || last < first)
        return false;
    *sheet = name;
    *firstColumn = first;
    *lastColumn = last;
    return true;
}

} // namespace qv::analysis
