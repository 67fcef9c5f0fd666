// Two searches of the generation loop that a vector unit runs sixteen lanes at a time: where
// the first pair of same-face neighbours in a row is, and where the first random state below
// a bound is. Each has a portable form with exactly the same answers.
#pragma once

#include <cstddef>
#include <cstdint>

#include "cube/moves.hpp"

namespace cubega {

// The first i with codes[i] and codes[i + 1] on one face, or `count` when no two neighbours
// are (codes 0..17).
std::size_t firstSameFacePair(const MoveCode* codes, std::size_t count);
std::size_t firstSameFacePairPortable(const MoveCode* codes, std::size_t count);

// The first k with states[k] < bound, or `count` when there is none (states 1..2^31 - 2).
std::size_t firstStateBelow(const std::int32_t* states, std::size_t count, std::int64_t bound);
std::size_t firstStateBelowPortable(const std::int32_t* states, std::size_t count,
                                    std::int64_t bound);

}  // namespace cubega
