// Index vectors that let the 64-lane path test many facelet equalities with one comparison:
// lane i compares facelet left[i] with facelet right[i]. Unused lanes compare a facelet with
// itself; their bits are masked off.
#pragma once

#include <array>
#include <bit>
#include <cstdint>

#include "cube/permutation.hpp"
#include "eval/scores.hpp"

namespace cubega {

struct EqualityLanes {
    std::array<std::uint8_t, kLaneCount> left{};
    std::array<std::uint8_t, kLaneCount> right{};
};

constexpr std::uint8_t lane(int facelet) { return static_cast<std::uint8_t>(facelet); }
constexpr std::uint8_t centreLane(int facelet) { return lane(9 * (facelet / 9) + 4); }

// Pair score, first vector: lanes 0..23 first equalities of the 24 pairs, 24..47 second
// equalities, 48..63 edge facelets 0..15 against their centres.
constexpr EqualityLanes makePairLanesLow() {
    EqualityLanes v{};
    for (std::size_t p = 0; p < 24; ++p) {
        v.left[p] = lane(kPairConditions[p].a);
        v.right[p] = lane(kPairConditions[p].b);
        v.left[24 + p] = lane(kPairConditions[p].c);
        v.right[24 + p] = lane(kPairConditions[p].d);
    }
    for (int k = 0; k < 16; ++k) {
        v.left[static_cast<std::size_t>(48 + k)] = lane(edgeFacelet(k));
        v.right[static_cast<std::size_t>(48 + k)] = centreLane(edgeFacelet(k));
    }
    return v;
}

// Pair score, second vector: lanes 0..7 edge facelets 16..23 against their centres.
constexpr EqualityLanes makePairLanesHigh() {
    EqualityLanes v{};
    for (int k = 0; k < 8; ++k) {
        v.left[static_cast<std::size_t>(k)] = lane(edgeFacelet(16 + k));
        v.right[static_cast<std::size_t>(k)] = centreLane(edgeFacelet(16 + k));
    }
    return v;
}

// Block score and the edge half of the two-generator test in one vector: lanes 0..5 first
// and 6..11 second equalities of the six block pairs, 12..21 block edge facelets against
// their centres, 22..28 primary facelets against the F centre, 29..35 secondary facelets
// against the U centre.
constexpr EqualityLanes makeBlockLanes() {
    EqualityLanes v{};
    for (std::size_t p = 0; p < 6; ++p) {
        const PairCondition& pair = kPairConditions[kFirstBlockPair + p];
        v.left[p] = lane(pair.a);
        v.right[p] = lane(pair.b);
        v.left[6 + p] = lane(pair.c);
        v.right[6 + p] = lane(pair.d);
    }
    for (std::size_t e = 0; e < kBlockEdgeFacelets.size(); ++e) {
        v.left[12 + e] = lane(kBlockEdgeFacelets[e]);
        v.right[12 + e] = centreLane(kBlockEdgeFacelets[e]);
    }
    for (std::size_t e = 0; e < kTwoGenEdges.size(); ++e) {
        v.left[22 + e] = lane(kTwoGenEdges[e].primary);
        v.right[22 + e] = lane(centreOf(kFront));
        v.left[29 + e] = lane(kTwoGenEdges[e].secondary);
        v.right[29 + e] = lane(centreOf(kUp));
    }
    return v;
}

inline constexpr EqualityLanes kPairLanesLow = makePairLanesLow();
inline constexpr EqualityLanes kPairLanesHigh = makePairLanesHigh();
inline constexpr EqualityLanes kBlockLanes = makeBlockLanes();

// Scores from the comparison masks of the vectors above (bit i set when lane i is equal).
constexpr std::int32_t pairScoreFromMasks(std::uint64_t low, std::uint64_t high) {
    const std::uint64_t joinedPairs = low & (low >> 24) & 0xFFFFFFu;
    return std::popcount(joinedPairs) + std::popcount(low >> 48) + std::popcount(high & 0xFFu);
}

constexpr std::int32_t blockScoreFromMask(std::uint64_t mask) {
    return std::popcount(mask & (mask >> 6) & 0x3Fu) + std::popcount((mask >> 12) & 0x3FFu);
}

constexpr bool twoGenEdgesPassFromMask(std::uint64_t mask) {
    return (((mask >> 22) | (mask >> 29)) & 0x7Fu) == 0x7Fu;
}

}  // namespace cubega
