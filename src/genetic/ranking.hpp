// Ranking: the order of rows by a separate key, highest key first, equal keys in input order.
#pragma once

#include <cstdint>
#include <span>

namespace cubega {

// order[r] = index of the input row that goes to place r: by descending key, equal keys in
// input order. No allocation for the keys the search ranks: up to 64 rows (the program's 51
// and 12) by a vector count of the rows ahead of each, more by counting the rows of each key
// value, for keys that span up to 4096 values as objectives do; other keys are sorted.
void rankOrder(std::span<const std::int32_t> keys, std::span<std::int32_t> order);

// The plain form: each row's place is the number of rows ahead of it, higher keys and equal
// keys before it (n^2 comparisons).
void rankOrderReference(std::span<const std::int32_t> keys, std::span<std::int32_t> order);

}  // namespace cubega
