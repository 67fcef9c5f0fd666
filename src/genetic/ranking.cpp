#include "genetic/ranking.hpp"

#include <algorithm>
#include <cassert>

namespace cubega {

void rankOrder(std::span<const std::int32_t> keys, std::span<std::int32_t> order) {
    assert(order.size() == keys.size());
    for (std::size_t i = 0; i < keys.size(); ++i) {
        const std::int32_t key = keys[i];
        std::size_t place = i;
        // Move past every placed row with a strictly lower key; equal keys stay ahead.
        while (place > 0 && keys[static_cast<std::size_t>(order[place - 1])] < key) {
            order[place] = order[place - 1];
            --place;
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
