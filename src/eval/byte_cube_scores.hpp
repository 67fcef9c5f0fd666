// The scores on a LaneCube, written as fixed lists of comparisons for the fast paths.
// Each gives exactly what its plain counterpart in scores.hpp gives on the same colours.
#pragma once

#include <array>
#include <cstdint>

#include "cube/lane_cube.hpp"
#include "eval/scores.hpp"

namespace cubega {

using PieceCodes = std::array<std::int32_t, 6>;

// 1 when facelets i and j hold one colour: an integer, so conditions combine without branches.
inline std::int32_t sameColour(const LaneCube& cube, int i, int j) {
    return cube.lanes[static_cast<std::size_t>(i)] == cube.lanes[static_cast<std::size_t>(j)] ? 1
                                                                                              : 0;
}

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
                                              static_cast<std::uint8_t>(centreOfFacelet(f))};
    }
    return pairs;
}();

inline std::int32_t pairScoreLanes(const LaneCube& cube) {
    std::int32_t score = 0;
    for (const PairCondition& p : kPairConditions) {
        score += sameColour(cube, p.a, p.b) & sameColour(cube, p.c, p.d);
    }
    for (const auto& [facelet, centre] : kEdgeCentrePairs) {
        score += sameColour(cube, facelet, centre);
    }
    return score;
}

inline std::int32_t blockScoreLanes(const LaneCube& cube) {
    std::int32_t score = 0;
    for (std::size_t i = kFirstBlockPair; i < kPairConditions.size(); ++i) {
        const PairCondition& p = kPairConditions[i];
        score += sameColour(cube, p.a, p.b) & sameColour(cube, p.c, p.d);
    }
    for (const int f : kBlockEdgeFacelets) {
        score += sameColour(cube, f, centreOfFacelet(f));
    }
    return score;
}

inline bool twoGenEdgesPassLanes(const LaneCube& cube) {
    std::int32_t pass = 1;
    for (const EdgePosition& e : kTwoGenEdges) {
        pass &= sameColour(cube, e.primary, centreOf(kFront)) |
                sameColour(cube, e.secondary, centreOf(kUp));
    }
    return pass == 1;
}

inline bool isAllowedTwoGenKey(std::int32_t key) {
    std::int32_t allowed = 0;
    for (const std::int32_t k : kAllowedKeys) {
        allowed |= k == key ? 1 : 0;
    }
    return allowed == 1;
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
        everyPositionMatched = everyPositionMatched && piece >= 0;
        const std::size_t index = piece < 0 ? 0 : static_cast<std::size_t>(piece);
        keyA = 10 * keyA + kClassA[index];
        keyB = 10 * keyB + kClassB[index];
    }
    return everyPositionMatched && isAllowedTwoGenKey(keyA) && isAllowedTwoGenKey(keyB);
}

}  // namespace cubega
