// Ranking: the order of rows by a separate key, highest key first, equal keys in input order.
#pragma once

#include <cstdint>
#include <span>

namespace cubega {

// order[r] = index of the input row that goes to place r: by descending key, equal keys in
// input order. Each row's place is counted (n^2 comparisons, no allocation): cheap at the 51
// and 12 rows the program ranks.
void rankOrder(std::span<const std::int32_t> keys, std::span<std::int32_t> order);

}  // namespace cubega
