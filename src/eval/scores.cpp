// The plain scores, written condition by condition: the definition the fast path is held to.
#include "eval/scores.hpp"

namespace cubega {

namespace {

std::int32_t joined(const CubeState& cube, const PairCondition& pair) {
    return cube[pair.a] == cube[pair.b] && cube[pair.c] == cube[pair.d] ? 1 : 0;
}

std::int32_t matchesCentre(const CubeState& cube, int facelet) {
    return cube[facelet] == cube[centreOfFacelet(facelet)] ? 1 : 0;
}

// 2^colour for colours 0..5; anything else adds nothing rather than shifting out of range.
std::int32_t colourBit(std::int32_t colour) {
    return colour >= 0 && colour < 31 ? std::int32_t{1} << colour : 0;
}

std::int32_t colourSetCode(const CubeState& cube, const std::array<int, 3>& facelets) {
    return colourBit(cube[facelets[0]]) + colourBit(cube[facelets[1]]) +
           colourBit(cube[facelets[2]]);
}

bool isAllowedKey(std::int32_t key) {
    bool allowed = false;
    for (const std::int32_t k : kAllowedKeys) {
        allowed = allowed || k == key;
    }
    return allowed;
}

bool edgesPass(const CubeState& cube) {
    int passing = 0;
    for (const EdgePosition& e : kTwoGenEdges) {
        if (cube[e.primary] == cube[centreOf(kFront)] || cube[e.secondary] == cube[centreOf(kUp)]) {
            ++passing;
        }
    }
    return passing == 7;
}

}  // namespace

std::int32_t pairScore(const CubeState& cube) {
    std::int32_t score = 0;
    for (const PairCondition& pair : kPairConditions) {
        score += joined(cube, pair);
    }
    for (int k = 0; k < 24; ++k) {
        score += matchesCentre(cube, edgeFacelet(k));
    }
    return score;
}

std::int32_t blockScore(const CubeState& cube) {
    std::int32_t score = 0;
    for (std::size_t p = kFirstBlockPair; p < kPairConditions.size(); ++p) {
        score += joined(cube, kPairConditions[p]);
    }
    for (const int facelet : kBlockEdgeFacelets) {
        score += matchesCentre(cube, facelet);
    }
    return score;
}

bool inTwoGenGroup(const CubeState& cube) {
    if (!edgesPass(cube)) {
        return false;
    }
    std::int32_t keyA = 0;
    std::int32_t keyB = 0;
    for (const auto& position : kTwoGenCornerPositions) {
        const std::int32_t code = colourSetCode(cube, position);
        int piece = -1;
        for (int j = 5; j >= 0; --j) {
            if (colourSetCode(cube, kTwoGenCornerPieces[static_cast<std::size_t>(j)]) == code) {
                piece = j;
            }
        }
        if (piece < 0) {
            return false;  // a block corner stands here: F and U turns cannot bring it home
        }
        keyA = 10 * keyA + kClassA[static_cast<std::size_t>(piece)];
        keyB = 10 * keyB + kClassB[static_cast<std::size_t>(piece)];
    }
    return isAllowedKey(keyA) && isAllowedKey(keyB);
}

}  // namespace cubega
