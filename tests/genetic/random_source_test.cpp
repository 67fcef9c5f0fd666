#include "genetic/random_source.hpp"

#include <gtest/gtest.h>

#include <array>
#include <random>

#include "genetic/population.hpp"

namespace cubega {
namespace {

TEST(Generator, MinimalStandardSequenceFromOne) {
    const std::array<std::int32_t, 5> expected{48271, 182605794, 1291394886, 1914720637,
                                               2078669041};
    std::int32_t state = 1;
    for (std::int32_t value : expected) {
        state = nextState(state);
        EXPECT_EQ(state, value);
    }
}

TEST(Generator, ZeroIsTakenAsMinusOne) {
    EXPECT_EQ(nextState(0), nextState(-1));
    EXPECT_GT(nextState(0), 0);
}

TEST(Generator, StaysInsideItsRangeFromExtremeStates) {
    for (std::int32_t s : {1, 2, -1, -2147483647 - 1, 2147483646, 44488, -44488, 123456789}) {
        const std::int32_t next = nextState(s);
        EXPECT_GT(next, 0) << s;
        EXPECT_LT(next, kModulus) << s;
    }
}

TEST(Generator, MersenneFoldingEqualsTheSchrageStep) {
    std::int32_t state = 12345;
    for (int i = 0; i < 100000; ++i) {
        ASSERT_EQ(mulMod(state, 48271), nextState(state)) << state;
        state = nextState(state);
    }
    for (std::int32_t s : {1, 2, 44487, 44488, 2147483646, 1073741824}) {
        EXPECT_EQ(mulMod(s, 48271), nextState(s));
    }
}

// The batched stream hands out exactly the states of the step, from any seeded state
// (negative ones and 0 included) and across batch boundaries and reseeds.
TEST(Generator, DrawsFollowTheStepExactly) {
    FixedClock clock;
    RandomSource random(clock);
    for (std::int32_t start : {1, 0, -1, -2147483647 - 1, 305419896, -19088744}) {
        random.setState(start);
        std::int32_t expected = start;
        for (int i = 0; i < 1000; ++i) {
            expected = nextState(expected);
            const float r = random.randomReal();
            ASSERT_EQ(random.state(), expected) << "start " << start << " draw " << i;
            ASSERT_EQ(r, static_cast<float>(static_cast<double>(expected) * 0x1p-31));
        }
        expected = nextState(expected);
        EXPECT_EQ(random.skipDrawsNotBelow(0, 300), 300u);
        for (int i = 0; i < 299; ++i)
            expected = nextState(expected);
        EXPECT_EQ(random.state(), expected);
    }
}

TEST(Generator, RealsLieInZeroToOne) {
    FixedClock clock;
    RandomSource random(clock);
    for (int i = 0; i < 100000; ++i) {
        const float r = random.randomReal();
        ASSERT_GT(r, 0.0F);
        ASSERT_LE(r, 1.0F);
    }
}

// 247665088 steps to 2^31 - 2, the highest state: its real rounds to exactly 1.
TEST(Draws, ARealOfExactlyOneStaysInsideEveryRange) {
    constexpr std::int32_t kBeforeHighest = 247665088;
    constexpr std::int32_t kBeforeLowestOne = 570515015;     // steps to 2^31 - 64
    constexpr std::int32_t kBeforeHighestBelow = 818180103;  // steps to 2^31 - 65
    FixedClock clock;
    RandomSource random(clock);
    const auto drawFrom = [&random](std::int32_t state) {
        random.setState(state);
        return random.randomReal();
    };
    EXPECT_EQ(drawFrom(kBeforeHighest), 1.0F);
    EXPECT_EQ(drawFrom(kBeforeLowestOne), 1.0F);
    EXPECT_LT(drawFrom(kBeforeHighestBelow), 1.0F);

    random.setState(kBeforeHighest);
    EXPECT_EQ(random.fillMove(), 17);
    random.setState(kBeforeHighest);
    EXPECT_EQ(random.resetMove(), 17);
    random.setState(kBeforeHighest);
    EXPECT_EQ(random.rowOffset(51), 50);
    random.setState(kBeforeHighest);
    EXPECT_EQ(random.cutPoint(30), 29);
    random.setState(kBeforeHighest);
    EXPECT_FALSE(random.chance(1.0F));
}

TEST(Draws, TheChanceBoundSplitsTheStatesExactlyAtTheReal) {
    for (float p : {0.0F, 0.05F, 0.8F, 1.0F, 1.5F}) {
        const std::int64_t bound = RandomSource::chanceBound(p);
        for (std::int64_t t : {bound - 2, bound - 1, bound, bound + 1}) {
            if (t < 1 || t >= kModulus)
                continue;
            EXPECT_EQ(RandomSource::realOf(static_cast<std::int32_t>(t)) < p, t < bound)
                << p << " " << t;
        }
    }
    EXPECT_EQ(RandomSource::chanceBound(0.0F), 1) << "p = 0 never fires";
    EXPECT_EQ(RandomSource::chanceBound(1.0F), 2147483648 - 64) << "the 63 states that give 1";
}

TEST(Draws, BothMoveFormsYieldEveryCode) {
    FixedClock clock;
    RandomSource random(clock);
    std::array<int, 18> fill{}, reset{};
    for (int i = 0; i < 36000; ++i) {
        const MoveCode f = random.fillMove();
        const MoveCode r = random.resetMove();
        ASSERT_GE(f, 0);
        ASSERT_LT(f, 18);
        ASSERT_GE(r, 0);
        ASSERT_LT(r, 18);
        ++fill[static_cast<std::size_t>(f)];
        ++reset[static_cast<std::size_t>(r)];
    }
    for (std::size_t code = 0; code < 18; ++code) {
        EXPECT_GT(fill[code], 1700) << code;
        EXPECT_GT(reset[code], 1700) << code;
    }
}

TEST(Seeding, SwapsTheHalvesOfTheClockSum) {
    FixedClock clock({0x1234, 0x56780000});
    RandomSource random(clock);
    EXPECT_EQ(random.state(), 1) << "the state before any seeding";
    random.seedFromClock();
    EXPECT_EQ(random.state(), 0x12345678);
}

TEST(Seeding, SumsWrapAsUnsignedPastTwoToTheThirtyTwo) {
    // Calendar seconds past 2^31 (after 2038) and a sum past 2^32 are fine.
    FixedClock clock({0x10, 0xFFFFFFF8u});
    RandomSource random(clock);
    random.seedFromClock();
    EXPECT_EQ(random.state(), 0x00080000);  // sum 0x00000008
    clock.set({0, 0x80000001u});
    random.seedFromClock();
    EXPECT_EQ(random.state(), static_cast<std::int32_t>(0x00018000u));
}

TEST(Seeding, AnUnchangedClockContinuesTheStream) {
    FixedClock clock({5, 1000});
    RandomSource random(clock);
    random.seedFromClock();
    random.randomReal();
    const std::int32_t advanced = random.state();
    random.seedFromClock();
    EXPECT_EQ(random.state(), advanced);
    clock.set({6, 1000});
    random.seedFromClock();
    EXPECT_EQ(random.state(), seedStateFromSum(1006));
}

TEST(Seeding, NeverLeavesTheStateOnAMultipleOfTheModulus) {
    // Swapped halves 0x7FFFFFFF would be 2^31 - 1, a fixed point where every draw is 1.
    EXPECT_EQ(seedStateFromSum(0xFFFF7FFFu), 1);
    EXPECT_EQ(seedStateFromSum(0), 1);
    EXPECT_EQ(seedStateFromSum(0x0001FFFFu) % kModulus != 0, true);
    EXPECT_EQ(nextState(kModulus), kModulus) << "why the seeding must avoid it";
}

// A clock that counts how often it is read.
class CountingClock final : public Clock {
  public:
    ClockReading read() override {
        ++reads;
        return reading;
    }
    ClockReading reading{9, 1700000000};
    int reads = 0;
};

TEST(Seeding, AtTheNextDrawReadsTheClockOnlyWhenADrawIsMade) {
    CountingClock clock;
    RandomSource lazy(clock);
    lazy.seedFromClockAtNextDraw();
    lazy.seedFromClockAtNextDraw();
    EXPECT_EQ(clock.reads, 0) << "no draw, no reading";
    clock.reading.millisecondsSinceStart = 10;  // the reading at the draw is the one used
    const std::int32_t first = lazy.nextDraw();
    EXPECT_EQ(clock.reads, 1);
    EXPECT_EQ(first, nextState(seedStateFromSum(1700000010)));
    lazy.seedFromClockAtNextDraw();  // same reading: the stream goes on from where it was
    EXPECT_EQ(lazy.nextDraw(), nextState(first));
    EXPECT_EQ(clock.reads, 2);
    for (int i = 0; i < 300; ++i) {  // across batches, with a due seed now and then
        const std::int32_t expected = nextState(lazy.state());
        if (i % 37 == 0)
            lazy.seedFromClockAtNextDraw();
        ASSERT_EQ(lazy.nextDraw(), expected) << i;
    }
}

TEST(Draws, TheMoveFormsWithoutFloatsEqualTheFormulas) {
    const auto check = [](auto integerForm, auto formula) {
        // Around the first state of every move, found here by a plain search, and at random.
        for (MoveCode move = 1; move < 18; ++move) {
            std::int64_t low = 1, high = kModulus - 1;
            while (low < high) {
                const std::int64_t mid = (low + high) / 2;
                if (formula(static_cast<std::int32_t>(mid)) >= move)
                    high = mid;
                else
                    low = mid + 1;
            }
            for (std::int64_t s = low - 3; s <= low + 3; ++s) {
                const auto state = static_cast<std::int32_t>(s);
                ASSERT_EQ(integerForm(state), formula(state)) << state;
            }
        }
        std::mt19937 rng(5);
        std::uniform_int_distribution<std::int32_t> states(1, kModulus - 1);
        for (int i = 0; i < 200000; ++i) {
            const std::int32_t state = states(rng);
            ASSERT_EQ(integerForm(state), formula(state)) << state;
        }
        for (std::int32_t state : {1, 2, kModulus - 2, kModulus - 64, kModulus - 65})
            EXPECT_EQ(integerForm(state), formula(state)) << state;
    };
    check(kResetMoves, resetMoveOfState);
    check(kFillMoves, fillMoveOfState);
}

TEST(RandomSequences, FillEverySlotInOrderWithTheFillForm) {
    FixedClock clock({1, 2});
    RandomSource random(clock);
    RandomSource copy(clock);
    random.seedFromClock();
    copy.seedFromClock();
    Population population(3, 4);
    fillRandomly(population, random);
    for (std::int32_t i = 0; i < 3; ++i) {
        for (MoveCode code : population.row(i)) {
            EXPECT_EQ(code, copy.fillMove());
        }
    }
}

}  // namespace
}  // namespace cubega
