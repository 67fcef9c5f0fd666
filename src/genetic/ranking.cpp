#include "genetic/ranking.hpp"

#include <cassert>

#include "platform/widest_vectors.hpp"

namespace cubega {

void rankOrder(std::span<const std::int32_t> keys, std::span<std::int32_t> order) {
    assert(order.size() == keys.size());
    const std::size_t n = keys.size();
    // Row i's place is the number of rows ahead of it: higher keys, and equal keys that come
    // earlier. Counting them is branch-free and runs many comparisons per instruction, where
    // an insertion sort would mispredict on every unsorted key.
    withWidestVectors([&] {
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
    });
}

}  // namespace cubega
