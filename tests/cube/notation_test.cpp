#include "cube/notation.hpp"

#include <gtest/gtest.h>

#include <random>

#include "cube/facelets.hpp"
#include "cube/pieces.hpp"
#include "support/test_support.hpp"

namespace cubega {
namespace {

TEST(StandardNotation, WritesEveryMoveAsTheReaderReadsIt) {
    const std::vector<MoveCode> moves = testing::movesOfNotation("  R U2 F'\tL D2' B\n");
    EXPECT_EQ(moves, (std::vector<MoveCode>{2, 7, 12, 5, 10, 3}));
    EXPECT_EQ(standardNotation(moves), "R U2 F' L D2 B");
    std::vector<MoveCode> all(18);
    for (MoveCode code = 0; code < 18; ++code) {
        all[static_cast<std::size_t>(code)] = code;
    }
    EXPECT_EQ(testing::movesOfNotation(standardNotation(all)), all);
    EXPECT_TRUE(testing::movesOfNotation("").empty());
}

// The 54-letter text as other cube programs write it: a scramble's text, checked against one
// such program's output, and back.
TEST(FaceletText, MatchesTheCommonLayoutAndReadsBack) {
    const CubeState scrambled =
        applySequence(solvedCube(), testing::movesOfNotation("R U2 F' L D2 B"));
    EXPECT_EQ(faceletText(scrambled), "LRUBUUDRRBLBDRLFULFDDFFFUBRBDUBDBLLDULRULRBRRLUFFBFFDD");
    EXPECT_EQ(faceletText(solvedCube()), "UUUUUUUUURRRRRRRRRFFFFFFFFFDDDDDDDDDLLLLLLLLLBBBBBBBBB");
    std::mt19937 rng(21);
    for (int trial = 0; trial < 200; ++trial) {
        const CubeState cube = testing::randomCube(rng, 1 + trial % 40);
        const FaceletCube read = cubeFromFaceletText(faceletText(cube));
        ASSERT_FALSE(read.error) << *read.error;
        EXPECT_EQ(read.cube, cube);
    }
    EXPECT_EQ(faceletTextIndex(0), 18);   // F0, the first of F's nine letters
    EXPECT_EQ(faceletTextIndex(9), 0);    // U0
    EXPECT_EQ(faceletTextIndex(40), 31);  // D's centre
    EXPECT_EQ(faceletTextIndex(35), 53);  // B8, the last letter
}

// The text of the solved cube with some facelets changed.
std::string solvedTextWith(std::initializer_list<std::pair<std::size_t, char>> changes) {
    std::string text = faceletText(solvedCube());
    for (const auto& [at, letter] : changes) {
        text[at] = letter;
    }
    return text;
}

TEST(FaceletText, EachBrokenRuleIsNamed) {
    // Text positions: U 0..8, R 9..17, F 18..26, D 27..35, L 36..44, B 45..53. The UFR corner is
    // U8 R0 F2 (positions 8, 9, 20); the UF edge U7 F1 (7, 19), the UR edge U5 R1 (5, 10).
    const std::pair<std::string, std::string> cases[] = {
        {"UUU", "the state has 3 letters; it needs 54, nine for each face (U R F D L B)"},
        {solvedTextWith({{3, 'X'}}), "letter 4 of the state, \"X\", is not a face (U R F D L B)"},
        {solvedTextWith({{3, 'R'}}), "the state has 8 U letters; every face letter needs nine"},
        {solvedTextWith({{8, 'R'}, {9, 'F'}, {20, 'U'}}), "a corner is twisted"},
        {solvedTextWith({{7, 'F'}, {19, 'U'}}), "an edge is flipped"},
        {solvedTextWith({{19, 'R'}, {10, 'F'}}), "two edges are swapped (or two corners)"},
        {solvedTextWith({{9, 'F'}, {20, 'R'}}), "the corner at UFR has two stickers swapped"},
        {solvedTextWith({{4, 'R'}, {9, 'U'}}), "two centres have the same letter, R"},
        {solvedTextWith({{0, 'R'}, {9, 'U'}}), "the corner at UFR has colours that no corner has"},
        {solvedTextWith({{3, 'F'}, {23, 'U'}}), "two edges are the same piece (UR)"},
    };
    for (const auto& [text, message] : cases) {
        const FaceletCube read = cubeFromFaceletText(text);
        ASSERT_TRUE(read.error) << text;
        EXPECT_EQ(*read.error, message) << text;
    }
}

}  // namespace
}  // namespace cubega
