#include "genetic/operators.hpp"

#include <gtest/gtest.h>

#include <algorithm>
#include <map>
#include <numeric>
#include <random>
#include <set>

#include "cube/moves.hpp"
#include "genetic/genetic_search.hpp"
#include "support/operator_forms.hpp"
#include "support/test_support.hpp"

namespace cubega {
namespace {

using testing::mutate;
using testing::recombine;
using testing::recombineInto;
using testing::reorderRows;
using testing::simplifySequence;

// A random source whose frozen clock seeds it once; later reseeds continue the stream.
struct FrozenRandom {
    FixedClock clock{{77, 1700000000}};
    RandomSource random{clock};
    FrozenRandom() { random.seedFromClock(); }
};

// The merge table as written: (kind of a, kind of b) -> result kind or cancel.
MoveCode mergeByTable(MoveCode a, MoveCode b) {
    const int f = a % 6;
    const MoveCode quarter = f, half = f + 6, anti = f + 12;
    if (a == quarter && b == quarter)
        return a + 6;
    if (a == quarter && b == half)
        return a + 12;
    if (a == half && b == quarter)
        return a + 6;
    if (a == half && b == anti)
        return a - 6;
    if (a == anti && b == half)
        return a - 12;
    if (a == anti && b == anti)
        return a - 6;
    return -1;  // f f', f' f, f2 f2
}

// Simplification exactly as described: after every merge, scan again from the first slot.
void simplifyLiterally(std::vector<MoveCode>& s, RandomSource& random) {
    random.seedFromClock();
    if (s.size() < 2)
        return;
    for (;;) {
        std::size_t i = 0;
        while (i + 1 < s.size() && s[i] % 6 != s[i + 1] % 6)
            ++i;
        if (i + 1 >= s.size())
            return;
        const MoveCode merged = mergeByTable(s[i], s[i + 1]);
        if (merged >= 0) {
            s[i] = merged;
            s.erase(s.begin() + static_cast<std::ptrdiff_t>(i) + 1);
            s.push_back(random.resetMove());
        } else {
            s.erase(s.begin() + static_cast<std::ptrdiff_t>(i),
                    s.begin() + static_cast<std::ptrdiff_t>(i) + 2);
            s.push_back(random.resetMove());
            s.push_back(random.resetMove());
        }
    }
}

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
    FrozenRandom fast, literal;
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
            literal.clock.set(now);
        }
        MoveSequence expected = sequence;
        simplifyLiterally(expected, literal.random);
        const MoveSequence result = simplifySequence(sequence, fast.random);
        ASSERT_EQ(result, expected) << "trial " << trial;
        ASSERT_EQ(fast.random.state(), literal.random.state()) << "trial " << trial;
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
        FrozenRandom fast, literal;
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
            simplifyLiterally(row, literal.random);
            std::copy(row.begin(), row.end(), expected.row(i).begin());
        }
        ASSERT_EQ(population, expected) << slots << " slots";
        ASSERT_EQ(fast.random.state(), literal.random.state()) << slots << " slots";
        ASSERT_EQ(twoFaces, expected) << slots << " slots, on two faces";
        ASSERT_EQ(viaTwoFaces.random.state(), literal.random.state()) << slots << " slots";
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

// The two-face rows are read many at a time in lanes of 16 and refilled row by row afterwards:
// every row count around the lane blocks, every length the lanes hold, and each row reseeding
// exactly where the row-by-row simplification does.
TEST(Simplification, TwoFaceRowsMatchTheRowByRowSimplification) {
    std::mt19937 rng(47);
    for (const std::int32_t rows : {1, 2, 15, 16, 17, 51, 64, 65, 130}) {
        for (const std::int32_t slots : {1, 2, 3, 16, 17, 30, 31, 32, 33}) {
            Population population(rows, slots);
            for (MoveCode& m : population.codes()) {
                m = foldOntoTwoFaces(testing::randomMoves(rng, 1)[0]);
            }
            Population expected = population;
            SteppingClock clock, expectedClock;
            RandomSource random(clock), expectedRandom(expectedClock);
            simplifyTwoFaceRows(population, random);
            simplifyRows(expected, expectedRandom);
            ASSERT_EQ(population, expected) << rows << " rows of " << slots;
            ASSERT_EQ(clock.reading.millisecondsSinceStart,
                      expectedClock.reading.millisecondsSinceStart);
            ASSERT_EQ(random.state(), expectedRandom.state()) << rows << " rows of " << slots;
        }
    }
}

