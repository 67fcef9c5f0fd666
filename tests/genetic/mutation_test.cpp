#include "genetic/mutation.hpp"

#include <gtest/gtest.h>

#include <algorithm>

#include "support/operator_forms.hpp"

namespace cubega {
namespace {

using testing::distinctRows;
using testing::FrozenRandom;
using testing::mutate;

TEST(Mutation, MatchesOneChanceTestPerSlot) {
    for (float rate : {0.05F, 0.5F, 0.9F}) {
        FrozenRandom frozen;
        RandomSource plain = frozen.random;
        const Population input = distinctRows(51, 30);
        const Population result = mutate(input, rate, frozen.random);
        Population expected = input;
        for (std::int32_t i = 1; i < 51; ++i) {
            for (MoveCode& slot : expected.row(i)) {
                if (plain.randomReal() < rate) {
                    slot = static_cast<MoveCode>(static_cast<double>(plain.randomReal()) *
                                                 static_cast<double>(17.9982F));
                }
            }
        }
        EXPECT_EQ(result, expected) << rate;
        EXPECT_EQ(frozen.random.state(), plain.state());
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
