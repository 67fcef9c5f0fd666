#include "genetic/row_kernels.hpp"

#include <gtest/gtest.h>

#include <algorithm>
#include <limits>
#include <numeric>
#include <random>
#include <vector>

#include "genetic/integer_draws.hpp"

namespace cubega {
namespace {

// The back ends this processor runs, each with its name for failure messages.
std::vector<BackEnd> availableBackEnds() {
    std::vector<BackEnd> available;
    std::copy_if(kBackEnds.begin(), kBackEnds.end(), std::back_inserter(available),
                 backEndAvailable);
    return available;
}

// Lengths around the eight- and sixteen-lane steps, where a vector scan would slip by one.
constexpr std::size_t kLengths[] = {0, 1, 2, 8, 9, 15, 16, 17, 30, 31, 32, 33, 47, 48, 49, 100};

TEST(RowKernels, SameFacePairsAgreeWithThePlainScanOnEveryBackEnd) {
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
            const std::size_t first = firstSameFacePairReference(row.data(), length);
            std::vector<std::uint64_t> plainBits((length + 63) / 64);
            sameFacePairBitsReference(row.data(), length, plainBits.data());
            for (const BackEnd backEnd : availableBackEnds()) {
                const RowKernels& kernels = rowKernelsOf(backEnd);
                ASSERT_EQ(kernels.firstSameFacePair(row.data(), length), first)
                    << backEndName(backEnd) << ", length " << length;
                std::vector<std::uint64_t> bits(plainBits.size(), ~std::uint64_t{0});
                kernels.sameFacePairBits(row.data(), length, bits.data());
                ASSERT_EQ(bits, plainBits) << backEndName(backEnd) << ", length " << length;
            }
        }
    }
}

TEST(RowKernels, FirstSameFacePairWorkedValues) {
    const std::vector<MoveCode> row{0, 1, 2, 3, 4, 5, 0, 13, 7};  // U' (13) then U2 (7)
    EXPECT_EQ(firstSameFacePairReference(row.data(), row.size()), 7U);
    EXPECT_EQ(firstSameFacePairReference(row.data(), 7), 7U) << "no pair within the first seven";
    const std::vector<MoveCode> opening{17, 11, 5};  // L' L2 L
    EXPECT_EQ(firstSameFacePairReference(opening.data(), opening.size()), 0U);
}

TEST(RowKernels, CrossedRowsAgreeWithThePlainCopyAtEveryCut) {
    std::mt19937 rng(6);
    std::uniform_int_distribution<MoveCode> code(0, 17);
    for (const std::size_t length : kLengths) {
        std::vector<MoveCode> first(length), second(length);
        std::generate(first.begin(), first.end(), [&] { return code(rng); });
        std::generate(second.begin(), second.end(), [&] { return code(rng); });
        for (std::size_t cut = 0; cut <= length + 1; ++cut) {
            // One slot past each child, which must stay untouched.
            std::vector<MoveCode> plain1(length + 1, -7), plain2(length + 1, -7);
            writeCrossedRowsReference(first.data(), second.data(), length, cut, plain1.data(),
                                      plain2.data());
            for (const BackEnd backEnd : availableBackEnds()) {
                std::vector<MoveCode> child1(length + 1, -7), child2(length + 1, -7);
                rowKernelsOf(backEnd).writeCrossedRows(first.data(), second.data(), length, cut,
                                                       child1.data(), child2.data());
                ASSERT_EQ(child1, plain1) << backEndName(backEnd) << " " << length << " " << cut;
                ASSERT_EQ(child2, plain2) << backEndName(backEnd) << " " << length << " " << cut;
            }
        }
    }
}

