// The row work of the generation loop that a vector unit does many values at a time, compiled
// for every back end (row_kernels.cpp): where same-face neighbours are in rows of codes, which
// of 64 random states lie below a bound, the two children of a crossing, the states of the
// random stream, the fold onto two faces, the places of a ranking, and the two-face stacks of
// many rows. Every back end gives exactly the answers of the plain references below.
#pragma once

#include <cstddef>
#include <cstdint>

#include "cube/moves.hpp"
#include "genetic/two_face_stacks.hpp"
#include "platform/back_end.hpp"

namespace cubega {

inline constexpr std::size_t kMaskLanes = 64;   // states a statesBelowMask covers
inline constexpr std::size_t kPackedRows = 64;  // places rankPackedKeys counts over

struct RowKernels {
    // The first i with codes[i] and codes[i + 1] on one face, or `count` when no two
    // neighbours are (codes 0..17).
    std::size_t (*firstSameFacePair)(const MoveCode* codes, std::size_t count);
    // Bit i of the words at `bits` set when codes[i] and codes[i + 1] are on one face, for
    // i = 0..count-2; bit count - 1 and the rest of its word are clear. Fills (count + 63) / 64
    // words.
    void (*sameFacePairBits)(const MoveCode* codes, std::size_t count, std::uint64_t* bits);
    // Child 1 takes first[j] for j < cut and second[j] from cut on; child 2 the other way
    // round. The children are distinct from the parents and from each other.
    void (*writeCrossedRows)(const MoveCode* first, const MoveCode* second, std::size_t count,
                             std::size_t cut, MoveCode* child1, MoveCode* child2);
    // Bit k set when states[k] < bound, for k = 0..63.
    std::uint64_t (*statesBelowMask)(const std::int32_t* states, std::int32_t bound);
    // out[k] = first * 48271^k mod (2^31 - 1) for k = 0..count-1, with 0 < first < 2^31 - 1
    // and count a multiple of 32: the states that follow `first`, each one step after the last.
    void (*fillStateStream)(std::int32_t first, std::int32_t* out, std::size_t count);
    // foldOntoTwoFaces of every code 0..17.
    void (*foldOntoTwoFaces)(MoveCode* codes, std::size_t count);
    // order[r] = the row at place r, for `rows` (at most 64) distinct keys packed[0..63], the
    // unused ones below every used one: row i's place is the number of keys above its own.
    void (*rankPackedKeys)(const std::int64_t* packed, std::size_t rows, std::int32_t* order);
    // Reads up to twoFaceRowsAtOnce(slots) rows of `slots` (1..kTwoFaceSlots) codes on U or F
    // onto their stacks, a row in each lane, and writes back every row that has freed slots
    // (its stack at its start; depth and freed say where the refills go).
    void (*settleTwoFaceRows)(MoveCode* codes, std::size_t slots, std::size_t rows,
                              TwoFaceStacks& stacks);
    // Whether settleTwoFaceRows beats settling the rows one by one (eight lanes or more).
    bool settlesTwoFaceRowsInLanes;
};

// The kernels of the active back end.
const RowKernels& rowKernels();

// The kernels of a back end (the portable ones where this build lacks it).
const RowKernels& rowKernelsOf(BackEnd backEnd);

// statesBelowMask for any bound, on the active back end (states 1..2^31 - 2).
std::uint64_t statesBelowMask(const std::int32_t* states, std::int64_t bound);

// The plain references, one value at a time.
std::size_t firstSameFacePairReference(const MoveCode* codes, std::size_t count);
void sameFacePairBitsReference(const MoveCode* codes, std::size_t count, std::uint64_t* bits);
void writeCrossedRowsReference(const MoveCode* first, const MoveCode* second, std::size_t count,
                               std::size_t cut, MoveCode* child1, MoveCode* child2);
std::uint64_t statesBelowMaskReference(const std::int32_t* states, std::int64_t bound);

}  // namespace cubega
