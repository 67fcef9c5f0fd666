#include "genetic/ranking.hpp"

#include <gtest/gtest.h>

#include <algorithm>
#include <limits>
#include <numeric>
#include <random>
#include <vector>

namespace cubega {
namespace {

std::vector<std::int32_t> orderOf(std::vector<std::int32_t> keys) {
    std::vector<std::int32_t> order(keys.size());
    rankOrder(keys, order);
    return order;
}

TEST(Ranking, EqualKeysKeepTheirInputOrder) {
    EXPECT_EQ(orderOf({3, 7, 7, 1}), (std::vector<std::int32_t>{1, 2, 0, 3}));
    EXPECT_EQ(orderOf({4, 4, 4, 4}), (std::vector<std::int32_t>{0, 1, 2, 3}));
}

TEST(Ranking, NegativeKeysRankBelowZero) {
    EXPECT_EQ(orderOf({-5, 0, -20}), (std::vector<std::int32_t>{1, 0, 2}));
}

TEST(Ranking, OneRowAndNoRows) {
    EXPECT_EQ(orderOf({42}), (std::vector<std::int32_t>{0}));
    EXPECT_EQ(orderOf({}), (std::vector<std::int32_t>{}));
}

// Up to 64 rows are ranked by packed keys, more by the plain count: both must be a stable
// sort, down to the extreme keys.
TEST(Ranking, EqualsAStableSortByDescendingKey) {
    std::mt19937 rng(5);
    std::uniform_int_distribution<std::int32_t> key(-30, 30);
    const std::int32_t extremes[] = {std::numeric_limits<std::int32_t>::min(),
                                     std::numeric_limits<std::int32_t>::max(), -1, 0};
    for (int trial = 0; trial < 500; ++trial) {
        const std::size_t rows = trial % 5 == 0 ? 1 + static_cast<std::size_t>(trial) % 100 : 51;
        std::vector<std::int32_t> keys(rows);
        for (auto& k : keys)
            k = trial % 3 == 0 ? extremes[rng() % 4] : key(rng);
        std::vector<std::int32_t> expected(rows);
        std::iota(expected.begin(), expected.end(), 0);
        std::stable_sort(expected.begin(), expected.end(), [&](std::int32_t a, std::int32_t b) {
            return keys[static_cast<std::size_t>(a)] > keys[static_cast<std::size_t>(b)];
        });
        ASSERT_EQ(orderOf(keys), expected) << rows << " rows";
    }
}

}  // namespace
}  // namespace cubega
