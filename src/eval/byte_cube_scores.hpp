// The parts of the scores that the back ends take from a LaneCube as plain code: the colour-set
// codes of corner pieces and the corner half of the two-generator test, rarely reached. Each
// gives exactly what its plain counterpart in scores.cpp gives on the same colours.
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
