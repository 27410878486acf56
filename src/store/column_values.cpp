#include "store/column_values.h"

#include "store/field_type.h"

#include <functional>
#include <limits>

namespace qv::store {

namespace {

bool fitsInt32(std::int64_t v)
{
    return v >= std::numeric_limits<std::int32_t>::min() && v <= std::numeric_limits<std::int32_t>::max();
}

QVariant integerVariant(std::int64_t v)
{
    return fitsInt32(v) ? QVariant(static_cast<int>(v)) : QVariant(static_cast<qint64>(v));
}

// Distinct text number id: its bytes in buffer from starts[id] to starts[id + 1].
std::string_view storedText(const std::string& buffer, const std::vector<std::uint32_t>& starts,
                            std::uint32_t id)
{
    return std::string_view(buffer.data() + starts[id], starts[id + 1] - starts[id]);
}

} // namespace

// Finds a text already in the buffer: open addressing over text ids, so the
// table holds four bytes a distinct text and no copies of the texts.
struct ColumnValues::TextIndex {
    std::vector<std::uint32_t> places; // id + 1; 0 is free
    std::size_t used = 0;

    static std::size_t hashOf(std::string_view text) { return std::hash<std::string_view>{}(text); }
};

ColumnValues::ColumnValues() = default;
ColumnValues::~ColumnValues() = default;
ColumnValues::ColumnValues(ColumnValues&&) noexcept = default;
ColumnValues& ColumnValues::operator=(ColumnValues&&) noexcept = default;

void ColumnValues::startAs(Kind kind)
{
    // Nulls read before the first value hold a place in the new storage.
    kind_ = kind;
    const auto n = static_cast<size_t>(count_);
    switch (kind) {
    case Kind::Int32:
        int32_.resize(n);
        break;
    case Kind::Int64:
        int64_.resize(n);
        break;
    case Kind::Double:
        doubles_.resize(n);
        break;
    case Kind::Text:
    case Kind::Date:
        textIds_.resize(n);
        break;
    case Kind::Variant:
        variants_.resize(n);
        break;
    case Kind::Empty:
        break;
    }
}

void ColumnValues::becomeVariant()
{
    std::vector<QVariant> values;
    values.reserve(static_cast<size_t>(count_) + 1);
    for (int row = 0; row < count_; ++row)
        values.push_back(at(row));
    int32_ = {};
    int64_ = {};
    doubles_ = {};
    textIds_ = {};
    textBuffer_ = {};
    textStarts_ = {};
    index_.reset();
    variants_ = std::move(values);
    kind_ = Kind::Variant;
}

void ColumnValues::appendVariant(QVariant value)
{
    if (kind_ != Kind::Variant)
        becomeVariant();
    variants_.push_back(std::move(value));
    nulls_.push_back(false);
    ++count_;
}

void ColumnValues::appendNull()
{
    switch (kind_) {
    case Kind::Empty:
        break;
    case Kind::Int32:
        int32_.push_back(0);
        break;
    case Kind::Int64:
        int64_.push_back(0);
        break;
    case Kind::Double:
        doubles_.push_back(0);
        break;
    case Kind::Text:
    case Kind::Date:
        textIds_.push_back(0);
        break;
    case Kind::Variant:
        variants_.emplace_back();
        break;
    }
    nulls_.push_back(true);
    ++count_;
}

void ColumnValues::appendInteger(std::int64_t value)
{
    if (kind_ == Kind::Empty)
        startAs(fitsInt32(value) ? Kind::Int32 : Kind::Int64);
    if (kind_ == Kind::Int32 && !fitsInt32(value)) {
        int64_.assign(int32_.begin(), int32_.end());
        int32_ = {};
        kind_ = Kind::Int64;
    }
    if (kind_ == Kind::Int32)
        int32_.push_back(static_cast<std::int32_t>(value));
    else if (kind_ == Kind::Int64)
        int64_.push_back(value);
    else
        return appendVariant(integerVariant(value));
    nulls_.push_back(false);
    ++count_;
}

void ColumnValues::appendDouble(double value)
{
    if (kind_ == Kind::Empty)
        startAs(Kind::Double);
    if (kind_ != Kind::Double)
        return appendVariant(value);
    doubles_.push_back(value);
    nulls_.push_back(false);
    ++count_;
}

void ColumnValues::appendText(std::string_view utf8)
{
    if (kind_ == Kind::Empty)
        startAs(Kind::Text);
    if (kind_ != Kind::Text)
        return appendVariant(QString::fromUtf8(utf8.data(), static_cast<qsizetype>(utf8.size())));
    textIds_.push_back(textId(utf8));
    nulls_.push_back(false);
    ++count_;
}

void ColumnValues::appendDate(std::string_view stored)
{
    if (kind_ == Kind::Empty)
        startAs(Kind::Date);
    if (kind_ != Kind::Date)
        return appendVariant(
            dateFromStorage(QString::fromUtf8(stored.data(), static_cast<qsizetype>(stored.size()))));
    textIds_.push_back(textId(stored));
    nulls_.push_back(false);
    ++count_;
}

std::uint32_t ColumnValues::textId(std::string_view utf8)
{
    if (!index_)
        index_ = std::make_unique<TextIndex>();
    if (textStarts_.empty())
        textStarts_.push_back(0);
    TextIndex& index = *index_;
    if ((index.used + 1) * 2 > index.places.size()) {
        // Grow and place every known text again.
        std::vector<std::uint32_t> old = std::move(index.places);
        index.places.assign(std::max<std::size_t>(64, old.size() * 2), 0);
        const std::size_t mask = index.places.size() - 1;
        for (std::uint32_t slot : old) {
            if (slot == 0)
                continue;
            std::size_t at = TextIndex::hashOf(storedText(textBuffer_, textStarts_, slot - 1)) & mask;
            while (index.places[at] != 0)
                at = (at + 1) & mask;
            index.places[at] = slot;
        }
    }
    const std::size_t mask = index.places.size() - 1;
    std::size_t at = TextIndex::hashOf(utf8) & mask;
    while (index.places[at] != 0) {
        const std::uint32_t id = index.places[at] - 1;
        if (storedText(textBuffer_, textStarts_, id) == utf8)
            return id;
        at = (at + 1) & mask;
    }
    const auto id = static_cast<std::uint32_t>(textStarts_.size() - 1);
    textBuffer_.append(utf8);
    textStarts_.push_back(static_cast<std::uint32_t>(textBuffer_.size()));
    index.places[at] = id + 1;
    ++index.used;
    return id;
}

void ColumnValues::finishReading()
{
    index_.reset();
    nulls_.shrink_to_fit();
    int32_.shrink_to_fit();
    int64_.shrink_to_fit();
    doubles_.shrink_to_fit();
    textIds_.shrink_to_fit();
    textBuffer_.shrink_to_fit();
    textStarts_.shrink_to_fit();
    variants_.shrink_to_fit();
}

QString ColumnValues::textOf(std::uint32_t id) const
{
    const std::string_view text = storedText(textBuffer_, textStarts_, id);
    return QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size()));
}

