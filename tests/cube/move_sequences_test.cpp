#include "cube/move_sequences.hpp"

#include <gtest/gtest.h>

#include <random>
#include <string>

#include "cube/notation.hpp"
#include "support/test_support.hpp"

namespace cubega {
namespace {

std::string simplified(std::string_view text) {
    return standardNotation(simplifyMoves(testing::movesOfNotation(text)));
}

TEST(SimplifyMoves, MergesTurnsOfOneFaceAlsoAcrossTheOppositeFace) {
    const std::pair<std::string_view, std::string_view> cases[] = {
        {"", ""},
        {"R R", "R2"},
        {"R R'", ""},
        {"R2 R2", ""},
        {"R2 R'", "R"},
        {"R L R'", "L"},
        {"R L R", "R2 L"},
        {"L R", "R L"},
        {"D U2 D", "U2 D2"},
        {"B F B' F'", ""},
        {"R U U' R'", ""},
        {"R L2 R' L2", ""},
        {"F R L R' B", "F L B"},
        {"R U R' U'", "R U R' U'"},
        {"U R2 L D R2 L' D'", "U R2 L D R2 L' D'"},
    };
    for (const auto& [text, expected] : cases) {
        EXPECT_EQ(simplified(text), expected) << text;
    }
}

TEST(SimplifyMoves, NeverLengthensKeepsTheCubeAndReachesAFixedPoint) {
    std::mt19937 rng(17);
    const CubeState start = testing::distinctFacelets();
    for (int trial = 0; trial < 2000; ++trial) {
        // Few faces, so that much merges.
        std::vector<MoveCode> moves = testing::randomMoves(rng, trial % 40);
        if (trial % 2 == 0) {
            for (MoveCode& move : moves) {
                move = move - faceOf(move) + (faceOf(move) % 3 == 0 ? kFront : kBack);
            }
        }
        const std::vector<MoveCode> once = simplifyMoves(moves);
        ASSERT_LE(once.size(), moves.size());
        ASSERT_EQ(applySequence(start, once), applySequence(start, moves));
        ASSERT_EQ(simplifyMoves(once), once);
        for (std::size_t k = 1; k < once.size(); ++k) {
            const int face = faceOf(once[k]);
            ASSERT_NE(faceOf(once[k - 1]), face);
            ASSERT_FALSE(k >= 2 && faceOf(once[k - 2]) == face &&
                         faceOf(once[k - 1]) == (face + 3) % 6);
        }
    }
}

TEST(MoveCounts, CountAHalfTurnOnceOrTwice) {
    const std::vector<MoveCode> moves = testing::movesOfNotation("R U2 F' L2 D");
    EXPECT_EQ(faceTurnCount(moves), 5U);
    EXPECT_EQ(quarterTurnCount(moves), 7U);
    EXPECT_EQ(quarterTurnCount({}), 0U);
}

}  // namespace
}  // namespace cubega
