#include "genetic/ranking.hpp"

#include <algorithm>
#include <array>
#include <cassert>
#include <functional>
#include <limits>
#include <vector>

#include "genetic/row_kernels.hpp"

namespace cubega {

namespace {

// Each row's key in the high half of a 64-bit number and the complement of its index in the
// low half: a row is ahead of another exactly when its number is larger, so the numbers are
// distinct and any sort of them is the stable order.
std::int64_t packedKey(std::int32_t key, std::size_t row) {
    return std::int64_t{key} * (std::int64_t{1} << 32) +
           static_cast<std::int64_t>(std::numeric_limits<std::uint32_t>::max() - row);
}

std::int32_t rowOfPackedKey(std::int64_t packed) {
    return static_cast<std::int32_t>(std::numeric_limits<std::uint32_t>::max() -
                                     static_cast<std::uint32_t>(packed & 0xFFFFFFFF));
}

// The count of rows ahead for up to 64 rows with one comparison per pair; unused places hold
// the smallest number, which is never ahead. The count then runs over a fixed 64 places, a
// whole vector loop.
void rankPacked(std::span<const std::int32_t> keys, std::span<std::int32_t> order) {
    std::array<std::int64_t, kPackedRows> packed;
    packed.fill(std::numeric_limits<std::int64_t>::min());
    for (std::size_t i = 0; i < keys.size(); ++i) {
        packed[i] = packedKey(keys[i], i);
    }
    rowKernels().rankPackedKeys(packed.data(), keys.size(), order.data());
}

// The most key values ranked by counting: objectives (ten times a score of at most 170, less
// at most 128 moves) span fewer.
constexpr std::size_t kCountedKeyValues = 4096;

// A counting sort by key, for keys that span at most kCountedKeyValues values: rows in input
// order go to the next place of their key, whose places begin after every higher key's. One
// pass over the rows to count, one over the values, one over the rows to place; false, with
// nothing written, when the keys span more values.
bool rankByKeyCounts(std::span<const std::int32_t> keys, std::span<std::int32_t> order) {
    const auto [lowest, highest] = std::minmax_element(keys.begin(), keys.end());
    const std::int32_t high = *highest;
    const std::int64_t keySpan = std::int64_t{high} - *lowest + 1;  // up to 2^32
    if (keySpan > std::int64_t{kCountedKeyValues}) {  // before it is cut to a 32-bit size
        return false;
    }
    const auto values = static_cast<std::size_t>(keySpan);
    const auto valueIndex = [high](std::int32_t key) {
        return static_cast<std::size_t>(std::int64_t{high} - key);  // 0 for the highest key
    };
    std::array<std::uint32_t, kCountedKeyValues> nextPlace;
    std::fill_n(nextPlace.begin(), values, 0U);
    for (const std::int32_t key : keys) {
        ++nextPlace[valueIndex(key)];
    }
    std::uint32_t place = 0;
    for (std::size_t v = 0; v < values; ++v) {
        const std::uint32_t count = nextPlace[v];
        nextPlace[v] = place;
        place += count;
    }
    for (std::size_t i = 0; i < keys.size(); ++i) {
        order[nextPlace[valueIndex(keys[i])]++] = static_cast<std::int32_t>(i);
    }
    return true;
}

// Any keys: a sort of the packed keys, highest first.
void rankBySorting(std::span<const std::int32_t> keys, std::span<std::int32_t> order) {
    std::vector<std::int64_t> packed(keys.size());
    for (std::size_t i = 0; i < keys.size(); ++i) {
        packed[i] = packedKey(keys[i], i);
    }
    std::sort(packed.begin(), packed.end(), std::greater<>());
    std::transform(packed.begin(), packed.end(), order.begin(), rowOfPackedKey);
}

}  // namespace

void rankOrder(std::span<const std::int32_t> keys, std::span<std::int32_t> order) {
    assert(order.size() == keys.size());
    if (keys.size() <= kPackedRows) {
        rankPacked(keys, order);
    } else if (!rankByKeyCounts(keys, order)) {
        rankBySorting(keys, order);
    }
}

void rankOrderReference(std::span<const std::int32_t> keys, std::span<std::int32_t> order) {
    const std::size_t n = keys.size();
    for (std::size_t i = 0; i < n; ++i) {
        const std::int32_t key = keys[i];
        std::uint32_t place = 0;
        for (std::size_t j = 0; j < i; ++j) {
            place += keys[j] >= key ? 1U : 0U;
        }
        for (std::size_t j = i + 1; j < n; ++j) {
            place += keys[j] > key ? 1U : 0U;
        }
        order[place] = static_cast<std::int32_t>(i);
    }
}

}  // namespace cubega
