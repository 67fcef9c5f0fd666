#include "eval/evaluate.hpp"

#include <gtest/gtest.h>

#include <random>
#include <string>
#include <vector>

#include "cube/rotations.hpp"
#include "support/test_support.hpp"

namespace cubega {
namespace {

std::vector<MoveCode> slots(std::initializer_list<MoveCode> head, MoveCode fill = 1) {
    std::vector<MoveCode> sequence(head);
    sequence.resize(30, fill);
    return sequence;
}

std::vector<BackEnd> availablePaths() {
    std::vector<BackEnd> paths;
    for (BackEnd path : kBackEnds) {
        if (backEndAvailable(path)) {
            paths.push_back(path);
        }
    }
    return paths;
}

// Every worked example must come out the same on every path.
Evaluation evaluateEverywhere(const CubeState& start, const std::vector<MoveCode>& sequence,
                              EvalMode mode) {
    const Evaluation reference = evaluateSequenceReference(start, sequence, mode);
    for (BackEnd path : availablePaths()) {
        EXPECT_EQ(SequenceEvaluator(start, mode, path)(sequence), reference) << backEndName(path);
    }
    EXPECT_EQ(evaluateSequence(start, sequence, 30, mode), reference);
    return reference;
}

TEST(Evaluation, BlockKeptByEveryUpTurnCountsFromTheFirstMove) {
    EXPECT_EQ(evaluateEverywhere(solvedCube(), slots({}, 1), kBlockMode), (Evaluation{159, 1}));
}

TEST(Evaluation, EntryScoreOfRThenRInverse) {
    std::mt19937 rng(1);
    for (int trial = 0; trial < 5; ++trial) {
        std::vector<MoveCode> sequence = testing::randomMoves(rng, 30);
        sequence[0] = 2;
        sequence[1] = 14;
        EXPECT_EQ(evaluateEverywhere(solvedCube(), sequence, kTwoGenEntryMode),
                  (Evaluation{1698, 2}));
    }
}

TEST(Evaluation, PairScoreOfFThenFInverse) {
    std::mt19937 rng(2);
    for (int trial = 0; trial < 5; ++trial) {
        std::vector<MoveCode> sequence = testing::randomMoves(rng, 30);
        sequence[0] = 0;
        sequence[1] = 12;
        EXPECT_EQ(evaluateEverywhere(solvedCube(), sequence, kPairMode), (Evaluation{478, 2}));
    }
}

TEST(Evaluation, NoPrefixAboveZeroGivesZeroZero) {
    // A cube whose facelets are all different scores 0 in the pair score after any move.
    std::vector<MoveCode> sequence = slots({0, 1, 2});
    EXPECT_EQ(evaluateEverywhere(testing::distinctFacelets(), sequence, kPairMode),
              (Evaluation{0, 0}));
}

TEST(Evaluation, TiesGoToTheShorterPrefix) {
    // F F' reaches 48 at move 2; F' F ... reaches it again later, which must not count.
    std::vector<MoveCode> sequence = slots({0, 12, 0, 12, 6, 6});
    EXPECT_EQ(evaluateEverywhere(solvedCube(), sequence, kPairMode), (Evaluation{478, 2}));
}

TEST(Evaluation, BestScoreFirstReachedAtTheLastSlot) {
    // Scrambled by the inverse of the last move, the cube is solved only after slot 30.
    std::vector<MoveCode> sequence = slots({}, 0);
    for (std::size_t i = 0; i < 30; ++i) {
        sequence[i] = i % 2 == 0 ? 0 : 1;  // F U F U ...
    }
    sequence[28] = 2;  // ... R, then L as the last move
    sequence[29] = 5;
    // Start from the cube that the whole sequence solves.
    std::vector<MoveCode> inverse;
    for (auto it = sequence.rbegin(); it != sequence.rend(); ++it) {
        inverse.push_back(*it < 6 ? *it + 12 : (*it >= 12 ? *it - 12 : *it));
    }
    const CubeState scrambled = applySequence(solvedCube(), inverse);
    const Evaluation result = evaluateEverywhere(scrambled, sequence, kPairMode);
    EXPECT_EQ(result, (Evaluation{480 - 30, 30}));
}

TEST(Evaluation, MovesBehindTheBestPrefixCarryNoWeight) {
    std::vector<MoveCode> a = slots({0, 12}, 3);
    std::vector<MoveCode> b = slots({0, 12}, 16);
    EXPECT_EQ(evaluateEverywhere(solvedCube(), a, kPairMode),
              evaluateEverywhere(solvedCube(), b, kPairMode));
}

// The counted moves alone reach the best score, at their last move, and one move fewer does
// not: ties go to the shorter prefix and nothing after it counts.
TEST(Evaluation, TheCountedMovesAloneReachTheBestScoreAndOneFewerDoesNot) {
    std::mt19937 rng(17);
    for (int trial = 0; trial < 100; ++trial) {
        const CubeState start = testing::randomCube(rng, 10);
        const std::vector<MoveCode> sequence = testing::randomMoves(rng, 30);
        for (EvalMode mode : {kPairMode, kBlockMode, kTwoGenEntryMode}) {
            const Evaluation e = evaluateSequenceReference(start, sequence, mode);
            const std::span<const MoveCode> all(sequence);
            const auto counted = all.first(static_cast<std::size_t>(e.moveCount));
            for (BackEnd path : availablePaths()) {
                EXPECT_EQ(SequenceEvaluator(start, mode, path)(counted), e);
            }
            if (e.moveCount > 0) {
                const Evaluation shorter =
                    evaluateSequenceReference(start, counted.first(counted.size() - 1), mode);
                EXPECT_LT(shorter.objective + shorter.moveCount, e.objective + e.moveCount);
            }
        }
    }
}

// The fast paths are held to the plain evaluation on many random start cubes (including
// turned ones, whose centres hold other colours) and sequences.
TEST(Evaluation, EveryPathEqualsTheReferenceInEveryMode) {
    std::mt19937 rng(2024);
    for (int trial = 0; trial < 3000; ++trial) {
        CubeState start = testing::randomCube(rng, trial % 30);
        if (trial % 3 == 1)
            start = rotateXY(rotateY(start));
        if (trial % 5 == 2)
            start = rotateX(start);
        if (trial % 7 == 3) {  // colourings no cube has: every path must still agree
            std::uniform_int_distribution<int> colour(0, 5);
            for (int i = 0; i < kFaceletCount; ++i) {
                start[i] = colour(rng);
            }
        }
        if (trial % 11 == 5)
            start = applySequence(testing::distinctFacelets(), testing::randomMoves(rng, 9));
        std::vector<MoveCode> sequence = testing::randomMoves(rng, 30);
        if (trial % 2 == 0) {
            // Mostly F and U turns, so the group test passes now and then.
            for (MoveCode& m : sequence) {
                if (m % 6 > 1 && rng() % 8 != 0)
                    m = foldOntoTwoFaces(m);
            }
        }
        for (EvalMode mode : {kPairMode, kBlockMode, kTwoGenEntryMode}) {
            const Evaluation reference = evaluateSequenceReference(start, sequence, mode);
            for (BackEnd path : availablePaths()) {
                ASSERT_EQ(SequenceEvaluator(start, mode, path)(sequence), reference)
                    << "trial " << trial << " mode " << mode;
            }
        }
    }
}

// Rows of `length` codes evaluated together, in every mode on every path: each row gets the
// reference's evaluation of it alone.
void expectRowsOfEveryPathAsAlone(const CubeState& start, const std::vector<MoveCode>& codes,
                                  std::size_t length, const std::string& what) {
    const std::size_t rowCount = codes.size() / length;
    for (EvalMode mode : {kPairMode, kBlockMode, kTwoGenEntryMode}) {
        for (BackEnd path : availablePaths()) {
            std::vector<Evaluation> out(rowCount);
            SequenceEvaluator(start, mode, path).evaluateRows(codes, length, out);
            for (std::size_t row = 0; row < rowCount; ++row) {
                const std::span<const MoveCode> sequence(codes.data() + row * length, length);
                ASSERT_EQ(out[row], evaluateSequenceReference(start, sequence, mode))
                    << what << " mode " << mode << " path " << backEndName(path) << " row " << row;
            }
        }
    }
}

// A population is evaluated several rows at a time; every row must get what it gets alone.
// Row counts that are not multiples of the group width leave rows to the single-row loop, and
// start cubes inside the two-generator group with mostly F and U turns make the entry score's
// group test pass in some rows and not in others.
TEST(Evaluation, RowsOfAPopulationGetTheirReferenceResults) {
    std::mt19937 rng(99);
    for (int trial = 0; trial < 300; ++trial) {
        const std::size_t rowCount = 1 + static_cast<std::size_t>(trial % 11);
        const std::size_t length = 1 + static_cast<std::size_t>(trial % 31);
        const bool insideGroup = trial % 2 == 0;
        const CubeState start = insideGroup ? testing::randomTwoFaceCube(rng, 12)
                                            : testing::randomCube(rng, trial % 20);
        std::vector<MoveCode> codes =
            testing::randomMoves(rng, static_cast<int>(rowCount * length));
        for (MoveCode& m : codes) {
            if (insideGroup && rng() % 6 != 0)
                m = foldOntoTwoFaces(m);
        }
        expectRowsOfEveryPathAsAlone(start, codes, length, "trial " + std::to_string(trial));
        if (::testing::Test::HasFatalFailure()) {
            return;
        }
    }
}

// Rows as long as a search breeds (up to 128 slots), a population's worth on every path, and
// the best first reached at the last slot a row's packed best slot holds (255), and beyond.
TEST(Evaluation, LongRowsGetTheirReferenceResults) {
    std::mt19937 rng(128);
    for (const std::size_t length : {63U, 64U, 65U, 127U, 128U, 255U, 256U}) {
        const std::size_t rowCount = 9;
        const CubeState start = testing::randomCube(rng, 20);
        const std::vector<MoveCode> codes =
            testing::randomMoves(rng, static_cast<int>(rowCount * length));
        expectRowsOfEveryPathAsAlone(start, codes, length, std::to_string(length) + " slots");
        if (::testing::Test::HasFatalFailure()) {
            return;
        }
    }
    // From F: U U' pairs never solve the cube, F' at slot 255 does (pair score 48).
    std::vector<MoveCode> lastSolves;
    for (int pair = 0; pair < 127; ++pair) {
        lastSolves.insert(lastSolves.end(), {1, 13});
    }
    lastSolves.push_back(12);
    const CubeState start = applyMove(solvedCube(), 0);
    for (BackEnd path : availablePaths()) {
        EXPECT_EQ(SequenceEvaluator(start, kPairMode, path)(lastSolves), (Evaluation{225, 255}))
            << backEndName(path);
        lastSolves.push_back(0);
        EXPECT_EQ(SequenceEvaluator(start, kPairMode, path)(lastSolves), (Evaluation{225, 255}))
            << backEndName(path) << ", one slot more";
        lastSolves.pop_back();
    }
}

TEST(Evaluation, CodesOutsideTheGeneratedRangeKeepTheirPlainMeaning) {
    // 18 and 24 turn nothing; F' then solves the F-turned cube at slot 3.
    std::vector<MoveCode> sequence = slots({18, 24, 12});
    const CubeState start = applyMove(solvedCube(), 0);
    EXPECT_EQ(evaluateEverywhere(start, sequence, kPairMode), (Evaluation{477, 3}));
}

TEST(Evaluation, ColoursBeyondAByteUseThePlainPath) {
    CubeState start = solvedCube();
    for (int i = 0; i < kFaceletCount; ++i)
        start[i] = 1000 + i / 9;
    std::vector<MoveCode> sequence = slots({0, 12});
    EXPECT_EQ(SequenceEvaluator(start, kPairMode)(sequence), (Evaluation{478, 2}));
}

}  // namespace
}  // namespace cubega
