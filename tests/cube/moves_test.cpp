#include "cube/moves.hpp"

#include <gtest/gtest.h>

#include <random>
#include <vector>

#include "support/test_support.hpp"

namespace cubega {
namespace {

TEST(Moves, HalfAndAnticlockwiseTurnsRepeatTheQuarterTurn) {
    std::mt19937 rng(11);
    const CubeState start = testing::randomCube(rng, 30);
    for (MoveCode m = 0; m < 6; ++m) {
        EXPECT_EQ(applyMove(start, m + 6), applyMove(applyMove(start, m), m));
        EXPECT_EQ(applyMove(start, m + 12), applyMove(applyMove(applyMove(start, m), m), m));
    }
}

TEST(Moves, AMoveAndItsInverseCancel) {
    const CubeState start = testing::distinctFacelets();
    for (MoveCode m = 0; m < 6; ++m) {
        EXPECT_EQ(applyMove(applyMove(start, m), m + 12), start);
        EXPECT_EQ(applyMove(applyMove(start, m + 12), m), start);
        EXPECT_EQ(applyMove(applyMove(start, m + 6), m + 6), start);
    }
}

TEST(Moves, CodesFromEighteenUpChangeNothingAndPrintWithApostrophe) {
    const CubeState start = testing::distinctFacelets();
    for (MoveCode code : {18, 19, 23, 24, 40}) {
        EXPECT_EQ(applyMove(start, code), start);
    }
    const std::vector<MoveCode> codes{18, 23};
    EXPECT_EQ(movesToText(codes), "F' L' ");
}

TEST(Moves, NegativeFaceTurnsNothing) {
    const CubeState start = testing::distinctFacelets();
    const std::vector<MoveCode> moves{-1, -6};
    EXPECT_EQ(applyMove(start, -1), start);
    EXPECT_EQ(applyMove(start, -6), applyMove(start, 0)) << "-6 has face 0: a clockwise F turn";
    EXPECT_EQ(applySequence(start, moves), applyMove(start, 0));
}

TEST(Sequences, EmptySequenceChangesNothingAndHasEmptyText) {
    const CubeState start = testing::distinctFacelets();
    EXPECT_EQ(applySequence(start, {}), start);
    EXPECT_EQ(movesToText({}), "");
}

TEST(Sequences, AppliedInOrder) {
    const std::vector<MoveCode> moves{2, 1, 14};  // R U R'
    const CubeState expected = applyMove(applyMove(applyMove(solvedCube(), 2), 1), 14);
    EXPECT_EQ(applySequence(solvedCube(), moves), expected);
}

TEST(MoveText, ThreeCharactersPerMove) {
    const std::vector<MoveCode> codes{0, 6, 12};
    EXPECT_EQ(movesToText(codes), "F  F2 F' ");
    const std::vector<MoveCode> all{0, 1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12, 13, 14, 15, 16, 17};
    EXPECT_EQ(movesToText(all), "F  U  R  B  D  L  F2 U2 R2 B2 D2 L2 F' U' R' B' D' L' ");
}

TEST(MoveText, ParseReadsBackEveryCode) {
    for (MoveCode code = 0; code < kMoveCount; ++code) {
        const std::vector<MoveCode> one{code};
        MoveCode parsed = -99;
        parseMove(movesToText(one).substr(0, 2), parsed);
        EXPECT_EQ(parsed, code);
    }
}

TEST(MoveText, ParseExamples) {
    MoveCode move = 0;
    parseMove("L'", move);
    EXPECT_EQ(move, 17);
    parseMove("D2", move);
    EXPECT_EQ(move, 10);
    parseMove("U ", move);
    EXPECT_EQ(move, 1);
    parseMove("R2", move);
    EXPECT_EQ(move, 8);
    parseMove("f2", move);  // lower case is not a face: only the 2 counts
    EXPECT_EQ(move, 14);
}

}  // namespace
}  // namespace cubega
