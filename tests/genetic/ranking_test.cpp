#include "genetic/ranking.hpp"

#include <gtest/gtest.h>

#include <algorithm>
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

TEST(Ranking, EqualsAStableSortByDescendingKey) {
    std::mt19937 rng(5);
    std::uniform_int_distribution<std::int32_t> key(-30, 30);
    for (int trial = 0; trial < 500; ++trial) {
        std::vector<std::int32_t> keys(51);
        for (auto& k : keys)
            k = key(rng);
        std::vector<std::int32_t> expected(51);
        std::iota(expected.begin(), expected.end(), 0);
        std::stable_sort(expected.begin(), expected.end(), [&](std::int32_t a, std::int32_t b) {
            return keys[static_cast<std::size_t>(a)] > keys[static_cast<std::size_t>(b)];
        });
        ASSERT_EQ(orderOf(keys), expected);
    }
}

}  // namespace
}  // namespace cubega
