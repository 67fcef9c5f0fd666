#include "genetic/ranking.hpp"

#include <algorithm>
#include <cassert>

namespace cubega {

void rankOrder(std::span<const std::int32_t> keys, std::span<std::int32_t> order) {
    assert(order.size() == keys.size());
    const std::size_t n = keys.size();
    // Row i's place is the number of rows ahead of it: higher keys, and equal keys that come
    // earlier. Counting them is branch-free and runs many comparisons per instruction, where
    // an insertion sort would mispredict on every unsorted key.
    for (std::size_t i = 0; i < n; ++i) {
        const std::int32_t key = keys[i];
        std::size_t place = 0;
        for (std::size_t j = 0; j < i; ++j) {
            place += keys[j] >= key ? 1U : 0U;
        }
        for (std::size_t j = i + 1; j < n; ++j) {
            place += keys[j] > key ? 1U : 0U;
        }
        order[place] = static_cast<std::int32_t>(i);
    }
}

void reorderRows(const Population& from, std::span<const std::int32_t> order, Population& to) {
    for (std::int32_t r = 0; r < from.rows(); ++r) {
        const auto source = from.row(order[static_cast<std::size_t>(r)]);
        std::copy(source.begin(), source.end(), to.row(r).begin());
    }
}

Population rankRows(const Population& table, std::span<const std::int32_t> keys) {
    std::vector<std::int32_t> order(keys.size());
    rankOrder(keys, order);
    Population ranked(table.rows(), table.slots());
    reorderRows(table, order, ranked);
    return ranked;
}

ScoreTable rankRows(const ScoreTable& table, std::span<const std::int32_t> keys) {
    std::vector<std::int32_t> order(keys.size());
    rankOrder(keys, order);
    ScoreTable ranked(table.size());
    for (std::size_t r = 0; r < table.size(); ++r) {
        ranked[r] = table[static_cast<std::size_t>(order[r])];
    }
    return ranked;
}

}  // namespace cubega
