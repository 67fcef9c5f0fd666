// The scores on a LaneCube, written as fixed lists of comparisons for the fast paths.
// Each gives exactly what its plain counterpart in scores.hpp gives on the same colours.
#pragma once

#include <array>
#include <cstdint>

#include "cube/lane_cube.hpp"
#include "eval/scores.hpp"

namespace cubega {

using PieceCodes = std::array<std::int32_t, 6>;

inline std::int32_t laneColourBit(std::uint8_t colour) {
    return colour < 31 ? std::int32_t{1} << colour : 0;
}

inline std::int32_t laneColourSetCode(const LaneCube& cube, const std::array<int, 3>& facelets) {
    return laneColourBit(cube.lanes[static_cast<std::size_t>(facelets[0])]) +
           laneColourBit(cube.lanes[static_cast<std::size_t>(facelets[1])]) +
           laneColourBit(cube.lanes[static_cast<std::size_t>(facelets[2])]);
}

// Codes of the six F/U-layer corner pieces, read from the centres (which no move changes).
inline PieceCodes pieceCodesOf(const LaneCube& cube) {
    PieceCodes codes{};
    for (std::size_t j = 0; j < codes.size(); ++j) {
        codes[j] = laneColourSetCode(cube, kTwoGenCornerPieces[j]);
    }
    return codes;
}

// Edge facelets with their centres, as (facelet, centre) index pairs.
inline constexpr auto kEdgeCentrePairs = [] {
    std::array<std::array<std::uint8_t, 2>, 24> pairs{};
    for (int k = 0; k < 24; ++k) {
        const int f = edgeFacelet(k);
        pairs[static_cast<std::size_t>(k)] = {static_cast<std::uint8_t>(f),
                                              static_cast<std::uint8_t>(9 * (f / 9) + 4)};
    }
    return pairs;
}();

inline std::int32_t pairScoreLanes(const LaneCube& cube) {
    const auto& c = cube.lanes;
    std::int32_t score = 0;
    for (const PairCondition& p : kPairConditions) {
        score += (c[static_cast<std::size_t>(p.a)] == c[static_cast<std::size_t>(p.b)]) &
                 (c[static_cast<std::size_t>(p.c)] == c[static_cast<std::size_t>(p.d)]);
    }
    for (const auto& [facelet, centre] : kEdgeCentrePairs) {
        score += c[facelet] == c[centre];
    }
    return score;
}

inline std::int32_t blockScoreLanes(const LaneCube& cube) {
    const auto& c = cube.lanes;
    std::int32_t score = 0;
    for (std::size_t i = kFirstBlockPair; i < kPairConditions.size(); ++i) {
        const PairCondition& p = kPairConditions[i];
        score += (c[static_cast<std::size_t>(p.a)] == c[static_cast<std::size_t>(p.b)]) &
                 (c[static_cast<std::size_t>(p.c)] == c[static_cast<std::size_t>(p.d)]);
    }
    for (const int f : kBlockEdgeFacelets) {
        score += c[static_cast<std::size_t>(f)] == c[static_cast<std::size_t>(9 * (f / 9) + 4)];
    }
    return score;
}

inline bool twoGenEdgesPassLanes(const LaneCube& cube) {
    const auto& c = cube.lanes;
    bool pass = true;
    for (const EdgePosition& e : kTwoGenEdges) {
        pass &= (c[static_cast<std::size_t>(e.primary)] == c[centreOf(kFront)]) |
                (c[static_cast<std::size_t>(e.secondary)] == c[centreOf(kUp)]);
    }
    return pass;
}

inline bool isAllowedTwoGenKey(std::int32_t key) {
    bool allowed = false;
    for (const std::int32_t k : kAllowedKeys) {
        allowed |= k == key;
    }
    return allowed;
}

// The corner half of the two-generator test: each F/U-layer corner position must hold one of
// the six F/U-layer pieces, and both class keys must be allowed.
inline bool twoGenCornersPassLanes(const LaneCube& cube, const PieceCodes& pieces) {
    bool everyPositionMatched = true;
    std::int32_t keyA = 0;
    std::int32_t keyB = 0;
    for (const auto& position : kTwoGenCornerPositions) {
        const std::int32_t code = laneColourSetCode(cube, position);
        int piece = -1;
        for (int j = 5; j >= 0; --j) {  // the lowest matching piece, as the plain test takes it
            piece = pieces[static_cast<std::size_t>(j)] == code ? j : piece;
        }
        everyPositionMatched &= piece >= 0;
        const std::size_t index = piece < 0 ? 0 : static_cast<std::size_t>(piece);
        keyA = 10 * keyA + kClassA[index];
        keyB = 10 * keyB + kClassB[index];
    }
    return everyPositionMatched && isAllowedTwoGenKey(keyA) && isAllowedTwoGenKey(keyB);
}

inline std::int32_t twoGenEntryScoreLanes(const LaneCube& cube, const PieceCodes& pieces) {
    const bool inGroup = twoGenEdgesPassLanes(cube) && twoGenCornersPassLanes(cube, pieces);
    return 10 * (inGroup ? 1 : 0) + 10 * blockScoreLanes(cube);
}

}  // namespace cubega
