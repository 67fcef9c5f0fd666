#include "genetic/recombination.hpp"

#include <gtest/gtest.h>

#include <algorithm>
#include <map>
#include <numeric>
#include <random>
#include <set>

#include "support/operator_forms.hpp"
#include "support/test_support.hpp"

namespace cubega {
namespace {

using testing::distinctRows;
using testing::FrozenRandom;
using testing::recombine;
using testing::recombineByTheFloatTests;
using testing::recombineInto;
using testing::reorderRows;

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

// A row of one slot has no cut inside it: a crossing swaps the two parents' rows between the
// children, and the draws are those of a pair never crossed.
TEST(Recombination, RowsOfOneSlotCrossBySwappingTheParents) {
    FrozenRandom crossed, copied;
    const Population input = distinctRows(7, 1);
    const Population swapped = recombine(input, 1.5F, 1.0F, crossed.random);
    const Population kept = recombine(input, 1.5F, 0.0F, copied.random);
    for (std::int32_t k = 1; k < 7; k += 2) {
        EXPECT_EQ(swapped.row(k)[0], kept.row(k + 1)[0]);
        EXPECT_EQ(swapped.row(k + 1)[0], kept.row(k)[0]);
    }
    EXPECT_EQ(crossed.random.state(), copied.random.state());
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
        // The top of the range, where the estimate can name a row that no state draws (9999
        // rows: 9998 from 2147268880 on).
        for (std::int32_t s = kModulus - 100; s < kModulus; ++s)
            starts.push_back(s);
        starts.push_back(2147475551);
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

TEST(Recombination, BoundsGiveTheSamePopulationsAsTheFloatTest) {
    FrozenRandom fast, plain;
    const FirstParentChoice choice(51, 1.5F);
    Population population = distinctRows(51, 30);
    for (int call = 0; call < 500; ++call) {
        Population result(51, 30);
        recombineInto(population, result, choice, 0.8F, fast.random);
        const Population expected = recombineByTheFloatTests(population, 1.5F, 0.8F, plain.random);
        ASSERT_EQ(result, expected) << "call " << call;
        ASSERT_EQ(fast.random.state(), plain.random.state());
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

}  // namespace
}  // namespace cubega
