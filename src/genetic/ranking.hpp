// Ranking: rows reordered by a separate key, highest key first, equal keys in input order.
#pragma once

#include <cstdint>
#include <span>
#include <vector>

#include "genetic/population.hpp"

namespace cubega {

// order[r] = index of the input row that goes to place r: by descending key, equal keys in
// input order. Each row's place is counted (n^2 comparisons, no allocation): cheap at the 51
// and 12 rows the program ranks.
void rankOrder(std::span<const std::int32_t> keys, std::span<std::int32_t> order);

// Copies the rows of `from` into `to` in the given order (both of the same shape).
void reorderRows(const Population& from, std::span<const std::int32_t> order, Population& to);

// The table's rows by descending key, stable. The key is read, not changed.
Population rankRows(const Population& table, std::span<const std::int32_t> keys);
ScoreTable rankRows(const ScoreTable& table, std::span<const std::int32_t> keys);

}  // namespace cubega
