#include "run/scramble.hpp"

#include <gtest/gtest.h>

#include <sstream>

#include "run/run_error.hpp"
#include "support/test_support.hpp"

namespace cubega {
namespace {

struct ScrambleDialogue {
    std::istringstream in;
    testing::CaptureWriter console;
    ConsoleInput input{in, console};
    FixedClock clock{{12, 1765000000}};
    RandomSource random{clock};
    explicit ScrambleDialogue(std::string text) : in(std::move(text)) { random.seedFromClock(); }
    Scramble setUp(std::int32_t answer) {
        return setUpScramble(scrambleTypeOf(answer), input, console, random);
    }
};

TEST(TypedScramble, ReadsOneMovePerLine) {
    ScrambleDialogue d("3\nR\nU2\nF'\n");
    const Scramble s = d.setUp(2);
    EXPECT_EQ(s.moves, (MoveSequence{2, 7, 12}));
    EXPECT_EQ(s.text, "R  U2 F' ");
    EXPECT_EQ(d.console.text,
              " Enter number of moves of the scramble\n"
              " Enter the scramble moves. Only one move (HTM) per line !\n");
}

TEST(TypedScramble, IgnoresTheRestOfTheLine) {
    ScrambleDialogue d("1\n R2 is what I turned\n");
    EXPECT_EQ(d.setUp(2).moves, (MoveSequence{8}));
}

TEST(TypedScramble, ARefusedLineIsAskedAgainWithoutShiftingLaterMoves) {
    ScrambleDialogue d("3\nR\nx2\nlower\nU\nD'\n");
    const Scramble s = d.setUp(2);
    EXPECT_EQ(s.moves, (MoveSequence{2, 1, 16}));
    EXPECT_EQ(std::count(d.console.text.begin(), d.console.text.end(), '\n'), 4);
}

TEST(TypedScramble, ALengthBelowOneGivesAnEmptyScramble) {
    ScrambleDialogue d("-4\n");
    const Scramble s = d.setUp(2);
    EXPECT_TRUE(s.moves.empty());
    EXPECT_EQ(s.text, "");
}

TEST(TypedScramble, ALengthAboveTheMaximumIsAskedAgain) {
    ScrambleDialogue d("10001\n1\nL\n");
    EXPECT_EQ(d.setUp(2).moves, (MoveSequence{5}));
    EXPECT_NE(d.console.text.find(" A scramble can have at most 10000 moves.\n"),
              std::string::npos);
}

TEST(TypedScramble, InputEndingAmongTheMovesStopsTheRun) {
    ScrambleDialogue d("3\nR\n");
    EXPECT_THROW(d.setUp(2), RunError);
}

TEST(RandomScramble, HasTheTypedLengthAndNoSameFaceNeighbours) {
    for (std::uint32_t seed = 0; seed < 200; ++seed) {
        const int length = 2 + static_cast<int>(seed % 60);
        ScrambleDialogue d(std::to_string(length) + "\n");
        d.clock.set({seed, 1765000000});
        d.random.seedFromClock();
        const Scramble s = d.setUp(1);
        ASSERT_EQ(s.moves.size(), static_cast<std::size_t>(length));
        ASSERT_EQ(s.text.size(), 3u * static_cast<std::size_t>(length));
        for (std::size_t i = 0; i + 1 < s.moves.size(); ++i) {
            ASSERT_NE(s.moves[i] % 6, s.moves[i + 1] % 6) << "seed " << seed;
        }
        for (MoveCode m : s.moves) {
            ASSERT_GE(m, 0);
            ASSERT_LT(m, 18);
        }
    }
}

TEST(RandomScramble, AskesOnlyForTheLength) {
    ScrambleDialogue d("0\n");
    EXPECT_TRUE(d.setUp(1).moves.empty());
    EXPECT_EQ(d.console.text, " Enter number of moves of the scramble\n");
}

TEST(DefaultScramble, AnyOtherTypeKeepsTheBuiltInMovesUnsimplified) {
    for (std::int32_t type : {0, 3, -5}) {
        ScrambleDialogue d("");
        const Scramble s = d.setUp(type);
        EXPECT_EQ(s.moves, MoveSequence(kDefaultScramble.begin(), kDefaultScramble.end()));
        EXPECT_EQ(s.text.size(), 111u);
        EXPECT_EQ(d.console.text, "") << "nothing more is asked";
    }
}

TEST(ScrambleRecords, TextOnTheConsoleAndLabelledInTheLog) {
    testing::CaptureWriter console, log;
    Scramble s;
    s.moves = {2, 7, 12};
    s.text = "R  U2 F' ";
    recordScramble(s, console, log);
    EXPECT_EQ(console.text, " R  U2 F' \n");
    EXPECT_EQ(log.text, " Scramble : \n R  U2 F' \n");
}

TEST(ScrambleRecords, ACodeThatTurnsNoFaceIsReportedAsAMoveError) {
    testing::CaptureWriter console;
    const std::vector<MoveCode> moves{-1, -6};
    EXPECT_EQ(applyScramble(solvedCube(), moves, console), applyMove(solvedCube(), 0))
        << "-6 has face 0: a clockwise F turn";
    EXPECT_EQ(console.text, " move error\n");
}

}  // namespace
}  // namespace cubega
