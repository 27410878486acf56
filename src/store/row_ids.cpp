#include "store/row_ids.h"

#include <limits>

namespace qv::store {

namespace {

template <typename T> void append(std::vector<std::vector<T>>& blocks, T id, std::size_t blockSize)
{
    if (blocks.empty() || blocks.back().size() == blockSize)
        blocks.emplace_back();
    blocks.back().push_back(id);
}

bool fitsNarrow(std::int64_t id)
{
    return id >= 0 && id <= std::int64_t{std::numeric_limits<std::uint32_t>::max()};
}

} // namespace

std::int64_t RowIds::operator[](std::size_t position) const
{
    const std::size_t block = position >> BlockBits;
    const std::size_t offset = position & (BlockSize - 1);
    if (wideMode_)
        return wide_[block][offset];
    return narrow_[block][offset];
}

void RowIds::push_back(std::int64_t id)
{
    if (!wideMode_ && !fitsNarrow(id))
        widen();
    if (wideMode_)
        append(wide_, id, BlockSize);
    else
        append(narrow_, static_cast<std::uint32_t>(id), BlockSize);
    ++size_;
}

void RowIds::appendReversed(const RowIds& other)
{
    for (std::size_t i = other.size(); i > 0; --i)
        push_back(other[i - 1]);
}

void RowIds::clear()
{
    narrow_ = {};
    wide_ = {};
    wideMode_ = false;
    size_ = 0;
}

void RowIds::widen()
{
    for (const std::vector<std::uint32_t>& block : narrow_) {
        wide_.emplace_back(block.begin(), block.end());
        wide_.back().reserve(BlockSize);
    }
    narrow_ = {};
    wideMode_ = true;
}

} // namespace qv::store
