#include "genetic/ranking.hpp"

#include <array>
#include <cassert>
#include <limits>

#include "genetic/row_kernels.hpp"

namespace cubega {

namespace {

// Row i's place is the number of rows ahead of it: higher keys, and equal keys that come
// earlier. Counting them is branch-free and runs many comparisons per instruction, where an
// insertion sort would mispredict on every unsorted key. Only for more rows than the program
// ranks, so it stays in the base instruction set.
void rankByCounting(std::span<const std::int32_t> keys, std::span<std::int32_t> order) {
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

// The same count for up to 64 rows with one comparison per pair: each row's key in the high
// half of a 64-bit number and the complement of its index in the low half, so that a row is
// ahead exactly when its number is larger; unused places hold the smallest number, which is
// never ahead. The count then runs over a fixed 64 places, a whole vector loop.
void rankPacked(std::span<const std::int32_t> keys, std::span<std::int32_t> order) {
    std::array<std::int64_t, kPackedRows> packed;
    packed.fill(std::numeric_limits<std::int64_t>::min());
    for (std::size_t i = 0; i < keys.size(); ++i) {
        packed[i] = std::int64_t{keys[i]} * (std::int64_t{1} << 32) +
                    static_cast<std::int64_t>(std::numeric_limits<std::uint32_t>::max() - i);
    }
    rowKernels().rankPackedKeys(packed.data(), keys.size(), order.data());
}

}  // namespace

void rankOrder(std::span<const std::int32_t> keys, std::span<std::int32_t> order) {
    assert(order.size() == keys.size());
    if (keys.size() <= kPackedRows) {
        rankPacked(keys, order);
    } else {
        rankByCounting(keys, order);
    }
}

}  // namespace cubega
