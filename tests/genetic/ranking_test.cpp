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

std::vector<std::int32_t> stableOrder(const std::vector<std::int32_t>& keys) {
    std::vector<std::int32_t> expected(keys.size());
    std::iota(expected.begin(), expected.end(), 0);
    std::stable_sort(expected.begin(), expected.end(), [&](std::int32_t a, std::int32_t b) {
        return keys[static_cast<std::size_t>(a)] > keys[static_cast<std::size_t>(b)];
    });
    return expected;
}

// Populations of up to 4096 rows: keys counted by value where they span up to 4096 values (as
// objectives do), sorted where they span more; both at the boundary, and the plain count.
TEST(Ranking, ManyRowsEqualAStableSortWhateverTheKeysSpan) {
    std::mt19937 rng(11);
    for (const std::size_t rows : {65U, 102U, 200U, 4096U}) {
        for (const std::int64_t span :
             {std::int64_t{1}, std::int64_t{60}, std::int64_t{1829}, std::int64_t{4096},
              std::int64_t{4097}, std::int64_t{1} << 32}) {
            const std::int64_t lowest =
                span > 4097 ? std::numeric_limits<std::int32_t>::min() : -128;
            std::uniform_int_distribution<std::int64_t> key(lowest, lowest + span - 1);
            std::vector<std::int32_t> keys(rows);
            for (auto& k : keys)
                k = static_cast<std::int32_t>(key(rng));
            keys[rng() % rows] = static_cast<std::int32_t>(lowest);  // the whole span present
            keys[rng() % rows] = static_cast<std::int32_t>(lowest + span - 1);
            const std::vector<std::int32_t> expected = stableOrder(keys);
            ASSERT_EQ(orderOf(keys), expected) << rows << " rows, keys spanning " << span;
            if (rows <= 200) {
                std::vector<std::int32_t> plain(rows);
                rankOrderReference(keys, plain);
                ASSERT_EQ(plain, expected) << rows << " rows, keys spanning " << span;
            }
        }
    }
}

}  // namespace
}  // namespace cubega
