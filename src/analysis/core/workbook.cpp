#include "analysis/core/workbook.h"

#include "common/error.h"

#include <QRegularExpression>

#include <array>
#include <bit>
#include <cmath>
#include <string_view>
#include <unordered_map>

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

namespace {

// Hashed as plain UTF-16 by the standard library, cheaper than Qt's seeded
// hash on these short texts.
struct TextHash {
    size_t operator()(const QString& text) const noexcept
    {
        return std::hash<std::u16string_view>{}(
            std::u16string_view(reinterpret_cast<const char16_t*>(text.utf16()), size_t(text.size())));
    }
};

// A double that a 32-bit whole number holds exactly (the amounts are whole).
bool isWhole32(double value)
{
    return value >= -2147483648.0 && value <= 2147483647.0 && value == std::trunc(value) &&
           !(value == 0 && std::signbit(value));
}

} // namespace

struct Sheet::Block {
    static constexpr size_t Rows = 4096;
    // How a cell is kept: Whole is a Double held in its slot as a 32-bit whole
    // number; Double and LongLong keep their 64 bits in the block's wide list.
    enum class Kind : std::uint8_t { Empty, Int, Whole, Double, LongLong, Text, Other };
    std::array<Kind, Rows> kinds{};
    std::array<std::uint32_t, Rows> values{};
    std::vector<std::uint64_t> wide;
};

struct Sheet::TextIndex {
    std::unordered_map<QString, std::uint32_t, TextHash> ids;
};

Sheet::Sheet(QString name) : name_(std::move(name)), textIndex_(std::make_unique<TextIndex>())
{
}
Sheet::~Sheet() = default;
Sheet::Sheet(Sheet&&) noexcept = default;
Sheet& Sheet::operator=(Sheet&&) noexcept = default;

std::uint32_t Sheet::textId(const QString& text)
{
    const auto [it, added] = textIndex_->ids.try_emplace(text, static_cast<std::uint32_t>(texts_.size()));
    if (added)
        texts_.push_back(text);
    return it->second;
}

void Sheet::setCell(int row, int column, const QVariant& value)
{
    if (row < 1 || column < 1)
        fail(QStringLiteral("Application-defined or object-defined error"));
    const bool null = value.isNull();
    if (null && (column > static_cast<int>(columns_.size()) || row > columns_[size_t(column - 1)].length))
        return;
    if (column > static_cast<int>(columns_.size()))
        columns_.resize(static_cast<size_t>(column));
    Column& cells = columns_[size_t(column - 1)];
    const size_t index = size_t(row - 1);
    while (cells.blocks.size() <= index / Block::Rows)
        cells.blocks.push_back(std::make_unique<Block>());
    cells.length = std::max(cells.length, row);
    Block& block = *cells.blocks[index / Block::Rows];
    const size_t at = index % Block::Rows;
    const Block::Kind was = block.kinds[at];
    std::uint32_t& slot = block.values[at];
    // A wide value or another value replaced by its like takes its place.
    const auto storeWide = [&](Block::Kind kind, std::uint64_t bits) {
        if (was == Block::Kind::Double || was == Block::Kind::LongLong) {
            block.wide[slot] = bits;
        } else {
            slot = static_cast<std::uint32_t>(block.wide.size());
            block.wide.push_back(bits);
        }
        block.kinds[at] = kind;
    };
    if (null) {
        block.kinds[at] = Block::Kind::Empty;
        return;
    }
    switch (value.typeId()) {
    case QMetaType::Int:
        block.kinds[at] = Block::Kind::Int;
        slot = static_cast<std::uint32_t>(*static_cast<const int*>(value.constData()));
        break;
    case QMetaType::Double: {
        const double number = *static_cast<const double*>(value.constData());
        if (isWhole32(number)) {
            block.kinds[at] = Block::Kind::Whole;
            slot = static_cast<std::uint32_t>(static_cast<std::int32_t>(number));
        } else {
            storeWide(Block::Kind::Double, std::bit_cast<std::uint64_t>(number));
        }
        break;
    }
    case QMetaType::LongLong:
        storeWide(Block::Kind::LongLong,
                  static_cast<std::uint64_t>(*static_cast<const qlonglong*>(value.constData())));
        break;
    case QMetaType::QString:
        block.kinds[at] = Block::Kind::Text;
        slot = textId(*static_cast<const QString*>(value.constData()));
        break;
    default:
        if (was == Block::Kind::Other) {
            others_[slot] = value;
        } else {
            slot = static_cast<std::uint32_t>(others_.size());
            others_.push_back(value);
        }
        block.kinds[at] = Block::Kind::Other;
        break;
    }
    rowCount_ = std::max(rowCount_, row);
    columnCount_ = std::max(columnCount_, column);
}

Sheet::CellView Sheet::view(int row, int column) const
{
    CellView cell;
    if (row < 1 || column < 1 || column > static_cast<int>(columns_.size()))
        return cell;
    const Column& cells = columns_[size_t(column - 1)];
    if (row > cells.length)
        return cell;
    const size_t index = size_t(row - 1);
    const Block& block = *cells.blocks[index / Block::Rows];
    const size_t at = index % Block::Rows;
    const std::uint32_t slot = block.values[at];
    switch (block.kinds[at]) {
    case Block::Kind::Empty:
        break;
    case Block::Kind::Int:
        cell.kind = CellView::Kind::Int;
        cell.integer = static_cast<std::int32_t>(slot);
        cell.number = static_cast<double>(cell.integer);
        break;
    case Block::Kind::Whole:
        cell.kind = CellView::Kind::Double;
        cell.number = static_cast<double>(static_cast<std::int32_t>(slot));
        break;
    case Block::Kind::Double:
        cell.kind = CellView::Kind::Double;
        cell.number = std::bit_cast<double>(block.wide[slot]);
        break;
    case Block::Kind::LongLong:
        cell.kind = CellView::Kind::LongLong;
        cell.integer = static_cast<std::int64_t>(block.wide[slot]);
        cell.number = static_cast<double>(cell.integer);
        break;
    case Block::Kind::Text:
        cell.kind = CellView::Kind::Text;
        cell.textId = slot;
        cell.text = &texts_[slot];
        break;
    case Block::Kind::Other:
        cell.kind = CellView::Kind::Other;
        cell.other = &others_[slot];
        break;
    }
    return cell;
}

QVariant Sheet::cell(int row, int column) const
{
    const CellView cell = view(row, column);
    switch (cell.kind) {
    case CellView::Kind::Int:
        return static_cast<int>(cell.integer);
    case CellView::Kind::LongLong:
        return static_cast<qlonglong>(cell.integer);
    case CellView::Kind::Double:
        return cell.number;
    case CellView::Kind::Text:
        return *cell.text;
    case CellView::Kind::Other:
        return *cell.other;
    case CellView::Kind::Empty:
        break;
    }
    return {};
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