TEST(Simplification, ShortSequences) {
    FrozenRandom frozen;
    EXPECT_EQ(simplifySequence({}, frozen.random), MoveSequence{});
    EXPECT_EQ(simplifySequence({5}, frozen.random), MoveSequence{5});
    const MoveSequence pair = simplifySequence({7, 7}, frozen.random);
    EXPECT_EQ(pair.size(), 2u);
    EXPECT_NE(pair[0] % 6, pair[1] % 6);
}

Population distinctRows(std::int32_t rows, std::int32_t slots) {
    Population population(rows, slots);
    for (std::int32_t i = 0; i < rows; ++i) {
        for (std::int32_t j = 0; j < slots; ++j) {
            population.row(i)[static_cast<std::size_t>(j)] = 1000 * i + j;
        }
    }
    return population;
}

TEST(Recombination, KeepsRowOneAndCopiesParentsWhenNeverCrossed) {
    FrozenRandom frozen;
    const Population input = distinctRows(51, 30);
    const Population result = recombine(input, 1.5F, 0.0F, frozen.random);
    EXPECT_TRUE(std::equal(result.row(0).begin(), result.row(0).end(), input.row(0).begin()));
    for (std::int32_t k = 1; k < 51; ++k) {
        const MoveCode first = result.row(k)[0];
        ASSERT_EQ(first % 1000, 0);
        const auto source = input.row(first / 1000);
        EXPECT_TRUE(std::equal(source.begin(), source.end(), result.row(k).begin()));
    }
}

TEST(Recombination, ChildrenAreOnePointCrossesOfTwoParents) {
    FrozenRandom frozen;
    const Population input = distinctRows(51, 30);
    const Population result = recombine(input, 1.5F, 1.0F, frozen.random);
    for (std::int32_t k = 1; k < 51; k += 2) {
        const auto a = result.row(k);
        const auto b = result.row(k + 1);
        const MoveCode firstParent = a[0] / 1000, secondParent = b[0] / 1000;
        std::size_t cut = 0;
        while (cut < 30 && a[cut] / 1000 == firstParent)
            ++cut;
        ASSERT_GE(cut, 1u);
        for (std::size_t j = 0; j < 30; ++j) {
            const bool head = j < cut;
            EXPECT_EQ(a[j], (head ? firstParent : secondParent) * 1000 + static_cast<int>(j));
            EXPECT_EQ(b[j], (head ? secondParent : firstParent) * 1000 + static_cast<int>(j));
        }
    }
}

TEST(Recombination, AnEvenCountKeepsItsLastRow) {
    FrozenRandom frozen;
    const Population input = distinctRows(6, 4);
    const Population result = recombine(input, 1.5F, 0.8F, frozen.random);
    EXPECT_TRUE(std::equal(result.row(5).begin(), result.row(5).end(), input.row(5).begin()));
    EXPECT_TRUE(std::equal(result.row(0).begin(), result.row(0).end(), input.row(0).begin()));
}

TEST(Recombination, ASinglePairOfRowsAndASingleRow) {
    FrozenRandom frozen;
    const Population one = distinctRows(1, 30);
    EXPECT_EQ(recombine(one, 1.5F, 0.8F, frozen.random), one);
    const Population same(5, 4);  // all rows equal: children equal them whatever the cut
    EXPECT_EQ(recombine(same, 1.5F, 1.0F, frozen.random), same);
}

// The state one step before `state`: times the inverse of 48271, 48271^(2^31 - 3).
std::int32_t stateBefore(std::int32_t state) {
    std::int32_t inverse = 1, power = 48271;
    for (std::uint32_t e = 2147483645u; e != 0; e >>= 1) {
        if (e & 1u)
            inverse = mulMod(inverse, power);
        power = mulMod(power, power);
    }
    return mulMod(state, inverse);
}

