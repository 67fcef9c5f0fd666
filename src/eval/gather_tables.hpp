// Gather indices that let the vector back ends test many facelet equalities at once.
//
// One 64-lane gather puts the left sides of up to 32 equalities in lanes 0..31 and their
// right sides in lanes 32..63, so comparing the two halves tests them all. Right sides that
// are centres never change during an evaluation (no move turns a centre), so those are
// compared with a vector of constants instead of being gathered. Unused lanes gather facelet
// 0 on both sides; their bits are masked off.
#pragma once

#include <array>
#include <bit>
#include <cstdint>

#include "cube/move_tables.hpp"
#include "cube/permutation.hpp"
#include "eval/scores.hpp"

namespace cubega {

using LaneIndex = std::array<std::uint8_t, kLaneCount>;

constexpr std::uint8_t lane(int facelet) {
    return static_cast<std::uint8_t>(facelet);
}
constexpr std::uint8_t centreLane(int facelet) {
    return lane(centreOfFacelet(facelet));
}

// Equality e of the pair score: e = 0..23 the first equalities of the 24 pairs, 24..47 the
// second ones.
constexpr std::array<std::uint8_t, 2> pairEquality(std::size_t e) {
    const PairCondition& p = kPairConditions[e % 24];
    return e < 24 ? std::array<std::uint8_t, 2>{lane(p.a), lane(p.b)}
                  : std::array<std::uint8_t, 2>{lane(p.c), lane(p.d)};
}

// Pair score, first gather: equalities 0..31 (left in 0..31, right in 32..63).
constexpr LaneIndex makePairGatherFirst() {
    LaneIndex v{};
    for (std::size_t e = 0; e < 32; ++e) {
        v[e] = pairEquality(e)[0];
        v[32 + e] = pairEquality(e)[1];
    }
    return v;
}

// Pair score, the rest: equalities 32..47 in the low 32 lanes alone (left sides in 0..15,
// right sides in 16..31), for back ends where half a gather costs half. The edge facelets
// are compared in place with their centres (kEdgeCentreIndex).
constexpr LaneIndex makePairGatherRest() {
    LaneIndex v{};
    for (std::size_t e = 32; e < 48; ++e) {
        v[e - 32] = pairEquality(e)[0];
        v[e - 16] = pairEquality(e)[1];
    }
    return v;
}

// Block score in one gather: lanes 0..5 / 6..11 the first / second equalities of the six
// block pairs, 12..21 the block edge facelets; their right sides 32 lanes up. The same
// gather carries the edge half of the two-generator test in lanes the halves comparison
// ignores: the primary facelets in 22..28 and the secondary ones in 54..60, compared with
// the F and U centres (kTwoGenEdgeCentres) by a comparison of their own.
constexpr LaneIndex makeBlockGather() {
    LaneIndex v{};
    for (std::size_t p = 0; p < 6; ++p) {
        const PairCondition& pair = kPairConditions[kFirstBlockPair + p];
        v[p] = lane(pair.a);
        v[32 + p] = lane(pair.b);
        v[6 + p] = lane(pair.c);
        v[38 + p] = lane(pair.d);
    }
    for (std::size_t e = 0; e < kBlockEdgeFacelets.size(); ++e) {
        v[12 + e] = lane(kBlockEdgeFacelets[e]);
        v[44 + e] = centreLane(kBlockEdgeFacelets[e]);
    }
    for (std::size_t e = 0; e < kTwoGenEdges.size(); ++e) {
        v[22 + e] = lane(kTwoGenEdges[e].primary);
        v[54 + e] = lane(kTwoGenEdges[e].secondary);
    }
    return v;
}

constexpr LaneIndex makeTwoGenEdgeCentres() {
    LaneIndex v{};
    for (std::size_t e = 0; e < kTwoGenEdges.size(); ++e) {
        v[22 + e] = lane(centreOf(kFront));
        v[54 + e] = lane(centreOf(kUp));
    }
    return v;
}

inline constexpr LaneIndex kPairGatherFirst = makePairGatherFirst();
inline constexpr LaneIndex kPairGatherRest = makePairGatherRest();
inline constexpr LaneIndex kBlockGather = makeBlockGather();
inline constexpr LaneIndex kTwoGenEdgeCentres = makeTwoGenEdgeCentres();

// The pair score as 16-bit lanes: lane p of the left gather holds facelets (a, c) of pair p
// and the right gather (b, d), so one 16-bit comparison tests a whole corner-edge pair.
constexpr LaneIndex makePairWords(bool left) {
    LaneIndex v{};
    for (std::size_t p = 0; p < kPairConditions.size(); ++p) {
        const PairCondition& pair = kPairConditions[p];
        v[2 * p] = lane(left ? pair.a : pair.b);
        v[2 * p + 1] = lane(left ? pair.c : pair.d);
    }
    return v;
}

// The edge-centre conditions need no gather: every edge facelet is compared, in place, with
// a constant vector holding its centre's colour (gathered once from the start cube with this
// index; other lanes are masked off by kEdgeFaceletBits).
constexpr LaneIndex makeEdgeCentreIndex() {
    LaneIndex v = identityPermutation().source;
    for (int k = 0; k < 24; ++k) {
        v[static_cast<std::size_t>(edgeFacelet(k))] = centreLane(edgeFacelet(k));
    }
    return v;
}

constexpr std::uint64_t makeEdgeFaceletBits() {
    std::uint64_t bits = 0;
    for (int k = 0; k < 24; ++k) {
        bits |= std::uint64_t{1} << edgeFacelet(k);
    }
    return bits;
}

inline constexpr LaneIndex kPairWordsLeft = makePairWords(true);
inline constexpr LaneIndex kPairWordsRight = makePairWords(false);
inline constexpr LaneIndex kEdgeCentreIndex = makeEdgeCentreIndex();
inline constexpr std::uint64_t kEdgeFaceletBits = makeEdgeFaceletBits();

// A gather composed with each move: gathering with composed[m] from a cube gives what the
// gather gives on the cube after move m, so the score after a move needs no turned cube.
constexpr std::array<LaneIndex, kMoveCount> composeWithMoves(const LaneIndex& gather) {
    std::array<LaneIndex, kMoveCount> composed{};
    for (std::size_t m = 0; m < kMoveCount; ++m) {
        for (std::size_t i = 0; i < kLaneCount; ++i) {
            composed[m][i] = kMovePermutations[m].source[gather[i]];
        }
    }
    return composed;
}

// The corner-edge pairs that hold, from first: equalities 0..31, rest: equalities 32..47 in
// bits 0..15 (pair p holds when equalities p and p + 24 do).
constexpr std::int32_t pairsFromMasks(std::uint32_t first, std::uint32_t rest) {
    const std::uint64_t equalities = first | (std::uint64_t{rest & 0xFFFFu} << 32);
    return std::popcount(equalities & (equalities >> 24) & 0xFFFFFFu);
}

constexpr std::int32_t blockScoreFromMask(std::uint32_t mask) {
    return std::popcount(mask & (mask >> 6) & 0x3Fu) + std::popcount(mask & 0x3FF000u);
}

// From the comparison of the block gather with kTwoGenEdgeCentres.
constexpr bool twoGenEdgesPassFromMask(std::uint64_t mask) {
    return (((mask >> 22) | (mask >> 54)) & 0x7Fu) == 0x7Fu;
}

}  // namespace cubega