bool ColumnValues::isNumber(int row) const
{
    if (isNull(row))
        return false;
    switch (kind_) {
    case Kind::Int32:
    case Kind::Int64:
    case Kind::Double:
        return true;
    case Kind::Variant: {
        const int type = variants_[static_cast<size_t>(row)].typeId();
        return type == QMetaType::Int || type == QMetaType::LongLong || type == QMetaType::Double;
    }
    default:
        return false;
    }
}

CellView ColumnValues::cell(int row) const
{
    const auto i = static_cast<size_t>(row);
    CellView view;
    if (nulls_[i])
        return view;
    switch (kind_) {
    case Kind::Int32:
        view.kind = CellView::Kind::Integer;
        view.integer = int32_[i];
        break;
    case Kind::Int64:
        view.kind = CellView::Kind::Integer;
        view.integer = int64_[i];
        break;
    case Kind::Double:
        view.kind = CellView::Kind::Double;
        view.number = doubles_[i];
        break;
    case Kind::Text:
        view.kind = CellView::Kind::Text;
        view.text = storedText(textBuffer_, textStarts_, textIds_[i]);
        break;
    case Kind::Date:
    case Kind::Variant:
    case Kind::Empty:
        view.kind = CellView::Kind::Other;
        break;
    }
    return view;
}

QVariant ColumnValues::at(int row) const
{
    const auto i = static_cast<size_t>(row);
    if (nulls_[i])
        return {};
    switch (kind_) {
    case Kind::Int32:
        return int32_[i];
    case Kind::Int64:
        return integerVariant(int64_[i]);
    case Kind::Double:
        return doubles_[i];
    case Kind::Text:
        return textOf(textIds_[i]);
    case Kind::Date:
        return dateFromStorage(textOf(textIds_[i]));
    case Kind::Variant:
        return variants_[i];
    case Kind::Empty:
        break;
    }
    return {};
}

} // namespace qv::store
