#include "cube/cube_state.hpp"

#include <gtest/gtest.h>

#include <random>

#include "cube/move_tables.hpp"
#include "cube/permutation.hpp"
#include "support/test_support.hpp"

namespace cubega {
namespace {

using testing::distinctFacelets;

TEST(FaceTurns, FourQuarterTurnsAreIdentity) {
    const CubeState start = distinctFacelets();
    for (int face = 0; face < kFaceCount; ++face) {
        CubeState cube = start;
        for (int t = 0; t < 4; ++t) {
            cube = quarterTurn(cube, face);
        }
        EXPECT_EQ(cube, start) << "face " << face;
    }
}

TEST(FaceTurns, QuarterTurnChangesExactlyTwentyFaceletsAndNoCentre) {
    const CubeState start = distinctFacelets();
    for (int face = 0; face < kFaceCount; ++face) {
        const CubeState turned = quarterTurn(start, face);
        int changed = 0;
        for (int i = 0; i < kFaceletCount; ++i) {
            changed += turned[i] != start[i] ? 1 : 0;
        }
        EXPECT_EQ(changed, 20) << "face " << face;
        for (int c = 0; c < kFaceCount; ++c) {
            EXPECT_EQ(turned[centreOf(c)], start[centreOf(c)]);
        }
    }
}

TEST(FaceTurns, RotateFaceTurnsOnlyTheFaceItself) {
    const CubeState start = distinctFacelets();
    const CubeState turned = rotateFace(start, kRight);
    for (int i = 0; i < kFaceletCount; ++i) {
        if (i / 9 != kRight) {
            EXPECT_EQ(turned[i], start[i]);
        }
    }
    // Corner cycle R0 -> R2 -> R8 -> R6 and edge cycle R1 -> R5 -> R7 -> R3.
    EXPECT_EQ(turned[20], start[18]);
    EXPECT_EQ(turned[26], start[20]);
    EXPECT_EQ(turned[24], start[26]);
    EXPECT_EQ(turned[18], start[24]);
    EXPECT_EQ(turned[23], start[19]);
    EXPECT_EQ(turned[21], start[25]);
}

TEST(FaceTurns, ClockwiseFrontTurnOnSolvedCube) {
    const CubeState cube = quarterTurn(solvedCube(), kFront);
    for (int k : {15, 16, 17})
        EXPECT_EQ(cube[k], kLeft) << "U row";
    for (int k : {18, 21, 24})
        EXPECT_EQ(cube[k], kUp) << "R column";
    for (int k : {36, 37, 38})
        EXPECT_EQ(cube[k], kRight) << "D row";
    for (int k : {47, 50, 53})
        EXPECT_EQ(cube[k], kDown) << "L column";
}

TEST(FaceTurns, ClockwiseUpTurnOnSolvedCube) {
    const CubeState cube = quarterTurn(solvedCube(), kUp);
    for (int k : {0, 1, 2})
        EXPECT_EQ(cube[k], kRight);
    for (int k : {45, 46, 47})
        EXPECT_EQ(cube[k], kFront);
}

TEST(FaceTurns, PrecomputedPermutationsEqualRepeatedQuarterTurns) {
    std::mt19937 rng(7);
    for (int trial = 0; trial < 50; ++trial) {
        const CubeState start = testing::randomCube(rng, 25);
        for (int code = 0; code < kMoveCount; ++code) {
            CubeState plain = start;
            for (int q = 0; q < quarterTurnsOf(code); ++q) {
                plain = quarterTurn(plain, faceOf(code));
            }
            EXPECT_EQ(permute(start, kMovePermutations[static_cast<std::size_t>(code)]), plain);
        }
    }
}

}  // namespace
}  // namespace cubega
