#include "genetic/simplification.hpp"

#include <gtest/gtest.h>

#include <algorithm>
#include <random>

#include "cube/moves.hpp"
#include "genetic/move_stack.hpp"
#include "genetic/two_face_simplification.hpp"
#include "platform/back_end.hpp"
#include "support/operator_forms.hpp"
#include "support/test_support.hpp"

namespace cubega {
namespace {

using testing::FrozenRandom;
using testing::mergeByTable;
using testing::simplifyByRescanning;
using testing::simplifySequence;

TEST(Simplification, EverySameFacePairMergesAsTheTableSaysAndAsTheCubeAgrees) {
    const CubeState start = testing::distinctFacelets();
    for (int face = 0; face < 6; ++face) {
        for (int ka = 0; ka < 3; ++ka) {
            for (int kb = 0; kb < 3; ++kb) {
                const MoveCode a = face + 6 * ka, b = face + 6 * kb;
                const MoveCode merged = mergedMove(a, b);
                EXPECT_EQ(merged, mergeByTable(a, b)) << a << " " << b;
                const CubeState both = applyMove(applyMove(start, a), b);
                EXPECT_EQ(merged < 0 ? start : applyMove(start, merged), both) << a << " " << b;
            }
        }
    }
}

TEST(Simplification, ASequenceWithoutSameFaceNeighboursIsUnchanged) {
    FrozenRandom frozen;
    const MoveSequence sequence{0, 1, 0, 1, 2, 3, 4, 5, 3, 16};
    const std::int32_t before = frozen.random.state();
    EXPECT_EQ(simplifySequence(sequence, frozen.random), sequence);
    EXPECT_EQ(frozen.random.state(), before) << "no draws";
}

TEST(Simplification, MergesAtTheFrontAndRefillsTheLastSlot) {
    FrozenRandom frozen;
    RandomSource expected = frozen.random;
    const MoveSequence sequence{0, 0, 1, 2, 1, 2};  // F F U R U R
    const MoveSequence result = simplifySequence(sequence, frozen.random);
    const MoveCode refill = expected.resetMove();
    ASSERT_NE(refill % 6, 2) << "pick another clock: the refill would merge again";
    EXPECT_EQ(result, (MoveSequence{6, 1, 2, 1, 2, refill}));
}

TEST(Simplification, ATurnAndItsInverseRefillTheLastTwoSlotsInOrder) {
    FrozenRandom frozen;
    RandomSource expected = frozen.random;
    const MoveSequence sequence{1, 2, 14, 0, 1, 0};  // U R R' F U F
    const MoveSequence result = simplifySequence(sequence, frozen.random);
    const MoveCode first = expected.resetMove();
    const MoveCode second = expected.resetMove();
    ASSERT_NE(first % 6, 0);
    ASSERT_NE(first % 6, second % 6);
    EXPECT_EQ(result, (MoveSequence{1, 0, 1, 0, first, second}));
}

TEST(Simplification, PairsAtTheLastTwoSlots) {
    FrozenRandom frozen;
    RandomSource expected = frozen.random;
    const MoveSequence single = simplifySequence({0, 1, 0, 3, 3}, frozen.random);
    const MoveCode refill = expected.resetMove();
    ASSERT_NE(refill % 6, 3) << "pick another clock: the refill would merge again";
    EXPECT_EQ(single, (MoveSequence{0, 1, 0, 9, refill}));

    FrozenRandom again;
    RandomSource expectedAgain = again.random;
    const MoveSequence dropped = simplifySequence({0, 1, 2, 3, 15}, again.random);
    const MoveCode a = expectedAgain.resetMove();
    const MoveCode b = expectedAgain.resetMove();
    ASSERT_NE(a % 6, 2);
    ASSERT_NE(a % 6, b % 6);
    EXPECT_EQ(dropped, (MoveSequence{0, 1, 2, a, b}));
}

TEST(Simplification, MergesCascade) {
    FrozenRandom frozen;
    const MoveSequence result = simplifySequence({0, 0, 0, 1, 2, 1}, frozen.random);
    EXPECT_EQ(result[0], 12) << "F F F becomes F2 F, then F'";
    EXPECT_EQ((MoveSequence{result.begin() + 1, result.begin() + 4}), (MoveSequence{1, 2, 1}));
}

TEST(Simplification, MatchesTheScanFromTheStartOnRandomSequences) {
    std::mt19937 rng(99);
    FrozenRandom fast, plain;
    for (int trial = 0; trial < 20000; ++trial) {
        const int length = 2 + trial % 40;
        MoveSequence sequence = testing::randomMoves(rng, length);
        // Plenty of same-face neighbours, as folding onto two faces produces.
        if (trial % 2 == 0) {
            for (MoveCode& m : sequence)
                m = foldOntoTwoFaces(m);
        }
        if (trial % 7 == 0) {  // a new millisecond: both reseed, the fast one at its first draw
            const ClockReading now{static_cast<std::uint32_t>(trial), 1700000000};
            fast.clock.set(now);
            plain.clock.set(now);
        }
        MoveSequence expected = sequence;
        simplifyByRescanning(expected, plain.random);
        const MoveSequence result = simplifySequence(sequence, fast.random);
        ASSERT_EQ(result, expected) << "trial " << trial;
        ASSERT_EQ(fast.random.state(), plain.random.state()) << "trial " << trial;
        ASSERT_EQ(result.size(), sequence.size());
        for (std::size_t i = 0; i + 1 < result.size(); ++i) {
            ASSERT_NE(result[i] % 6, result[i + 1] % 6);
        }
    }
}

// The rows of a population are looked at in groups; a pair across two rows must not count,
// and the rows must draw in row order.
TEST(Simplification, RowsOfAPopulationMatchTheScanFromTheStartRowByRow) {
    std::mt19937 rng(31);
    for (const std::int32_t slots : {1, 2, 17, 30, 64, 65, 341, 1100}) {
        FrozenRandom fast, plain;
        Population population(51, slots);
        for (MoveCode& m : population.codes()) {
            m = foldOntoTwoFaces(testing::randomMoves(rng, 1)[0]);
        }
        Population expected = population;
        Population twoFaces = population;
        FrozenRandom viaTwoFaces;
        simplifyRows(population, fast.random);
        simplifyTwoFaceRows(twoFaces, viaTwoFaces.random);
        for (std::int32_t i = 0; i < expected.rows(); ++i) {
            MoveSequence row(expected.row(i).begin(), expected.row(i).end());
            simplifyByRescanning(row, plain.random);
            std::copy(row.begin(), row.end(), expected.row(i).begin());
        }
        ASSERT_EQ(population, expected) << slots << " slots";
        ASSERT_EQ(fast.random.state(), plain.random.state()) << slots << " slots";
        ASSERT_EQ(twoFaces, expected) << slots << " slots, on two faces";
        ASSERT_EQ(viaTwoFaces.random.state(), plain.random.state()) << slots << " slots";
    }
}

// A clock a millisecond further on at every reading: every reseed starts a new stream.
class SteppingClock final : public Clock {
  public:
    ClockReading read() override {
        ++reading.millisecondsSinceStart;
        return reading;
    }
    ClockReading reading{0, 1700000000};
};

// The two-face rows are read many at a time in lanes of 16 (64 rows of up to 32 slots, 32 rows
// of up to 64 on stacks of four words) and refilled row by row afterwards: every row count
// around the lane blocks, every length around the stacks' words, on every back end, and each
// row reseeding exactly where the row-by-row simplification does.
TEST(Simplification, TwoFaceRowsMatchTheRowByRowSimplification) {
    std::mt19937 rng(47);
    const BackEnd active = activeBackEnd();
    for (const std::int32_t rows : {1, 2, 15, 16, 17, 31, 32, 33, 51, 64, 65, 130}) {
        for (const std::int32_t slots : {1, 2, 3, 16, 17, 30, 31, 32, 33, 47, 48, 49, 63, 64, 65}) {
            Population population(rows, slots);
            for (MoveCode& m : population.codes()) {
                m = foldOntoTwoFaces(testing::randomMoves(rng, 1)[0]);
            }
            Population expected = population;
            SteppingClock expectedClock;
            RandomSource expectedRandom(expectedClock);
            useBackEnd(BackEnd::portable);
            simplifyRows(expected, expectedRandom);
            const std::uint32_t expectedReads = expectedClock.reading.millisecondsSinceStart;
            const std::int32_t expectedState = expectedRandom.state();
            for (const BackEnd backEnd : kBackEnds) {
                if (!backEndAvailable(backEnd)) {
                    continue;
                }
                useBackEnd(backEnd);
                Population result = population;
                SteppingClock clock;
                RandomSource random(clock);
                simplifyTwoFaceRows(result, random);
                ASSERT_EQ(result, expected)
                    << rows << " rows of " << slots << ", " << backEndName(backEnd);
                ASSERT_EQ(clock.reading.millisecondsSinceStart, expectedReads);
                ASSERT_EQ(random.state(), expectedState) << rows << " rows of " << slots;
            }
        }
    }
    useBackEnd(active);
}

TEST(Simplification, ShortSequences) {
    FrozenRandom frozen;
    EXPECT_EQ(simplifySequence({}, frozen.random), MoveSequence{});
    EXPECT_EQ(simplifySequence({5}, frozen.random), MoveSequence{5});
    const MoveSequence pair = simplifySequence({7, 7}, frozen.random);
    EXPECT_EQ(pair.size(), 2u);
    EXPECT_NE(pair[0] % 6, pair[1] % 6);
}

}  // namespace
}  // namespace cubega
