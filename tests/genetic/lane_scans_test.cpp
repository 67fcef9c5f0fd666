#include "genetic/lane_scans.hpp"

#include <gtest/gtest.h>

#include <algorithm>
#include <limits>
#include <random>
#include <vector>

namespace cubega {
namespace {

// Lengths around the sixteen-lane blocks, where a vector scan would slip by one.
constexpr std::size_t kLengths[] = {0, 1, 2, 15, 16, 17, 30, 31, 32, 33, 47, 48, 49, 100};

TEST(LaneScans, FirstSameFacePairAgreesWithThePlainScan) {
    std::mt19937 rng(5);
    std::uniform_int_distribution<MoveCode> code(0, 17);
    for (const std::size_t length : kLengths) {
        for (int trial = 0; trial < 300; ++trial) {
            // A pair-free row, then one pair planted at a random place (or none).
            std::vector<MoveCode> row(length);
            for (std::size_t i = 0; i < length; ++i) {
                do {
                    row[i] = code(rng);
                } while (i > 0 && row[i] % 6 == row[i - 1] % 6);
            }
            if (length > 1 && trial % 4 != 0) {
                const std::size_t at = rng() % (length - 1);
                row[at + 1] = row[at] % 6 + 6 * static_cast<MoveCode>(rng() % 3);
            }
            const std::size_t expected = firstSameFacePairPortable(row.data(), length);
            ASSERT_EQ(firstSameFacePair(row.data(), length), expected) << "length " << length;
            std::vector<std::uint64_t> bits((length + 63) / 64, ~std::uint64_t{0});
            std::vector<std::uint64_t> plainBits(bits.size());
            sameFacePairBits(row.data(), length, bits.data());
            sameFacePairBitsPortable(row.data(), length, plainBits.data());
            ASSERT_EQ(bits, plainBits) << "length " << length;
            if (sameFacePairBitsAvx2(row.data(), length, bits.data())) {
                ASSERT_EQ(bits, plainBits) << "AVX2, length " << length;
            }
        }
    }
}

TEST(LaneScans, FirstSameFacePairWorkedValues) {
    const std::vector<MoveCode> row{0, 1, 2, 3, 4, 5, 0, 13, 7};  // U' (13) then U2 (7)
    EXPECT_EQ(firstSameFacePair(row.data(), row.size()), 7U);
    EXPECT_EQ(firstSameFacePair(row.data(), 7), 7U) << "no pair within the first seven";
    const std::vector<MoveCode> opening{17, 11, 5};  // L' L2 L
    EXPECT_EQ(firstSameFacePair(opening.data(), opening.size()), 0U);
}

TEST(LaneScans, WriteCrossedRowsAgreesWithThePlainCopyAtEveryCut) {
    std::mt19937 rng(6);
    std::uniform_int_distribution<MoveCode> code(0, 17);
    for (const std::size_t length : kLengths) {
        std::vector<MoveCode> first(length), second(length);
        std::generate(first.begin(), first.end(), [&] { return code(rng); });
        std::generate(second.begin(), second.end(), [&] { return code(rng); });
        for (std::size_t cut = 0; cut <= length + 1; ++cut) {
            // One slot past each child, which must stay untouched.
            std::vector<MoveCode> child1(length + 1, -7), child2(length + 1, -7);
            std::vector<MoveCode> plain1 = child1, plain2 = child2;
            writeCrossedRows(first.data(), second.data(), length, cut, child1.data(),
                             child2.data());
            writeCrossedRowsPortable(first.data(), second.data(), length, cut, plain1.data(),
                                     plain2.data());
            ASSERT_EQ(child1, plain1) << "length " << length << " cut " << cut;
            ASSERT_EQ(child2, plain2) << "length " << length << " cut " << cut;
            ASSERT_EQ(child1[length], -7);
        }
    }
}

TEST(LaneScans, StatesBelowMaskAgreesWithThePlainTest) {
    std::mt19937 rng(8);
    std::uniform_int_distribution<std::int32_t> state(1, 2147483646);
    const std::int64_t bounds[] = {std::numeric_limits<std::int32_t>::min(),
                                   1,
                                   2,
                                   107374183,
                                   1073741824,
                                   2147483646,
                                   2147483647,
                                   2147483648};
    for (const std::int64_t bound : bounds) {
        for (int trial = 0; trial < 200; ++trial) {
            std::vector<std::int32_t> states(kMaskLanes);
            for (std::int32_t& s : states) {
                s = state(rng);
            }
            if (trial % 3 == 0) {  // states at the bound itself, where below must not hold
                states[rng() % kMaskLanes] =
                    static_cast<std::int32_t>(std::clamp<std::int64_t>(bound, 1, 2147483646));
            }
            const std::uint64_t expected = statesBelowMaskPortable(states.data(), bound);
            ASSERT_EQ(statesBelowMask(states.data(), bound), expected) << "bound " << bound;
            ASSERT_EQ(statesBelowMaskAvx2(states.data(), bound).value_or(expected), expected)
                << "bound " << bound;
        }
    }
}

TEST(LaneScans, StatesBelowMaskWorkedValues) {
    std::vector<std::int32_t> states(kMaskLanes, 900);
    states[2] = 100;
    states[63] = 99;
    EXPECT_EQ(statesBelowMask(states.data(), 101),
              (std::uint64_t{1} << 2) | (std::uint64_t{1} << 63));
    EXPECT_EQ(statesBelowMask(states.data(), 100), std::uint64_t{1} << 63) << "below, not equal";
    EXPECT_EQ(statesBelowMask(states.data(), std::int64_t{1} << 31), ~std::uint64_t{0});
    EXPECT_EQ(statesBelowMask(states.data(), 0), 0U);
}

}  // namespace
}  // namespace cubega
