// Whole-cube rotations: the cube turns in space, every colour moves to another position,
// and the colour values stay as they are (so centres no longer hold their face index).
#pragma once

#include <array>

#include "cube/cube_state.hpp"
#include "cube/move_tables.hpp"
#include "cube/moves.hpp"
#include "cube/permutation.hpp"

namespace cubega {

// y: a quarter turn about the U-D axis in the direction of a clockwise U turn (F goes to L).
inline constexpr FaceletPermutation kRotationY =
    permutationFromCycles(std::array<std::array<int, 4>, 13>{{{0, 45, 27, 18},
                                                              {1, 46, 28, 19},
                                                              {2, 47, 29, 20},
                                                              {3, 48, 30, 21},
                                                              {4, 49, 31, 22},
                                                              {5, 50, 32, 23},
                                                              {6, 51, 33, 24},
                                                              {7, 52, 34, 25},
                                                              {8, 53, 35, 26},
                                                              {9, 11, 17, 15},
                                                              {10, 14, 16, 12},
                                                              {36, 42, 44, 38},
                                                              {37, 39, 43, 41}}});

// x: a quarter turn about the L-R axis in the direction of a clockwise R turn (F goes to U).
inline constexpr FaceletPermutation kRotationX =
    permutationFromCycles(std::array<std::array<int, 4>, 13>{{{0, 9, 35, 36},
                                                              {1, 10, 34, 37},
                                                              {2, 11, 33, 38},
                                                              {3, 12, 32, 39},
                                                              {4, 13, 31, 40},
                                                              {5, 14, 30, 41},
                                                              {6, 15, 29, 42},
                                                              {7, 16, 28, 43},
                                                              {8, 17, 27, 44},
                                                              {18, 20, 26, 24},
                                                              {19, 23, 25, 21},
                                                              {45, 51, 53, 47},
                                                              {46, 48, 52, 50}}});

// xy: a third of a turn about the FUR-BDL diagonal (F goes to U, U to R, R to F).
inline constexpr FaceletPermutation kRotationXY =
    permutationFromCycles(std::array<std::array<int, 3>, 18>{{{0, 11, 24},
                                                              {1, 14, 21},
                                                              {2, 17, 18},
                                                              {3, 10, 25},
                                                              {4, 13, 22},
                                                              {5, 16, 19},
                                                              {6, 9, 26},
                                                              {7, 12, 23},
                                                              {8, 15, 20},
                                                              {27, 38, 47},
                                                              {28, 41, 50},
                                                              {29, 44, 53},
                                                              {30, 37, 46},
                                                              {31, 40, 49},
                                                              {32, 43, 52},
                                                              {33, 36, 45},
                                                              {34, 39, 48},
                                                              {35, 42, 51}}});

static_assert(power(kRotationY, 4) == identityPermutation());
static_assert(power(kRotationX, 4) == identityPermutation());
static_assert(power(kRotationXY, 3) == identityPermutation());
static_assert(compose(kRotationX, kRotationY) == kRotationXY, "xy is x followed by y");
static_assert(compose(kRotationXY, power(kRotationY, 3)) == kRotationX);

constexpr CubeState rotateY(const CubeState& cube) {
    return permute(cube, kRotationY);
}
constexpr CubeState rotateX(const CubeState& cube) {
    return permute(cube, kRotationX);
}
constexpr CubeState rotateXY(const CubeState& cube) {
    return permute(cube, kRotationXY);
}

enum class Rotation { y, x, xy };

constexpr const FaceletPermutation& permutationOf(Rotation rotation) {
    switch (rotation) {
        case Rotation::x:
            return kRotationX;
        case Rotation::xy:
            return kRotationXY;
        default:
            return kRotationY;
    }
}

constexpr CubeState rotate(const CubeState& cube, Rotation rotation) {
    return permute(cube, permutationOf(rotation));
}

// The move that, made before the rotation, turns the cube as `code` (0..17) turns it after the
// rotation: applyMove(rotate(c, r), code) == rotate(applyMove(c, moveBeforeRotation(r, code)),
// r). The same kind of turn, of the face that the rotation brings to code's face.
constexpr MoveCode moveBeforeRotation(Rotation rotation, MoveCode code) {
    const FaceletPermutation& turned = permutationOf(rotation);
    const FaceletPermutation after =
        compose(turned, kMovePermutations[static_cast<std::size_t>(code)]);
    for (MoveCode before = 0; before < kMoveCount; ++before) {
        if (compose(kMovePermutations[static_cast<std::size_t>(before)], turned) == after) {
            return before;
        }
    }
    return -1;
}
static_assert(
    [] {
        for (const Rotation rotation : {Rotation::y, Rotation::x, Rotation::xy}) {
            for (MoveCode code = 0; code < kMoveCount; ++code) {
                const MoveCode before = moveBeforeRotation(rotation, code);
                if (before < 0 || quarterTurnsOfMove(before) != quarterTurnsOfMove(code)) {
                    return false;
                }
            }
        }
        return true;
    }(),
    "a rotation turns every move into a move of the same kind");

}  // namespace cubega
