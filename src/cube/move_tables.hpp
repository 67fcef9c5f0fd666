// Each of the 18 moves as one facelet permutation, derived at compile time from the same
// cycle lists as the plain face turn. The fast move paths apply these in one step.
#pragma once

#include <array>

#include "cube/cube_state.hpp"
#include "cube/moves.hpp"
#include "cube/permutation.hpp"

namespace cubega {

constexpr FaceletPermutation quarterTurnPermutation(int face) {
    const int b = 9 * face;
    // Corner and edge 4-cycles of the face itself (inverse reading of kFaceTurnSource).
    const std::array<std::array<int, 4>, 5> cycles{{
        {b + 0, b + 2, b + 8, b + 6},
        {b + 1, b + 5, b + 7, b + 3},
        kSideCycles[static_cast<std::size_t>(face)][0],
        kSideCycles[static_cast<std::size_t>(face)][1],
        kSideCycles[static_cast<std::size_t>(face)][2],
    }};
    return permutationFromCycles(cycles);
}

constexpr std::array<FaceletPermutation, kMoveCount> makeMovePermutations() {
    std::array<FaceletPermutation, kMoveCount> moves{};
    for (int code = 0; code < kMoveCount; ++code) {
        moves[static_cast<std::size_t>(code)] =
            power(quarterTurnPermutation(faceOf(code)), quarterTurnsOf(code));
    }
    return moves;
}

inline constexpr std::array<FaceletPermutation, kMoveCount> kMovePermutations =
    makeMovePermutations();

constexpr bool everyMoveMovesTwentyFacelets() {
    for (const FaceletPermutation& p : kMovePermutations) {
        if (movedFacelets(p) != 20) {
            return false;
        }
    }
    return true;
}

constexpr bool noMoveMovesACentre() {
    for (const FaceletPermutation& p : kMovePermutations) {
        for (int face = 0; face < kFaceCount; ++face) {
            if (p.source[static_cast<std::size_t>(centreOf(face))] != centreOf(face)) {
                return false;
            }
        }
    }
    return true;
}

constexpr bool fourQuarterTurnsAreIdentity() {
    for (int face = 0; face < kFaceCount; ++face) {
        if (power(quarterTurnPermutation(face), 4) != identityPermutation()) {
            return false;
        }
    }
    return true;
}

static_assert(everyMoveMovesTwentyFacelets());
static_assert(noMoveMovesACentre());
static_assert(fourQuarterTurnsAreIdentity());

// The face's own turn must match the within-face source table of the plain turn.
static_assert([] {
    const FaceletPermutation p = quarterTurnPermutation(kFront);
    for (std::size_t k = 0; k < 9; ++k) {
        if (p.source[k] != kFaceTurnSource[k]) {
            return false;
        }
    }
    return true;
}());

}  // namespace cubega