// Rows drawn without floating point are the rows of the formula, around every row's first
// state and at random, for small and large tables.
TEST(Recombination, AnyRowIsTheRowOffsetOfTheSameDraw) {
    FixedClock clock;
    RandomSource formula(clock), table(clock);
    std::mt19937 rng(3);
    std::uniform_int_distribution<std::int32_t> states(1, kModulus - 1);
    for (const std::int32_t rows : {1, 2, 7, 51, 9999, 20000}) {
        const FirstParentChoice choice(rows, 1.5F);
        const auto rowOf = [&formula, rows](std::int64_t drawn) {
            formula.setState(stateBefore(static_cast<std::int32_t>(drawn)));
            return formula.rowOffset(rows);
        };
        std::vector<std::int32_t> starts;
        for (std::int32_t row = 1; row < std::min(rows, 60); ++row) {
            std::int64_t low = 1, high = kModulus - 1;  // the first state drawing `row`
            while (low < high) {
                const std::int64_t mid = (low + high) / 2;
                if (rowOf(mid) >= row)
                    high = mid;
                else
                    low = mid + 1;
            }
            for (std::int64_t s = low - 2; s <= low + 2; ++s)
                starts.push_back(static_cast<std::int32_t>(s));
        }
        for (int i = 0; i < 20000; ++i)
            starts.push_back(states(rng));
        for (const std::int32_t drawn : starts) {
            formula.setState(stateBefore(drawn));
            table.setState(stateBefore(drawn));
            ASSERT_EQ(choice.anyRow(table), formula.rowOffset(rows)) << rows << " " << drawn;
        }
    }
}

// The acceptance test as a bound on the state gives what the float test gives: it accepts at
// every row's bound and turns down the state just past it, for several pressures and sizes.
TEST(Recombination, FirstParentBoundsAreWhereTheFloatTestTurns) {
    for (const float sp : {1.0F, 1.2F, 1.5F, 1.9F, 2.0F}) {
        for (const std::int32_t rows : {2, 3, 7, 51, 200}) {
            const FirstParentChoice choice(rows, sp);
            for (std::int32_t row = 0; row < rows; ++row) {
                const std::int32_t bound = choice.acceptUpTo(row);
                if (bound >= 1) {
                    ASSERT_TRUE(choice.acceptsByFormula(row, RandomSource::realOf(bound)))
                        << "sp " << sp << " rows " << rows << " row " << row;
                }
                if (bound < kModulus) {
                    ASSERT_FALSE(choice.acceptsByFormula(row, RandomSource::realOf(bound + 1)))
                        << "sp " << sp << " rows " << rows << " row " << row;
                }
            }
        }
    }
}

// Recombination written with the float acceptance test, draw for draw as the search makes
// them; the bounds must give the very same populations and leave the stream at the same state.
Population recombineLiterally(const Population& from, float sp, float pc, RandomSource& random) {
    random.seedFromClock();
    const std::int32_t rows = from.rows();
    const std::int32_t slots = from.slots();
    Population to = from;
    for (std::int32_t pair = 0; pair < (rows - 1) / 2; ++pair) {
        const std::int32_t k = 1 + 2 * pair;
        std::int32_t first = 0;
        for (;;) {
            first = random.rowOffset(rows);
            const float r2 = random.randomReal();
            const float threshold =
                ((2.0F - sp) + 2.0F * r2 * (sp - 1.0F)) / static_cast<float>(rows);
            const float weight = (sp - (2.0F * sp - 2.0F) * static_cast<float>(first) /
                                           static_cast<float>(rows - 1)) /
                                 static_cast<float>(rows);
            if (threshold <= weight) {
                break;
            }
        }
        const std::int32_t second = random.rowOffset(rows);
        const std::int32_t cut = std::min(random.cutPoint(slots), slots - 1);
        const bool cross = random.chance(pc);
        for (std::int32_t j = 0; j < slots; ++j) {
            const bool head = !cross || j < cut;
            const auto slot = static_cast<std::size_t>(j);
            to.row(k)[slot] = (head ? from.row(first) : from.row(second))[slot];
            to.row(k + 1)[slot] = (head ? from.row(second) : from.row(first))[slot];
        }
    }
    return to;
}

TEST(Recombination, BoundsGiveTheSamePopulationsAsTheFloatTest) {
    FrozenRandom fast, literal;
    const FirstParentChoice choice(51, 1.5F);
    Population population = distinctRows(51, 30);
    for (int call = 0; call < 500; ++call) {
        Population result(51, 30);
        recombineInto(population, result, choice, 0.8F, fast.random);
        const Population expected = recombineLiterally(population, 1.5F, 0.8F, literal.random);
        ASSERT_EQ(result, expected) << "call " << call;
        ASSERT_EQ(fast.random.state(), literal.random.state());
        population = result;
    }
}