TEST(RowKernels, StatesBelowMaskAgreesWithThePlainTestOnEveryBackEnd) {
    std::mt19937 rng(8);
    std::uniform_int_distribution<std::int32_t> state(1, 2147483646);
    const std::int32_t bounds[] = {std::numeric_limits<std::int32_t>::min() + 1,
                                   1,
                                   2,
                                   107374183,
                                   1073741824,
                                   2147483646,
                                   2147483647};
    for (const std::int32_t bound : bounds) {
        for (int trial = 0; trial < 200; ++trial) {
            std::vector<std::int32_t> states(kMaskLanes);
            for (std::int32_t& s : states) {
                s = state(rng);
            }
            if (trial % 3 == 0) {  // states at the bound itself, where below must not hold
                states[rng() % kMaskLanes] = std::clamp(bound, 1, 2147483646);
            }
            const std::uint64_t expected = statesBelowMaskReference(states.data(), bound);
            for (const BackEnd backEnd : availableBackEnds()) {
                ASSERT_EQ(rowKernelsOf(backEnd).statesBelowMask(states.data(), bound), expected)
                    << backEndName(backEnd) << ", bound " << bound;
            }
        }
    }
}

TEST(RowKernels, StatesBelowMaskWorkedValues) {
    std::vector<std::int32_t> states(kMaskLanes, 900);
    states[2] = 100;
    states[63] = 99;
    EXPECT_EQ(statesBelowMask(states.data(), 101),
              (std::uint64_t{1} << 2) | (std::uint64_t{1} << 63));
    EXPECT_EQ(statesBelowMask(states.data(), 100), std::uint64_t{1} << 63) << "below, not equal";
    EXPECT_EQ(statesBelowMask(states.data(), std::int64_t{1} << 31), ~std::uint64_t{0});
    EXPECT_EQ(statesBelowMask(states.data(), 0), 0U);
}

TEST(RowKernels, TheStreamIsTheChainOfStepsOnEveryBackEnd) {
    for (const std::int32_t first : {1, 2, 48271, 1043618065, 2147483646}) {
        std::vector<std::int32_t> chain(128);
        chain[0] = first;
        for (std::size_t k = 1; k < chain.size(); ++k) {
            chain[k] = nextState(chain[k - 1]);
        }
        for (const BackEnd backEnd : availableBackEnds()) {
            std::vector<std::int32_t> filled(chain.size());
            rowKernelsOf(backEnd).fillStateStream(first, filled.data(), filled.size());
            ASSERT_EQ(filled, chain) << backEndName(backEnd) << ", first " << first;
        }
    }
}

TEST(RowKernels, FoldAndRankingPlacesAgreeOnEveryBackEnd) {
    std::mt19937 rng(9);
    std::vector<MoveCode> codes(51 * 30);
    for (MoveCode& code : codes) {
        code = static_cast<MoveCode>(rng() % 18);
    }
    std::vector<std::int64_t> packed(kPackedRows, std::numeric_limits<std::int64_t>::min());
    for (std::size_t i = 0; i < 51; ++i) {
        packed[i] = static_cast<std::int64_t>(rng() % 7) * 64 + static_cast<std::int64_t>(63 - i);
    }
    std::vector<std::int32_t> expectedOrder(51);
    std::iota(expectedOrder.begin(), expectedOrder.end(), 0);
    std::sort(expectedOrder.begin(), expectedOrder.end(), [&](std::int32_t a, std::int32_t b) {
        return packed[static_cast<std::size_t>(a)] > packed[static_cast<std::size_t>(b)];
    });
    for (const BackEnd backEnd : availableBackEnds()) {
        std::vector<MoveCode> folded = codes;
        rowKernelsOf(backEnd).foldOntoTwoFaces(folded.data(), folded.size());
        for (std::size_t i = 0; i < codes.size(); ++i) {
            ASSERT_EQ(folded[i], foldOntoTwoFaces(codes[i])) << backEndName(backEnd);
        }
        std::vector<std::int32_t> order(51, -1);
        rowKernelsOf(backEnd).rankPackedKeys(packed.data(), 51, order.data());
        EXPECT_EQ(order, expectedOrder) << backEndName(backEnd);
    }
}

}  // namespace
}  // namespace cubega
