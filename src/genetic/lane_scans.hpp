// Row work of the generation loop that a vector unit runs many lanes at a time: where the
// first pair of same-face neighbours in a row is, which of 64 random states lie below a
// bound, and the two children of a crossing. Each has a portable form with exactly the same
// answers.
#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>

#include "cube/moves.hpp"

namespace cubega {

// The first i with codes[i] and codes[i + 1] on one face, or `count` when no two neighbours
// are (codes 0..17).
std::size_t firstSameFacePair(const MoveCode* codes, std::size_t count);
std::size_t firstSameFacePairPortable(const MoveCode* codes, std::size_t count);

// Bit i of the words at `bits` set when codes[i] and codes[i + 1] are on one face, for
// i = 0..count-2; bit count - 1 and the rest of its word are clear. Fills (count + 63) / 64
// words.
void sameFacePairBits(const MoveCode* codes, std::size_t count, std::uint64_t* bits);
void sameFacePairBitsPortable(const MoveCode* codes, std::size_t count, std::uint64_t* bits);
// The AVX2 form, which a processor with AVX-512 never takes on its own; false, and nothing
// written, when the processor lacks AVX2.
bool sameFacePairBitsAvx2(const MoveCode* codes, std::size_t count, std::uint64_t* bits);

// Child 1 takes first[j] for j < cut and second[j] from cut on; child 2 the other way round.
// The children are distinct from the parents and from each other.
void writeCrossedRows(const MoveCode* first, const MoveCode* second, std::size_t count,
                      std::size_t cut, MoveCode* child1, MoveCode* child2);
void writeCrossedRowsPortable(const MoveCode* first, const MoveCode* second, std::size_t count,
                              std::size_t cut, MoveCode* child1, MoveCode* child2);

// Bit k set when states[k] < bound, for k = 0..63 (states 1..2^31 - 2).
inline constexpr std::size_t kMaskLanes = 64;
std::uint64_t statesBelowMask(const std::int32_t* states, std::int64_t bound);
std::uint64_t statesBelowMaskPortable(const std::int32_t* states, std::int64_t bound);
// The AVX2 form, which a processor with AVX-512 never takes on its own; nothing when the
// processor lacks AVX2.
std::optional<std::uint64_t> statesBelowMaskAvx2(const std::int32_t* states, std::int64_t bound);

}  // namespace cubega
