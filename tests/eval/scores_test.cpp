#include "eval/scores.hpp"

#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <numeric>
#include <random>

#include "cube/moves.hpp"
#include "cube/rotations.hpp"
#include "support/test_support.hpp"

namespace cubega {
namespace {

CubeState renamed(const CubeState& cube, const std::array<std::int32_t, 6>& newColour) {
    CubeState result = cube;
    for (int i = 0; i < kFaceletCount; ++i) {
        result[i] = newColour[static_cast<std::size_t>(cube[i])];
    }
    return result;
}

TEST(PairScore, SolvedCubeScoresFortyEight) {
    EXPECT_EQ(pairScore(solvedCube()), 48);
}

TEST(PairScore, EverySingleMoveFromSolvedScoresForty) {
    for (MoveCode code = 0; code < kMoveCount; ++code) {
        EXPECT_EQ(pairScore(applyMove(solvedCube(), code)), 40) << "code " << code;
    }
}

TEST(PairScore, OnlyTheSolvedCubeReachesFortyEight) {
    std::mt19937 rng(21);
    for (int trial = 0; trial < 500; ++trial) {
        const CubeState cube = testing::randomCube(rng, 1 + trial % 25);
        EXPECT_EQ(pairScore(cube) == 48, isSolved(cube));
    }
}

TEST(PairScore, CountsAJoinedPairWhereverItStands) {
    // A whole-cube rotation moves every pair; every pair and no edge-centre match survives
    // only where the centres went along, which a rotation guarantees: still 48.
    EXPECT_EQ(pairScore(rotateXY(solvedCube())), 48);
    EXPECT_EQ(pairScore(rotateY(solvedCube())), 48);
}

TEST(BlockScore, SolvedAndSingleMoves) {
    EXPECT_EQ(blockScore(solvedCube()), 16);
    for (MoveCode kind = 0; kind < 18; kind += 6) {
        EXPECT_EQ(blockScore(applyMove(solvedCube(), kind + kFront)), 16);
        EXPECT_EQ(blockScore(applyMove(solvedCube(), kind + kUp)), 16);
        EXPECT_EQ(blockScore(applyMove(solvedCube(), kind + kRight)), 13);
        EXPECT_EQ(blockScore(applyMove(solvedCube(), kind + kLeft)), 13);
        EXPECT_EQ(blockScore(applyMove(solvedCube(), kind + kBack)), 11);
        EXPECT_EQ(blockScore(applyMove(solvedCube(), kind + kDown)), 11);
    }
}

TEST(BlockScore, FrontAndUpTurnsNeverTouchTheBlock) {
    std::mt19937 rng(4);
    std::uniform_int_distribution<int> pick(0, 5);
    const MoveCode twoGenMoves[] = {0, 1, 6, 7, 12, 13};
    for (int trial = 0; trial < 200; ++trial) {
        CubeState cube = solvedCube();
        for (int m = 0; m < 40; ++m) {
            cube = applyMove(cube, twoGenMoves[pick(rng)]);
        }
        EXPECT_EQ(blockScore(cube), 16);
        EXPECT_TRUE(inTwoGenGroup(cube));
    }
}

TEST(Scores, RenamingTheColoursChangesNoScore) {
    std::mt19937 rng(8);
    std::array<std::int32_t, 6> colours{0, 1, 2, 3, 4, 5};
    for (int trial = 0; trial < 300; ++trial) {
        const CubeState cube = testing::randomCube(rng, trial % 12);
        std::shuffle(colours.begin(), colours.end(), rng);
        const CubeState other = renamed(cube, colours);
        EXPECT_EQ(pairScore(other), pairScore(cube));
        EXPECT_EQ(blockScore(other), blockScore(cube));
        EXPECT_EQ(inTwoGenGroup(other), inTwoGenGroup(cube));
    }
}

}  // namespace
}  // namespace cubega