// Recombining through a rank order gives what recombining the reordered rows gives.
TEST(Recombination, ThroughARankOrderAsIfTheRowsWereReordered) {
    FrozenRandom viaOrder, viaCopy;
    const FirstParentChoice choice(51, 1.5F);
    const Population population = distinctRows(51, 30);
    std::vector<std::int32_t> order(51);
    std::mt19937 rng(3);
    for (int call = 0; call < 50; ++call) {
        std::iota(order.begin(), order.end(), 0);
        std::shuffle(order.begin(), order.end(), rng);
        Population reordered(51, 30);
        reorderRows(population, order, reordered);
        Population expected(51, 30), result(51, 30);
        recombineInto(reordered, expected, choice, 0.8F, viaCopy.random);
        cubega::recombineInto(population, order, result, choice, 0.8F, viaOrder.random);
        ASSERT_EQ(result, expected) << "call " << call;
    }
}

// The first parent is row j (1-based) with chance 2 (N - j) / (N (N - 1)).
TEST(Recombination, FirstParentFollowsLinearRanking) {
    FrozenRandom frozen;
    constexpr int kRows = 51;
    const Population input = distinctRows(kRows, 2);
    std::array<double, kRows> firstCounts{};
    std::array<double, kRows> secondCounts{};
    constexpr int kCalls = 4000;
    for (int call = 0; call < kCalls; ++call) {
        const Population result = recombine(input, 1.5F, 0.0F, frozen.random);
        for (std::int32_t k = 1; k < kRows; k += 2) {
            firstCounts[static_cast<std::size_t>(result.row(k)[0] / 1000)] += 1;
            secondCounts[static_cast<std::size_t>(result.row(k + 1)[0] / 1000)] += 1;
        }
    }
    const double samples = kCalls * 25.0;
    double chiFirst = 0, chiSecond = 0;
    for (int j = 1; j < kRows; ++j) {  // row 51 is expected (almost) never
        const double p = 2.0 * (kRows - j) / (kRows * (kRows - 1.0));
        const double expected = samples * p;
        const double observed = firstCounts[static_cast<std::size_t>(j - 1)];
        chiFirst += (observed - expected) * (observed - expected) / expected;
    }
    for (int j = 0; j < kRows; ++j) {
        const double expected = samples / kRows;
        const double observed = secondCounts[static_cast<std::size_t>(j)];
        chiSecond += (observed - expected) * (observed - expected) / expected;
    }
    EXPECT_LT(firstCounts[kRows - 1], 3);
    EXPECT_LT(chiFirst, 85.4) << "49 degrees of freedom, p = 0.001";
    EXPECT_LT(chiSecond, 86.7) << "50 degrees of freedom, p = 0.001";
}

TEST(Mutation, MatchesOneChanceTestPerSlot) {
    for (float rate : {0.05F, 0.5F, 0.9F}) {
        FrozenRandom frozen;
        RandomSource literal = frozen.random;
        const Population input = distinctRows(51, 30);
        const Population result = mutate(input, rate, frozen.random);
        Population expected = input;
        for (std::int32_t i = 1; i < 51; ++i) {
            for (MoveCode& slot : expected.row(i)) {
                if (literal.randomReal() < rate) {
                    slot = static_cast<MoveCode>(static_cast<double>(literal.randomReal()) *
                                                 static_cast<double>(17.9982F));
                }
            }
        }
        EXPECT_EQ(result, expected) << rate;
        EXPECT_EQ(frozen.random.state(), literal.state());
    }
}

TEST(Mutation, RateZeroDrawsOncePerSlotAndChangesNothing) {
    FrozenRandom frozen;
    RandomSource expected = frozen.random;
    const Population input = distinctRows(51, 30);
    EXPECT_EQ(mutate(input, 0.0F, frozen.random), input);
    for (int i = 0; i < 50 * 30; ++i)
        expected.randomReal();
    EXPECT_EQ(frozen.random.state(), expected.state());
}

TEST(Mutation, RateOneRedrawsEverySlotButRowOne) {
    FrozenRandom frozen;
    RandomSource expected = frozen.random;
    const Population input = distinctRows(51, 30);
    const Population result = mutate(input, 1.0F, frozen.random);
    EXPECT_TRUE(std::equal(result.row(0).begin(), result.row(0).end(), input.row(0).begin()));
    for (std::int32_t i = 1; i < 51; ++i) {
        for (MoveCode code : result.row(i)) {
            ASSERT_TRUE(expected.chance(1.0F));
            EXPECT_EQ(code, expected.resetMove());
        }
    }
}

}  // namespace
}  // namespace cubega
