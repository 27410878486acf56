// Row ids kept compactly: every id comes back at its position, across block
// ends, after ids that need eight bytes or are negative arrive late, and when
// the ids read from the end are joined to those read from the start.
#include "store/row_ids.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <vector>

using qv::store::RowIds;

namespace {

std::vector<std::int64_t> contents(const RowIds& ids)
{
    std::vector<std::int64_t> values;
    for (std::size_t i = 0; i < ids.size(); ++i)
        values.push_back(ids[i]);
    return values;
}

} // namespace

TEST(RowIds, KeepsEveryIdAcrossBlocksAndWhenWidened)
{
    RowIds ids;
    std::vector<std::int64_t> expected;
    // Past two block ends (65,536 ids each), the largest four-byte id among them.
    for (std::int64_t id = 1; id <= 140000; ++id) {
        const std::int64_t value = id == 70000 ? 4294967295LL : id * 3;
        ids.push_back(value);
        expected.push_back(value);
    }
    ASSERT_EQ(ids.size(), expected.size());
    EXPECT_EQ(ids[65535], expected[65535]);
    EXPECT_EQ(ids[65536], expected[65536]);
    EXPECT_EQ(ids[69999], 4294967295LL);
    // One id beyond four bytes, then a negative one: the earlier ids survive.
    ids.push_back(4294967296LL);
    ids.push_back(-5);
    ids.push_back(11);
    expected.insert(expected.end(), {4294967296LL, -5, 11});
    EXPECT_EQ(contents(ids), expected);
    EXPECT_EQ(ids.back(), 11);
}

TEST(RowIds, JoinsTheIdsReadBackwardsInOrderAndClears)
{
    RowIds head, tail;
    for (std::int64_t id : {1, 2, 3})
        head.push_back(id);
    // Read from the end backwards: the last id first.
    for (std::int64_t id : {9, 8, 7})
        tail.push_back(id);
    head.appendReversed(tail);
    EXPECT_EQ(contents(head), (std::vector<std::int64_t>{1, 2, 3, 7, 8, 9}));

    head.clear();
    EXPECT_TRUE(head.empty());
    head.push_back(-1); // a cleared list starts over, narrow again
    head.push_back(2);
    EXPECT_EQ(contents(head), (std::vector<std::int64_t>{-1, 2}));
}
